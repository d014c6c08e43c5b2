// Texts typed by the user are stored as Windows-1252 bytes.

#include "platform/Cp1252.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

namespace lv {
namespace {

TEST(Cp1252, ConvertsBothWays) {
    struct Case {
        const char* utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"Caf\u00e9", "Caf\xE9"},
        {"\u20ac 5", "\x80 5"}, // the euro sign lives in the 0x80..0x9F block
        {"\u201cq\u201d \u2026", "\x93q\x94 \x85"},
        {"\u00ff\u00a0", "\xFF\xA0"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.bytes) << c.utf8;
        EXPECT_EQ(cp1252ToUtf8(c.bytes), c.utf8) << c.utf8;
    }
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, RefusesWhatItCannotStore) {
    for (const char* text : {"\u65e5", "a\u0100", "\xC3", "\xE2\x82", "\xED\xA0\x80", "\xC0\xAF"})
        EXPECT_THROW(utf8ToCp1252(text), Error) << text;
}

} // namespace
} // namespace lv
