#pragma once

// The few shell ids the program names, written out. The import library keeps its ids in one
// object of some 2,500; naming one of them linked all of them (40 KB) into the executable.

#include <windows.h>

namespace nestora::app {

// SID_STopLevelBrowser: the service that hands out a shell window's IShellBrowser.
inline constexpr GUID kTopLevelBrowserService = {
    0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};

// CLSID_ShellWindows: the shell's collection of its open windows.
inline constexpr CLSID kShellWindowsClass = {
    0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};

// CLSID_FileOperation: the shell's file operation (IFileOperation), Vista and later.
inline constexpr CLSID kFileOperationClass = {
    0x3AD05575, 0x8857, 0x4850, {0x92, 0x77, 0x11, 0xB8, 0x5B, 0xDB, 0x8E, 0x09}};

// FOLDERID_Desktop.
inline constexpr GUID kDesktopFolderId = {
    0xB4BFCC3A, 0xDB2C, 0x424C, {0xB0, 0x29, 0x7F, 0xE9, 0x9A, 0x87, 0xC6, 0x41}};

} // namespace nestora::app
