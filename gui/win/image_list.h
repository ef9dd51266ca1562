#pragma once
// TImageList: a list of equally sized images (16 by 16 by default) with masks, drawn by
// index; the images of menus, tool bars and the tray icon.
//
// Life story:
//   created   empty, Width and Height 16; owned by its form like any component.
//   filled    Add (a bitmap and an optional mask bitmap: white/non-black mask pixels are
//             transparent), AddMasked (a bitmap and a transparent colour), AddIcon, or the
//             published "Bitmaps": a list of picture resource texts (gui/core/picture_ref.h,
//             e.g. "IMG_EXIT" or "STRIP[2/3]"), each added in turn — an ICON group as an
//             icon, a bitmap with alpha through its alpha, any other bitmap masked by the
//             colour of its bottom-left pixel. A bitmap wider than Width gives one image per
//             Width pixels. Set Width and Height before Bitmaps.
//   drawn     Draw(canvas, x, y, index, enabled). Disabled images are drawn from greyed
//             copies made when the images are added (pale greys of each pixel's
//             brightness, transparency kept: see gui/core/image_list_pixels.h).
//   watched   users register a TChangeLink and hear of every change (images added,
//             removed, cleared, sizes changed); a link unregisters itself when it dies,
//             and a dying list tells its links (their Sender() becomes null).
//   destroyed the HIMAGELISTs are destroyed with it.
//
// The list keeps its images' pixels itself; the comctl32 image lists (ILC_COLOR32 |
// ILC_MASK) are made from them when Handle() or drawing needs them.

#include "gui/win/graphics_win32.h"

#include "gui/core/color.h"
#include "gui/core/component.h"
#include "gui/core/events.h"
#include "gui/core/image_list_pixels.h"
#include "gui/win/graphics_counters.h"

#include <string>
#include <vector>

namespace nestora::gui {

class TBitmap;
class TCanvas;
class TIcon;
class TImageList;

// A user's registration for news of an image list's changes.
class TChangeLink {
public:
    TChangeLink() = default;
    ~TChangeLink();
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;

    // The list this link is registered with, or null.
    TImageList* Sender() const { return sender_; }
    // Runs with the image list as sender.
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

private:
    friend class TImageList;
    TImageList* sender_ = nullptr;
    TNotifyEvent onChange_;
};

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner);
    ~TImageList() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing a size removes all images (they no longer fit). 1..256 pixels.
    void SetWidth(int width);
    void SetHeight(int height);

    int Count() const { return static_cast<int>(images_.size()); }

    // Each returns the index of the first image added.
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    int AddMasked(const TBitmap& image, TColor maskColor);
    int AddIcon(const TIcon& icon);
    void Delete(int index); // out of range: nothing happens
    void Clear();

    // Draws image index with its top-left corner at (x, y); an index out of range draws
    // nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // The image as an icon (icon is emptied for an index out of range).
    void GetIcon(int index, TIcon& icon) const;
    // The image's colour pixels (transparent ones black) as a 32-bit bitmap of the list's
    // size; with mask, also its mask (white where transparent).
    void GetBitmap(int index, TBitmap& image, TBitmap* mask = nullptr) const;

    // The comctl32 image list (ILC_COLOR32 | ILC_MASK), made on demand; owned by the list.
    HIMAGELIST Handle() const;
    // The same for the greyed images.
    HIMAGELIST DisabledHandle() const;

    void RegisterChanges(TChangeLink& link);
    void UnRegisterChanges(TChangeLink& link);
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

    // "Bitmaps": resource texts loaded from the program's module (replacing all images).
    const std::vector<std::wstring>& Bitmaps() const { return bitmaps_; }
    void SetBitmaps(const std::vector<std::wstring>& descs);
    // The same from another module.
    void LoadBitmaps(HINSTANCE instance, const std::vector<std::wstring>& descs);

protected:
    // Tells the links, then OnChange.
    virtual void Change();

private:
    struct Image {
        ImagePixels normal;
        ImagePixels disabled;
    };
    int AddImages(std::vector<ImagePixels> images);
    std::vector<ImagePixels> ImagesOf(const TBitmap& bitmap) const;
    ImagePixels IconImage(const TIcon& icon) const;
    void Invalidate();
    HIMAGELIST Build(bool disabled) const;

    int width_ = 16;
    int height_ = 16;
    std::vector<Image> images_;
    std::vector<std::wstring> bitmaps_;
    std::vector<TChangeLink*> links_;
    TNotifyEvent onChange_;
    mutable CountedImageList handle_;
    mutable CountedImageList disabledHandle_;
};

} // namespace nestora::gui
