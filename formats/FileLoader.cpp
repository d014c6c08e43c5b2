#include "formats/FileLoader.h"

#include "formats/FileSaver.h"
#include "formats/MaskRuns.h"
#include "formats/MyStream.h"
#include "formats/RecordBytes.h"
#include "platform/Errors.h"
#include "platform/Picture.h"

#include <cstring>

namespace lv {
namespace {

[[noreturn]] void refuse() {
    throw Error("Incorrect Project File!");
}

} // namespace

class TFileLoader::Reader : public TMyStream {
  public:
    explicit Reader(const std::filesystem::path& path) : TMyStream(path, Mode::Read) {}
    std::string ReadCountedString() { return ReadText(ReadCount()); }
    std::vector<uint8_t> ReadCountedBlock() { return ReadBlock(ReadCount()); }
};

void TFileLoader::readHeader(Reader& reader) {
    uint8_t signature[kProjectSignatureBytes];
    try {
        reader.ReadBytes(signature);
    } catch (const IoError&) {
        refuse(); // too short to be a project at all
    }
    if (std::memcmp(signature, kProjectSignature, kProjectSignatureBytes) != 0) refuse();
    title_ = reader.ReadCountedString();
    description_ = reader.ReadCountedString();
    thumbnail_ = decodeJpeg(reader.ReadCountedBlock());
}

void TFileLoader::LoadHeader(const std::filesystem::path& path) {
    Reader reader(path);
    readHeader(reader);
}

void TFileLoader::LoadFromFile(const std::filesystem::path& path) {
    Reader reader(path);
    readHeader(reader);

    const int32_t areaCount = reader.ReadCount();
    if (areaCount > kAreaCount) refuse();
    for (int32_t i = 0; i < areaCount; ++i) {
        std::array<uint8_t, kWaveParamBytes> record;
        reader.ReadBytes(record);
        areas_[static_cast<size_t>(i)] = waveParamFromBytes(record);
    }

    const int32_t maskLength = reader.ReadCount();
    if (static_cast<uint64_t>(maskLength) * 4 > reader.Remaining())
        throw IoError(path.string(), "Read beyond end of file");
    maskRuns_.resize(static_cast<size_t>(maskLength));
    for (int32_t& value : maskRuns_) value = reader.ReadInt();
    validateMaskRuns(maskRuns_);

    const std::vector<uint8_t> jpeg = reader.ReadCountedBlock();
    const PictureSize size = peekJpegSize(jpeg);
    if (size.width != maskRuns_[0] || size.height != maskRuns_[1]) refuse();
    picture_ = decodeJpeg(jpeg);

    sound_ = reader.ReadCountedString();
    std::array<uint8_t, kWeatherParamBytes> weather;
    reader.ReadBytes(weather);
    weather_ = weatherParamFromBytes(weather);
}

void TFileLoader::GiveMask(Bitmap& mask) const {
    decodeMaskRuns(maskRuns_, mask);
}

void TFileLoader::GivePicture(Bitmap& picture) {
    picture = std::move(picture_);
}

void TFileLoader::GiveThumbnail(Bitmap& thumbnail) {
    thumbnail = std::move(thumbnail_);
}

} // namespace lv
