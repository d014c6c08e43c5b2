#include "saver/IconSlot.h"

#include "formats/uProjectExtractor.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lv {
namespace fs = std::filesystem;
namespace {

uint32_t le32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

bool contains(std::span<const uint8_t> haystack, std::span<const uint8_t> needle) {
    return ::memmem(haystack.data(), haystack.size(), needle.data(), needle.size()) != nullptr;
}

class Fd {
  public:
    Fd(const fs::path& path, int flags) : fd_(::open(path.c_str(), flags | O_CLOEXEC)) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

bool writeAll(int fd, std::span<const uint8_t> bytes, int64_t at) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<size_t>(n));
        at += n;
    }
    return true;
}

} // namespace

std::span<const uint8_t, kIconSlotMarkerSize> iconSlotMarker() {
    static const std::array<uint8_t, kIconSlotMarkerSize> marker = [] {
        // Through a volatile, so the shifted bytes never appear as a constant in the searching code.
        static volatile uint8_t shift = 1;
        constexpr char plain[] = "LumivaleIconSlot";
        std::array<uint8_t, kIconSlotMarkerSize> bytes{};
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(plain[i] + shift);
        return bytes;
    }();
    return marker;
}

std::vector<uint8_t> emptyIconSlot() {
    std::vector<uint8_t> slot(kIconSlotSize, 0);
    std::copy(iconSlotMarker().begin(), iconSlotMarker().end(), slot.begin());
    return slot;
}

bool isUsableIconFile(std::span<const uint8_t> bytes) {
    if (bytes.size() < 6 || bytes.size() > kIconSlotCapacity) return false;
    const uint16_t reserved = le16(bytes.data()), type = le16(bytes.data() + 2),
                   count = le16(bytes.data() + 4);
    return reserved == 0 && type == 1 && count > 0 && 6 + size_t{count} * 16 <= bytes.size();
}

std::optional<int64_t> findIconSlot(const fs::path& program) {
    Fd file(program, O_RDONLY);
    if (file.get() < 0) return std::nullopt;
    const auto marker = iconSlotMarker();
    std::vector<uint8_t> buffer(size_t{1} << 20);
    size_t kept = 0;  // bytes carried over from the previous read, fewer than a marker
    int64_t base = 0; // file offset of buffer[0]
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer.data() + kept, buffer.size() - kept);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        const size_t filled = kept + static_cast<size_t>(n);
        if (const void* hit = ::memmem(buffer.data(), filled, marker.data(), marker.size())) {
            const int64_t at = base + (static_cast<const uint8_t*>(hit) - buffer.data());
            struct stat info {};
            if (::fstat(file.get(), &info) != 0 || at + static_cast<int64_t>(kIconSlotSize) > info.st_size)
                return std::nullopt;
            return at;
        }
        kept = std::min(filled, marker.size() - 1);
        std::memmove(buffer.data(), buffer.data() + filled - kept, kept);
        base += static_cast<int64_t>(filled - kept);
    }
}

bool SetProgramIcon(const fs::path& program, const fs::path& iconFile) {
    std::vector<uint8_t> icon;
    try {
        icon = readFile(iconFile, kIconSlotCapacity);
    } catch (const std::exception&) {
        return false;
    }
    if (!isUsableIconFile(icon) || contains(icon, packageMarker()) || contains(icon, iconSlotMarker()))
        return false;
    const std::optional<int64_t> slot = findIconSlot(program);
    if (!slot) return false;
    std::vector<uint8_t> body(kIconSlotSize - kIconSlotMarkerSize, 0);
    const auto size = static_cast<uint32_t>(icon.size());
    for (int i = 0; i < 4; ++i) body[static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    std::copy(icon.begin(), icon.end(), body.begin() + 4);
    Fd file(program, O_WRONLY);
    return file.get() >= 0 && writeAll(file.get(), body, *slot + static_cast<int64_t>(kIconSlotMarkerSize));
}

std::vector<uint8_t> iconFromSlot(std::span<const uint8_t> slot) {
    if (slot.size() < kIconSlotHeader) return {};
    const uint32_t size = le32(slot.data() + kIconSlotMarkerSize);
    if (size == 0 || size > slot.size() - kIconSlotHeader) return {};
    const auto begin = slot.begin() + static_cast<std::ptrdiff_t>(kIconSlotHeader);
    return {begin, begin + static_cast<std::ptrdiff_t>(size)};
}

} // namespace lv
