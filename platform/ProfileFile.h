#pragma once

// Windows profile (ini) files, read and written with the rules of the system's profile functions:
// section and key names compare without regard to ASCII letter case, values are text, sections and
// keys keep the order of their first write, a rewritten key keeps its place and its first spelling,
// lines end in CR LF when written. Files come from anywhere, so every input is read safely.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// Sizes of the fixed buffers callers read through, as the system's profile functions fill them.
inline constexpr size_t kProfileValueBuffer = 2048;    // one value: at most 2047 characters come back
inline constexpr size_t kProfileKeyListBuffer = 16384; // key names, each followed by a NUL, then a NUL
inline constexpr size_t kProfileUnlimited = std::numeric_limits<size_t>::max();

// A larger file is not read (reads give their defaults) and not written over (writes are refused).
inline constexpr uint64_t kProfileMaxFileBytes = uint64_t{16} << 20;

struct ProfileEntry {
    std::string key;   // as first written in the file
    std::string value; // as read: blanks trimmed, one pair of surrounding quotes removed
};

// The text of one profile file in memory. Every operation scans the text, so memory stays at the
// size of the text however many lines it has.
//
// Reading rules: a line end is CR LF, LF or a lone CR; a NUL byte ends the useful part of its line;
// a UTF-8 byte order mark at the start is skipped (and kept on write). A section starts at a line
// whose first non-blank character is "[" and that has a "]": its name lies between "[" and the last
// "]". A key line has an "=" (the key is what precedes the first one) and does not start with ";".
// Key lines before the first section belong to no section. When a section name occurs twice, only
// the first such section is seen; within it, the first line of a key is seen.
class ProfileDocument {
  public:
    ProfileDocument() = default;
    // Takes the bytes of a file as they are; the lines are stored ended by CR LF.
    explicit ProfileDocument(std::string text);

    // The text as it would be written: every line ending in CR LF.
    const std::string& text() const { return text_; }

    // A missing section or key, or an empty section name, gives nullopt.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    // Value as read, cut to bufferChars - 1 characters like a fixed buffer; fallback when missing.
    std::string readString(std::string_view section, std::string_view key, std::string_view fallback,
                           size_t bufferChars = kProfileUnlimited) const;
    // A whole decimal integer (optional sign; "$" or "0x" hex also reads) within 32 bits, else fallback.
    int32_t readInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    // "0" is false, any other integer true, anything else the fallback.
    bool readBool(std::string_view section, std::string_view key, bool fallback) const;

    bool hasSection(std::string_view section) const;
    // Distinct section names in file order ("[]" names none).
    std::vector<std::string> sectionNames() const;
    // Distinct keys of a section in file order; a list that would not fit bufferBytes (each name with
    // a NUL, plus a final NUL) stops before the first name that does not fit whole.
    std::vector<std::string> keys(std::string_view section, size_t bufferBytes = kProfileUnlimited) const;
    // keys() together with each key's value as readString reads it.
    std::vector<ProfileEntry> entries(std::string_view section, size_t keyBufferBytes = kProfileUnlimited,
                                      size_t valueBufferChars = kProfileUnlimited) const;

    // Writes keep every other line as it was. Names that could not be read back as written
    // (empty, holding a line break, NUL or "=", a key starting with "[" or ";", a section holding
    // "]") and values holding a line break or NUL are refused with lv::Error.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int32_t value);
    void writeBool(std::string_view section, std::string_view key, bool value);
    // Removes every line of the key within the section that lookups see.
    void deleteKey(std::string_view section, std::string_view key);
    // Removes every section of that name with all its lines.
    void deleteSection(std::string_view section);

  private:
    std::string text_;
};

// Section and key names compare like this: ASCII letters without regard to case, other bytes exactly.
bool sameProfileName(std::string_view a, std::string_view b);

// Parses the integer text of a profile value the way the readers above do.
std::optional<int32_t> parseProfileInteger(std::string_view text);

// A profile file on disk. Like the system's profile functions, every read looks at the file as it is
// now (another process may have changed it) and every write reaches the disk before it returns:
// the new text goes to a temporary file beside the old one and is renamed over it, under an
// advisory lock on the folder so that two writers do not lose each other's changes.
class ProfileFile {
  public:
    explicit ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }

    // Never fails: a missing, unreadable or oversized file reads as empty.
    ProfileDocument read() const;

    // Reads the file, applies the change and writes the result when the text changed. Throws
    // lv::IoError when the existing file cannot be read or is oversized, or the new one cannot be
    // written (the old file then stays whole), and lv::Error for a refused name or value.
    void modify(const std::function<void(ProfileDocument&)>& change);

    std::string readString(std::string_view section, std::string_view key, std::string_view fallback,
                           size_t bufferChars = kProfileUnlimited) const {
        return read().readString(section, key, fallback, bufferChars);
    }
    int32_t readInteger(std::string_view section, std::string_view key, int32_t fallback) const {
        return read().readInteger(section, key, fallback);
    }
    bool readBool(std::string_view section, std::string_view key, bool fallback) const {
        return read().readBool(section, key, fallback);
    }
    std::vector<std::string> keys(std::string_view section, size_t bufferBytes = kProfileUnlimited) const {
        return read().keys(section, bufferBytes);
    }

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int32_t value);
    void writeBool(std::string_view section, std::string_view key, bool value);
    void deleteKey(std::string_view section, std::string_view key);
    void deleteSection(std::string_view section);

  private:
    std::filesystem::path path_;
};

} // namespace lv
