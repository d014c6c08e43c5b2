#include "tools/lvtool/SizeArgument.h"

#include "tools/lvtool/Commands.h"

#include <charconv>
#include <string>

namespace lvtool {
namespace {

[[noreturn]] void refuse(std::string_view whole) {
    throw UsageError("the size must look like 1024x768, not \"" + std::string(whole) + "\"");
}

int32_t parseSide(std::string_view text, std::string_view whole) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0) refuse(whole);
    return value;
}

} // namespace

SizeArgument parseSizeArgument(std::string_view text) {
    const size_t cut = text.find_first_of("xX");
    if (cut == std::string_view::npos) refuse(text);
    return {parseSide(text.substr(0, cut), text), parseSide(text.substr(cut + 1), text)};
}

} // namespace lvtool
