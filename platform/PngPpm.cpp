// Output-only formats for tools: binary PPM and 8-bit RGB PNG (libpng's simplified writer, in memory).

#include "platform/Errors.h"
#include "platform/Picture.h"

#include <png.h>
#include <string>

namespace lv {
namespace {

std::vector<uint8_t> rgbBytes(const Bitmap& bitmap) {
    std::vector<uint8_t> bytes;
    bytes.reserve(bitmap.pixels().size() * 3);
    for (const uint32_t pixel : bitmap.pixels()) {
        bytes.push_back(static_cast<uint8_t>(redOf(pixel)));
        bytes.push_back(static_cast<uint8_t>(greenOf(pixel)));
        bytes.push_back(static_cast<uint8_t>(blueOf(pixel)));
    }
    return bytes;
}

} // namespace

std::vector<uint8_t> encodePpm(const Bitmap& bitmap) {
    const std::string header =
        "P6\n" + std::to_string(bitmap.width()) + " " + std::to_string(bitmap.height()) + "\n255\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    const std::vector<uint8_t> pixels = rgbBytes(bitmap);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<uint8_t> encodePng(const Bitmap& bitmap) {
    if (bitmap.empty()) throw PictureError("Cannot encode an empty picture as PNG");
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.width());
    image.height = static_cast<png_uint_32>(bitmap.height());
    image.format = PNG_FORMAT_RGB;
    const std::vector<uint8_t> pixels = rgbBytes(bitmap);

    // The compressed stream never exceeds this bound, so one pass writes it all.
    std::vector<uint8_t> out(PNG_IMAGE_PNG_SIZE_MAX(image));
    png_alloc_size_t size = out.size();
    const bool written = png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr);
    if (!written) {
        const std::string reason = image.message;
        png_image_free(&image);
        throw PictureError("PNG: " + reason);
    }
    out.resize(size);
    return out;
}

} // namespace lv
