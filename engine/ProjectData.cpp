#include "engine/ProjectData.h"

namespace lv {

void ProjectData::recreateObjects() {
    Loaded = false;
    Picture = Bitmap();
    Thumbnail = Bitmap();
    Mask = Bitmap();
    Areas = {};
    Weather = {};
}

} // namespace lv
