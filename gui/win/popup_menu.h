#pragma once
// TPopupMenu: a menu popped up at a screen point (the tray icon's menu, a window menu, a
// control's context menu).
//
// Life story:
//   created   empty; AutoPopup on, left-aligned, automatic accelerators.
//   filled    items are added to Items() (or nested in its block of a window description).
//   popped    Popup(x, y): OnPopup runs (it may change the items), the HMENU is rebuilt if
//             the items' structure changed since the last time (otherwise the same handles
//             are shown again), and the menu is tracked until it closes; Popup returns then.
//             The chosen item's click runs after that, when the WM_COMMAND that Windows
//             posts for it reaches the menu's window — from the application's message loop,
//             as for any window message.
//   destroyed its window and its HMENU go with it; a WM_COMMAND still queued for it then
//             reaches nothing.
//
// The menu owns a hidden top-level window of its own (class "TPopupMenuWindow"): the owner
// window of TrackPopupMenuEx, which receives the menu's WM_COMMAND, owner-draw and
// menu-character messages. It is bound to the menu with WindowBinding, so errors raised by
// handlers inside it go to the application's error handler, never into the system; when
// something else ends it (a WM_CLOSE), the menu lets go of it and makes a new one when
// next popped up.
//
// PopupComponent is the component that last popped the menu up (the tray icon sets it
// before Popup); it is cleared when that component is destroyed.

#include "gui/win/graphics_win32.h"

#include "gui/win/menu.h"

#include <memory>

namespace nestora::gui {

template <class T, const wchar_t* Property> class WindowBinding;

enum class TPopupAlignment { paLeft, paRight, paCenter };
extern const EnumInfo kPopupAlignmentInfo;

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment alignment) { alignment_ = alignment; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component);
    void SetOnPopup(TNotifyEvent handler) { onPopup_ = std::move(handler); }

    // Shows the menu with its corner at the screen point (x, y) and returns when it has
    // closed. A Popup while the menu is already open does nothing.
    virtual void Popup(int x, int y);
    bool IsOpen() const { return open_; }

    // The hidden owner window, made now if needed.
    HWND WindowHandle();

protected:
    HMENU CreateRootHandle() const override;
    // Raises OnPopup.
    virtual void DoPopup();
    void Notification(TComponent* component, TOperation operation) override;

private:
    template <class, const wchar_t*> friend class WindowBinding;
    // The window binding (window_binding.h).
    void WindowBound(HWND) noexcept {}
    void WindowMessage(TMessage& message);
    void WindowGone(HWND window) noexcept;
    std::weak_ptr<const void> WindowLife() const noexcept { return alive_; }

    TPopupAlignment alignment_ = TPopupAlignment::paLeft;
    bool autoPopup_ = true;
    TComponent* popupComponent_ = nullptr;
    TNotifyEvent onPopup_;
    CountedWindow window_;
    bool open_ = false;
    // Cleared when the menu goes, so that a Popup whose menu was freed while it was open
    // knows not to touch it after TrackPopupMenuEx returns.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace nestora::gui
