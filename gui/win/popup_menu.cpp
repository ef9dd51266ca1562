#include "gui/win/popup_menu.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/win/application.h"
#include "gui/win/window_binding.h"

namespace nestora::gui {

const EnumInfo kPopupAlignmentInfo{"TPopupAlignment", {"paLeft", "paRight", "paCenter"}};

namespace {

constexpr wchar_t kWindowClass[] = L"TPopupMenuWindow";
constexpr wchar_t kWindowProperty[] = L"Nestora.gui.PopupMenu";

// Unbound by the menu's destructor before it destroys the window, so that a half-destroyed
// menu never sees the last messages.
using PopupMenuBinding = WindowBinding<TPopupMenu, kWindowProperty>;

void EnsureWindowClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PopupMenuBinding::Entry;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kWindowClass;
        const ATOM registered = ::RegisterClassExW(&wc);
        if (!registered && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
            return static_cast<ATOM>(1);
        return registered;
    }();
    if (!atom)
        throw EOutOfResources(L"Cannot register the popup menu window class");
}

} // namespace

const ClassInfo& TPopupMenu::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TPopupMenu>("TPopupMenu", &TMenu::StaticClassInfo())
            .Creatable()
            .Enum("Alignment", kPopupAlignmentInfo, &TPopupMenu::Alignment,
                  &TPopupMenu::SetAlignment)
            .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
            .Event<TNotifyEvent>("OnPopup", &TPopupMenu::SetOnPopup)
            .Build();
    return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() {
    *alive_ = false;
    if (window_) {
        PopupMenuBinding::Unbind(window_.get());
        window_.reset();
    }
}

HMENU TPopupMenu::CreateRootHandle() const {
    return ::CreatePopupMenu();
}

HWND TPopupMenu::WindowHandle() {
    if (!window_) {
        EnsureWindowClass();
        window_.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                                        nullptr, nullptr, ::GetModuleHandleW(nullptr), this));
        if (!window_)
            throw EOutOfResources(L"Cannot create the popup menu's window");
    }
    return window_.get();
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
    if (component == popupComponent_)
        return;
    if (popupComponent_)
        RemoveFreeNotification(popupComponent_);
    popupComponent_ = component;
    if (popupComponent_)
        FreeNotification(popupComponent_);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupComponent_)
        popupComponent_ = nullptr;
}

void TPopupMenu::DoPopup() {
    if (onPopup_)
        onPopup_(this);
}

void TPopupMenu::Popup(int x, int y) {
    if (open_)
        return;
    const std::shared_ptr<bool> alive = alive_;
    DoPopup();
    if (!*alive)
        return;
    HMENU menu = Handle();
    HWND owner = WindowHandle();
    static constexpr UINT kAlign[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
    const UINT flags = kAlign[static_cast<int>(alignment_)] | TPM_RIGHTBUTTON;
    open_ = true;
    ::TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
    if (!*alive)
        return;
    open_ = false;
}

void TPopupMenu::WindowMessage(TMessage& message) {
    // A click may free this menu and its window: only the message is used afterwards.
    if (HandleWindowMessage(message))
        return;
    message.Result = ::DefWindowProcW(message.Window, message.Msg, message.WParam, message.LParam);
}

void TPopupMenu::WindowGone(HWND window) noexcept {
    // Ended by someone else (a WM_CLOSE reaching default processing): the next popup makes
    // a new one.
    if (window_.get() == window)
        (void)window_.release();
}

} // namespace nestora::gui
