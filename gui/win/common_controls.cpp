#include "gui/win/common_controls.h"

#include "gui/win/graphics_win32.h"

#include <commctrl.h>

namespace nestora::gui {

void EnsureCommonControls() {
    // Thread-safe once; the registration itself is idempotent, so a race would cost only
    // a second call.
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                                 ICC_HOTKEY_CLASS | ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)initialised;
}

} // namespace nestora::gui
