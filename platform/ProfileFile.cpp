#include "platform/ProfileFile.h"

#include "platform/Errors.h"
#include "platform/FileIo.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <unordered_set>

namespace lv {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    return sameProfileName(a, b);
}

std::string foldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = foldCase(c);
    return folded;
}

// One pair of matching quotes around a value is not part of it.
std::string_view stripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string cutToBuffer(std::string_view text, size_t bufferChars) {
    if (bufferChars == kProfileUnlimited) return std::string(text);
    const size_t room = bufferChars > 0 ? bufferChars - 1 : 0;
    return std::string(text.substr(0, std::min(room, text.size())));
}

// Every line of the raw bytes, whatever its line end, cut at its first NUL, ended by CR LF.
std::string normalize(std::string_view raw) {
    std::string text;
    text.reserve(raw.size() + raw.size() / 8);
    if (raw.starts_with(kBom)) {
        text += kBom;
        raw.remove_prefix(kBom.size());
    }
    while (!raw.empty()) {
        const size_t end = raw.find_first_of("\r\n");
        const std::string_view line = raw.substr(0, end);
        text += line.substr(0, line.find('\0'));
        text += kLineEnd;
        if (end == std::string_view::npos) break;
        raw.remove_prefix(end + (raw.substr(end, 2) == kLineEnd ? 2 : 1));
    }
    return text;
}

enum class LineKind { Other, Section, Entry };

struct Line {
    size_t begin = 0; // offset of the line in the text
    size_t next = 0;  // offset just after its line end
    LineKind kind = LineKind::Other;
    std::string_view name;  // section name or key, trimmed
    std::string_view value; // trimmed, quotes kept
};

void classify(std::string_view content, Line& line) {
    line.kind = LineKind::Other;
    const std::string_view body = trim(content);
    if (body.starts_with('[')) {
        const size_t close = body.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = trim(body.substr(1, close - 1));
        }
        return;
    }
    if (body.starts_with(';')) return;
    const size_t equals = body.find('=');
    if (equals == std::string_view::npos) return;
    line.name = trim(body.substr(0, equals));
    line.value = trim(body.substr(equals + 1));
    if (!line.name.empty()) line.kind = LineKind::Entry;
}

// Walks the lines of a normalized text.
class LineReader {
  public:
    explicit LineReader(std::string_view text)
        : text_(text), pos_(text.starts_with(kBom) ? kBom.size() : 0) {}

    size_t start() const { return text_.starts_with(kBom) ? kBom.size() : 0; }

    bool next(Line& line) {
        if (pos_ >= text_.size()) return false;
        const size_t end = text_.find(kLineEnd, pos_);
        const size_t contentEnd = end == std::string_view::npos ? text_.size() : end;
        line.begin = pos_;
        line.next = end == std::string_view::npos ? text_.size() : end + kLineEnd.size();
        classify(text_.substr(pos_, contentEnd - pos_), line);
        pos_ = line.next;
        return true;
    }

  private:
    std::string_view text_;
    size_t pos_;
};

// Where the first section of a name is and, within it, the first line of a key.
struct SectionScan {
    bool found = false;
    size_t insertAt = 0; // after the section's last key line, or after its header
    std::optional<Line> key;
};

SectionScan scanSection(std::string_view text, std::string_view section, std::string_view key) {
    SectionScan scan;
    if (section.empty()) return scan;
    LineReader reader(text);
    Line line;
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) {
            if (scan.found) break;
            if (sameName(line.name, section)) {
                scan.found = true;
                scan.insertAt = line.next;
            }
        } else if (scan.found && line.kind == LineKind::Entry) {
            scan.insertAt = line.next;
            if (!scan.key && !key.empty() && sameName(line.name, key)) scan.key = line;
        }
    }
    return scan;
}

// Calls visit for every key line of the first section of a name, in file order.
template <typename Visit>
void forEachEntry(std::string_view text, std::string_view section, Visit visit) {
    if (section.empty()) return;
    LineReader reader(text);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection) return;
            inSection = sameName(line.name, section);
        } else if (inSection && line.kind == LineKind::Entry) {
            if (!visit(line)) return;
        }
    }
}

bool hasAny(std::string_view text, std::string_view chars) {
    return text.find_first_of(chars) != std::string_view::npos;
}

const std::string_view kLineBreaks("\r\n\0", 3);

[[noreturn]] void refuse(std::string_view what, std::string_view text) {
    throw Error("Cannot store the " + std::string(what) + " \"" + std::string(text) +
                "\" in a settings file");
}

std::string_view checkedSection(std::string_view section) {
    const std::string_view name = trim(section);
    if (name.empty() || hasAny(name, kLineBreaks) || hasAny(name, "]")) refuse("section name", section);
    return name;
}

std::string_view checkedKey(std::string_view key) {
    const std::string_view name = trim(key);
    if (name.empty() || hasAny(name, kLineBreaks) || hasAny(name, "=") || name.starts_with('[') ||
        name.starts_with(';'))
        refuse("key", key);
    return name;
}

void checkValue(std::string_view value) {
    if (hasAny(value, kLineBreaks)) refuse("value", value);
}

std::string keyLine(std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append("=").append(value).append(kLineEnd);
    return line;
}

// Serializes the advisory lock on a folder for as long as it lives; without a folder, nothing.
class FolderLock {
  public:
    explicit FolderLock(const std::filesystem::path& folder) {
        const std::filesystem::path dir = folder.empty() ? std::filesystem::path(".") : folder;
        fd_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int fd_ = -1;
};

std::string readText(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = readFile(path, kProfileMaxFileBytes);
    return normalize(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace

bool sameProfileName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

ProfileDocument::ProfileDocument(std::string text) : text_(normalize(text)) {}

std::optional<int32_t> parseProfileInteger(std::string_view text) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    // Decimal must fit a signed 32-bit value; hexadecimal is a 32-bit pattern.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t value = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit) return std::nullopt;
    }
    const uint32_t bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

std::optional<std::string> ProfileDocument::find(std::string_view section, std::string_view key) const {
    const std::string_view name = trim(key);
    if (name.empty()) return std::nullopt;
    const SectionScan scan = scanSection(text_, trim(section), name);
    if (!scan.key) return std::nullopt;
    return std::string(stripQuotes(scan.key->value));
}

std::string ProfileDocument::readString(std::string_view section, std::string_view key,
                                        std::string_view fallback, size_t bufferChars) const {
    const std::optional<std::string> value = find(section, key);
    return cutToBuffer(value ? std::string_view(*value) : fallback, bufferChars);
}

int32_t ProfileDocument::readInteger(std::string_view section, std::string_view key, int32_t fallback) const {
    const std::optional<std::string> value = find(section, key);
    if (!value) return fallback;
    return parseProfileInteger(*value).value_or(fallback);
}

bool ProfileDocument::readBool(std::string_view section, std::string_view key, bool fallback) const {
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

bool ProfileDocument::hasSection(std::string_view section) const {
    return scanSection(text_, trim(section), {}).found;
}

std::vector<std::string> ProfileDocument::sectionNames() const {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    LineReader reader(text_);
    Line line;
    while (reader.next(line)) {
        // "[]" has no name a lookup could give, so it is no section to list.
        if (line.kind == LineKind::Section && !line.name.empty() && seen.insert(foldedName(line.name)).second)
            names.emplace_back(line.name);
    }
    return names;
}

std::vector<std::string> ProfileDocument::keys(std::string_view section, size_t bufferBytes) const {
    std::vector<std::string> names;
    for (ProfileEntry& entry : entries(section, bufferBytes, 0)) names.push_back(std::move(entry.key));
    return names;
}

std::vector<ProfileEntry> ProfileDocument::entries(std::string_view section, size_t keyBufferBytes,
                                                   size_t valueBufferChars) const {
    std::vector<ProfileEntry> result;
    std::unordered_set<std::string> seen;
    size_t used = 1; // the NUL that ends the list
    forEachEntry(text_, trim(section), [&](const Line& line) {
        if (!seen.insert(foldedName(line.name)).second) return true;
        const size_t need = line.name.size() + 1;
        if (keyBufferBytes != kProfileUnlimited && used + need > keyBufferBytes) return false;
        used += need;
        result.push_back({std::string(line.name), cutToBuffer(stripQuotes(line.value), valueBufferChars)});
        return true;
    });
    return result;
}

void ProfileDocument::writeString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view sectionName = checkedSection(section);
    const std::string_view keyName = checkedKey(key);
    checkValue(value);
    const SectionScan scan = scanSection(text_, sectionName, keyName);
    if (scan.key) {
        const std::string line = keyLine(scan.key->name, value);
        text_.replace(scan.key->begin, scan.key->next - scan.key->begin, line);
    } else if (scan.found) {
        text_.insert(scan.insertAt, keyLine(keyName, value));
    } else {
        std::string added = "[";
        added += sectionName;
        added += ']';
        added += kLineEnd;
        added += keyLine(keyName, value);
        text_ += added;
    }
}

void ProfileDocument::writeInteger(std::string_view section, std::string_view key, int32_t value) {
    writeString(section, key, std::to_string(value));
}

void ProfileDocument::writeBool(std::string_view section, std::string_view key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void ProfileDocument::deleteKey(std::string_view section, std::string_view key) {
    const std::string_view sectionName = trim(section);
    const std::string_view keyName = trim(key);
    if (sectionName.empty() || keyName.empty()) return;
    std::string kept;
    LineReader reader(text_);
    kept.append(text_, 0, reader.start());
    Line line;
    bool inSection = false, passed = false;
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) {
            passed = passed || inSection;
            inSection = !passed && sameName(line.name, sectionName);
        }
        if (inSection && line.kind == LineKind::Entry && sameName(line.name, keyName)) continue;
        kept.append(text_, line.begin, line.next - line.begin);
    }
    text_ = std::move(kept);
}

void ProfileDocument::deleteSection(std::string_view section) {
    const std::string_view sectionName = trim(section);
    if (sectionName.empty()) return;
    std::string kept;
    LineReader reader(text_);
    kept.append(text_, 0, reader.start());
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) inSection = sameName(line.name, sectionName);
        if (!inSection) kept.append(text_, line.begin, line.next - line.begin);
    }
    text_ = std::move(kept);
}

ProfileDocument ProfileFile::read() const {
    try {
        return ProfileDocument(readText(path_));
    } catch (const std::exception&) {
        return {};
    }
}

void ProfileFile::modify(const std::function<void(ProfileDocument&)>& change) {
    FolderLock lock(path_.parent_path());
    std::error_code error;
    const bool exists = std::filesystem::exists(path_, error);
    if (error) throw IoError(path_.string(), "Cannot open file (" + error.message() + ")");
    ProfileDocument document(exists ? readText(path_) : std::string());
    const std::string before = document.text();
    change(document);
    if (document.text() == before) return; // nothing to write, or no file to create
    AtomicFileWriter writer(path_);
    writer.write(document.text());
    writer.commit();
}

void ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    modify([&](ProfileDocument& document) { document.writeString(section, key, value); });
}

void ProfileFile::writeInteger(std::string_view section, std::string_view key, int32_t value) {
    modify([&](ProfileDocument& document) { document.writeInteger(section, key, value); });
}

void ProfileFile::writeBool(std::string_view section, std::string_view key, bool value) {
    modify([&](ProfileDocument& document) { document.writeBool(section, key, value); });
}

void ProfileFile::deleteKey(std::string_view section, std::string_view key) {
    modify([&](ProfileDocument& document) { document.deleteKey(section, key); });
}

void ProfileFile::deleteSection(std::string_view section) {
    modify([&](ProfileDocument& document) { document.deleteSection(section); });
}

} // namespace lv
