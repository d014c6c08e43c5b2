#include "support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lv::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lvtest-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path fixturePath(const std::string& name) {
    const char* root = std::getenv("LV_FIXTURES");
    return std::filesystem::path(root ? root : "tests/fixtures") / name;
}

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
        ::setenv(name, value->c_str(), 1);
    else
        ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        ::setenv(name_, old_->c_str(), 1);
    else
        ::unsetenv(name_);
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace lv::test
