#pragma once

// The icon of a built screensaver. An ELF program has no icon resources, so the saver runtime carries
// a reserved block of kIconSlotSize bytes: a 16-byte marker, the int32 size of the icon file, then the
// icon file's bytes (an .ico, all its images). The builder finds the block in its copy of the runtime
// and writes the chosen icon into it; the runtime reads its own block. The marker is built at run time
// by everything that searches for it, so its bytes occur once in the runtime program: in the block.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace lv {

inline constexpr size_t kIconSlotSize = size_t{256} << 10;
inline constexpr size_t kIconSlotMarkerSize = 16;
inline constexpr size_t kIconSlotHeader = kIconSlotMarkerSize + 4;
inline constexpr size_t kIconSlotCapacity = kIconSlotSize - kIconSlotHeader;

// The 16 marker bytes.
std::span<const uint8_t, kIconSlotMarkerSize> iconSlotMarker();

// An empty slot (marker, size 0, zeros): what the runtime program carries, and what tests put into a
// stand-in template.
std::vector<uint8_t> emptyIconSlot();

// True for the bytes of a usable .ico file: the icon directory header with at least one image, its
// directory inside the file, and no more bytes than a slot holds.
bool isUsableIconFile(std::span<const uint8_t> bytes);

// Offset of the first slot in a program file that has a whole slot there; nothing otherwise.
std::optional<int64_t> findIconSlot(const std::filesystem::path& program);

// Writes the icon file into the slot of program, in place: the size, the bytes, zeros to the end of
// the slot; no byte outside the slot changes. False, with the program unchanged, when the icon file is
// missing, unreadable, not an .ico, too large, or holds the payload package marker (the package
// appended later could then never be found), or when the program has no slot or cannot be written.
bool SetProgramIcon(const std::filesystem::path& program, const std::filesystem::path& iconFile);

// The icon bytes a slot holds (empty for size 0 or a size that does not fit the slot).
std::vector<uint8_t> iconFromSlot(std::span<const uint8_t> slot);

// The icon stored in the running program's own slot; empty when the program still has the empty slot.
// Only the runtime program calls this, so only it carries the slot.
std::vector<uint8_t> ownProgramIcon();

} // namespace lv
