// libFuzzer target: the saver runtime's payload extraction on a program file made of the fuzz bytes.
// Whatever the payload says, every file lands inside the work folder.

#include "creator/uCreatorProject.h"
#include "saver/SaverFiles.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path& runFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "lvfuzz-saver-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        ::setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(runFolder(), ignored);
        });
        return fs::path(pattern);
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path box = runFolder() / "box";
    const fs::path work = box / "work";
    const fs::path program = box / "Sea.scr";
    std::error_code ignored;
    fs::remove_all(box, ignored);
    fs::create_directories(work);
    {
        std::ofstream out(program, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    lv::TLVCProject project;
    lv::ExtractSaverFiles(project, program, work / "");
    // Only the work folder and the program may be in the box.
    for (const auto& entry : fs::directory_iterator(box))
        if (entry.path() != work && entry.path() != program) std::abort();
    for (const std::string& file : project.FileList.Files)
        if (fs::path(file).parent_path() != work) std::abort();
    lv::DeleteSaverFiles(work / "");
    return 0;
}
