#include "gui/win/custom_control.h"

#include "gui/core/class_builder.h"
#include "gui/win/handles.h"

namespace nestora::gui {

const ClassInfo& TCustomControl::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TCustomControl>("TCustomControl", &TWinControl::StaticClassInfo()).Build();
    return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TControlCanvas& TCustomControl::Canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<TControlCanvas>(*this);
    return *canvas_;
}

void TCustomControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

void TCustomControl::Paint() {
    TControlCanvas& canvas = Canvas();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(ClientRect());
}

void TCustomControl::PaintTo(HDC target) {
    const TRect client = ClientRect();
    if (client.IsEmpty())
        return;
    // Declared in this order so they go in reverse: the canvas lets go of the memory DC,
    // the bitmap is deselected, then deleted, then the DC.
    UniqueMemoryDC memory(::CreateCompatibleDC(target));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(target, client.Width(), client.Height()));
    const bool buffered = memory && bitmap;
    SelectObjectScope select(memory.get(), buffered ? bitmap.get() : nullptr);
    TControlCanvas& canvas = Canvas();
    // Short of memory for the buffer: paint straight on the target rather than not at all.
    canvas.BeginPainting(buffered ? memory.get() : target);
    struct EndPainting {
        TControlCanvas& c;
        ~EndPainting() { c.EndPainting(); }
    } end{canvas};
    canvas.Font().Assign(Font());
    canvas.Brush().SetColor(Color());
    Paint();
    if (buffered) {
        canvas.EndPainting();
        ::BitBlt(target, 0, 0, client.Width(), client.Height(), memory.get(), 0, 0, SRCCOPY);
    }
}

void TCustomControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1; // Paint covers the whole client area
        return;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = ::BeginPaint(m.Window, &ps);
        struct End {
            HWND w;
            PAINTSTRUCT& ps;
            ~End() { ::EndPaint(w, &ps); }
        } end{m.Window, ps};
        PaintTo(dc);
        return;
    }
    case WM_PRINTCLIENT:
        PaintTo(reinterpret_cast<HDC>(m.WParam));
        return;
    default:
        TWinControl::WndProc(m);
    }
}

} // namespace nestora::gui
