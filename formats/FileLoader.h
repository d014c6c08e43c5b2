#pragma once

// Reads one water project file. The whole file (or its header) is read and checked before any
// of it is handed out, so a failed load gives the caller nothing half-filled.

#include "engine/WaveParams.h"
#include "platform/Bitmap.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lv {

class TFileLoader {
  public:
    // Items 1 to 11. Throws "Incorrect Project File!" for a wrong signature or impossible structure,
    // IoError for a file that cannot be opened or ends early, PictureError for a JPEG that does not decode.
    void LoadFromFile(const std::filesystem::path& path);
    // Signature, title, description and thumbnail only.
    void LoadHeader(const std::filesystem::path& path);

    void GiveMask(Bitmap& mask) const;
    void GivePicture(Bitmap& picture);
    void GiveThumbnail(Bitmap& thumbnail);
    void GiveAreas(std::array<TWaveParam, kAreaCount>& areas) const { areas = areas_; }
    void GiveWeather(TWeatherParam& weather) const { weather = weather_; }

    const std::string& Title() const { return title_; }
    const std::string& Description() const { return description_; }
    const std::string& Sound() const { return sound_; }
    const std::vector<int32_t>& MaskRuns() const { return maskRuns_; }

  private:
    class Reader;
    void readHeader(Reader& reader);

    std::vector<int32_t> maskRuns_;
    Bitmap picture_;
    Bitmap thumbnail_;
    std::array<TWaveParam, kAreaCount> areas_{};
    TWeatherParam weather_{};
    std::string title_, description_, sound_;
};

} // namespace lv
