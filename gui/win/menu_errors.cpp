#include "gui/win/menu_errors.h"

#include "gui/win/graphics_win32.h"

#include "gui/core/exceptions.h"
#include "gui/core/utf.h"

#include <string>

namespace gui {

namespace {

MenuErrorHandler& Handler() {
    // SWITCH-OVER: goes away with the application object's error handler.
    static MenuErrorHandler handler;
    return handler;
}

void ShowError(const std::exception& error) {
    const auto* own = dynamic_cast<const Exception*>(&error);
    const std::wstring text = own ? own->Message() : Utf8ToWide(error.what());
    ::MessageBoxW(nullptr, text.c_str(), L"Error", MB_OK | MB_ICONERROR);
}

} // namespace

void HandleMenuException() noexcept {
    try {
        throw;
    } catch (const std::exception& error) {
        try {
            if (Handler())
                Handler()(error);
            else
                ShowError(error);
        } catch (...) {
        }
    } catch (...) {
    }
}

MenuErrorHandler SetMenuErrorHandler(MenuErrorHandler handler) {
    MenuErrorHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

} // namespace gui
