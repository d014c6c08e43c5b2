#include "studio/FScrSvr.h"

#include "engine/uGraphicUtil.h"
#include "engine/uResizer.h"
#include "platform/Dialogs.h"
#include "platform/ErrorLog.h"
#include "platform/Random.h"
#include "platform/Resample.h"
#include "platform/Sound.h"
#include "platform/Ticks.h"
#include "studio/FadeBlend.h"
#include "ui/Application.h"
#include "ui/BitmapImage.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QRegion>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace lv {

namespace {

int64_t microsNow() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class EffectSound : public TSoundOutput {
  public:
    void Play(const std::string& file) override { player_.play(file, true); }
    void Stop() override { player_.stop(); }

  private:
    EffectPlayer player_;
};

bool fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

constexpr uint32_t kNavy = 0x000080;
constexpr uint32_t kYellow = 0xFFFF00;

} // namespace

std::unique_ptr<TSoundOutput> MakeEffectSound() {
    return std::make_unique<EffectSound>();
}

TfmScrSvr::TfmScrSvr(TPlayerRole role, TPlayerSize screen, DialogService& dialogs,
                     std::unique_ptr<TSoundOutput> sound, QWidget* parent)
    : QWidget(parent), Tag(role), Screen(screen), RandomDraw(&lv::Random), Dialogs(dialogs),
      SoundOutput(std::move(sound)) {
    setWindowTitle(QStringLiteral("Lumivale Player"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    tmrZoom.setInterval(kZoomInterval);
    connect(&tmrZoom, &QTimer::timeout, this, &TfmScrSvr::tmrZoomTimer);
    tmrShowHelp.setInterval(3000);
    tmrShowHelp.setSingleShot(true);
    connect(&tmrShowHelp, &QTimer::timeout, this, &TfmScrSvr::tmrShowHelpTimer);
    tmrShowHelp.start();
}

TfmScrSvr::~TfmScrSvr() {
    if (Tag != TPlayerRole::Closed) DoClose();
}

void TfmScrSvr::SetPreview(const std::string& path, int32_t speedPercent, bool soundOn, bool proportional,
                           bool stretch) {
    CurrentPath = path;
    Settings.SpeedPercent = speedPercent;
    Settings.SoundOn = soundOn;
    Settings.Proportional = proportional;
    Settings.Stretch = stretch;
}

void TfmScrSvr::SetStudioProject(TProject& project, bool stretch) {
    Project = &project;
    Settings.Stretch = stretch;
}

bool TfmScrSvr::RefuseToStart() {
    Dialogs.show(MessageKind::Error, kNotConfigured);
    Tag = TPlayerRole::Closed; // nothing to free yet but what DoClose frees anyway
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    emit closed();
    return false;
}

bool TfmScrSvr::Start() {
    Started = true;
    HelpVisible = false;
    SkipRequested = false;
    ZoomAmount = 0;
    Randomize();
    Mouse.LastX = Mouse.LastY = -1;

    Config = std::make_unique<TConfig>();
    Playlist = BuildPlaylist(Config->ReadCatalogEntries());
    Settings.FrameRate = Config->ReadFrameRate();

    if (Tag == TPlayerRole::ScreenSaver) {
        if (Playlist.empty()) return RefuseToStart();
        Settings = ReadScreenSaverSettings(*Config);
        const auto first =
            FirstProject(Playlist, Settings.ChangeProjects, Config->ReadRun(), fileExists, RandomDraw);
        if (!first) return RefuseToStart();
        CurrentPath = *first;
    }
    if (Tag == TPlayerRole::StudioPreview) {
        Settings.SoundOn = Config->ReadSound();
        Settings.SpeedPercent = Config->ReadSpeed();
        Settings.ChangeProjects = false;
    }
    if (Tag != TPlayerRole::StudioPreview) {
        OwnedProject = std::make_unique<TProject>();
        Project = OwnedProject.get();
    }
    Generator = std::make_unique<TWaveGenerator>();

    try {
        LoadCurrentProject();
    } catch (const std::exception& error) {
        LogError(error.what()); // the loop goes on; a screensaver switches on at its time
    }
    StartTick = tickCount();

    IdleLoop.setFrameRate(Settings.FrameRate);
    Stats.LoopStartTick = tickCount();
    IdleLoop.start([this] { return Pass(); });
    if (Tag == TPlayerRole::ScreenSaver) ui::setApplicationCursorHidden(true);
    return true;
}

void TfmScrSvr::LoadCurrentProject() {
    Stage = '1';
    if (Tag != TPlayerRole::StudioPreview) Project->LoadFromFile(CurrentPath);
    Project->SetSpeed(Settings.SpeedPercent);
    Stage = '2';
    ShownWidth = Project->Picture.width();
    ShownHeight = Project->Picture.height();
    if (Settings.Stretch) {
        const TPlayerSize target = StretchTarget({ShownWidth, ShownHeight}, Screen, Settings.Proportional);
        FitProject(Settings.Proportional, *Project, target.Width, target.Height);
        ShownWidth = Project->Picture.width();
        ShownHeight = Project->Picture.height();
    }
    ui::makeOpaque(Project->Picture); // the frames copy whole words from it
    Stage = '3';
    Stage = '4';
    Generator->SetProject(*Project);
    Stage = '5';
    Generator->Prepare();
    Generator->SetWeather(Project->Weather.Kind > 0);
    if (Settings.SoundOn) PlayProjectSound();
}

void TfmScrSvr::PlayProjectSound() {
    if (!Project) return;
    if (const auto file = Sound.Choose(Project->Sound, StudioFolder())) SoundOutput->Play(*file);
}

bool TfmScrSvr::Pass() {
    if (Tag == TPlayerRole::Closed) return false;
    ++Stats.Passes;
    try {
        if (FadeActive) {
            FadeStep();
            return true;
        }
        if (Settings.ChangeProjects) {
            const int64_t elapsed = ElapsedSeconds(StartTick, tickCount());
            if (SwitchDue(Settings, elapsed, SkipRequested)) {
                SwitchProject();
                if (FadeActive) return true;
            } else if (!tmrZoom.isActive() && ZoomDue(Settings, elapsed)) {
                StartZoom();
            }
        }
        if (!tmrZoom.isActive() || Settings.LivingZoom) {
            Generator->NextFrame();
            // The overlay's particles are written without the fourth byte the screen wants.
            if (Generator->weatherOn() && Generator->weatherFrame())
                ui::makeOpaque(*Generator->weatherFrame());
        }
        Paint();
    } catch (const std::exception& error) {
        LogError(error.what());
    }
    return true;
}

void TfmScrSvr::StartZoom() {
    ZoomSource = Generator->FrameOnShow();
    ZoomAmount = 0;
    ZoomHAlign = RandomDraw(5);
    ZoomVAlign = RandomDraw(7);
    tmrZoom.start();
}

void TfmScrSvr::SwitchProject() {
    SkipRequested = false;
    tmrZoom.stop();
    // The old screen is taken before the load, which rewrites the frame the screen shows.
    if (Settings.Transition) ComposeScreen(FadeOld);
    CurrentPath = DrawNextProject(Playlist, CurrentPath, fileExists, RandomDraw);
    LoadCurrentProject(); // a failure leaves StartTick as it was: the next pass switches again
    if (Settings.Transition) {
        StartFade();
        return;
    }
    FadeActive = false;
    StartTick = tickCount();
    repaint();
}

void TfmScrSvr::StartFade() {
    FadeNew.setSize(Screen.Width, Screen.Height);
    FadeNew.fill(ui::kOpaqueBlack);
    const TPlayerPoint at =
        PicturePosition(Screen, {ShownWidth, ShownHeight}, Settings.Stretch, Settings.Proportional);
    FadeNew.draw(Project->Picture, at.X, at.Y);
    if (FadeCanvas.width() != Screen.Width || FadeCanvas.height() != Screen.Height)
        FadeCanvas.setSize(Screen.Width, Screen.Height);
    // The first step is measured with its showing, so that the step count fits the machine.
    const uint32_t before = tickCount();
    const int64_t micros = microsNow();
    FadeBlend(FadeCanvas.pixels(), FadeOld.pixels(), FadeNew.pixels(), kFadeFirstAlpha);
    FadeActive = true;
    repaint();
    ++Stats.FadeSteps;
    Stats.FadeStepMicros += microsNow() - micros;
    FadeStepCount = FadeSteps(ticksBetween(before, tickCount()), Settings.FrameRate);
    FadeShownStep = 0;
    FadeStartTick = tickCount();
}

void TfmScrSvr::FadeStep() {
    const int32_t due = FadeStepDue(ticksBetween(FadeStartTick, tickCount()), FadeStepCount);
    if (due > FadeShownStep) {
        FadeShownStep = due;
        const int64_t micros = microsNow();
        FadeBlend(FadeCanvas.pixels(), FadeOld.pixels(), FadeNew.pixels(), FadeAlpha(due, FadeStepCount));
        Stats.FadeBlendMicros += microsNow() - micros;
        repaint(); // a step is measured with its showing
        ++Stats.FadeSteps;
        Stats.FadeStepMicros += microsNow() - micros;
    }
    if (FadeShownStep >= FadeStepCount) {
        FadeActive = false;
        StartTick = tickCount();
        return;
    }
    // Sleep until the next step is due instead of spinning through empty passes.
    const int64_t nextDue = (static_cast<int64_t>(FadeShownStep) + 1) * kFadeMilliseconds / FadeStepCount;
    IdleLoop.deferNextPass(static_cast<int32_t>(nextDue - ticksBetween(FadeStartTick, tickCount())));
}

void TfmScrSvr::Paint() {
    if (HelpVisible && HelpDrawn(Tag)) DrawHelp();
    if (tmrZoom.isActive()) {
        if (Settings.LivingZoom) ZoomSource = Generator->FrameOnShow();
        const TPlayerSize size = ZoomFrameSize({ZoomSource.width(), ZoomSource.height()}, ZoomAmount);
        if (ZoomFrame.width() != size.Width || ZoomFrame.height() != size.Height)
            ZoomFrame.setSize(size.Width, size.Height);
        smoothResize(ZoomSource, ZoomFrame);
        ZoomPosition.X = ZoomPlace(ZoomHAlign, size.Width, Screen.Width);
        ZoomPosition.Y = ZoomPlace(ZoomVAlign, size.Height, Screen.Height);
    }
    update();
}

void TfmScrSvr::DrawHelp() {
    QImage target = ui::bitmapImage(Generator->output());
    if (target.isNull()) return;
    QPainter painter(&target);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(10);
    painter.setFont(font);
    // Measured on the image itself: its resolution, not the screen's, decides the text width.
    const QFontMetrics metrics = painter.fontMetrics();
    for (const THelpLine& line : HelpLines(Tag)) {
        const QString text = QString::fromLatin1(line.Text.data(), static_cast<qsizetype>(line.Text.size()));
        const QRect box(0, line.Y, metrics.horizontalAdvance(text), kHelpLineHeight);
        painter.fillRect(box, QColor::fromRgb(kNavy));
        painter.setPen(QColor::fromRgb(kYellow));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
}

const Bitmap* TfmScrSvr::ShownFrame() const {
    if (!Generator) return nullptr;
    if (tmrZoom.isActive() && !ZoomFrame.empty()) return &ZoomFrame;
    return &Generator->FrameOnShow();
}

TPlayerPoint TfmScrSvr::ShownPosition() const {
    if (tmrZoom.isActive() && !ZoomFrame.empty()) return ZoomPosition;
    return PicturePosition(Screen, {ShownWidth, ShownHeight}, Settings.Stretch, Settings.Proportional);
}

void TfmScrSvr::ComposeScreen(Bitmap& into) const {
    if (into.width() != Screen.Width || into.height() != Screen.Height)
        into.setSize(Screen.Width, Screen.Height);
    into.fill(ui::kOpaqueBlack);
    if (const Bitmap* frame = ShownFrame()) {
        const TPlayerPoint at = ShownPosition();
        into.draw(*frame, at.X, at.Y);
    }
}

void TfmScrSvr::paintEvent(QPaintEvent*) {
    ++Stats.Paints;
    if (Stats.FirstPaintMs < 0 && Stats.ProcessStartTick != 0 && Generator)
        Stats.FirstPaintMs = ticksBetween(Stats.ProcessStartTick, tickCount());
    QPainter painter(this);
    if (FadeActive) {
        painter.drawImage(0, 0, ui::bitmapImage(FadeCanvas));
        return;
    }
    const Bitmap* frame = ShownFrame();
    if (!frame || frame->empty()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    const TPlayerPoint at = ShownPosition();
    const QRect picture(at.X, at.Y, frame->width(), frame->height());
    for (const QRect& border : QRegion(rect()).subtracted(QRegion(picture)))
        painter.fillRect(border, Qt::black);
    painter.drawImage(at.X, at.Y, ui::bitmapImage(*frame));
}

void TfmScrSvr::CharKey(char32_t key) {
    switch (CharKeyAction(key, Tag)) {
    case TKeyAction::None:
        break;
    case TKeyAction::SpeedUp:
        SpeedUp(*Project);
        break;
    case TKeyAction::SpeedDown:
        SpeedDown(*Project);
        break;
    case TKeyAction::Save:
        try {
            Project->Save();
        } catch (const std::exception& error) {
            Dialogs.show(MessageKind::Error, error.what());
        }
        break;
    case TKeyAction::Skip:
        SkipRequested = true;
        break;
    case TKeyAction::ToggleSound:
        Settings.SoundOn = !Settings.SoundOn;
        if (!Settings.SoundOn) {
            SoundOutput->Stop();
        } else {
            Sound.Forget();
            PlayProjectSound();
        }
        break;
    case TKeyAction::Close:
        close();
        break;
    }
}

void TfmScrSvr::ToggleHelp() {
    HelpVisible = !HelpVisible;
    if (!HelpVisible && Generator) Generator->ResetOutput();
}

void TfmScrSvr::MouseMoved(int32_t x, int32_t y) {
    if (Mouse.Move(x, y)) close();
}

bool TfmScrSvr::CloseQuery() {
    Mouse.IgnoreNextMoves();
    // No password check on this platform: closing is allowed in every role.
    return true;
}

void TfmScrSvr::DoClose() {
    if (std::getenv("LV_PLAYER_STATS")) {
        const double seconds = std::max<uint32_t>(ticksBetween(Stats.LoopStartTick, tickCount()), 1) / 1000.0;
        std::fprintf(
            stderr,
            "player: %lld passes, %lld paints in %.1f s (%.1f passes/s), first frame %lld ms after start, "
            "%lld fade steps averaging %.3f ms (blend alone %.3f ms)\n",
            static_cast<long long>(Stats.Passes), static_cast<long long>(Stats.Paints), seconds,
            Stats.Passes / seconds, static_cast<long long>(Stats.FirstPaintMs),
            static_cast<long long>(Stats.FadeSteps),
            Stats.FadeSteps ? Stats.FadeStepMicros / 1000.0 / Stats.FadeSteps : 0.0,
            Stats.FadeSteps ? Stats.FadeBlendMicros / 1000.0 / Stats.FadeSteps : 0.0);
    }
    if (Tag == TPlayerRole::ScreenSaver && Settings.AutoWallpaper && Project && Project->Loaded) {
        try {
            SetWallpaper(Project->Picture, std::filesystem::path(StudioFolder()) / kWallpaperName);
        } catch (const std::exception& error) {
            LogError(error.what());
        }
    }
    ZoomSource = Bitmap();
    ZoomFrame = Bitmap();
    OwnedProject.reset();
    Project = nullptr;
    if (Tag == TPlayerRole::ScreenSaver) ui::setApplicationCursorHidden(false);
    if (SoundOutput) SoundOutput->Stop();
    Tag = TPlayerRole::Closed;
    tmrZoom.stop();
    IdleLoop.stop();
    FadeActive = false;
    Generator.reset();
    Playlist.clear();
    Config.reset();
    Sound.Forget();
    emit closed();
}

std::string TfmScrSvr::StudioFolder() const {
    return Config ? Config->ReadPath() : TConfig().ReadPath();
}

void TfmScrSvr::LogError(const std::string& message) const {
    writeErrorLog(StudioFolder(), Stage, CurrentPath, message);
}

void TfmScrSvr::tmrZoomTimer() {
    ZoomAmount += 1;
}

void TfmScrSvr::tmrShowHelpTimer() {
    tmrShowHelp.stop();
    if (Generator) Generator->ResetOutput();
}

void TfmScrSvr::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!Started) Start();
}

void TfmScrSvr::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        ToggleHelp();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty()) CharKey(text.toUcs4().value(0));
}

void TfmScrSvr::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    MouseMoved(at.x(), at.y());
}

void TfmScrSvr::mousePressEvent(QMouseEvent*) {
    close();
}

void TfmScrSvr::closeEvent(QCloseEvent* event) {
    if (Tag != TPlayerRole::Closed) {
        if (!CloseQuery()) {
            event->ignore();
            return;
        }
        DoClose();
    }
    event->accept();
}

namespace {

void showModally(TfmScrSvr& window) {
    QEventLoop loop;
    QObject::connect(&window, &TfmScrSvr::closed, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    window.setWindowModality(Qt::ApplicationModal);
    window.setGeometry(0, 0, window.Screen.Width, window.Screen.Height);
    window.showFullScreen();
    if (window.Tag != TPlayerRole::Closed) loop.exec();
}

TPlayerSize currentScreen() {
    const QSize size = ui::screenSize();
    return {size.width(), size.height()};
}

} // namespace

void ShowProjectPreview(const std::string& path, int32_t speedPercent, bool soundOn, bool proportional,
                        bool stretch, DialogService& dialogs) {
    TfmScrSvr window(TPlayerRole::ProjectPreview, currentScreen(), dialogs);
    window.SetPreview(path, speedPercent, soundOn, proportional, stretch);
    showModally(window);
}

void ShowStudioPreview(TProject& project, bool stretch, DialogService& dialogs) {
    TfmScrSvr window(TPlayerRole::StudioPreview, currentScreen(), dialogs);
    window.SetStudioProject(project, stretch);
    showModally(window);
}

} // namespace lv
