// The items a skinned title bar is built from: its buttons (window commands or custom
// buttons with three state pictures each) and its sections (pictures at the left, at the
// right, or stretched over the middle). A form designer edits both collections and window
// descriptions stream them; TsuiTitleBar owns one of each.
//
// Life story of an item:
//   created   by its collection's Add (a description replaces the items, then sets each
//             item's properties in published order). A new button is a visible suiCustom
//             at Top 2 without pictures, in the DeepBlue style; a new section is a 10-pixel
//             left section without picture.
//   styled    a button takes its default pictures, transparency and Top from its UIStyle
//             (resolved with the bar's FileTheme) whenever UIStyle or ButtonType changes;
//             values set after that (a description's stored pictures) win.
//   changed   every setter repaints the bar through the collection.
//   destroyed with its collection.
//
// Refusals: a second suiControlBox button or a second suiClient section is refused with a
// "Sorry, …" message box and the property keeps its value.
#pragma once

#include "gui/core/class_info.h"
#include "gui/core/collection.h"
#include "gui/win/picture.h"
#include "skin/style_table.h"
#include "skin/title_bar_layout.h"

#include <memory>

namespace nestora::gui {
class TPopupMenu;
class TCustomForm;
} // namespace nestora::gui

namespace nestora::skin {

class TsuiTitleBar;

extern const gui::EnumInfo kTitleBarBtnTypeInfo;
extern const gui::EnumInfo kTitleBarAlignInfo;

// The texts of the two refusals.
inline constexpr wchar_t kOnlyOneControlBoxMessage[] =
    L"Sorry, only one button's ButtonType property can be \"suiControlBox\"";
inline constexpr wchar_t kOnlyOneClientSectionMessage[] =
    L"Sorry, only one section's Align property can be \"suiClient\"";

// An error message box with an OK button, through the application's message-box seam.
void ShowSkinError(const std::wstring& text);

class TsuiTitleBarButton : public gui::TCollectionItem {
public:
    explicit TsuiTitleBarButton(gui::TCollection* collection);
    ~TsuiTitleBarButton() override;

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // The bar whose collection holds this button, or null.
    TsuiTitleBar* TitleBar() const;

    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle style);
    TsuiTitleBarBtnType ButtonType() const { return buttonType_; }
    void SetButtonType(TsuiTitleBarBtnType type);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    int Top() const { return top_; }
    void SetTop(int top);
    // Not owned: the title bar clears it when the menu is destroyed.
    gui::TPopupMenu* ControlBoxMenu() const { return controlBoxMenu_; }
    void SetControlBoxMenu(gui::TPopupMenu* menu);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    gui::TPicture& PicNormal() { return *picNormal_; }
    gui::TPicture& PicMouseOn() { return *picMouseOn_; }
    gui::TPicture& PicMouseDown() { return *picMouseDown_; }
    const gui::TPicture& PicNormal() const { return *picNormal_; }
    const gui::TPicture& PicMouseOn() const { return *picMouseOn_; }
    const gui::TPicture& PicMouseDown() const { return *picMouseDown_; }
    void SetPicNormal(const gui::TPicture& picture) { picNormal_->Assign(picture); }
    void SetPicMouseOn(const gui::TPicture& picture) { picMouseOn_->Assign(picture); }
    void SetPicMouseDown(const gui::TPicture& picture) { picMouseDown_->Assign(picture); }

    // The button's window command (maximise or restore, minimise, close, the control box's
    // own menu); help and custom buttons do nothing here (the bar raises their events).
    void Click();

    // For a suiMax button: the maximise glyph, or the restore glyph while the bar's form is
    // maximised. Nothing for other buttons or while the bar is Custom.
    void UpdateMaximiseGlyph();

    // Visible, ButtonType, Transparent, Top and UIStyle through their setters, then the
    // three pictures and the ControlBoxMenu.
    void Assign(const gui::TPersistent& source) override;

private:
    friend class TsuiTitleBar; // clears ControlBoxMenu when the menu goes
    void ApplyDefaultPictures();
    // The three pictures from the resolved style's strip, starting at firstCell.
    void LoadGlyph(int firstCell);
    gui::TCustomForm* Form() const;
    void Repaint();

    bool visible_ = true;
    TsuiTitleBarBtnType buttonType_ = TsuiTitleBarBtnType::suiCustom;
    bool transparent_ = false;
    int top_ = 2;
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    std::unique_ptr<gui::TPicture> picNormal_;
    std::unique_ptr<gui::TPicture> picMouseOn_;
    std::unique_ptr<gui::TPicture> picMouseDown_;
    gui::TPopupMenu* controlBoxMenu_ = nullptr;
};

class TsuiTitleBarButtons : public gui::TOwnedCollection<TsuiTitleBarButton, TsuiTitleBar> {
public:
    explicit TsuiTitleBarButtons(TsuiTitleBar* bar);
    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    TsuiTitleBar* TitleBar() const { return OwnerObject(); }

protected:
    void Update(gui::TCollectionItem* item) override;
};

class TsuiTitleBarSection : public gui::TCollectionItem {
public:
    explicit TsuiTitleBarSection(gui::TCollection* collection);
    ~TsuiTitleBarSection() override;

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    int Width() const { return width_; }
    void SetWidth(int width);
    TsuiTitleBarAlign Align() const { return align_; }
    void SetAlign(TsuiTitleBarAlign align);
    gui::TPicture& Picture() { return *picture_; }
    const gui::TPicture& Picture() const { return *picture_; }
    // Copies the picture; AutoSize then takes its width.
    void SetPicture(const gui::TPicture& picture);
    void SetPictureRef(const std::wstring& desc);
    bool Stretch() const { return stretch_; }
    // A suiClient section always stretches.
    void SetStretch(bool stretch);

    // Width, Align, the picture, Stretch and AutoSize, in this order.
    void Assign(const gui::TPersistent& source) override;

private:
    void PictureChanged();

    int width_ = 10;
    TsuiTitleBarAlign align_ = TsuiTitleBarAlign::suiLeft;
    std::unique_ptr<gui::TPicture> picture_;
    bool stretch_ = false;
    bool autoSize_ = false;
};

class TsuiTitleBarSections : public gui::TOwnedCollection<TsuiTitleBarSection, TsuiTitleBar> {
public:
    explicit TsuiTitleBarSections(TsuiTitleBar* bar);
    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    TsuiTitleBar* TitleBar() const { return OwnerObject(); }

protected:
    void Update(gui::TCollectionItem* item) override;
};

} // namespace nestora::skin
