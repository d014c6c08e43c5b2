#include "studio/PlayerFixture.h"

#include "engine/WaveParams.h"

#include <QApplication>
#include <cstdlib>

namespace lv::test {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "tests_studio";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own teardown at exit runs after the test runner's statics are gone.
    static QApplication* application = nullptr;
    if (!application) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        application = new QApplication(argc, argv);
    }
}

void writeProject(const std::filesystem::path& path, int32_t width, int32_t height, const std::string& sound,
                  uint32_t land, int32_t speed) {
    TProject project;
    project.Picture.setSize(width, height);
    project.Mask.setSize(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const bool water = y >= height / 2;
            project.Picture.at(x, y) = water ? rgb(0, (x * 7 + y * 13) & 0xFF, 200) : land;
            project.Mask.at(x, y) = water ? AreaColors[0] : 0;
        }
    project.Areas.fill(kDefaultWaveParam);
    project.Areas[0] = {.Amplitude = 3,
                        .Frequency = 4,
                        .Speed = speed,
                        .Direction = 0,
                        .Horizontal = false,
                        .Vertical = true,
                        .Perspective = false,
                        .Pad = 0,
                        .Ripple = 360,
                        .Distortion = 0,
                        .Reserved = 0};
    for (size_t i = 1; i < project.Areas.size(); ++i) project.Areas[i].Speed = 0;
    project.Sound = sound;
    project.SaveToFile(path);
}

PlayerTest::PlayerTest() {
    ensureApplication();
    setenv("LUMIVALE_WINDIR", settings_.path().c_str(), 1);
    TConfig settings = config();
    settings.WritePath(files_.path().string() + "/");
    settings.WriteStretch(false);
    settings.WriteZoom(false);
    settings.WriteTransitionEffect(false);
}

PlayerTest::~PlayerTest() {
    unsetenv("LUMIVALE_WINDIR");
}

std::string PlayerTest::project(const std::string& name, int32_t width, int32_t height,
                                const std::string& sound) {
    const std::string path = (files_.path() / name).string();
    writeProject(path, width, height, sound);
    return path;
}

std::unique_ptr<TfmScrSvr> PlayerTest::player(TPlayerRole role, TPlayerSize screen) {
    return std::make_unique<TfmScrSvr>(role, screen, dialogs_, std::make_unique<RecordedSound>(sounds_));
}

} // namespace lv::test
