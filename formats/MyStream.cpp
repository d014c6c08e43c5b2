#include "formats/MyStream.h"

#include "platform/Errors.h"

#include <sys/stat.h>

namespace lv {
namespace {

constexpr const char* kReadPastEnd = "Read beyond end of file";

} // namespace

TMyStream::TMyStream(const std::filesystem::path& path, Mode mode) : path_(path) {
    if (mode == Mode::Write) {
        output_ = std::make_unique<AtomicFileWriter>(path);
        return;
    }
    input_.reset(std::fopen(path.c_str(), "rb"));
    struct stat info {};
    if (!input_ || ::fstat(fileno(input_.get()), &info) != 0)
        throw IoError(path.string(), "Cannot open file");
    if (!S_ISREG(info.st_mode)) throw IoError(path.string(), "Not a file");
    size_ = static_cast<uint64_t>(info.st_size);
}

TMyStream::~TMyStream() = default;

void TMyStream::requireRemaining(uint64_t count) const {
    if (!input_) throw IoError(path_.string(), "File not open for reading");
    if (count > Remaining()) throw IoError(path_.string(), kReadPastEnd);
}

void TMyStream::ReadBytes(std::span<uint8_t> into) {
    requireRemaining(into.size());
    if (!into.empty() && std::fread(into.data(), 1, into.size(), input_.get()) != into.size())
        throw IoError(path_.string(), kReadPastEnd);
    position_ += into.size();
}

int32_t TMyStream::ReadInt() {
    uint8_t b[4];
    ReadBytes(b);
    const uint32_t v = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
    return static_cast<int32_t>(v);
}

int32_t TMyStream::ReadCount() {
    const int32_t count = ReadInt();
    if (count < 0) throw Error("Incorrect Project File!");
    return count;
}

std::string TMyStream::ReadText(int32_t length) {
    if (length < 0) throw Error("Incorrect Project File!");
    requireRemaining(static_cast<uint64_t>(length));
    std::string text(static_cast<size_t>(length), '\0');
    ReadBytes(std::span(reinterpret_cast<uint8_t*>(text.data()), text.size()));
    return text;
}

std::vector<uint8_t> TMyStream::ReadBlock(int32_t length) {
    if (length < 0) throw Error("Incorrect Project File!");
    requireRemaining(static_cast<uint64_t>(length));
    std::vector<uint8_t> block(static_cast<size_t>(length));
    ReadBytes(block);
    return block;
}

void TMyStream::WriteBytes(std::span<const uint8_t> bytes) {
    if (!output_) throw IoError(path_.string(), "File not open for writing");
    output_->write(bytes);
}

void TMyStream::WriteInt(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    WriteBytes(b);
}

void TMyStream::WriteText(std::string_view text) {
    WriteBytes(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

void TMyStream::Commit() {
    if (!output_) throw IoError(path_.string(), "File not open for writing");
    output_->commit();
}

} // namespace lv
