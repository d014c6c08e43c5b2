// lvtool catalog and config on the settings file of $LUMIVALE_WINDIR.

#include "support/TestSupport.h"
#include "tools/ToolRunner.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace lv::test {
namespace {

class LvtoolSettings : public ::testing::Test {
  protected:
    void SetUp() override { ::setenv("LUMIVALE_WINDIR", dir.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("LUMIVALE_WINDIR"); }

    std::string ini() const {
        const std::vector<uint8_t> bytes = readBytes(dir / "Lumivale.ini");
        return {bytes.begin(), bytes.end()};
    }

    TempDir dir;
};

TEST_F(LvtoolSettings, CatalogCommandsChangeTheFileAndListItInOrder) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"catalog", "add", "/p/b.lvp"},
                                               {"catalog", "add", "/p/A.lvp"},
                                               {"catalog", "disable", "/P/B.LVP"},
                                               {"catalog", "add", "/p/c.lvp"},
                                               {"catalog", "enable", "/p/c.lvp"},
                                               {"catalog", "remove", "/p/a.lvp"}}) {
        const ToolResult r = runTool(args);
        ASSERT_EQ(r.status, 0) << args[1] << ": " << r.err;
    }
    const ToolResult list = runTool({"catalog", "list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "/p/b.lvp=0\n/p/c.lvp=1\n");
    EXPECT_EQ(ini(), "[CATALOG]\r\n/p/b.lvp=0\r\n/p/c.lvp=1\r\n");
}

TEST_F(LvtoolSettings, ConfigGetReadsWithDefaultsAndSetWrites) {
    EXPECT_EQ(runTool({"config", "get", "duration"}).out, "60\n");
    EXPECT_EQ(runTool({"config", "get", "TRANSITION EFFECT"}).out, "1\n");
    ASSERT_EQ(runTool({"catalog", "add", "/p/a.lvp"}).status, 0);
    EXPECT_EQ(runTool({"config", "get", "RUN"}).out, "/p/a.lvp=\n") << "the first catalog line";

    ASSERT_EQ(runTool({"config", "set", "Zoom", "0"}).status, 0);
    ASSERT_EQ(runTool({"config", "set", "RUN", "/p/a.lvp"}).status, 0);
    EXPECT_EQ(runTool({"config", "get", "ZOOM"}).out, "0\n");
    EXPECT_EQ(runTool({"config", "get", "RUN"}).out, "/p/a.lvp\n");
    EXPECT_EQ(ini(), "[CATALOG]\r\n/p/a.lvp=\r\n[CONFIG]\r\nZOOM=0\r\nRUN=/p/a.lvp\r\n");
}

// Bad arguments exit with 2, operations the file refuses with 1; either way one line on stderr and
// the file as it was.
TEST_F(LvtoolSettings, ErrorsExitWithTheirStatusAndLeaveTheFile) {
    ASSERT_EQ(runTool({"catalog", "add", "/p/a.lvp"}).status, 0);
    const std::string before = ini();
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    for (const Case& c : std::vector<Case>{{{"config", "get", "COLOUR"}, 2},
                                           {{"config", "set", "SOUND", "maybe"}, 2},
                                           {{"config", "set", "DURATION", "12x"}, 2},
                                           {{"config", "set", "DURATION"}, 2},
                                           {{"catalog", "add", ""}, 2},
                                           {{"catalog"}, 2},
                                           {{"catalog", "remove", "/p/none.lvp"}, 1},
                                           {{"catalog", "enable", "/p/none.lvp"}, 1},
                                           {{"catalog", "add", "/p/x=y.lvp"}, 1}}) {
        const ToolResult r = runTool(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_TRUE(r.out.empty()) << c.args.back();
        ASSERT_FALSE(r.err.empty()) << c.args.back();
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    EXPECT_EQ(ini(), before);
}

} // namespace
} // namespace lv::test
