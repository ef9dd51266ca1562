// Where the desktop is: the desktop's known folder, and the user's shell-folder value
// (expanded when it is an expandable string) only when the shell can't give the known folder.
// The rename's retry timer runs between this thread's messages.
#include "app/win_desktop_shell.h"

#include "tests/support/win/scratch_key.h"
#include "tests/support/win/waiting.h"

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

constexpr wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(DesktopShellTest, TheKnownFolderIsTheDesktopAndAStaleShellFolderValueIsNotRead) {
    const std::wstring known = KnownDesktopPath();
    ASSERT_FALSE(known.empty());
    nestora::testing::ScratchKey root;
    root.SetText(kShellFolders, L"Desktop", L"D:\\Before the redirection");
    EXPECT_EQ(SystemDesktopShell(root.get()).DesktopPath(), known);
}

TEST(DesktopShellTest, TheShellFolderValueIsTheDesktopWhenTheKnownFolderFails) {
    const auto noKnownFolder = [] { return std::wstring(); };
    nestora::testing::ScratchKey root;
    root.SetText(kShellFolders, L"Desktop", L"D:\\Рабочий стол");
    EXPECT_EQ(SystemDesktopShell(root.get(), noKnownFolder).DesktopPath(), L"D:\\Рабочий стол");

    const std::wstring expandable = L"%SystemRoot%\\Desk";
    ASSERT_EQ(::RegSetKeyValueW(root.get(), kShellFolders, L"Desktop", REG_EXPAND_SZ,
                                expandable.c_str(),
                                static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    wchar_t windows[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"SystemRoot", windows, MAX_PATH);
    EXPECT_EQ(RegisteredDesktopPath(root.get()), std::wstring(windows) + L"\\Desk");
}

TEST(DesktopShellTest, AMissingOrEmptyValueStillGivesTheKnownFolder) {
    const std::wstring known = KnownDesktopPath();
    ASSERT_FALSE(known.empty());
    nestora::testing::ScratchKey root;
    EXPECT_EQ(SystemDesktopShell(root.get()).DesktopPath(), known); // no key at all
    root.SetText(kShellFolders, L"Desktop", L"");
    EXPECT_EQ(SystemDesktopShell(root.get()).DesktopPath(), known);
    root.SetNumber(kShellFolders, L"Desktop", 7); // not a text: as good as missing
    EXPECT_EQ(SystemDesktopShell(root.get()).DesktopPath(), known);
}

// A view that lists the folder at a given try; the tries outlive it (the rename lets go of
// its view once done).
class ViewListingAtTry final : public RenameView {
public:
    ViewListingAtTry(int listedAt, int& tries) : listedAt_(listedAt), tries_(tries) {}
    RenameAttempt TrySelectForRename(const std::wstring&) override {
        return ++tries_ >= listedAt_ ? RenameAttempt::done : RenameAttempt::notYet;
    }

private:
    int listedAt_;
    int& tries_;
};

using namespace std::chrono_literals;

TEST(FolderRenameTimerTest, RetriesRunBetweenMessagesUntilTheViewShowsTheFolder) {
    int tries = 0;
    ThreadTimer timer;
    FolderRename rename(timer);
    const DWORD started = ::GetTickCount();
    EXPECT_TRUE(
        rename.Start(std::make_unique<ViewListingAtTry>(4, tries), L"C:\\Desktop\\New Folder"));
    EXPECT_EQ(tries, 1); // nothing waited for here
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(nestora::testing::WaitFor([&] { return !rename.Waiting(); }, 3s));
    EXPECT_EQ(tries, 4);
    EXPECT_GE(::GetTickCount() - started, 3 * 50u - 20u); // three ticks, about 50 ms apart
    EXPECT_FALSE(timer.Running());
    nestora::testing::PumpFor(200ms);
    EXPECT_EQ(tries, 4);
}

} // namespace
} // namespace nestora::app
