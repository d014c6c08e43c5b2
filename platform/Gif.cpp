// GIF through giflib's record-level reader: only the first frame is decoded, row by row straight onto the
// canvas, so nothing is allocated for frames or sizes the stream merely names.

#include "platform/Picture.h"
#include "platform/PictureLimits.h"

#include <algorithm>
#include <cstring>
#include <gif_lib.h>
#include <memory>
#include <string>

namespace lv {
namespace {

// One 12-bit LZW code can stand for up to 4096 pixels.
constexpr int64_t kPixelsPerByte = 4096;

struct MemorySource {
    std::span<const uint8_t> bytes;
    size_t position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* target, int count) {
    auto* source = static_cast<MemorySource*>(gif->UserData);
    const size_t available = source->bytes.size() - source->position;
    const size_t n = std::min(available, static_cast<size_t>(std::max(count, 0)));
    if (n == 0) return 0;
    std::memcpy(target, source->bytes.data() + source->position, n);
    source->position += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void fail(int error) {
    const char* text = GifErrorString(error);
    throw PictureError(std::string("GIF: ") + (text ? text : "unknown error"));
}

uint32_t colourOf(const ColorMapObject* map, int index) {
    if (!map || index < 0 || index >= map->ColorCount) return 0;
    const GifColorType& c = map->Colors[index];
    return rgb(c.Red, c.Green, c.Blue);
}

// Skips extensions up to the first image, remembering the transparent colour of a graphic control block.
// Returns false when the stream ends without an image.
bool findFirstImage(GifFileType* gif, int& transparentIndex) {
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) fail(gif->Error);
        if (type == IMAGE_DESC_RECORD_TYPE) return true;
        if (type == TERMINATE_RECORD_TYPE) return false;
        if (type != EXTENSION_RECORD_TYPE) continue;
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) fail(gif->Error);
        if (code == GRAPHICS_EXT_FUNC_CODE && block) {
            GraphicsControlBlock control{};
            if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                transparentIndex = control.TransparentColor;
        }
        while (block)
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) fail(gif->Error);
    }
}

// Reads the frame's rows in stream order (interlaced frames come in four passes) and draws the opaque
// pixels that fall on the canvas.
void drawFrame(GifFileType* gif, Bitmap& canvas, int transparentIndex) {
    const GifImageDesc& frame = gif->Image;
    if (frame.Width <= 0 || frame.Height <= 0) return;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    std::vector<GifPixelType> line(static_cast<size_t>(frame.Width));

    constexpr int kPassStart[] = {0, 4, 2, 1}, kPassStep[] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = frame.Interlace ? kPassStart[pass] : 0,
                  step = frame.Interlace ? kPassStep[pass] : 1;
        for (int row = start; row < frame.Height; row += step) {
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) fail(gif->Error);
            const int64_t y = int64_t{frame.Top} + row;
            if (y < 0 || y >= canvas.height()) continue;
            uint32_t* target = canvas.row(static_cast<int32_t>(y));
            for (int x = 0; x < frame.Width; ++x) {
                const int64_t cx = int64_t{frame.Left} + x;
                if (cx >= canvas.width() || line[x] == transparentIndex) continue;
                target[cx] = colourOf(map, line[x]);
            }
        }
    }
}

} // namespace

Bitmap decodeGif(std::span<const uint8_t> gif) {
    MemorySource source{gif};
    int error = 0;
    const GifHandle file(DGifOpen(&source, readFromMemory, &error));
    if (!file) fail(error);

    int transparentIndex = NO_TRANSPARENT_COLOR;
    if (!findFirstImage(file.get(), transparentIndex)) throw PictureError("GIF file holds no picture");
    if (DGifGetImageDesc(file.get()) == GIF_ERROR) fail(file->Error);

    // A stream without a logical screen size shows its frame as it is.
    const GifImageDesc& frame = file->Image;
    int64_t width = file->SWidth, height = file->SHeight;
    if (width <= 0 || height <= 0) {
        width = int64_t{frame.Left} + frame.Width;
        height = int64_t{frame.Top} + frame.Height;
    }
    if (width <= 0 || height <= 0) throw PictureError("GIF picture is empty");
    picture::checkClaimedSize("GIF", width, height, gif.size(), kPixelsPerByte);

    Bitmap canvas(static_cast<int32_t>(width), static_cast<int32_t>(height));
    canvas.fill(colourOf(file->SColorMap, file->SBackGroundColor));
    drawFrame(file.get(), canvas, transparentIndex);
    return canvas;
}

} // namespace lv
