// libFuzzer target: the saver runtime's payload extraction on a program file made of the fuzz bytes.
// Whatever the payload says, every file lands inside the work folder.

#include "creator/uCreatorProject.h"
#include "fuzz/FuzzSupport.h"
#include "saver/SaverFiles.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path box = lv::fuzz::workFolder() / "box";
    const fs::path work = box / "work";
    const fs::path program = box / "Sea.scr";
    std::error_code ignored;
    fs::remove_all(box, ignored);
    fs::create_directories(work);
    std::ofstream(program, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
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
