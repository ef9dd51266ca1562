// The old design's hotkey press, kept only to be measured against: it calls the shell
// object's `Windows` anew for every use of the window collection (each `Count`, each
// `Item`), fetches an item twice (once to keep, once more for its `HWND`) and reads the
// focused window's `LocationURL` twice (to test it, then to use it). It creates nothing:
// it reports where the folders would go, so its calls can be counted beside ours.
#pragma once

#include <oaidl.h>

#include <string>
#include <vector>

namespace nestora::bench {

struct NaivePressResult {
    std::vector<std::wstring> folderLocations; // the focused windows' LocationURL
    int desktopFolders = 0;
};

// foreground: the window that has the focus; minimised: the count of minimised top-level
// windows; desktop: the desktop's window ("Progman"). Throws std::runtime_error when a
// late-bound call fails, as the old design's error ended its handler.
NaivePressResult NaivePress(IDispatch& shell, HWND foreground, int minimised, HWND desktop);

} // namespace nestora::bench
