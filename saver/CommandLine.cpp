#include "saver/CommandLine.h"

#include "platform/Errors.h"

#include <limits>

namespace lv {
namespace {

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

bool isOneOf(std::string_view argument, char letter) {
    return argument.size() <= 2 && !argument.empty() && argument.back() == letter &&
           (argument.size() == 1 || argument.front() == '/' || argument.front() == '-');
}

} // namespace

SaverCommandLine parseSaverCommandLine(std::span<const std::string> arguments) {
    SaverCommandLine line;
    if (!arguments.empty()) line.modeArgument = upper(std::string_view(arguments[0]).substr(0, 2));
    if (arguments.size() > 1) line.windowArgument = upper(arguments[1]);
    const std::string_view mode = line.modeArgument;
    if (mode.empty() || isOneOf(mode, 'C'))
        line.mode = SaverMode::Config;
    else if (isOneOf(mode, 'S'))
        line.mode = SaverMode::SlideShow;
    else if (isOneOf(mode, 'P'))
        line.mode = SaverMode::Preview;
    else if (isOneOf(mode, 'A'))
        line.mode = SaverMode::ChangePassword;
    else
        line.mode = SaverMode::None;
    return line;
}

uint64_t windowArgumentValue(std::string_view text) {
    uint64_t value = 0;
    bool valid = !text.empty();
    for (const char c : text) {
        if (c < '0' || c > '9' || value > (std::numeric_limits<uint64_t>::max() - 9) / 10) {
            valid = false;
            break;
        }
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (!valid) throw Error("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

std::filesystem::path saverSettingsFile(const std::filesystem::path& programPath) {
    std::filesystem::path settings = programPath;
    settings.replace_extension(".ini");
    return settings;
}

} // namespace lv
