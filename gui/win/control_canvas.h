#pragma once
// TControlCanvas: the canvas of a control that paints itself (custom controls, forms).
//
// While the control paints, the canvas draws on the paint DC (or the off-screen bitmap the
// paint goes through). Outside painting, drawing on it takes the window's DC (GetDC), which
// the canvas gives back when the message in hand is done, when painting starts and when
// the window goes: Windows keeps only a few such DCs, so none is held across messages.

#include "gui/win/graphics_win32.h"

#include "gui/win/canvas.h"
#include "gui/win/handles.h"

namespace nestora::gui {

class TWinControl;

class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TWinControl& control) : control_(control) {}
    ~TControlCanvas() override;

    // Draws on dc until EndPainting (the window's own DC, if held, is given back first).
    void BeginPainting(HDC dc);
    void EndPainting();
    bool Painting() const { return painting_; }
    // Gives the window's DC back (nothing while painting).
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TWinControl& control_;
    WindowDC windowDC_;
    bool painting_ = false;
};

} // namespace nestora::gui
