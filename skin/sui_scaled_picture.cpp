#include "skin/sui_scaled_picture.h"

#include "gui/core/dpi_scale.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/image_list.h"
#include "gui/win/picture.h"
#include "skin/scaled_picture_choice.h"

#include <optional>

namespace nestora::skin {

namespace {

// StretchBlt with the stretching mode chosen, the DC's own mode put back afterwards.
void StretchBitmap(gui::TCanvas& canvas, const gui::TRect& dest, gui::TBitmap& source,
                   bool halftone) {
    const HDC dc = canvas.Handle();
    const int oldMode = ::SetStretchBltMode(dc, halftone ? HALFTONE : COLORONCOLOR);
    POINT oldOrigin{};
    // HALFTONE needs the brush origin set again after the mode (the system's own rule).
    if (halftone)
        ::SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    ::StretchBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), source.Canvas().Handle(), 0,
                 0, source.Width(), source.Height(), SRCCOPY);
    if (halftone)
        ::SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    if (oldMode != 0)
        ::SetStretchBltMode(dc, oldMode);
}

bool HasTwoX(HINSTANCE module, const std::optional<std::wstring>& twoXRef) {
    if (!twoXRef)
        return false;
    const std::wstring name = twoXRef->substr(0, twoXRef->find(L'['));
    return gui::HasBitmapResource(module, name);
}

void DrawScaled(gui::TCanvas& canvas, const gui::TRect& dest, const gui::TGraphic& oneX,
                HINSTANCE module, const std::wstring& ref, int dpi) {
    const std::optional<std::wstring> twoXRef = ref.empty() ? std::nullopt : TwoXPictureRef(ref);
    const PictureScaling choice = ChoosePictureScaling(dpi, HasTwoX(module, twoXRef));
    if (choice.twoX) {
        gui::TPicture twoX;
        twoX.LoadFromResourceRef(module, *twoXRef);
        if (auto* bitmap = dynamic_cast<gui::TBitmap*>(twoX.Graphic())) {
            StretchBitmap(canvas, dest, *bitmap, choice.halftone);
            return;
        }
    }
    // A bitmap through our own stretching; an icon draws itself at any size.
    if (const auto* bitmap = dynamic_cast<const gui::TBitmap*>(&oneX)) {
        gui::TBitmap copy;
        copy.Assign(*bitmap);
        copy.SetTransparent(false);
        StretchBitmap(canvas, dest, copy, choice.halftone);
        return;
    }
    canvas.StretchDraw(dest, oneX);
}

} // namespace

void DrawPictureAtDpi(gui::TCanvas& canvas, const gui::TRect& dest, const gui::TPicture& picture,
                      int dpi) {
    const gui::TGraphic* graphic = picture.Graphic();
    if (!graphic || graphic->Empty() || dest.IsEmpty())
        return;
    if (dpi <= 0 || dpi == gui::kDesignDpi) {
        // What the skin always did at 96 dpi, pixel for pixel.
        if (dest.Width() == picture.Width() && dest.Height() == picture.Height())
            canvas.Draw(dest.Left, dest.Top, *graphic);
        else
            canvas.StretchDraw(dest, *graphic);
        return;
    }
    DrawScaled(canvas, dest, *graphic,
               picture.ResourceModule() ? picture.ResourceModule() : ::GetModuleHandleW(nullptr),
               picture.ResourceRef(), dpi);
}

void DrawImageAtDpi(gui::TCanvas& canvas, const gui::TImageList& list, int x, int y, int size,
                    int index, bool enabled, int dpi) {
    if (dpi <= 0 || dpi == gui::kDesignDpi || size <= 0) {
        list.Draw(canvas, x, y, index, enabled);
        return;
    }
    const gui::TRect dest = gui::BoundsRect(x, y, size, size);
    gui::TBitmap cell;
    cell.SetPixelFormat(gui::TPixelFormat::pf24bit);
    cell.SetSize(list.Width(), list.Height());
    const HDC cellDc = cell.Canvas().Handle();
    const int oldMode = ::SetStretchBltMode(cellDc, HALFTONE);
    ::SetBrushOrgEx(cellDc, 0, 0, nullptr);
    ::StretchBlt(cellDc, 0, 0, list.Width(), list.Height(), canvas.Handle(), dest.Left, dest.Top,
                 dest.Width(), dest.Height(), SRCCOPY);
    ::SetStretchBltMode(cellDc, oldMode);
    list.Draw(cell.Canvas(), 0, 0, index, enabled);
    StretchBitmap(canvas, dest, cell, ChoosePictureScaling(dpi, false).halftone);
}

void DrawBitmapResourceAtDpi(gui::TCanvas& canvas, const gui::TRect& dest, const std::wstring& name,
                             int dpi) {
    gui::TPicture picture;
    picture.LoadFromResourceRef(::GetModuleHandleW(nullptr), name);
    DrawPictureAtDpi(canvas, dest, picture, dpi);
}

} // namespace nestora::skin
