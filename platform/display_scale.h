#pragma once
// The window description is in pixels at 100% display scale (96 dots per inch). On a display
// set to another scale the desktop backends multiply every position, size and named font
// height by the scale, each rounded to whole pixels, so the window keeps its proportions and
// its text its room. At 100% every value stays exactly as described.
#include <cmath>

namespace vostrel::platform {

inline constexpr int kBaseDpi = 96;

class DisplayScale {
public:
    constexpr DisplayScale() = default;
    static DisplayScale fromDpi(int dpi) { return DisplayScale(dpi > 0 ? double(dpi) / kBaseDpi : 1.0); }
    static DisplayScale fromFactor(double factor) { return DisplayScale(factor > 0 ? factor : 1.0); }

    double factor() const { return factor_; }
    int pixels(int basePixels) const { return static_cast<int>(std::lround(basePixels * factor_)); }

private:
    constexpr explicit DisplayScale(double factor) : factor_(factor) {}
    double factor_ = 1.0;
};

} // namespace vostrel::platform
