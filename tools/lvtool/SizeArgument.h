#pragma once

#include <cstdint>
#include <string_view>

namespace lvtool {

struct SizeArgument {
    int32_t width = 0;
    int32_t height = 0;
};

// "WxH" with two positive whole numbers; throws UsageError otherwise.
SizeArgument parseSizeArgument(std::string_view text);

} // namespace lvtool
