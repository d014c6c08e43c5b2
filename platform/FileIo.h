#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// Reads a whole file; throws IoError when it cannot be opened or read, or is larger than maxBytes.
std::vector<uint8_t> readFile(const std::filesystem::path& path, uint64_t maxBytes = uint64_t{1} << 31);

// Writes a file so that a reader sees either the old content or the new, never half of it:
// the bytes go to a temporary file beside the target, which is renamed over it on commit().
// Without commit() the temporary file is removed and the target is left as it was.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(std::span<const uint8_t> bytes);
    void write(std::string_view text);
    // Appends up to count bytes of the open file fd from offset, copied inside the kernel where it can;
    // returns the bytes copied (fewer when fd ends first). Throws IoError when writing fails.
    int64_t copyFrom(int fd, int64_t offset, int64_t count);
    void commit();

    const std::filesystem::path& target() const { return target_; }

  private:
    void flushBuffer();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    std::vector<uint8_t> buffer_;
    bool committed_ = false;
};

// Convenience: the whole content at once, atomically.
void writeFileAtomic(const std::filesystem::path& path, std::span<const uint8_t> bytes);

} // namespace lv
