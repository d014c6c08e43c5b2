// libFuzzer target: the package reader on a host made of the fuzz bytes.

#include "formats/uProjectExtractor.h"
#include "fuzz/FuzzSupport.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path host = lv::fuzz::writeInput("host", data, size);
    const lv::PackageLocation location = lv::FindPackage(host);
    // The number of names varies with the input so that both "more entries than names" and the reverse occur.
    const size_t nameCount = size > 0 ? data[size - 1] % 5 : 0;
    std::vector<fs::path> names;
    for (size_t i = 0; i < nameCount; ++i)
        names.push_back(lv::fuzz::workFolder() / ("out" + std::to_string(i)));
    const lv::ExtractResult result = lv::ExtractPackage(host, names);
    if (result.found != (location.found && location.count >= 0)) __builtin_trap();
    if (result.written < 0 || static_cast<size_t>(result.written) > names.size()) __builtin_trap();
    // Nothing but the host and the given names may appear in the folder.
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(lv::fuzz::workFolder())) {
        (void)entry;
        ++files;
    }
    if (files > names.size() + 1) __builtin_trap();
    for (const fs::path& name : names) fs::remove(name);
    return 0;
}
