// Picture files: the format is chosen by the file's extension, without regard to letter case.

#include "platform/Picture.h"

#include "platform/Errors.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace lv {
namespace {

constexpr int kSavedJpegQuality = 90;

// The extension as written in the name, without its dot.
std::string extensionOf(const std::filesystem::path& path) {
    const std::string extension = path.extension().string();
    return extension.empty() ? extension : extension.substr(1);
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

[[noreturn]] void failUnknownExtension(const std::string& extension) {
    throw PictureError("Unknown picture file extension (." + extension + ")");
}

} // namespace

Bitmap loadPicture(const std::filesystem::path& path) {
    const std::string extension = extensionOf(path);
    const std::string kind = lowerCase(extension);
    Bitmap (*decode)(std::span<const uint8_t>) = nullptr;
    if (kind == "jpg" || kind == "jpeg" || kind == "jpe")
        decode = decodeJpeg;
    else if (kind == "bmp")
        decode = decodeBmp;
    else if (kind == "gif")
        decode = decodeGif;
    else
        failUnknownExtension(extension);
    const std::vector<uint8_t> bytes = readFile(path);
    return decode(bytes);
}

void savePicture(const Bitmap& bitmap, const std::filesystem::path& path) {
    const std::string extension = extensionOf(path);
    const std::string kind = lowerCase(extension);
    std::vector<uint8_t> bytes;
    if (kind == "bmp")
        bytes = encodeBmp(bitmap);
    else if (kind == "ppm")
        bytes = encodePpm(bitmap);
    else if (kind == "png")
        bytes = encodePng(bitmap);
    else if (kind == "jpg" || kind == "jpeg")
        bytes = encodeJpeg(bitmap, kSavedJpegQuality);
    else
        failUnknownExtension(extension);
    writeFileAtomic(path, bytes);
}

} // namespace lv
