// Putting a new desktop folder into rename mode once the desktop's view shows it.
//
// The desktop's view learns of a new folder asynchronously: right after the change
// notice its SelectItem may not find the folder yet. So a rename that finds the view but
// not the item is tried again on a timer, every 50 ms for up to 2 s, between messages (the
// message loop is never held up), and then given up quietly. No key is ever sent. A view
// that can't be reached at all is given up at once. A new rename replaces one still
// waiting: the newest folder is the one the user is about to name.
#pragma once

#include <functional>
#include <string>

namespace nestora::app {

enum class RenameAttempt {
    done,   // the folder is selected alone and in rename mode
    notYet, // the view doesn't show the folder yet
    noView, // the desktop's view can't be reached
};

// The desktop's view, one attempt at a time.
class RenameView {
public:
    virtual ~RenameView() = default;
    virtual RenameAttempt TrySelectForRename(const std::wstring& path) = 0;
};

// A repeating timer that runs between messages.
class RetryTimer {
public:
    virtual ~RetryTimer() = default;
    // Runs tick every intervalMs until Stop (a running timer is replaced).
    virtual void Start(unsigned intervalMs, std::function<void()> tick) = 0;
    virtual void Stop() = 0;
};

class DesktopRename {
public:
    static constexpr unsigned kRetryIntervalMs = 50;
    static constexpr unsigned kRetryForMs = 2000;
    static constexpr unsigned kMaxRetries = kRetryForMs / kRetryIntervalMs;

    DesktopRename(RenameView& view, RetryTimer& timer) : view_(view), timer_(timer) {}
    ~DesktopRename();
    DesktopRename(const DesktopRename&) = delete;
    DesktopRename& operator=(const DesktopRename&) = delete;

    // Tries at once; false when that failed for good (no view), true when the folder is in
    // rename mode or is being waited for.
    bool Start(const std::wstring& path);
    bool Waiting() const { return waiting_; }

private:
    void Retry();
    void GiveUp();

    RenameView& view_;
    RetryTimer& timer_;
    std::wstring path_;
    unsigned retries_ = 0;
    bool waiting_ = false;
};

} // namespace nestora::app
