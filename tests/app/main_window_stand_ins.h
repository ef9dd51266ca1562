// What a main window hosted in a test stands on instead of the real desktop and Explorer:
// the desktop a scratch folder (renames recorded, not started, its selection given by the
// test) and no Explorer window
// anywhere, so that every press goes to the desktop.
#pragma once

#include "app/hotkey_press.h"
#include "app/new_folder_targets.h"

#include <string>
#include <utility>
#include <vector>

namespace nestora::app {

class ScratchDesktop final : public DesktopShell {
public:
    explicit ScratchDesktop(std::wstring folder) : folder_(std::move(folder)) {}
    std::wstring DesktopPath() override { return folder_; }
    void AnnounceNewFolder(const std::wstring&) override {}
    bool StartRename(const std::wstring& path) override {
        renamed.push_back(path);
        return true;
    }
    std::vector<std::wstring> SelectedPaths() override { return selected; }
    std::vector<std::wstring> renamed;
    std::vector<std::wstring> selected; // the paths selected in the desktop's view

private:
    std::wstring folder_;
};

class NoExplorerWindows final : public PressWindows {
public:
    bool IsMinimised(WindowId) override { return false; }
    WindowId ForegroundWindow() override { return 0; }
    bool IsDesktop(WindowId) override { return false; }
    WindowId ActiveTab(WindowId) override { return 0; }
};

} // namespace nestora::app
