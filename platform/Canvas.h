#pragma once

// The few raster primitives the weather overlays draw with, following the classic GDI rules:
// a 1-pixel line includes its first pixel and leaves out its end point, ties between two pixels
// going to the upper one (x-major) or the left one (y-major); a filled ellipse covers its box less
// the right column and the bottom row. Everything is clipped to the bitmap.

#include "platform/Bitmap.h"

#include <cstdint>

namespace lv {

struct CanvasPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const CanvasPoint&) const = default;
};

class Canvas {
  public:
    explicit Canvas(Bitmap& target) : target_(target) {}

    // Colours are pixel words 0x00RRGGBB (lv::rgb).
    void setPenColor(uint32_t color) { pen_ = color; }
    void setBrushColor(uint32_t color) { brush_ = color; }

    void moveTo(int32_t x, int32_t y) { position_ = {x, y}; }
    // Draws from the pen position to (x, y) without (x, y) itself; the pen then rests at (x, y).
    void lineTo(int32_t x, int32_t y);
    CanvasPoint penPosition() const { return position_; }

    // An ellipse inscribed in the box [left, right) x [top, bottom): outline in the pen colour,
    // inside in the brush colour. An empty or inverted box draws nothing.
    void ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);

  private:
    void plot(int64_t x, int64_t y, uint32_t color) {
        if (x >= 0 && y >= 0 && x < target_.width() && y < target_.height())
            target_.row(static_cast<int32_t>(y))[x] = color;
    }

    Bitmap& target_;
    uint32_t pen_ = 0;
    uint32_t brush_ = 0xFFFFFF;
    CanvasPoint position_;
};

} // namespace lv
