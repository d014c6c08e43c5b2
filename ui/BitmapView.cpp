#include "ui/BitmapView.h"

#include "ui/BitmapImage.h"

#include <QPainter>

namespace lv::ui {

BitmapView::BitmapView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BitmapView::setBitmap(const Bitmap* bitmap, QPoint position) {
    bitmap_ = bitmap;
    position_ = position;
    update();
}

void BitmapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (bitmap_) painter.drawImage(position_, bitmapImage(*bitmap_));
}

} // namespace lv::ui
