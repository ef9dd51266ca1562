#include "app/folder_rename.h"

namespace nestora::app {

FolderRename::~FolderRename() {
    if (waiting_)
        timer_.Stop();
}

bool FolderRename::Start(std::unique_ptr<RenameView> view, const std::wstring& path) {
    GiveUp();
    if (!view)
        return false;
    switch (view->TrySelectForRename(path)) {
    case RenameAttempt::done:
        return true;
    case RenameAttempt::noView:
        return false;
    case RenameAttempt::notYet:
        break;
    }
    view_ = std::move(view);
    path_ = path;
    retries_ = 0;
    waiting_ = true;
    timer_.Start(kRetryIntervalMs, [this] { Retry(); });
    return true;
}

void FolderRename::Retry() {
    if (!waiting_)
        return;
    ++retries_;
    const RenameAttempt attempt = view_->TrySelectForRename(path_);
    if (attempt != RenameAttempt::notYet || retries_ >= kMaxRetries)
        GiveUp();
}

void FolderRename::GiveUp() {
    if (!waiting_)
        return;
    waiting_ = false;
    timer_.Stop();
    // Let go of the view (another process's, for an Explorer window) once nothing waits.
    view_.reset();
}

} // namespace nestora::app
