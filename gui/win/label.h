#pragma once
// TLabel: a line (or a wrapped paragraph) of text on a form.
//
// A label is a real window of its own (class "TLabel"), like every control here: it gets
// the mouse itself (OnClick, OnDblClick), it can be hidden and moved like the others, and
// tests read its pixels from its own window. It never takes the focus.
//
// Background: its Color (its own or, with ParentColor, the parent's), unless Transparent:
// then the parent paints its own background (and picture) into the label's area first, so
// the label shows what is behind it.
// Text: Alignment (left, right, centred) across the width, Layout (top, centre, bottom)
// down the height, WordWrap breaks lines at the width; an ampersand marks an accelerator
// unless ShowAccelChar is off; a disabled label draws its text grey.
// AutoSize: the label takes the size of its text (with WordWrap: keeps its width and takes
// the height); a right-aligned label keeps its right edge. Sizing waits while a
// description is being read and happens once in Loaded.

#include "gui/win/custom_control.h"

#include "gui/core/control_types.h"

namespace nestora::gui {

class TCanvas;

class TCustomLabel : public TCustomControl {
public:
    explicit TCustomLabel(TComponent* owner);

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);

    // The size the text needs (with WordWrap: within the present width).
    TSize TextSize();

protected:
    void Paint() override;
    void Loaded() override;
    void TextChanged() override;
    void FontChanged() override;

private:
    unsigned TextFlags() const;
    void AdjustBounds();
    // How far the last letter's ink reaches past its advance (0 for most fonts).
    int InkOverhang();
    void PaintParentBackground(HDC dc);
    // Word-wrapped text, broken into lines by WrapWords and drawn a line at a time.
    void PaintWrapped(TCanvas& canvas, const std::wstring& text, const TRect& rect, unsigned flags);

    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool wordWrap_ = false;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool showAccelChar_ = true;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
};

} // namespace nestora::gui
