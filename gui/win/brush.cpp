#include "gui/win/brush.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/win/bitmap.h"
#include "gui/win/graphics_color.h"

namespace nestora::gui {

const EnumInfo kBrushStyleInfo{"TBrushStyle",
                               {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                "bsBDiagonal", "bsCross", "bsDiagCross"}};

const ClassInfo& TBrush::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TBrush>("TBrush", &TPersistent::StaticClassInfo())
            .Color("Color", &TBrush::Color, &TBrush::SetColor)
            .Enum("Style", kBrushStyleInfo, &TBrush::Style, &TBrush::SetStyle)
            .Build();
    return info;
}

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::SetColor(TColor color) {
    const TBrushStyle style = style_ == TBrushStyle::bsClear ? TBrushStyle::bsSolid : style_;
    if (color == color_ && style == style_)
        return;
    color_ = color;
    style_ = style;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TBrush::SetBitmap(const TBitmap* pattern) {
    if (!pattern && !pattern_)
        return;
    std::unique_ptr<TBitmap> copy;
    if (pattern && !pattern->Empty()) {
        copy = std::make_unique<TBitmap>();
        copy->Assign(*pattern);
    }
    pattern_ = std::move(copy);
    Changed();
}

HBRUSH TBrush::Handle() const {
    if (handle_)
        return handle_.get();
    if (pattern_) {
        handle_.reset(::CreatePatternBrush(pattern_->Handle()));
    } else {
        switch (style_) {
        case TBrushStyle::bsClear:
            return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
        case TBrushStyle::bsSolid:
            handle_.reset(::CreateSolidBrush(ColorToRGB(color_)));
            break;
        default: {
            static constexpr int kHatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL,
                                               HS_BDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};
            const int hatch =
                kHatches[static_cast<int>(style_) - static_cast<int>(TBrushStyle::bsHorizontal)];
            handle_.reset(::CreateHatchBrush(hatch, ColorToRGB(color_)));
            break;
        }
        }
    }
    if (!handle_)
        throw EOutOfResources(L"Cannot create a brush");
    return handle_.get();
}

void TBrush::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TBrush*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    color_ = other->color_;
    style_ = other->style_;
    pattern_.reset();
    if (other->pattern_) {
        pattern_ = std::make_unique<TBitmap>();
        pattern_->Assign(*other->pattern_);
    }
    Changed();
}

void TBrush::Changed() {
    // Whoever selected the old brush hears of the change while it still exists.
    CountedBrush old = std::move(handle_);
    if (onChange_)
        onChange_(this);
}

} // namespace nestora::gui
