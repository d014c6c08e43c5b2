#include "platform/FileIo.h"

#include "platform/Errors.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace lv {
namespace {

constexpr size_t kWriteBuffer = 1 << 16;

std::string systemReason() {
    return std::strerror(errno);
}

// Makes a rename in the folder durable; failure only weakens durability, so it is not reported.
void syncFolderOf(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

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

int64_t AtomicFileWriter::copyFrom(int fd, int64_t offset, int64_t count) {
    flushBuffer();
    int64_t copied = 0;
    bool kernelCopy = true;
    std::vector<uint8_t> bounce;
    while (copied < count) {
        const auto want = static_cast<size_t>(std::min<int64_t>(count - copied, int64_t{1} << 30));
        ssize_t n = -1;
        if (kernelCopy) {
            loff_t from = offset + copied;
            n = ::copy_file_range(fd, &from, fd_, nullptr, want, 0);
            if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                kernelCopy = false; // not across these file systems: copy through memory instead
                continue;
            }
        } else {
            bounce.resize(std::min<size_t>(want, kWriteBuffer * 16));
            n = ::pread(fd, bounce.data(), bounce.size(), offset + copied);
            if (n > 0) {
                buffer_.assign(bounce.begin(), bounce.begin() + n);
                flushBuffer();
            }
        }
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError(target_.string(), "Cannot write file (" + systemReason() + ")");
        }
        if (n == 0) break;
        copied += n;
    }
    return copied;
}

void AtomicFileWriter::commit() {
    flushBuffer();
    // Keep the permissions an existing file had; a new file gets the usual 0666 less umask.
    struct stat old {};
    const bool replacing = ::stat(target_.c_str(), &old) == 0;
    if (replacing) {
        ::fchmod(fd_, old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd_, 0666 & ~mask);
    }
    // Only a file that replaces another must reach the disk before the rename: that is what keeps the
    // old content safe. A new file has nothing to lose, and flushing it would slow every copy.
    const bool flushed = !replacing || ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed) throw IoError(target_.string(), "Cannot write file (" + systemReason() + ")");
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw IoError(target_.string(), "Cannot replace file (" + systemReason() + ")");
    committed_ = true;
    if (replacing) syncFolderOf(target_);
}

void writeFileAtomic(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    AtomicFileWriter writer(path);
    writer.write(bytes);
    writer.commit();
}

} // namespace lv
