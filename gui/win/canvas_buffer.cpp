#include "gui/win/canvas_buffer.h"

#include "gui/win/canvas.h"

namespace nestora::gui {

TPaintBuffer::TPaintBuffer(TCanvas& target, const TRect& area) : target_(target), area_(area) {
    bitmap_.SetPixelFormat(TPixelFormat::pf32bit);
    if (area_.IsEmpty()) {
        flushed_ = true;
        return;
    }
    bitmap_.SetSize(area_.Width(), area_.Height());
    TCanvas& c = bitmap_.Canvas();
    c.Font().Assign(target.Font());
    c.Pen().Assign(target.Pen());
    c.Brush().Assign(target.Brush());
    ::SetViewportOrgEx(c.Handle(), -area_.Left, -area_.Top, nullptr);
}

TPaintBuffer::~TPaintBuffer() {
    try {
        Flush();
    } catch (...) {
    }
}

TCanvas& TPaintBuffer::Canvas() {
    return bitmap_.Canvas();
}

void TPaintBuffer::Flush() {
    if (flushed_)
        return;
    flushed_ = true;
    HDC source = bitmap_.Canvas().Handle();
    // One block: the whole area in a single BitBlt, at the buffer's own origin.
    POINT origin{};
    ::SetViewportOrgEx(source, 0, 0, &origin);
    ::BitBlt(target_.Handle(), area_.Left, area_.Top, area_.Width(), area_.Height(), source, 0, 0,
             SRCCOPY);
    ::SetViewportOrgEx(source, origin.x, origin.y, nullptr);
}

} // namespace nestora::gui
