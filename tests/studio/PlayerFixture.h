#pragma once

// Shared by the player tests: an offscreen application, a private settings folder, small projects
// written in code, and a sound output that records what it was asked to play.

#include "formats/uConfig.h"
#include "formats/uLVProject.h"
#include "platform/ScriptedDialogs.h"
#include "studio/FScrSvr.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace lv::test {

void ensureApplication();

struct RecordedSound : TSoundOutput {
    struct Log {
        std::vector<std::string> played;
        int stops = 0;
    };
    explicit RecordedSound(std::shared_ptr<Log> log) : log_(std::move(log)) {}
    void Play(const std::string& file) override { log_->played.push_back(file); }
    void Stop() override { ++log_->stops; }
    std::shared_ptr<Log> log_;
};

// A project of width x height: the top half land (grey), the bottom half area 0 with vertical waves.
// sound: the project's sound name.
void writeProject(const std::filesystem::path& path, int32_t width, int32_t height, const std::string& sound,
                  uint32_t land = 0x808080, int32_t speed = 5);

class PlayerTest : public ::testing::Test {
  protected:
    PlayerTest();
    ~PlayerTest() override;

    TConfig config() const { return TConfig(settings_.path() / "Lumivale.ini"); }
    std::string project(const std::string& name, int32_t width = 40, int32_t height = 30,
                        const std::string& sound = "");
    std::unique_ptr<TfmScrSvr> player(TPlayerRole role = TPlayerRole::ScreenSaver,
                                      TPlayerSize screen = {160, 120});

    TempDir settings_;
    TempDir files_;
    std::shared_ptr<RecordedSound::Log> sounds_ = std::make_shared<RecordedSound::Log>();
    ScriptedDialogs dialogs_;
};

} // namespace lv::test
