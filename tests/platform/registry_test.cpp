#include "platform/Registry.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace lv {
namespace {

class RegistryTest : public testing::Test {
  protected:
    void SetUp() override { ::setenv("LUMIVALE_WINDIR", dir.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("LUMIVALE_WINDIR"); }

    test::TempDir dir;
};

TEST_F(RegistryTest, LivesInTheSettingsFolder) {
    EXPECT_EQ(Registry().path(), dir / "registry.ini");
}

TEST_F(RegistryTest, ValuesComeBackExactlyUnderAnySpellingOfTheKey) {
    Registry writer;
    writer.writeString(RegistryRoot::CurrentUser, "\\Control Panel\\desktop", "TileWallpaper", "0");
    writer.writeString(RegistryRoot::CurrentUser, Registry::kDesktopKey, "Wallpaper", " \"/p/a b.bmp\" ");
    writer.writeString(RegistryRoot::ClassesRoot, "\\.lvi\\shell\\open\\command", "", "/opt/LVStudio \"%1\"");

    const Registry reader; // a separate object sees what reached the file
    EXPECT_EQ(reader.readString(RegistryRoot::CurrentUser, "control panel\\DESKTOP\\", "tilewallpaper"), "0");
    EXPECT_EQ(reader.readString(RegistryRoot::CurrentUser, Registry::kDesktopKey, "Wallpaper"),
              " \"/p/a b.bmp\" ");
    EXPECT_EQ(reader.readString(RegistryRoot::ClassesRoot, ".lvi\\shell\\open\\command", ""),
              "/opt/LVStudio \"%1\"");
    EXPECT_EQ(reader.readString(RegistryRoot::CurrentUser, ".lvi\\shell\\open\\command", ""), std::nullopt);
    EXPECT_EQ(reader.readInteger(RegistryRoot::CurrentUser, Registry::kDesktopKey, "TileWallpaper", 7), 0);
}

TEST_F(RegistryTest, OnlyTheDesktopKeyExistsBeforeAnyWrite) {
    Registry registry;
    EXPECT_TRUE(registry.keyExists(RegistryRoot::CurrentUser, "\\Control Panel\\Desktop"));
    EXPECT_FALSE(registry.keyExists(RegistryRoot::ClassesRoot, "Control Panel\\Desktop"));
    EXPECT_FALSE(registry.keyExists(RegistryRoot::ClassesRoot, ".lvi"));
    EXPECT_EQ(
        registry.readInteger(RegistryRoot::CurrentUser, Registry::kDesktopKey, "ScreenSaveUsePassword", 0),
        0);
    EXPECT_FALSE(std::filesystem::exists(registry.path()));
    registry.writeString(RegistryRoot::ClassesRoot, ".lvi", "", "x");
    EXPECT_TRUE(registry.keyExists(RegistryRoot::ClassesRoot, ".LVI"));
}

} // namespace
} // namespace lv
