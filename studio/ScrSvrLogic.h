#pragma once

// The decisions of the full-screen player, apart from its window: which projects play and in which
// order, when the zoom starts and where the zoomed picture goes, where the picture is painted, what a
// key or a mouse move does, which sound starts, and how the fade is stepped. Plain values in, plain
// values out, so that tests can ask every question without a screen.

#include "formats/uConfig.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class ProjectData;

// The window's Tag.
enum class TPlayerRole : int32_t { Closed = -1, ScreenSaver = 0, ProjectPreview = 1, StudioPreview = 2 };

struct TPlayerSize {
    int32_t Width = 0;
    int32_t Height = 0;
    bool operator==(const TPlayerSize&) const = default;
};

struct TPlayerPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TPlayerPoint&) const = default;
};

// The settings copies of the window; the defaults are those at creation.
struct TPlayerSettings {
    bool Stretch = false;
    bool Proportional = true;
    bool ChangeProjects = false; // RANDOM
    int32_t Duration = 0;        // seconds
    int32_t SpeedPercent = 100;
    bool Zoom = false;
    bool LivingZoom = false;
    int32_t ZoomSeconds = 0;
    bool Transition = false;
    bool SoundOn = false;
    bool AutoWallpaper = false;
    int32_t FrameRate = 0; // passes per second; 0 runs them back to back
};

// ZOOMDURATION 1..4 to 3, 5, 7, 10 seconds; any other value is a number of seconds already.
int32_t ZoomSecondsFor(int32_t zoomDuration);

// Everything the screensaver role reads from the player settings.
TPlayerSettings ReadScreenSaverSettings(const TConfig& config);

// The paths of the enabled catalog entries, in catalog order.
std::vector<std::string> BuildPlaylist(const std::vector<CatalogEntry>& catalog);

using TFileExists = std::function<bool(const std::string& path)>;
using TRandomDraw = std::function<int32_t(int32_t n)>; // 0..n-1, as lv::Random

// The first project of the screensaver role: a random entry with RANDOM on, RUN otherwise; when that
// file does not exist, the first entry whose file exists; nothing when none exists.
std::optional<std::string> FirstProject(const std::vector<std::string>& playlist, bool changeProjects,
                                        const std::string& run, const TFileExists& exists,
                                        const TRandomDraw& random);

// The project after current: up to ten draws for one that differs from current (only when current is
// a ".LVP" file; otherwise the tenth draw stands), then, when its file does not exist, more draws until
// one exists, at most kMaxSwitchDraws draws in all. An empty playlist gives current back.
inline constexpr int32_t kSwitchDraws = 10;
inline constexpr int32_t kMaxSwitchDraws = 100;
std::string DrawNextProject(const std::vector<std::string>& playlist, const std::string& current,
                            const TFileExists& exists, const TRandomDraw& random);

// Whole seconds since the project started (the tick difference taken across a wrap).
int64_t ElapsedSeconds(uint32_t startTick, uint32_t now);
bool SwitchDue(const TPlayerSettings& settings, int64_t elapsed, bool skipRequested);
bool ZoomDue(const TPlayerSettings& settings, int64_t elapsed);

// The size a stretched picture is fitted to: the screen, or with proportional the largest box of the
// picture's proportions inside it.
TPlayerSize StretchTarget(TPlayerSize picture, TPlayerSize screen, bool proportional);
// Where the picture goes: centred unless stretched without proportions.
TPlayerPoint PicturePosition(TPlayerSize screen, TPlayerSize shown, bool stretch, bool proportional);

// Zoom: the frame grows by one pixel on each side per tick of the 25 ms zoom timer.
inline constexpr int32_t kZoomInterval = 25;
TPlayerSize ZoomFrameSize(TPlayerSize frame, double zoomAmount);
// One axis of the zoomed picture's place. align 0 puts it at the start, 1 at the end, anything else
// centred; an align below 3 becomes 3 (centred for the rest of the zoom) while the frame is smaller
// than the screen on that axis.
int32_t ZoomPlace(int32_t& align, int32_t frameExtent, int32_t screenExtent);

// The help overlay.
inline constexpr int32_t kHelpLineChars = 45;
inline constexpr int32_t kHelpLineHeight = 15;
struct THelpLine {
    int32_t Y = 0;
    std::string Text; // exactly 45 characters
};
std::vector<THelpLine> HelpLines(TPlayerRole role);
inline bool HelpDrawn(TPlayerRole role) {
    return role == TPlayerRole::ScreenSaver || role == TPlayerRole::ProjectPreview;
}

// What a character key does.
enum class TKeyAction { None, SpeedUp, SpeedDown, Save, Skip, ToggleSound, Close };
TKeyAction CharKeyAction(char32_t key, TPlayerRole role);
// "+": areas whose loaded speed is above 0 go one faster; "-": areas above 0 go one slower.
void SpeedUp(ProjectData& project);
void SpeedDown(ProjectData& project);

// Mouse moves: the first few after a refused close are ignored; more than 2 pixels closes.
class TMouseGate {
  public:
    static constexpr int32_t kIgnoreAfterCloseQuery = 5;
    // True when this move closes the window.
    bool Move(int32_t x, int32_t y);
    void IgnoreNextMoves() { IgnoreMoves = kIgnoreAfterCloseQuery; }
    int32_t IgnoreMoves = 0;
    int32_t LastX = -1;
    int32_t LastY = -1;
};

// Which sound to start for a project, remembering the last one started.
class TSoundChooser {
  public:
    // The file to start for the project's sound name, or nothing (the "<No Sound>" name, or the same
    // sound as last time, which goes on playing). studioFolder is CONFIG PATH.
    std::optional<std::string> Choose(std::string_view sound, std::string_view studioFolder);
    void Forget() { LastSound.clear(); }
    std::string LastSound;
};
// The file a sound name names: "" is "Default.wav"; a bare name lives in the studio's "sounds" folder;
// a path that does not exist here is looked for there by its file name.
std::string ResolveSoundPath(std::string_view sound, std::string_view studioFolder);

// The fade: about 2000 ms, its step count from the measured cost of one step (at least 1 ms), bounded
// by the frame rate when paced; step k of n (1..n) is due at k x 2000 / n ms and weighs
// nearest(245 k / n) + 10 out of 256. The first step, weighing 10, is the one measured.
inline constexpr int32_t kFadeMilliseconds = 2000;
inline constexpr int32_t kFadeFirstAlpha = 10;
int32_t FadeSteps(uint32_t firstStepMs, int32_t frameRate);
int32_t FadeAlpha(int32_t step, int32_t steps);
// The last step due after elapsedMs (0..steps).
int32_t FadeStepDue(uint32_t elapsedMs, int32_t steps);

} // namespace lv
