#pragma once

// Picture utilities the players and editors share: shading colours and button pictures, resizing into
// a bitmap, and making a picture the desktop wallpaper.
//
// Colour values: Shade, TintBitmap's colour and the system-colour table take and give Windows colour
// values (TColor), 0x00BBGGRR, where 0x80000000 | n names system colour n (n as COLOR_BTNFACE = 15).
// Bitmap pixels are 0xXXRRGGBB words (platform/Bitmap.h); TintBitmap converts between the two.

#include "platform/Bitmap.h"

#include <cstdint>
#include <filesystem>

namespace lv {

using TColor = uint32_t;

inline constexpr TColor kSystemColorFlag = 0x80000000u;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;

// The plain 0x00BBGGRR value of a colour: system colours become their current values.
TColor ColorToRGB(TColor color);
// Sets the current value of system colour index (0..30) (the GUI layer copies its palette here).
void SetSystemColor(int index, TColor value);

// Pixel word 0x00RRGGBB <-> colour value 0x00BBGGRR (the fourth byte of a pixel is dropped).
constexpr TColor pixelToColor(uint32_t pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}
constexpr uint32_t colorToPixel(TColor color) {
    return pixelToColor(color & 0x00FFFFFF);
}

// For each channel, a of colour1 and b of colour2: b - (percent * (255 - a)) div 100, clamped to 0..255.
// White as colour1 gives colour2; otherwise colour2 darkens by percent of colour1's distance from white.
TColor Shade(TColor color1, TColor color2, int32_t percent);

// Every pixel that differs from the bottom-left pixel (the transparent key) becomes
// Shade(color, pixel, percent) with a fourth byte of 0; key pixels stay as they are.
void TintBitmap(Bitmap& bitmap, TColor color, int32_t percent);

// Smooth-resizes source (as a 24-bit picture: fourth bytes become 0) to target's current size and draws
// it into target at (0, 0); target keeps its size. Nothing happens when either is empty.
void SmoothResizeInto(const Bitmap& source, Bitmap& target);

// Saves the bitmap as a BMP file at path (replacing it atomically; throws IoError when it cannot),
// records "TileWallpaper" = "0" when the desktop key of the registry stand-in exists, then asks the
// desktop to show the file: GNOME/Cinnamon/MATE through gsettings, XFCE through xfconf-query, else the
// program named by $LUMIVALE_WALLPAPER_COMMAND with the path as its one argument. Helpers are started
// without a shell and waited for. Returns whether a desktop took the picture; no desktop is no error.
bool SetWallpaper(const Bitmap& bitmap, const std::filesystem::path& path);

} // namespace lv
