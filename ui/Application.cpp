#include "ui/Application.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace lv::ui {

void setCursor(QWidget& widget, CursorKind kind) {
    switch (kind) {
    case CursorKind::Arrow:
        widget.setCursor(Qt::ArrowCursor);
        break;
    case CursorKind::Hand:
        widget.setCursor(Qt::PointingHandCursor);
        break;
    case CursorKind::Hidden:
        widget.setCursor(Qt::BlankCursor);
        break;
    }
}

void setApplicationCursorHidden(bool hidden) {
    if (hidden)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    else
        while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
}

QSize screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(800, 600);
}

} // namespace lv::ui
