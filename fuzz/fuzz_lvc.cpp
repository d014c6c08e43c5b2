// libFuzzer target: the .lvc creator project reader (and a save of what it read) on the fuzz bytes.

#include "creator/uCreatorProject.h"
#include "platform/Errors.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>

namespace {

namespace fs = std::filesystem;

// One private folder for the whole run (also the temporary folder of the part images).
const fs::path& workFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "lvfuzz-lvc-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        ::setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(workFolder(), ignored);
        });
        return fs::path(pattern);
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path file = workFolder() / "in.lvc";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    lv::TLVCProject project;
    project.LoadFromFile(file);
    if (project.FileList.Files.size() != project.FileList.Flags.size()) std::abort();
    try {
        // What was read saves and reads back to the same picture list.
        project.SaveToFile(workFolder() / "out.lvc");
        lv::TLVCProject again;
        again.LoadFromFile(workFolder() / "out.lvc");
        if (again.FileList.Files != project.FileList.Files || again.FileList.Flags != project.FileList.Flags)
            std::abort();
    } catch (const lv::Error&) {
        // A text the ini form cannot hold (a line break in a value) is refused: fine.
    }
    return 0;
}
