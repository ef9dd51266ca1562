// The system as the main window reaches it, gathered so tests can replace each part: the
// settings' registry roots, the global hotkey, the shell's automation object, the
// desktop's windows, the file system, the desktop folder, the shell's file operation, the
// keyboard layout's names,
// the tray icon's way to the shell and the run keys of the start-with-Windows entry.
//
// SystemSeams() gives the real ones; a test builds its own and hands it to TForm1.
#pragma once

#include "app/folder_creation.h"
#include "app/hotkey_press.h"
#include "app/new_folder_targets.h"
#include "app/shortcut.h"
#include "app/win_settings_store.h"

#include "desktop/auto_exec.h"
#include "desktop/tray_icon.h"

#include <functional>
#include <memory>
#include <vector>

namespace nestora::app {

struct HotKeyCalls {
    std::function<bool(HWND window, int id, unsigned modifiers, unsigned virtualKey)> registerKey;
    std::function<void(HWND window, int id)> unregisterKey;
};

struct AppSeams {
    SettingsRoots settings;
    HotKeyCalls hotKey;
    ShellAutomationFactory shell;
    // The desktop's windows for one press (applicationWindow: the program's own taskbar window).
    std::function<std::unique_ptr<PressWindows>(HWND applicationWindow)> pressWindows;
    std::shared_ptr<FolderFileSystem> fileSystem;
    std::shared_ptr<DesktopShell> desktop;
    // The shell's file operation that moves the selection into the new folder.
    std::shared_ptr<ItemMover> mover;
    KeyNameSource keyNames; // the active layout's
    // Every installed layout's, for reading a stored hotkey written under another layout.
    std::function<std::vector<KeyNameSource>()> installedKeyNames;
    // Handed to the components as the description creates them, before their loaded step.
    desktop::TrayIconShell trayShell;
    desktop::AutoExecRegistry runKeys;
};

AppSeams SystemSeams();

} // namespace nestora::app
