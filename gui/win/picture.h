#pragma once
// TPicture: holds one graphic (a bitmap or an icon, or nothing) for a component property
// such as a title-bar button's pictures.
//
// A picture owns its graphic. Setting one, or assigning another picture, copies the
// graphic — two pictures never share one. Changes of the graphic (resizing the bitmap,
// loading it) reach the picture's OnChange.
//
// Window descriptions set pictures by a resource text (gui/core/picture_ref.h):
// "MACOS_TITLEBTN" loads the whole BITMAP resource (or the ICON group of that name when
// there is no bitmap), "MACOS_TITLEBTN[13/18]" cell 13 of the bitmap cut into 18 equal
// cells. A resource the module lacks raises EResNotFound "Resource MACOS_TITLEBTN not
// found"; a malformed text EConvertError.

#include "gui/win/graphics_win32.h"

#include "gui/core/events.h"
#include "gui/core/object.h"
#include "gui/win/graphics.h"

#include <memory>
#include <string>
#include <string_view>

namespace nestora::gui {

class TBitmap;
class TIcon;

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // The graphic, or null.
    TGraphic* Graphic() const { return graphic_.get(); }
    // Holds a copy of graphic (null empties the picture).
    void SetGraphic(const TGraphic* graphic);
    // The graphic as a bitmap: a picture holding anything else (or nothing) gets an empty
    // bitmap in its place first.
    TBitmap& Bitmap();
    // The same for an icon.
    TIcon& Icon();

    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    bool Empty() const { return !graphic_ || graphic_->Empty(); }

    // A TPicture or a TGraphic: copied.
    void Assign(const TPersistent& source) override;

    // Loads what desc names from the module's resources (see above).
    void LoadFromResourceRef(HINSTANCE instance, std::wstring_view desc);
    // The same from the program's own module (what window descriptions use).
    void LoadFromResourceRef(std::wstring_view desc);

    // The resource text and module the graphic was loaded from by LoadFromResourceRef
    // (kept by Assign), or an empty text once the graphic came from anywhere else: a larger
    // drawing of the same picture is looked up by it.
    const std::wstring& ResourceRef() const { return resourceRef_; }
    HINSTANCE ResourceModule() const { return resourceModule_; }

    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

private:
    void Replace(std::unique_ptr<TGraphic> graphic);
    void Remember(HINSTANCE instance, std::wstring_view text);
    void Changed();

    std::unique_ptr<TGraphic> graphic_;
    std::wstring resourceRef_;
    HINSTANCE resourceModule_ = nullptr;
    TNotifyEvent onChange_;
};

} // namespace nestora::gui
