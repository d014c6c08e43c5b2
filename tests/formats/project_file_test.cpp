// The water project file: exact bytes, round trips, masks, thumbnails and hostile files.

#include "formats/FileSaver.h"
#include "formats/MaskRuns.h"
#include "formats/uLVProject.h"
#include "platform/Errors.h"
#include "platform/Picture.h"
#include "support/TestSupport.h"

#include <cstring>
#include <gtest/gtest.h>

namespace lv {
namespace {

using Bytes = std::vector<uint8_t>;

void appendInt(Bytes& bytes, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(v >> shift));
}

void appendText(Bytes& bytes, std::string_view text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

int32_t intAt(const Bytes& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes.at(at + static_cast<size_t>(i));
    return static_cast<int32_t>(v);
}

// A 4 x 3 picture with distinct colours and a mask with area 0 on row 0, area 2 in one pixel.
TProject smallProject() {
    TProject project;
    project.Picture.setSize(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) project.Picture.at(x, y) = rgb(60 * x, 80 * y, 200);
    project.Mask.setSize(4, 3);
    for (int x = 0; x < 4; ++x) project.Mask.at(x, 0) = AreaColors[0];
    project.Mask.at(2, 1) = AreaColors[2];
    project.Areas[0] = kDefaultWaveParam;
    project.Areas[3] = {.Amplitude = -1,
                        .Frequency = 2,
                        .Speed = 3,
                        .Direction = 0,
                        .Horizontal = 1,
                        .Vertical = 0,
                        .Perspective = 1,
                        .Pad = 0,
                        .Ripple = 180,
                        .Distortion = 7,
                        .Reserved = 0};
    project.Weather = {.Kind = 2, .ParticleCount = 200, .Speed = 10, .Wind = 70, .Length = 10, .Reserved = 0};
    project.Title = "Lake";
    project.Description = "";
    project.Sound = "<No Sound>";
    return project;
}

class ProjectFileTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    std::filesystem::path file = dir / "p.lvp";
};

TEST_F(ProjectFileTest, WritesTheDocumentedBytes) {
    smallProject().SaveToFile(file);
    const Bytes actual = test::readBytes(file);

    // Expected bytes written from the layout; the two JPEG blocks are taken from the file itself.
    Bytes expected;
    appendText(expected, "LV060697");
    appendInt(expected, 4);
    appendText(expected, "Lake");
    appendInt(expected, 0);
    const size_t thumbAt = expected.size();
    const int32_t thumbSize = intAt(actual, thumbAt);
    expected.insert(expected.end(), actual.begin() + thumbAt, actual.begin() + thumbAt + 4 + thumbSize);
    appendInt(expected, 4);
    // Area 0: 6, 17, 15, 1, bytes 0 1 1 0, 360, 0, 0; areas 1 and 2 zero; area 3 as set.
    for (int v : {6, 17, 15, 1}) appendInt(expected, v);
    expected.insert(expected.end(), {0, 1, 1, 0});
    for (int v : {360, 0, 0}) appendInt(expected, v);
    expected.insert(expected.end(), 64, 0);
    for (int v : {-1, 2, 3, 0}) appendInt(expected, v);
    expected.insert(expected.end(), {1, 0, 1, 0});
    for (int v : {180, 7, 0}) appendInt(expected, v);
    // Mask: 4 x 3; runs 4 x area 0 (1 + 40), 2 land (0 + 20), 1 x area 2 (3 + 10), 5 land (0 + 50).
    for (int v : {6, 4, 3, 41, 20, 13, 50}) appendInt(expected, v);
    const size_t pictureAt = expected.size();
    const int32_t pictureSize = intAt(actual, pictureAt);
    expected.insert(expected.end(), actual.begin() + pictureAt, actual.begin() + pictureAt + 4 + pictureSize);
    appendInt(expected, 10);
    appendText(expected, "<No Sound>");
    for (int v : {2, 200, 10, 70, 10, 0}) appendInt(expected, v);
    expected.insert(expected.end(), 1000, 0);

    EXPECT_EQ(actual, expected);
    EXPECT_EQ(Bytes(actual.begin() + thumbAt + 4, actual.begin() + thumbAt + 6), (Bytes{0xFF, 0xD8}));
    EXPECT_EQ(peekJpegSize(std::span(actual).subspan(thumbAt + 4, static_cast<size_t>(thumbSize))).width, 80);
}

TEST_F(ProjectFileTest, RoundTripKeepsRecordsStringsMaskAndPicture) {
    TProject saved = smallProject();
    saved.Title = "Caf\xE9 \x80";
    saved.Sound = "";
    saved.SaveToFile(file);

    TProject loaded;
    loaded.LoadFromFile(file);
    EXPECT_TRUE(loaded.Loaded);
    EXPECT_TRUE(loaded.Saved);
    EXPECT_EQ(loaded.FileName, file.string());
    EXPECT_EQ(loaded.Title, saved.Title);
    EXPECT_EQ(loaded.Description, "");
    EXPECT_EQ(loaded.Sound, "");
    EXPECT_EQ(loaded.Areas, saved.Areas);
    EXPECT_EQ(loaded.Weather, saved.Weather);
    EXPECT_EQ(loaded.Mask, saved.Mask);
    EXPECT_EQ(loaded.LoadedSpeeds, (std::array<int32_t, 4>{15, 0, 0, 3}));
    EXPECT_EQ(loaded.Thumbnail.width(), 80);
    EXPECT_EQ(loaded.Thumbnail.height(), 60);
    // The picture comes back exactly as its quality-90 JPEG decodes.
    EXPECT_EQ(loaded.Picture, decodeJpeg(encodeJpeg(saved.Picture, 90)));
}

TEST_F(ProjectFileTest, SavingOverAFileReplacesAllOfIt) {
    test::writeBytes(file, Bytes(100000, 0xAB));
    smallProject().SaveToFile(file);
    TProject loaded;
    loaded.LoadFromFile(file);
    EXPECT_LT(std::filesystem::file_size(file), 100000u);
    EXPECT_EQ(loaded.Title, "Lake");
}

TEST_F(ProjectFileTest, HeaderReadStopsAfterTheThumbnail) {
    smallProject().SaveToFile(file);
    Bytes bytes = test::readBytes(file);
    const size_t thumbAt = 8 + 4 + 4 + 4;
    bytes.resize(thumbAt + 4 + static_cast<size_t>(intAt(bytes, thumbAt)) + 10); // cut inside the areas
    test::writeBytes(file, bytes);

    TProject project;
    project.LoadHeader(file);
    EXPECT_TRUE(project.Loaded);
    EXPECT_EQ(project.Title, "Lake");
    EXPECT_EQ(project.Thumbnail.width(), 80);
    EXPECT_TRUE(project.Picture.empty());
    EXPECT_TRUE(project.Mask.empty());
    EXPECT_THROW(project.LoadFromFile(file), IoError);
    EXPECT_FALSE(project.Loaded);
}

TEST(MaskRuns, EncodesRunsAcrossRowsAndNonWaterColours) {
    Bitmap black(3, 2);
    EXPECT_EQ(encodeMaskRuns(black), (std::vector<int32_t>{3, 2, 60}));

    // Two neighbouring non-water colours give two runs of colour 0; an area colour with a fourth byte is
    // land.
    Bitmap mixed(2, 2);
    mixed.at(0, 0) = 0x123456;
    mixed.at(1, 0) = 0x654321;
    mixed.at(0, 1) = AreaColors[1];
    mixed.at(1, 1) = AreaColors[1] | 0x01000000;
    EXPECT_EQ(encodeMaskRuns(mixed), (std::vector<int32_t>{2, 2, 10, 10, 12, 10}));

    Bitmap decoded;
    decodeMaskRuns(encodeMaskRuns(mixed), decoded);
    EXPECT_EQ(decoded.at(0, 0), 0u);
    EXPECT_EQ(decoded.at(1, 0), 0u);
    EXPECT_EQ(decoded.at(0, 1), AreaColors[1]);
    EXPECT_EQ(decoded.at(1, 1), 0u);
}

TEST(MaskRuns, DecodingIsSafeForOddRuns) {
    Bitmap mask;
    decodeMaskRuns(std::vector<int32_t>{2, 2, 15, 29}, mask); // colour numbers 5 and 9 are no water
    EXPECT_EQ(mask, Bitmap(2, 2));
    decodeMaskRuns(std::vector<int32_t>{2, 2, 11}, mask); // fewer pixels than the mask: the rest stays black
    EXPECT_EQ(mask.at(0, 0), AreaColors[0]);
    EXPECT_EQ(mask.at(1, 0), 0u);
    decodeMaskRuns(std::vector<int32_t>{3, 1}, mask); // no runs at all
    EXPECT_EQ(mask, Bitmap(3, 1));
}

TEST(Thumbnail, KeepsTheProportionsInTheDocumentedBox) {
    struct Case {
        int width, height;
        int left, top, drawnWidth, drawnHeight;
    };
    // Boxes worked out by hand from the thumbnail rules.
    const Case cases[] = {
        {640, 480, 0, 0, 80, 60},  // exactly 4:3 takes the tall branch and fills the canvas
        {641, 480, 0, 0, 80, 60},  // wide branch: nearest(80 / 1.3354) = 60
        {200, 100, 0, 10, 80, 40}, // wide: h = 40, top = 10
        {100, 200, 25, 0, 30, 60}, // tall: w = 30, left = 25
        {1000, 1, 0, 30, 80, 0},   // nearest(0.08) = 0 rows: nothing drawn
    };
    for (const Case& c : cases) {
        Bitmap picture(c.width, c.height);
        picture.fill(0xFFFFFF);
        const Bitmap thumb = makeThumbnail(picture);
        ASSERT_EQ(thumb.width(), 80);
        ASSERT_EQ(thumb.height(), 60);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) {
                const bool inside =
                    x >= c.left && x < c.left + c.drawnWidth && y >= c.top && y < c.top + c.drawnHeight;
                ASSERT_EQ(thumb.at(x, y), inside ? 0xFFFFFFu : 0u)
                    << c.width << "x" << c.height << " at " << x << "," << y;
            }
    }
}

} // namespace
} // namespace lv
