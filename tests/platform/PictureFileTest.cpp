#include "platform/Errors.h"
#include "platform/Picture.h"
#include "platform/PictureTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <png.h>

namespace lv {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

std::string errorOf(auto&& action) {
    try {
        action();
    } catch (const PictureError& e) {
        return e.what();
    }
    return "no PictureError";
}

TEST(PictureFileTest, LoadChoosesTheDecoderByExtensionWithoutRegardToCase) {
    TempDir dir;
    const Bitmap picture = test::patternBitmap(6, 4);
    writeBytes(dir / "a.BMP", encodeBmp(picture));
    EXPECT_EQ(loadPicture(dir / "a.BMP"), picture);

    const std::vector<uint8_t> jpeg = readBytes(test::fixturePath("picture/odd-13x11.jpg"));
    const Bitmap fromJpeg = decodeJpeg(jpeg);
    for (const char* name : {"b.jpg", "c.JPEG", "d.Jpe"}) {
        writeBytes(dir / name, jpeg);
        EXPECT_EQ(loadPicture(dir / name), fromJpeg) << name;
    }
    // The content must match the extension: a BMP named .jpg is not a JPEG.
    writeBytes(dir / "e.jpg", encodeBmp(picture));
    EXPECT_THROW(loadPicture(dir / "e.jpg"), PictureError);
}

TEST(PictureFileTest, UnknownExtensionsAreNamedAsWritten) {
    TempDir dir;
    writeBytes(dir / "a.PNG", encodeBmp(test::patternBitmap(2, 2)));
    EXPECT_EQ(errorOf([&] { loadPicture(dir / "a.PNG"); }), "Unknown picture file extension (.PNG)");
    EXPECT_EQ(errorOf([&] { loadPicture(dir / "noextension"); }), "Unknown picture file extension (.)");
    EXPECT_EQ(errorOf([&] { savePicture(test::patternBitmap(2, 2), dir / "x.tiff"); }),
              "Unknown picture file extension (.tiff)");
    EXPECT_FALSE(std::filesystem::exists(dir / "x.tiff"));
}

TEST(PictureFileTest, MissingFileIsAnInputOutputError) {
    TempDir dir;
    EXPECT_THROW(loadPicture(dir / "missing.jpg"), IoError);
}

TEST(PictureFileTest, SaveWritesEachFormat) {
    TempDir dir;
    const Bitmap picture = test::gradientBitmap(24, 16);
    savePicture(picture, dir / "a.bmp");
    EXPECT_EQ(loadPicture(dir / "a.bmp"), picture);
    savePicture(picture, dir / "b.JPG");
    EXPECT_LE(test::maxChannelDifference(loadPicture(dir / "b.JPG"), picture), 6);
    savePicture(picture, dir / "c.ppm");
    EXPECT_EQ(readBytes(dir / "c.ppm"), encodePpm(picture));
    savePicture(picture, dir / "d.png");
    EXPECT_EQ(readBytes(dir / "d.png"), encodePng(picture));
}

TEST(PictureFileTest, FailedSaveKeepsTheOldFile) {
    TempDir dir;
    const Bitmap picture = test::patternBitmap(3, 3);
    savePicture(picture, dir / "a.bmp");
    EXPECT_THROW(savePicture(Bitmap(), dir / "a.bmp"), PictureError);
    EXPECT_EQ(loadPicture(dir / "a.bmp"), picture);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(PictureFileTest, PpmIsRgbAfterAShortHeader) {
    Bitmap picture(2, 1);
    picture.at(0, 0) = 0xFF102030;
    picture.at(1, 0) = 0x00A0B0C0;
    const std::string expected = "P6\n2 1\n255\n\x10\x20\x30\xA0\xB0\xC0";
    EXPECT_EQ(encodePpm(picture), std::vector<uint8_t>(expected.begin(), expected.end()));
}

TEST(PictureFileTest, PngHoldsTheExactRgbPixels) {
    const Bitmap picture = test::patternBitmap(7, 5, 0x55);
    const std::vector<uint8_t> png = encodePng(picture);

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
    EXPECT_EQ(image.format, static_cast<png_uint_32>(PNG_FORMAT_RGB));
    ASSERT_EQ(image.width, 7u);
    ASSERT_EQ(image.height, 5u);
    std::vector<uint8_t> rgbBytes(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgbBytes.data(), 0, nullptr));
    for (size_t i = 0; i < picture.pixels().size(); ++i) {
        const uint32_t p = picture.pixels()[i];
        EXPECT_EQ(rgb(rgbBytes[3 * i], rgbBytes[3 * i + 1], rgbBytes[3 * i + 2]), p & 0xFFFFFF) << i;
    }
}

} // namespace
} // namespace lv
