#pragma once
// Helpers shared by the graphics tests: memory bitmaps to draw on and pixel reads that do
// not go through the code under test (the DIB's bytes are read directly).

#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/graphics_counters.h"
#include "gui/win/handles.h"

#include <cstdint>
#include <vector>

namespace nestora::gui::testing {

// The window as the screen shows it, frame and all (24 bits a pixel): what the user sees,
// which a picture the window prints of itself need not be.
inline void CopyFromScreen(HWND window, TBitmap& shot) {
    RECT r{};
    ::GetWindowRect(window, &r);
    shot.SetPixelFormat(TPixelFormat::pf24bit);
    shot.SetSize(r.right - r.left, r.bottom - r.top);
    const WindowDC screen = WindowDC::Client(nullptr);
    ::BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen.get(), r.left, r.top,
             SRCCOPY);
}

// A 32-bit bitmap of that size filled with one colour.
inline void MakeFilled(TBitmap& bitmap, int width, int height, TColor color) {
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = (RedOf(color) << 16) | (GreenOf(color) << 8) | BlueOf(color);
    }
}

// The colour of a pixel, read from the DIB's bytes (24 or 32 bits).
inline TColor PixelOf(const TBitmap& bitmap, int x, int y) {
    const std::uint8_t* p =
        bitmap.ScanLine(y) + x * (bitmap.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3);
    return RGBColor(p[2], p[1], p[0]);
}

// How many pixels of the rectangle have exactly that colour.
inline int CountColor(const TBitmap& bitmap, const TRect& r, TColor color) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (PixelOf(bitmap, x, y) == color)
                ++n;
    return n;
}

// A system module with known resources (comctl32's tool-bar bitmaps, user32's icons),
// loaded once and kept for the whole test run.
inline HMODULE SystemModule(const wchar_t* name) {
    HMODULE module = ::GetModuleHandleW(name);
    return module ? module : ::LoadLibraryW(name);
}

// A 16 by 16 icon: red in the left half, transparent (mask set) in the right half.
inline UniqueIcon HalfRedIcon() {
    std::vector<std::uint8_t> maskBits(16 * 2);
    for (int y = 0; y < 16; ++y)
        maskBits[y * 2 + 1] = 0xFF; // right 8 pixels of each row transparent
    UniqueBitmap mask(::CreateBitmap(16, 16, 1, 1, maskBits.data()));
    TBitmap color;
    MakeFilled(color, 16, 16, clBlack);
    color.Canvas().Brush().SetColor(clRed);
    color.Canvas().FillRect(MakeRect(0, 0, 8, 16));
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.get();
    info.hbmColor = color.Handle();
    return UniqueIcon(::CreateIconIndirect(&info));
}

// Live handles of the graphics layer, for leak checks.
struct LiveHandles {
    long gdi = HandleCounters::LiveGdiObjects();
    long user = HandleCounters::LiveUserObjects();
    long processGdi = ProcessGdiObjects();
    long processUser = ProcessUserObjects();
};

} // namespace nestora::gui::testing
