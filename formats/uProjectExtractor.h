#pragma once

// Payload package: whole files stored one after the other behind a 13-byte marker, appended to a host
// file (or alone). Layout, all integers little-endian int32:
//   marker (13 bytes: each character of "{LVRESROURCE}" plus one), count n,
//   then n times: size s, s bytes.
// The package holds no names: writer and reader agree on the order of the entries.

#include <cstdint>
#include <filesystem>
#include <span>

namespace lv {

inline constexpr int kPackageMarkerSize = 13;
// Entries were historically copied in blocks of this many bytes; the bytes stored do not depend on it,
// so we copy whole entries inside the kernel where we can.
inline constexpr int kPackageBlockSize = 1001;

// The 13 stored marker bytes. Built at run time so that no program of ours holds them as a literal:
// the reader scans its own executable and takes the first occurrence.
std::span<const uint8_t, kPackageMarkerSize> packageMarker();

// Writes a new target: the template's bytes (or, with an empty template, the target's current
// content, if any), then a package of the files in the given order. The target is replaced atomically,
// so a failure leaves it as it was. A template that cannot be read is not reported (as documented: the
// package then goes onto what the target holds). Throws IoError when a file cannot be read or the
// target cannot be written, lv::Error when a file is too large for a package or the host already holds
// a package marker (the new package could never be found).
void AppendPackage(const std::filesystem::path& templatePath, const std::filesystem::path& target,
                   std::span<const std::filesystem::path> files);

// The same, but the target's old content never counts: the package follows the template's bytes, or
// starts at offset 0 when there is no (readable) template.
void AppendPackageFresh(const std::filesystem::path& templatePath, const std::filesystem::path& target,
                        std::span<const std::filesystem::path> files);

struct PackageLocation {
    bool found = false;
    int64_t position = 0; // offset just after the marker
    int32_t count = 0;    // entry count stored there (may be negative in a hostile file)
};

// Finds the first occurrence of the marker in the file. A file that cannot be read, or a marker with
// no room for its count behind it, gives found = false. Never throws.
PackageLocation FindPackage(const std::filesystem::path& path);

struct ExtractResult {
    bool found = false;   // a package with a usable count was there
    int32_t written = 0;  // entries that reached their output file whole
    bool complete = true; // false when the package ended early or an output could not be written
};

// Unpacks entry k into names[k], for as many entries as both the package and names have. Nothing is
// unpacked without a marker or with a negative count. A short package ends the current entry (it keeps
// what was there) and the extraction. An output that cannot be written receives nothing; its bytes are
// skipped. Outputs are replaced atomically. Never throws for a bad package or output.
ExtractResult ExtractPackage(const std::filesystem::path& path, std::span<const std::filesystem::path> names);

} // namespace lv
