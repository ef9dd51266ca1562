#include "app/desktop_rename.h"

namespace nestora::app {

DesktopRename::~DesktopRename() {
    if (waiting_)
        timer_.Stop();
}

bool DesktopRename::Start(const std::wstring& path) {
    GiveUp();
    switch (view_.TrySelectForRename(path)) {
    case RenameAttempt::done:
        return true;
    case RenameAttempt::noView:
        return false;
    case RenameAttempt::notYet:
        break;
    }
    path_ = path;
    retries_ = 0;
    waiting_ = true;
    timer_.Start(kRetryIntervalMs, [this] { Retry(); });
    return true;
}

void DesktopRename::Retry() {
    if (!waiting_)
        return;
    ++retries_;
    const RenameAttempt attempt = view_.TrySelectForRename(path_);
    if (attempt != RenameAttempt::notYet || retries_ >= kMaxRetries)
        GiveUp();
}

void DesktopRename::GiveUp() {
    if (!waiting_)
        return;
    waiting_ = false;
    timer_.Stop();
}

} // namespace nestora::app
