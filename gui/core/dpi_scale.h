#pragma once
// Sizes designed at 96 dots per inch turned into the pixels of a display of another DPI.
// Windows rounds such products with MulDiv (to the nearest, halves away from zero), and so
// does everything here: a size the system scales and a size we scale never differ by one.
// Plain arithmetic without windows.h, shared by the framework, the skin and their tests.

#include "gui/core/graphics_geometry.h"

namespace nestora::gui {

// The DPI every window description, style metric and menu height is written for.
inline constexpr int kDesignDpi = 96;

// value * numerator / denominator, rounded to the nearest integer with halves away from
// zero. A zero denominator gives value unchanged; a result beyond int saturates.
int MulDivRound(int value, int numerator, int denominator);

// A 96-dpi value at dpi. A dpi of 0 or less (nothing known) leaves it as it is.
inline int ScaleToDpi(int value96, int dpi) {
    return dpi > 0 ? MulDivRound(value96, dpi, kDesignDpi) : value96;
}
// A value laid out at fromDpi, laid out again at toDpi.
inline int ScaleBetweenDpis(int value, int fromDpi, int toDpi) {
    return fromDpi > 0 && toDpi > 0 ? MulDivRound(value, toDpi, fromDpi) : value;
}
// Each of the four numbers on its own: two controls of the same designed width stay of
// the same width whatever their positions.
TRect ScaleBoundsToDpi(const TRect& bounds96, int dpi);
TSize ScaleSizeToDpi(TSize size96, int dpi);

} // namespace nestora::gui
