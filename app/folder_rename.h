// Putting a new folder into rename mode once the view that shows its parent lists it: the
// desktop's view, or the view of the Explorer window (its active tab) the folder was made in.
//
// A view learns of a new folder asynchronously: right after the change notice or the
// window's refresh its SelectItem may not find the folder yet. So a rename that finds the
// view but not the item is tried again on a timer, every 50 ms for up to 2 s, between
// messages (the message loop is never held up), and then given up quietly. No key is ever
// sent. A view that can't be reached at all is given up at once. A new rename replaces one
// still waiting: the newest folder is the one the user is about to name.
//
// The rename owns the view it waits on (a reference to another process's view, for an
// Explorer window) until it is done or gives up.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace nestora::app {

enum class RenameAttempt {
    done,   // the folder is selected alone and in rename mode
    notYet, // the view doesn't show the folder yet
    noView, // the view can't be reached
};

// A shell view, one attempt at a time.
class RenameView {
public:
    virtual ~RenameView() = default;
    // Selects the folder at path (a child of the view's folder) alone, focused, visible
    // and in rename mode.
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

class FolderRename {
public:
    static constexpr unsigned kRetryIntervalMs = 50;
    static constexpr unsigned kRetryForMs = 2000;
    static constexpr unsigned kMaxRetries = kRetryForMs / kRetryIntervalMs;

    explicit FolderRename(RetryTimer& timer) : timer_(timer) {}
    ~FolderRename();
    FolderRename(const FolderRename&) = delete;
    FolderRename& operator=(const FolderRename&) = delete;

    // Tries at once; false when that failed for good (no view), true when the folder is in
    // rename mode or is being waited for. A null view is no view.
    bool Start(std::unique_ptr<RenameView> view, const std::wstring& path);
    bool Waiting() const { return waiting_; }

private:
    void Retry();
    void GiveUp();

    RetryTimer& timer_;
    std::unique_ptr<RenameView> view_;
    std::wstring path_;
    unsigned retries_ = 0;
    bool waiting_ = false;
};

} // namespace nestora::app
