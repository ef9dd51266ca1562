// Pictures kept for the documentation: a window's picture as the screen shows it, saved as
// a BMP file (the demonstration tools that picture the program's job in an Explorer window
// of the stand-in shell server), and a test's own screenshots.
#pragma once

#include "gui/win/bitmap.h"

#include <windows.h>

#include <string>

namespace nestora::testing {

// Copies what the screen shows within the window's rectangle (a window in front shows
// itself); false when the window is gone or the file could not be written.
bool SaveWindowPicture(HWND window, const std::wstring& path);

// Saves the picture as NAME.bmp into the folder NESTORA_SCREENSHOTS names, when it is set
// (scripts/run takes the documentation's pictures so); nothing otherwise.
void KeepScreenshot(const gui::TBitmap& shot, const std::string& name);

} // namespace nestora::testing
