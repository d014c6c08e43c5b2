#include "platform/Errors.h"
#include "platform/Picture.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <optional>

namespace lv {
namespace {

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::optional<int> transparent{};
    std::vector<uint32_t> localColours{};
    std::vector<uint8_t> indices{}; // row by row, top row first
};

struct GifPicture {
    int width = 0, height = 0, background = 0;
    std::vector<uint32_t> colours{}; // global colour table, 0x00RRGGBB
    std::vector<GifFrame> frames{};
};

int appendToVector(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + count);
    return count;
}

ColorMapObject* makeMap(const std::vector<uint32_t>& colours) {
    if (colours.empty()) return nullptr;
    std::vector<GifColorType> entries;
    for (const uint32_t c : colours)
        entries.push_back({GifByteType(redOf(c)), GifByteType(greenOf(c)), GifByteType(blueOf(c))});
    return GifMakeMapObject(static_cast<int>(entries.size()), entries.data());
}

// Rows in the order the stream holds them: four passes for an interlaced frame.
std::vector<int> rowOrder(const GifFrame& frame) {
    if (!frame.interlaced) {
        std::vector<int> rows(frame.height);
        for (int y = 0; y < frame.height; ++y) rows[y] = y;
        return rows;
    }
    std::vector<int> rows;
    for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
        for (int y = start; y < frame.height; y += step) rows.push_back(y);
    return rows;
}

// Encodes with giflib's writer (colour tables must have a power-of-two size).
std::vector<uint8_t> encodeGif(const GifPicture& picture) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendToVector, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = makeMap(picture.colours);
    EGifPutScreenDesc(gif, picture.width, picture.height, 8, picture.background, global);
    GifFreeMapObject(global);
    for (const GifFrame& frame : picture.frames) {
        if (frame.transparent) {
            GraphicsControlBlock control{};
            control.TransparentColor = *frame.transparent;
            GifByteType block[4];
            EGifGCBToExtension(&control, block);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block);
        }
        ColorMapObject* local = makeMap(frame.localColours);
        EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced, local);
        GifFreeMapObject(local);
        for (const int y : rowOrder(frame))
            EGifPutLine(gif, const_cast<GifPixelType*>(frame.indices.data() + y * frame.width), frame.width);
    }
    EGifCloseFile(gif, &error);
    return out;
}

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kGrey = 0x808080;

TEST(GifTest, FirstFrameIsDrawnAtItsOffsetOverTheBackground) {
    GifPicture picture{.width = 4, .height = 3, .background = 3, .colours = {kRed, kGreen, kBlue, kGrey}};
    picture.frames.push_back(
        {.left = 1, .top = 1, .width = 2, .height = 2, .transparent = 2, .indices = {0, 1, 2, 0}});
    picture.frames.push_back({.width = 4, .height = 3, .indices = std::vector<uint8_t>(12, 1)}); // not shown
    const Bitmap decoded = decodeGif(encodeGif(picture));
    ASSERT_EQ(decoded.width(), 4);
    ASSERT_EQ(decoded.height(), 3);
    const uint32_t expected[] = {kGrey,  kGrey, kGrey, kGrey, kGrey, kRed,
                                 kGreen, kGrey, kGrey, kGrey, kRed,  kGrey};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(decoded.pixels()[i], expected[i]) << i;
}

TEST(GifTest, InterlacedRowsLandInPlace) {
    std::vector<uint32_t> colours(16);
    for (uint32_t i = 0; i < 16; ++i) colours[i] = rgb(i * 16, 0, 255 - i * 16);
    GifFrame frame{.width = 2, .height = 11, .interlaced = true};
    for (uint8_t y = 0; y < 11; ++y) frame.indices.insert(frame.indices.end(), {y, y});
    const Bitmap decoded =
        decodeGif(encodeGif({.width = 2, .height = 11, .colours = colours, .frames = {frame}}));
    for (int y = 0; y < 11; ++y) EXPECT_EQ(decoded.at(1, y), colours[y]) << y;
}

TEST(GifTest, LocalColourTableWinsAndFrameIsClippedToTheScreen) {
    GifPicture picture{.width = 2, .height = 2, .colours = {kRed, kGreen}};
    picture.frames.push_back({.left = 1,
                              .top = 0,
                              .width = 2,
                              .height = 3,
                              .localColours = {kBlue, kGrey},
                              .indices = {0, 1, 1, 0, 0, 0}});
    const Bitmap decoded = decodeGif(encodeGif(picture));
    EXPECT_EQ(decoded.at(0, 0), kRed); // background: global colour 0
    EXPECT_EQ(decoded.at(1, 0), kBlue);
    EXPECT_EQ(decoded.at(1, 1), kGrey);
}

struct MalformedGif {
    const char* name;
    std::vector<uint8_t> (*make)();
};

std::vector<uint8_t> smallGif() {
    GifPicture picture{.width = 3, .height = 2, .colours = {kRed, kGreen}};
    picture.frames.push_back({.width = 3, .height = 2, .indices = {0, 1, 0, 1, 0, 1}});
    return encodeGif(picture);
}

const MalformedGif kMalformedGifs[] = {
    {"Empty", [] { return std::vector<uint8_t>{}; }},
    {"NotAGif", [] { return std::vector<uint8_t>{'G', 'I', 'X', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}; }},
    {"TruncatedScreenDescriptor",
     [] {
         auto g = smallGif();
         g.resize(9);
         return g;
     }},
    {"NoFrame",
     [] {
         return encodeGif({.width = 3, .height = 2, .colours = {kRed, kGreen}});
     }},
    {"TruncatedPixels",
     [] {
         auto g = smallGif();
         g.resize(g.size() - 6);
         return g;
     }},
    {"ScreenFarLargerThanData",
     [] {
         return encodeGif({.width = 30000,
                           .height = 2000,
                           .colours = {kRed, kGreen},
                           .frames = {{.width = 1, .height = 1, .indices = {0}}}});
     }},
    {"ScreenBeyondBitmapLimits",
     [] {
         return encodeGif({.width = 65535,
                           .height = 65535,
                           .colours = {kRed, kGreen},
                           .frames = {{.width = 1, .height = 1, .indices = {0}}}});
     }},
    {"NothingToShow",
     [] {
         return encodeGif({.colours = {kRed, kGreen}, .frames = {{}}});
     }},
};

class MalformedGifTest : public ::testing::TestWithParam<MalformedGif> {};

TEST_P(MalformedGifTest, ThrowsPictureError) {
    const std::vector<uint8_t> bytes = GetParam().make();
    EXPECT_THROW(decodeGif(bytes), PictureError);
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedGifTest, ::testing::ValuesIn(kMalformedGifs),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace lv
