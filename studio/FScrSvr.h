#pragma once

// TfmScrSvr: the full-screen window that plays water projects, in three roles (its Tag): the
// screensaver that cycles through the catalog, the single-project preview of the configuration dialog,
// and the studio's full preview of a project it already holds. The decisions live in ScrSvrLogic; this
// class holds the state, drives the frame loop and paints.

#include "engine/WaveGenerator.h"
#include "formats/uConfig.h"
#include "formats/uLVProject.h"
#include "platform/Bitmap.h"
#include "studio/ScrSvrLogic.h"
#include "ui/IdleLoop.h"

#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace lv {

class DialogService;

// Where the player's sounds go; the real one plays through platform/Sound, tests record.
class TSoundOutput {
  public:
    virtual ~TSoundOutput() = default;
    virtual void Play(const std::string& file) = 0; // asynchronous, looping; a missing file is silence
    virtual void Stop() = 0;
};
std::unique_ptr<TSoundOutput> MakeEffectSound();

class TfmScrSvr : public QWidget {
    Q_OBJECT
  public:
    inline static const std::string kNotConfigured = "Unable to start Lumivale Player.\r\nPlease configure!";
    inline static const std::string kWallpaperName = "LVWallpaper.bmp";

    TfmScrSvr(TPlayerRole role, TPlayerSize screen, DialogService& dialogs,
              std::unique_ptr<TSoundOutput> sound = MakeEffectSound(), QWidget* parent = nullptr);
    ~TfmScrSvr() override;

    // Role 1: the project file and the settings the caller gives. Call before Start.
    void SetPreview(const std::string& path, int32_t speedPercent, bool soundOn, bool proportional,
                    bool stretch);
    // Role 2: the caller's project (not freed here) and its stretch setting. Call before Start.
    void SetStudioProject(TProject& project, bool stretch);

    // The Show algorithm: settings, playlist, first project, load, frame loop. Runs by itself when the
    // window is first shown; false when the player could not start (and has closed itself).
    bool Start();
    // One pass of the frame loop; false once the window is closed.
    bool Pass();
    void SwitchProject();
    void LoadCurrentProject();
    void PlayProjectSound();

    // Input, as the window's event handlers pass it on.
    void CharKey(char32_t key);
    void ToggleHelp();
    void MouseMoved(int32_t x, int32_t y);
    // The close query (true: closing is allowed) and the close itself.
    bool CloseQuery();
    void DoClose();

    // The frame the window shows now and where (the zoom frame while zooming).
    const Bitmap* ShownFrame() const;
    TPlayerPoint ShownPosition() const;
    // The whole screen as painted now, black around the picture.
    void ComposeScreen(Bitmap& into) const;
    bool Zooming() const { return tmrZoom.isActive(); }
    bool Fading() const { return FadeActive; }

    // State (the documented fields).
    TPlayerRole Tag;
    TPlayerSize Screen;
    TPlayerSettings Settings;
    std::unique_ptr<TWaveGenerator> Generator;
    TProject* Project = nullptr;
    std::unique_ptr<TConfig> Config;
    std::vector<std::string> Playlist;
    std::string CurrentPath;
    int32_t ShownWidth = 0;
    int32_t ShownHeight = 0;
    Bitmap ZoomSource;
    Bitmap ZoomFrame;
    uint32_t StartTick = 0;
    bool SkipRequested = false;
    bool HelpVisible = false;
    double ZoomAmount = 0;
    int32_t ZoomHAlign = 0;
    int32_t ZoomVAlign = 0;
    TSoundChooser Sound;
    char Stage = '0';
    TMouseGate Mouse;
    QTimer tmrZoom;
    QTimer tmrShowHelp;
    TRandomDraw RandomDraw; // lv::Random unless a test scripts the draws

    // Figures for measuring (printed on close when $LV_PLAYER_STATS is set): passes, frames painted,
    // fade steps and their cost, and the tick the process started at (for the time to the first frame).
    struct TStats {
        uint32_t ProcessStartTick = 0;
        int64_t Passes = 0;
        int64_t Paints = 0;
        int64_t FadeSteps = 0;
        int64_t FadeStepMicros = 0;
        int64_t FadeBlendMicros = 0;
        int64_t FirstPaintMs = -1;
        uint32_t LoopStartTick = 0;
    } Stats;

  signals:
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void tmrZoomTimer();
    void tmrShowHelpTimer();
    bool RefuseToStart();
    void StartZoom();
    void Paint();
    void DrawHelp();
    std::string StudioFolder() const;
    void LogError(const std::string& message) const;
    void StartFade();
    void FadeStep();

    DialogService& Dialogs;
    std::unique_ptr<TSoundOutput> SoundOutput;
    std::unique_ptr<TProject> OwnedProject;
    ui::IdleLoop IdleLoop;
    bool Started = false;
    TPlayerPoint ZoomPosition;

    // The fade: the old screen, the new one, and the blend shown, with its step plan.
    bool FadeActive = false;
    Bitmap FadeOld;
    Bitmap FadeNew;
    Bitmap FadeCanvas;
    int32_t FadeStepCount = 0;
    int32_t FadeShownStep = 0;
    uint32_t FadeStartTick = 0;
};

// The configuration dialog's single-project preview and the studio's full preview: each shows the
// window full screen and returns when it closes.
void ShowProjectPreview(const std::string& path, int32_t speedPercent, bool soundOn, bool proportional,
                        bool stretch, DialogService& dialogs);
void ShowStudioPreview(TProject& project, bool stretch, DialogService& dialogs);

} // namespace lv
