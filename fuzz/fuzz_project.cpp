// Feeds arbitrary bytes to the full and the header read of a water project.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "formats/uLVProject.h"

namespace {

const std::string& scratchFile() {
    static const std::string path = [] {
        const char* shm = "/dev/shm";
        const std::string folder = std::filesystem::is_directory(shm) ? shm : "/tmp";
        return folder + "/lv-fuzz-project-" + std::to_string(::getpid()) + ".lvp";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = scratchFile();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
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
