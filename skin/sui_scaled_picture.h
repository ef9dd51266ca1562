// The one place where the skin draws a resource picture at the DPI of its window: the 1x
// picture as it always was at 96 dpi, else the 2x picture (the same resource name plus
// "_2X") when the module has it, reduced with halftone between 1x and 2x and enlarged above,
// or the 1x picture stretched when there is no 2x one (skin/scaled_picture_choice.h decides).
//
// Resources are read for each drawing, as the skin's pictures always are: nothing is kept
// between paints, so a window that stays hidden holds no extra pictures.
#pragma once

#include "gui/win/graphics_win32.h"

#include "gui/core/graphics_geometry.h"

#include <string>

namespace nestora::gui {
class TCanvas;
class TImageList;
class TPicture;
} // namespace nestora::gui

namespace nestora::skin {

// Draws picture into dest (the picture's size scaled to dpi, normally). At 96 dpi a
// picture dest is exactly as big as is copied as it is; otherwise it is stretched. The 2x
// picture is found through the picture's ResourceRef; a picture without one (made in code,
// taken from a theme file) is stretched from its own pixels.
void DrawPictureAtDpi(gui::TCanvas& canvas, const gui::TRect& dest, const gui::TPicture& picture,
                      int dpi);

// The same for a whole BITMAP resource of the program named name ("MENU_CHECKED").
void DrawBitmapResourceAtDpi(gui::TCanvas& canvas, const gui::TRect& dest, const std::wstring& name,
                             int dpi);

// Image index of list at (x, y), size pixels square (the list's size scaled to dpi). At 96
// dpi the list draws it itself; otherwise it is drawn at the list's size over the
// background reduced into a cell and the cell is stretched back, so its transparent parts
// still show what lies under them.
void DrawImageAtDpi(gui::TCanvas& canvas, const gui::TImageList& list, int x, int y, int size,
                    int index, bool enabled, int dpi);

} // namespace nestora::skin
