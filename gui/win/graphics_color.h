#pragma once
// TColor to the COLORREF that GDI wants: system colours ($FF0000nn) through GetSysColor,
// everything else as its low three bytes.

#include "gui/win/graphics_win32.h"

#include "gui/core/color.h"

namespace nestora::gui {

COLORREF ColorToRGB(TColor color);
// The TColor of a COLORREF read back from GDI (GetPixel); CLR_INVALID becomes clNone.
TColor ColorFromRGB(COLORREF rgb);

} // namespace nestora::gui
