#include "skin/sui_style_win.h"

#include "gui/core/component.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/form.h"

#include <cstdint>
#include <optional>
#include <string>

namespace nestora::skin {

const gui::EnumInfo kUIStyleInfo{
    "TsuiUIStyle", {"FromThemeFile", "MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"}};

void GetStyleBitmap(TsuiUIStyle style, StyleElement element, gui::TBitmap* dest, int index,
                    int count) {
    if (!dest)
        return;
    const std::wstring_view name = StyleBitmapName(style, element);
    if (name.empty())
        return;
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    if (count == 0) {
        dest->LoadFromResourceName(module, std::wstring(name));
        return;
    }
    // A bad cell request must neither load anything nor touch dest.
    if (!StateCellRect(1, 1, count, index))
        return;
    gui::TBitmap strip;
    strip.LoadFromResourceName(module, std::wstring(name));
    CutStateImage(strip, *dest, count, index);
}

bool CutStateImage(gui::TBitmap& strip, gui::TBitmap& dest, int count, int index) {
    const std::optional<SkinRect> cell = StateCellRect(strip.Width(), strip.Height(), count, index);
    if (!cell)
        return false;
    const gui::TRect source = gui::MakeRect(cell->left, cell->top, cell->right, cell->bottom);
    const gui::TRect whole = gui::MakeRect(0, 0, cell->Width(), cell->Height());
    // Through a copy of its own, so that dest may be the strip itself.
    gui::TBitmap piece;
    piece.SetPixelFormat(strip.PixelFormat());
    piece.SetSize(whole.Width(), whole.Height());
    if (!piece.Empty())
        piece.Canvas().CopyRect(whole, strip.Canvas(), source);

    dest.SetSize(whole.Width(), whole.Height());
    if (dest.Empty())
        return true;
    gui::TCanvas& canvas = dest.Canvas();
    const DWORD mode = canvas.CopyMode();
    canvas.SetCopyMode(SRCCOPY);
    canvas.CopyRect(whole, piece.Canvas(), whole);
    canvas.SetCopyMode(mode);
    return true;
}

gui::TRect GetWorkArea() {
    RECT area{};
    if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        return gui::MakeRect(area.left, area.top, area.right, area.bottom);
    return gui::MakeRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}

gui::TRect GetMonitorWorkArea(HWND window) {
    const HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !::GetMonitorInfoW(monitor, &info))
        return GetWorkArea();
    return gui::MakeRect(info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom);
}

bool IsFormMaximised(const gui::TCustomForm& form) {
    if (form.HandleAllocated())
        return ::IsZoomed(const_cast<gui::TCustomForm&>(form).Handle()) != FALSE;
    return form.WindowState() == gui::TWindowState::wsMaximized;
}

void SetFormBounds(gui::TCustomForm& form, const gui::TRect& rect) {
    form.SetLeft(rect.Left);
    form.SetTop(rect.Top);
    form.SetWidth(rect.Width());
    form.SetHeight(rect.Height());
}

void SetChildrenUIStyle(gui::TWinControl& frame, TsuiUIStyle style, gui::TComponent* theme) {
    // Index order; a child's setter may not add or remove siblings, but the count is read
    // anew each time so that it could without harm.
    for (int i = 0; i < frame.ControlCount(); ++i) {
        gui::TControl* child = frame.Controls(i);
        if (!HasPublishedProperty(*child, "FileTheme") || !HasPublishedProperty(*child, "UIStyle"))
            continue;
        gui::SetPropertyValue(*child, "FileTheme", gui::PropertyValue(theme));
        gui::SetPropertyValue(*child, "UIStyle",
                              gui::PropertyValue(static_cast<std::int64_t>(style)));
    }
}

gui::UniqueRegion MakeRoundCornerRegion(const gui::TRect& client, int radius) {
    // A negative radius would turn the squares below inside out and add area outside the
    // window; it means no rounding at all.
    const int r = radius > 0 ? radius : 0;
    const int l = client.Left;
    const int t = client.Top;
    const int right = client.Right;
    const int b = client.Bottom;
    gui::UniqueRegion region(::CreateRoundRectRgn(l, t, right + 1, b + 1, r, r));
    if (!region || r == 0)
        return region;
    // Square the bottom corners off again.
    const gui::UniqueRegion bottomLeft(::CreateRectRgn(l, b - 2 * r, l + 2 * r, b));
    const gui::UniqueRegion bottomRight(::CreateRectRgn(right - 2 * r, b - 2 * r, right, b));
    if (bottomLeft)
        ::CombineRgn(region.get(), region.get(), bottomLeft.get(), RGN_OR);
    if (bottomRight)
        ::CombineRgn(region.get(), region.get(), bottomRight.get(), RGN_OR);
    return region;
}

void ApplyRoundCornerRegion(gui::TCustomForm& form, int radius) {
    gui::UniqueRegion region = MakeRoundCornerRegion(form.ClientRect(), radius);
    if (!region || form.IsDesigning())
        return; // the region goes with `region`
    HWND window = form.Handle();
    if (!window)
        return;
    // The window owns the region only when SetWindowRgn succeeds.
    if (::SetWindowRgn(window, region.get(), TRUE))
        static_cast<void>(region.release());
}

} // namespace nestora::skin
