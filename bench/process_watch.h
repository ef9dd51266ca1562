// What the start-up and idle benchmarks read of a program, apart so it can be tested.
//
// TrayWindow: a window of the shell tray's class, "Shell_TrayWnd", put in front of any other
// of that class. Shell_NotifyIconW hands every request to the first such window as
// WM_COPYDATA (the sender's window in wParam), so this one sees the moment a given process
// adds its icon, and answers every request as accepted. Created and destroyed on one
// thread, which must handle its messages for a request to arrive.
//
// PrivateBytesOf: the committed private pages of a process's address space (Wine answers
// 0 for GetProcessMemoryInfo's PrivateUsage).
//
// MessageTally and ThreadMessageHooks: every message a thread handles, counted by number,
// posted ones (WH_GETMESSAGE, as the loop removes them) and sent ones (WH_CALLWNDPROC).
#pragma once

#include <windows.h>

#include <chrono>
#include <map>
#include <mutex>

namespace nestora::bench {

class TrayWindow {
public:
    TrayWindow();
    ~TrayWindow();
    TrayWindow(const TrayWindow&) = delete;
    TrayWindow& operator=(const TrayWindow&) = delete;

    // False when another window of the class still comes first: requests don't reach us.
    bool first() const;
    // Watches for the first request from this process from now on.
    void Watch(DWORD processId);
    bool Added() const { return added_; }
    std::chrono::steady_clock::time_point AddedAt() const { return addedAt_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    DWORD processId_ = 0;
    bool added_ = false;
    std::chrono::steady_clock::time_point addedAt_;
};

double PrivateBytesOf(HANDLE process);

class MessageTally {
public:
    using Counts = std::map<UINT, long>;
    void Add(UINT message);
    Counts Snapshot();

private:
    std::mutex mutex_;
    Counts counts_;
};

// Hooks on the calling thread that count into tally while this lives. One at a time per
// process.
class ThreadMessageHooks {
public:
    explicit ThreadMessageHooks(MessageTally& tally);
    ~ThreadMessageHooks();
    ThreadMessageHooks(const ThreadMessageHooks&) = delete;
    ThreadMessageHooks& operator=(const ThreadMessageHooks&) = delete;
    bool Installed() const { return posted_ && sent_; }

private:
    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam);
    // LOAD BEARING: a hook procedure gets no context of its own, so the tally the hooks
    // write to is reached through this one pointer, set only while the hooks are in.
    static MessageTally*& Current();

    HHOOK posted_ = nullptr;
    HHOOK sent_ = nullptr;
};

} // namespace nestora::bench
