#pragma once
// TToolBar and TToolButton: a flat tool bar (the comctl32 toolbar control superclassed as
// "TToolBar": flat, no edge borders, no divider, buttons showing their captions) whose
// buttons can stand for menu items. The skinned form's menu bar is one of these.
//
// Life story of a bar:
//   created   on a parent control like any control; no buttons. Color, Font, Height,
//             AutoSize (the bar's height follows its buttons) and ButtonHeight.
//   buttons   a TToolButton joins with SetToolBar(bar) (or by nesting in the bar's block of
//             a window description) at the right end; SetIndex moves it. The bar keeps the
//             buttons in the window in step with their properties.
//   painted   by the control, with two custom-draw events (NM_CUSTOMDRAW): OnCustomDraw for
//             the background (the bar's Color is filled first) and OnCustomDrawButton for
//             each button with its state set (hot, selected/pressed, disabled, checked).
//             Each gets a canvas on the bar's DC and a default-draw flag: a handler that
//             clears it has drawn everything itself; otherwise the bar draws (the buttons
//             with the font the handler left on the canvas).
//   menus     a button linked to a menu item (MenuItem) shows the item's caption and
//             enabled state (RefreshMenuButtons copies them again after the items change).
//             Pressing it opens the item's sub-menu under the button, tracked with the bar's
//             window as the menu's owner: the menu messages (owner drawing, the chosen
//             item's WM_COMMAND) go on to the item's menu. While a sub-menu of the bar is
//             open, Left and Right move to the neighbouring menu button's sub-menu. An item
//             without sub-items is simply clicked.
//   destroyed frees the buttons still on it.
//
// A button is a component (its owner frees it like any); it is not a window of its own.

#include "gui/win/graphics_win32.h"

#include "gui/win/win_control.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nestora::gui {

class TCanvas;
class TMenu;
class TMenuItem;
class TToolBar;

enum TCustomDrawStateFlag : unsigned {
    cdsSelected = 1u << 0, // pressed (also while its menu is open)
    cdsGrayed = 1u << 1,
    cdsDisabled = 1u << 2,
    cdsChecked = 1u << 3,
    cdsFocused = 1u << 4,
    cdsDefault = 1u << 5,
    cdsHot = 1u << 6,
};
using TCustomDrawState = unsigned;

enum class TToolButtonStyle { tbsButton, tbsCheck };
extern const EnumInfo kToolButtonStyleInfo;

class TToolButton;

using TToolBarCustomDrawEvent =
    std::function<void(TToolBar* sender, TCanvas& canvas, const TRect& rect, bool& defaultDraw)>;
using TToolBarCustomDrawButtonEvent =
    std::function<void(TToolBar* sender, TToolButton* button, TCanvas& canvas, const TRect& rect,
                       TCustomDrawState state, bool& defaultDraw)>;

class TToolButton : public TComponent {
public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TToolBar* ToolBar() const { return toolBar_; }
    // Joins bar at its right end (null: leaves its bar).
    void SetToolBar(TToolBar* bar);
    int Index() const;
    void SetIndex(int index);
    void SetParentComponent(TComponent* parent) override;

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // A check button that is down, or any button shown pressed.
    bool Down() const { return down_; }
    void SetDown(bool down);
    // Starts a group of check buttons (only one of them down at a time).
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool grouped);
    // As wide as its caption needs.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle style);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint) { hint_ = hint; }

    TMenuItem* MenuItem() const { return menuItem_; }
    // Links the button to item (not owned): the button takes its caption and enabled state.
    void SetMenuItem(TMenuItem* item);
    // Copies caption and enabled state from the linked item again.
    void UpdateFromMenuItem();

    void SetOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }
    // What pressing the button does: a linked item's sub-menu opens, a linked item without
    // sub-items is clicked, a check button toggles; then OnClick.
    virtual void Click();

    // The button's command number in the bar's window (0 while on no bar).
    int Command() const { return command_; }
    // Its rectangle in the bar (empty while not shown).
    TRect BoundsRect() const;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolBar;
    void Changed();

    TToolBar* toolBar_ = nullptr;
    int command_ = 0;
    std::wstring caption_;
    bool enabled_ = true;
    bool visible_ = true;
    bool down_ = false;
    bool grouped_ = false;
    bool autoSize_ = false;
    TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
    std::wstring hint_;
    TMenuItem* menuItem_ = nullptr;
    TNotifyEvent onClick_;
};

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Buttons(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
    // The button with that command number, or null.
    TToolButton* FindButton(int command) const;

    // The height of every button (22 by default).
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int height);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    // Whether a button with a sub-menu shows the control's drop-down arrow (the default). A
    // menu bar's captions stand alone: without arrows such a button is a plain button that
    // opens its sub-menu when the mouse is pressed on it.
    bool DropDownArrows() const { return dropDownArrows_; }
    void SetDropDownArrows(bool arrows);

    // Copies captions and enabled states from the linked menu items to their buttons.
    void RefreshMenuButtons();
    // Opens the sub-menu of button's menu item under the button and returns when it has
    // closed (the chosen item's click follows with its WM_COMMAND).
    void TrackMenu(TToolButton* button);
    // The button whose menu is open, or null.
    TToolButton* TrackedButton() const { return tracked_; }

    void SetOnCustomDraw(TToolBarCustomDrawEvent handler) { onCustomDraw_ = std::move(handler); }
    void SetOnCustomDrawButton(TToolBarCustomDrawButtonEvent handler) {
        onCustomDrawButton_ = std::move(handler);
    }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void InitializeWindow() override;
    void WndProc(TMessage& message) override;
    void FontChanged() override;
    void ColorChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolButton;
    friend LRESULT CALLBACK ToolBarMenuFilter(int code, WPARAM wParam, LPARAM lParam);
    void AddButton(TToolButton* button);
    void RemoveButton(TToolButton* button);
    void MoveButton(TToolButton* button, int index);
    void ButtonChanged(TToolButton* button);
    void SyncButtons();
    void UpdateButton(TToolButton* button);
    void AdjustSize();
    void ApplyButtonHeight();
    LRESULT CustomDraw(NMTBCUSTOMDRAW& draw);
    bool ForwardMenuMessage(TMessage& message);
    // Without drop-down arrows: opens the sub-menu of the button under the mouse, if any.
    bool OpenMenuButtonAt(LPARAM position);
    TToolButton* NeighbourMenuButton(TToolButton* from, bool forward) const;

    std::vector<TToolButton*> buttons_;
    int nextCommand_ = 1;
    int buttonHeight_ = 22;
    bool autoSize_ = false;
    bool dropDownArrows_ = true;
    TToolButton* tracked_ = nullptr;
    TToolButton* switchTo_ = nullptr; // set by Left/Right while a sub-menu is open
    HMENU selectedMenu_ = nullptr;    // the open menu holding the highlight
    bool selectedOpens_ = false;      // the highlighted item opens a sub-menu
    TMenu* trackedMenu_ = nullptr;
    TFont itemFont_; // the font a button is drawn with by default
    HGDIOBJ itemOldFont_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    TToolBarCustomDrawEvent onCustomDraw_;
    TToolBarCustomDrawButtonEvent onCustomDrawButton_;
};

} // namespace nestora::gui
