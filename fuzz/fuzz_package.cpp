// libFuzzer target: the package reader on a host made of the fuzz bytes.

#include "formats/uProjectExtractor.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// One private folder for the whole run, removed when the fuzzer exits.
const fs::path& workFolder() {
    static const fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "lvfuzz-package-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
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
    const fs::path host = workFolder() / "host";
    {
        std::ofstream out(host, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const lv::PackageLocation location = lv::FindPackage(host);
    // The number of names varies with the input so that both "more entries than names" and the reverse occur.
    const size_t nameCount = size > 0 ? data[size - 1] % 5 : 0;
    std::vector<fs::path> names;
    for (size_t i = 0; i < nameCount; ++i) names.push_back(workFolder() / ("out" + std::to_string(i)));
    const lv::ExtractResult result = lv::ExtractPackage(host, names);
    if (result.found != (location.found && location.count >= 0)) __builtin_trap();
    if (result.written < 0 || static_cast<size_t>(result.written) > names.size()) __builtin_trap();
    // Nothing but the host and the given names may appear in the folder.
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(workFolder())) {
        (void)entry;
        ++files;
    }
    if (files > names.size() + 1) __builtin_trap();
    for (const fs::path& name : names) fs::remove(name);
    return 0;
}
