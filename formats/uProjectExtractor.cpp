#include "formats/uProjectExtractor.h"

#include "platform/Errors.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <string.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace lv {
namespace fs = std::filesystem;
namespace {

// Large buffers keep the system calls few; the 1001-byte blocks of the format are carved out of them.
constexpr size_t kIoBuffer = size_t{1} << 20;

std::string systemReason() {
    return std::strerror(errno);
}

// A file descriptor opened for reading, closed with its owner.
class InputFile {
  public:
    explicit InputFile(const fs::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~InputFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // A buffer size for reading this file: up to 1 MiB, less for a small file.
    size_t bufferSize() const {
        struct stat info {};
        if (::fstat(fd_, &info) != 0 || info.st_size <= 0) return 4096;
        return std::clamp<size_t>(static_cast<size_t>(info.st_size), 4096, kIoBuffer);
    }

    // Reads up to size bytes; 0 at the end, -1 on an error.
    ssize_t read(uint8_t* into, size_t size) {
        for (;;) {
            const ssize_t n = ::read(fd_, into, size);
            if (n >= 0 || errno != EINTR) return n;
        }
    }

  private:
    int fd_;
};

// Finds the first marker in a stream fed in pieces, also where it straddles the seam between two pieces.
class MarkerScanner {
  public:
    // Feeds the next piece; returns the stream offset just after the first marker once it is seen.
    std::optional<int64_t> feed(std::span<const uint8_t> piece) {
        const auto marker = packageMarker();
        const size_t keep = marker.size() - 1;
        // The tail holds fewer bytes than a marker, so a hit here starts in the tail: it comes first.
        std::vector<uint8_t> seam(tail_);
        seam.insert(seam.end(), piece.begin(),
                    piece.begin() + static_cast<std::ptrdiff_t>(std::min(piece.size(), keep)));
        if (const auto at = search(seam)) return streamed_ - static_cast<int64_t>(tail_.size()) + *at;
        if (const auto at = search(piece)) return streamed_ + *at;
        streamed_ += static_cast<int64_t>(piece.size());
        tail_.insert(tail_.end(), piece.end() - static_cast<std::ptrdiff_t>(std::min(piece.size(), keep)),
                     piece.end());
        if (tail_.size() > keep) tail_.erase(tail_.begin(), tail_.end() - static_cast<std::ptrdiff_t>(keep));
        return std::nullopt;
    }

  private:
    // Offset just after the first marker in bytes.
    static std::optional<int64_t> search(std::span<const uint8_t> bytes) {
        const auto marker = packageMarker();
        const void* hit = ::memmem(bytes.data(), bytes.size(), marker.data(), marker.size());
        if (!hit) return std::nullopt;
        return static_cast<const uint8_t*>(hit) - bytes.data() + static_cast<int64_t>(marker.size());
    }

    std::vector<uint8_t> tail_;
    int64_t streamed_ = 0;
};

void putInt32(AtomicFileWriter& out, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    const std::array<uint8_t, 4> bytes{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                                       static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    out.write(bytes);
}

// Copies a host file whole; refuses one that already holds a marker.
void copyHost(InputFile& host, const fs::path& hostPath, AtomicFileWriter& out) {
    std::vector<uint8_t> buffer(host.bufferSize());
    MarkerScanner scanner;
    for (;;) {
        const ssize_t n = host.read(buffer.data(), buffer.size());
        if (n < 0) throw IoError(hostPath.string(), "Cannot read file (" + systemReason() + ")");
        if (n == 0) return;
        const std::span<const uint8_t> piece(buffer.data(), static_cast<size_t>(n));
        if (scanner.feed(piece))
            throw Error("The file already holds a package, so a new one would never be found: " +
                        hostPath.string());
        out.write(piece);
    }
}

// Writes one entry: its size, then exactly that many bytes in blocks of 1001.
void appendEntry(const fs::path& path, AtomicFileWriter& out) {
    InputFile file(path);
    if (!file.isOpen()) throw IoError(path.string(), "Cannot open file (" + systemReason() + ")");
    struct stat info {};
    if (::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode))
        throw IoError(path.string(), "Cannot read file (not a regular file)");
    if (info.st_size > std::numeric_limits<int32_t>::max())
        throw Error("The file is too large for a package (2 GB at most): " + path.string());
    const auto size = static_cast<int32_t>(info.st_size);
    putInt32(out, size);
    // A file that shrank while we copied it would leave a size that lies about the bytes behind it.
    if (out.copyFrom(file.fd(), 0, size) < size)
        throw IoError(path.string(), "Cannot read file (it changed while it was packed)");
}

// The permissions a plain file copy gives a new file: the source's, less the umask.
void takeTemplateMode(const fs::path& templatePath, const fs::path& target) {
    struct stat info {};
    if (::stat(templatePath.c_str(), &info) != 0) return;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(target.c_str(), info.st_mode & 0777 & ~mask);
}

void writePackage(const fs::path& templatePath, const fs::path& target, std::span<const fs::path> files,
                  bool fresh) {
    if (files.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw Error("Too many files for one package");
    AtomicFileWriter out(target);
    bool fromTemplate = false;
    if (!templatePath.empty()) {
        InputFile host(templatePath);
        if (host.isOpen()) {
            copyHost(host, templatePath, out);
            fromTemplate = true;
        }
    }
    if (!fromTemplate && !fresh) {
        InputFile host(target);
        if (host.isOpen())
            copyHost(host, target, out);
        else if (errno != ENOENT)
            throw IoError(target.string(), "Cannot open file (" + systemReason() + ")");
    }
    out.write(packageMarker());
    putInt32(out, static_cast<int32_t>(files.size()));
    for (const fs::path& file : files) appendEntry(file, out);
    out.commit();
    if (fromTemplate) takeTemplateMode(templatePath, target);
}

std::optional<int32_t> readInt32At(int fd, int64_t position) {
    std::array<uint8_t, 4> bytes{};
    if (::pread(fd, bytes.data(), bytes.size(), position) != static_cast<ssize_t>(bytes.size()))
        return std::nullopt;
    const uint32_t value =
        uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
    return static_cast<int32_t>(value);
}

// One entry at position of the package into its output; false when the output could not be written.
// shortPackage tells whether the package ended inside the entry.
bool extractEntry(int fd, int64_t fileSize, int64_t position, int32_t size, const fs::path& name,
                  bool& shortPackage) {
    shortPackage = position + size > fileSize;
    try {
        AtomicFileWriter out(name);
        out.copyFrom(fd, position, size);
        out.commit();
        return true;
    } catch (const Error&) {
        // The output cannot be written: it receives nothing, the entry's bytes are passed over.
        return false;
    }
}

} // namespace

std::span<const uint8_t, kPackageMarkerSize> packageMarker() {
    static const std::array<uint8_t, kPackageMarkerSize> marker = [] {
        // The shift goes through a volatile so that the compiler cannot fold the stored bytes into a
        // constant of our own executable.
        static volatile uint8_t shift = 1;
        constexpr char plain[] = "{LVRESROURCE}";
        std::array<uint8_t, kPackageMarkerSize> bytes{};
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(plain[i] + shift);
        return bytes;
    }();
    return marker;
}

void AppendPackage(const fs::path& templatePath, const fs::path& target, std::span<const fs::path> files) {
    writePackage(templatePath, target, files, false);
}

void AppendPackageFresh(const fs::path& templatePath, const fs::path& target,
                        std::span<const fs::path> files) {
    writePackage(templatePath, target, files, true);
}

PackageLocation FindPackage(const fs::path& path) {
    InputFile file(path);
    if (!file.isOpen()) return {};
    std::vector<uint8_t> buffer(file.bufferSize());
    MarkerScanner scanner;
    std::optional<int64_t> position;
    while (!position) {
        const ssize_t n = file.read(buffer.data(), buffer.size());
        if (n <= 0) return {};
        position = scanner.feed({buffer.data(), static_cast<size_t>(n)});
    }
    const auto count = readInt32At(file.fd(), *position);
    if (!count) return {};
    return {true, *position, *count};
}

ExtractResult ExtractPackage(const fs::path& path, std::span<const fs::path> names) {
    const PackageLocation location = FindPackage(path);
    if (!location.found || location.count < 0) return {};
    InputFile file(path);
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.fd(), &info) != 0) return {};
    const int64_t fileSize = info.st_size;
    int64_t position = location.position + 4;

    ExtractResult result{.found = true, .written = 0, .complete = true};
    const size_t entries = std::min(static_cast<size_t>(location.count), names.size());
    for (size_t k = 0; k < entries; ++k) {
        const auto size = readInt32At(file.fd(), position);
        if (!size || *size < 0) {
            // No size left, or one no file can have: the package ends here.
            result.complete = false;
            break;
        }
        position += 4;
        bool shortPackage = false;
        if (extractEntry(file.fd(), fileSize, position, *size, names[k], shortPackage))
            ++result.written;
        else
            result.complete = false;
        position += *size;
        if (shortPackage) {
            result.complete = false;
            break;
        }
    }
    return result;
}

} // namespace lv
