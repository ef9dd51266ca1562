#include "gui/win/image_list.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/core/text.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/common_controls.h"
#include "gui/win/graphics_color.h"
#include "gui/win/icon.h"
#include "gui/win/picture.h"

#include <algorithm>
#include <iterator>

namespace nestora::gui {

namespace {

constexpr int kMaxImageSide = 256;

std::uint32_t PixelOfColor(TColor color) {
    const COLORREF rgb = ColorToRGB(color);
    return (static_cast<std::uint32_t>(GetRValue(rgb)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

// The decoded pixels of any bitmap handle, converted to 32 bits.
DecodedBitmap DecodedOf(HBITMAP handle) {
    TBitmap converted;
    converted.SetPixelFormat(TPixelFormat::pf32bit);
    converted.SetHandle(UniqueBitmap(handle));
    return converted.Decoded();
}

} // namespace

TChangeLink::~TChangeLink() {
    if (sender_)
        sender_->UnRegisterChanges(*this);
}

const ClassInfo& TImageList::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TImageList>("TImageList", &TComponent::StaticClassInfo())
            .Creatable()
            .Int("Width", &TImageList::Width, &TImageList::SetWidth)
            .Int("Height", &TImageList::Height, &TImageList::SetHeight)
            .StringList("Bitmaps", &TImageList::SetBitmaps)
            .Build();
    return info;
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
    for (TChangeLink* link : links_)
        link->sender_ = nullptr;
}

void TImageList::SetWidth(int width) {
    if (width < 1 || width > kMaxImageSide)
        throw EInvalidGraphic(FormatText(L"Invalid image width %s", {IntToStr(width)}));
    if (width == width_)
        return;
    width_ = width;
    images_.clear();
    Invalidate();
    Change();
}

void TImageList::SetHeight(int height) {
    if (height < 1 || height > kMaxImageSide)
        throw EInvalidGraphic(FormatText(L"Invalid image height %s", {IntToStr(height)}));
    if (height == height_)
        return;
    height_ = height;
    images_.clear();
    Invalidate();
    Change();
}

std::vector<ImagePixels> TImageList::ImagesOf(const TBitmap& bitmap) const {
    if (bitmap.Empty())
        throw EInvalidGraphic(L"Invalid bitmap: it has no pixels");
    const DecodedBitmap decoded = bitmap.Decoded();
    std::vector<ImagePixels> out;
    const int count = ImageCount(decoded.width, width_);
    for (int i = 0; i < count; ++i)
        out.push_back(CutImage(decoded.pixels, decoded.width, decoded.height, i, width_, height_));
    return out;
}

int TImageList::AddImages(std::vector<ImagePixels> images) {
    const int first = Count();
    for (ImagePixels& image : images) {
        BlackenTransparent(image);
        Image entry;
        entry.disabled = DisabledImage(image);
        entry.normal = std::move(image);
        images_.push_back(std::move(entry));
    }
    Invalidate();
    Change();
    return first;
}

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
    std::vector<ImagePixels> images = ImagesOf(image);
    if (mask && !mask->Empty()) {
        const DecodedBitmap m = mask->Decoded();
        for (std::size_t i = 0; i < images.size(); ++i) {
            const ImagePixels cell =
                CutImage(m.pixels, m.width, m.height, static_cast<int>(i), width_, height_);
            MaskFromPicture(images[i], cell.pixels, cell.width, cell.height);
        }
    }
    return AddImages(std::move(images));
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    std::vector<ImagePixels> images = ImagesOf(image);
    for (ImagePixels& i : images)
        MaskColor(i, PixelOfColor(maskColor));
    return AddImages(std::move(images));
}

ImagePixels TImageList::IconImage(const TIcon& icon) const {
    if (icon.Empty())
        throw EInvalidGraphic(L"Invalid icon: it is empty");
    // At the list's size first; CopyImage picks or scales the best image of the icon.
    const UniqueIcon sized(
        static_cast<HICON>(::CopyImage(icon.Handle(), IMAGE_ICON, width_, height_, 0)));
    ICONINFO info{};
    if (!sized || !::GetIconInfo(sized.get(), &info))
        throw EInvalidGraphic(L"Invalid icon: its pictures cannot be read");
    UniqueBitmap color(info.hbmColor);
    UniqueBitmap mask(info.hbmMask);
    const DecodedBitmap maskPixels = DecodedOf(mask.release());
    ImagePixels image;
    if (color) {
        const DecodedBitmap colorPixels = DecodedOf(color.release());
        image =
            CutImage(colorPixels.pixels, colorPixels.width, colorPixels.height, 0, width_, height_);
        MaskFromPicture(image, maskPixels.pixels, maskPixels.width, maskPixels.height);
    } else {
        // A monochrome icon: the mask bitmap holds the AND mask above the picture.
        const int half = maskPixels.height / 2;
        const std::span<const std::uint32_t> all(maskPixels.pixels);
        image = CutImage(all.subspan(static_cast<std::size_t>(half) * maskPixels.width),
                         maskPixels.width, half, 0, width_, height_);
        MaskFromPicture(image, all.first(static_cast<std::size_t>(half) * maskPixels.width),
                        maskPixels.width, half);
    }
    return image;
}

int TImageList::AddIcon(const TIcon& icon) {
    return AddImages({IconImage(icon)});
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    images_.erase(images_.begin() + index);
    Invalidate();
    Change();
}

void TImageList::Clear() {
    if (images_.empty())
        return;
    images_.clear();
    Invalidate();
    Change();
}

void TImageList::Invalidate() {
    handle_.reset();
    disabledHandle_.reset();
}

HIMAGELIST TImageList::Build(bool disabled) const {
    EnsureCommonControls();
    CountedImageList list(
        ::ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, std::max(Count(), 1), 4));
    if (!list)
        throw EOutOfResources(L"Cannot create an image list");
    ::ImageList_SetBkColor(list.get(), CLR_NONE);
    if (!images_.empty()) {
        // All images side by side in one strip and one mask: a single ImageList_Add.
        ImagePixels strip;
        strip.width = width_ * Count();
        strip.height = height_;
        strip.pixels.resize(static_cast<std::size_t>(strip.width) * strip.height);
        strip.mask.resize(strip.pixels.size());
        for (int i = 0; i < Count(); ++i) {
            const Image& entry = images_[static_cast<std::size_t>(i)];
            const ImagePixels& image = disabled ? entry.disabled : entry.normal;
            for (int y = 0; y < height_; ++y) {
                const std::size_t from = static_cast<std::size_t>(y) * width_;
                const std::size_t to = static_cast<std::size_t>(y) * strip.width +
                                       static_cast<std::size_t>(i) * width_;
                std::copy_n(image.pixels.begin() + static_cast<long>(from), width_,
                            strip.pixels.begin() + static_cast<long>(to));
                std::copy_n(image.mask.begin() + static_cast<long>(from), width_,
                            strip.mask.begin() + static_cast<long>(to));
            }
        }
        TBitmap color;
        color.LoadDecoded(DecodedBitmap{strip.width, strip.height, 32, std::move(strip.pixels)});
        const std::vector<std::uint8_t> maskBits = MonochromeMaskBits(strip);
        const UniqueBitmap mask(::CreateBitmap(strip.width, strip.height, 1, 1, maskBits.data()));
        if (!mask || ::ImageList_Add(list.get(), color.Handle(), mask.get()) < 0 ||
            ::ImageList_GetImageCount(list.get()) != Count())
            throw EOutOfResources(L"Cannot add images to an image list");
    }
    CountedImageList& slot = disabled ? disabledHandle_ : handle_;
    slot = std::move(list);
    return slot.get();
}

HIMAGELIST TImageList::Handle() const {
    return handle_ ? handle_.get() : Build(false);
}

HIMAGELIST TImageList::DisabledHandle() const {
    return disabledHandle_ ? disabledHandle_.get() : Build(true);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count())
        return;
    ::ImageList_Draw(enabled ? Handle() : DisabledHandle(), index, canvas.Handle(), x, y,
                     ILD_NORMAL);
}

void TImageList::GetIcon(int index, TIcon& icon) const {
    if (index < 0 || index >= Count()) {
        icon.SetHandle(UniqueIcon());
        return;
    }
    UniqueIcon made(::ImageList_GetIcon(Handle(), index, ILD_NORMAL));
    if (!made)
        throw EOutOfResources(L"Cannot make an icon of an image");
    icon.SetHandle(std::move(made));
}

void TImageList::GetBitmap(int index, TBitmap& image, TBitmap* mask) const {
    if (index < 0 || index >= Count())
        throw EInvalidGraphic(FormatText(L"Image %s is not in the list", {IntToStr(index)}));
    const ImagePixels& pixels = images_[static_cast<std::size_t>(index)].normal;
    image.LoadDecoded(DecodedBitmap{pixels.width, pixels.height, 32, pixels.pixels});
    if (mask) {
        std::vector<std::uint32_t> white(pixels.mask.size());
        for (std::size_t i = 0; i < white.size(); ++i)
            white[i] = pixels.mask[i] ? 0x00FFFFFFu : 0u;
        mask->LoadDecoded(DecodedBitmap{pixels.width, pixels.height, 32, std::move(white)});
    }
}

void TImageList::RegisterChanges(TChangeLink& link) {
    if (link.sender_ == this)
        return;
    if (link.sender_)
        link.sender_->UnRegisterChanges(link);
    link.sender_ = this;
    links_.push_back(&link);
}

void TImageList::UnRegisterChanges(TChangeLink& link) {
    links_.erase(std::remove(links_.begin(), links_.end(), &link), links_.end());
    if (link.sender_ == this)
        link.sender_ = nullptr;
}

void TImageList::Change() {
    // A handler may register or unregister links: walk a copy, skip the ones gone.
    const std::vector<TChangeLink*> snapshot = links_;
    for (TChangeLink* link : snapshot)
        if (std::find(links_.begin(), links_.end(), link) != links_.end() && link->onChange_)
            link->onChange_(this);
    if (onChange_)
        onChange_(this);
}

void TImageList::SetBitmaps(const std::vector<std::wstring>& descs) {
    LoadBitmaps(::GetModuleHandleW(nullptr), descs);
}

void TImageList::LoadBitmaps(HINSTANCE instance, const std::vector<std::wstring>& descs) {
    // Everything is read before anything changes: one bad entry leaves the list as it was.
    std::vector<ImagePixels> all;
    for (const std::wstring& desc : descs) {
        TPicture picture;
        picture.LoadFromResourceRef(instance, desc);
        if (const auto* icon = dynamic_cast<const TIcon*>(picture.Graphic())) {
            all.push_back(IconImage(*icon));
            continue;
        }
        const TBitmap& bitmap = picture.Bitmap();
        std::vector<ImagePixels> images = ImagesOf(bitmap);
        const bool alpha = bitmap.PixelFormat() == TPixelFormat::pf32bit &&
                           std::any_of(images.begin(), images.end(),
                                       [](const ImagePixels& i) { return HasAlpha(i); });
        if (!alpha)
            for (ImagePixels& image : images)
                MaskColor(image, PixelOfColor(bitmap.TransparentColor()));
        std::move(images.begin(), images.end(), std::back_inserter(all));
    }
    images_.clear();
    bitmaps_ = descs;
    AddImages(std::move(all));
}

} // namespace nestora::gui
