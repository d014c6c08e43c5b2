// Sound and music on SDL's dummy audio driver, the single-instance guard and the player's error log.

#include "platform/ErrorLog.h"
#include "platform/SingleInstance.h"
#include "platform/Sound.h"
#include "support/TestSupport.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace lv::test {
namespace {

// A mono 8-bit WAV of the given length.
void writeWav(const std::filesystem::path& path, uint32_t milliseconds) {
    const uint32_t rate = 8000, samples = rate * milliseconds / 1000;
    std::vector<uint8_t> bytes;
    auto text = [&bytes](const char* s) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(s[i]));
    };
    auto le = [&bytes](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    text("RIFF"), le(36 + samples, 4), text("WAVE"), text("fmt "), le(16, 4), le(1, 2), le(1, 2), le(rate, 4),
        le(rate, 4), le(1, 2), le(8, 2), text("data"), le(samples, 4);
    for (uint32_t i = 0; i < samples; ++i)
        bytes.push_back(static_cast<uint8_t>(128 + ((i / 10) % 2 ? 40 : -40)));
    writeBytes(path, bytes);
}

class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }
    TempDir folder_;
};

TEST_F(SoundTest, EffectsLoopOneAtATimeAndMissingFilesAreSilent) {
    writeWav(folder_ / "a.wav", 100);
    writeWav(folder_ / "b.wav", 100);
    EffectPlayer player;
    EXPECT_FALSE(player.play(folder_ / "missing.wav"));
    EXPECT_FALSE(player.playing());
    ASSERT_TRUE(player.play(folder_ / "a.wav"));
    std::this_thread::sleep_for(std::chrono::milliseconds(250)); // longer than the sound: it loops
    EXPECT_TRUE(player.playing());
    ASSERT_TRUE(player.play(folder_ / "b.wav")); // replaces a
    EXPECT_TRUE(player.playing());
    EXPECT_FALSE(player.play(folder_ / "missing.wav")); // stops b, plays nothing
    EXPECT_FALSE(player.playing());
    ASSERT_TRUE(player.play(folder_ / "a.wav"));
    player.stop();
    EXPECT_FALSE(player.playing());
}

TEST_F(SoundTest, MusicPlaysToItsEndAndTellsSo) {
    writeWav(folder_ / "song.wav", 200);
    MusicPlayer music;
    EXPECT_FALSE(music.open(folder_ / "missing.wav"));
    EXPECT_FALSE(music.play());
    ASSERT_TRUE(music.open(folder_ / "song.wav"));
    EXPECT_NEAR(static_cast<double>(music.lengthMs()), 200.0, 20.0);
    int ends = 0;
    music.setOnEnd([&ends] { ++ends; });

    ASSERT_TRUE(music.play());
    music.stop(); // a stop is not an end
    EXPECT_FALSE(music.poll());
    EXPECT_EQ(music.positionMs(), 0);

    ASSERT_TRUE(music.play());
    for (int i = 0; i < 500 && !music.poll(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(music.playing());
}

TEST(SingleInstance, SecondGuardOfTheSameNameIsRefusedUntilTheFirstEnds) {
    TempDir folder;
    auto first = SingleInstanceGuard::acquireIn(folder.path(), kScreenSaverSemaphore);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SingleInstanceGuard::acquireIn(folder.path(), kScreenSaverSemaphore), nullptr);
    EXPECT_NE(SingleInstanceGuard::acquireIn(folder.path(), "Other"), nullptr);
    first.reset();
    EXPECT_NE(SingleInstanceGuard::acquireIn(folder.path(), kScreenSaverSemaphore), nullptr);
    EXPECT_EQ(SingleInstanceGuard::acquireIn(folder / "missing", "x"), nullptr);
}

TEST(ErrorLog, OneLineOverwrittenAndFailuresIgnored) {
    TempDir folder;
    const std::string studio = folder.path().string() + "/";
    writeErrorLog(studio, '2', "/p/a.lvp", "first");
    writeErrorLog(studio, '1', "/p/b.lvp", "Incorrect Project File!");
    const auto bytes = readBytes(folder / "error.txt");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "1 /p/b.lvp Incorrect Project File!\r\n");
    EXPECT_NO_THROW(writeErrorLog((folder / "no" / "such").string(), '1', "x", "y"));
}

} // namespace
} // namespace lv::test
