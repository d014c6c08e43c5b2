#pragma once

// Shared by the fuzz targets: one private folder for a whole run, and the input written as a file.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace lv::fuzz {

// A private folder made on first use and removed when the fuzzer exits; it also becomes
// XDG_RUNTIME_DIR, so the code under test keeps its temporary files in it.
inline const std::filesystem::path& workFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "lvfuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        ::setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(workFolder(), ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

// Writes the fuzz input to a file of the work folder and returns its path.
inline std::filesystem::path writeInput(const char* name, const uint8_t* data, size_t size) {
    const std::filesystem::path file = workFolder() / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file;
}

} // namespace lv::fuzz
