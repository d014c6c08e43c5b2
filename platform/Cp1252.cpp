#include "platform/Cp1252.h"

#include "platform/Errors.h"

#include <array>
#include <cstdint>
#include <optional>

namespace lv {
namespace {

// Code points of the bytes 0x80..0x9F; the rest of the range equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t codePointOf(uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

std::optional<uint8_t> byteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<uint8_t>(cp);
    for (size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == cp) return static_cast<uint8_t>(0x80 + i);
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i], advancing i; nullopt when malformed.
std::optional<char32_t> nextCodePoint(std::string_view text, size_t& i) {
    const auto lead = static_cast<uint8_t>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) > text.size()) return std::nullopt;
    char32_t cp = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto next = static_cast<uint8_t>(text[i++]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (next & 0x3F);
    }
    const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    return cp;
}

} // namespace

std::string utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const size_t start = i;
        const auto cp = nextCodePoint(utf8, i);
        if (!cp) throw Error("The text is not valid UTF-8");
        const auto byte = byteOf(*cp);
        if (!byte)
            throw Error("The character \"" + std::string(utf8.substr(start, i - start)) +
                        "\" cannot be stored (it has no Windows-1252 code)");
        out += static_cast<char>(*byte);
    }
    return out;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) appendUtf8(out, codePointOf(static_cast<uint8_t>(c)));
    return out;
}

} // namespace lv
