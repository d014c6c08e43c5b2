#include "platform/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "platform/Errors.h"

namespace lv {
namespace {

constexpr size_t kWriteBuffer = 1 << 16;

std::string systemReason() { return std::strerror(errno); }

} // namespace

std::vector<uint8_t> readFile(const std::filesystem::path& path, uint64_t maxBytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw IoError(path.string(), "Cannot open file");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw IoError(path.string(), "Cannot read file");
    if (static_cast<uint64_t>(size) > maxBytes) throw IoError(path.string(), "File is too large");
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
        throw IoError(path.string(), "Cannot read file");
    return bytes;
}

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {
    std::string pattern = target_.string() + ".tmp-XXXXXX";
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) throw IoError(target_.string(), "Cannot create file (" + systemReason() + ")");
    temporary_ = pattern;
    buffer_.reserve(kWriteBuffer);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

void AtomicFileWriter::flushBuffer() {
    const uint8_t* data = buffer_.data();
    size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError(target_.string(), "Cannot write file (" + systemReason() + ")");
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
    buffer_.clear();
}

void AtomicFileWriter::write(std::span<const uint8_t> bytes) {
    if (buffer_.size() + bytes.size() > kWriteBuffer) flushBuffer();
    if (bytes.size() >= kWriteBuffer) {
        buffer_.assign(bytes.begin(), bytes.end());
        flushBuffer();
        return;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

void AtomicFileWriter::write(std::string_view text) {
    write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

void AtomicFileWriter::commit() {
    flushBuffer();
    // Keep the permissions an existing file had; a new file gets the usual 0666 less umask.
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0) {
        ::fchmod(fd_, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd_, 0666 & ~mask);
    }
    if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
        fd_ = -1;
        throw IoError(target_.string(), "Cannot write file (" + systemReason() + ")");
    }
    fd_ = -1;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw IoError(target_.string(), "Cannot replace file (" + systemReason() + ")");
    committed_ = true;
}

void writeFileAtomic(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    AtomicFileWriter writer(path);
    writer.write(bytes);
    writer.commit();
}

} // namespace lv
