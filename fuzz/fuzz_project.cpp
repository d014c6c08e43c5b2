// Feeds arbitrary bytes to the full and the header read of a water project.

#include "formats/uLVProject.h"
#include "fuzz/FuzzSupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto path = lv::fuzz::writeInput("in.lvp", data, size);
    lv::TProject project;
    try {
        project.LoadHeader(path);
    } catch (const std::exception&) {
    }
    try {
        project.LoadFromFile(path);
    } catch (const std::exception&) {
    }
    return 0;
}
