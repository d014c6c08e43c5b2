#pragma once

// The wave generator: turns a still picture, its area mask and the four area records into animated
// frames. Each frame copies every water pixel from a displaced position of the still picture; the
// displacement of a row follows a cosine whose phase moves on every frame. Land is never written.

#include "engine/ProjectData.h"
#include "engine/Rain.h"
#include "engine/Snow.h"
#include "engine/WaveParams.h"
#include "platform/Bitmap.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace lv {

// The displacements of one row for each area (0 for areas whose span does not hold the row).
struct TRowWave {
    std::array<int32_t, kAreaCount> Vert{};
    std::array<int32_t, kAreaCount> Horz{};
};

class TWaveGenerator {
  public:
    static constexpr int32_t kNoTop = 50000;     // AreaTop of an area without pixels
    static constexpr int32_t kBandColumns = 128; // columns per band of the frame loop

    TWaveGenerator() = default; // Create: an empty Output
    ~TWaveGenerator();          // Destroy
    TWaveGenerator(const TWaveGenerator&) = delete;
    TWaveGenerator& operator=(const TWaveGenerator&) = delete;
    TWaveGenerator(TWaveGenerator&&) = default; // the row tables point into buffers that move along
    TWaveGenerator& operator=(TWaveGenerator&&) = default;

    // Takes the project's picture, mask, area records and speed percentage; prepares nothing.
    // The project must outlive the generator or be replaced by another SetProject.
    void SetProject(ProjectData& project);
    // Sizes, tables and the first state; again whenever the picture or its size changes.
    void Prepare();
    // Rebuilds the area map and the area spans from the mask (after every mask edit).
    void BuildAreaMap();
    void RandomizeArea(int32_t area, int32_t range);
    void RandomizeDistortion();
    // One frame into Output (and WeatherFrame when weather is on); advances the phases.
    void NextFrame();
    // Draws the picture over the whole Output, wiping whatever was drawn over the frame.
    void ResetOutput();
    void SetWeather(bool on);
    void RestartWeather();
    void SetSpeed(int32_t percent);

    // What callers show: WeatherFrame while weather is on, Output otherwise.
    const Bitmap& FrameOnShow() const { return WeatherOn && WeatherFrame ? *WeatherFrame : Output; }
    const Bitmap& output() const { return Output; }
    Bitmap& output() { return Output; }
    const Bitmap* weatherFrame() const { return WeatherFrame.get(); }
    // For a caller that adjusts the frame on show before painting it.
    Bitmap* weatherFrame() { return WeatherFrame.get(); }
    bool weatherOn() const { return WeatherOn; }
    const TSnow* snow() const { return Snow.get(); }
    const TRain* rain() const { return Rain.get(); }

    int32_t width() const { return Width; }
    int32_t height() const { return Height; }
    int32_t speedPercent() const { return SpeedPercent; }
    int32_t phase(int32_t area) const { return Phase.at(static_cast<size_t>(area)); }
    int32_t areaTop(int32_t area) const { return AreaTop.at(static_cast<size_t>(area)); }
    int32_t areaBottom(int32_t area) const { return AreaBottom.at(static_cast<size_t>(area)); }
    // Area index 0..3 of a pixel, -1 for land.
    int16_t areaAt(int32_t x, int32_t y) const { return AreaMap[static_cast<size_t>(y) * Width + x]; }
    std::span<const int32_t> distortionOffsets(int32_t area) const {
        return DistortionOffsets.at(static_cast<size_t>(area));
    }
    // The row displacements the last NextFrame used (Height entries).
    std::span<const TRowWave> rowWaves() const { return RowWaves; }

  private:
    // A stretch of one row whose pixels all belong to one area.
    struct TAreaRun {
        int32_t X0 = 0;
        int32_t X1 = 0; // one past the last column
        int16_t Area = -1;
    };

    void ComputeRowWaves();
    void CopyWaterPixels();
    void CopyRun(int32_t y, const TAreaRun& run);
    void CopyDistortedRun(int32_t y, const TAreaRun& run, int64_t vert, int64_t horz);
    void CopyDistortedColumns(int32_t y, int16_t area, int32_t x0, int32_t x1, int64_t vert, int64_t horz);
    void AdvancePhases();
    void StepWeather();
    bool PictureStillPrepared() const;

    int32_t Height = 0;
    int32_t Width = 0;
    std::array<int32_t, kAreaCount> Phase{};
    const Bitmap* Picture = nullptr;
    const Bitmap* Mask = nullptr;
    Bitmap Output;
    std::unique_ptr<Bitmap> WeatherFrame;
    int32_t SpeedPercent = 100;
    std::vector<const uint32_t*> MaskRows;
    std::vector<const uint32_t*> PictureRows;
    std::vector<uint32_t*> OutputRows;
    std::vector<int16_t> AreaMap;
    std::vector<const int16_t*> AreaRows;
    std::array<std::vector<int32_t>, kAreaCount> DistortionOffsets;
    std::array<TWaveParam*, kAreaCount> Params{};
    std::array<int32_t, kAreaCount> AreaTop{kNoTop, kNoTop, kNoTop, kNoTop};
    std::array<int32_t, kAreaCount> AreaBottom{};
    ProjectData* Project = nullptr;
    std::unique_ptr<TSnow> Snow;
    std::unique_ptr<TRain> Rain;
    bool WeatherOn = false;

    // Derived tables: per-frame row displacements, the runs of each row, and which areas have
    // non-zero distortion offsets (the others take the cheaper copy paths).
    std::vector<TRowWave> RowWaves;
    std::vector<TAreaRun> Runs;
    std::vector<int32_t> RowRunStart; // Height + 1 entries into Runs
    std::array<bool, kAreaCount> HasOffsets{};
    std::array<int32_t, kAreaCount> MaxOffset{};
    std::array<std::vector<int64_t>, kAreaCount> OffsetSteps; // offset x Width: a row shift in the map
    const uint32_t* PreparedPixels = nullptr;
};

} // namespace lv
