#pragma once

// Texts the user types are stored in files as Windows-1252 bytes, as files made on Windows hold them.

#include <string>
#include <string_view>

namespace lv {

// UTF-8 to Windows-1252; throws lv::Error naming the first character that has no Windows-1252 byte,
// or when the input is not valid UTF-8.
std::string utf8ToCp1252(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes Windows-1252 leaves undefined map to the C1 controls of the same
// value, so every byte string survives the round trip.
std::string cp1252ToUtf8(std::string_view bytes);

} // namespace lv
