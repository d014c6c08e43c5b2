// lvtool create, info and export, as scripts use them.

#include "engine/WaveParams.h"
#include "platform/Picture.h"
#include "support/TestSupport.h"
#include "tools/ToolRunner.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace lv::test {
namespace {

class LvtoolProject : public ::testing::Test {
  protected:
    void SetUp() override {
        Bitmap picture(8, 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) picture.at(x, y) = rgb(30 * x, 40 * y, 90);
        writeBytes(dir / "picture.bmp", encodeBmp(picture));
        // Rows 0-1 area 0, row 2 area 3, one near-miss colour that is land, the rest black.
        Bitmap mask(8, 6);
        for (int x = 0; x < 8; ++x) mask.at(x, 0) = mask.at(x, 1) = AreaColors[0];
        for (int x = 0; x < 8; ++x) mask.at(x, 2) = AreaColors[3];
        mask.at(0, 3) = 0xFEFF00;
        writeBytes(dir / "mask.bmp", encodeBmp(mask));
    }

    ToolResult create(std::vector<std::string> extra, const std::string& maskName = "mask.bmp") {
        std::vector<std::string> args{"create", "--picture", (dir / "picture.bmp").string(), "--mask",
                                      (dir / maskName).string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return runTool(args);
    }

    TempDir dir;
    std::string project = (dir / "p.lvp").string();
};

TEST_F(LvtoolProject, CreateThenInfoShowsEverythingThatWasSet) {
    const ToolResult made =
        create({"--title", "Caf\u00e9 \u20ac", "--description", "d", "--sound", "<No Sound>", "--area",
                "2:Amplitude=9,ripple=180", "--area", "0:Horizontal=1", "--weather",
                "Kind=1,ParticleCount=300,Speed=10", project});
    ASSERT_EQ(made.status, 0) << made.err;

    const ToolResult info = runTool({"info", project});
    ASSERT_EQ(info.status, 0) << info.err;
    const auto json = nlohmann::json::parse(info.out);
    EXPECT_EQ(json["title"], "Caf\u00e9 \u20ac");
    EXPECT_EQ(json["description"], "d");
    EXPECT_EQ(json["sound"], "<No Sound>");
    EXPECT_EQ(json["width"], 8);
    EXPECT_EQ(json["height"], 6);
    EXPECT_EQ(json["areas"].size(), 4u);
    EXPECT_EQ(json["areas"][0]["Horizontal"], 1);
    EXPECT_EQ(json["areas"][1]["Frequency"], 17); // the default wave set
    EXPECT_EQ(json["areas"][2]["Amplitude"], 9);
    EXPECT_EQ(json["areas"][2]["Ripple"], 180);
    EXPECT_EQ(json["weather"]["Kind"], 1);
    EXPECT_EQ(json["weather"]["ParticleCount"], 300);
    EXPECT_EQ(json["mask"]["counts"], nlohmann::json::array({48 - 24, 16, 0, 0, 8}));
    EXPECT_EQ(json["thumbnail"]["width"], 80);

    const ToolResult header = runTool({"info", "--header", project});
    ASSERT_EQ(header.status, 0) << header.err;
    const auto headerJson = nlohmann::json::parse(header.out);
    EXPECT_EQ(headerJson.size(), 3u);
    EXPECT_EQ(headerJson["thumbnail"]["height"], 60);
}

TEST_F(LvtoolProject, ExportWritesTheMaskAsStored) {
    ASSERT_EQ(create({project}).status, 0);
    const std::string out = (dir / "mask-out.bmp").string();
    const ToolResult exported = runTool({"export", "mask", project, out});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const Bitmap mask = decodeBmp(readBytes(out));
    EXPECT_EQ(mask.at(5, 1), AreaColors[0]);
    EXPECT_EQ(mask.at(5, 2), AreaColors[3]);
    EXPECT_EQ(mask.at(0, 3), 0u);
}

TEST_F(LvtoolProject, ErrorsAreOneLineWithTheDocumentedStatus) {
    writeBytes(dir / "junk.lvp", {'N', 'O', 'T', ' ', 'A', ' ', 'P', 'R', 'O', 'J'});
    writeBytes(dir / "small.bmp", encodeBmp(Bitmap(3, 3)));
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* message; // part of stderr
    };
    const Case cases[] = {
        {"not a project", {"info", (dir / "junk.lvp").string()}, 1, "Incorrect Project File!"},
        {"missing file", {"info", (dir / "none.lvp").string()}, 1, "none.lvp"},
        {"unknown command", {"frobnicate"}, 2, ""},
        {"export to an unknown format",
         {"export", "mask", (dir / "junk.lvp").string(), "x.gif"},
         2,
         ".bmp or .ppm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = runTool(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }

    const Case createCases[] = {
        {"unknown field", {"--area", "0:Amplitud=3", project}, 2, "Amplitud"},
        {"area index 4", {"--area", "4:Amplitude=3", project}, 2, "0 to 3"},
        {"ripple 0", {"--area", "1:Ripple=0", project}, 2, "Ripple"},
        {"not a number", {"--weather", "Kind=snow", project}, 2, "snow"},
        {"no Windows-1252 byte", {"--title", "\u65e5\u672c", project}, 2, "Windows-1252"},
    };
    const ToolResult wrongSize = create({project}, "small.bmp");
    EXPECT_EQ(wrongSize.status, 1);
    EXPECT_NE(wrongSize.err.find("the picture's size"), std::string::npos) << wrongSize.err;
    for (const Case& c : createCases) {
        SCOPED_TRACE(c.name);
        const ToolResult r = create(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(project));
    }
}

} // namespace
} // namespace lv::test
