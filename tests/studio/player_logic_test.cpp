// The player's decisions as plain functions: playlist, draws, zoom, positions, help, keys, sounds, fade.

#include "engine/ProjectData.h"
#include "formats/uLVProject.h"
#include "studio/FadeBlend.h"
#include "studio/ScrSvrLogic.h"
#include "support/TestSupport.h"

#include <deque>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>

namespace lv::test {
namespace {

using ::testing::ElementsAre;

// Draws answered from a script; the count of draws made is kept.
struct ScriptedDraws {
    std::deque<int32_t> answers;
    int32_t made = 0;
    TRandomDraw draw() {
        return [this](int32_t) {
            ++made;
            if (answers.empty()) return 0;
            const int32_t next = answers.front();
            answers.pop_front();
            return next;
        };
    }
};

TFileExists existing(std::set<std::string> files) {
    return [files = std::move(files)](const std::string& path) { return files.count(path) > 0; };
}

TEST(PlayerLogic, ZoomDurationMapsToSeconds) {
    const std::pair<int32_t, int32_t> cases[] = {{1, 3}, {2, 5}, {3, 7},   {4, 10},
                                                 {0, 0}, {5, 5}, {30, 30}, {-2, -2}};
    for (const auto& [setting, seconds] : cases) EXPECT_EQ(ZoomSecondsFor(setting), seconds) << setting;
}

TEST(PlayerLogic, PlaylistKeepsEnabledEntriesInOrder) {
    const std::vector<CatalogEntry> catalog{
        {"/a.lvp", ""}, {"/b.lvp", "0"}, {"/c.lvp", "1"}, {"/d.lvp", "2"}};
    EXPECT_THAT(BuildPlaylist(catalog), ElementsAre("/a.lvp", "/c.lvp", "/d.lvp"));
}

TEST(PlayerLogic, FirstProject) {
    const std::vector<std::string> playlist{"/a.lvp", "/b.lvp", "/c.lvp"};
    ScriptedDraws draws{{2}};
    // RANDOM on: a drawn entry, RUN ignored.
    EXPECT_EQ(FirstProject(playlist, true, "/a.lvp", existing({"/a.lvp", "/c.lvp"}), draws.draw()), "/c.lvp");
    // RANDOM off: RUN, whether or not it is in the playlist.
    EXPECT_EQ(FirstProject(playlist, false, "/x.lvp", existing({"/x.lvp", "/a.lvp"}), draws.draw()),
              "/x.lvp");
    // RUN missing (or its default "path=flag" form): the first entry whose file exists.
    EXPECT_EQ(FirstProject(playlist, false, "/a.lvp=", existing({"/b.lvp", "/c.lvp"}), draws.draw()),
              "/b.lvp");
    // Nothing exists, or nothing to play.
    EXPECT_EQ(FirstProject(playlist, false, "/a.lvp", existing({}), draws.draw()), std::nullopt);
    EXPECT_EQ(FirstProject({}, true, "/a.lvp", existing({"/a.lvp"}), draws.draw()), std::nullopt);
}

TEST(PlayerLogic, SwitchDrawsUpToTenTimesForAnotherProject) {
    const std::vector<std::string> playlist{"/a.lvp", "/b.lvp", "/c.jpg"};
    const auto all = existing({"/a.lvp", "/b.lvp", "/c.jpg"});
    struct Case {
        const char* name;
        std::string current;
        std::deque<int32_t> answers;
        std::string next;
        int32_t draws;
    };
    const Case cases[] = {
        {"first draw differs", "/a.lvp", {1}, "/b.lvp", 1},
        {"fourth draw differs", "/a.lvp", {0, 0, 0, 2}, "/c.jpg", 4},
        {"ten equal draws: the tenth", "/a.lvp", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, "/a.lvp", 10},
        {"lower-case extension counts", "/A.Lvp", {0}, "/a.lvp", 1},
        {"current not .LVP: always ten draws", "/c.jpg", {1, 1, 1, 1, 1, 1, 1, 1, 1, 0}, "/a.lvp", 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDraws draws{c.answers};
        EXPECT_EQ(DrawNextProject(playlist, c.current, all, draws.draw()), c.next);
        EXPECT_EQ(draws.made, c.draws);
    }
    // A playlist of one entry draws it ten times and plays it again.
    ScriptedDraws one;
    EXPECT_EQ(DrawNextProject({"/a.lvp"}, "/a.lvp", all, one.draw()), "/a.lvp");
    EXPECT_EQ(one.made, 10);
}

TEST(PlayerLogic, SwitchDrawsMoreUntilAFileExists) {
    const std::vector<std::string> playlist{"/a.lvp", "/gone.lvp", "/b.lvp"};
    ScriptedDraws draws{{1, 1, 1, 2}};
    EXPECT_EQ(DrawNextProject(playlist, "/a.lvp", existing({"/a.lvp", "/b.lvp"}), draws.draw()), "/b.lvp");
    EXPECT_EQ(draws.made, 4);
    // Nothing exists: one hundred draws in all, then the last draw stands.
    ScriptedDraws endless{{1}};
    EXPECT_EQ(DrawNextProject(playlist, "/a.lvp", existing({}), endless.draw()), "/a.lvp");
    EXPECT_EQ(endless.made, kMaxSwitchDraws);
}

TEST(PlayerLogic, SwitchAndZoomTimes) {
    TPlayerSettings s;
    s.ChangeProjects = true;
    s.Duration = 10;
    s.Zoom = true;
    s.ZoomSeconds = 3;
    EXPECT_FALSE(SwitchDue(s, 9, false));
    EXPECT_TRUE(SwitchDue(s, 9, true));
    EXPECT_TRUE(SwitchDue(s, 10, false));
    EXPECT_FALSE(ZoomDue(s, 6));
    EXPECT_TRUE(ZoomDue(s, 7));
    s.ZoomSeconds = 12; // longer than the project: zooming from the start
    EXPECT_TRUE(ZoomDue(s, 0));
    s.ChangeProjects = false; // one project forever, no zoom, no switch
    EXPECT_FALSE(ZoomDue(s, 100));
    EXPECT_FALSE(SwitchDue(s, 100, true));
    // Elapsed seconds across a wrap of the tick counter.
    EXPECT_EQ(ElapsedSeconds(0xFFFFF000u, 0x00000BB8u), 7);
}

TEST(PlayerLogic, StretchTargetAndPicturePosition) {
    struct Case {
        TPlayerSize picture, screen;
        bool proportional;
        TPlayerSize target;
    };
    const Case cases[] = {
        {{400, 300}, {1024, 768}, true, {1024, 768}},
        {{400, 300}, {1280, 1024}, true, {1280, 960}},
        {{960, 640}, {1920, 1080}, true, {1620, 1080}},
        {{400, 300}, {1280, 1024}, false, {1280, 1024}},
    };
    for (const Case& c : cases) EXPECT_EQ(StretchTarget(c.picture, c.screen, c.proportional), c.target);

    EXPECT_EQ(PicturePosition({1920, 1080}, {1620, 1080}, true, true), (TPlayerPoint{150, 0}));
    EXPECT_EQ(PicturePosition({1920, 1080}, {1920, 1080}, true, false), (TPlayerPoint{0, 0}));
    EXPECT_EQ(PicturePosition({800, 600}, {401, 301}, false, false), (TPlayerPoint{199, 149}));
    EXPECT_EQ(PicturePosition({800, 600}, {1001, 701}, false, true),
              (TPlayerPoint{-100, -50})); // towards zero
}

TEST(PlayerLogic, ZoomFrameAndPlace) {
    EXPECT_EQ(ZoomFrameSize({1620, 1080}, 2.5), (TPlayerSize{1625, 1085}));
    struct Case {
        int32_t align, frame, screen, place, alignAfter;
    };
    const Case cases[] = {
        {0, 2000, 1920, 0, 0},   {1, 2000, 1920, -80, 1}, {2, 2000, 1920, -40, 2},
        {4, 2000, 1920, -40, 4}, {0, 1620, 1920, 150, 3}, {1, 1620, 1920, 150, 3},
        {2, 1621, 1920, 149, 3}, {6, 1000, 1080, 40, 6},  {1, 1920, 1920, 0, 1},
    };
    for (const Case& c : cases) {
        int32_t align = c.align;
        EXPECT_EQ(ZoomPlace(align, c.frame, c.screen), c.place) << c.align << " " << c.frame;
        EXPECT_EQ(align, c.alignAfter);
    }
}

TEST(PlayerLogic, HelpLinesPerRole) {
    const auto saver = HelpLines(TPlayerRole::ScreenSaver);
    const auto preview = HelpLines(TPlayerRole::ProjectPreview);
    ASSERT_EQ(saver.size(), 8u);
    ASSERT_EQ(preview.size(), 7u);
    for (const auto& line : saver) EXPECT_EQ(line.Text.size(), 45u);
    EXPECT_EQ(saver[0].Text, "Available commands                           ");
    EXPECT_EQ(saver[1].Text, std::string(45, '-'));
    EXPECT_EQ(saver[6].Y, 90);
    EXPECT_EQ(saver[6].Text.substr(0, 36), "Space Bar : Skip to the next picture");
    EXPECT_EQ(saver[7].Y, 105);
    EXPECT_EQ(preview[6].Y, 90);
    EXPECT_EQ(preview[6].Text.substr(0, 27), "F1        : Close this help");
    EXPECT_TRUE(HelpDrawn(TPlayerRole::ProjectPreview));
    EXPECT_FALSE(HelpDrawn(TPlayerRole::StudioPreview));
}

TEST(PlayerLogic, EveryKeyInEveryRole) {
    using K = TKeyAction;
    struct Case {
        char32_t key;
        K saver, preview;
    };
    const Case cases[] = {
        {U'+', K::SpeedUp, K::SpeedUp},
        {U'=', K::SpeedUp, K::SpeedUp},
        {U'-', K::SpeedDown, K::SpeedDown},
        {U'S', K::Save, K::Save},
        {U's', K::Save, K::Save},
        {U' ', K::Skip, K::None},
        {U'M', K::ToggleSound, K::ToggleSound},
        {U'm', K::ToggleSound, K::ToggleSound},
        {U'x', K::Close, K::Close},
        {U'\x1b', K::Close, K::Close},
        {U'\r', K::Close, K::Close},
        {U'1', K::Close, K::Close},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CharKeyAction(c.key, TPlayerRole::ScreenSaver), c.saver) << int(c.key);
        EXPECT_EQ(CharKeyAction(c.key, TPlayerRole::ProjectPreview), c.preview) << int(c.key);
        EXPECT_EQ(CharKeyAction(c.key, TPlayerRole::StudioPreview), K::None) << int(c.key);
    }
}

TEST(PlayerLogic, SpeedKeysStopAndRestartAreas) {
    ProjectData project;
    project.LoadedSpeeds = {3, 0, 1, 0};
    for (int i = 0; i < kAreaCount; ++i) project.Area(i).Speed = project.LoadedSpeeds[static_cast<size_t>(i)];
    project.Area(3).Speed = 2; // changed since loading
    for (int i = 0; i < 4; ++i) SpeedDown(project);
    EXPECT_EQ(project.Area(0).Speed, 0);
    EXPECT_EQ(project.Area(3).Speed, 0);
    SpeedUp(project);
    EXPECT_EQ(project.Area(0).Speed, 1);
    EXPECT_EQ(project.Area(1).Speed, 0);
    EXPECT_EQ(project.Area(2).Speed, 1);
    EXPECT_EQ(project.Area(3).Speed, 0); // loaded speed 0: stays stopped
}

TEST(PlayerLogic, MouseGate) {
    TMouseGate gate;
    EXPECT_FALSE(gate.Move(500, 500)); // the first position is only remembered
    EXPECT_FALSE(gate.Move(502, 498));
    EXPECT_FALSE(gate.Move(504, 500)); // 2 from the last position
    EXPECT_TRUE(gate.Move(504, 503));
    gate.IgnoreNextMoves();
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(gate.Move(0, 900 * (i % 2)));
    EXPECT_EQ(gate.IgnoreMoves, 0);
    EXPECT_TRUE(gate.Move(0, 0)); // the last stored position is still 504,503
}

TEST(PlayerLogic, SoundChoiceAndLastSound) {
    TempDir studio;
    std::filesystem::create_directories(studio / "Sounds");
    writeBytes(studio / "Sounds" / "default.wav", {1});
    const std::string folder = studio.path().string() + "/";
    const std::string fallback = (studio / "Sounds" / "default.wav").string();
    EXPECT_EQ(ResolveSoundPath("", folder), fallback); // names of our own data: any letter case
    EXPECT_EQ(ResolveSoundPath("c:\\Program Files\\Lumivale\\sounds\\Default.wav", folder), fallback);
    EXPECT_EQ(ResolveSoundPath("rain.wav", folder), (studio / "Sounds" / "rain.wav").string());

    TSoundChooser chooser;
    EXPECT_EQ(chooser.Choose("", folder), fallback);
    EXPECT_EQ(chooser.Choose("Default.wav", folder), std::nullopt); // the same file: goes on playing
    EXPECT_EQ(chooser.Choose(TProject::kNoSound, folder), std::nullopt);
    EXPECT_EQ(chooser.LastSound, TProject::kNoSound);
    EXPECT_EQ(chooser.Choose("", folder), fallback); // restarted after "<No Sound>"
    chooser.Forget();
    EXPECT_EQ(chooser.Choose("", folder), fallback);
}

TEST(PlayerLogic, FadePlanLastsTwoSecondsAndRampsFromTenTo255) {
    EXPECT_EQ(FadeSteps(0, 0), 2000); // an immeasurably fast step counts as 1 ms
    EXPECT_EQ(FadeSteps(7, 0), 285);
    EXPECT_EQ(FadeSteps(0, 30), 60);   // paced: never more steps than frames
    EXPECT_EQ(FadeSteps(5000, 30), 1); // a step slower than the fade: one step
    EXPECT_EQ(FadeAlpha(1, 60), 14);   // nearest(245 / 60) + 10
    EXPECT_EQ(FadeAlpha(60, 60), 255);
    EXPECT_EQ(FadeStepDue(0, 60), 0);
    EXPECT_EQ(FadeStepDue(1000, 60), 30);
    EXPECT_EQ(FadeStepDue(2500, 60), 60);
}

TEST(PlayerLogic, FadeBlendFollowsTheFormula) {
    std::vector<uint32_t> older(37), newer(37), out(37);
    uint32_t seed = 12345;
    for (size_t i = 0; i < older.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        older[i] = seed;
        seed = seed * 1103515245u + 12345u;
        newer[i] = seed;
    }
    older[0] = 0xFF00FF00u, newer[0] = 0x00FF00FFu;
    for (int32_t alpha : {0, 10, 128, 255, 256}) {
        FadeBlend(out, older, newer, alpha);
        for (size_t i = 0; i < out.size(); ++i)
            for (int c = 0; c < 32; c += 8) {
                const int o = static_cast<int>((older[i] >> c) & 0xFF),
                          n = static_cast<int>((newer[i] >> c) & 0xFF);
                const int expected = o + static_cast<int>(std::floor(alpha * (n - o) / 256.0));
                ASSERT_EQ(static_cast<int>((out[i] >> c) & 0xFF), expected) << alpha << " " << i << " " << c;
            }
    }
}

} // namespace
} // namespace lv::test
