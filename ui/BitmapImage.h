#pragma once

// A QImage over a bitmap's own pixels (Format_RGB32 matches the 0xXXRRGGBB words), so that painting a
// frame costs no copy. The image is valid while the bitmap keeps its size and is not destroyed.
// Qt takes the fourth byte of Format_RGB32 to be 0xFF: some backing stores (xcb) show pixels whose
// fourth byte is 0 as black, so bitmaps meant for the screen are made opaque once (makeOpaque).

#include "platform/Bitmap.h"

#include <QImage>

namespace lv::ui {

// Read-only view for painting.
inline QImage bitmapImage(const Bitmap& bitmap) {
    if (bitmap.empty()) return {};
    return QImage(reinterpret_cast<const uchar*>(bitmap.pixels().data()), bitmap.width(), bitmap.height(),
                  static_cast<qsizetype>(bitmap.width()) * 4, QImage::Format_RGB32);
}

// Writable view for drawing onto the bitmap with a QPainter.
inline QImage bitmapImage(Bitmap& bitmap) {
    if (bitmap.empty()) return {};
    return QImage(reinterpret_cast<uchar*>(bitmap.pixels().data()), bitmap.width(), bitmap.height(),
                  static_cast<qsizetype>(bitmap.width()) * 4, QImage::Format_RGB32);
}

// Sets the fourth byte of every pixel to 0xFF (colours unchanged).
void makeOpaque(Bitmap& bitmap);
inline constexpr uint32_t kOpaqueBlack = 0xFF000000u;

} // namespace lv::ui
