#include "gui/core/dpi_scale.h"

#include <cstdint>
#include <limits>

namespace nestora::gui {

int MulDivRound(int value, int numerator, int denominator) {
    if (denominator == 0)
        return value;
    std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    std::int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    // Integer division truncates toward zero, so half the divisor goes the product's way.
    const std::int64_t half = divisor / 2;
    const std::int64_t result = (product >= 0 ? product + half : product - half) / divisor;
    if (result > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (result < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(result);
}

TRect ScaleBoundsToDpi(const TRect& bounds96, int dpi) {
    const int left = ScaleToDpi(bounds96.Left, dpi);
    const int top = ScaleToDpi(bounds96.Top, dpi);
    return BoundsRect(left, top, ScaleToDpi(bounds96.Width(), dpi),
                      ScaleToDpi(bounds96.Height(), dpi));
}

TSize ScaleSizeToDpi(TSize size96, int dpi) {
    return TSize{ScaleToDpi(size96.Width, dpi), ScaleToDpi(size96.Height, dpi)};
}

} // namespace nestora::gui
