#pragma once
// TGraphic: the common base of pictures a canvas can draw — TBitmap and TIcon.
//
// A graphic has a size, may be empty, may be transparent (bitmaps leave out their
// transparent colour; icons always draw through their mask) and tells OnChange when its
// pixels or size change. Canvases draw it with Draw (at its own size) and StretchDraw
// (into a rectangle), which call the protected Draw below.

#include "gui/win/graphics_win32.h"

#include "gui/core/events.h"
#include "gui/core/graphics_geometry.h"
#include "gui/core/object.h"

#include <memory>

namespace nestora::gui {

class TCanvas;

class TGraphic : public TPersistent {
public:
    TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool transparent);

    // A new graphic of the same class holding a copy of this one (pictures copy, never
    // share).
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }
    const TNotifyEvent& OnChange() const { return onChange_; }

protected:
    friend class TCanvas;
    // Draws the graphic into rect of the canvas, scaled to it.
    virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
    void Changed();

private:
    bool transparent_ = false;
    TNotifyEvent onChange_;
};

} // namespace nestora::gui
