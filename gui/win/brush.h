#pragma once
// TBrush: how areas are filled — a colour, no fill at all (bsClear), a hatch, or a bitmap
// pattern (an 8 by 8 bitmap tiled; the brush keeps its own copy of it).
//
// Like TFont, a change runs OnChange before the old HBRUSH is freed, so a canvas can
// deselect it first. bsClear is the stock NULL_BRUSH, which nobody frees.

#include "gui/win/graphics_win32.h"

#include "gui/core/class_info.h"
#include "gui/core/color.h"
#include "gui/core/events.h"
#include "gui/core/object.h"
#include "gui/win/graphics_counters.h"

#include <memory>

namespace nestora::gui {

class TBitmap;

enum class TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross,
};
extern const EnumInfo kBrushStyleInfo;

class TBrush : public TPersistent {
public:
    TBrush();
    ~TBrush() override;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TColor Color() const { return color_; }
    // Setting a colour on a clear brush makes it solid again.
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    // The pattern, or null. Setting copies the bitmap (null removes the pattern); while a
    // pattern is set it fills instead of the colour and style.
    const TBitmap* Bitmap() const { return pattern_.get(); }
    void SetBitmap(const TBitmap* pattern);

    HBRUSH Handle() const;
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    void Assign(const TPersistent& source) override;
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

private:
    void Changed();

    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    std::unique_ptr<TBitmap> pattern_;
    mutable CountedBrush handle_;
    TNotifyEvent onChange_;
};

} // namespace nestora::gui
