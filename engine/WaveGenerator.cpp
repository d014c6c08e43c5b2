#include "engine/WaveGenerator.h"

#include "platform/Numeric.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace lv {
namespace {

// nearest() for wave arguments, which can pass the int32 range: ties to even, saturating.
int64_t nearest64(double v) {
    if (std::isnan(v)) return 0;
    const double r = std::nearbyint(v);
    constexpr double kLimit = 9.2e18; // below 2^63, so the remainder below never sees INT64_MIN
    if (r <= -kLimit) return -static_cast<int64_t>(kLimit);
    if (r >= kLimit) return static_cast<int64_t>(kLimit);
    return static_cast<int64_t>(r);
}

// cosd of the whole degrees -359..359, filled by cosd itself so that table and call agree to the bit.
class CosineTable {
  public:
    CosineTable() {
        for (int32_t m = -kSpan; m <= kSpan; ++m) values_[static_cast<size_t>(m + kSpan)] = cosd(m);
    }
    double operator()(int64_t degrees) const {
        if (degrees >= -kSpan && degrees <= kSpan) return values_[static_cast<size_t>(degrees + kSpan)];
        return cosd(static_cast<double>(degrees));
    }

  private:
    static constexpr int32_t kSpan = 359;
    std::array<double, 2 * kSpan + 1> values_{};
};

const CosineTable& cosineTable() {
    static const CosineTable table;
    return table;
}

int32_t clampRow(int64_t v, int32_t last) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, 0, last));
}

} // namespace

TWaveGenerator::~TWaveGenerator() = default;

void TWaveGenerator::SetProject(ProjectData& project) {
    Project = &project;
    Picture = &project.Picture;
    Mask = &project.Mask;
    for (int32_t k = 0; k < kAreaCount; ++k) Params[static_cast<size_t>(k)] = &project.Area(k);
    SpeedPercent = project.SpeedPercent;
}

void TWaveGenerator::Prepare() {
    if (!Picture) return;
    Width = Picture->width();
    Height = Picture->height();
    Output.setSize(Width, Height);
    if (WeatherFrame && (WeatherFrame->width() != Width || WeatherFrame->height() != Height))
        WeatherFrame->setSize(Width, Height); // keeps the overlays' target the size of the frame
    Randomize();
    Phase = {};
    PictureRows.resize(static_cast<size_t>(Height));
    OutputRows.resize(static_cast<size_t>(Height));
    for (int32_t y = 0; y < Height; ++y) {
        PictureRows[static_cast<size_t>(y)] = Picture->row(y);
        OutputRows[static_cast<size_t>(y)] = Output.row(y);
    }
    PreparedPixels = Picture->pixels().data();
    RowWaves.assign(static_cast<size_t>(Height), TRowWave{});
    BuildAreaMap();
    RandomizeDistortion();
    NextFrame();
    Output.draw(*Picture);
}

void TWaveGenerator::BuildAreaMap() {
    const size_t rows = static_cast<size_t>(Height);
    AreaMap.assign(rows * static_cast<size_t>(Width), int16_t{-1});
    AreaRows.resize(rows);
    for (size_t y = 0; y < rows; ++y) AreaRows[y] = AreaMap.data() + y * static_cast<size_t>(Width);
    AreaTop.fill(kNoTop);
    AreaBottom.fill(0);
    Runs.clear();
    RowRunStart.assign(rows + 1, 0);
    // A mask of another size than the picture is a caller's fault; the whole picture stays land.
    const bool maskFits = Mask && Mask->width() == Width && Mask->height() == Height;
    MaskRows.assign(maskFits ? rows : 0, nullptr);
    for (int32_t y = 0; y < Height; ++y) {
        RowRunStart[static_cast<size_t>(y)] = static_cast<int32_t>(Runs.size());
        if (!maskFits) continue;
        const uint32_t* maskRow = MaskRows[static_cast<size_t>(y)] = Mask->row(y);
        int16_t* areaRow = AreaMap.data() + static_cast<size_t>(y) * static_cast<size_t>(Width);
        for (int32_t x = 0; x < Width; ++x) {
            const int32_t c = areaColorNumber(maskRow[x]);
            if (c > 0) {
                AreaTop[static_cast<size_t>(c - 1)] = std::min(AreaTop[static_cast<size_t>(c - 1)], y);
                AreaBottom[static_cast<size_t>(c - 1)] = std::max(AreaBottom[static_cast<size_t>(c - 1)], y);
            }
            areaRow[x] = static_cast<int16_t>(c - 1);
            if (c == 0) continue;
            if (!Runs.empty() && Runs.back().X1 == x && Runs.back().Area == c - 1 &&
                static_cast<size_t>(RowRunStart[static_cast<size_t>(y)]) < Runs.size())
                Runs.back().X1 = x + 1;
            else
                Runs.push_back({x, x + 1, static_cast<int16_t>(c - 1)});
        }
    }
    RowRunStart[rows] = static_cast<int32_t>(Runs.size());
}

void TWaveGenerator::RandomizeArea(int32_t area, int32_t range) {
    if (area < 0 || area >= kAreaCount) return;
    std::vector<int32_t>& offsets = DistortionOffsets[static_cast<size_t>(area)];
    offsets.resize(static_cast<size_t>(Width));
    for (int32_t& r : offsets) r = Random(range);
    const auto k = static_cast<size_t>(area);
    MaxOffset[k] = offsets.empty() ? 0 : *std::max_element(offsets.begin(), offsets.end());
    HasOffsets[k] = MaxOffset[k] != 0;
    OffsetSteps[k].resize(offsets.size());
    for (size_t x = 0; x < offsets.size(); ++x) OffsetSteps[k][x] = int64_t{offsets[x]} * Width;
}

void TWaveGenerator::RandomizeDistortion() {
    for (int32_t k = 0; k < kAreaCount; ++k) {
        const TWaveParam* p = Params[static_cast<size_t>(k)];
        RandomizeArea(k, p ? p->Distortion : 0);
    }
}

void TWaveGenerator::NextFrame() {
    if (PictureStillPrepared()) {
        ComputeRowWaves();
        CopyWaterPixels();
    }
    AdvancePhases();
    if (WeatherOn) StepWeather();
}

bool TWaveGenerator::PictureStillPrepared() const {
    // The row tables point into the picture as Prepare saw it; a picture changed since then
    // (a load, a resize) must not be read through them.
    return Picture && Height > 0 && Width > 0 && Picture->width() == Width && Picture->height() == Height &&
           Picture->pixels().data() == PreparedPixels && AreaRows.size() == static_cast<size_t>(Height) &&
           Output.width() == Width && Output.height() == Height;
}

void TWaveGenerator::ComputeRowWaves() {
    const CosineTable& cosine = cosineTable();
    std::array<double, kAreaCount> amp{}, freq{}, dAmp{}, dFreq{};
    std::array<bool, kAreaCount> active{};
    for (size_t k = 0; k < kAreaCount; ++k) {
        const TWaveParam& p = *Params[k];
        // Ripple 0 is a caller's fault (it divides and takes a remainder): such an area stays still.
        active[k] = p.Ripple != 0 && AreaTop[k] <= AreaBottom[k];
        if (!active[k]) continue;
        amp[k] = p.Amplitude;
        freq[k] = p.Frequency / (360.0 / p.Ripple);
        if (p.Perspective) {
            amp[k] = 0;
            const int32_t span = AreaBottom[k] - AreaTop[k];
            dAmp[k] = span != 0 ? static_cast<double>(p.Amplitude) / span : p.Amplitude;
            dFreq[k] = span != 0 ? freq[k] / span : freq[k];
        }
    }
    const double height = Height;
    for (int32_t y = 0; y < Height; ++y) {
        TRowWave& wave = RowWaves[static_cast<size_t>(y)];
        for (size_t k = 0; k < kAreaCount; ++k) {
            wave.Vert[k] = 0;
            wave.Horz[k] = 0;
            if (!active[k] || y < AreaTop[k] || y > AreaBottom[k]) continue;
            const TWaveParam& p = *Params[k];
            if (p.Perspective) { // grows before use: the first row already gets one step
                amp[k] = amp[k] + dAmp[k];
                freq[k] = freq[k] - dFreq[k] / 10;
            }
            const double t = static_cast<double>(Height - y) * freq[k] * 360 / height + Phase[k];
            const int64_t n = nearest64(t);
            wave.Vert[k] = nearest(amp[k] * cosine(n % p.Ripple));
            wave.Horz[k] = nearest(amp[k] * cosine(n % 360));
        }
    }
}

void TWaveGenerator::CopyWaterPixels() {
    // A pixel writes only its own column and reads only the picture, so the columns may be done in
    // any order as long as each column sees its rows top to bottom. Bands of columns keep the rows
    // that distortion offsets reach into in cache.
    const bool distorted = std::find(HasOffsets.begin(), HasOffsets.end(), true) != HasOffsets.end();
    const int32_t bandColumns = distorted ? kBandColumns : std::max(Width, 1);
    for (int32_t band = 0; band < Width; band += bandColumns) {
        const int32_t bandEnd = std::min(Width, band + bandColumns);
        for (int32_t y = 0; y < Height; ++y) {
            const int32_t first = RowRunStart[static_cast<size_t>(y)];
            const int32_t last = RowRunStart[static_cast<size_t>(y) + 1];
            for (int32_t i = first; i < last; ++i) {
                const TAreaRun& run = Runs[static_cast<size_t>(i)];
                if (run.X1 <= band) continue;
                if (run.X0 >= bandEnd) break;
                CopyRun(y, {std::max(run.X0, band), std::min(run.X1, bandEnd), run.Area});
            }
        }
    }
}

// One run of area k in row y. The plain rule, per pixel x with r = DistortionOffsets[k][x]:
//   ty = clamp(y - r), sy = clamp(y - r + vert), sx = clamp(x + horz);
//   Output[ty][x] = Picture[sy][sx] when AreaMap[ty][x], AreaMap[ty][sx] and AreaMap[sy][sx] are all k.
// The paths below compute exactly that, with the work that does not depend on x hoisted out.
void TWaveGenerator::CopyRun(int32_t y, const TAreaRun& run) {
    const auto k = static_cast<size_t>(run.Area);
    const int16_t area = run.Area;
    const TWaveParam& p = *Params[k];
    if (p.Ripple == 0) return;
    const TRowWave& wave = RowWaves[static_cast<size_t>(y)];
    const int64_t vert = p.Vertical ? wave.Vert[k] : 0;
    const int64_t horz = p.Horizontal ? wave.Horz[k] : 0;
    const int32_t lastRow = Height - 1, lastColumn = Width - 1;
    const int32_t x0 = run.X0, x1 = run.X1;

    if (!HasOffsets[k]) {
        // r = 0 everywhere: ty = y (which is in the run, so of area k) and sy is one row.
        const int32_t sy = clampRow(y + vert, lastRow);
        const int16_t* targetAreas = AreaRows[static_cast<size_t>(y)];
        const int16_t* sourceAreas = AreaRows[static_cast<size_t>(sy)];
        const uint32_t* source = PictureRows[static_cast<size_t>(sy)];
        uint32_t* target = OutputRows[static_cast<size_t>(y)];
        if (horz == 0) {
            if (sy == y) {
                std::memcpy(target + x0, source + x0, static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
                return;
            }
            for (int32_t x = x0; x < x1; ++x) {
                const uint32_t keep = sourceAreas[x] == area ? 0u : ~0u;
                target[x] = (source[x] & ~keep) | (target[x] & keep);
            }
            return;
        }
        // Columns whose source x + horz lies inside the picture, then the clamped ends.
        const int32_t inFirst = static_cast<int32_t>(std::clamp<int64_t>(-horz, x0, x1));
        const int32_t inLast = static_cast<int32_t>(std::clamp<int64_t>(lastColumn - horz + 1, inFirst, x1));
        auto copyClamped = [&](int32_t from, int32_t to, int32_t sx) {
            if (targetAreas[sx] != area || sourceAreas[sx] != area) return;
            for (int32_t x = from; x < to; ++x) target[x] = source[sx];
        };
        copyClamped(x0, inFirst, 0);
        const auto shift = static_cast<int32_t>(horz); // |horz| < Width here, or the loop is empty
        for (int32_t x = inFirst; x < inLast; ++x) {
            const int32_t sx = x + shift;
            const bool take = (targetAreas[sx] == area) & (sourceAreas[sx] == area);
            const uint32_t keep = take ? 0u : ~0u;
            target[x] = (source[sx] & ~keep) | (target[x] & keep);
        }
        copyClamped(inLast, x1, lastColumn);
        return;
    }

    CopyDistortedRun(y, run, vert, horz);
}

// A run of an area with per-column offsets r: the target row y - r and the source row y - r + vert
// change from column to column.
void TWaveGenerator::CopyDistortedRun(int32_t y, const TAreaRun& run, int64_t vert, int64_t horz) {
    const auto k = static_cast<size_t>(run.Area);
    const int16_t area = run.Area;
    const int32_t lastRow = Height - 1, lastColumn = Width - 1;
    int32_t x0 = run.X0, x1 = run.X1;
    // Rows where no clamp can bite: y - r >= 0 and 0 <= y - r + vert <= lastRow for every r of the
    // area. There, and for the columns whose x + horz stays inside the picture, every address is a
    // fixed distance from the pixel's own index in the (contiguous) map, picture and output.
    const bool rowsInside =
        y - int64_t{MaxOffset[k]} >= 0 && y - int64_t{MaxOffset[k]} + vert >= 0 && y + vert <= lastRow;
    if (rowsInside) {
        const int32_t inFirst = static_cast<int32_t>(std::clamp<int64_t>(-horz, x0, x1));
        const int32_t inLast = static_cast<int32_t>(std::clamp<int64_t>(lastColumn - horz + 1, inFirst, x1));
        const size_t rowStart = static_cast<size_t>(y) * static_cast<size_t>(Width);
        const int16_t* areas = AreaMap.data() + rowStart;
        const uint32_t* picture = PictureRows[0] + rowStart;
        uint32_t* output = OutputRows[0] + rowStart;
        const int64_t* steps = OffsetSteps[k].data();
        const auto shift = static_cast<ptrdiff_t>(horz);
        const auto sourceShift = static_cast<ptrdiff_t>(vert * Width + horz);
        for (int32_t x = inFirst; x < inLast; ++x) {
            const ptrdiff_t target = x - static_cast<ptrdiff_t>(steps[x]); // (y - r, x)
            // One branch for the three same-area checks: all differences must be 0.
            const int differs = (areas[target] ^ area) | (areas[target + shift] ^ area) |
                                (areas[target + sourceShift] ^ area);
            if (differs == 0) output[target] = picture[target + sourceShift];
        }
        // The clamped columns at either end take the general loop below.
        CopyDistortedColumns(y, area, x0, inFirst, vert, horz);
        x0 = inLast;
    }
    CopyDistortedColumns(y, area, x0, x1, vert, horz);
}

void TWaveGenerator::CopyDistortedColumns(int32_t y, int16_t area, int32_t x0, int32_t x1, int64_t vert,
                                          int64_t horz) {
    const int32_t lastRow = Height - 1, lastColumn = Width - 1;
    const int32_t* offsets = DistortionOffsets[static_cast<size_t>(area)].data();
    const int16_t* const* areaRows = AreaRows.data();
    const uint32_t* const* pictureRows = PictureRows.data();
    uint32_t* const* outputRows = OutputRows.data();
    for (int32_t x = x0; x < x1; ++x) {
        const int64_t shifted = int64_t{y} - offsets[x];
        const int32_t ty = shifted < 0 ? 0 : static_cast<int32_t>(shifted); // shifted <= y
        const int32_t sy = clampRow(shifted + vert, lastRow);
        const int32_t sx = static_cast<int32_t>(std::clamp<int64_t>(x + horz, 0, lastColumn));
        const int16_t* targetAreas = areaRows[ty];
        if (targetAreas[x] == area && targetAreas[sx] == area && areaRows[sy][sx] == area)
            outputRows[ty][x] = pictureRows[sy][sx];
    }
}

void TWaveGenerator::AdvancePhases() {
    for (size_t k = 0; k < kAreaCount; ++k) {
        const TWaveParam* p = Params[k];
        if (!p) continue;
        const int32_t step = nearest(p->Speed * (SpeedPercent / 100.0));
        Phase[k] = p->Direction == 0 ? wrapSub(Phase[k], step) : wrapAdd(Phase[k], step);
    }
}

void TWaveGenerator::StepWeather() {
    if (!WeatherFrame || !Project) return;
    WeatherFrame->draw(Output);
    const TWeatherParam& weather = Project->Weather;
    if (weather.Kind == kWeatherSnow && Snow) {
        Snow->SpeedPercent = SpeedPercent;
        Snow->SpeedIndex = weather.Speed;
        Snow->Step();
    } else if (weather.Kind == kWeatherRain && Rain) {
        Rain->SpeedPercent = SpeedPercent;
        Rain->SpeedIndex = weather.Speed;
        Rain->LengthFactor = weather.Length;
        Rain->Angle = wrapSub(180, weather.Wind);
        Rain->Step();
    }
}

void TWaveGenerator::ResetOutput() {
    if (Picture) Output.draw(*Picture);
}

void TWaveGenerator::SetWeather(bool on) {
    WeatherOn = on;
    WeatherFrame.reset();
    Snow.reset();
    Rain.reset();
    if (!on) return;
    WeatherFrame = std::make_unique<Bitmap>(Output.width(), Output.height());
    const TWeatherParam weather = Project ? Project->Weather : TWeatherParam{};
    if (weather.Kind == kWeatherSnow) {
        Snow = std::make_unique<TSnow>();
        Snow->Target = WeatherFrame.get();
        Snow->SetCount(weather.ParticleCount);
        Snow->Scatter();
    } else if (weather.Kind == kWeatherRain) {
        Rain = std::make_unique<TRain>();
        Rain->LengthFactor = 10;
        Rain->SetCount(100);
        Rain->Target = WeatherFrame.get();
        Rain->SetCount(weather.ParticleCount);
        Rain->Scatter();
    }
}

void TWaveGenerator::RestartWeather() {
    const int32_t count = Project ? Project->Weather.ParticleCount : 0;
    if (Snow) {
        Snow->SetCount(count);
        Snow->Scatter();
    }
    if (Rain) {
        Rain->SetCount(count);
        Rain->Scatter();
    }
}

void TWaveGenerator::SetSpeed(int32_t percent) {
    SpeedPercent = percent;
    if (!WeatherOn || !Project) return;
    if (Project->Weather.Kind == kWeatherSnow && Snow) Snow->SpeedPercent = percent;
    if (Project->Weather.Kind == kWeatherRain && Rain) Rain->SpeedPercent = percent;
}

} // namespace lv
