#pragma once

// A creator folder, a studio folder and media made in code, for builds and their unpacking.

#include "support/PackageBytes.h"
#include "creator/uBuildSaver.h"
#include "creator/uCreatorProject.h"
#include "formats/uLVProject.h"
#include "saver/IconSlot.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace lv::test {

namespace fs = std::filesystem;

// A small .ico: header, one directory entry, four bytes of image.
inline Bytes iconBytes(uint8_t colour) {
    Bytes ico = hexBytes("0000 0100 0100 1010 0000 0100 2000 0400 0000 1600 0000");
    append(ico, {colour, colour, colour, 0});
    return ico;
}

// Stand-in runtime program: some bytes, an empty icon slot, some more bytes.
inline Bytes templateBytes() {
    Bytes bytes = bytesOf("\x7F"
                          "ELF stand-in head");
    append(bytes, emptyIconSlot());
    append(bytes, bytesOf("stand-in tail"));
    return bytes;
}

class BuildFixture : public ::testing::Test {
  protected:
    BuildFixture() {
        ::setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
        for (const char* sub : {"run", "creator/images", "studio/Sounds", "media", "out", "work"})
            fs::create_directories(root / sub);
        writeBytes(creator / "LVCreatorPro.dat", templateBytes());
        writeBytes(creator / "images" / "Default.ico", iconBytes(7));
        writeBytes(studio / "Sounds" / "Default.wav", bytesOf("RIFF default"));
        folders = {creator, root / "work", studio};
    }

    fs::path media(const std::string& name, const std::string& content) const {
        const fs::path path = root / "media" / name;
        writeBytes(path, bytesOf(content));
        return path;
    }

    // A small water project whose Sound is the given text.
    fs::path waterProject(const std::string& name, const std::string& sound) const {
        TProject water;
        water.Picture.setSize(4, 3);
        water.Picture.fill(0x336699);
        water.Mask.setSize(4, 3);
        water.Areas.fill(kDefaultWaveParam);
        water.Loaded = true;
        water.Sound = sound;
        const fs::path path = root / "media" / name;
        water.SaveToFile(path);
        return path;
    }

    TempDir root;
    fs::path creator = root / "creator";
    fs::path studio = root / "studio";
    BuildFolders folders;
};

} // namespace lv::test
