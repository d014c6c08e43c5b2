// The player window offscreen: starting, loading, the frame pass, keys, mouse, sound, close.

#include "platform/ErrorLog.h"
#include "platform/FileIo.h"
#include "studio/PlayerFixture.h"

#include <gmock/gmock.h>

namespace lv::test {
namespace {

using ::testing::ElementsAre;

std::string readText(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(PlayerTest, ShowsTheProjectCentredAndItsWaterMoves) {
    TConfig settings = config();
    settings.AddToCatalog(project("a.lvp"));
    settings.WriteRandom(false);
    auto window = player();
    ASSERT_TRUE(window->Start());
    ASSERT_TRUE(window->Pass());
    Bitmap first, second;
    window->ComposeScreen(first);
    for (int i = 0; i < 3; ++i) window->Pass();
    window->ComposeScreen(second);
    EXPECT_EQ(window->ShownPosition(), (TPlayerPoint{60, 45}));
    EXPECT_EQ(first.at(0, 0) & 0xFFFFFF, 0u);   // black around the picture
    EXPECT_NE(first.at(60, 45) & 0xFFFFFF, 0u); // the picture's top-left corner
    for (int32_t y = 45; y < 55; ++y)           // land stays
        for (int32_t x = 60; x < 100; ++x) ASSERT_EQ(first.at(x, y), second.at(x, y));
    bool waterMoved = false;
    for (int32_t y = 60; y < 75; ++y)
        for (int32_t x = 60; x < 100; ++x) waterMoved |= first.at(x, y) != second.at(x, y);
    EXPECT_TRUE(waterMoved);
}

TEST_F(PlayerTest, RefusesToStartWithoutAPlayableEntry) {
    struct Case {
        const char* name;
        void (*prepare)(TConfig&, const std::string& existing);
    };
    const Case cases[] = {
        {"empty catalog", [](TConfig&, const std::string&) {}},
        {"all disabled", [](TConfig& c, const std::string& p) { c.SetCatalogEntry(p, "0"); }},
        {"all missing", [](TConfig& c, const std::string&) { c.AddToCatalog("/nowhere/x.lvp"); }},
    };
    const std::string existing = project("a.lvp");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TConfig settings = config();
        settings.RemoveFromCatalog(existing);
        settings.RemoveFromCatalog("/nowhere/x.lvp");
        c.prepare(settings, existing);
        dialogs_ = ScriptedDialogs();
        auto window = player();
        EXPECT_FALSE(window->Start());
        EXPECT_EQ(window->Tag, TPlayerRole::Closed);
        ASSERT_EQ(dialogs_.shown().size(), 1u);
        EXPECT_EQ(dialogs_.shown()[0].kind, MessageKind::Error);
        EXPECT_EQ(dialogs_.shown()[0].text, "Unable to start Lumivale Player.\r\nPlease configure!");
    }
}

TEST_F(PlayerTest, MissingRunFallsBackToTheFirstExistingEntry) {
    TConfig settings = config();
    settings.AddToCatalog("/nowhere/gone.lvp");
    const std::string second = project("b.lvp");
    settings.AddToCatalog(second);
    settings.WriteRandom(false);
    settings.WriteRun("/nowhere/run.lvp");
    auto window = player();
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(window->CurrentPath, second);
}

TEST_F(PlayerTest, StretchFitsTheProjectToTheScreen) {
    TConfig settings = config();
    settings.AddToCatalog(project("a.lvp", 40, 30));
    settings.WriteStretch(true);
    struct Case {
        bool proportional;
        TPlayerSize shown;
        TPlayerPoint at;
    };
    for (const Case& c : {Case{true, {120, 90}, {20, 0}}, Case{false, {160, 90}, {0, 0}}}) {
        settings.WriteProportional(c.proportional);
        auto window = player(TPlayerRole::ScreenSaver, {160, 90});
        ASSERT_TRUE(window->Start());
        EXPECT_EQ((TPlayerSize{window->ShownWidth, window->ShownHeight}), c.shown);
        EXPECT_EQ(window->Generator->width(), c.shown.Width);
        EXPECT_EQ(window->ShownPosition(), c.at);
    }
}

TEST_F(PlayerTest, ProjectThatFailsToLoadIsLoggedAndSwitchedAgain) {
    TConfig settings = config();
    const std::string good = project("good.lvp");
    const std::string bad = (files_.path() / "bad.lvp").string();
    writeBytes(bad, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'r', 'o', 'j', 'e', 'c', 't'});
    settings.AddToCatalog(good);
    settings.AddToCatalog(bad);
    settings.WriteRun(good);
    settings.WriteRandom(true);
    settings.WriteDuration(1000);
    auto window = player();
    window->RandomDraw = [](int32_t) { return 0; }; // the good one first
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(window->CurrentPath, good);

    window->RandomDraw = [](int32_t) { return 1; }; // then the bad one
    window->SkipRequested = true;
    const uint32_t startTick = window->StartTick - 5000;
    window->StartTick = startTick;
    EXPECT_TRUE(window->Pass());
    EXPECT_EQ(window->CurrentPath, bad);
    EXPECT_EQ(window->StartTick, startTick);
    const std::string log = readText(files_.path() / "error.txt");
    EXPECT_THAT(log, ::testing::StartsWith("1 " + bad + " "));
    EXPECT_THAT(log, ::testing::EndsWith("\r\n"));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
}

TEST_F(PlayerTest, SkipSwitchesAndZoomStartsWhenDurationIsShorterThanTheZoom) {
    TConfig settings = config();
    const std::string a = project("a.lvp");
    const std::string b = project("b.lvp");
    settings.AddToCatalog(a);
    settings.AddToCatalog(b);
    settings.WriteRandom(true);
    settings.WriteDuration(3);
    settings.WriteZoom(true);
    settings.WriteZoomDuration(1); // 3 seconds: the zoom is due from the start
    auto window = player();
    std::vector<int32_t> draws{0, 1, 0}; // first project; then the zoom's alignments
    window->RandomDraw = [&draws](int32_t) {
        const int32_t next = draws.front();
        draws.erase(draws.begin());
        return next;
    };
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(window->Settings.ZoomSeconds, 3);
    window->Pass();
    EXPECT_TRUE(window->Zooming());
    // Right and top turn to centred while the zoomed picture is smaller than the screen.
    EXPECT_EQ(window->ZoomHAlign, 3);
    EXPECT_EQ(window->ZoomVAlign, 3);
    Bitmap screen;
    window->ComposeScreen(screen);
    EXPECT_EQ(screen.at(59, 44) & 0xFFFFFF, 0u); // no growth yet: the zoom frame covers the picture's place
    EXPECT_NE(screen.at(60, 45) & 0xFFFFFF, 0u);
    EXPECT_NE(screen.at(99, 74) & 0xFFFFFF, 0u);

    window->RandomDraw = [](int32_t) { return 1; };
    window->SkipRequested = true;
    window->Pass();
    EXPECT_FALSE(window->SkipRequested);
    EXPECT_FALSE(window->Zooming());
    EXPECT_EQ(window->CurrentPath, b);
}

TEST_F(PlayerTest, SoundsFollowLastSoundWithNoSoundInBetween) {
    TConfig settings = config();
    const std::string a = project("a.lvp", 40, 30, "water.wav");
    const std::string quiet = project("quiet.lvp", 40, 30, TProject::kNoSound);
    const std::string b = project("b.lvp", 40, 30, "water.wav");
    for (const auto& p : {a, quiet, b}) settings.AddToCatalog(p);
    settings.WriteRandom(true);
    settings.WriteDuration(1000);
    auto window = player();
    std::vector<int32_t> order{0, 2, 1, 2};
    window->RandomDraw = [&order](int32_t) {
        const int32_t next = order.front();
        order.erase(order.begin());
        return next;
    };
    ASSERT_TRUE(window->Start()); // a
    const std::string water = (files_.path() / "sounds" / "water.wav").string();
    EXPECT_THAT(sounds_->played, ElementsAre(water));
    window->SwitchProject(); // b: same sound, not restarted
    EXPECT_THAT(sounds_->played, ElementsAre(water));
    window->SwitchProject(); // quiet: nothing started or stopped
    EXPECT_EQ(window->Sound.LastSound, TProject::kNoSound);
    window->SwitchProject(); // b again: restarted after "<No Sound>"
    EXPECT_THAT(sounds_->played, ElementsAre(water, water));
    EXPECT_EQ(sounds_->stops, 0);
}

TEST_F(PlayerTest, KeysInEveryRole) {
    TConfig settings = config();
    const std::string a = project("a.lvp");
    settings.AddToCatalog(a);
    settings.WriteRandom(false);
    for (const TPlayerRole role : {TPlayerRole::ScreenSaver, TPlayerRole::ProjectPreview}) {
        SCOPED_TRACE(static_cast<int>(role));
        auto window = player(role);
        if (role == TPlayerRole::ProjectPreview) window->SetPreview(a, 100, true, true, false);
        ASSERT_TRUE(window->Start());
        window->Project->LoadedSpeeds = {5, 0, 0, 0};
        window->Project->Area(1).Speed = 0;
        window->CharKey(U'+');
        window->CharKey(U'=');
        EXPECT_EQ(window->Project->Area(0).Speed, 7);
        EXPECT_EQ(window->Project->Area(1).Speed, 0); // loaded speed 0: stays stopped
        for (int i = 0; i < 9; ++i) window->CharKey(U'-');
        EXPECT_EQ(window->Project->Area(0).Speed, 0);

        window->CharKey(U' ');
        EXPECT_EQ(window->SkipRequested, role == TPlayerRole::ScreenSaver);

        const size_t played = sounds_->played.size();
        const int stops = sounds_->stops;
        window->CharKey(U'm');
        EXPECT_FALSE(window->Settings.SoundOn);
        EXPECT_EQ(sounds_->stops, stops + 1);
        window->CharKey(U'M');
        EXPECT_TRUE(window->Settings.SoundOn);
        EXPECT_EQ(sounds_->played.size(), played + 1); // LastSound forgotten: the same sound restarts

        window->CharKey(U's'); // saves the project with its current speeds
        TProject saved;
        saved.LoadFromFile(a);
        EXPECT_EQ(saved.Area(0).Speed, 0);
        writeProject(a, 40, 30, "");

        window->CharKey(U'x');
        EXPECT_EQ(window->Tag, TPlayerRole::Closed);
    }
}

TEST_F(PlayerTest, StudioPreviewIgnoresCharactersAndKeepsTheBorrowedProject) {
    config().WriteSpeed(50);
    TProject project;
    project.LoadFromFile(this->project("a.lvp"));
    auto window = player(TPlayerRole::StudioPreview);
    window->SetStudioProject(project, false);
    ASSERT_TRUE(window->Start());
    EXPECT_EQ(project.SpeedPercent, 50);
    for (char32_t key : {U'+', U'-', U'x', U' ', U'm'}) window->CharKey(key);
    EXPECT_NE(window->Tag, TPlayerRole::Closed);
    window->ToggleHelp();
    window->Pass();
    EXPECT_NE(window->Generator->output().at(0, 0), 0x000080u); // no help overlay in this role
    window->DoClose();
    EXPECT_TRUE(project.Loaded); // not freed by the window
}

TEST_F(PlayerTest, HelpOverlayIsDrawnOnTheWaterFrameAndWipedWhenClosed) {
    TConfig settings = config();
    settings.AddToCatalog(project("a.lvp", 400, 200));
    settings.WriteRandom(false);
    auto window = player(TPlayerRole::ScreenSaver, {400, 200});
    ASSERT_TRUE(window->Start());
    window->ToggleHelp();
    window->Pass();
    EXPECT_EQ(window->Generator->output().at(1, 1) & 0xFFFFFF, 0x000080u);
    window->ToggleHelp();
    EXPECT_EQ(window->Generator->output().at(1, 1) & 0xFFFFFF, 0x808080u);
}

TEST_F(PlayerTest, MouseMovesCloseUnlessIgnoredAfterACloseQuery) {
    TConfig settings = config();
    settings.AddToCatalog(project("a.lvp"));
    settings.WriteRandom(false);
    auto window = player();
    ASSERT_TRUE(window->Start());
    EXPECT_TRUE(window->CloseQuery());
    EXPECT_EQ(window->Mouse.IgnoreMoves, 5);
    for (int i = 0; i < 5; ++i) window->MouseMoved(100 * i, 100 * i);
    window->MouseMoved(10, 10); // the first position seen
    window->MouseMoved(12, 12); // within 2 pixels
    EXPECT_NE(window->Tag, TPlayerRole::Closed);
    window->MouseMoved(15, 12);
    EXPECT_EQ(window->Tag, TPlayerRole::Closed);
}

TEST_F(PlayerTest, CloseWithAutoWallpaperSavesTheFittedPicture) {
    TConfig settings = config();
    settings.AddToCatalog(project("a.lvp", 40, 30));
    settings.WriteRandom(false);
    settings.WriteAutoWallpaper(true);
    settings.WriteStretch(true);
    setenv("LUMIVALE_WALLPAPER_COMMAND", "/bin/true", 1);
    auto window = player(TPlayerRole::ScreenSaver, {80, 60});
    ASSERT_TRUE(window->Start());
    window->close();
    unsetenv("LUMIVALE_WALLPAPER_COMMAND");
    EXPECT_EQ(window->Tag, TPlayerRole::Closed);
    const auto bmp = readBytes(files_.path() / "LVWallpaper.bmp");
    ASSERT_GT(bmp.size(), 26u);
    EXPECT_EQ(bmp[18] | (bmp[19] << 8), 80); // the fitted width
    EXPECT_THAT(sounds_->stops, ::testing::Ge(1));
}

} // namespace
} // namespace lv::test
