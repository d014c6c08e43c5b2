// JPEG through libjpeg. libjpeg reports errors through a callback that must not return; it long-jumps
// back into the small guarded functions below, which hold no C++ objects that would need destroying.
// The C++ callers turn a failure into PictureError with libjpeg's own message.

#include "platform/Numeric.h"
#include "platform/Picture.h"
#include "platform/PictureLimits.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <string>

namespace lv {
namespace {

// Progressive streams can hold any number of scans, each one a full pass over the coefficients.
constexpr int kMaxScans = 500;
// A DCT block of 64 pixels can be carried by a few bits; 512 pixels per byte is well beyond real pictures.
constexpr int64_t kPixelsPerByte = 512;

struct ErrorManager {
    jpeg_error_mgr base{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void failWithLibjpegMessage(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

void limitScans(j_common_ptr info) {
    if (!info->is_decompressor) return;
    auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
    if (decoder->input_scan_number <= kMaxScans) return;
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::snprintf(errors->message, sizeof errors->message, "JPEG stream has more than %d scans", kMaxScans);
    std::longjmp(errors->jump, 1);
}

void installErrorManager(jpeg_common_struct& info, ErrorManager& errors) {
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = failWithLibjpegMessage;
    errors.base.output_message = ignoreMessage;
}

// ---- decoding ----

struct Decoder {
    jpeg_decompress_struct info{};
    ErrorManager errors;
    jpeg_progress_mgr progress{};
    bool created = false;

    Decoder() {
        installErrorManager(*reinterpret_cast<jpeg_common_struct*>(&info), errors);
        progress.progress_monitor = limitScans;
    }
    ~Decoder() {
        if (created) jpeg_destroy_decompress(&info);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    [[noreturn]] void fail() const { throw PictureError(errors.message); }
};

bool readHeader(Decoder& d, const uint8_t* data, size_t size) {
    if (setjmp(d.errors.jump)) return false;
    jpeg_create_decompress(&d.info);
    d.created = true;
    d.info.progress = &d.progress;
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.info, TRUE);
    return true;
}

// Chooses the output colour space: RGB from YCbCr and RGB, grey as it is, CMYK/YCCK as CMYK (we convert).
void chooseOutput(jpeg_decompress_struct& info) {
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info.out_color_space = JCS_CMYK;
        break;
    default:
        info.out_color_space = JCS_RGB;
        break;
    }
}

bool startDecompress(Decoder& d) {
    if (setjmp(d.errors.jump)) return false;
    jpeg_start_decompress(&d.info);
    return true;
}

// Ink values as libjpeg delivers them; files with an Adobe marker store them inverted (255 = no ink).
uint32_t cmykToPixel(const JSAMPLE* s, bool inverted) {
    const auto remaining = [inverted](JSAMPLE v) -> uint32_t { return inverted ? v : 255u - v; };
    const uint32_t k = remaining(s[3]);
    return rgb((remaining(s[0]) * k + 127) / 255, (remaining(s[1]) * k + 127) / 255,
               (remaining(s[2]) * k + 127) / 255);
}

void convertRow(const jpeg_decompress_struct& info, const JSAMPLE* source, uint32_t* target) {
    const JDIMENSION width = info.output_width;
    switch (info.out_color_space) {
    case JCS_GRAYSCALE:
        for (JDIMENSION x = 0; x < width; ++x) target[x] = rgb(source[x], source[x], source[x]);
        break;
    case JCS_CMYK:
        for (JDIMENSION x = 0; x < width; ++x) target[x] = cmykToPixel(source + 4 * x, info.saw_Adobe_marker);
        break;
    default:
        for (JDIMENSION x = 0; x < width; ++x, source += 3) target[x] = rgb(source[0], source[1], source[2]);
        break;
    }
}

bool readRows(Decoder& d, JSAMPLE* scanline, uint32_t* pixels) {
    if (setjmp(d.errors.jump)) return false;
    JSAMPROW rows[1] = {scanline};
    while (d.info.output_scanline < d.info.output_height) {
        const JDIMENSION y = d.info.output_scanline;
        if (jpeg_read_scanlines(&d.info, rows, 1) != 1) break;
        convertRow(d.info, scanline, pixels + static_cast<size_t>(y) * d.info.output_width);
    }
    // The rest of the stream is not needed; aborting skips reading it.
    jpeg_abort_decompress(&d.info);
    return true;
}

// ---- encoding ----

struct Encoder {
    jpeg_compress_struct info{};
    ErrorManager errors;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool created = false;

    Encoder() { installErrorManager(*reinterpret_cast<jpeg_common_struct*>(&info), errors); }
    ~Encoder() {
        if (created) jpeg_destroy_compress(&info);
        std::free(buffer);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

bool compress(Encoder& e, const Bitmap& bitmap, int quality, JSAMPLE* scanline) {
    if (setjmp(e.errors.jump)) return false;
    jpeg_create_compress(&e.info);
    e.created = true;
    jpeg_mem_dest(&e.info, &e.buffer, &e.size);
    e.info.image_width = static_cast<JDIMENSION>(bitmap.width());
    e.info.image_height = static_cast<JDIMENSION>(bitmap.height());
    e.info.input_components = 3;
    e.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e.info);
    jpeg_set_quality(&e.info, quality, TRUE);
    jpeg_start_compress(&e.info, TRUE);
    JSAMPROW rows[1] = {scanline};
    while (e.info.next_scanline < e.info.image_height) {
        const uint32_t* source = bitmap.row(static_cast<int32_t>(e.info.next_scanline));
        for (int32_t x = 0; x < bitmap.width(); ++x) {
            scanline[3 * x] = static_cast<JSAMPLE>(redOf(source[x]));
            scanline[3 * x + 1] = static_cast<JSAMPLE>(greenOf(source[x]));
            scanline[3 * x + 2] = static_cast<JSAMPLE>(blueOf(source[x]));
        }
        jpeg_write_scanlines(&e.info, rows, 1);
    }
    jpeg_finish_compress(&e.info);
    return true;
}

} // namespace

PictureSize peekJpegSize(std::span<const uint8_t> jpeg) {
    Decoder d;
    if (!readHeader(d, jpeg.data(), jpeg.size())) d.fail();
    return {static_cast<int32_t>(d.info.image_width), static_cast<int32_t>(d.info.image_height)};
}

Bitmap decodeJpeg(std::span<const uint8_t> jpeg) {
    Decoder d;
    if (!readHeader(d, jpeg.data(), jpeg.size())) d.fail();
    picture::checkClaimedSize("JPEG", d.info.image_width, d.info.image_height, jpeg.size(), kPixelsPerByte);
    chooseOutput(d.info);
    if (!startDecompress(d)) d.fail();

    Bitmap bitmap(static_cast<int32_t>(d.info.output_width), static_cast<int32_t>(d.info.output_height));
    std::vector<JSAMPLE> scanline(static_cast<size_t>(d.info.output_width) *
                                  static_cast<size_t>(d.info.output_components));
    if (!readRows(d, scanline.data(), bitmap.pixels().data())) d.fail();
    return bitmap;
}

std::vector<uint8_t> encodeJpeg(const Bitmap& bitmap, int quality) {
    if (bitmap.empty()) throw PictureError("Cannot encode an empty picture as JPEG");
    Encoder e;
    std::vector<JSAMPLE> scanline(static_cast<size_t>(bitmap.width()) * 3);
    if (!compress(e, bitmap, clampInt(quality, 1, 100), scanline.data()))
        throw PictureError(e.errors.message);
    return {e.buffer, e.buffer + e.size};
}

} // namespace lv
