// What a press sees of the system besides the shell object, for counting its calls: the
// focus on one window (no window minimised, no desktop), and the folders it would make,
// recorded instead of made.
#pragma once

#include "app/hotkey_press.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nestora::bench {

class FocusOn final : public app::PressWindows {
public:
    explicit FocusOn(std::uintptr_t window) : window_(window) {}
    bool IsMinimised(app::WindowId) override { return false; }
    app::WindowId ForegroundWindow() override { return static_cast<app::WindowId>(window_); }
    bool IsDesktop(app::WindowId) override { return false; }
    app::WindowId ActiveTab(app::WindowId) override { return 0; }

private:
    std::uintptr_t window_;
};

class RecordedTargets final : public app::FolderTargets {
public:
    std::optional<std::wstring> CreateInFolder(const std::wstring& folder,
                                               const std::vector<std::wstring>&,
                                               app::WindowId) override {
        folders.push_back(folder);
        return std::nullopt; // nothing made: nothing to rename
    }
    void CreateOnDesktop(app::PressKind) override { ++desktop; }
    std::vector<std::wstring> folders;
    int desktop = 0;
};

} // namespace nestora::bench
