#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lv {

// A 32-bit-per-pixel bitmap: each pixel is one word 0xXXRRGGBB, in memory B, G, R, X.
// The fourth byte is kept as written. Rows are stored top-down without padding.
class Bitmap {
  public:
    // Limits that keep hostile files from making us allocate what they merely claim.
    static constexpr int32_t kMaxSide = 32768;
    static constexpr int64_t kMaxPixels = int64_t{1} << 26; // 64 Mi pixels, 256 MiB

    Bitmap() = default;
    // A bitmap of the given size filled with 0 (black); throws lv::Error when the size is out of range.
    Bitmap(int32_t width, int32_t height);

    static bool validSize(int64_t width, int64_t height);

    // Takes a new size; the content becomes black (a fresh bitmap of that size).
    void setSize(int32_t width, int32_t height);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    uint32_t* row(int32_t y) { return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_); }
    const uint32_t* row(int32_t y) const {
        return pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
    }
    uint32_t& at(int32_t x, int32_t y) { return row(y)[x]; }
    uint32_t at(int32_t x, int32_t y) const { return row(y)[x]; }

    std::span<uint32_t> pixels() { return pixels_; }
    std::span<const uint32_t> pixels() const { return pixels_; }

    void fill(uint32_t value);
    // Copies source with its top-left corner at (x, y), clipped to this bitmap.
    void draw(const Bitmap& source, int32_t x = 0, int32_t y = 0);

    bool operator==(const Bitmap&) const = default;

  private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint32_t> pixels_;
};

// Pixel helpers for 0x00RRGGBB words.
constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return (r << 16) | (g << 8) | b;
}
constexpr uint32_t redOf(uint32_t p) {
    return (p >> 16) & 0xFF;
}
constexpr uint32_t greenOf(uint32_t p) {
    return (p >> 8) & 0xFF;
}
constexpr uint32_t blueOf(uint32_t p) {
    return p & 0xFF;
}

} // namespace lv
