#pragma once
// TMessage: one window message as handlers see it. A handler sets Result; the framework
// returns it from the window procedure.

#include "gui/win/graphics_win32.h"

namespace nestora::gui {

struct TMessage {
    HWND Window = nullptr;
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

} // namespace nestora::gui
