// The skin's shared Windows helpers: loading a style's bitmaps from the program's own
// resources, cutting one state image out of a strip, the desktop's work area, placing a
// form, pushing a style onto a frame's children, and the window region with rounded top
// corners.
//
// The style table itself and its colour, integer and flag lookups are plain data in
// skin/style_table.h; the choice between table and theme file is skin/resolve_style.h.
// This file adds what needs Windows. Bitmaps are loaded on demand, every time, and any
// temporary bitmap lives only for the length of one call.
#pragma once

#include "gui/core/class_info.h"
#include "gui/core/graphics_geometry.h"
#include "gui/win/handles.h"
#include "skin/style_table.h"

namespace nestora::gui {
class TBitmap;
class TComponent;
class TCustomForm;
class TWinControl;
} // namespace nestora::gui

namespace nestora::skin {

// The names of TsuiUIStyle as window descriptions write them, by ordinal; every skinned
// component publishes its UIStyle with it.
extern const gui::EnumInfo kUIStyleInfo;

// Whether a component's class publishes a property of that name: the framework's own.
using gui::HasPublishedProperty;

// Puts the element's bitmap of a built-in style into dest: the whole picture when count is
// 0, otherwise cell index (1-based) of count equal cells. Nothing happens when dest is null
// or the element is no bitmap for that style (FromThemeFile and junk style bytes included),
// nor when index or count name no cell. A resource the module lacks raises the graphics
// library's EResNotFound.
void GetStyleBitmap(TsuiUIStyle style, StyleElement element, gui::TBitmap* dest, int index = 0,
                    int count = 0);

// Copies cell index (1-based) of a strip of count equal cells side by side into dest, 1:1,
// and gives dest the cell's size (the cell width is the strip width divided by count,
// rounded down). strip and dest may be the same bitmap. Returns false, leaving dest as it
// was, when count is not positive or index is outside 1..count.
bool CutStateImage(gui::TBitmap& strip, gui::TBitmap& dest, int count, int index);

// The desktop's work area (the screen less the task bar), from SPI_GETWORKAREA; the
// primary screen when the system cannot tell. That is the primary monitor's: maximising
// uses GetMonitorWorkArea.
gui::TRect GetWorkArea();

// The work area of the monitor the window is on (the one nearest to it when it is on none),
// from MonitorFromWindow and that monitor's rcWork; GetWorkArea when the system cannot tell.
gui::TRect GetMonitorWorkArea(HWND window);

// Whether the form's window is maximised now (IsZoomed). WindowState follows only after the
// form's own size message, so a maximise or restore the system started (Win+Up, the task
// bar) is seen here first; a form without its window answers by its WindowState.
bool IsFormMaximised(const gui::TCustomForm& form);

// Left, Top, Width (Right - Left) and Height (Bottom - Top), set in that order.
void SetFormBounds(gui::TCustomForm& form, const gui::TRect& rect);

// For each direct child control of frame, in index order, that publishes both "FileTheme"
// and "UIStyle": FileTheme := theme (may be null), then UIStyle := style, by name, so each
// child's own setters run. Other children are left alone.
void SetChildrenUIStyle(gui::TWinControl& frame, TsuiUIStyle style, gui::TComponent* theme);

// Gives the form's window a region with rounded top corners of the given radius (corner
// ellipses radius wide and high) and square bottom corners, over its client rectangle
// (L, T, R + 1, B + 1). A radius of 0 or less gives the plain rectangle. In design mode
// nothing changes on the window. After SetWindowRgn the window owns the region.
void ApplyRoundCornerRegion(gui::TCustomForm& form, int radius);
// The region ApplyRoundCornerRegion hands to the window, for a client rectangle.
gui::UniqueRegion MakeRoundCornerRegion(const gui::TRect& client, int radius);

} // namespace nestora::skin
