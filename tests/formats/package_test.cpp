#include "formats/uProjectExtractor.h"
#include "platform/Errors.h"
#include "support/PackageBytes.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace lv {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using test::le32;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

// The marker is kept as hex text so that the test program itself holds no marker bytes (one test scans it).
const Bytes kMarker = test::packageMarkerBytes();

Bytes text(std::string_view s) {
    return {s.begin(), s.end()};
}

Bytes pattern(size_t size, uint32_t seed) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[i] = static_cast<uint8_t>(seed >> 16);
    }
    return bytes;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

size_t fileCount(const fs::path& folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class PackageTest : public ::testing::Test {
  protected:
    fs::path file(const std::string& name, const Bytes& bytes) {
        const fs::path path = dir / name;
        writeBytes(path, bytes);
        return path;
    }
    TempDir dir;
};

TEST_F(PackageTest, MarkerIsTheTextWithEveryBytePlusOne) {
    const auto marker = packageMarker();
    EXPECT_EQ(Bytes(marker.begin(), marker.end()), kMarker);
}

TEST_F(PackageTest, WriterLaysOutMarkerCountAndSizedEntries) {
    const Bytes block = pattern(1001, 1), twoBlocks = pattern(1002, 2);
    const std::vector<fs::path> files{file("a", text("abc")), file("empty", {}), file("b", block),
                                      file("c", twoBlocks)};
    AppendPackageFresh("", dir / "package", files);
    EXPECT_EQ(readBytes(dir / "package"), join({kMarker, le32(4), le32(3), text("abc"), le32(0), le32(1001),
                                                block, le32(1002), twoBlocks}));

    AppendPackageFresh("", dir / "none", {});
    EXPECT_EQ(readBytes(dir / "none"), join({kMarker, le32(0)})); // 17 bytes
}

TEST_F(PackageTest, EntriesComeBackWhole) {
    // A host, then entries around the block size and the reader's 1 MiB buffer.
    const std::vector<Bytes> entries{
        {}, pattern(1, 3), pattern(1001, 4), pattern(1002, 5), pattern(3 << 20, 6)};
    std::vector<fs::path> files, names;
    for (size_t i = 0; i < entries.size(); ++i) {
        files.push_back(file("in" + std::to_string(i), entries[i]));
        names.push_back(dir / ("out" + std::to_string(i)));
    }
    const Bytes host = text("host program bytes {LVRESROURCE} and more");
    AppendPackage(file("template", host), dir / "target", files);

    const PackageLocation location = FindPackage(dir / "target");
    ASSERT_TRUE(location.found);
    EXPECT_EQ(location.position, static_cast<int64_t>(host.size() + kMarker.size()));
    EXPECT_EQ(location.count, 5);

    const ExtractResult result = ExtractPackage(dir / "target", names);
    EXPECT_TRUE(result.found);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.written, 5);
    for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(readBytes(names[i]), entries[i]) << i;
}

TEST_F(PackageTest, HostsThatLookLikeTheMarkerDoNotHideThePackage) {
    // Where the reader's 1 MiB blocks meet, and hosts ending in the start of a marker.
    const size_t seam = size_t{1} << 20;
    const Bytes partial(kMarker.begin(), kMarker.begin() + 5);
    struct Case {
        const char* name;
        Bytes host;
    };
    const std::vector<Case> cases{
        {"last byte is the first marker byte", text("xyz|")},
        {"ends in half a marker", join({text("xyz"), partial})},
        {"plain marker text", text("{LVRESROURCE}")},
        {"marker straddles the block seam", pattern(seam - 6, 7)},
        {"half a marker just before the seam", join({pattern(seam - 5 - 2, 8), partial, text("zz")})},
        {"empty host", {}},
    };
    for (const Case& c : cases) {
        const fs::path target = dir / "target";
        fs::remove(target);
        AppendPackage(file("host", c.host), target, std::vector<fs::path>{file("entry", text("payload"))});
        const PackageLocation location = FindPackage(target);
        ASSERT_TRUE(location.found) << c.name;
        EXPECT_EQ(location.position, static_cast<int64_t>(c.host.size() + kMarker.size())) << c.name;
        ASSERT_TRUE(ExtractPackage(target, std::vector<fs::path>{dir / "out"}).complete) << c.name;
        EXPECT_EQ(readBytes(dir / "out"), text("payload")) << c.name;
    }
}

TEST_F(PackageTest, HostHoldingAPackageIsRefusedAndTargetKept) {
    const fs::path packaged = dir / "packaged";
    AppendPackageFresh("", packaged, std::vector<fs::path>{file("entry", text("first"))});
    const Bytes before = readBytes(packaged);
    // The reader takes the first marker, so a second package behind it could never be found.
    EXPECT_THROW(AppendPackage("", packaged, std::vector<fs::path>{file("second", text("second"))}), Error);
    EXPECT_EQ(readBytes(packaged), before);
    EXPECT_THROW(AppendPackage(packaged, dir / "copy", {}), Error);
    EXPECT_FALSE(fs::exists(dir / "copy"));
}

TEST_F(PackageTest, TemplateAndExistingTargetDecideWhatGoesInFront) {
    const Bytes old = text("old content"), templ = text("template");
    const Bytes emptyPackage = join({kMarker, le32(0)});
    struct Case {
        const char* name;
        bool fresh;
        bool withTemplate;
        bool templateExists;
        Bytes expected;
    };
    const std::vector<Case> cases{
        {"append keeps the target", false, false, false, join({old, emptyPackage})},
        {"append after template", false, true, true, join({templ, emptyPackage})},
        {"append, template missing: onto target", false, true, false, join({old, emptyPackage})},
        {"fresh replaces the target", true, false, false, emptyPackage},
        {"fresh after template", true, true, true, join({templ, emptyPackage})},
        {"fresh, template missing: from offset 0", true, true, false, emptyPackage},
    };
    for (const Case& c : cases) {
        const fs::path target = file("target", old);
        const fs::path templatePath = c.templateExists ? file("template", templ) : dir / "missing";
        const fs::path used = c.withTemplate ? templatePath : fs::path();
        if (c.fresh)
            AppendPackageFresh(used, target, {});
        else
            AppendPackage(used, target, {});
        EXPECT_EQ(readBytes(target), c.expected) << c.name;
    }
    AppendPackage("", dir / "new", {});
    EXPECT_EQ(readBytes(dir / "new"), emptyPackage);
}

TEST_F(PackageTest, FailedWriteLeavesTheOldTargetWhole) {
    const fs::path target = file("target", text("precious"));
    const std::vector<fs::path> files{file("a", text("a")), dir / "missing"};
    EXPECT_THROW(AppendPackage("", target, files), IoError);
    EXPECT_THROW(AppendPackageFresh(file("template", text("t")), target, files), IoError);
    EXPECT_EQ(readBytes(target), text("precious"));
    EXPECT_EQ(fileCount(dir.path()), 3u); // no temporary file left beside it
}

TEST_F(PackageTest, HostilePackagesExtractOnlyWhatIsThere) {
    const Bytes host = text("host");
    struct Case {
        const char* name;
        Bytes package;
        bool found;
        int32_t written;
        bool complete;
        std::vector<Bytes> outputs; // expected out0, out1, ...; names beyond these stay absent
    };
    const std::vector<Case> cases{
        {"no marker", text("no package here"), false, 0, true, {}},
        {"marker without count", join({host, kMarker, test::hexBytes("01 00")}), false, 0, true, {}},
        {"negative count", join({host, kMarker, le32(-1), le32(1), text("x")}), false, 0, true, {}},
        {"more entries than names",
         join({host, kMarker, le32(0x7FFFFFFF), le32(1), text("a"), le32(1), text("b"), le32(1), text("c")}),
         true,
         2,
         true,
         {text("a"), text("b")}},
        {"fewer entries than names",
         join({host, kMarker, le32(1), le32(2), text("ab")}),
         true,
         1,
         true,
         {text("ab")}},
        {"negative size",
         join({host, kMarker, le32(2), le32(1), text("a"), le32(-5), text("bbbbb")}),
         true,
         1,
         false,
         {text("a")}},
        {"size beyond the end",
         join({host, kMarker, le32(2), le32(0x7FFFFFF0), text("short")}),
         true,
         1,
         false,
         {text("short")}},
        {"size cut short",
         join({host, kMarker, le32(2), le32(1), text("a"), test::hexBytes("05 00")}),
         true,
         1,
         false,
         {text("a")}},
    };
    for (const Case& c : cases) {
        TempDir out;
        const fs::path packagePath = file("package", c.package);
        const std::vector<fs::path> names{out / "out0", out / "out1"};
        const ExtractResult result = ExtractPackage(packagePath, names);
        EXPECT_EQ(result.found, c.found) << c.name;
        EXPECT_EQ(result.written, c.written) << c.name;
        EXPECT_EQ(result.complete, c.complete) << c.name;
        // Only the given names are written, and only those with an entry.
        EXPECT_EQ(fileCount(out.path()), c.outputs.size()) << c.name;
        for (size_t i = 0; i < c.outputs.size(); ++i) EXPECT_EQ(readBytes(names[i]), c.outputs[i]) << c.name;
    }
}

TEST_F(PackageTest, AnOutputThatCannotBeWrittenIsPassedOver) {
    const fs::path package = dir / "package";
    AppendPackageFresh("", package,
                       std::vector<fs::path>{file("a", pattern(5000, 9)), file("b", text("second"))});
    file("existing", text("old"));
    const ExtractResult result =
        ExtractPackage(package, std::vector<fs::path>{dir / "no-such-folder" / "a", dir / "existing"});
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.written, 1);
    EXPECT_EQ(readBytes(dir / "existing"), text("second")); // replaced, and aligned after the skipped entry
    EXPECT_FALSE(fs::exists(dir / "no-such-folder"));
}

TEST_F(PackageTest, OurOwnProgramHoldsNoMarker) {
    // The saver runtime scans its own file; a marker among our bytes would be taken for the package.
    EXPECT_FALSE(FindPackage("/proc/self/exe").found);
    EXPECT_FALSE(FindPackage(dir / "missing").found);
}

} // namespace
} // namespace lv
