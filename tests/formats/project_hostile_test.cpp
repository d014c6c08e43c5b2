// Hostile project files: every damaged structure ends in a clear error and an empty project.

#include "formats/uLVProject.h"
#include "platform/Errors.h"
#include "support/TestSupport.h"

#include <functional>
#include <gtest/gtest.h>

namespace lv {
namespace {

using Bytes = std::vector<uint8_t>;

void putInt(Bytes& bytes, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.at(at + static_cast<size_t>(i)) = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

int32_t intAt(const Bytes& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes.at(at + static_cast<size_t>(i));
    return static_cast<int32_t>(v);
}

// Offsets of the items of a file whose title is "Lake" and whose description is empty.
struct Layout {
    size_t thumbCount = 20, areaCount, maskLength, maskWidth, firstRun, pictureCount, pictureBytes, sound;
    explicit Layout(const Bytes& b) {
        areaCount = 24 + static_cast<size_t>(intAt(b, 20));
        maskLength = areaCount + 4 + 4 * 32;
        maskWidth = maskLength + 4;
        firstRun = maskWidth + 8;
        pictureCount = maskLength + 4 + 4 * static_cast<size_t>(intAt(b, maskLength));
        pictureBytes = pictureCount + 4;
        sound = pictureBytes + static_cast<size_t>(intAt(b, pictureCount));
    }
};

enum class Fails { Incorrect, Io, Picture };

struct Case {
    const char* name;
    std::function<void(Bytes&, const Layout&)> damage;
    Fails expected;
};

const Case kCases[] = {
    {"empty file", [](Bytes& b, const Layout&) { b.clear(); }, Fails::Incorrect},
    {"wrong signature", [](Bytes& b, const Layout&) { b[7] = '8'; }, Fails::Incorrect},
    {"title longer than the file", [](Bytes& b, const Layout&) { putInt(b, 8, 0x7FFFFFFF); }, Fails::Io},
    {"negative title count", [](Bytes& b, const Layout&) { putInt(b, 8, -4); }, Fails::Incorrect},
    {"thumbnail is not a JPEG",
     [](Bytes& b, const Layout& l) {
         std::fill_n(b.begin() + 24, 16, 0);
         (void)l;
     },
     Fails::Picture},
    {"area count 5", [](Bytes& b, const Layout& l) { putInt(b, l.areaCount, 5); }, Fails::Incorrect},
    {"area count -1", [](Bytes& b, const Layout& l) { putInt(b, l.areaCount, -1); }, Fails::Incorrect},
    {"mask longer than the file", [](Bytes& b, const Layout& l) { putInt(b, l.maskLength, 0x40000000); },
     Fails::Io},
    {"mask length negative", [](Bytes& b, const Layout& l) { putInt(b, l.maskLength, -2); },
     Fails::Incorrect},
    {"mask width 0", [](Bytes& b, const Layout& l) { putInt(b, l.maskWidth, 0); }, Fails::Incorrect},
    {"mask height negative", [](Bytes& b, const Layout& l) { putInt(b, l.maskWidth + 4, -3); },
     Fails::Incorrect},
    {"mask absurdly large",
     [](Bytes& b, const Layout& l) {
         putInt(b, l.maskWidth, 1 << 30);
         putInt(b, l.maskWidth + 4, 1 << 30);
     },
     Fails::Incorrect},
    {"runs past the last row", [](Bytes& b, const Layout& l) { putInt(b, l.firstRun, 1 + 10 * 1000); },
     Fails::Incorrect},
    {"negative run", [](Bytes& b, const Layout& l) { putInt(b, l.firstRun, -11); }, Fails::Incorrect},
    {"mask of another size than the picture", [](Bytes& b, const Layout& l) { putInt(b, l.maskWidth, 5); },
     Fails::Incorrect},
    {"picture longer than the file", [](Bytes& b, const Layout& l) { putInt(b, l.pictureCount, 0x7FFFFFF0); },
     Fails::Io},
    {"picture is not a JPEG",
     [](Bytes& b, const Layout& l) { std::fill_n(b.begin() + static_cast<long>(l.pictureBytes), 8, 0x11); },
     Fails::Picture},
    {"ends inside the picture", [](Bytes& b, const Layout& l) { b.resize(l.pictureBytes + 5); }, Fails::Io},
    {"ends inside the weather", [](Bytes& b, const Layout& l) { b.resize(l.sound + 4 + 10 + 12); },
     Fails::Io},
};

TEST(HostileProjectFile, EachDamageGivesAClearErrorAndAnEmptyProject) {
    test::TempDir dir;
    const auto file = dir / "p.lvp";
    TProject source;
    source.Picture.setSize(4, 3);
    source.Picture.fill(0x336699);
    source.Mask.setSize(4, 3);
    source.Mask.fill(AreaColors[1]);
    source.Areas[0] = kDefaultWaveParam;
    source.Title = "Lake";
    source.Sound = "<No Sound>";
    const auto goodFile = dir / "good.lvp";
    source.SaveToFile(goodFile);
    const Bytes good = test::readBytes(goodFile);
    const Layout layout(good);

    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Bytes bad = good;
        c.damage(bad, layout);
        test::writeBytes(file, bad);

        TProject project;
        project.LoadFromFile(goodFile);
        const auto expectFailure = [&](auto load) {
            switch (c.expected) {
            case Fails::Incorrect:
                EXPECT_THROW(
                    try { load(); } catch (const Error& e) {
                        EXPECT_STREQ(e.what(), "Incorrect Project File!");
                        throw;
                    },
                    Error);
                break;
            case Fails::Io:
                EXPECT_THROW(load(), IoError);
                break;
            case Fails::Picture:
                EXPECT_THROW(load(), PictureError);
                break;
            }
        };
        expectFailure([&] { project.LoadFromFile(file); });
        EXPECT_FALSE(project.Loaded);
        EXPECT_TRUE(project.Picture.empty());
        EXPECT_TRUE(project.Mask.empty());
        EXPECT_TRUE(project.Thumbnail.empty());
        EXPECT_EQ(project.Areas[0], TWaveParam{});
    }
}

} // namespace
} // namespace lv
