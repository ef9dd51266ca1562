#pragma once
// Where errors raised by menu handlers go when no one else catches them: inside the popup
// menu's own window procedure (clicks, owner drawing, OnPopup of sub-menus). No exception
// ever crosses a window procedure into the system.
//
// SWITCH-OVER: the application object (gui/win/application.h, its HandleCurrentException)
// is being written beside this code. Until it is in the tree, menu errors are shown here in
// a message box with the error's text and an error icon, through a replaceable function
// that tests set. Once it is, HandleMenuException calls HandleCurrentException and this
// file shrinks to that.

#include <exception>
#include <functional>

namespace gui {

using MenuErrorHandler = std::function<void(const std::exception& error)>;

// Inside a catch block: hands the exception being handled on. Never throws.
void HandleMenuException() noexcept;
// Replaces the handler (an empty one restores the message box); returns the previous one.
MenuErrorHandler SetMenuErrorHandler(MenuErrorHandler handler);

} // namespace gui
