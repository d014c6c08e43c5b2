#include "platform/Errors.h"
#include "platform/Picture.h"
#include "platform/PictureTestSupport.h"

#include <gtest/gtest.h>

namespace lv {
namespace {

void putU16(std::vector<uint8_t>& out, uint32_t v) {
    out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
}
void putU32(std::vector<uint8_t>& out, uint32_t v) {
    out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
}
void patchU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A BMP file written field by field; rows are given top row first, already padded.
struct BmpFile {
    uint32_t headerSize = 40;
    int32_t width = 3;
    int32_t rows = 2;
    bool topDown = false;
    uint32_t bitsPerPixel = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> masks{};   // written after the 40-byte header, or inside larger ones
    std::vector<uint32_t> palette{}; // 0x00RRGGBB
    std::vector<std::vector<uint8_t>> pixelRows{};

    std::vector<uint8_t> build() const {
        const bool core = headerSize == 12;
        const size_t entry = core ? 3 : 4;
        const size_t masksAfterHeader = headerSize == 40 ? masks.size() * 4 : 0;
        const uint32_t offset =
            static_cast<uint32_t>(14 + headerSize + masksAfterHeader + palette.size() * entry);
        std::vector<uint8_t> out;
        putU16(out, 'B' | 'M' << 8);
        putU32(out, 0);
        putU32(out, 0);
        putU32(out, offset);
        putU32(out, headerSize);
        if (core) {
            putU16(out, width), putU16(out, rows), putU16(out, 1), putU16(out, bitsPerPixel);
        } else {
            putU32(out, width), putU32(out, topDown ? -rows : rows), putU16(out, 1),
                putU16(out, bitsPerPixel);
            putU32(out, compression), putU32(out, 0), putU32(out, 2835), putU32(out, 2835);
            putU32(out, static_cast<uint32_t>(palette.size())), putU32(out, 0);
            for (const uint32_t m : masks) putU32(out, m);
            out.resize(14 + headerSize + masksAfterHeader, 0);
        }
        for (const uint32_t c : palette) {
            out.insert(out.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
            if (!core) out.push_back(0);
        }
        for (size_t i = 0; i < pixelRows.size(); ++i) {
            const auto& row = pixelRows[topDown ? i : pixelRows.size() - 1 - i];
            out.insert(out.end(), row.begin(), row.end());
        }
        return out;
    }
};

Bitmap bitmapOf(int32_t width, std::initializer_list<uint32_t> pixels) {
    Bitmap bitmap(width, static_cast<int32_t>(pixels.size()) / width);
    std::copy(pixels.begin(), pixels.end(), bitmap.pixels().begin());
    return bitmap;
}

constexpr uint32_t kA = 0x112233, kB = 0x445566, kC = 0x778899, kD = 0xAABBCC;

struct DepthCase {
    const char* name;
    BmpFile file;
    Bitmap expected;
};

std::vector<DepthCase> depthCases() {
    std::vector<DepthCase> cases;
    auto add = [&](const char* name, BmpFile file, Bitmap expected) {
        cases.push_back({name, file, expected});
    };
    // 3 x 2 pictures; each row holds its pixels, then zero padding up to 4 bytes.
    add("Bits1", {.bitsPerPixel = 1, .palette = {kA, kB}, .pixelRows = {{0xA0, 0, 0, 0}, {0x60, 0, 0, 0}}},
        bitmapOf(3, {kB, kA, kB, kA, kB, kB}));
    add("Bits4",
        {.bitsPerPixel = 4,
         .palette = {kA, kB, kC, kD},
         .pixelRows = {{0x12, 0x30, 0, 0}, {0x30, 0x20, 0, 0}}},
        bitmapOf(3, {kB, kC, kD, kD, kA, kC}));
    // Index 7 lies past the 4-entry table and reads as black.
    add("Bits8", {.bitsPerPixel = 8, .palette = {kA, kB, kC, kD}, .pixelRows = {{1, 2, 3, 0}, {3, 7, 2, 0}}},
        bitmapOf(3, {kB, kC, kD, kD, 0, kC}));
    add("Bits16Rgb555",
        {.bitsPerPixel = 16,
         .pixelRows = {{0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0},
                       {0xFF, 0x7F, 0x00, 0x00, 0x10, 0x42, 0, 0}}},
        bitmapOf(3, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x848484}));
    add("Bits16Bitfields565",
        {.bitsPerPixel = 16,
         .compression = 3,
         .masks = {0xF800, 0x07E0, 0x001F},
         .pixelRows = {{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}}},
        bitmapOf(3, {0xFF0000, 0x00FF00, 0x0000FF, 0, 0, 0}));
    add("Bits24",
        {.pixelRows = {{0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77, 0, 0, 0},
                       {0xCC, 0xBB, 0xAA, 0, 0, 0, 1, 2, 3, 0, 0, 0}}},
        bitmapOf(3, {kA, kB, kC, kD, 0, 0x030201}));
    // The fourth byte is dropped: pictures read from files have a fourth byte of 0.
    add("Bits32",
        {.bitsPerPixel = 32,
         .pixelRows = {{0x33, 0x22, 0x11, 0xFF, 0x66, 0x55, 0x44, 0x80, 0x99, 0x88, 0x77, 0x01},
                       {0xCC, 0xBB, 0xAA, 0xFF, 0, 0, 0, 0xFF, 1, 2, 3, 4}}},
        bitmapOf(3, {kA, kB, kC, kD, 0, 0x030201}));
    // Masks for bytes stored X, B, G, R.
    add("Bits32Bitfields",
        {.bitsPerPixel = 32,
         .compression = 3,
         .masks = {0xFF000000, 0x00FF0000, 0x0000FF00},
         .pixelRows = {{0xFF, 0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 7, 0x99, 0x88, 0x77},
                       {0, 0xCC, 0xBB, 0xAA, 0, 0, 0, 0, 0, 1, 2, 3}}},
        bitmapOf(3, {kA, kB, kC, kD, 0, 0x030201}));
    add("Bits32V5HeaderMasks",
        {.headerSize = 124,
         .bitsPerPixel = 32,
         .compression = 3,
         .masks = {0x0000FF00, 0x00FF0000, 0xFF000000},
         .pixelRows = {{0, 0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0, 0x77, 0x88, 0x99},
                       {0, 0xAA, 0xBB, 0xCC, 0, 0, 0, 0, 0, 3, 2, 1}}},
        bitmapOf(3, {kA, kB, kC, kD, 0, 0x030201}));
    add("Bits24V4Header",
        {.headerSize = 108,
         .pixelRows = {{0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77, 0, 0, 0},
                       {0xCC, 0xBB, 0xAA, 0, 0, 0, 1, 2, 3, 0, 0, 0}}},
        bitmapOf(3, {kA, kB, kC, kD, 0, 0x030201}));
    return cases;
}

struct DepthAndOrder {
    DepthCase depth;
    bool topDown;
};

class BmpDepthTest : public ::testing::TestWithParam<DepthAndOrder> {};

TEST_P(BmpDepthTest, DecodesEveryDepthInBothRowOrders) {
    BmpFile file = GetParam().depth.file;
    file.topDown = GetParam().topDown;
    const Bitmap decoded = decodeBmp(file.build());
    EXPECT_EQ(decoded, GetParam().depth.expected);
}

std::vector<DepthAndOrder> depthAndOrderCases() {
    std::vector<DepthAndOrder> cases;
    for (const DepthCase& c : depthCases())
        for (const bool topDown : {false, true}) cases.push_back({c, topDown});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, BmpDepthTest, ::testing::ValuesIn(depthAndOrderCases()),
                         [](const auto& info) {
                             return std::string(info.param.depth.name) +
                                    (info.param.topDown ? "TopDown" : "BottomUp");
                         });

TEST(BmpTest, DecodesCoreHeaderWithThreeByteColourTable) {
    const BmpFile file{.headerSize = 12,
                       .width = 2,
                       .rows = 2,
                       .bitsPerPixel = 8,
                       .palette = {kA, kB, kC},
                       .pixelRows = {{0, 1, 0, 0}, {2, 2, 0, 0}}};
    EXPECT_EQ(decodeBmp(file.build()), bitmapOf(2, {kA, kB, kC, kC}));
}

TEST(BmpTest, LastRowNeedsNoPadding) {
    std::vector<uint8_t> bytes =
        BmpFile{.pixelRows = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0}}}
            .build();
    bytes.resize(bytes.size() - 3); // the top row is the last in the file
    EXPECT_EQ(decodeBmp(bytes).at(2, 0), 0x090807u);
}

TEST(BmpTest, EncodeRoundTripsAndKeepsTheFourthByte) {
    const Bitmap source = test::patternBitmap(5, 3);
    const std::vector<uint8_t> bmp = encodeBmp(source);
    ASSERT_EQ(bmp.size(), 54u + 5 * 3 * 4);
    EXPECT_EQ(decodeBmp(bmp), source);

    Bitmap withFourth = source;
    withFourth.at(0, 2) |= 0x7F000000; // bottom-left: the first pixel in the file
    const std::vector<uint8_t> written = encodeBmp(withFourth);
    EXPECT_EQ(written[54 + 3], 0x7F);
    EXPECT_EQ(written[28], 32); // bits per pixel
    EXPECT_EQ(decodeBmp(written), source);
    EXPECT_THROW(encodeBmp(Bitmap()), PictureError);
}

struct MalformedBmp {
    const char* name;
    void (*spoil)(std::vector<uint8_t>&);
};

// Each case spoils one field of a valid 3 x 2, 24-bit file (offsets: file header 0..13, info header 14..53).
const MalformedBmp kMalformedBmps[] = {
    {"Empty", [](std::vector<uint8_t>& b) { b.clear(); }},
    {"TruncatedFileHeader", [](std::vector<uint8_t>& b) { b.resize(10); }},
    {"WrongMagic", [](std::vector<uint8_t>& b) { b[1] = 'X'; }},
    {"TruncatedInfoHeader", [](std::vector<uint8_t>& b) { b.resize(30); }},
    {"UnknownHeaderSize", [](std::vector<uint8_t>& b) { patchU32(b, 14, 20); }},
    {"HeaderLargerThanFile", [](std::vector<uint8_t>& b) { patchU32(b, 14, 124); }},
    {"ZeroPlanes", [](std::vector<uint8_t>& b) { b[26] = 0; }},
    {"UnsupportedDepth", [](std::vector<uint8_t>& b) { b[28] = 7; }},
    {"RunLengthCompression", [](std::vector<uint8_t>& b) { patchU32(b, 30, 1); }},
    {"BitfieldsOn24Bits", [](std::vector<uint8_t>& b) { patchU32(b, 30, 3); }},
    {"ZeroWidth", [](std::vector<uint8_t>& b) { patchU32(b, 18, 0); }},
    {"NegativeWidth", [](std::vector<uint8_t>& b) { patchU32(b, 18, static_cast<uint32_t>(-3)); }},
    {"ZeroHeight", [](std::vector<uint8_t>& b) { patchU32(b, 22, 0); }},
    {"SmallestHeight", [](std::vector<uint8_t>& b) { patchU32(b, 22, 0x80000000u); }},
    {"AbsurdWidth", [](std::vector<uint8_t>& b) { patchU32(b, 18, 0x40000000u); }},
    {"TooManyPixels", [](std::vector<uint8_t>& b) { patchU32(b, 18, 32768), patchU32(b, 22, 32768); }},
    {"HeightBeyondData", [](std::vector<uint8_t>& b) { patchU32(b, 22, 30000); }},
    {"PixelOffsetPastEnd", [](std::vector<uint8_t>& b) { patchU32(b, 10, 0xFFFFFFF0u); }},
    {"PixelDataTruncated", [](std::vector<uint8_t>& b) { b.resize(b.size() - 4); }},
    {"ColourTablePastEnd", [](std::vector<uint8_t>& b) { b[28] = 8, patchU32(b, 46, 256); }},
};

class MalformedBmpTest : public ::testing::TestWithParam<MalformedBmp> {};

TEST_P(MalformedBmpTest, ThrowsPictureError) {
    std::vector<uint8_t> bytes =
        BmpFile{.pixelRows = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0}}}
            .build();
    ASSERT_NO_THROW(decodeBmp(bytes));
    GetParam().spoil(bytes);
    EXPECT_THROW(decodeBmp(bytes), PictureError);
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedBmpTest, ::testing::ValuesIn(kMalformedBmps),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace lv
