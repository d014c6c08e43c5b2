// libFuzzer target: the profile (ini) reader and writer on a text made of the fuzz bytes.
// Besides "no crash", it checks what every caller relies on: the text is stable when read again,
// a written key reads back, a deleted key or section is gone.

#include "platform/Errors.h"
#include "platform/ProfileFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void exerciseReads(const lv::ProfileDocument& document) {
    size_t sections = 0;
    for (const std::string& section : document.sectionNames()) {
        if (++sections > 8) break;
        check(document.hasSection(section));
        size_t listed = 1;
        for (const lv::ProfileEntry& entry : document.entries(section, lv::kProfileKeyListBuffer, 64)) {
            listed += entry.key.size() + 1;
            check(entry.value.size() < 64);
            const std::optional<std::string> value = document.find(section, entry.key);
            check(value.has_value() && value->starts_with(entry.value));
            document.readInteger(section, entry.key, 7);
            document.readBool(section, entry.key, true);
        }
        check(listed <= lv::kProfileKeyListBuffer);
    }
}

// A section and a key taken from the input, so that writes hit existing names as often as new ones.
std::string_view pick(std::string_view text, size_t seed, size_t length) {
    if (text.empty()) return {};
    const size_t start = seed % text.size();
    return text.substr(start, length % 12);
}

void exerciseWrites(lv::ProfileDocument document, std::string_view input) {
    const std::string section(pick(input, input.size() * 7, input.size() / 3));
    const std::string key(pick(input, input.size() * 13, input.size() / 5));
    try {
        document.writeString(section, key, "v1");
    } catch (const lv::Error&) {
        return; // a name the file cannot hold
    }
    check(document.find(section, key) == "v1");
    check(lv::ProfileDocument(document.text()).text() == document.text());
    document.writeInteger(section, key, -12);
    check(document.readInteger(section, key, 0) == -12);
    document.deleteKey(section, key);
    check(!document.find(section, key).has_value());
    document.deleteSection(section);
    check(!document.hasSection(section));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const lv::ProfileDocument document{std::string(input)};
    check(lv::ProfileDocument(document.text()).text() == document.text());
    exerciseReads(document);
    exerciseWrites(document, input);
    lv::parseProfileInteger(input.substr(0, 40));
    return 0;
}
