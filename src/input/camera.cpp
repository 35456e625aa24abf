// Reading touches through the view.
#include "camera.hpp"

namespace qm {

ScreenPoint finger_pixel(float fx, float fy, const ScreenTransform& transform) {
    return {static_cast<std::int32_t>(fx * static_cast<float>(transform.width)),
            static_cast<std::int32_t>(fy * static_cast<float>(transform.height))};
}

}  // namespace qm
