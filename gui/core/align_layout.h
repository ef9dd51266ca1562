#pragma once
// Alignment of child controls inside their parent: the arithmetic, without windows.
//
// Controls with an Align other than alNone take their place in this order: all alTop ones
// (stacked downwards from the top), alBottom (upwards from the bottom), alLeft, alRight,
// and alClient ones fill what is left; within each group the parent's child order decides.
// A top or bottom control keeps its height and takes the full remaining width; a left or
// right one keeps its width and takes the full remaining height. Space never becomes
// negative: a control that does not fit gets what is left, down to nothing.

#include "gui/core/class_info.h"
#include "gui/core/graphics_geometry.h"

#include <vector>

namespace nestora::gui {

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
extern const EnumInfo kAlignInfo;

struct AlignRequest {
    TAlign align = TAlign::alNone;
    TRect bounds; // the control's present bounds in the parent's client coordinates
};

// The new bounds of every control, by index (alNone controls keep theirs).
std::vector<TRect> ArrangeAligned(const TRect& client, const std::vector<AlignRequest>& controls);

} // namespace nestora::gui
