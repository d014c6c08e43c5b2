#pragma once

// A thin sequential reader or writer of one file with little-endian int32 values.

#include "platform/FileIo.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class TMyStream {
  public:
    enum class Mode { Read, Write };

    // Read opens an existing file; Write prepares a replacement of path that reaches it on Commit().
    TMyStream(const std::filesystem::path& path, Mode mode);
    ~TMyStream();
    TMyStream(const TMyStream&) = delete;
    TMyStream& operator=(const TMyStream&) = delete;

    // Reading. Asking for more bytes than remain throws IoError without allocating them.
    void ReadBytes(std::span<uint8_t> into);
    int32_t ReadInt();
    // A count read from the file, refused when negative.
    int32_t ReadCount();
    std::string ReadText(int32_t length);
    std::vector<uint8_t> ReadBlock(int32_t length);
    uint64_t Remaining() const { return size_ - position_; }

    // Writing.
    void WriteBytes(std::span<const uint8_t> bytes);
    void WriteInt(int32_t value);
    void WriteText(std::string_view text);
    // Makes the written file replace the old one; without it the old file stays whole.
    void Commit();

    const std::filesystem::path& Path() const { return path_; }

  private:
    void requireRemaining(uint64_t count) const;

    std::filesystem::path path_;
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, FileCloser> input_;
    std::unique_ptr<AtomicFileWriter> output_;
    uint64_t size_ = 0;
    uint64_t position_ = 0;
};

} // namespace lv
