// Where the desktop is: the user's shell-folder value, expanded when it is an expandable
// string, and the desktop's known folder when the value is missing or empty.
#include "app/win_desktop_shell.h"

#include "tests/support/win/scratch_key.h"

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

constexpr wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(DesktopShellTest, TheShellFolderValueIsTheDesktop) {
    nestora::testing::ScratchKey root;
    root.SetText(kShellFolders, L"Desktop", L"D:\\Рабочий стол");
    EXPECT_EQ(SystemDesktopShell(root.get()).DesktopPath(), L"D:\\Рабочий стол");

    const std::wstring expandable = L"%SystemRoot%\\Desk";
    ASSERT_EQ(::RegSetKeyValueW(root.get(), kShellFolders, L"Desktop", REG_EXPAND_SZ,
                                expandable.c_str(),
                                static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    wchar_t windows[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"SystemRoot", windows, MAX_PATH);
    EXPECT_EQ(RegisteredDesktopPath(root.get()), std::wstring(windows) + L"\\Desk");
}

TEST(DesktopShellTest, AMissingOrEmptyValueGivesTheKnownFolder) {
    const std::wstring known = KnownDesktopPath();
    ASSERT_FALSE(known.empty());
    nestora::testing::ScratchKey root;
    EXPECT_EQ(SystemDesktopShell(root.get()).DesktopPath(), known); // no key at all
    root.SetText(kShellFolders, L"Desktop", L"");
    EXPECT_EQ(SystemDesktopShell(root.get()).DesktopPath(), known);
    root.SetNumber(kShellFolders, L"Desktop", 7); // not a text: as good as missing
    EXPECT_EQ(SystemDesktopShell(root.get()).DesktopPath(), known);
}

} // namespace
} // namespace nestora::app
