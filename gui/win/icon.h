#pragma once
// TIcon: an icon (HICON) as a graphic.
//
// Life story: created empty; filled by LoadFromResourceName (an ICON group resource at a
// requested size; EResNotFound "Resource NAME not found" when the module has none), by
// SetHandle (takes over an HICON: the icon destroys it), or by Assign (a copy made with
// CopyIcon, never the same handle). Drawn through its mask, so it is always transparent.
// Destroying the icon destroys the HICON.

#include "gui/win/graphics_win32.h"

#include "gui/win/graphics.h"
#include "gui/win/graphics_counters.h"

#include <string>

namespace nestora::gui {

class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool Empty() const override { return !icon_; }
    bool Transparent() const override { return true; }

    HICON Handle() const { return icon_.get(); }
    // Takes over icon (empty: the icon becomes empty); its size is read from it.
    void SetHandle(UniqueIcon icon);
    [[nodiscard]] UniqueIcon ReleaseHandle();

    // width and height 0: the system's large icon size.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name, int width = 0,
                              int height = 0);

    void Assign(const TPersistent& source) override;
    std::unique_ptr<TGraphic> Clone() const override;

protected:
    void Draw(TCanvas& canvas, const TRect& rect) const override;

private:
    CountedIcon icon_;
    int width_ = 0;
    int height_ = 0;
};

// The size of an icon from its bitmaps (GetIconInfo); {0, 0} when it cannot be read.
TSize IconSize(HICON icon);

} // namespace nestora::gui
