#include "gui/win/icon.h"

#include "gui/core/class_info.h"
#include "gui/core/exceptions.h"
#include "gui/win/canvas.h"

namespace nestora::gui {

TSize IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return TSize{};
    // GetIconInfo hands us copies of both bitmaps: ours to delete.
    const UniqueBitmap color(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    BITMAP bm{};
    if (color && ::GetObjectW(color.get(), sizeof bm, &bm))
        return TSize{bm.bmWidth, bm.bmHeight};
    // A monochrome icon: the mask holds the AND and the XOR halves one above the other.
    if (mask && ::GetObjectW(mask.get(), sizeof bm, &bm))
        return TSize{bm.bmWidth, bm.bmHeight / 2};
    return TSize{};
}

const ClassInfo& TIcon::StaticClassInfo() {
    static const ClassInfo info("TIcon", &TGraphic::StaticClassInfo(), nullptr, {});
    return info;
}

TIcon::TIcon() = default;
TIcon::~TIcon() = default;

void TIcon::SetHandle(UniqueIcon icon) {
    const TSize size = IconSize(icon.get());
    icon_.reset(icon.release());
    width_ = icon_ ? size.Width : 0;
    height_ = icon_ ? size.Height : 0;
    Changed();
}

UniqueIcon TIcon::ReleaseHandle() {
    UniqueIcon out(icon_.release());
    width_ = height_ = 0;
    Changed();
    return out;
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::wstring& name, int width,
                                 int height) {
    if (name.empty() || !::FindResourceW(instance, name.c_str(), RT_GROUP_ICON))
        throw EResNotFound(FormatText(L"Resource %s not found", {name}));
    UniqueIcon icon(
        static_cast<HICON>(::LoadImageW(instance, name.c_str(), IMAGE_ICON, width, height,
                                        width == 0 && height == 0 ? LR_DEFAULTSIZE : 0)));
    if (!icon)
        throw EResNotFound(FormatText(L"Resource %s not found", {name}));
    SetHandle(std::move(icon));
}

void TIcon::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TIcon*>(&source);
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    if (other == this)
        return;
    UniqueIcon copy;
    if (other->icon_) {
        copy.reset(::CopyIcon(other->icon_.get()));
        if (!copy)
            throw EOutOfResources(L"Cannot copy an icon");
    }
    SetHandle(std::move(copy));
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
    auto copy = std::make_unique<TIcon>();
    copy->Assign(*this);
    return copy;
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) const {
    if (!icon_)
        return;
    ::DrawIconEx(canvas.Handle(), rect.Left, rect.Top, icon_.get(), rect.Width(), rect.Height(), 0,
                 nullptr, DI_NORMAL);
}

} // namespace nestora::gui
