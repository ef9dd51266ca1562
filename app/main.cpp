// Nestora's entry point: the application, its title, the main window, the message loop.
#include "gui/win/graphics_win32.h"

#include "app/main_window.h"

#include "gui/win/application.h"

#include <objbase.h>

namespace {

// A DLL named without a path is looked for in System32 only, never in the program's own
// folder: a portable copy started from Downloads or an unpacked zip must not load a file
// someone dropped beside it. Before anything else runs that could load one (COM does). A
// Windows 7 without update KB2533623 lacks the call: there the current folder at least is
// taken out of the search.
void SearchSystemFolderForDlls() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto proc = kernel ? ::GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    const auto setDirectories =
        reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(proc));
    if (!setDirectories || !setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        ::SetDllDirectoryW(L"");
}

// COM for this (the user-interface) thread, for the shell's automation objects.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialised_)
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    SearchSystemFolderForDlls();
    const ComApartment com;
    try {
        nestora::gui::TApplication application;
        application.Initialize();
        application.SetTitle(L"Nestora");
        application.CreateForm<nestora::app::TForm1>();
        application.Run();
    } catch (...) {
        nestora::gui::HandleCurrentException();
        return 1;
    }
    return 0;
}
