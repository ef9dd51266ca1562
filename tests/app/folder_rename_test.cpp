// The rename of a new folder waits for the view that shows it: a view that shows the
// folder only after some tries gets it renamed then; one that never shows it is given up
// after 2 s of retries; a view that can't be reached is given up at once. The view is held
// exactly as long as it is waited on.
#include "app/folder_rename.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace nestora::app {
namespace {

// What the views of a test were asked, and how they answer; the rename owns each view.
struct ViewLog {
    int listedAtTry = 1;
    bool reachable = true;
    std::vector<std::wstring> tried;
    int viewsAlive = 0;
};

class LateView final : public RenameView {
public:
    explicit LateView(ViewLog& log) : log_(log) { ++log_.viewsAlive; }
    ~LateView() override { --log_.viewsAlive; }
    RenameAttempt TrySelectForRename(const std::wstring& path) override {
        log_.tried.push_back(path);
        if (log_.reachable && static_cast<int>(log_.tried.size()) >= log_.listedAtTry)
            return RenameAttempt::done;
        return log_.reachable ? RenameAttempt::notYet : RenameAttempt::noView;
    }

private:
    ViewLog& log_;
};

class ManualTimer final : public RetryTimer {
public:
    void Start(unsigned intervalMs, std::function<void()> tick) override {
        interval = intervalMs;
        tick_ = std::move(tick);
    }
    void Stop() override { tick_ = nullptr; }
    bool Running() const { return static_cast<bool>(tick_); }
    // Runs the ticks that come due while `ms` pass; how many ran.
    int Pass(unsigned ms) {
        int ticks = 0;
        for (unsigned t = interval; t <= ms && Running(); t += interval, ++ticks) {
            const auto tick = tick_;
            tick();
        }
        return ticks;
    }
    unsigned interval = 0;

private:
    std::function<void()> tick_;
};

TEST(FolderRename, WaitsForTheViewToShowTheFolderAndGivesUpQuietlyAfterTwoSeconds) {
    ViewLog view;
    ManualTimer timer;
    FolderRename rename(timer);
    const auto Start = [&](const wchar_t* path) {
        return rename.Start(std::make_unique<LateView>(view), path);
    };

    // Listed at the fifth try: renamed then, nothing tried after.
    view.listedAtTry = 5;
    EXPECT_TRUE(Start(L"C:\\Desktop\\New Folder"));
    EXPECT_TRUE(rename.Waiting()); // back to the message loop at once
    EXPECT_EQ(timer.interval, 50u);
    EXPECT_EQ(timer.Pass(1000), 4);
    EXPECT_FALSE(rename.Waiting());
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(view.tried, std::vector<std::wstring>(5, L"C:\\Desktop\\New Folder"));
    EXPECT_EQ(view.viewsAlive, 0); // let go once renamed

    // Never listed: 40 retries (2 s), then nothing more.
    view.tried.clear();
    view.listedAtTry = 1000;
    EXPECT_TRUE(Start(L"C:\\Desktop\\New Folder (2)"));
    EXPECT_EQ(timer.Pass(5000), 40);
    EXPECT_FALSE(rename.Waiting());
    EXPECT_EQ(view.tried.size(), 41u);
    EXPECT_EQ(view.viewsAlive, 0);

    // A view that can't be reached: given up at once, nothing waits.
    view.tried.clear();
    view.reachable = false;
    EXPECT_FALSE(Start(L"C:\\Desktop\\New Folder (3)"));
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(view.tried.size(), 1u);
    EXPECT_EQ(view.viewsAlive, 0);
    // No view at all (the window's view could not be had): nothing tried, nothing waits.
    EXPECT_FALSE(rename.Start(nullptr, L"C:\\Desktop\\New Folder (3)"));
    EXPECT_FALSE(timer.Running());

    // A newer folder replaces one still waited for.
    view.tried.clear();
    view.reachable = true;
    view.listedAtTry = 3;
    Start(L"C:\\Desktop\\A");
    Start(L"C:\\Desktop\\B");
    EXPECT_EQ(view.viewsAlive, 1); // the first one's view is let go
    timer.Pass(1000);
    EXPECT_EQ(view.tried,
              (std::vector<std::wstring>{L"C:\\Desktop\\A", L"C:\\Desktop\\B", L"C:\\Desktop\\B"}));
    EXPECT_EQ(view.viewsAlive, 0);
}

TEST(FolderRename, AViewStillWaitedOnIsLetGoWithTheRename) {
    ViewLog view;
    ManualTimer timer;
    {
        FolderRename rename(timer);
        view.listedAtTry = 1000;
        EXPECT_TRUE(rename.Start(std::make_unique<LateView>(view), L"C:\\Work\\New Folder"));
        EXPECT_EQ(view.viewsAlive, 1);
    }
    EXPECT_EQ(view.viewsAlive, 0);
    EXPECT_FALSE(timer.Running());
}

} // namespace
} // namespace nestora::app
