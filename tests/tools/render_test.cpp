// lvtool render and bench, as scripts use them.

#include "engine/WaveParams.h"
#include "platform/Picture.h"
#include "support/TestSupport.h"
#include "tools/ToolRunner.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace lv::test {
namespace {

class LvtoolRender : public ::testing::Test {
  protected:
    void SetUp() override {
        Bitmap picture(24, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 24; ++x) picture.at(x, y) = rgb(10 * x, 15 * y, (x * y) & 0xFF);
        writeBytes(dir / "picture.bmp", encodeBmp(picture));
        Bitmap mask(24, 16);
        for (int y = 6; y < 16; ++y)
            for (int x = 0; x < 24; ++x) mask.at(x, y) = AreaColors[x < 12 ? 0 : 1];
        writeBytes(dir / "mask.bmp", encodeBmp(mask));
        const ToolResult made = runTool({"create", "--picture", (dir / "picture.bmp").string(), "--mask",
                                         (dir / "mask.bmp").string(), "--area", "0:Distortion=6,Horizontal=1",
                                         "--area", "1:Amplitude=9", "--weather",
                                         "Kind=2,ParticleCount=150,Speed=10,Wind=70,Length=10", project});
        ASSERT_EQ(made.status, 0) << made.err;
    }

    ToolResult render(const std::string& folder, std::vector<std::string> extra) {
        std::vector<std::string> args{"render", project,    "--frames",
                                      "4",      "--output", (dir / folder).string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return runTool(args);
    }

    TempDir dir;
    std::string project = (dir / "p.lvp").string();
};

TEST_F(LvtoolRender, SameSeedGivesTheSameFramesToTheByte) {
    ASSERT_EQ(render("a", {"--seed", "7"}).status, 0);
    const ToolResult second = render("b", {"--seed", "7"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.err.find("frames per second"), std::string::npos);
    ASSERT_EQ(render("c", {"--seed", "8"}).status, 0);
    bool anyDiffers = false;
    for (const char* name :
         {"frame-000001.ppm", "frame-000002.ppm", "frame-000003.ppm", "frame-000004.ppm"}) {
        ASSERT_TRUE(std::filesystem::exists(dir / "a" / name)) << name;
        EXPECT_EQ(readBytes(dir / "a" / name), readBytes(dir / "b" / name)) << name;
        anyDiffers = anyDiffers || readBytes(dir / "a" / name) != readBytes(dir / "c" / name);
    }
    EXPECT_TRUE(anyDiffers); // the rain depends on the seed
    EXPECT_FALSE(std::filesystem::exists(dir / "a" / "frame-000005.ppm"));
}

TEST_F(LvtoolRender, FormatsSizeAndNone) {
    ASSERT_EQ(render("png", {"--format", "png", "--seed", "1"}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "png" / "frame-000004.png"));
    const ToolResult fitted = render("fit", {"--format", "bmp", "--size", "48x32"});
    ASSERT_EQ(fitted.status, 0) << fitted.err;
    const Bitmap frame = loadPicture(dir / "fit" / "frame-000001.bmp");
    EXPECT_EQ(frame.width(), 48);
    EXPECT_EQ(frame.height(), 32);
    const ToolResult none = runTool({"render", project, "--frames", "3", "--format", "none"});
    EXPECT_EQ(none.status, 0) << none.err;
}

TEST_F(LvtoolRender, BadArgumentsAreUsageErrors) {
    EXPECT_EQ(render("x", {"--format", "gif"}).status, 2);
    EXPECT_EQ(render("x", {"--size", "48by32"}).status, 2);
    EXPECT_EQ(runTool({"render", project, "--frames", "2"}).status, 2); // no --output
    EXPECT_EQ(runTool({"bench", "--size", "0x5"}).status, 2);
}

} // namespace
} // namespace lv::test
