#pragma once

// A widget that shows a bitmap at a position over a black background, painting straight from the
// bitmap's memory. The bitmap is borrowed: whoever sets it keeps it alive and calls update() after
// changing its pixels.

#include "platform/Bitmap.h"

#include <QPoint>
#include <QWidget>

namespace lv::ui {

class BitmapView : public QWidget {
    Q_OBJECT
  public:
    explicit BitmapView(QWidget* parent = nullptr);

    void setBitmap(const Bitmap* bitmap, QPoint position = {});
    const Bitmap* bitmap() const { return bitmap_; }
    QPoint position() const { return position_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const Bitmap* bitmap_ = nullptr;
    QPoint position_;
};

} // namespace lv::ui
