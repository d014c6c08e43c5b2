// libFuzzer target: the .lvc creator project reader (and a save of what it read) on the fuzz bytes.

#include "creator/uCreatorProject.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Errors.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path file = lv::fuzz::writeInput("in.lvc", data, size);
    lv::TLVCProject project;
    project.LoadFromFile(file);
    if (project.FileList.Files.size() != project.FileList.Flags.size()) std::abort();
    try {
        // What was read saves and reads back to the same picture list.
        project.SaveToFile(lv::fuzz::workFolder() / "out.lvc");
        lv::TLVCProject again;
        again.LoadFromFile(lv::fuzz::workFolder() / "out.lvc");
        if (again.FileList.Files != project.FileList.Files || again.FileList.Flags != project.FileList.Flags)
            std::abort();
    } catch (const lv::Error&) {
        // A text the ini form cannot hold (a line break in a value) is refused: fine.
    }
    return 0;
}
