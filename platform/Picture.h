#pragma once

// Picture files and streams: load by extension, JPEG encode/decode, BMP, GIF, PNG and PPM output.
// Every decoder treats its input as hostile: sizes are checked before anything is allocated.

#include "platform/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace lv {

struct PictureSize {
    int32_t width = 0;
    int32_t height = 0;
};

// Loads a picture file by its extension (case-insensitive): .jpg/.jpeg, .bmp, .gif (first frame).
// Pixels read from files always have a fourth byte of 0.
// Throws PictureError("Unknown picture file extension (.ext)") for other extensions,
// IoError when the file cannot be read, PictureError when it does not decode.
Bitmap loadPicture(const std::filesystem::path& path);

// JPEG through libjpeg with its defaults (islow DCT, fancy upsampling).
PictureSize peekJpegSize(std::span<const uint8_t> jpeg);
Bitmap decodeJpeg(std::span<const uint8_t> jpeg);
// A baseline JPEG stream of the bitmap at the given quality (1..100).
std::vector<uint8_t> encodeJpeg(const Bitmap& bitmap, int quality);

// BMP: 1, 4, 8, 24 and 32 bits per pixel, bottom-up and top-down, uncompressed (and BI_BITFIELDS for 32).
Bitmap decodeBmp(std::span<const uint8_t> bmp);
// A 32-bit BMP (bottom-up); the fourth byte of every pixel is written as it is.
std::vector<uint8_t> encodeBmp(const Bitmap& bitmap);

// GIF through giflib: the first frame drawn over the logical screen's background.
Bitmap decodeGif(std::span<const uint8_t> gif);

// Output formats for tools: binary PPM (P6) and PNG (RGB, 8 bits per channel).
std::vector<uint8_t> encodePpm(const Bitmap& bitmap);
std::vector<uint8_t> encodePng(const Bitmap& bitmap);

// Writes the bitmap in the format its extension names (.bmp, .ppm, .png, .jpg/.jpeg at quality 90).
void savePicture(const Bitmap& bitmap, const std::filesystem::path& path);

} // namespace lv
