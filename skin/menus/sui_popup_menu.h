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

namespace nestora::gui {
class TCanvas;
class TFont;
class TImageList;
} // namespace nestora::gui

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
    gui::TComponent* FileTheme() const { return look_.fileTheme; }
    // Stores it, then applies the current UIStyle again.
    void SetFileTheme(gui::TComponent* theme);

    TsuiUIStyle UIStyle() const { return look_.uiStyle; }
    // Applies the style: BarWidth, both heights, SeparatorColor and six colours.
    void SetUIStyle(TsuiUIStyle style);

    int MenuItemHeight() const { return look_.menuItemHeight; }
    // Ignored while UIStyle is MacOS, whose striped bitmaps fix the heights.
    void SetMenuItemHeight(int height);
    int SeparatorHeight() const { return look_.separatorHeight; }
    void SetSeparatorHeight(int height);
    int BarWidth() const { return look_.barWidth; }
    void SetBarWidth(int width) { look_.barWidth = width; }

    TColor BarColor() const { return look_.barColor; }
    void SetBarColor(TColor color) { look_.barColor = color; }
    TColor Color() const { return look_.color; }
    void SetColor(TColor color) { look_.color = color; }
    TColor SeparatorColor() const { return look_.separatorColor; }
    void SetSeparatorColor(TColor color) { look_.separatorColor = color; }
    TColor SelectedBorderColor() const { return look_.selectedBorderColor; }
    void SetSelectedBorderColor(TColor color) { look_.selectedBorderColor = color; }
    TColor SelectedColor() const { return look_.selectedColor; }
    void SetSelectedColor(TColor color) { look_.selectedColor = color; }
    TColor SelectedFontColor() const { return look_.selectedFontColor; }
    void SetSelectedFontColor(TColor color) { look_.selectedFontColor = color; }
    TColor FontColor() const { return look_.fontColor; }
    void SetFontColor(TColor color) { look_.fontColor = color; }
    // Stored only: no drawing reads it.
    TColor BorderColor() const { return look_.borderColor; }
    void SetBorderColor(TColor color) { look_.borderColor = color; }

    bool FlatMenu() const { return look_.flatMenu; }
    void SetFlatMenu(bool flat) { look_.flatMenu = flat; }
    // The item font, used only while UseSystemFont is false.
    const std::wstring& FontName() const { return look_.fontName; }
    void SetFontName(const std::wstring& name) { look_.fontName = name; }
    int FontSize() const { return look_.fontSize; }
    void SetFontSize(int points) { look_.fontSize = points; }
    int FontCharset() const { return look_.fontCharset; }
    // 0..255 (a Windows character-set code); other values are refused with EConvertError.
    void SetFontCharset(int charset);
    bool UseSystemFont() const { return look_.useSystemFont; }
    void SetUseSystemFont(bool use) { look_.useSystemFont = use; }

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
    bool IsMacOS() const { return look_.IsMacOS(); }

    // Every property but OwnerDraw, as the shared item painter takes them.
    SkinnedMenuLook look_;
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
