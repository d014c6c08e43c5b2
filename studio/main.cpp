// LVStudio: chooses its role from the command line and its own name, then runs it.

#include "platform/Errors.h"
#include "platform/SingleInstance.h"
#include "platform/Ticks.h"
#include "studio/FScrSvr.h"
#include "studio/ProgramBody.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <filesystem>
#include <iostream>

namespace {

int runPlayer(int argc, char** argv, uint32_t processStart) {
    // A second player (or configuration dialog) started meanwhile ends at once.
    std::unique_ptr<lv::SingleInstanceGuard> guard;
    try {
        guard = lv::SingleInstanceGuard::acquire();
    } catch (const lv::Error&) {
    }
    if (!guard) return 0;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumivale Player"));
    QApplication::setQuitOnLastWindowClosed(true);
    lv::ui::QtDialogs dialogs;
    const QSize screen = lv::ui::screenSize();
    lv::TfmScrSvr player(lv::TPlayerRole::ScreenSaver, {screen.width(), screen.height()}, dialogs);
    player.Stats.ProcessStartTick = processStart;
    if (!player.Start()) return 0;
    // Without a window manager a full-screen request alone may leave a small window: set the geometry too.
    player.setGeometry(0, 0, screen.width(), screen.height());
    player.showFullScreen();
    player.activateWindow();
    player.raise();
    return application.exec();
}

} // namespace

int main(int argc, char** argv) {
    const uint32_t processStart = lv::tickCount();
    const std::string name = std::filesystem::path(argc > 0 ? argv[0] : "LVStudio").filename().string();
    const std::string first = argc > 1 ? argv[1] : "";
    if (lv::ChooseStudioStart(name, first) == lv::TStudioStart::Player)
        return runPlayer(argc, argv, processStart);
    std::cout << lv::StudioUsage();
    return 0;
}
