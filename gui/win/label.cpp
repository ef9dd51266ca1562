#include "gui/win/label.h"

#include "gui/core/class_builder.h"
#include "gui/core/word_wrap.h"
#include "gui/win/canvas.h"
#include "gui/win/handles.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace nestora::gui {

const ClassInfo& TCustomLabel::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TCustomLabel>("TCustomLabel", &TCustomControl::StaticClassInfo()).Build();
    return info;
}

const ClassInfo& TLabel::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TLabel>("TLabel", &TCustomLabel::StaticClassInfo())
            .Creatable()
            .Enum("Alignment", kAlignmentInfo, &TLabel::Alignment, &TLabel::SetAlignment)
            .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
            .Text("Caption", &TLabel::Caption, &TLabel::SetCaption)
            .Enum("Layout", kTextLayoutInfo, &TLabel::Layout, &TLabel::SetLayout)
            .Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar)
            .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
            .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
            .Build();
    return info;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 65, 13);
}

unsigned TCustomLabel::TextFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (wordWrap_)
        flags |= DT_WORDBREAK;
    flags |= alignment_ == TAlignment::taCenter         ? DT_CENTER
             : alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                                                        : DT_LEFT;
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    return flags;
}

namespace {

// The flags that draw one line of a wrapped text: the lines are broken by WrapWords.
unsigned LineFlags(unsigned flags) {
    return (flags & ~static_cast<unsigned>(DT_WORDBREAK)) | DT_SINGLELINE;
}

} // namespace

TSize TCustomLabel::TextSize() {
    WindowDC screen = WindowDC::Client(nullptr);
    if (!screen)
        return TSize{Width(), Height()};
    SelectObjectScope font(screen.get(), Font().Handle());
    std::wstring text = Caption();
    // An empty label keeps the height of a line.
    if (text.empty())
        text = L" ";
    if (wordWrap_) {
        const unsigned lineFlags = LineFlags(TextFlags()) | DT_CALCRECT;
        const auto measure = [&](std::wstring_view piece) {
            RECT r{};
            ::DrawTextW(screen.get(), piece.data(), static_cast<int>(piece.size()), &r, lineFlags);
            return static_cast<int>(r.right - r.left);
        };
        const std::vector<WrappedLine> lines = WrapWords(text, std::max(Width(), 1), measure);
        SIZE line{};
        ::GetTextExtentPoint32W(screen.get(), L"Wg", 2, &line);
        int width = 0;
        for (const WrappedLine& l : lines)
            if (l.length > 0)
                width = std::max(width, measure(std::wstring_view(text).substr(l.start, l.length)));
        return TSize{width, static_cast<int>(line.cy) * static_cast<int>(lines.size())};
    }
    RECT r{0, 0, 0x7FFF, 0};
    ::DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &r,
                TextFlags() | DT_CALCRECT);
    return TSize{r.right - r.left, r.bottom - r.top};
}

int TCustomLabel::InkOverhang() {
    const std::wstring text = Caption();
    if (text.empty())
        return 0;
    WindowDC screen = WindowDC::Client(nullptr);
    if (!screen)
        return 0;
    SelectObjectScope font(screen.get(), Font().Handle());
    // A bold or slanted last letter may draw past its advance (a negative C width); a box
    // only as wide as the advances cuts it off.
    ABC abc{};
    const wchar_t last = text.back();
    if (!::GetCharABCWidthsW(screen.get(), last, last, &abc) || abc.abcC >= 0)
        return 0;
    return -abc.abcC;
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || IsLoading() || IsDestroying())
        return;
    const TSize size = TextSize();
    const int width = wordWrap_ ? Width() : size.Width + InkOverhang();
    int left = Left();
    if (alignment_ == TAlignment::taRightJustify)
        left += Width() - width;
    SetBounds(left, Top(), width, size.Height);
}

void TCustomLabel::PaintParentBackground(HDC dc) {
    TWinControl* parent = Parent();
    const HWND parentWindow = parent ? parent->Handle() : nullptr;
    if (!parentWindow)
        return;
    // The parent paints itself, shifted so that the label's corner is its (Left, Top).
    POINT previous{};
    ::OffsetViewportOrgEx(dc, -Left(), -Top(), &previous);
    ::SendMessageW(parentWindow, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SendMessageW(parentWindow, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

void TCustomLabel::Paint() {
    TControlCanvas& canvas = Canvas();
    TRect rect = ClientRect();
    if (transparent_) {
        PaintParentBackground(canvas.Handle());
    } else {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(rect);
    }
    const std::wstring text = Caption();
    if (text.empty())
        return;
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (!Enabled())
        canvas.Font().SetColor(clGrayText);
    const unsigned flags = TextFlags();
    if (wordWrap_) {
        PaintWrapped(canvas, text, rect, flags);
        return;
    }
    if (layout_ != TTextLayout::tlTop) {
        TRect measured = rect;
        canvas.DrawText(text, measured, flags | DT_CALCRECT);
        const int spare = rect.Height() - measured.Height();
        rect.Top += layout_ == TTextLayout::tlCenter ? spare / 2 : spare;
    }
    canvas.DrawText(text, rect, flags);
}

void TCustomLabel::PaintWrapped(TCanvas& canvas, const std::wstring& text, const TRect& rect,
                                unsigned flags) {
    const unsigned lineFlags = LineFlags(flags);
    const auto measure = [&](std::wstring_view piece) {
        TRect r{};
        canvas.DrawText(piece, r, lineFlags | DT_CALCRECT);
        return r.Width();
    };
    const std::vector<WrappedLine> lines = WrapWords(text, std::max(rect.Width(), 1), measure);
    const int lineHeight = canvas.TextHeight(L"Wg");
    int top = rect.Top;
    if (layout_ != TTextLayout::tlTop) {
        const int spare = rect.Height() - lineHeight * static_cast<int>(lines.size());
        top += layout_ == TTextLayout::tlCenter ? spare / 2 : spare;
    }
    for (const WrappedLine& line : lines) {
        if (line.length > 0) {
            TRect lineRect = MakeRect(rect.Left, top, rect.Right, top + lineHeight);
            canvas.DrawText(std::wstring_view(text).substr(line.start, line.length), lineRect,
                            lineFlags);
        }
        top += lineHeight;
    }
}

void TCustomLabel::Loaded() {
    TCustomControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::TextChanged() {
    TCustomControl::TextChanged();
    AdjustBounds();
}

void TCustomLabel::FontChanged() {
    TCustomControl::FontChanged();
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout layout) {
    if (layout == layout_)
        return;
    layout_ = layout;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap == wordWrap_)
        return;
    wordWrap_ = wordWrap;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool transparent) {
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool show) {
    if (show == showAccelChar_)
        return;
    showAccelChar_ = show;
    AdjustBounds();
    Invalidate();
}

} // namespace nestora::gui
