#pragma once
// A stand-in for the shell's notification area, put behind a tray icon's seam: it keeps
// the requests it was sent, field by field, and answers them as the shell does (an add of
// an icon it has is refused, a modify or delete of one it has not fails). It can refuse
// the first adds, as a shell that is not ready at logon does.

#include "desktop/tray_icon.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace nestora::desktop::testing {

struct ShellRequest {
    DWORD message = 0;
    DWORD cbSize = 0;
    HWND window = nullptr;
    UINT id = 0;
    UINT flags = 0;
    UINT callbackMessage = 0;
    HICON icon = nullptr;
    std::wstring tip;
    std::wstring info;
    std::wstring infoTitle;
    DWORD infoFlags = 0;
    UINT timeout = 0;
    BOOL answer = FALSE;
};

class FakeTrayShell {
public:
    // Installs itself as the tray icon's shell (keeping its other settings).
    void Attach(TabfTrayIcon& tray) {
        TrayIconShell shell = tray.Shell();
        shell.notify = [this](DWORD message, NOTIFYICONDATAW& data) {
            return Handle(message, data);
        };
        tray.SetShell(std::move(shell));
    }

    // The next n adds are refused (the shell not ready).
    void RefuseAdds(int n) { refuseAdds_ = n; }
    // Takes an icon out as a restarted shell would have lost it.
    void Forget() { icons_.clear(); }
    bool Has(HWND window, UINT id) const { return icons_.count({window, id}) != 0; }
    std::size_t IconCount() const { return icons_.size(); }

    std::vector<ShellRequest> requests;

    std::vector<DWORD> Messages() const {
        std::vector<DWORD> out;
        for (const auto& r : requests)
            out.push_back(r.message);
        return out;
    }
    int Count(DWORD message) const {
        int n = 0;
        for (const auto& r : requests)
            n += r.message == message ? 1 : 0;
        return n;
    }

private:
    BOOL Handle(DWORD message, const NOTIFYICONDATAW& data) {
        ShellRequest r;
        r.message = message;
        r.cbSize = data.cbSize;
        r.window = data.hWnd;
        r.id = data.uID;
        r.flags = data.uFlags;
        r.callbackMessage = data.uCallbackMessage;
        r.icon = data.hIcon;
        r.tip = data.szTip;
        r.info = data.szInfo;
        r.infoTitle = data.szInfoTitle;
        r.infoFlags = data.dwInfoFlags;
        r.timeout = data.uTimeout;
        const std::pair<HWND, UINT> key{data.hWnd, data.uID};
        switch (message) {
        case NIM_ADD:
            if (refuseAdds_ > 0) {
                --refuseAdds_;
                r.answer = FALSE;
            } else {
                r.answer = icons_.insert(key).second;
            }
            break;
        case NIM_MODIFY:
            r.answer = Has(data.hWnd, data.uID);
            break;
        case NIM_DELETE:
            r.answer = icons_.erase(key) != 0;
            break;
        default:
            r.answer = FALSE;
        }
        requests.push_back(r);
        return r.answer;
    }

    std::set<std::pair<HWND, UINT>> icons_;
    int refuseAdds_ = 0;
};

} // namespace nestora::desktop::testing
