#include "platform/Errors.h"
#include "platform/ProfileFile.h"
#include "support/TestSupport.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lv {
namespace {

using namespace std::string_literals;

std::string fileText(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = test::readBytes(path);
    return {bytes.begin(), bytes.end()};
}

void writeText(const std::filesystem::path& path, const std::string& text) {
    test::writeBytes(path, {text.begin(), text.end()});
}

// Lookups in texts as other programs and people leave them. Expected values follow the rules of the
// system's profile functions: names compare without case, blanks around names and values go, one pair
// of quotes goes, the first section of a name and the first line of a key are the ones seen.
struct LookupCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class ProfileLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(ProfileLookup, FindsWhatTheProfileFunctionsFind) {
    const LookupCase& c = GetParam();
    EXPECT_EQ(ProfileDocument(c.text).find(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ProfileLookup,
    testing::Values(
        LookupCase{"LetterCase", "[Config]\r\nDuration=5\r\n", "CONFIG", "duration", "5"},
        LookupCase{"BlanksAroundNamesAndValues", "  [ CONFIG ]  \r\n\t DURATION \t=  5 7 \t\r\n", "CONFIG",
                   "DURATION", "5 7"},
        LookupCase{"BlanksInTheRequest", "[CONFIG]\r\nA=1\r\n", " CONFIG ", " A ", "1"},
        LookupCase{"EmptyValue", "[CATALOG]\r\n/p/a.lvp=\r\n", "CATALOG", "/p/a.lvp", ""},
        LookupCase{"DoubleQuotesStripped", "[S]\r\nA=\" x \"\r\n", "S", "A", " x "},
        LookupCase{"SingleQuotesStripped", "[S]\r\nA='x'\r\n", "S", "A", "x"},
        LookupCase{"MismatchedQuotesKept", "[S]\r\nA=\"x'\r\n", "S", "A", "\"x'"},
        LookupCase{"LoneQuoteKept", "[S]\r\nA=\"\r\n", "S", "A", "\""},
        LookupCase{"InnerQuotesKept", "[S]\r\nA=a \"b\"\r\n", "S", "A", "a \"b\""},
        LookupCase{"FirstEqualsSplits", "[S]\r\nA=b=c\r\n", "S", "A", "b=c"},
        LookupCase{"KeyBeforeAnySectionIgnored", "A=1\r\n[S]\r\nB=2\r\n", "S", "A", std::nullopt},
        LookupCase{"DuplicateSectionFirstWins", "[S]\r\nA=1\r\n[T]\r\n[s]\r\nA=2\r\nB=3\r\n", "S", "A", "1"},
        LookupCase{"DuplicateSectionSecondUnseen", "[S]\r\nA=1\r\n[s]\r\nB=3\r\n", "S", "B", std::nullopt},
        LookupCase{"DuplicateKeyFirstWins", "[S]\r\nA=1\r\na=2\r\n", "S", "A", "1"},
        LookupCase{"LfOnly", "[S]\nA=1\nB=2\n", "S", "B", "2"},
        LookupCase{"CrOnly", "[S]\rA=1\rB=2\r", "S", "B", "2"},
        LookupCase{"NoFinalLineEnd", "[S]\r\nA=1", "S", "A", "1"},
        LookupCase{"NulEndsItsLine", "[S]\r\nA=1\0junk\r\nB=2\r\n"s, "S", "A", "1"},
        LookupCase{"NulBeforeEquals", "[S]\r\nA\0=1\r\nB=2\r\n"s, "S", "A", std::nullopt},
        LookupCase{"CommentIsNoKey", "[S]\r\n;A=1\r\n", "S", ";A", std::nullopt},
        LookupCase{"LineWithoutEquals", "[S]\r\nA\r\n", "S", "A", std::nullopt},
        LookupCase{"TextAfterBracket", "[S] trailing\r\nA=1\r\n", "S", "A", "1"},
        LookupCase{"LastBracketEndsName", "[a]b]\r\nA=1\r\n", "a]b", "A", "1"},
        LookupCase{"UnclosedBracketIsNoSection", "[S]\r\n[T\r\nA=1\r\n", "S", "A", "1"},
        LookupCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBF[S]\r\nA=1\r\n", "S", "A", "1"},
        LookupCase{"EmptySectionName", "A=1\r\n[]\r\nB=2\r\n", "", "A", std::nullopt},
        LookupCase{"NonAsciiComparedExactly", "[S]\r\n/h\xC3\xA9.lvp=1\r\n", "S", "/h\xC3\x89.lvp",
                   std::nullopt},
        LookupCase{"EmptyText", "", "S", "A", std::nullopt}),
    [](const testing::TestParamInfo<LookupCase>& info) { return info.param.name; });

// Integers are whole numbers within 32 bits; anything else reads as the fallback. Booleans: "0" false,
// any other integer true.
struct NumberCase {
    const char* name;
    const char* value;
    std::optional<int32_t> integer; // nullopt: the fallback
};

class ProfileNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(ProfileNumbers, ReadAsWholeIntegersOrTheFallback) {
    const NumberCase& c = GetParam();
    const ProfileDocument document("[S]\r\nK=" + std::string(c.value) + "\r\n");
    EXPECT_EQ(document.readInteger("S", "K", 77), c.integer.value_or(77));
    EXPECT_EQ(document.readBool("S", "K", true), c.integer ? *c.integer != 0 : true);
    EXPECT_EQ(document.readBool("S", "K", false), c.integer ? *c.integer != 0 : false);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProfileNumbers,
    testing::Values(
        NumberCase{"Zero", "0", 0}, NumberCase{"One", "1", 1}, NumberCase{"OtherInteger", "42", 42},
        NumberCase{"Negative", "-3", -3}, NumberCase{"Plus", "+4", 4}, NumberCase{"Quoted", "\"0\"", 0},
        NumberCase{"Blanks", "  12  ", 12}, NumberCase{"Empty", "", std::nullopt},
        NumberCase{"Word", "true", std::nullopt}, NumberCase{"LeadingNumber", "12abc", std::nullopt},
        NumberCase{"Fraction", "1.5", std::nullopt}, NumberCase{"SignOnly", "-", std::nullopt},
        NumberCase{"Max", "2147483647", 2147483647}, NumberCase{"TooLarge", "2147483648", std::nullopt},
        NumberCase{"Min", "-2147483648", INT32_MIN}, NumberCase{"TooSmall", "-2147483649", std::nullopt},
        NumberCase{"DollarHex", "$10", 16}, NumberCase{"CHex", "0x1F", 31},
        NumberCase{"HexAllBits", "$FFFFFFFF", -1}, NumberCase{"HexTooLong", "$100000000", std::nullopt},
        NumberCase{"Huge", "99999999999999999999999", std::nullopt}),
    [](const testing::TestParamInfo<NumberCase>& info) { return info.param.name; });

TEST(ProfileDocument, WritesKeepFirstWriteOrderPlaceAndSpelling) {
    ProfileDocument document;
    document.writeString("CONFIG", "Stretch", "1");
    document.writeString("CATALOG", "/p/a.lvp", "");
    document.writeString("config", "DURATION", "60");
    document.writeBool("CONFIG", "STRETCH", false); // an existing key: same place, first spelling
    document.writeInteger("Catalog", "/p/B.lvp", -1);
    EXPECT_EQ(document.text(), "[CONFIG]\r\nStretch=0\r\nDURATION=60\r\n"
                               "[CATALOG]\r\n/p/a.lvp=\r\n/p/B.lvp=-1\r\n");
    EXPECT_EQ(document.readString("Config", "stretch", "x"), "0");
}

TEST(ProfileDocument, WriteIntoAnOldFileChangesOnlyItsLineAndEndsLinesInCrLf) {
    ProfileDocument document("; made by hand\n[S]\nA = 1 \n\n; note\n[T]\nB=2");
    document.writeString("S", "a", "9");
    document.writeString("S", "C", "3");
    document.writeString("T", "D", "4");
    EXPECT_EQ(document.text(), "; made by hand\r\n[S]\r\nA=9\r\nC=3\r\n\r\n; note\r\n[T]\r\nB=2\r\nD=4\r\n");
}

TEST(ProfileDocument, WriteGoesToTheFirstOfTwoSectionsOfOneName) {
    ProfileDocument document("[S]\r\nA=1\r\n[T]\r\n[S]\r\nB=2\r\n");
    document.writeString("s", "B", "5");
    EXPECT_EQ(document.text(), "[S]\r\nA=1\r\nB=5\r\n[T]\r\n[S]\r\nB=2\r\n");
    EXPECT_EQ(document.find("S", "B"), "5");
}

TEST(ProfileDocument, DeleteKeyRemovesEveryLineOfItInTheSeenSection) {
    ProfileDocument document("[S]\r\nA=1\r\nB=2\r\na=3\r\n[T]\r\nA=4\r\n[S]\r\nA=5\r\n");
    document.deleteKey("s", "A");
    EXPECT_EQ(document.text(), "[S]\r\nB=2\r\n[T]\r\nA=4\r\n[S]\r\nA=5\r\n");
    document.deleteKey("S", "missing");
    document.deleteKey("missing", "B");
    EXPECT_EQ(document.text(), "[S]\r\nB=2\r\n[T]\r\nA=4\r\n[S]\r\nA=5\r\n");
}

TEST(ProfileDocument, DeleteSectionRemovesEverySectionOfTheName) {
    ProfileDocument document("X=0\r\n[S]\r\nA=1\r\n[T]\r\nB=2\r\n[s]\r\nC=3\r\n");
    document.deleteSection("S");
    EXPECT_EQ(document.text(), "X=0\r\n[T]\r\nB=2\r\n");
    EXPECT_FALSE(document.hasSection("S"));
    EXPECT_EQ(document.sectionNames(), std::vector<std::string>{"T"});
}

TEST(ProfileDocument, KeysAreListedOnceInFileOrder) {
    const ProfileDocument document(
        "[S]\r\nB=1\r\n;C=2\r\nA=\r\nb=3\r\nnoequals\r\n=orphan\r\n[T]\r\nD=4\r\n");
    EXPECT_EQ(document.keys("s"), (std::vector<std::string>{"B", "A"}));
    const std::vector<ProfileEntry> entries = document.entries("S");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].value, "1");
    EXPECT_EQ(entries[1].value, "");
    EXPECT_TRUE(document.keys("missing").empty());
}

// A key list is cut like a fixed buffer of names each followed by a NUL, then one more NUL; a name
// that would not fit whole is left out, and so is everything after it.
TEST(ProfileDocument, KeyListStopsAtTheBufferSize) {
    std::string text = "[S]\r\n";
    for (int i = 0; i < 1023; ++i) {
        const std::string number = std::to_string(i);
        text += 'k';
        text.append(14 - number.size(), '0');
        text += number;
        text += "=\r\n";
    }
    const std::string exactFit(14, 'x'); // 1023 * 16 + 15 + 1 = 16384
    const std::string oneTooMany(15, 'y');
    const ProfileDocument fits(text + exactFit + "=\r\n");
    const ProfileDocument overflows(text + oneTooMany + "=\r\n" + exactFit + "=\r\n");

    const std::vector<std::string> all = fits.keys("S", kProfileKeyListBuffer);
    ASSERT_EQ(all.size(), 1024u);
    EXPECT_EQ(all.back(), exactFit);
    EXPECT_EQ(overflows.keys("S", kProfileKeyListBuffer).size(), 1023u);
    EXPECT_EQ(overflows.keys("S").size(), 1025u);
}

TEST(ProfileDocument, ValueIsCutToTheBuffer) {
    const std::string value(3000, 'v');
    const ProfileDocument document("[S]\r\nA=" + value + "\r\n");
    EXPECT_EQ(document.readString("S", "A", "", kProfileValueBuffer), value.substr(0, 2047));
    EXPECT_EQ(document.readString("S", "A", ""), value);
    EXPECT_EQ(document.entries("S", kProfileUnlimited, kProfileValueBuffer).front().value.size(), 2047u);
}

// Names and values that could not be read back as written are refused and change nothing.
struct RefusedCase {
    const char* name;
    std::string section;
    std::string key;
    std::string value;
};

class ProfileRefusedWrite : public testing::TestWithParam<RefusedCase> {};

TEST_P(ProfileRefusedWrite, ThrowsAndKeepsTheText) {
    const RefusedCase& c = GetParam();
    ProfileDocument document("[S]\r\nA=1\r\n");
    EXPECT_THROW(document.writeString(c.section, c.key, c.value), Error);
    EXPECT_EQ(document.text(), "[S]\r\nA=1\r\n");
}

INSTANTIATE_TEST_SUITE_P(Names, ProfileRefusedWrite,
                         testing::Values(RefusedCase{"EmptyKey", "S", "  ", "1"},
                                         RefusedCase{"KeyWithEquals", "S", "/p/a=b.lvp", "1"},
                                         RefusedCase{"KeyWithLineFeed", "S", "a\nB", "1"},
                                         RefusedCase{"KeyWithCr", "S", "a\rB", "1"},
                                         RefusedCase{"KeyWithNul", "S", "a\0b"s, "1"},
                                         RefusedCase{"KeyLikeSection", "S", "[T]", "1"},
                                         RefusedCase{"KeyLikeComment", "S", ";x", "1"},
                                         RefusedCase{"EmptySection", "", "A", "1"},
                                         RefusedCase{"SectionWithBracket", "a]b", "A", "1"},
                                         RefusedCase{"SectionWithLineFeed", "a\nb", "A", "1"},
                                         RefusedCase{"ValueWithLineFeed", "S", "A", "1\n[T]"},
                                         RefusedCase{"ValueWithNul", "S", "A", "1\0"s}),
                         [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST(ProfileDocument, HostileTextsGiveClearResults) {
    // A 4 MiB line, a line of only brackets and equals signs, and a stray CR run.
    const std::string longValue(4 << 20, 'w');
    const ProfileDocument document("[S]\r\nL=" + longValue + "\r\n[[[]]]===\r\r\r\n=\r\n[S\r\n]\r\nA=1");
    EXPECT_EQ(document.find("S", "L")->size(), longValue.size());
    EXPECT_EQ(document.find("[[]]", "A"), "1"); // the name lies between the first "[" and the last "]"
    EXPECT_EQ(document.keys("S"), std::vector<std::string>{"L"});
}

// Inputs the fuzzer found (tests/fixtures/profile): whatever a text lists can be looked up, and the
// text is stable when read again.
TEST(ProfileDocument, FuzzFindingsKeepTheirPromises) {
    size_t files = 0;
    for (const auto& item : std::filesystem::directory_iterator(test::fixturePath("profile"))) {
        ++files;
        const std::vector<uint8_t> bytes = test::readBytes(item.path());
        const ProfileDocument document(std::string(bytes.begin(), bytes.end()));
        EXPECT_EQ(ProfileDocument(document.text()).text(), document.text()) << item.path();
        for (const std::string& section : document.sectionNames()) {
            EXPECT_TRUE(document.hasSection(section)) << item.path() << " [" << section << "]";
            for (const std::string& key : document.keys(section))
                EXPECT_TRUE(document.find(section, key)) << item.path() << " " << key;
        }
    }
    EXPECT_GT(files, 0u);
}

class ProfileFileTest : public testing::Test {
  protected:
    test::TempDir dir;
    std::filesystem::path path = dir / "Test.ini";
};

TEST_F(ProfileFileTest, MissingFileReadsDefaultsAndNoOpWritesCreateNothing) {
    ProfileFile file(path);
    EXPECT_EQ(file.readString("S", "A", "dflt"), "dflt");
    EXPECT_EQ(file.readInteger("S", "A", 5), 5);
    file.deleteKey("S", "A");
    file.deleteSection("S");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ProfileFileTest, EveryWriteReachesTheDiskAndEveryReadSeesTheFile) {
    ProfileFile writer(path);
    const ProfileFile reader(path);
    writer.writeString("S", "A", "1");
    EXPECT_EQ(fileText(path), "[S]\r\nA=1\r\n");
    writeText(path, "[S]\nA=2\n"); // changed behind our back, as another program may do
    EXPECT_EQ(reader.readString("S", "A", ""), "2");
    writer.writeBool("S", "B", true);
    EXPECT_EQ(fileText(path), "[S]\r\nA=2\r\nB=1\r\n");
    writer.deleteSection("S");
    EXPECT_EQ(fileText(path), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
}

TEST_F(ProfileFileTest, OversizedFileReadsEmptyAndIsNeverWrittenOver) {
    {
        std::ofstream out(path, std::ios::binary);
        out << "[S]\r\nA=1\r\n";
    }
    std::filesystem::resize_file(path, kProfileMaxFileBytes + 1);
    ProfileFile file(path);
    EXPECT_EQ(file.readString("S", "A", "dflt"), "dflt");
    EXPECT_THROW(file.writeString("S", "B", "2"), IoError);
    EXPECT_EQ(std::filesystem::file_size(path), kProfileMaxFileBytes + 1);
}

// A write that fails half-way (here: the file size limit of the process) leaves the old file whole.
TEST_F(ProfileFileTest, FailedWriteLeavesTheOldFileWhole) {
    const std::string old = "[S]\r\nA=" + std::string(100, 'o') + "\r\n";
    writeText(path, old);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    ProfileFile file(path);
    EXPECT_THROW(file.writeString("S", "B", "2"), IoError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(fileText(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
}

TEST_F(ProfileFileTest, ReadOnlyFolderRefusesTheWriteAndKeepsTheFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind root";
    writeText(path, "[S]\r\nA=1\r\n");
    std::filesystem::permissions(dir.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ProfileFile file(path);
    EXPECT_THROW(file.writeString("S", "A", "2"), IoError);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(fileText(path), "[S]\r\nA=1\r\n");
}

} // namespace
} // namespace lv
