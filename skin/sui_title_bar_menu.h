// TsuiTitleBarPopupMenu: the window menu of a skinned title bar, which replaces the
// system's menu of a form that lost its caption. Four fixed items — "Mi&nimize",
// "Ma&ximize/Restore", a separator and "&Close", their captions from the program's string
// table — act on the title bar's form. Each opening enables a command only when the bar
// carries a button of that kind (hidden buttons count).
//
// Life story: created by its title bar (owner), which then tells it the bar; drawn in the
// bar's style (the bar passes its resolved UIStyle and FileTheme on); opened by the control
// box without a menu of its own and by Alt+Space on a skinned form; freed with the bar.
#pragma once

#include "skin/menus/sui_popup_menu.h"

namespace nestora::gui {
class TMenuItem;
}

namespace nestora::skin {

class TsuiTitleBar;

// String-table identifiers of the three captions.
inline constexpr unsigned kMinimizeCaptionId = 65248;
inline constexpr unsigned kMaximizeRestoreCaptionId = 65249;
inline constexpr unsigned kCloseCaptionId = 65250;

class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
public:
    explicit TsuiTitleBarPopupMenu(gui::TComponent* owner);

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TsuiTitleBar* TitleBar() const { return titleBar_; }
    void SetTitleBar(TsuiTitleBar* bar) { titleBar_ = bar; }

    // Enables the commands the bar's buttons offer, then opens the menu at (x, y).
    void Popup(int x, int y) override;
    // The enabled states Popup gives the items (also usable without opening the menu).
    void UpdateItemStates();

    gui::TMenuItem& MinimizeItem() const;
    gui::TMenuItem& MaximizeItem() const;
    gui::TMenuItem& CloseItem() const;

private:
    void Minimize();
    void MaximizeOrRestore();
    void CloseForm();

    TsuiTitleBar* titleBar_ = nullptr;
};

} // namespace nestora::skin
