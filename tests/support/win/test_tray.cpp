#include "tests/support/win/test_tray.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace nestora::testing {

namespace {

constexpr wchar_t kTrayClass[] = L"Shell_TrayWnd";

// Wine's record of one request, as far as it is read here.
constexpr std::size_t kWindowOffset = 0;
constexpr std::size_t kIdOffset = 4;
constexpr std::size_t kFlagsOffset = 8;
constexpr std::size_t kTipOffset = 16;
constexpr std::size_t kTipUnits = 128;

template <class T> T FieldAt(const COPYDATASTRUCT& data, std::size_t offset) {
    T value{};
    if (data.lpData && data.cbData >= offset + sizeof value)
        std::memcpy(&value, static_cast<const char*>(data.lpData) + offset, sizeof value);
    return value;
}

std::wstring TipIn(const COPYDATASTRUCT& data) {
    if (!data.lpData || data.cbData < kTipOffset + kTipUnits * sizeof(wchar_t))
        return {};
    wchar_t tip[kTipUnits + 1] = {};
    std::memcpy(tip, static_cast<const char*>(data.lpData) + kTipOffset,
                kTipUnits * sizeof(wchar_t));
    return tip;
}

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return processId;
}

} // namespace

TestTray::TestTray() {
    MakeWindow();
}

TestTray::~TestTray() = default;

void TestTray::MakeWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kTrayClass;
    ::RegisterClassW(&windowClass); // a second tray in this process finds it registered
    window_.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, kTrayClass, L"", WS_POPUP, 0, 0, 0, 0,
                                    nullptr, nullptr, windowClass.hInstance, this));
    // Topmost windows come first in Z order, where Shell_NotifyIconW looks.
    if (window_)
        ::SetWindowPos(window_.get(), HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TestTray::first() const {
    return window_ && ::FindWindowExW(nullptr, nullptr, kTrayClass, nullptr) == window_.get();
}

int TestTray::IconsOf(DWORD processId) const {
    return static_cast<int>(std::count_if(icons_.begin(), icons_.end(), [&](const Icon& icon) {
        return ProcessOf(icon.window) == processId;
    }));
}

int TestTray::RequestsFrom(DWORD processId, DWORD message) const {
    return static_cast<int>(
        std::count_if(requests_.begin(), requests_.end(), [&](const Request& request) {
            return request.processId == processId && request.message == message;
        }));
}

std::wstring TestTray::TipOf(DWORD processId) const {
    for (const Icon& icon : icons_) {
        if (ProcessOf(icon.window) == processId)
            return icon.tip;
    }
    return {};
}

void TestTray::Restart() {
    window_.reset();
    icons_.clear();
    requests_.clear();
    MakeWindow();
    ::SendNotifyMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
}

std::vector<TestTray::Icon>::iterator TestTray::find(HWND window, UINT id) {
    return std::find_if(icons_.begin(), icons_.end(),
                        [&](const Icon& icon) { return icon.window == window && icon.id == id; });
}

BOOL TestTray::OnRequest(DWORD message, const COPYDATASTRUCT& data) {
    const auto window =
        reinterpret_cast<HWND>(static_cast<LONG_PTR>(FieldAt<LONG>(data, kWindowOffset)));
    const UINT id = FieldAt<UINT>(data, kIdOffset);
    const UINT flags = FieldAt<UINT>(data, kFlagsOffset);
    requests_.push_back({ProcessOf(window), message});
    const auto icon = find(window, id);
    switch (message) {
    case NIM_ADD:
        if (icon != icons_.end())
            return FALSE;
        icons_.push_back({window, id, (flags & NIF_TIP) ? TipIn(data) : std::wstring()});
        return TRUE;
    case NIM_MODIFY:
        if (icon == icons_.end())
            return FALSE;
        if (flags & NIF_TIP)
            icon->tip = TipIn(data);
        return TRUE;
    case NIM_DELETE:
        if (icon == icons_.end())
            return FALSE;
        icons_.erase(icon);
        return TRUE;
    default:
        return icon != icons_.end();
    }
}

LRESULT CALLBACK TestTray::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestTray*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        // Late messages must not reach a tray that is going away.
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self = nullptr;
    }
    if (message == WM_COPYDATA && self) {
        const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        (void)wParam; // the icon's window again; the record carries it too
        return self->OnRequest(static_cast<DWORD>(data.dwData), data);
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace nestora::testing
