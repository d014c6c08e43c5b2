#include "engine/uGraphicUtil.h"
#include "platform/Picture.h"
#include "platform/Registry.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>

namespace lv {
namespace {

TEST(Shade, DarkensByPercentOfTheDistanceFromWhite) {
    struct Case {
        TColor color1, color2;
        int32_t percent;
        TColor expected;
    };
    const Case cases[] = {
        {clWhite, 0x00123456, 0, 0x00123456},   {clWhite, 0x00123456, 100, 0x00123456},
        {clWhite, 0x00123456, 250, 0x00123456}, {clBlack, clWhite, 100, clBlack},
        {clBlack, clWhite, 50, 0x00808080},     // 255 - 127 (127.5 truncated)
        {0x00000080, clWhite, 100, 0x00000080}, // red channel is the low byte of a colour value
        {clBlack, clBlack, 100, clBlack},       // clamped at 0
        {clBlack, 0x00808080, -100, clWhite},   // clamped at 255
    };
    for (const Case& c : cases)
        EXPECT_EQ(Shade(c.color1, c.color2, c.percent), c.expected)
            << std::hex << c.color1 << " " << c.color2 << " " << std::dec << c.percent;
}

TEST(Shade, SystemColoursUseTheirCurrentValues) {
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(Shade(clWhite, clBtnFace, 30), face);
    SetSystemColor(15, 0x00123456);
    EXPECT_EQ(Shade(clWhite, clBtnFace, 30), 0x00123456u);
    EXPECT_EQ(Shade(clBtnFace, clWhite, 0), clWhite);
    SetSystemColor(15, face);
}

TEST(TintBitmap, ShadesAllButTheBottomLeftColour) {
    Bitmap bitmap(3, 2);
    const uint32_t key = 0x00FF00FF;
    bitmap.fill(key);
    bitmap.at(0, 0) = 0x00FFFFFF;
    bitmap.at(1, 0) = 0xAAFF00FF; // the key colour with another fourth byte is no key
    bitmap.at(2, 1) = 0x00F0F0F0;
    TintBitmap(bitmap, 0x00000080, 100);     // colour value: red 128
    EXPECT_EQ(bitmap.at(0, 0), 0x00800000u); // white becomes the tint, as a pixel word
    EXPECT_EQ(bitmap.at(1, 0), 0x00800000u);
    EXPECT_EQ(bitmap.at(2, 1), 0x00710000u); // red 240 - 127, green and blue 240 - 255 clamp to 0
    EXPECT_EQ(bitmap.at(2, 0), key);
    EXPECT_EQ(bitmap.at(0, 1), key);
}

TEST(SmoothResizeInto, FillsTheTargetAtItsOwnSize) {
    Bitmap source(2, 1);
    source.at(0, 0) = 0xAA000000;
    source.at(1, 0) = 0xAAFFFFFF;
    Bitmap target(4, 2);
    target.fill(0x11223344);
    SmoothResizeInto(source, target);
    ASSERT_EQ(target.width(), 4);
    ASSERT_EQ(target.height(), 2);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(target.at(0, y), 0x000000u); // fourth bytes dropped: a 24-bit picture
        EXPECT_EQ(target.at(2, y), 0x7F7F7Fu);
    }
}

class WallpaperTest : public ::testing::Test {
  protected:
    std::filesystem::path script(const std::string& body) {
        const auto path = dir / "apply.sh";
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        ::chmod(path.c_str(), 0700);
        return path;
    }
    test::TempDir dir;
    test::ScopedEnv windir{"LUMIVALE_WINDIR", (dir / "windows").string()};
    test::ScopedEnv desktop{"XDG_CURRENT_DESKTOP", std::nullopt};
};

TEST_F(WallpaperTest, WritesTheBmpRecordsNotTiledAndAsksTheDesktop) {
    const test::ScopedEnv command("LUMIVALE_WALLPAPER_COMMAND",
                                  script("printf '%s' \"$1\" > \"$0.arg\"").string());
    Bitmap picture(3, 2);
    picture.at(1, 1) = 0x00ABCDEF;
    const auto path = dir / "LV Wallpaper.bmp";
    test::writeBytes(path, {'o', 'l', 'd'});

    EXPECT_TRUE(SetWallpaper(picture, path));
    EXPECT_EQ(decodeBmp(test::readBytes(path)), picture);
    EXPECT_EQ(Registry().readString(RegistryRoot::CurrentUser, Registry::kDesktopKey, "TileWallpaper"), "0");
    const auto argument = test::readBytes(dir / "apply.sh.arg"); // one argument, spaces and all
    EXPECT_EQ(std::string(argument.begin(), argument.end()), path.string());
}

TEST_F(WallpaperTest, GnomeGetsAFileUri) {
    // A stand-in gsettings early in PATH records its argument vectors.
    const auto bin = dir / "bin";
    std::filesystem::create_directory(bin);
    const auto fake = bin / "gsettings";
    std::ofstream(fake) << "#!/bin/sh\nprintf '%s|' \"$@\" >> \"" << (dir / "calls").string()
                        << "\"\necho >> \"" << (dir / "calls").string() << "\"\n";
    ::chmod(fake.c_str(), 0700);
    const test::ScopedEnv path("PATH", bin.string() + ":" + std::getenv("PATH"));
    const test::ScopedEnv gnome("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");

    EXPECT_TRUE(SetWallpaper(Bitmap(1, 1), dir / "my wall%.bmp"));
    const auto calls = test::readBytes(dir / "calls");
    const std::string uri = "file://" + dir.path().string() + "/my%20wall%25.bmp";
    EXPECT_EQ(std::string(calls.begin(), calls.end()),
              "set|org.gnome.desktop.background|picture-uri|" + uri + "|\n" +
                  "set|org.gnome.desktop.background|picture-uri-dark|" + uri + "|\n" +
                  "set|org.gnome.desktop.background|picture-options|centered|\n");
}

TEST_F(WallpaperTest, NoDesktopIsNoError) {
    Bitmap picture(2, 2);
    {
        const test::ScopedEnv command("LUMIVALE_WALLPAPER_COMMAND", std::nullopt);
        EXPECT_FALSE(SetWallpaper(picture, dir / "a.bmp"));
    }
    {
        const test::ScopedEnv command("LUMIVALE_WALLPAPER_COMMAND", script("exit 3").string());
        EXPECT_FALSE(SetWallpaper(picture, dir / "b.bmp"));
    }
    {
        const test::ScopedEnv command("LUMIVALE_WALLPAPER_COMMAND", (dir / "no-such-program").string());
        EXPECT_FALSE(SetWallpaper(picture, dir / "c.bmp"));
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "c.bmp"));
}

} // namespace
} // namespace lv
