// The run-key entry of each kind, and the value's name, data and type for a command.
#include "desktop/core/auto_exec_values.h"

#include "gui/core/class_info.h"

#include <gtest/gtest.h>

namespace {

using nestora::desktop::AutoExecRoot;
using nestora::desktop::TabfAutoExecKind;

TEST(AutoExecValues, EachKindHasItsRootAndRunKey) {
    struct Row {
        TabfAutoExecKind kind;
        AutoExecRoot root;
        const wchar_t* key;
        bool service;
    };
    const Row rows[] = {
        {TabfAutoExecKind::aekMachineRun, AutoExecRoot::LocalMachine, L"Run", false},
        {TabfAutoExecKind::aekMachineRunOnce, AutoExecRoot::LocalMachine, L"RunOnce", false},
        {TabfAutoExecKind::aekUserRun, AutoExecRoot::CurrentUser, L"Run", false},
        {TabfAutoExecKind::aekUserRunOnce, AutoExecRoot::CurrentUser, L"RunOnce", false},
        {TabfAutoExecKind::aekServiceRun, AutoExecRoot::LocalMachine, L"RunServices", true},
        {TabfAutoExecKind::aekServiceRunOnce, AutoExecRoot::LocalMachine, L"RunServicesOnce", true},
    };
    for (const Row& row : rows) {
        const auto key = nestora::desktop::AutoExecRegKey(row.kind);
        EXPECT_EQ(key.root, row.root);
        EXPECT_EQ(key.path,
                  std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\") + row.key);
        EXPECT_EQ(nestora::desktop::IsServiceKind(row.kind), row.service);
        EXPECT_EQ(nestora::desktop::kAutoExecKindInfo.NameOf(static_cast<int>(row.kind)).substr(0, 3),
                  "aek");
    }
    EXPECT_EQ(nestora::desktop::kAutoExecKindInfo.Find("aekUserRun"), 2);
}

TEST(AutoExecValues, TheValueIsNamedAfterTheFilePartWithItsCase) {
    using nestora::desktop::AutoExecValueName;
    EXPECT_EQ(AutoExecValueName(L"C:\\Program Files\\App\\App.exe"), L"App.exe");
    EXPECT_EQ(AutoExecValueName(L"C:NesTora.EXE"), L"NesTora.EXE");
    EXPECT_EQ(AutoExecValueName(L"tools/bin/app.exe"), L"app.exe");
    EXPECT_EQ(AutoExecValueName(L"App.exe"), L"App.exe");
    EXPECT_EQ(AutoExecValueName(L"%SystemRoot%\\notepad.exe"), L"notepad.exe");
    EXPECT_EQ(AutoExecValueName(L"\"C:\\Program Files\\App\\App.exe\""), L"App.exe");
    EXPECT_EQ(AutoExecValueName(L"C:\\Tools\\"), L"");
}

TEST(AutoExecValues, APathWithABlankIsQuotedSoWindowsCannotStartAnotherProgram) {
    using nestora::desktop::AutoExecValueData;
    EXPECT_EQ(AutoExecValueData(L"C:\\Program Files\\App\\App.exe"),
              L"\"C:\\Program Files\\App\\App.exe\"");
    EXPECT_EQ(AutoExecValueData(L"C:\\Tools\\App.exe"), L"C:\\Tools\\App.exe");
    EXPECT_EQ(AutoExecValueData(L"C:\\Tab\tDir\\App.exe"), L"\"C:\\Tab\tDir\\App.exe\"");
    // Quoted already: not quoted twice.
    EXPECT_EQ(AutoExecValueData(L"\"C:\\Program Files\\App.exe\""),
              L"\"C:\\Program Files\\App.exe\"");
}

TEST(AutoExecValues, APercentSignMakesTheValueExpandable) {
    EXPECT_TRUE(nestora::desktop::AutoExecIsExpandable(L"%SystemRoot%\\notepad.exe"));
    EXPECT_TRUE(nestora::desktop::AutoExecIsExpandable(L"C:\\100%\\App.exe"));
    EXPECT_FALSE(nestora::desktop::AutoExecIsExpandable(L"C:\\Tools\\App.exe"));
}

} // namespace
