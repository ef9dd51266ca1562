#include "app/app_seams.h"

#include "app/win_desktop_shell.h"
#include "app/win_file_system.h"
#include "app/win_item_mover.h"
#include "app/win_keyboard_layouts.h"
#include "app/win_press_windows.h"
#include "app/win_shell_automation.h"
#include "gui/win/key_names.h"

namespace nestora::app {

AppSeams SystemSeams() {
    AppSeams seams;
    seams.hotKey.registerKey = [](HWND window, int id, unsigned modifiers, unsigned key) {
        return ::RegisterHotKey(window, id, modifiers, key) != FALSE;
    };
    seams.hotKey.unregisterKey = [](HWND window, int id) { ::UnregisterHotKey(window, id); };
    seams.shell = [] { return CreateShellApplication(); };
    seams.pressWindows = [](HWND) -> std::unique_ptr<PressWindows> {
        return std::make_unique<SystemPressWindows>();
    };
    seams.fileSystem = std::make_shared<WindowsFileSystem>();
    seams.desktop = std::make_shared<SystemDesktopShell>();
    seams.mover = std::make_shared<ShellItemMover>();
    seams.keyNames = gui::WindowsKeyNames();
    seams.installedKeyNames = InstalledLayoutKeyNames;
    return seams;
}

} // namespace nestora::app
