#include "platform/Errors.h"
#include "platform/Picture.h"
#include "platform/PictureTestSupport.h"
#include "support/TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <sstream>

namespace lv {
namespace {

using test::fixturePath;
using test::readBytes;

// Reads the P6 files that djpeg writes.
Bitmap readPpm(const std::vector<uint8_t>& bytes) {
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    Bitmap bitmap(width, height);
    for (uint32_t& p : bitmap.pixels()) {
        const int r = in.get(), g = in.get(), b = in.get();
        p = rgb(r, g, b);
    }
    return bitmap;
}

// The marker codes of the segments before the first scan.
std::vector<uint8_t> markersBeforeScan(const std::vector<uint8_t>& jpeg) {
    std::vector<uint8_t> markers;
    size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        markers.push_back(jpeg[at + 1]);
        if (jpeg[at + 1] == 0xDA) break;
        at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
    return markers;
}

bool contains(const std::vector<uint8_t>& v, uint8_t x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}

// Writes raw samples in a colour space our encoder does not produce (grey, CMYK, YCCK).
std::vector<uint8_t> compressSamples(int width, int height, J_COLOR_SPACE input, int components,
                                     J_COLOR_SPACE stored, const std::vector<uint8_t>& samples) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = input;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, stored);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + info.next_scanline * width * components);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> stream(buffer, buffer + size);
    std::free(buffer);
    return stream;
}

// Overwrites the dimensions in the first SOF segment.
void patchSize(std::vector<uint8_t>& jpeg, uint16_t width, uint16_t height) {
    for (size_t at = 2; at + 9 < jpeg.size();) {
        const uint8_t marker = jpeg[at + 1];
        if (marker == 0xC0 || marker == 0xC2) {
            jpeg[at + 5] = height >> 8, jpeg[at + 6] = height & 0xFF;
            jpeg[at + 7] = width >> 8, jpeg[at + 8] = width & 0xFF;
            return;
        }
        at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]);
    }
    FAIL() << "no SOF segment";
}

TEST(JpegTest, DecodeMatchesLibjpegDefaultDecodeToTheBit) {
    // The expected pixels come from djpeg with its defaults; they differ from -nosmooth and -dct fast.
    const Bitmap expected = readPpm(readBytes(fixturePath("picture/odd-13x11.djpeg.ppm")));
    for (const char* name : {"picture/odd-13x11.jpg", "picture/odd-13x11-progressive.jpg"}) {
        const Bitmap decoded = decodeJpeg(readBytes(fixturePath(name)));
        EXPECT_EQ(decoded, expected) << name;
    }
    const PictureSize size = peekJpegSize(readBytes(fixturePath("picture/odd-13x11.jpg")));
    EXPECT_EQ(size.width, 13);
    EXPECT_EQ(size.height, 11);
}

TEST(JpegTest, EncodeWritesBaselineStreamThatRoundTrips) {
    const Bitmap source = test::gradientBitmap(40, 24, 0xAB);
    const std::vector<uint8_t> jpeg = encodeJpeg(source, 90);
    ASSERT_GE(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
    EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
    const std::vector<uint8_t> markers = markersBeforeScan(jpeg);
    EXPECT_TRUE(contains(markers, 0xC0)) << "baseline SOF0";
    EXPECT_FALSE(contains(markers, 0xC2)) << "progressive SOF2";

    const Bitmap decoded = decodeJpeg(jpeg);
    ASSERT_EQ(decoded.width(), 40);
    ASSERT_EQ(decoded.height(), 24);
    EXPECT_LE(test::maxChannelDifference(decoded, source), 6);
    EXPECT_TRUE(test::allFourthBytesZero(decoded));
}

TEST(JpegTest, QualityChangesTheStream) {
    const Bitmap source = test::patternBitmap(64, 48);
    const size_t high = encodeJpeg(source, 90).size(), low = encodeJpeg(source, 50).size();
    EXPECT_GT(high, low);
    EXPECT_THROW(encodeJpeg(Bitmap(), 90), PictureError);
    EXPECT_THROW(encodeJpeg(Bitmap(0, 4), 90), PictureError);
}

TEST(JpegTest, GreyscaleDecodesToEqualChannels) {
    std::vector<uint8_t> samples(16 * 8);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>((i % 16) * 16);
    const Bitmap decoded = decodeJpeg(compressSamples(16, 8, JCS_GRAYSCALE, 1, JCS_GRAYSCALE, samples));
    ASSERT_EQ(decoded.width(), 16);
    for (int x = 0; x < 16; ++x) {
        const uint32_t p = decoded.at(x, 3);
        EXPECT_EQ(redOf(p), greenOf(p));
        EXPECT_EQ(redOf(p), blueOf(p));
        EXPECT_NEAR(static_cast<int>(redOf(p)), x * 16, 2);
    }
    EXPECT_TRUE(test::allFourthBytesZero(decoded));
}

TEST(JpegTest, CmykAndYcckConvertToRgb) {
    // Ink stored inverted (255 = no ink), as files with an Adobe marker hold it; one 8x8 block per colour.
    struct Patch {
        uint8_t c, m, y, k;
        uint32_t expected;
    };
    const Patch patches[] = {{255, 0, 0, 255, rgb(255, 0, 0)},
                             {0, 255, 0, 255, rgb(0, 255, 0)},
                             {255, 255, 255, 255, rgb(255, 255, 255)},
                             {255, 255, 255, 0, rgb(0, 0, 0)},
                             {255, 255, 255, 128, rgb(128, 128, 128)}};
    const int width = 8 * std::size(patches), height = 8;
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Patch& p = patches[x / 8];
            samples.insert(samples.end(), {p.c, p.m, p.y, p.k});
        }
    for (const J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
        const Bitmap decoded = decodeJpeg(compressSamples(width, height, JCS_CMYK, 4, stored, samples));
        for (size_t i = 0; i < std::size(patches); ++i) {
            const uint32_t p = decoded.at(static_cast<int32_t>(i * 8 + 4), 4);
            const uint32_t e = patches[i].expected;
            EXPECT_NEAR(static_cast<int>(redOf(p)), static_cast<int>(redOf(e)), 3) << stored << " #" << i;
            EXPECT_NEAR(static_cast<int>(greenOf(p)), static_cast<int>(greenOf(e)), 3) << stored << " #" << i;
            EXPECT_NEAR(static_cast<int>(blueOf(p)), static_cast<int>(blueOf(e)), 3) << stored << " #" << i;
        }
        EXPECT_TRUE(test::allFourthBytesZero(decoded));
    }
}

TEST(JpegTest, TruncatedScanStillDecodesToFullSize) {
    std::vector<uint8_t> jpeg = readBytes(fixturePath("picture/odd-13x11.jpg"));
    const uint8_t startOfScan[] = {0xFF, 0xDA};
    const size_t scan =
        std::search(jpeg.begin(), jpeg.end(), std::begin(startOfScan), std::end(startOfScan)) - jpeg.begin();
    ASSERT_LT(scan + 40, jpeg.size());
    jpeg.resize(scan + 40);
    const Bitmap decoded = decodeJpeg(jpeg);
    EXPECT_EQ(decoded.width(), 13);
    EXPECT_EQ(decoded.height(), 11);
}

struct MalformedJpeg {
    const char* name;
    std::vector<uint8_t> (*make)();
};

std::vector<uint8_t> fixture() {
    return readBytes(fixturePath("picture/odd-13x11.jpg"));
}

const MalformedJpeg kMalformedJpegs[] = {
    {"Empty", [] { return std::vector<uint8_t>{}; }},
    {"NotAJpeg", [] { return std::vector<uint8_t>{'B', 'M', 0, 0, 0, 0}; }},
    {"StartOfImageOnly",
     [] {
         return std::vector<uint8_t>{0xFF, 0xD8};
     }},
    {"TruncatedHeader",
     [] {
         auto j = fixture();
         j.resize(40);
         return j;
     }},
    {"ZeroWidth",
     [] {
         auto j = fixture();
         patchSize(j, 0, 11);
         return j;
     }},
    {"BeyondBitmapLimits",
     [] {
         auto j = fixture();
         patchSize(j, 40000, 40000);
         return j;
     }},
    {"MoreThanTheDataCanCarry",
     [] {
         auto j = fixture();
         patchSize(j, 4000, 3000);
         return j;
     }},
};

class MalformedJpegTest : public ::testing::TestWithParam<MalformedJpeg> {};

TEST_P(MalformedJpegTest, ThrowsPictureError) {
    const std::vector<uint8_t> bytes = GetParam().make();
    EXPECT_THROW(decodeJpeg(bytes), PictureError);
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedJpegTest, ::testing::ValuesIn(kMalformedJpegs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JpegTest, ErrorCarriesLibjpegMessage) {
    try {
        decodeJpeg(std::vector<uint8_t>{'B', 'M', 0, 0});
        FAIL() << "no error";
    } catch (const PictureError& e) {
        EXPECT_STREQ(e.what(), "Not a JPEG file: starts with 0x42 0x4d");
    }
}

} // namespace
} // namespace lv
