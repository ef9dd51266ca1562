#include "gui/win/panel.h"

#include "gui/core/class_builder.h"
#include "gui/win/graphics_color.h"

namespace nestora::gui {

namespace {

// A bevel of width pixels around rect (shrinking it): raised is light above and left,
// dark below and right; lowered the other way round.
void DrawBevel(TCanvas& canvas, TRect& rect, TBevelCut cut, int width) {
    if (cut == TBevelCut::bvNone)
        return;
    const TColor light = cut == TBevelCut::bvRaised ? clBtnHighlight : clBtnShadow;
    const TColor dark = cut == TBevelCut::bvRaised ? clBtnShadow : clBtnHighlight;
    for (int i = 0; i < width && !rect.IsEmpty(); ++i) {
        if (cut != TBevelCut::bvSpace) {
            canvas.Brush().SetColor(light);
            canvas.FillRect(TRect{rect.Left, rect.Top, rect.Right, rect.Top + 1});
            canvas.FillRect(TRect{rect.Left, rect.Top, rect.Left + 1, rect.Bottom});
            canvas.Brush().SetColor(dark);
            canvas.FillRect(TRect{rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom});
            canvas.FillRect(TRect{rect.Right - 1, rect.Top, rect.Right, rect.Bottom});
        }
        rect = InflatedRect(rect, -1, -1);
    }
}

} // namespace

const ClassInfo& TCustomPanel::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TCustomPanel>("TCustomPanel", &TCustomControl::StaticClassInfo()).Build();
    return info;
}

const ClassInfo& TPanel::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TPanel>("TPanel", &TCustomPanel::StaticClassInfo())
            .Creatable()
            .Enum("Alignment", kAlignmentInfo, &TPanel::Alignment, &TPanel::SetAlignment)
            .Enum("BevelInner", kBevelCutInfo, &TPanel::BevelInner, &TPanel::SetBevelInner)
            .Enum("BevelOuter", kBevelCutInfo, &TPanel::BevelOuter, &TPanel::SetBevelOuter)
            .Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth)
            .Int("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth)
            .Enum("BorderStyle", kBorderStyleInfo, &TPanel::BorderStyle, &TPanel::SetBorderStyle)
            .Text("Caption", &TPanel::Caption, &TPanel::SetCaption)
            .Build();
    return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (borderStyle_ == TBorderStyle::bsSingle)
        params.style |= WS_BORDER;
}

int TCustomPanel::BevelSpace() const {
    int space = BorderWidth();
    if (bevelOuter_ != TBevelCut::bvNone)
        space += bevelWidth_;
    if (bevelInner_ != TBevelCut::bvNone)
        space += bevelWidth_;
    return space;
}

void TCustomPanel::AlignControls(TRect rect) {
    // rect already lacks BorderWidth; the bevels take their share too.
    const int bevels = BevelSpace() - BorderWidth();
    TCustomControl::AlignControls(InflatedRect(rect, -bevels, -bevels));
}

void TCustomPanel::Paint() {
    TControlCanvas& canvas = Canvas();
    TRect rect = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(rect);
    DrawBevel(canvas, rect, bevelOuter_, bevelWidth_);
    rect = InflatedRect(rect, -BorderWidth(), -BorderWidth());
    DrawBevel(canvas, rect, bevelInner_, bevelWidth_);
    const std::wstring caption = Caption();
    if (caption.empty() || rect.IsEmpty())
        return;
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    flags |= alignment_ == TAlignment::taCenter        ? DT_CENTER
             : alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                                                        : DT_LEFT;
    if (!Enabled())
        canvas.Font().SetColor(clGrayText);
    canvas.DrawText(caption, rect, flags);
}

void TCustomPanel::SetBevelOuter(TBevelCut cut) {
    if (cut == bevelOuter_)
        return;
    bevelOuter_ = cut;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut cut) {
    if (cut == bevelInner_)
        return;
    bevelInner_ = cut;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int width) {
    width = std::max(width, 1);
    if (width == bevelWidth_)
        return;
    bevelWidth_ = width;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    if (HandleAllocated()) {
        const HWND window = Handle();
        const LONG s = ::GetWindowLongW(window, GWL_STYLE);
        ::SetWindowLongW(window, GWL_STYLE,
                         style == TBorderStyle::bsSingle ? s | WS_BORDER : s & ~WS_BORDER);
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    Invalidate();
}

} // namespace nestora::gui
