#include "formats/FileSaver.h"

#include "formats/MaskRuns.h"
#include "formats/MyStream.h"
#include "formats/RecordBytes.h"
#include "platform/Errors.h"
#include "platform/Numeric.h"
#include "platform/Picture.h"
#include "platform/Resample.h"

namespace lv {
Bitmap makeThumbnail(const Bitmap& picture) {
    Bitmap thumbnail(kThumbnailWidth, kThumbnailHeight);
    if (picture.empty()) return thumbnail;
    const int32_t w = picture.width(), h = picture.height();
    const double ratio = static_cast<double>(w) / h;
    int32_t left = 0, top = 0, width = kThumbnailWidth, height = kThumbnailHeight;
    if (h * 4 / 3 < w) {
        height = nearest(kThumbnailWidth / ratio);
        top = (kThumbnailHeight - height) / 2;
    } else {
        width = nearest(ratio * kThumbnailHeight);
        left = (kThumbnailWidth - width) / 2;
    }
    if (width > 0 && height > 0) {
        Bitmap drawn(width, height);
        nearestStretch(picture, drawn);
        thumbnail.draw(drawn, left, top);
    }
    return thumbnail;
}

void TFileSaver::SetMask(const Bitmap& mask) {
    maskRuns_ = encodeMaskRuns(mask);
}

void TFileSaver::SetPicture(const Bitmap& picture) {
    pictureJpeg_ = encodeJpeg(picture, kPictureJpegQuality);
    thumbnailJpeg_ = encodeJpeg(makeThumbnail(picture), kThumbnailJpegQuality);
}

void TFileSaver::SetStrings(std::string title, std::string description, std::string sound) {
    title_ = std::move(title);
    description_ = std::move(description);
    sound_ = std::move(sound);
}

void TFileSaver::SaveToFile(const std::filesystem::path& path) const {
    if (!areas_) throw Error("The project's areas are not set");
    TMyStream stream(path, TMyStream::Mode::Write);
    const auto writeCounted = [&](std::span<const uint8_t> bytes) {
        stream.WriteInt(static_cast<int32_t>(bytes.size()));
        stream.WriteBytes(bytes);
    };
    const auto writeString = [&](const std::string& text) {
        stream.WriteInt(static_cast<int32_t>(text.size()));
        stream.WriteText(text);
    };
    stream.WriteText(std::string_view(kProjectSignature, kProjectSignatureBytes));
    writeString(title_);
    writeString(description_);
    writeCounted(thumbnailJpeg_);
    stream.WriteInt(kAreaCount);
    for (const TWaveParam& area : *areas_) stream.WriteBytes(waveParamBytes(area));
    stream.WriteInt(static_cast<int32_t>(maskRuns_.size()));
    for (const int32_t value : maskRuns_) stream.WriteInt(value);
    writeCounted(pictureJpeg_);
    writeString(sound_);
    stream.WriteBytes(weatherParamBytes(weather_));
    const std::vector<uint8_t> reserved(kProjectReservedBytes, 0);
    stream.WriteBytes(reserved);
    stream.Commit();
}

} // namespace lv
