#pragma once

// Package bytes written out by hand for the creator and saver tests. The marker is kept as hex text so
// that the test programs hold no marker bytes of their own.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv::test {

using Bytes = std::vector<uint8_t>;

inline Bytes hexBytes(std::string_view text) {
    Bytes bytes;
    std::string digits;
    for (const char c : text)
        if (c != ' ') digits += c;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

// "{LVRESROURCE}" with every byte plus one.
inline Bytes packageMarkerBytes() {
    return hexBytes("7C 4D 57 53 46 54 53 50 56 53 44 46 7E");
}

inline Bytes le32(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

inline Bytes bytesOf(std::string_view s) {
    return {s.begin(), s.end()};
}

inline void append(Bytes& to, const Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// A package: marker, count (by default the number of entries), then each entry's size and bytes.
inline Bytes packageBytes(std::initializer_list<Bytes> entries, std::optional<int32_t> count = {}) {
    Bytes bytes = packageMarkerBytes();
    append(bytes, le32(count.value_or(static_cast<int32_t>(entries.size()))));
    for (const Bytes& entry : entries) {
        append(bytes, le32(static_cast<int32_t>(entry.size())));
        append(bytes, entry);
    }
    return bytes;
}

} // namespace lv::test
