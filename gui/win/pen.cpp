#include "gui/win/pen.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/win/graphics_color.h"

#include <algorithm>

namespace nestora::gui {

const EnumInfo kPenStyleInfo{
    "TPenStyle",
    {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};

const ClassInfo& TPen::StaticClassInfo() {
    static const ClassInfo info = ClassBuilder<TPen>("TPen", &TPersistent::StaticClassInfo())
                                      .Color("Color", &TPen::Color, &TPen::SetColor)
                                      .Enum("Style", kPenStyleInfo, &TPen::Style, &TPen::SetStyle)
                                      .Int("Width", &TPen::Width, &TPen::SetWidth)
                                      .Build();
    return info;
}

TPen::TPen() = default;
TPen::~TPen() = default;

void TPen::SetColor(TColor color) {
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width) {
    width = std::max(width, 1);
    if (width == width_)
        return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

HPEN TPen::Handle() const {
    if (style_ == TPenStyle::psClear)
        return static_cast<HPEN>(::GetStockObject(NULL_PEN));
    if (!handle_) {
        static constexpr int kStyles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                          PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_.reset(::CreatePen(kStyles[static_cast<int>(style_)], width_, ColorToRGB(color_)));
        if (!handle_)
            throw EOutOfResources(L"Cannot create a pen");
    }
    return handle_.get();
}

void TPen::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TPen*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this ||
        (color_ == other->color_ && width_ == other->width_ && style_ == other->style_))
        return;
    color_ = other->color_;
    width_ = other->width_;
    style_ = other->style_;
    Changed();
}

void TPen::Changed() {
    // Whoever selected the old pen hears of the change while it still exists.
    CountedPen old = std::move(handle_);
    if (onChange_)
        onChange_(this);
}

} // namespace nestora::gui
