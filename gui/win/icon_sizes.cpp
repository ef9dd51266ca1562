#include "gui/win/icon_sizes.h"

#include "gui/win/dpi.h"

namespace nestora::gui {

int SmallIconSize(int dpi) {
    return SystemMetricForDpi(SM_CXSMICON, dpi);
}

int LargeIconSize(int dpi) {
    return SystemMetricForDpi(SM_CXICON, dpi);
}

int TaskbarDpi() {
    return WindowDpi(::FindWindowW(L"Shell_TrayWnd", nullptr));
}

} // namespace nestora::gui
