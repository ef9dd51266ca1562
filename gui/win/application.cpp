#include "gui/win/application.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/core/utf.h"
#include "gui/win/dpi.h"
#include "gui/win/form.h"
#include "gui/win/icon_sizes.h"
#include "gui/win/window_binding.h"
#include "gui/win/window_class.h"

#include <algorithm>

namespace nestora::gui {

namespace {

// The one piece of process state: which application is current.
TApplication* g_current = nullptr;

constexpr wchar_t kApplicationWindowClass[] = L"TApplication";
constexpr wchar_t kApplicationWindowProperty[] = L"Nestora.gui.Application";

std::wstring ErrorText(const std::exception& error) {
    if (const auto* e = dynamic_cast<const Exception*>(&error))
        return e->Message();
    const char* what = error.what();
    return what && *what ? Utf8ToWide(what) : std::wstring(L"An unknown error occurred");
}

} // namespace

TApplication* CurrentApplication() noexcept {
    return g_current;
}

TApplication& Application() {
    if (!g_current)
        throw EInvalidOperation(L"There is no application object");
    return *g_current;
}

void HandleCurrentException() noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        if (g_current)
            g_current->HandleException(e);
    } catch (...) {
        if (g_current)
            g_current->HandleException(Exception(L"An unknown error occurred"));
    }
}

using ApplicationBinding = WindowBinding<TApplication, kApplicationWindowProperty>;

void TApplication::WindowMessage(TMessage& message) {
    const std::weak_ptr<char> life = life_;
    CallWindowHooks(message);
    if (life.expired())
        return; // a hook freed the application
    WndProc(message.Window, message.Msg, message.WParam, message.LParam, message.Result);
}

void TApplication::WindowGone(HWND window) noexcept {
    if (window_.get() == window)
        (void)window_.release(); // ended by someone else: Handle() makes a new one
}

const ClassInfo& TApplication::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TApplication>("TApplication", &TComponent::StaticClassInfo())
            .Text("Title", &TApplication::Title, &TApplication::SetTitle)
            .Bool("ShowMainForm", &TApplication::ShowMainForm, &TApplication::SetShowMainForm)
            .Build();
    return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    if (g_current)
        throw EInvalidOperation(L"There is already an application object");
    g_current = this;
    icon_.SetOnChange([this](TObject*) { IconChanged(); });
    // The title starts as the executable's name, as Windows would show it.
    const std::wstring exe = ExeName();
    const std::size_t slash = exe.find_last_of(L"\\/");
    title_ = exe.substr(slash == std::wstring::npos ? 0 : slash + 1);
    if (const std::size_t dot = title_.find_last_of(L'.'); dot != std::wstring::npos && dot > 0)
        title_.resize(dot);
}

TApplication::~TApplication() {
    DestroyForms();
    window_.reset();
    icon_.SetOnChange(nullptr);
    // A WM_QUIT left in the queue would end the next loop of this thread at once.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    if (g_current == this)
        g_current = nullptr;
}

void TApplication::DestroyForms() {
    mainForm_ = nullptr;
    // Last created first, as owners free what they own; each form's destroy event runs
    // while the application window still exists.
    while (ComponentCount() > 0)
        Components(ComponentCount() - 1)->Free();
}

void TApplication::Initialize() {
    // The common controls wait for the first control that needs them (common_controls.h).
    const HWND window = Handle();
    if (icon_.Empty()) {
        iconFromResource_ = true;
        LoadIconsAt(WindowDpi(window));
    }
}

void TApplication::LoadIconsAt(int dpi) {
    if (!iconFromResource_)
        return;
    const int large = LargeIconSize(dpi), small = SmallIconSize(dpi);
    if (large == icon_.Width() && small == smallIcon_.Width())
        return;
    loadingIcons_ = true;
    try {
        smallIcon_.LoadFromResourceName(FrameworkInstance(), L"MAINICON", small, small);
        icon_.LoadFromResourceName(FrameworkInstance(), L"MAINICON", large, large);
    } catch (const EResNotFound&) {
        // A program without an icon keeps the system's.
        iconFromResource_ = false;
    }
    loadingIcons_ = false;
    SendIcons();
}

int TApplication::HookWindow(TWindowHook hook) {
    hooks_.push_back({++lastHookId_, std::move(hook)});
    return lastHookId_;
}

void TApplication::UnhookWindow(int id) {
    std::erase_if(hooks_, [id](const auto& entry) { return entry.first == id; });
}

void TApplication::CallWindowHooks(const TMessage& message) {
    // A hook may remove itself or others (the component that set it may be freed inside):
    // each one is looked up again before it is called, and the list is never walked while
    // it changes.
    std::vector<int> ids;
    ids.reserve(hooks_.size());
    for (const auto& entry : hooks_)
        ids.push_back(entry.first);
    for (const int id : ids) {
        const auto found = std::find_if(hooks_.begin(), hooks_.end(),
                                        [id](const auto& entry) { return entry.first == id; });
        if (found == hooks_.end())
            continue;
        const TWindowHook hook = found->second;
        TMessage copy = message;
        CallGuarded([&] { hook(copy); });
    }
}

void TApplication::IconChanged() {
    if (loadingIcons_)
        return;
    // The program's own icon: it is shown as it is, at every size and every DPI.
    iconFromResource_ = false;
    smallIcon_.SetHandle(UniqueIcon());
    SendIcons();
}

void TApplication::SendIcons() {
    if (!window_)
        return;
    const auto large = reinterpret_cast<LPARAM>(icon_.Handle());
    const auto small = smallIcon_.Empty() ? large : reinterpret_cast<LPARAM>(smallIcon_.Handle());
    ::SendMessageW(window_.get(), WM_SETICON, ICON_BIG, large);
    ::SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, small);
}

HWND TApplication::Handle() {
    if (window_)
        return window_.get();
    EnsureWindowClass(
        WindowClassDesc{kApplicationWindowClass, &ApplicationBinding::Entry, nullptr, 0, nullptr});
    // A window of no size at the screen's centre: it exists for its taskbar button and as
    // the owner of the forms, and is never seen itself.
    const HWND window =
        ::CreateWindowExW(0, kApplicationWindowClass, title_.c_str(),
                          WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                          ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2,
                          0, 0, nullptr, nullptr, FrameworkInstance(), this);
    if (!window)
        throw EOutOfResources(L"The application window cannot be created");
    window_.reset(window);
    SendIcons();
    return window;
}

void TApplication::SetTitle(const std::wstring& title) {
    title_ = title;
    if (window_)
        ::SetWindowTextW(window_.get(), title_.c_str());
}

std::wstring TApplication::ExeName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), size);
        if (n == 0)
            return {};
        if (n < size) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768) // longer than any Windows path
            return {};
        path.resize(path.size() * 2);
    }
}

void TApplication::SetMainFormInternal(TCustomForm* form) {
    mainForm_ = form;
    if (form) {
        FreeNotification(form);
        form->HandleNeeded();
    }
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == mainForm_)
        mainForm_ = nullptr;
}

void TApplication::MainFormVisibilityChanged(bool visible) {
    if (!window_)
        return;
    const HWND window = window_.get();
    if (visible) {
        if (!::IsWindowVisible(window))
            ::ShowWindow(window, SW_SHOWNOACTIVATE);
    } else if (::IsWindowVisible(window) && !::IsIconic(window)) {
        ::ShowWindow(window, SW_HIDE); // no taskbar button for a program without a window
    }
}

void TApplication::Run() {
    // Without a main form nothing could ever end the loop from the user's side.
    if (!mainForm_)
        return;
    if (showMainForm_ && !terminated_) {
        if (mainForm_->WindowState() == TWindowState::wsMinimized)
            Minimize();
        else
            mainForm_->SetVisible(true);
    }
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleCurrentException();
        }
    }
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void TApplication::Terminate() {
    if (terminated_)
        return;
    terminated_ = true;
    // Modal loops (menus, message boxes) end on WM_QUIT as well.
    ::PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    bool handled = false;
    if (onMessage_) {
        const TMessageEvent hook = onMessage_; // the hook may replace itself
        try {
            hook(msg, handled);
        } catch (...) {
            HandleCurrentException();
            handled = true;
        }
    }
    if (!handled && !IsDialogKey(msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

bool TApplication::IsDialogKey(const MSG& msg) {
    // Tab and Shift+Tab move the focus between the controls of a form, unless the control
    // wants the Tab key itself.
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB)
        return false;
    TWinControl* control = nullptr;
    for (HWND w = msg.hwnd; w && !control; w = ::GetParent(w))
        control = TWinControl::FromHandle(w);
    if (!control)
        return false;
    if (::SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
        (DLGC_WANTTAB | DLGC_WANTALLKEYS))
        return false;
    TCustomForm* form = control->ParentForm();
    if (!form)
        return false;
    const bool forward = ::GetKeyState(VK_SHIFT) >= 0;
    form->SelectNext(control == form ? nullptr : control, forward);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg) && !terminated_)
        ::WaitMessage();
}

void TApplication::Minimize() {
    const HWND window = Handle();
    if (::IsIconic(window))
        return;
    ::ShowWindow(window, SW_MINIMIZE);
    if (onMinimize_)
        onMinimize_(this);
}

void TApplication::Restore() {
    const HWND window = Handle();
    if (!::IsIconic(window))
        return;
    ::ShowWindow(window, SW_RESTORE);
    if (mainForm_ && mainForm_->WindowState() == TWindowState::wsMinimized) {
        mainForm_->SetWindowState(TWindowState::wsNormal);
        mainForm_->SetVisible(true);
    }
    if (onRestore_)
        onRestore_(this);
}

void TApplication::EndSession() {
    terminated_ = true;
    // A form whose handler waits in a modal loop (a message box) cannot be freed under it:
    // its destroy event runs now, so what it saves is saved all the same.
    bool busy = false;
    for (TComponent* c : ComponentList()) {
        auto* form = dynamic_cast<TCustomForm*>(c);
        if (form && form->Dispatching()) {
            busy = true;
            CallGuarded([form] { form->RaiseDestroyEvent(); });
        }
    }
    if (!busy)
        DestroyForms();
}

void TApplication::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return;
        case SC_RESTORE:
            Restore();
            return;
        default:
            break;
        }
        break;
    case WM_CLOSE:
        if (mainForm_)
            mainForm_->Close();
        return;
    case WM_ACTIVATEAPP:
        active_ = wParam != 0;
        break;
    case WM_SETFOCUS:
        // The taskbar button activates this window: the focus belongs on the main form.
        if (mainForm_ && mainForm_->Visible() && mainForm_->HandleAllocated() &&
            ::IsWindowEnabled(mainForm_->Handle())) {
            ::SetFocus(mainForm_->Handle());
            return;
        }
        break;
    case WM_DPICHANGED:
        // The window has no size of its own: only its icons follow the new DPI.
        LoadIconsAt(static_cast<int>(HIWORD(wParam)));
        result = 0;
        return;
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
        // A hidden window is not told of a new DPI; the display's scale changing comes as
        // these.
        LoadIconsAt(WindowDpi(window));
        break;
    case WM_QUERYENDSESSION:
        result = TRUE;
        return;
    case WM_ENDSESSION:
        // Windows ends the process once this returns: the forms' destroy events must have
        // saved what they keep before that, as on a normal exit.
        if (wParam)
            EndSession();
        return;
    default:
        break;
    }
    result = ::DefWindowProcW(window, msg, wParam, lParam);
}

void TApplication::HandleException(const std::exception& error) noexcept {
    try {
        if (onException_)
            onException_(this, error);
        else
            ShowException(error);
    } catch (...) {
        // The error handler failed as well; the program goes on regardless.
    }
}

void TApplication::ShowException(const std::exception& error) {
    MessageBox(ErrorText(error), title_, MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption,
                             unsigned flags) {
    const HWND owner = window_ ? window_.get() : nullptr;
    if (messageBox_)
        return messageBox_(owner, text, caption, flags);
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::SetMessageBoxFunction(MessageBoxFunction function) {
    messageBox_ = std::move(function);
}

} // namespace nestora::gui
