#include "platform/ErrorLog.h"

#include "platform/FileIo.h"

#include <filesystem>

namespace lv {

std::string errorLogLine(char stage, std::string_view currentPath, std::string_view message) {
    std::string line(1, stage);
    line += ' ';
    line += currentPath;
    line += ' ';
    line += message;
    line += "\r\n";
    return line;
}

void writeErrorLog(std::string_view studioFolder, char stage, std::string_view currentPath,
                   std::string_view message) {
    try {
        const std::filesystem::path file = std::filesystem::path(std::string(studioFolder)) / kErrorLogName;
        const std::string line = errorLogLine(stage, currentPath, message);
        writeFileAtomic(file, std::span(reinterpret_cast<const uint8_t*>(line.data()), line.size()));
    } catch (...) {
        // The log is a courtesy; the player goes on whatever happens here.
    }
}

} // namespace lv
