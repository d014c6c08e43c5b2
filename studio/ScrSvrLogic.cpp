#include "studio/ScrSvrLogic.h"

#include "engine/ProjectData.h"
#include "formats/uLVProject.h"
#include "platform/Numeric.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace lv {

int32_t ZoomSecondsFor(int32_t zoomDuration) {
    switch (zoomDuration) {
    case 1:
        return 3;
    case 2:
        return 5;
    case 3:
        return 7;
    case 4:
        return 10;
    default:
        return zoomDuration;
    }
}

TPlayerSettings ReadScreenSaverSettings(const TConfig& config) {
    TPlayerSettings settings;
    settings.Stretch = config.ReadStretch();
    settings.ChangeProjects = config.ReadRandom();
    settings.Duration = config.ReadDuration();
    settings.SpeedPercent = config.ReadSpeed();
    settings.Zoom = config.ReadZoom();
    settings.LivingZoom = config.ReadLivingZoom();
    settings.ZoomSeconds = ZoomSecondsFor(config.ReadZoomDuration());
    settings.Transition = config.ReadTransitionEffect();
    settings.SoundOn = config.ReadSound();
    settings.Proportional = config.ReadProportional();
    settings.AutoWallpaper = config.ReadAutoWallpaper();
    settings.FrameRate = config.ReadFrameRate();
    return settings;
}

std::vector<std::string> BuildPlaylist(const std::vector<CatalogEntry>& catalog) {
    std::vector<std::string> playlist;
    for (const CatalogEntry& entry : catalog)
        if (entry.enabled()) playlist.push_back(entry.path);
    return playlist;
}

namespace {

const std::string& drawEntry(const std::vector<std::string>& playlist, const TRandomDraw& random) {
    const int32_t count = static_cast<int32_t>(playlist.size());
    const int32_t index = std::clamp(random(count), 0, count - 1);
    return playlist[static_cast<size_t>(index)];
}

bool hasLvpExtension(std::string_view path) {
    const std::string_view name = storedFileName(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string extension(name.substr(dot));
    for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension == ".LVP";
}

} // namespace

std::optional<std::string> FirstProject(const std::vector<std::string>& playlist, bool changeProjects,
                                        const std::string& run, const TFileExists& exists,
                                        const TRandomDraw& random) {
    if (playlist.empty()) return std::nullopt;
    const std::string first = changeProjects ? drawEntry(playlist, random) : run;
    if (exists(first)) return first;
    for (const std::string& entry : playlist)
        if (exists(entry)) return entry;
    return std::nullopt;
}

std::string DrawNextProject(const std::vector<std::string>& playlist, const std::string& current,
                            const TFileExists& exists, const TRandomDraw& random) {
    if (playlist.empty()) return current;
    const bool currentIsProject = hasLvpExtension(current);
    std::string next;
    int32_t draws = 0;
    while (draws < kSwitchDraws) {
        next = drawEntry(playlist, random);
        ++draws;
        if (next != current && currentIsProject) break;
    }
    while (!exists(next) && draws < kMaxSwitchDraws) {
        next = drawEntry(playlist, random);
        ++draws;
    }
    return next;
}

int64_t ElapsedSeconds(uint32_t startTick, uint32_t now) {
    return static_cast<int64_t>(static_cast<uint32_t>(now - startTick)) / 1000;
}

bool SwitchDue(const TPlayerSettings& settings, int64_t elapsed, bool skipRequested) {
    return settings.ChangeProjects && (elapsed >= settings.Duration || skipRequested);
}

bool ZoomDue(const TPlayerSettings& settings, int64_t elapsed) {
    return settings.ChangeProjects && settings.Zoom &&
           elapsed >= static_cast<int64_t>(settings.Duration) - settings.ZoomSeconds;
}

TPlayerSize StretchTarget(TPlayerSize picture, TPlayerSize screen, bool proportional) {
    TPlayerSize target = screen;
    if (!proportional || picture.Width <= 0 || picture.Height <= 0 || screen.Height <= 0) return target;
    const double ratio = static_cast<double>(picture.Width) / picture.Height;
    const int64_t scaledHeight = static_cast<int64_t>(picture.Height) * screen.Width / screen.Height;
    if (scaledHeight < picture.Width)
        target.Height = static_cast<int32_t>(nearest(screen.Width / ratio));
    else
        target.Width = static_cast<int32_t>(nearest(ratio * screen.Height));
    return target;
}

TPlayerPoint PicturePosition(TPlayerSize screen, TPlayerSize shown, bool stretch, bool proportional) {
    if (stretch && !proportional) return {};
    return {(screen.Width - shown.Width) / 2, (screen.Height - shown.Height) / 2};
}

TPlayerSize ZoomFrameSize(TPlayerSize frame, double zoomAmount) {
    return {static_cast<int32_t>(nearest(frame.Width + 2 * zoomAmount)),
            static_cast<int32_t>(nearest(frame.Height + 2 * zoomAmount))};
}

int32_t ZoomPlace(int32_t& align, int32_t frameExtent, int32_t screenExtent) {
    if (align < 3 && frameExtent < screenExtent) align = 3;
    switch (align) {
    case 0:
        return 0;
    case 1:
        return screenExtent - frameExtent;
    default:
        return (screenExtent - frameExtent) / 2;
    }
}

std::vector<THelpLine> HelpLines(TPlayerRole role) {
    static const char* const kCommon[] = {
        "Available commands",
        "---------------------------------------------",
        "'+'       : Increase speed of current picture",
        "'-'       : Decrease speed of current picture",
        "'S'       : Save speed setting permanently",
        "'M'       : Mute/Unmute sound",
    };
    std::vector<THelpLine> lines;
    auto add = [&lines](int32_t y, std::string text) {
        text.resize(kHelpLineChars, ' ');
        lines.push_back({y, std::move(text)});
    };
    int32_t y = 0;
    for (const char* text : kCommon) {
        add(y, text);
        y += kHelpLineHeight;
    }
    if (role == TPlayerRole::ScreenSaver) {
        add(y, "Space Bar : Skip to the next picture");
        y += kHelpLineHeight;
    }
    add(y, "F1        : Close this help");
    return lines;
}

TKeyAction CharKeyAction(char32_t key, TPlayerRole role) {
    if (role != TPlayerRole::ScreenSaver && role != TPlayerRole::ProjectPreview) return TKeyAction::None;
    switch (key) {
    case U'+':
    case U'=':
        return TKeyAction::SpeedUp;
    case U'-':
        return TKeyAction::SpeedDown;
    case U'S':
    case U's':
        return TKeyAction::Save;
    case U' ':
        return role == TPlayerRole::ScreenSaver ? TKeyAction::Skip : TKeyAction::None;
    case U'M':
    case U'm':
        return TKeyAction::ToggleSound;
    default:
        return TKeyAction::Close;
    }
}

void SpeedUp(ProjectData& project) {
    for (int i = 0; i < kAreaCount; ++i)
        if (project.LoadedSpeeds[static_cast<size_t>(i)] > 0) ++project.Area(i).Speed;
}

void SpeedDown(ProjectData& project) {
    for (int i = 0; i < kAreaCount; ++i)
        if (project.Area(i).Speed > 0) --project.Area(i).Speed;
}

bool TMouseGate::Move(int32_t x, int32_t y) {
    if (IgnoreMoves > 0) {
        --IgnoreMoves;
        return false;
    }
    const bool seen = LastX != -1 || LastY != -1;
    const bool moved = seen && (std::abs(x - LastX) > 2 || std::abs(y - LastY) > 2);
    LastX = x;
    LastY = y;
    return moved;
}

std::string ResolveSoundPath(std::string_view sound, std::string_view studioFolder) {
    const std::string name = sound.empty() ? std::string("Default.wav") : std::string(sound);
    if (storedPathHasFolder(name) && std::filesystem::exists(name)) return name;
    const std::filesystem::path sounds = findCaseInsensitive(std::string(studioFolder), "sounds");
    return findCaseInsensitive(sounds, storedFileName(name)).string();
}

std::optional<std::string> TSoundChooser::Choose(std::string_view sound, std::string_view studioFolder) {
    if (sound == TProject::kNoSound) {
        LastSound = sound;
        return std::nullopt;
    }
    const std::string file = ResolveSoundPath(sound, studioFolder);
    const bool start = file != LastSound;
    LastSound = file;
    if (!start) return std::nullopt;
    return file;
}

int32_t FadeSteps(uint32_t firstStepMs, int32_t frameRate) {
    const uint32_t cost = std::max<uint32_t>(firstStepMs, 1);
    int64_t steps = kFadeMilliseconds / cost;
    if (frameRate > 0) steps = std::min<int64_t>(steps, int64_t{kFadeMilliseconds} * frameRate / 1000);
    return static_cast<int32_t>(std::max<int64_t>(steps, 1));
}

int32_t FadeAlpha(int32_t step, int32_t steps) {
    return static_cast<int32_t>(nearest(245.0 * step / steps)) + kFadeFirstAlpha;
}

int32_t FadeStepDue(uint32_t elapsedMs, int32_t steps) {
    const int64_t due = static_cast<int64_t>(elapsedMs) * steps / kFadeMilliseconds;
    return static_cast<int32_t>(std::min<int64_t>(due, steps));
}

} // namespace lv
