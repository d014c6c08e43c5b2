#pragma once

// Fitting a whole water project to a target size: picture, mask and the size-dependent wave values.

#include "engine/ProjectData.h"

#include <cstdint>

namespace lv {

// Scales the project in place to width x height (with proportional, to the largest box of the picture's
// proportions inside it): the picture by smooth resize, the mask by nearest-neighbour stretch, and each
// area's Amplitude (by the width ratio), Distortion (by the height ratio) and loaded speed (by the area
// ratio), each rounded half to even. The caller prepares the generator again afterwards.
// Throws lv::Error when the project has no picture or the target size is not a valid bitmap size.
void FitProject(bool proportional, ProjectData& project, int32_t width, int32_t height);

} // namespace lv
