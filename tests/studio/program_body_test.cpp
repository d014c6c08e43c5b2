#include "studio/ProgramBody.h"

#include <gtest/gtest.h>

namespace lv {
namespace {

TEST(ProgramBody, PlayerSwitchesUnderEachName) {
    struct Case {
        const char* name;
        const char* argument;
        TStudioStart start;
    };
    const Case cases[] = {
        {"LVStudio", "/S", TStudioStart::Player},
        {"LVStudio", "-s", TStudioStart::Player},
        {"LVStudio", "S", TStudioStart::Player},
        {"LVStudio", "/s:1", TStudioStart::NotAvailable},
        {"LVStudio", "/C", TStudioStart::NotAvailable},
        {"LVStudio", "", TStudioStart::NotAvailable},
        {"LVStudio", "/P", TStudioStart::NotAvailable},
        {"Lumivale.scr", "/s:1", TStudioStart::Player},
        {"Lumivale.SCR", "s", TStudioStart::Player},
        {"Lumivale.scr", "", TStudioStart::NotAvailable},
        {"Lumivale.scr", "/c:2345", TStudioStart::NotAvailable},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseStudioStart(c.name, c.argument), c.start) << c.name << " " << c.argument;
}

} // namespace
} // namespace lv
