#include "gui/win/popup_menu.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/win/application.h"

namespace gui {

const EnumInfo kPopupAlignmentInfo{"TPopupAlignment", {"paLeft", "paRight", "paCenter"}};

namespace {

constexpr wchar_t kWindowClass[] = L"TPopupMenuWindow";

} // namespace

// The one entry point of the menus' hidden windows: the menu is bound at WM_NCCREATE and
// unbound at WM_NCDESTROY (and by the menu's destructor before it destroys the window), so
// a late message never reaches a dead menu.
LRESULT CALLBACK PopupMenuWindowEntry(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* menu = reinterpret_cast<TPopupMenu*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (msg == WM_NCDESTROY)
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (!menu)
        return ::DefWindowProcW(window, msg, wParam, lParam);
    TMessage message{window, msg, wParam, lParam, 0};
    menu->WndProc(message);
    return message.Result;
}

namespace {

void EnsureWindowClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PopupMenuWindowEntry;
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
        ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
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

void TPopupMenu::WndProc(TMessage& message) {
    try {
        // A click may free this menu and its window: only the message is used afterwards.
        if (HandleWindowMessage(message))
            return;
    } catch (...) {
        HandleCurrentException();
        return;
    }
    message.Result = ::DefWindowProcW(message.Window, message.Msg, message.WParam, message.LParam);
}

} // namespace gui
