#include "gui/win/picture.h"

#include "gui/core/class_info.h"
#include "gui/core/exceptions.h"
#include "gui/core/picture_ref.h"
#include "gui/win/bitmap.h"
#include "gui/win/icon.h"

#include <cstring>

namespace nestora::gui {

const ClassInfo& TPicture::StaticClassInfo() {
    static const ClassInfo info("TPicture", &TPersistent::StaticClassInfo(), nullptr, {});
    return info;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Replace(std::unique_ptr<TGraphic> graphic) {
    resourceRef_.clear();
    resourceModule_ = nullptr;
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->SetOnChange([this](TObject*) { Changed(); });
    Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (graphic == graphic_.get())
        return;
    Replace(graphic ? graphic->Clone() : nullptr);
}

TBitmap& TPicture::Bitmap() {
    // Whoever asks for the bitmap itself may change its pixels.
    resourceRef_.clear();
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get()))
        return *bitmap;
    Replace(std::make_unique<TBitmap>());
    return static_cast<TBitmap&>(*graphic_);
}

TIcon& TPicture::Icon() {
    resourceRef_.clear();
    if (auto* icon = dynamic_cast<TIcon*>(graphic_.get()))
        return *icon;
    Replace(std::make_unique<TIcon>());
    return static_cast<TIcon&>(*graphic_);
}

void TPicture::Assign(const TPersistent& source) {
    if (const auto* picture = dynamic_cast<const TPicture*>(&source)) {
        if (picture != this) {
            Replace(picture->graphic_ ? picture->graphic_->Clone() : nullptr);
            resourceRef_ = picture->resourceRef_;
            resourceModule_ = picture->resourceModule_;
        }
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(&source)) {
        SetGraphic(graphic);
        return;
    }
    TPersistent::Assign(source);
}

void TPicture::LoadFromResourceRef(HINSTANCE instance, std::wstring_view text) {
    const PictureRef desc = ParsePictureRef(text);
    const bool isBitmap = HasBitmapResource(instance, desc.name);
    if (!isBitmap && !desc.IsCell() &&
        ::FindResourceW(instance, desc.name.c_str(), RT_GROUP_ICON)) {
        auto icon = std::make_unique<TIcon>();
        icon->LoadFromResourceName(instance, desc.name);
        Replace(std::move(icon));
        Remember(instance, text);
        return;
    }
    auto whole = std::make_unique<TBitmap>();
    whole->LoadFromResourceName(instance, desc.name); // names the resource when missing
    if (!desc.IsCell()) {
        Replace(std::move(whole));
        Remember(instance, text);
        return;
    }
    const TRect cell = CellRect(TSize{whole->Width(), whole->Height()}, desc.cell, desc.cellCount);
    if (cell.IsEmpty())
        throw EConvertError(
            FormatText(L"Resource %s has no cell %s", {desc.name, PictureRefText(desc)}));
    auto cut = std::make_unique<TBitmap>();
    cut->SetPixelFormat(whole->PixelFormat());
    cut->SetSize(cell.Width(), cell.Height());
    const int bytesPerPixel = whole->PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
    for (int y = 0; y < cell.Height(); ++y)
        std::memcpy(cut->ScanLine(y), whole->ScanLine(y) + cell.Left * bytesPerPixel,
                    static_cast<std::size_t>(cell.Width()) * bytesPerPixel);
    Replace(std::move(cut));
    Remember(instance, text);
}

void TPicture::Remember(HINSTANCE instance, std::wstring_view text) {
    resourceRef_.assign(text);
    resourceModule_ = instance;
}

void TPicture::LoadFromResourceRef(std::wstring_view desc) {
    LoadFromResourceRef(::GetModuleHandleW(nullptr), desc);
}

void TPicture::Changed() {
    if (onChange_)
        onChange_(this);
}

} // namespace nestora::gui
