// The stand-in shell server's windows: real top-level "CabinetWClass" frames, a frame with
// tabs holding one "ShellTabWindowClass" child per tab (the active one shown and first
// among its siblings, as the program looks for it), and a stand-in desktop ("Progman").
// Every tab, or the frame itself when it has none, shows its folder through the system's
// explorer browser, so the view inside is the system's own shell view.
//
// Lifetime: made and ended on the server's one thread (COM initialised apartment-threaded);
// End() closes a window early, as a user closing it in the middle of a scan.
#pragma once

#include "tests/support/core/shell_server_options.h"

#include <windows.h>

#include <shobjidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace nestora::testing {

struct ExplorerTab {
    HWND window = nullptr; // the tab's window; the frame for a window without tabs
    Microsoft::WRL::ComPtr<IExplorerBrowser> browser;
    std::wstring locationUrl; // "file:///C:/dir" for a folder on disk, else empty
};

class ExplorerWindow {
public:
    // className: "CabinetWClass" for an Explorer window, "Progman" for the desktop.
    ExplorerWindow(const ServerWindowOptions& options, const wchar_t* className, RECT place);
    ~ExplorerWindow();
    ExplorerWindow(const ExplorerWindow&) = delete;
    ExplorerWindow& operator=(const ExplorerWindow&) = delete;

    HWND Frame() const { return frame_; }
    bool Tabbed() const { return tabbed_; }
    std::vector<ExplorerTab>& Tabs() { return tabs_; }
    bool Ended() const { return frame_ == nullptr; }
    void End();
    // The view of a tab, asked to list its folder again.
    void Refresh(std::size_t tab);
    // How many items the active tab's view holds selected (the names asked for when it
    // was made, of those it lists).
    int SelectedCount() const;
    // Puts the keyboard focus into the active tab's view, as a user's click there would (a
    // selection then shows in the colours of a focused list); for the window in front.
    void FocusView();

private:
    HWND frame_ = nullptr;
    bool tabbed_ = false;
    std::size_t activeTab_ = 0;
    std::vector<ExplorerTab> tabs_;
};

// The location URL the shell gives a folder: "file:///" and the path with forward slashes,
// blanks as "%20"; empty for a place that is no folder on disk.
std::wstring LocationUrlOf(PCIDLIST_ABSOLUTE folder);

} // namespace nestora::testing
