#pragma once
// abfComponents: the desktop components as one unit, for a program that wires them into a
// window description: the tray icon (TabfTrayIcon), the single-instance guard
// (TabfOneInstance) and the start-with-Windows entry (TabfAutoRun).

#include "gui/win/graphics_win32.h"

#include "desktop/auto_run.h"
#include "desktop/one_instance.h"
#include "desktop/tray_icon.h"
#include "gui/core/class_info.h"

namespace nestora::desktop {

// Makes the three components creatable by window descriptions.
void RegisterDesktopClasses(gui::ClassRegistry& classes);

} // namespace nestora::desktop
