// A stand-in for the shell's notification area, for tests that drive a real program: a
// window of the tray's class, "Shell_TrayWnd", put in front of the desktop's own, so that
// Shell_NotifyIconW hands it every request. It holds icons as the shell does (a second
// add of an icon it has is refused, a modify or delete of one it hasn't fails) and can
// restart like Explorer: its window goes, an empty one comes, and "TaskbarCreated" is
// broadcast to every top-level window.
//
// The request format is Wine's: WM_COPYDATA with the request (NIM_ADD, …) in dwData and
// the icon's window in wParam; the record begins with the window, the icon's identifier,
// the flags, the callback message and the 128-character tip.
//
// It lives on the test's thread, which must handle messages for a request to arrive
// (WaitFor and PumpFor do).
#pragma once

#include "gui/win/handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace nestora::testing {

class TestTray {
public:
    TestTray();
    ~TestTray();
    TestTray(const TestTray&) = delete;
    TestTray& operator=(const TestTray&) = delete;

    // False when another tray window still comes first: requests would not reach this one.
    bool first() const;

    // Icons held now whose window belongs to the process.
    int IconsOf(DWORD processId) const;
    // Requests of a kind (NIM_ADD, NIM_MODIFY, NIM_DELETE) from the process since the tray
    // was made or last restarted, accepted or not.
    int RequestsFrom(DWORD processId, DWORD message) const;
    // The tip of the process's first icon held; empty when it holds none.
    std::wstring TipOf(DWORD processId) const;

    // Explorer starting again: every icon is forgotten, then "TaskbarCreated" goes out.
    void Restart();

private:
    struct Icon {
        HWND window;
        UINT id;
        std::wstring tip;
    };
    struct Request {
        DWORD processId;
        DWORD message;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void MakeWindow();
    BOOL OnRequest(DWORD message, const COPYDATASTRUCT& data);
    std::vector<Icon>::iterator find(HWND window, UINT id);

    gui::UniqueWindow window_;
    std::vector<Icon> icons_;
    std::vector<Request> requests_;
};

} // namespace nestora::testing
