#pragma once
// Message numbers the framework uses between its own windows. They lie in the WM_APP range
// ($8000-$BFFF) so that they never meet WM_USER messages of controls or programs (the tray
// icon's 1235, a common control's own messages).

#include "gui/win/graphics_win32.h"

namespace nestora::gui {

constexpr UINT CM_BASE = 0xB000;
// Posted to a window: free its control once the messages in hand are done (TCustomForm::
// Release). Handled by the window entry itself, so no handler runs inside a freed object.
constexpr UINT CM_RELEASE = CM_BASE + 1;

// Notifications a parent receives about a child (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR…) are
// passed on to the child's control as CN_BASE + the message, with the same parameters; the
// child's Result is the parent's answer.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

} // namespace nestora::gui
