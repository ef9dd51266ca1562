#include "skin/sui_title_bar_items.h"

#include "gui/core/class_builder.h"
#include "gui/win/application.h"
#include "gui/win/bitmap.h"
#include "gui/win/form.h"
#include "gui/win/popup_menu.h"
#include "skin/sui_style_win.h"
#include "skin/sui_title_bar.h"
#include "skin/sui_title_bar_look.h"

namespace nestora::skin {

const gui::EnumInfo kTitleBarBtnTypeInfo{
    "TsuiTitleBarBtnType",
    {"suiMax", "suiMin", "suiClose", "suiHelp", "suiControlBox", "suiCustom"}};
const gui::EnumInfo kTitleBarAlignInfo{"TsuiTitleBarAlign", {"suiLeft", "suiRight", "suiClient"}};

void ShowSkinError(const std::wstring& text) {
    if (gui::TApplication* app = gui::CurrentApplication()) {
        app->MessageBox(text, app->Title(), MB_OK | MB_ICONERROR);
        return;
    }
    ::MessageBoxW(nullptr, text.c_str(), L"Error", MB_OK | MB_ICONERROR);
}

// --- buttons ----------------------------------------------------------------------------------

const gui::ClassInfo& TsuiTitleBarButton::StaticClassInfo() {
    using B = TsuiTitleBarButton;
    static const gui::ClassInfo info =
        gui::ClassBuilder<B>("TsuiTitleBarButton", &gui::TCollectionItem::StaticClassInfo())
            .Enum("UIStyle", kUIStyleInfo, &B::UIStyle, &B::SetUIStyle)
            .Enum("ButtonType", kTitleBarBtnTypeInfo, &B::ButtonType, &B::SetButtonType)
            .Bool("Transparent", &B::Transparent, &B::SetTransparent)
            .Int("Top", &B::Top, &B::SetTop)
            .Component<gui::TPopupMenu>("ControlBoxMenu", &B::ControlBoxMenu, &B::SetControlBoxMenu)
            .Bool("Visible", &B::Visible, &B::SetVisible)
            .Picture(
                "PicNormal",
                [](B& b, const std::wstring& desc) { b.PicNormal().LoadFromResourceRef(desc); })
            .Picture(
                "PicMouseOn",
                [](B& b, const std::wstring& desc) { b.PicMouseOn().LoadFromResourceRef(desc); })
            .Picture(
                "PicMouseDown",
                [](B& b, const std::wstring& desc) { b.PicMouseDown().LoadFromResourceRef(desc); })
            .Build();
    return info;
}

TsuiTitleBarButton::TsuiTitleBarButton(gui::TCollection* collection)
    : gui::TCollectionItem(collection), picNormal_(std::make_unique<gui::TPicture>()),
      picMouseOn_(std::make_unique<gui::TPicture>()),
      picMouseDown_(std::make_unique<gui::TPicture>()) {
    for (gui::TPicture* p : {picNormal_.get(), picMouseOn_.get(), picMouseDown_.get()})
        p->SetOnChange([this](gui::TObject*) { Repaint(); });
    SetUIStyle(TsuiUIStyle::DeepBlue);
}

TsuiTitleBarButton::~TsuiTitleBarButton() = default;

TsuiTitleBar* TsuiTitleBarButton::TitleBar() const {
    const auto* buttons = dynamic_cast<const TsuiTitleBarButtons*>(Collection());
    return buttons ? buttons->TitleBar() : nullptr;
}

gui::TCustomForm* TsuiTitleBarButton::Form() const {
    TsuiTitleBar* bar = TitleBar();
    return bar ? bar->Form() : nullptr;
}

void TsuiTitleBarButton::Repaint() {
    Changed(false);
}

void TsuiTitleBarButton::SetUIStyle(TsuiUIStyle style) {
    uiStyle_ = style;
    ApplyDefaultPictures();
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType type) {
    if (type == TsuiTitleBarBtnType::suiControlBox && Collection()) {
        for (int i = 0; i < Collection()->Count(); ++i) {
            const auto* other = static_cast<const TsuiTitleBarButton*>(Collection()->Item(i));
            if (other->buttonType_ == TsuiTitleBarBtnType::suiControlBox) {
                ShowSkinError(kOnlyOneControlBoxMessage);
                return;
            }
        }
    }
    buttonType_ = type;
    ApplyDefaultPictures();
    Repaint();
}

void TsuiTitleBarButton::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Repaint();
}

void TsuiTitleBarButton::SetTop(int top) {
    top_ = top;
    Repaint();
}

void TsuiTitleBarButton::SetVisible(bool visible) {
    visible_ = visible;
    Repaint();
}

void TsuiTitleBarButton::SetControlBoxMenu(gui::TPopupMenu* menu) {
    controlBoxMenu_ = menu;
    if (TsuiTitleBar* bar = TitleBar(); bar && menu)
        bar->WatchMenu(menu);
}

void TsuiTitleBarButton::ApplyDefaultPictures() {
    TsuiTitleBar* bar = TitleBar();
    const FrameLook look(uiStyle_, bar ? bar->FileTheme() : nullptr);
    transparent_ = look.Bool(StyleElement::TitleBarButtonTransparentBool);
    const std::optional<int> cell = FirstGlyphCell(buttonType_);
    if (!cell) {
        Repaint();
        return;
    }
    LoadGlyph(*cell);
    top_ = look.Int(StyleElement::TitleBarButtonTopInt);
    if (buttonType_ == TsuiTitleBarBtnType::suiMax)
        UpdateMaximiseGlyph();
    Repaint();
}

void TsuiTitleBarButton::LoadGlyph(int firstCell) {
    TsuiTitleBar* bar = TitleBar();
    const FrameLook look(uiStyle_, bar ? bar->FileTheme() : nullptr);
    // One strip, three cells: loading it once per glyph rather than once per picture.
    gui::TBitmap strip;
    look.Bitmap(StyleElement::TitleBarButtonImage, strip);
    if (strip.Empty())
        return;
    CutStateImage(strip, picNormal_->Bitmap(), kTitleButtonCells, firstCell);
    CutStateImage(strip, picMouseOn_->Bitmap(), kTitleButtonCells, firstCell + 1);
    CutStateImage(strip, picMouseDown_->Bitmap(), kTitleButtonCells, firstCell + 2);
}

void TsuiTitleBarButton::UpdateMaximiseGlyph() {
    if (buttonType_ != TsuiTitleBarBtnType::suiMax)
        return;
    TsuiTitleBar* bar = TitleBar();
    if (bar && bar->Custom())
        return;
    const gui::TCustomForm* form = Form();
    const bool maximised = form && IsFormMaximised(*form);
    LoadGlyph(maximised ? kRestoreGlyphCell : kMaximiseGlyphCell);
}

void TsuiTitleBarButton::Click() {
    TsuiTitleBar* bar = TitleBar();
    gui::TCustomForm* form = Form();
    if (!bar || !form)
        return;
    switch (buttonType_) {
    case TsuiTitleBarBtnType::suiMax:
        if (IsFormMaximised(*form)) {
            form->SetWindowState(gui::TWindowState::wsNormal);
        } else {
            form->SetWindowState(gui::TWindowState::wsMaximized);
            // A skinned form fits itself to its monitor's work area on WM_SIZE; any other
            // keeps the task bar visible here, one pixel short so the shell's auto-hide bar
            // can show.
            if (!bar->ParentIsSkinnedForm()) {
                gui::TRect area = bar->FormWorkArea();
                area.Bottom -= 1;
                SetFormBounds(*form, area);
            }
        }
        UpdateMaximiseGlyph();
        break;
    case TsuiTitleBarBtnType::suiMin:
        MinimiseForm(*form);
        break;
    case TsuiTitleBarBtnType::suiClose:
        form->Close();
        break;
    case TsuiTitleBarBtnType::suiControlBox:
        if (controlBoxMenu_)
            bar->PopupBelow(*controlBoxMenu_);
        break;
    case TsuiTitleBarBtnType::suiHelp:
    case TsuiTitleBarBtnType::suiCustom:
        break;
    }
}

void TsuiTitleBarButton::Assign(const gui::TPersistent& source) {
    const auto* other = dynamic_cast<const TsuiTitleBarButton*>(&source);
    if (!other) {
        gui::TCollectionItem::Assign(source);
        return;
    }
    SetVisible(other->visible_);
    SetButtonType(other->buttonType_);
    SetTransparent(other->transparent_);
    SetTop(other->top_);
    SetUIStyle(other->uiStyle_);
    picNormal_->Assign(*other->picNormal_);
    picMouseOn_->Assign(*other->picMouseOn_);
    picMouseDown_->Assign(*other->picMouseDown_);
    SetControlBoxMenu(other->controlBoxMenu_);
}

const gui::ClassInfo& TsuiTitleBarButtons::StaticClassInfo() {
    static const gui::ClassInfo info("TsuiTitleBarButtons", &gui::TCollection::StaticClassInfo(),
                                     nullptr, {});
    return info;
}

TsuiTitleBarButtons::TsuiTitleBarButtons(TsuiTitleBar* bar) : TOwnedCollection(bar) {}

void TsuiTitleBarButtons::Update(gui::TCollectionItem*) {
    if (TsuiTitleBar* bar = TitleBar())
        bar->Invalidate();
}

// --- sections ---------------------------------------------------------------------------------

const gui::ClassInfo& TsuiTitleBarSection::StaticClassInfo() {
    using S = TsuiTitleBarSection;
    static const gui::ClassInfo info =
        gui::ClassBuilder<S>("TsuiTitleBarSection", &gui::TCollectionItem::StaticClassInfo())
            .Bool("AutoSize", &S::AutoSize, &S::SetAutoSize)
            .Int("Width", &S::Width, &S::SetWidth)
            .Enum("Align", kTitleBarAlignInfo, &S::Align, &S::SetAlign)
            .Picture("Picture", &S::SetPictureRef)
            .Bool("Stretch", &S::Stretch, &S::SetStretch)
            .Build();
    return info;
}

TsuiTitleBarSection::TsuiTitleBarSection(gui::TCollection* collection)
    : gui::TCollectionItem(collection), picture_(std::make_unique<gui::TPicture>()) {
    picture_->SetOnChange([this](gui::TObject*) { Changed(false); });
}

TsuiTitleBarSection::~TsuiTitleBarSection() = default;

void TsuiTitleBarSection::SetWidth(int width) {
    width_ = width;
    Changed(false);
}

void TsuiTitleBarSection::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (!picture_->Empty())
        width_ = picture_->Width();
    Changed(false);
}

void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign align) {
    if (align == TsuiTitleBarAlign::suiClient) {
        if (Collection()) {
            for (int i = 0; i < Collection()->Count(); ++i) {
                const auto* other = static_cast<const TsuiTitleBarSection*>(Collection()->Item(i));
                if (other->align_ == TsuiTitleBarAlign::suiClient) {
                    ShowSkinError(kOnlyOneClientSectionMessage);
                    return;
                }
            }
        }
        stretch_ = true;
    }
    align_ = align;
    Changed(false);
}

void TsuiTitleBarSection::PictureChanged() {
    if (autoSize_ && !picture_->Empty())
        width_ = picture_->Width();
    Changed(false);
}

void TsuiTitleBarSection::SetPicture(const gui::TPicture& picture) {
    picture_->Assign(picture);
    PictureChanged();
}

void TsuiTitleBarSection::SetPictureRef(const std::wstring& desc) {
    picture_->LoadFromResourceRef(desc);
    PictureChanged();
}

void TsuiTitleBarSection::SetStretch(bool stretch) {
    stretch_ = align_ == TsuiTitleBarAlign::suiClient ? true : stretch;
    Changed(false);
}

void TsuiTitleBarSection::Assign(const gui::TPersistent& source) {
    const auto* other = dynamic_cast<const TsuiTitleBarSection*>(&source);
    if (!other) {
        gui::TCollectionItem::Assign(source);
        return;
    }
    SetWidth(other->width_);
    SetAlign(other->align_);
    SetPicture(*other->picture_);
    SetStretch(other->stretch_);
    SetAutoSize(other->autoSize_);
}

const gui::ClassInfo& TsuiTitleBarSections::StaticClassInfo() {
    static const gui::ClassInfo info("TsuiTitleBarSections", &gui::TCollection::StaticClassInfo(),
                                     nullptr, {});
    return info;
}

TsuiTitleBarSections::TsuiTitleBarSections(TsuiTitleBar* bar) : TOwnedCollection(bar) {}

void TsuiTitleBarSections::Update(gui::TCollectionItem*) {
    if (TsuiTitleBar* bar = TitleBar())
        bar->Invalidate();
}

} // namespace nestora::skin
