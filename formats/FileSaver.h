#pragma once

// Writes one water project file.

#include "engine/WaveParams.h"
#include "platform/Bitmap.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lv {

inline constexpr char kProjectSignature[] = "LV060697";
inline constexpr int kProjectSignatureBytes = 8;
inline constexpr int kThumbnailWidth = 80;
inline constexpr int kThumbnailHeight = 60;
inline constexpr int kPictureJpegQuality = 90;
inline constexpr int kThumbnailJpegQuality = 50;
inline constexpr int kProjectReservedBytes = 1000;

// The 80 x 60 thumbnail of a picture: black, with the picture stretched (nearest neighbour) into the
// largest box of its proportions, centred.
Bitmap makeThumbnail(const Bitmap& picture);

class TFileSaver {
  public:
    void SetMask(const Bitmap& mask);
    // Encodes the picture and builds the thumbnail from the same bitmap.
    void SetPicture(const Bitmap& picture);
    void SetAreas(const std::array<TWaveParam, kAreaCount>& areas) { areas_ = &areas; }
    void SetWeather(const TWeatherParam& weather) { weather_ = weather; }
    void SetStrings(std::string title, std::string description, std::string sound);
    // Writes the file; an existing file is replaced only once the whole new one is written.
    void SaveToFile(const std::filesystem::path& path) const;

    const std::vector<int32_t>& MaskRuns() const { return maskRuns_; }

  private:
    std::vector<int32_t> maskRuns_;
    std::vector<uint8_t> pictureJpeg_;
    std::vector<uint8_t> thumbnailJpeg_;
    const std::array<TWaveParam, kAreaCount>* areas_ = nullptr;
    TWeatherParam weather_{};
    std::string title_, description_, sound_;
};

} // namespace lv
