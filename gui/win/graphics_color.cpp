#include "gui/win/graphics_color.h"

namespace nestora::gui {

COLORREF ColorToRGB(TColor color) {
    if (IsSystemColor(color))
        return ::GetSysColor(static_cast<int>(color & 0xFFu));
    return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

TColor ColorFromRGB(COLORREF rgb) {
    if (rgb == CLR_INVALID)
        return clNone;
    return static_cast<TColor>(rgb & 0x00FFFFFFu);
}

} // namespace nestora::gui
