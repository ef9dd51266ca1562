// A window's picture as the screen shows it, saved as a BMP file: for the demonstration
// tools that picture the program's job in an Explorer window of the stand-in shell server.
#pragma once

#include <windows.h>

#include <string>

namespace nestora::testing {

// Copies what the screen shows within the window's rectangle (a window in front shows
// itself); false when the window is gone or the file could not be written.
bool SaveWindowPicture(HWND window, const std::wstring& path);

} // namespace nestora::testing
