#pragma once
// TMainMenu: the menu bar of a form.
//
// Life story:
//   created   empty, not attached to any window.
//   attached  the form calls AttachWindow(hwnd) (its Menu property) and offers the menu
//             every message of its window through HandleWindowMessage. From then on every
//             change of the items reaches the window at once: states and captions in place,
//             a structural change by rebuilding the bar (deferred while the user has a
//             menu of the bar open, until it closes), then DrawMenuBar.
//   keys      the form's key handling asks IsShortCut with each key-down message: an
//             enabled, visible item with that shortcut (Ctrl/Shift/Alt as held now) is
//             clicked and the key counts as handled.
//   detached  DetachWindow(), or the window's WM_DESTROY, takes the bar off the window
//             (SetMenu(hwnd, null)) so that Windows never destroys the menu's HMENU with
//             the window; the menu's end detaches too.
//
// OnChange (also published) hears of every change: the item concerned (null: many) and
// whether the structure changed.

#include "gui/win/graphics_win32.h"

#include "gui/core/events.h"
#include "gui/win/menu.h"

namespace nestora::gui {

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    void AttachWindow(HWND window);
    void DetachWindow();
    HWND WindowHandle() const { return window_; }

    // WM_KEYDOWN or WM_SYSKEYDOWN with the modifier keys held now.
    bool IsShortCut(const TMessage& message);
    bool IsShortCut(std::uint16_t key, TShiftState shift);

    bool HandleWindowMessage(TMessage& message) override;
    void Loaded() override;

protected:
    HMENU CreateRootHandle() const override;
    bool IsMenuBar() const override { return true; }
    void MenuChanged(TMenuItem* source, bool rebuild) override;

private:
    void Refresh();

    HWND window_ = nullptr;
    bool tracking_ = false;
};

} // namespace nestora::gui
