#pragma once
// WindowBinding: the one way an object of this program is bound to the windows it makes.
//
// Entry is the window procedure of the object's window class. The object is passed as the
// last argument of CreateWindowEx; the binding stores it in a window property (named by the
// Property argument, one name per kind of object, so a window of one kind never reads as
// another) at WM_NCCREATE, before any other message of the window is handled, and removes
// it at WM_NCDESTROY. Messages before WM_NCCREATE, and after the object let go of the
// window, get default processing and reach nothing.
//
// Every message goes to the object inside one guard: what a handler raises goes to the
// application's error handler (HandleCurrentException), never into the system. A handler
// may free the object, even the object of the window whose message it is handling: the
// binding checks the object's life after each message and then touches nothing of it.
//
// What T offers the binding (private members are fine: the binding is a friend):
//   void WindowBound(HWND window) noexcept   at WM_NCCREATE, before any handler runs
//   void WindowMessage(TMessage& message)    every message while bound; may raise, may free
//                                            the object
//   void WindowGone(HWND window) noexcept    after WM_NCDESTROY was handled, when the object
//                                            still lives: an owner of the window lets go of
//                                            it here, so it never destroys it a second time
//   std::weak_ptr<const void> WindowLife() const noexcept
//                                            expires when the object is freed
//
// An object that must not see the messages of its own window's destruction (its destructor
// is running) calls Unbind first.

#include "gui/win/graphics_win32.h"

#include "gui/win/application.h"
#include "gui/win/message.h"

#include <memory>

namespace nestora::gui {

template <class T, const wchar_t* Property> class WindowBinding {
public:
    static LRESULT CALLBACK Entry(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
        T* object = nullptr;
        if (msg == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            object = static_cast<T*>(create->lpCreateParams);
            if (object) {
                // A window its object cannot find is no window of the object: refused.
                if (!::SetPropW(window, Property, object))
                    return FALSE;
                object->WindowBound(window);
            }
        } else {
            object = Bound(window);
        }
        if (!object)
            return ::DefWindowProcW(window, msg, wParam, lParam);

        const std::weak_ptr<const void> life = object->WindowLife();
        TMessage message{window, msg, wParam, lParam, 0};
        try {
            object->WindowMessage(message);
        } catch (...) {
            HandleCurrentException();
        }
        if (msg == WM_NCDESTROY) {
            ::RemovePropW(window, Property);
            if (!life.expired())
                object->WindowGone(window);
        }
        // Only the local record: the object may be gone by now.
        return message.Result;
    }

    // The object bound to the window, or null (another kind of window, or none bound).
    static T* Bound(HWND window) noexcept {
        return window ? static_cast<T*>(::GetPropW(window, Property)) : nullptr;
    }

    // The object lets go of the window before its end: later messages reach nothing.
    static void Unbind(HWND window) noexcept {
        if (window)
            ::RemovePropW(window, Property);
    }
};

} // namespace nestora::gui
