#include "gui/win/control_canvas.h"

#include "gui/core/exceptions.h"
#include "gui/win/win_control.h"

namespace nestora::gui {

TControlCanvas::~TControlCanvas() {
    // The base restores and forgets the DC; the window's DC is released after that.
    SetHandle(nullptr);
}

void TControlCanvas::BeginPainting(HDC dc) {
    SetHandle(nullptr);
    windowDC_ = WindowDC();
    SetHandle(dc);
    painting_ = true;
}

void TControlCanvas::EndPainting() {
    SetHandle(nullptr);
    painting_ = false;
}

void TControlCanvas::FreeHandle() {
    if (painting_ || !windowDC_)
        return;
    ReleaseHandle();
    windowDC_ = WindowDC();
}

void TControlCanvas::CreateHandle() {
    const HWND window = control_.Handle();
    if (!window)
        throw EInvalidOperation(L"The control has no window to draw on");
    windowDC_ = WindowDC::Client(window);
    if (!windowDC_)
        throw EOutOfResources(L"No device context for the control's window");
    AdoptHandle(windowDC_.get());
}

} // namespace nestora::gui
