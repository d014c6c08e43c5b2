#pragma once

// Small services of the application object that windows share: the screen size and the cursors.

#include <QSize>

class QWidget;

namespace lv::ui {

enum class CursorKind { Arrow, Hand, Hidden };

// Sets the cursor shown over a widget (Hidden shows none).
void setCursor(QWidget& widget, CursorKind kind);
// Hides or shows the cursor over the whole application (the player hides it while it runs).
void setApplicationCursorHidden(bool hidden);

// The primary screen's size in pixels; 800x600 under the offscreen platform unless configured.
QSize screenSize();

} // namespace lv::ui
