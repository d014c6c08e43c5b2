#include "ui/BitmapImage.h"

namespace lv::ui {

void makeOpaque(Bitmap& bitmap) {
    for (uint32_t& pixel : bitmap.pixels()) pixel |= kOpaqueBlack;
}

} // namespace lv::ui
