#include "shell/credit_glide.h"

#include "shell/config.h"

namespace {

constexpr float SlowDown = 0.033f;
constexpr float SpeedUp = 0.05f;

} // namespace

bool glideStep(float& pos, float& speed, int32_t width) {
    const double centre = static_cast<double>(pos) + (width >> 1);
    if (centre > ScreenWidth / 2) {
        speed = static_cast<float>(static_cast<double>(speed) - static_cast<double>(SlowDown));
    } else {
        speed = static_cast<float>(static_cast<double>(speed) + static_cast<double>(SpeedUp));
    }
    const double moved = static_cast<double>(pos) - static_cast<double>(speed);
    pos = static_cast<float>(moved);
    return moved < -width;
}
