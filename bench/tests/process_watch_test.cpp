// What the start-up and idle benchmarks rely on, checked where they run: that a tray
// request reaches the benchmark's "Shell_TrayWnd" and is told apart by process, that the
// private bytes follow committed memory and not reserved memory, and that the hooks count
// posted and sent messages once each and stop counting when they go.
#include "bench/process_watch.h"

#include "gui/win/handles.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace nestora::bench {
namespace {

// A window of this program that no one sees.
gui::UniqueWindow HiddenWindow() {
    return gui::UniqueWindow(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                               nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

BOOL Notify(DWORD message, HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 7;
    data.uFlags = NIF_TIP;
    ::lstrcpynW(data.szTip, L"watched", ARRAYSIZE(data.szTip));
    return ::Shell_NotifyIconW(message, &data);
}

TEST(TrayWindow, SeesTheWatchedProcesssFirstRequestAndNoOtherProcesss) {
    TrayWindow tray;
    ASSERT_TRUE(tray.first());
    const gui::UniqueWindow icon = HiddenWindow();
    const DWORD self = ::GetCurrentProcessId();

    // Another process is watched: our request is answered but not taken for its icon.
    tray.Watch(self + 4);
    EXPECT_TRUE(Notify(NIM_ADD, icon.get()));
    EXPECT_FALSE(tray.Added());

    const auto before = std::chrono::steady_clock::now();
    tray.Watch(self);
    EXPECT_TRUE(Notify(NIM_MODIFY, icon.get()));
    EXPECT_TRUE(tray.Added());
    EXPECT_GE(tray.AddedAt(), before);
    EXPECT_TRUE(Notify(NIM_DELETE, icon.get()));
}

TEST(PrivateBytes, FollowCommittedMemoryNotReservedMemory) {
    constexpr SIZE_T kSize = 8 << 20;
    const double start = PrivateBytesOf(::GetCurrentProcess());
    void* reserved = ::VirtualAlloc(nullptr, kSize, MEM_RESERVE, PAGE_NOACCESS);
    ASSERT_NE(reserved, nullptr);
    const double withReserved = PrivateBytesOf(::GetCurrentProcess());
    void* committed = ::VirtualAlloc(nullptr, kSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(committed, nullptr);
    const double withCommitted = PrivateBytesOf(::GetCurrentProcess());
    ::VirtualFree(committed, 0, MEM_RELEASE);
    ::VirtualFree(reserved, 0, MEM_RELEASE);
    const double after = PrivateBytesOf(::GetCurrentProcess());

    EXPECT_LT(withReserved - start, 1 << 20);
    EXPECT_GE(withCommitted - withReserved, static_cast<double>(kSize));
    EXPECT_GE(withCommitted - after, static_cast<double>(kSize));
}

constexpr UINT kPosted = WM_APP + 1;
constexpr UINT kSent = WM_APP + 2;

long CountOf(MessageTally& tally, UINT message) {
    const auto counts = tally.Snapshot();
    const auto found = counts.find(message);
    return found == counts.end() ? 0 : found->second;
}

void HandleWaiting() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);
}

TEST(ThreadMessageHooks, CountPostedAndSentMessagesOnceEachWhileTheyAreIn) {
    const gui::UniqueWindow window = HiddenWindow();
    MessageTally tally;
    {
        const ThreadMessageHooks hooks(tally);
        ASSERT_TRUE(hooks.Installed());
        ::PostMessageW(window.get(), kPosted, 0, 0);
        // Looking without taking is not handling.
        MSG peeked;
        EXPECT_TRUE(::PeekMessageW(&peeked, nullptr, kPosted, kPosted, PM_NOREMOVE));
        EXPECT_EQ(CountOf(tally, kPosted), 0);
        HandleWaiting();
        ::SendMessageW(window.get(), kSent, 0, 0);
        EXPECT_EQ(CountOf(tally, kPosted), 1);
        EXPECT_EQ(CountOf(tally, kSent), 1);
    }
    ::PostMessageW(window.get(), kPosted, 0, 0);
    HandleWaiting();
    ::SendMessageW(window.get(), kSent, 0, 0);
    EXPECT_EQ(CountOf(tally, kPosted), 1);
    EXPECT_EQ(CountOf(tally, kSent), 1);
}

} // namespace
} // namespace nestora::bench
