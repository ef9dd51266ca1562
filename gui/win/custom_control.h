#pragma once
// TCustomControl: a windowed control that paints itself through its Canvas.
//
// Painting goes through an off-screen bitmap of the client area that is copied to the
// screen in one block, so a control is never seen half painted; the background is never
// erased separately (Paint covers everything). WM_PRINTCLIENT paints the same way into the
// DC it brings, so PrintWindow and a parent asking for a child's picture both work.
// Subclasses override Paint() and draw on Canvas(); Canvas() is usable outside painting as
// well (over the window's DC).

#include "gui/win/control_canvas.h"
#include "gui/win/win_control.h"

namespace nestora::gui {

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TControlCanvas& Canvas();

protected:
    // Draws the whole client area on Canvas(); its font is the control's, its brush the
    // control's colour.
    virtual void Paint();
    void WndProc(TMessage& message) override;
    bool CapturesMouse() const override { return true; }
    void CreateParams(TCreateParams& params) override;

    // Paints into dc (the screen's or a printing DC) through the off-screen bitmap.
    void PaintTo(HDC dc);
};

} // namespace nestora::gui
