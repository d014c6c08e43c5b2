#include "engine/uResizer.h"

#include "platform/Errors.h"
#include "platform/Numeric.h"
#include "platform/Resample.h"

#include <algorithm>
#include <string>

namespace lv {
namespace {

// The largest box of the picture's proportions inside width x height.
void proportionalBox(int32_t w, int32_t h, int32_t& width, int32_t& height) {
    const double ratio = static_cast<double>(w) / h;
    if (int64_t{h} * width / height < w)
        height = std::max(1, nearest(width / ratio));
    else
        width = std::max(1, nearest(height * ratio));
}

void scaleValues(ProjectData& project, int32_t w, int32_t h, int32_t width, int32_t height) {
    const double widthRatio = static_cast<double>(width) / w;
    const double heightRatio = static_cast<double>(height) / h;
    const double areaRatio = (static_cast<double>(width) * height) / (static_cast<double>(w) * h);
    for (int i = 0; i < kAreaCount; ++i) {
        TWaveParam& area = project.Area(i);
        area.Amplitude = nearest(widthRatio * area.Amplitude);
        area.Distortion = nearest(heightRatio * area.Distortion);
        project.LoadedSpeeds[static_cast<size_t>(i)] =
            nearest(areaRatio * project.LoadedSpeeds[static_cast<size_t>(i)]);
    }
}

} // namespace

void FitProject(bool proportional, ProjectData& project, int32_t width, int32_t height) {
    const int32_t w = project.Picture.width(), h = project.Picture.height();
    if (project.Picture.empty()) throw Error("The project has no picture to fit");
    if (width <= 0 || height <= 0 || !Bitmap::validSize(width, height))
        throw Error("Cannot fit a picture to " + std::to_string(width) + " x " + std::to_string(height));
    if (proportional) proportionalBox(w, h, width, height);

    Bitmap picture(width, height);
    Bitmap mask;
    if (!project.Mask.empty()) {
        mask.setSize(width, height);
        nearestStretch(project.Mask, mask);
    }
    smoothResize(project.Picture, picture);

    scaleValues(project, w, h, width, height);
    project.Picture = std::move(picture);
    project.Mask = std::move(mask);
}

} // namespace lv
