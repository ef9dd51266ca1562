// The rename of a new desktop folder waits for the desktop's view: a view that shows the
// folder only after some tries gets it renamed then; one that never shows it is given up
// after 2 s of retries; a view that can't be reached is given up at once.
#include "app/desktop_rename.h"

#include <gtest/gtest.h>

#include <vector>

namespace nestora::app {
namespace {

class LateView final : public RenameView {
public:
    RenameAttempt TrySelectForRename(const std::wstring& path) override {
        tried.push_back(path);
        if (reachable && static_cast<int>(tried.size()) >= listedAtTry)
            return RenameAttempt::done;
        return reachable ? RenameAttempt::notYet : RenameAttempt::noView;
    }
    int listedAtTry = 1;
    bool reachable = true;
    std::vector<std::wstring> tried;
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

TEST(DesktopRename, WaitsForTheViewToShowTheFolderAndGivesUpQuietlyAfterTwoSeconds) {
    LateView view;
    ManualTimer timer;
    DesktopRename rename(view, timer);

    // Listed at the fifth try: renamed then, nothing tried after.
    view.listedAtTry = 5;
    EXPECT_TRUE(rename.Start(L"C:\\Desktop\\New Folder"));
    EXPECT_TRUE(rename.Waiting()); // back to the message loop at once
    EXPECT_EQ(timer.interval, 50u);
    EXPECT_EQ(timer.Pass(1000), 4);
    EXPECT_FALSE(rename.Waiting());
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(view.tried, std::vector<std::wstring>(5, L"C:\\Desktop\\New Folder"));

    // Never listed: 40 retries (2 s), then nothing more.
    view.tried.clear();
    view.listedAtTry = 1000;
    EXPECT_TRUE(rename.Start(L"C:\\Desktop\\New Folder (2)"));
    EXPECT_EQ(timer.Pass(5000), 40);
    EXPECT_FALSE(rename.Waiting());
    EXPECT_EQ(view.tried.size(), 41u);

    // A view that can't be reached: given up at once, nothing waits.
    view.tried.clear();
    view.reachable = false;
    EXPECT_FALSE(rename.Start(L"C:\\Desktop\\New Folder (3)"));
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(view.tried.size(), 1u);

    // A newer folder replaces one still waited for.
    view.tried.clear();
    view.reachable = true;
    view.listedAtTry = 3;
    rename.Start(L"C:\\Desktop\\A");
    rename.Start(L"C:\\Desktop\\B");
    timer.Pass(1000);
    EXPECT_EQ(view.tried,
              (std::vector<std::wstring>{L"C:\\Desktop\\A", L"C:\\Desktop\\B", L"C:\\Desktop\\B"}));
}

} // namespace
} // namespace nestora::app
