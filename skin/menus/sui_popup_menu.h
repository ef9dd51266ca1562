// TsuiPopupMenu: a popup menu that measures and draws every item itself, in one of the
// skin's looks: a coloured bar down the left carrying images and check marks, a flat
// background, a filled and framed highlight, thin separator lines; striped bitmaps in
// MacOS. The tray menu is one; the title bar's window menu is built on it.
//
// Owns nothing beyond what its base owns. FileTheme is a reference to a theme component
// that the menu asks to be told about; CheckMarkImages is shared by all menus.
//
// Life story:
//   created   owner-drawn; BorderColor black, FlatMenu off, font "MS Sans Serif" 8 points,
//             DEFAULT_CHARSET, UseSystemFont on, no FileTheme; then UIStyle := the style of
//             the owner form's skinned frame (DeepBlue when there is none).
//   loaded    a window description sets the published properties in the order it stores
//             them (values stored after UIStyle win over the style's), then Loaded attaches
//             this menu's measure and draw handlers to every item. Items added later are
//             not attached unless AttachItemHandlers runs again.
//   popped    the inherited Popup. Windows asks each item's size (MeasureMenuItem) and
//             has it drawn (DrawMenuItem); both read the properties as they are then.
//   theme     when the FileTheme component is destroyed, FileTheme becomes none and
//             UIStyle DeepBlue.
//   destroyed handlers still attached to items that outlive the menu do nothing.
//
// Setting a property repaints nothing: the next opening draws with the new values. A style
// change resets BarWidth, both heights, SeparatorColor and the six item colours; BorderColor,
// FlatMenu and the font settings survive it.
#pragma once

#include "gui/win/graphics_win32.h"

#include "gui/core/color.h"
#include "gui/win/menu.h"
#include "gui/win/popup_menu.h"
#include "skin/menu_geometry.h"
#include "skin/menus/sui_menu_item_painter.h"
#include "skin/style_table.h"

#include <cstdint>
#include <memory>
#include <string>

namespace gui {
class TCanvas;
class TFont;
class TImageList;
} // namespace gui

namespace nestora::skin {

class TsuiPopupMenu : public gui::TPopupMenu {
public:
    explicit TsuiPopupMenu(gui::TComponent* owner);
    ~TsuiPopupMenu() override;

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // Always true: the menu is always owner-drawn, and writing it changes nothing.
    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool) {}

    // The theme component (not owned; may be null). SWITCH-OVER: held as a component until
    // the theme class exists; see AsFileTheme in skin/resolve_style.h.
    gui::TComponent* FileTheme() const { return fileTheme_; }
    // Stores it, then applies the current UIStyle again.
    void SetFileTheme(gui::TComponent* theme);

    TsuiUIStyle UIStyle() const { return uiStyle_; }
    // Applies the style: BarWidth, both heights, SeparatorColor and six colours.
    void SetUIStyle(TsuiUIStyle style);

    int MenuItemHeight() const { return menuItemHeight_; }
    // Ignored while UIStyle is MacOS, whose striped bitmaps fix the heights.
    void SetMenuItemHeight(int height);
    int SeparatorHeight() const { return separatorHeight_; }
    void SetSeparatorHeight(int height);
    int BarWidth() const { return barWidth_; }
    void SetBarWidth(int width) { barWidth_ = width; }

    TColor BarColor() const { return barColor_; }
    void SetBarColor(TColor color) { barColor_ = color; }
    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    TColor SeparatorColor() const { return separatorColor_; }
    void SetSeparatorColor(TColor color) { separatorColor_ = color; }
    TColor SelectedBorderColor() const { return selectedBorderColor_; }
    void SetSelectedBorderColor(TColor color) { selectedBorderColor_ = color; }
    TColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(TColor color) { selectedColor_ = color; }
    TColor SelectedFontColor() const { return selectedFontColor_; }
    void SetSelectedFontColor(TColor color) { selectedFontColor_ = color; }
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor color) { fontColor_ = color; }
    // Stored only: no drawing reads it.
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor color) { borderColor_ = color; }

    bool FlatMenu() const { return flatMenu_; }
    void SetFlatMenu(bool flat) { flatMenu_ = flat; }
    // The item font, used only while UseSystemFont is false.
    const std::wstring& FontName() const { return fontName_; }
    void SetFontName(const std::wstring& name) { fontName_ = name; }
    int FontSize() const { return fontSize_; }
    void SetFontSize(int points) { fontSize_ = points; }
    int FontCharset() const { return fontCharset_; }
    // 0..255 (a Windows character-set code); other values are refused with EConvertError.
    void SetFontCharset(int charset);
    bool UseSystemFont() const { return useSystemFont_; }
    void SetUseSystemFont(bool use) { useSystemFont_ = use; }

    // Attaches this menu's measure and draw handlers to every item, at any depth.
    void AttachItemHandlers();

    // The item handlers (TMenuMeasureItemEvent and TMenuDrawItemEvent). sender is the
    // item; anything else is ignored.
    void MeasureMenuItem(gui::TObject* sender, gui::TCanvas& canvas, int& width, int& height);
    void DrawMenuItem(gui::TObject* sender, gui::TCanvas& canvas, const gui::TRect& rect,
                      bool selected);

    void Loaded() override;

protected:
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    // The properties as the shared item painter takes them (the main menu's drop-downs are
    // drawn by the same code, so both kinds of menu look alike).
    SkinnedMenuLook Look() const;
    bool IsMacOS() const { return uiStyle_ == TsuiUIStyle::MacOS; }

    gui::TComponent* fileTheme_ = nullptr;
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    int menuItemHeight_ = 21;
    int separatorHeight_ = 5;
    int barWidth_ = kMenuBarWidth;
    TColor barColor_ = 0;
    TColor color_ = 0;
    TColor separatorColor_ = 0;
    TColor selectedBorderColor_ = 0;
    TColor selectedColor_ = 0;
    TColor selectedFontColor_ = 0;
    TColor fontColor_ = 0;
    TColor borderColor_ = 0;
    bool flatMenu_ = false;
    std::wstring fontName_ = L"MS Sans Serif";
    int fontSize_ = 8;
    int fontCharset_ = 1; // DEFAULT_CHARSET
    bool useSystemFont_ = true;
    // Handlers attached to items hold a weak reference to this, so an item that outlives
    // the menu calls nothing dead.
    std::shared_ptr<TsuiPopupMenu*> self_;
};

// Sets the item's OnMeasureItem and OnDrawItem to the handlers, then does the same for each
// sub-item in index order, to any depth. Handlers the items had are replaced.
void SetItemHandlers(gui::TMenuItem& item, const gui::TMenuMeasureItemEvent& measure,
                     const gui::TMenuDrawItemEvent& draw);

// The UIStyle of the first of a form's direct child controls (index order) that is a
// TsuiForm, found by class name and read through its published "UIStyle"; DeepBlue when
// the owner is null, is no form, has no such frame, or the frame's style cannot be read.
TsuiUIStyle GetOwnerFrameStyle(const gui::TComponent* owner);

// Gives the font the system's menu font (a new HFONT the font owns from then on) and the
// menu text colour. When the system cannot tell, the font is left as it was.
void SetSystemMenuFont(gui::TFont& font);

// Draws the flat border round the menu window: a one-pixel frame in frameColor, a white
// frame inside it, and the bottom, right and top outer edges in lineColor (the lines of
// LayOutFlatMenuBorder). Drawn through the window's own DC, so nothing outside the menu
// window is touched. Nothing happens for a null or dead window.
void DrawFlatMenuBorder(HWND window, TColor frameColor, TColor lineColor);

// The image list holding the green tick (MENU_CHECKED, 16 by 16, white transparent) that
// every skinned popup menu of the process shares.
//
// LOAD BEARING: it is made the first time it is needed and owned by a small component
// that belongs to the current application, so it is freed when the application is —
// before static destruction, while the graphics layer still stands. A new application
// gets a new list. Null when there is no application; drawing then makes a list just for
// the call.
gui::TImageList* CheckMarkImages();
// A new list holding the tick, owned by the caller.
gui::ComponentPtr<gui::TImageList> MakeCheckMarkImages();

} // namespace nestora::skin
