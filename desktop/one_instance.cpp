#include "desktop/one_instance.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/win/application.h"
#include "gui/win/handles.h"

namespace nestora::desktop {

namespace {

// The process's hold on its "Default" mutex: kept until the process ends, then released
// (the owning thread is the one that ends the program) and closed.
class ProcessGuard {
public:
    static ProcessGuard& Instance() {
        static ProcessGuard guard;
        return guard;
    }
    ProcessGuard(const ProcessGuard&) = delete;
    ProcessGuard& operator=(const ProcessGuard&) = delete;
    ~ProcessGuard() { Let(); }

    void Hold(gui::UniqueKernelHandle handle) {
        Let();
        handle_ = std::move(handle);
    }

private:
    ProcessGuard() = default;
    void Let() {
        if (handle_)
            ::ReleaseMutex(handle_.get()); // fails harmlessly where another copy owns it
        handle_.reset();
    }
    gui::UniqueKernelHandle handle_;
};

std::wstring WindowClassOf(HWND window) {
    wchar_t name[256] = {};
    const int n = ::GetClassNameW(window, name, 256);
    return std::wstring(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

} // namespace

std::wstring UpperCasePath(std::wstring path) {
    if (!path.empty())
        ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

const gui::ClassInfo& TabfOneInstance::StaticClassInfo() {
    using T = TabfOneInstance;
    static const gui::ClassInfo info =
        gui::ClassBuilder<T>("TabfOneInstance", &TabfComponent::StaticClassInfo())
            .Creatable()
            .Bool("ActivatePrevInstance", &T::ActivatePrevInstance, &T::SetActivatePrevInstance)
            .Bool("ExeNameAsIdentifier", &T::ExeNameAsIdentifier, &T::SetExeNameAsIdentifier)
            .Text("Message", &T::Message, &T::SetMessage)
            .Text("Identifier", &T::Identifier, &T::SetIdentifier)
            .Bool("ShowMessage", &T::ShowMessage, &T::SetShowMessage)
            .Event<TabfOneInstanceShowMessage>("OnShowMessage", &T::SetOnShowMessage)
            .Build();
    return info;
}

void TabfOneInstance::Loaded() {
    TabfComponent::Loaded();
    CheckOneInstance();
}

GuardMutexNames TabfOneInstance::MutexNames() const {
    const std::wstring identity = exeNameAsIdentifier_ ? UpperCasePath(gui::TApplication::ExeName())
                                                       : gui::Application().Title();
    return MakeGuardMutexNames(identity, identifier_);
}

bool TabfOneInstance::IsPrevInstanceRunning() {
    if (IsDesigning())
        return false;
    const GuardMutexNames names = MutexNames();
    ::SetLastError(ERROR_SUCCESS);
    const gui::UniqueKernelHandle critical(
        ::CreateMutexW(nullptr, TRUE, names.criticalSection.c_str()));
    // Another copy is between these steps right now (or the mutex cannot be made at all):
    // that copy runs, this one is the second.
    if (!critical || ::GetLastError() != ERROR_SUCCESS)
        return true;
    gui::UniqueKernelHandle guard(::CreateMutexW(nullptr, FALSE, names.guard.c_str()));
    // No handle: the wait fails, which is no time-out, and this copy carries on as the first.
    // An abandoned mutex (a copy ended without releasing it) is this copy's now.
    const DWORD wait = guard ? ::WaitForSingleObject(guard.get(), 0) : WAIT_FAILED;
    ProcessGuard::Instance().Hold(std::move(guard));
    ::ReleaseMutex(critical.get());
    return wait == WAIT_TIMEOUT;
}

void TabfOneInstance::CheckOneInstance() {
    if (!IsPrevInstanceRunning())
        return;
    terminate_ = true;
    gui::TApplication& app = gui::Application();
    const bool showMainForm = app.ShowMainForm();
    app.SetShowMainForm(false);
    if (showMessage_)
        DoShowMessage();
    if (activatePrevInstance_)
        DoActivatePrevInstance();
    if (terminate_)
        app.Terminate();
    else
        app.SetShowMainForm(showMainForm);
}

void TabfOneInstance::DoShowMessage() {
    if (onShowMessage_) {
        const TabfOneInstanceShowMessage handler = onShowMessage_;
        handler(this, terminate_);
        return;
    }
    gui::TApplication& app = gui::Application();
    const std::wstring text =
        message_.empty() ? gui::FormatText(L"Application \"%s\" is already running.", {app.Title()})
                         : message_;
    app.MessageBox(text, app.Title(), MB_OK | MB_ICONEXCLAMATION);
}

HWND TabfOneInstance::FindPrevInstanceWindow() const {
    gui::TApplication& app = gui::Application();
    const HWND own = app.Handle();
    // Every copy's application window has the same class; the title tells programs apart
    // (FindWindowExW compares it whole, without regard to case).
    const std::wstring windowClass = WindowClassOf(own);
    if (windowClass.empty())
        return nullptr;
    HWND candidate = nullptr;
    while ((candidate = ::FindWindowExW(nullptr, candidate, windowClass.c_str(),
                                        app.Title().c_str())) != nullptr) {
        if (candidate != own)
            return candidate;
    }
    return nullptr;
}

void TabfOneInstance::DoActivatePrevInstance() {
    const HWND other = FindPrevInstanceWindow();
    if (!other || !::IsWindow(other))
        return;
    if (::IsIconic(other))
        ::OpenIcon(other);
    else
        ::SetForegroundWindow(other);
}

} // namespace nestora::desktop
