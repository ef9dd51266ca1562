// Nestora's entry point: the application, its title, the main window, the message loop.
#include "gui/win/graphics_win32.h"

#include "app/unit1.h"

#include "gui/win/application.h"

#include <objbase.h>

namespace {

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
    const ComApartment com;
    try {
        gui::TApplication application;
        application.Initialize();
        application.SetTitle(L"Nestora");
        application.CreateForm<nestora::app::TForm1>();
        application.Run();
    } catch (...) {
        gui::HandleCurrentException();
        return 1;
    }
    return 0;
}
