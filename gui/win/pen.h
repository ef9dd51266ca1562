#pragma once
// TPen: how lines and outlines are drawn — colour, width in pixels and style.
//
// Like TFont, a change runs OnChange before the old HPEN is freed, so a canvas can
// deselect it first. psClear is the stock NULL_PEN, which nobody frees.

#include "gui/win/graphics_win32.h"

#include "gui/core/class_info.h"
#include "gui/core/color.h"
#include "gui/core/events.h"
#include "gui/core/object.h"
#include "gui/win/graphics_counters.h"

namespace nestora::gui {

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
extern const EnumInfo kPenStyleInfo;

class TPen : public TPersistent {
public:
    TPen();
    ~TPen() override;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width); // values below 1 count as 1
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);

    HPEN Handle() const;
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    void Assign(const TPersistent& source) override;
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

private:
    void Changed();

    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    mutable CountedPen handle_;
    TNotifyEvent onChange_;
};

} // namespace nestora::gui
