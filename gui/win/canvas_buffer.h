#pragma once
// TPaintBuffer: double-buffered painting. Draw into an off-screen bitmap, then copy it to
// the target canvas in one block, so the screen never shows a half-painted state.
//
//     void TTitleBar::Paint(TCanvas& screen) {
//         TPaintBuffer buffer(screen, ClientRect());
//         TCanvas& c = buffer.Canvas();      // same coordinates as the screen
//         c.FillRect(…); c.TextOut(…);
//     }                                      // copied here (or by an earlier Flush())
//
// The buffer's canvas starts with copies of the target's font, pen and brush, and its
// coordinates are the target's: (area.Left, area.Top) is the buffer's first pixel.

#include "gui/win/graphics_win32.h"

#include "gui/core/graphics_geometry.h"
#include "gui/win/bitmap.h"

namespace nestora::gui {

class TCanvas;

class TPaintBuffer {
public:
    TPaintBuffer(TCanvas& target, const TRect& area);
    // Copies to the target unless Flush already did; errors are swallowed here (a failed
    // copy shows the old picture, which the next paint mends).
    ~TPaintBuffer();
    TPaintBuffer(const TPaintBuffer&) = delete;
    TPaintBuffer& operator=(const TPaintBuffer&) = delete;

    TCanvas& Canvas();
    // Copies the buffer to the target now (once).
    void Flush();

private:
    TCanvas& target_;
    TRect area_;
    TBitmap bitmap_;
    bool flushed_ = false;
};

} // namespace nestora::gui
