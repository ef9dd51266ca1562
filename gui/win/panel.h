#pragma once
// TCustomPanel / TPanel: a container that paints its colour, up to two bevels and a
// caption. The skinned frame and its title bar are panels.
//
// Painting, from the outside in: the outer bevel (BevelWidth pixels, raised or lowered),
// BorderWidth pixels of the panel's colour, the inner bevel, then the caption centred
// vertically and placed by Alignment. BorderStyle bsSingle adds a one-pixel window border
// outside all of it.

#include "gui/win/custom_control.h"

#include "gui/core/control_types.h"

namespace nestora::gui {

class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut cut);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut cut);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    // The area inside the bevels and the border width, where children are laid out.
    void AlignControls(TRect rect) override;

private:
    int BevelSpace() const;

    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    int bevelWidth_ = 1;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
    TAlignment alignment_ = TAlignment::taCenter;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
};

} // namespace nestora::gui
