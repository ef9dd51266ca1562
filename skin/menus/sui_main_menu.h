// TsuiMainMenu: a form's main menu in the skin's looks. The skinned form (TsuiForm) shows
// it as a row of flat buttons under its title bar, one per top-level item, each opening
// its item's drop-down; the drop-down items are measured and drawn as the skinned popup
// menu draws its own.
//
// Owns: its private check-mark list (the green tick, MENU_CHECKED, white transparent),
// installed as the menu's image list while the user gives none. Refers to (not owned):
// FileTheme, and the skinned form it is attached to (set and cleared by that form).
//
// Life story:
//   created   the private tick list becomes the image list (so the menu is always
//             owner-drawn); BorderColor black, FlatMenu off, font "MS Sans Serif" 8 points,
//             UseSystemFont on; UIStyle := the style of the owner form's skinned frame.
//   after     (AfterConstruction) on a form: the form's own Menu := none, and the first
//             TsuiForm among the form's controls takes this menu (it builds the bar).
//   loaded    item handlers attached to every item; the attached form rebuilds its bar
//             (a menu read from a description is attached before its items exist).
//   changed   at run time a change of an item refreshes the bar's captions and enabled
//             states only: items added later get no button and no handlers.
//   destroyed the form drops its bar; handlers left on items do nothing any more.
#pragma once

#include "gui/win/graphics_win32.h"

#include "gui/win/main_menu.h"
#include "skin/menus/sui_menu_item_painter.h"
#include "skin/style_table.h"

#include <memory>
#include <string>

namespace nestora::gui {
class TCanvas;
class TImageList;
} // namespace nestora::gui

namespace nestora::skin {

class TsuiForm;

class TsuiMainMenu : public gui::TMainMenu {
public:
    explicit TsuiMainMenu(gui::TComponent* owner);
    ~TsuiMainMenu() override;

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    void AfterConstruction() override;
    void Loaded() override;

    // The user's image list: none while only the private tick list is installed. Setting
    // none installs the private list again.
    gui::TImageList* Images() const;
    void SetImages(gui::TImageList* images);
    // The list that gives the tick of checked items without a user image.
    gui::TImageList* CheckMarkImageList() const { return checkMarks_.get(); }

    // Always true: the menu is always owner-drawn, and writing it changes nothing.
    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool) {}

    gui::TComponent* FileTheme() const { return look_.fileTheme; }
    // Stores it, then applies the current UIStyle again.
    void SetFileTheme(gui::TComponent* theme);
    TsuiUIStyle UIStyle() const { return look_.uiStyle; }
    void SetUIStyle(TsuiUIStyle style) { ApplySkinnedMenuStyle(look_, style); }

    int MenuItemHeight() const { return look_.menuItemHeight; }
    // Ignored while UIStyle is MacOS, whose striped bitmaps fix the heights.
    void SetMenuItemHeight(int height);
    int SeparatorHeight() const { return look_.separatorHeight; }
    void SetSeparatorHeight(int height);
    int BarWidth() const { return look_.barWidth; }
    void SetBarWidth(int width) { look_.barWidth = width; }
    TColor BarColor() const { return look_.barColor; }
    void SetBarColor(TColor c) { look_.barColor = c; }
    TColor Color() const { return look_.color; }
    void SetColor(TColor c) { look_.color = c; }
    TColor SeparatorColor() const { return look_.separatorColor; }
    void SetSeparatorColor(TColor c) { look_.separatorColor = c; }
    TColor SelectedBorderColor() const { return look_.selectedBorderColor; }
    void SetSelectedBorderColor(TColor c) { look_.selectedBorderColor = c; }
    TColor SelectedColor() const { return look_.selectedColor; }
    void SetSelectedColor(TColor c) { look_.selectedColor = c; }
    TColor SelectedFontColor() const { return look_.selectedFontColor; }
    void SetSelectedFontColor(TColor c) { look_.selectedFontColor = c; }
    TColor FontColor() const { return look_.fontColor; }
    void SetFontColor(TColor c) { look_.fontColor = c; }
    TColor BorderColor() const { return look_.borderColor; }
    void SetBorderColor(TColor c) { look_.borderColor = c; }
    bool FlatMenu() const { return look_.flatMenu; }
    void SetFlatMenu(bool flat) { look_.flatMenu = flat; }
    const std::wstring& FontName() const { return look_.fontName; }
    void SetFontName(const std::wstring& name) { look_.fontName = name; }
    int FontSize() const { return look_.fontSize; }
    void SetFontSize(int points) { look_.fontSize = points; }
    int FontCharset() const { return look_.fontCharset; }
    // 0..255 (a Windows character-set code); other values are refused with EConvertError.
    void SetFontCharset(int charset);
    bool UseSystemFont() const { return look_.useSystemFont; }
    // Also gives the attached form's menu bar the new font.
    void SetUseSystemFont(bool use);

    // The skinned form showing this menu (null when none). Only TsuiForm sets it.
    TsuiForm* SkinnedForm() const { return form_; }
    void SetSkinnedForm(TsuiForm* form);

    void AttachItemHandlers();
    void MeasureMenuItem(gui::TObject* sender, gui::TCanvas& canvas, int& width, int& height);
    void DrawMenuItem(gui::TObject* sender, gui::TCanvas& canvas, const gui::TRect& rect,
                      bool selected);

protected:
    void Notification(gui::TComponent* component, gui::TOperation operation) override;
    void MenuChanged(gui::TMenuItem* source, bool rebuild) override;

private:
    gui::ComponentPtr<gui::TImageList> checkMarks_;
    SkinnedMenuLook look_;
    TsuiForm* form_ = nullptr;
    // Handlers attached to items hold a weak reference to this, so an item that outlives
    // the menu calls nothing dead.
    std::shared_ptr<TsuiMainMenu*> self_;
};

} // namespace nestora::skin
