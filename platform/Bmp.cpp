// BMP reader and writer. Every field is read byte by byte and every offset and size is checked against the
// buffer before it is used or anything is allocated.

#include "platform/Errors.h"
#include "platform/Picture.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <string>

namespace lv {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestHeaderSize = 124; // BITMAPV5HEADER
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

[[noreturn]] void fail(const std::string& what) {
    throw PictureError(what);
}

class Reader {
  public:
    explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint32_t u8(size_t offset) const {
        need(offset, 1);
        return bytes_[offset];
    }
    uint32_t u16(size_t offset) const {
        need(offset, 2);
        return bytes_[offset] | bytes_[offset + 1] << 8;
    }
    uint32_t u32(size_t offset) const {
        need(offset, 4);
        return bytes_[offset] | bytes_[offset + 1] << 8 | bytes_[offset + 2] << 16 |
               static_cast<uint32_t>(bytes_[offset + 3]) << 24;
    }
    int32_t i32(size_t offset) const { return static_cast<int32_t>(u32(offset)); }
    bool has(uint64_t offset, uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

  private:
    void need(size_t offset, size_t count) const {
        if (!has(offset, count)) fail("BMP file is truncated");
    }
    std::span<const uint8_t> bytes_;
};

// One colour channel of a 16- or 32-bit pixel, given by its bit mask.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t maximum = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        maximum = mask >> shift;
    }
    uint32_t eightBits(uint32_t pixel) const {
        if (maximum == 0) return 0;
        const uint32_t value = (pixel & mask) >> shift;
        if (maximum >= 255) return value >> (std::bit_width(maximum) - 8);
        return (value * 255 + maximum / 2) / maximum;
    }
};

struct Header {
    int64_t width = 0;
    int64_t height = 0; // rows, always positive
    bool topDown = false;
    uint32_t bitsPerPixel = 0;
    uint32_t compression = kBiRgb;
    uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    size_t paletteOffset = 0;
    size_t paletteEntrySize = 4;
    uint32_t colorsUsed = 0;
    uint32_t pixelOffset = 0;
};

void readCoreHeader(const Reader& in, Header& h) {
    h.width = in.u16(18);
    h.height = in.u16(20);
    if (in.u16(22) != 1) fail("BMP header is not valid (planes must be 1)");
    h.bitsPerPixel = in.u16(24);
    h.paletteEntrySize = 3;
    h.paletteOffset = kFileHeaderSize + kCoreHeaderSize;
}

void readInfoHeader(const Reader& in, uint32_t headerSize, Header& h) {
    h.width = in.i32(18);
    const int64_t height = in.i32(22);
    h.topDown = height < 0;
    h.height = std::abs(height);
    if (in.u16(26) != 1) fail("BMP header is not valid (planes must be 1)");
    h.bitsPerPixel = in.u16(28);
    h.compression = in.u32(30);
    h.colorsUsed = in.u32(46);
    h.paletteOffset = kFileHeaderSize + headerSize;
    if (h.compression == kBiBitfields) {
        // Masks follow a plain info header; larger headers hold them.
        const size_t at = kFileHeaderSize + kInfoHeaderSize;
        for (size_t i = 0; i < 3; ++i) h.masks[i] = in.u32(at + 4 * i);
        if (headerSize == kInfoHeaderSize) h.paletteOffset += 12;
    } else if (h.bitsPerPixel == 16) {
        h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F;
    }
}

void checkFormat(const Header& h) {
    const uint32_t bpp = h.bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        fail("BMP bit depth " + std::to_string(bpp) + " is not supported");
    const bool bitfieldsFit = h.compression == kBiBitfields && (bpp == 16 || bpp == 32);
    if (h.compression != kBiRgb && !bitfieldsFit)
        fail("BMP compression " + std::to_string(h.compression) + " is not supported");
    if (h.width <= 0 || h.height <= 0 || !Bitmap::validSize(h.width, h.height))
        fail("BMP picture size " + std::to_string(h.width) + " x " + std::to_string(h.height) +
             " is not valid");
}

Header readHeader(const Reader& in) {
    if (in.u16(0) != ('B' | 'M' << 8)) fail("Not a BMP file");
    Header h;
    h.pixelOffset = in.u32(10);
    const uint32_t headerSize = in.u32(kFileHeaderSize);
    if (headerSize == kCoreHeaderSize)
        readCoreHeader(in, h);
    else if (headerSize >= kInfoHeaderSize && headerSize <= kLargestHeaderSize)
        readInfoHeader(in, headerSize, h);
    else
        fail("BMP header size " + std::to_string(headerSize) + " is not supported");
    if (!in.has(kFileHeaderSize, headerSize)) fail("BMP file is truncated");
    checkFormat(h);
    return h;
}

std::vector<uint32_t> readPalette(const Reader& in, const Header& h) {
    if (h.bitsPerPixel > 8) return {};
    const uint32_t full = uint32_t{1} << h.bitsPerPixel;
    uint32_t count = h.colorsUsed == 0 || h.colorsUsed > full ? full : h.colorsUsed;
    // The old core header has no count: its table fills the room before the pixels.
    if (h.paletteEntrySize == 3 && h.pixelOffset > h.paletteOffset)
        count = std::min<uint64_t>(count, (h.pixelOffset - h.paletteOffset) / h.paletteEntrySize);
    if (!in.has(h.paletteOffset, uint64_t{count} * h.paletteEntrySize)) fail("BMP colour table is truncated");
    std::vector<uint32_t> palette(full, 0); // indices past the table read as black
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = h.paletteOffset + i * h.paletteEntrySize;
        palette[i] = rgb(in.u8(at + 2), in.u8(at + 1), in.u8(at)); // stored B, G, R (, reserved)
    }
    return palette;
}

void decodeIndexedRow(const uint8_t* source, uint32_t bpp, const std::vector<uint32_t>& palette,
                      uint32_t* target, int32_t width) {
    const uint32_t perByte = 8 / bpp, mask = (1u << bpp) - 1;
    for (int32_t x = 0; x < width; ++x) {
        const uint32_t slot = static_cast<uint32_t>(x) % perByte;
        const uint32_t index = (source[x / perByte] >> (8 - bpp * (slot + 1))) & mask;
        target[x] = palette[index];
    }
}

void decodeMaskedRow(const uint8_t* source, const Header& h, uint32_t* target, int32_t width) {
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
    const size_t bytes = h.bitsPerPixel / 8;
    for (int32_t x = 0; x < width; ++x, source += bytes) {
        uint32_t value = source[0] | source[1] << 8;
        if (bytes == 4) value |= source[2] << 16 | static_cast<uint32_t>(source[3]) << 24;
        target[x] = rgb(red.eightBits(value), green.eightBits(value), blue.eightBits(value));
    }
}

void decodeRow(const uint8_t* source, const Header& h, const std::vector<uint32_t>& palette, uint32_t* target,
               int32_t width) {
    if (h.bitsPerPixel <= 8) return decodeIndexedRow(source, h.bitsPerPixel, palette, target, width);
    if (h.bitsPerPixel == 24) {
        for (int32_t x = 0; x < width; ++x, source += 3) target[x] = rgb(source[2], source[1], source[0]);
        return;
    }
    decodeMaskedRow(source, h, target, width);
}

void putU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void putU32(std::vector<uint8_t>& out, uint32_t v) {
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}

} // namespace

Bitmap decodeBmp(std::span<const uint8_t> bmp) {
    const Reader in(bmp);
    const Header h = readHeader(in);
    const std::vector<uint32_t> palette = readPalette(in, h);

    const uint64_t rowBits = static_cast<uint64_t>(h.width) * h.bitsPerPixel;
    const uint64_t stride = (rowBits + 31) / 32 * 4;
    // The last row needs only its own bytes, not its padding.
    const uint64_t needed = stride * static_cast<uint64_t>(h.height - 1) + (rowBits + 7) / 8;
    const uint64_t offset =
        h.pixelOffset != 0 ? h.pixelOffset : h.paletteOffset + palette.size() * h.paletteEntrySize;
    if (!in.has(offset, needed)) fail("BMP pixel data is truncated");

    Bitmap bitmap(static_cast<int32_t>(h.width), static_cast<int32_t>(h.height));
    for (int32_t y = 0; y < bitmap.height(); ++y) {
        const int32_t fileRow = h.topDown ? y : bitmap.height() - 1 - y;
        const uint8_t* source = bmp.data() + offset + static_cast<uint64_t>(fileRow) * stride;
        decodeRow(source, h, palette, bitmap.row(y), bitmap.width());
    }
    return bitmap;
}

std::vector<uint8_t> encodeBmp(const Bitmap& bitmap) {
    if (bitmap.empty()) throw PictureError("Cannot encode an empty picture as BMP");
    const uint32_t headers = kFileHeaderSize + kInfoHeaderSize;
    const uint32_t pixelBytes = static_cast<uint32_t>(bitmap.pixels().size() * 4);
    std::vector<uint8_t> out;
    out.reserve(headers + pixelBytes);
    putU16(out, 'B' | 'M' << 8);
    putU32(out, headers + pixelBytes);
    putU32(out, 0);
    putU32(out, headers);
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<uint32_t>(bitmap.width()));
    putU32(out, static_cast<uint32_t>(bitmap.height())); // positive: bottom-up
    putU16(out, 1);
    putU16(out, 32);
    putU32(out, kBiRgb);
    putU32(out, pixelBytes);
    putU32(out, 2835); // 72 dots per inch
    putU32(out, 2835);
    putU32(out, 0);
    putU32(out, 0);
    for (int32_t y = bitmap.height() - 1; y >= 0; --y)
        for (const uint32_t pixel : std::span(bitmap.row(y), static_cast<size_t>(bitmap.width())))
            putU32(out, pixel);
    return out;
}

} // namespace lv
