// The start-with-Windows entry against scratch keys (HKCU\Software\NestoraTests\<unique>,
// with one sub-key standing for each root), never the real run keys: the six kinds, the
// value's name, data and type, what counts as removed, and the component moving, writing
// and deleting its entry as its settings change.
#include "desktop/auto_run.h"

#include "scratch_run_keys.h"

#include "gui/core/class_info.h"
#include "gui/win/application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using nestora::desktop::AutoExecRegistry;
using nestora::desktop::RegisterAutoExec;
using nestora::desktop::TabfAutoExecKind;
using nestora::desktop::TabfAutoRun;
using nestora::desktop::UnregisterAutoExec;

class AutoRunTest : public ::testing::Test {
protected:
    std::optional<nestora::desktop::testing::StoredValue> Read(bool machine, const std::wstring& key,
                                                      const std::wstring& name) const {
        return scratch.Read(machine, key, name);
    }
    bool KeyExists(bool machine, const std::wstring& key) const {
        return scratch.KeyExists(machine, key);
    }
    void Plant(bool machine, const std::wstring& key, const std::wstring& name,
               const std::wstring& data) {
        scratch.Plant(machine, key, name, data);
    }
    TabfAutoRun* MakeEntry(nestora::gui::TComponent* owner) {
        auto* entry = nestora::gui::Create<TabfAutoRun>(owner);
        entry->SetRegistry(registry);
        return entry;
    }

    nestora::desktop::testing::ScratchRunKeys scratch;
    AutoExecRegistry& registry = scratch.registry;
};

TEST_F(AutoRunTest, EachKindWritesAndDeletesItsValueUnderItsOwnRootAndKey) {
    struct Row {
        TabfAutoExecKind kind;
        bool machine;
        const wchar_t* key;
    };
    const Row rows[] = {
        {TabfAutoExecKind::aekMachineRun, true, L"Run"},
        {TabfAutoExecKind::aekMachineRunOnce, true, L"RunOnce"},
        {TabfAutoExecKind::aekUserRun, false, L"Run"},
        {TabfAutoExecKind::aekUserRunOnce, false, L"RunOnce"},
        {TabfAutoExecKind::aekServiceRun, true, L"RunServices"},
        {TabfAutoExecKind::aekServiceRunOnce, true, L"RunServicesOnce"},
    };
    registry.winNT = false; // the 95 family, where the service keys exist
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.kind));
        ASSERT_TRUE(RegisterAutoExec(row.kind, L"C:\\Tools\\App.exe", registry));
        const auto v = Read(row.machine, row.key, L"App.exe");
        ASSERT_TRUE(v);
        EXPECT_EQ(v->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(v->data, L"C:\\Tools\\App.exe");
        EXPECT_EQ(v->bytes, (16u + 1u) * sizeof(wchar_t)); // with the terminating zero
        EXPECT_FALSE(Read(!row.machine, row.key, L"App.exe"));
        EXPECT_TRUE(UnregisterAutoExec(row.kind, L"C:\\Tools\\App.exe", registry));
        EXPECT_FALSE(Read(row.machine, row.key, L"App.exe"));
    }
}

TEST_F(AutoRunTest, OnWindowsNtTheServiceKindsNeverTouchTheRegistry) {
    for (const auto kind : {TabfAutoExecKind::aekServiceRun, TabfAutoExecKind::aekServiceRunOnce}) {
        EXPECT_FALSE(RegisterAutoExec(kind, L"C:\\Tools\\App.exe", registry));
        EXPECT_FALSE(UnregisterAutoExec(kind, L"C:\\Tools\\App.exe", registry));
    }
    EXPECT_FALSE(KeyExists(true, L"RunServices"));
    EXPECT_FALSE(KeyExists(true, L"RunServicesOnce"));
    // The real system reports Windows NT.
    EXPECT_TRUE(AutoExecRegistry{}.winNT);
}

TEST_F(AutoRunTest, APathWithABlankIsStoredQuotedUnderItsFileName) {
    const std::wstring path = L"C:\\Program Files\\App\\App.exe";
    ASSERT_TRUE(RegisterAutoExec(TabfAutoExecKind::aekUserRun, path, registry));
    const auto v = Read(false, L"Run", L"App.exe");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->data, L"\"C:\\Program Files\\App\\App.exe\"");
    EXPECT_EQ(v->type, static_cast<DWORD>(REG_SZ));
    // Deleting by name finds it all the same.
    EXPECT_TRUE(UnregisterAutoExec(TabfAutoExecKind::aekUserRun, path, registry));
    EXPECT_FALSE(Read(false, L"Run", L"App.exe"));
}

TEST_F(AutoRunTest, APercentSignStoresAnExpandableStringAsWritten) {
    ASSERT_TRUE(
        RegisterAutoExec(TabfAutoExecKind::aekUserRun, L"%SystemRoot%\\notepad.exe", registry));
    const auto v = Read(false, L"Run", L"notepad.exe");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(v->data, L"%SystemRoot%\\notepad.exe");
}

TEST_F(AutoRunTest, AMissingValueCountsAsRemovedAndAMissingKeyAsAFailure) {
    EXPECT_FALSE(KeyExists(false, L"Run"));
    EXPECT_FALSE(UnregisterAutoExec(TabfAutoExecKind::aekUserRun, L"C:\\App.exe", registry));
    Plant(false, L"Run", L"Other.exe", L"C:\\Other.exe");
    EXPECT_TRUE(UnregisterAutoExec(TabfAutoExecKind::aekUserRun, L"C:\\App.exe", registry));
    EXPECT_TRUE(Read(false, L"Run", L"Other.exe")); // nobody else's value is touched
}

TEST_F(AutoRunTest, ACommandWithoutAFileNameNeverWritesOrDeletesTheKeysDefaultValue) {
    Plant(false, L"Run", L"", L"someone else's");
    EXPECT_FALSE(RegisterAutoExec(TabfAutoExecKind::aekUserRun, L"C:\\Tools\\", registry));
    EXPECT_FALSE(RegisterAutoExec(TabfAutoExecKind::aekUserRun, L"", registry));
    EXPECT_FALSE(UnregisterAutoExec(TabfAutoExecKind::aekUserRun, L"", registry));
    const auto v = Read(false, L"Run", L"");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->data, L"someone else's");
}

TEST_F(AutoRunTest, TheComponentKeepsTheEntryInStepWithItsSettings) {
    auto owner = nestora::gui::MakeComponent<nestora::gui::TComponent>();
    auto* entry = MakeEntry(owner.get());
    EXPECT_EQ(entry->FileName(), nestora::gui::TApplication::ExeName());
    EXPECT_EQ(entry->Kind(), TabfAutoExecKind::aekMachineRun);
    entry->SetFileName(L"C:\\Tools\\App.exe");
    entry->SetKind(TabfAutoExecKind::aekUserRun);
    EXPECT_FALSE(Read(false, L"Run", L"App.exe"));

    entry->SetAutoRun(true);
    EXPECT_TRUE(Read(false, L"Run", L"App.exe"));

    // The same value again does nothing, not even a registry access: a value deleted
    // behind the component's back stays deleted.
    scratch.Remove(false, L"Run", L"App.exe");
    entry->SetAutoRun(true);
    EXPECT_FALSE(Read(false, L"Run", L"App.exe"));
    entry->ApplyAutoRun();
    EXPECT_TRUE(Read(false, L"Run", L"App.exe"));

    // Kind moves the entry from the user's key to the machine's.
    entry->SetKind(TabfAutoExecKind::aekMachineRun);
    EXPECT_FALSE(Read(false, L"Run", L"App.exe"));
    EXPECT_TRUE(Read(true, L"Run", L"App.exe"));

    // FileName renames it.
    entry->SetFileName(L"D:\\Other\\Nestora.exe");
    EXPECT_FALSE(Read(true, L"Run", L"App.exe"));
    const auto renamed = Read(true, L"Run", L"Nestora.exe");
    ASSERT_TRUE(renamed);
    EXPECT_EQ(renamed->data, L"D:\\Other\\Nestora.exe");

    entry->SetAutoRun(false);
    EXPECT_FALSE(Read(true, L"Run", L"Nestora.exe"));
    EXPECT_FALSE(entry->AutoRun());
}

TEST_F(AutoRunTest, LoadingSettlesTheEntryOnceAtTheEnd) {
    // The program's case: AutoRun false in the description, Kind aekUserRun. Its loaded
    // step deletes the user's entry; a same-named machine entry it never wrote survives.
    Plant(false, L"Run", L"App.exe", L"C:\\Tools\\App.exe");
    Plant(true, L"Run", L"App.exe", L"C:\\Tools\\App.exe");
    auto owner = nestora::gui::MakeComponent<nestora::gui::TComponent>();
    auto* entry = MakeEntry(owner.get());
    entry->SetLoading(true);
    entry->SetFileName(L"C:\\Tools\\App.exe");
    entry->SetKind(TabfAutoExecKind::aekUserRun);
    EXPECT_TRUE(Read(false, L"Run", L"App.exe"));
    entry->Loaded();
    EXPECT_FALSE(Read(false, L"Run", L"App.exe"));
    EXPECT_TRUE(Read(true, L"Run", L"App.exe"));

    // With AutoRun in the description the loaded step writes the entry.
    auto* second = MakeEntry(owner.get());
    second->SetLoading(true);
    nestora::gui::SetPropertyValue(*second, "FileName", std::wstring(L"C:\\Tools\\Second.exe"));
    nestora::gui::SetPropertyValue(*second, "Kind", std::int64_t{2});
    nestora::gui::SetPropertyValue(*second, "AutoRun", true);
    EXPECT_FALSE(Read(false, L"Run", L"Second.exe"));
    second->Loaded();
    EXPECT_TRUE(Read(false, L"Run", L"Second.exe"));
}

TEST_F(AutoRunTest, InDesignModeTheRegistryIsNeverTouched) {
    Plant(false, L"Run", L"App.exe", L"C:\\Tools\\App.exe");
    auto owner = nestora::gui::MakeComponent<nestora::gui::TComponent>();
    owner->SetDesigning(true);
    auto* entry = MakeEntry(owner.get());
    EXPECT_EQ(entry->FileName(), L"");
    entry->SetFileName(L"C:\\Tools\\App.exe");
    entry->SetKind(TabfAutoExecKind::aekUserRun);
    entry->SetAutoRun(true);
    entry->SetAutoRun(false);
    entry->SetLoading(true);
    entry->Loaded();
    EXPECT_TRUE(Read(false, L"Run", L"App.exe"));
    entry->SetFileName(L"C:\\Tools\\New.exe");
    entry->SetAutoRun(true);
    EXPECT_FALSE(Read(false, L"Run", L"New.exe"));
}

TEST_F(AutoRunTest, PublishesAutoRunFileNameAndKindInThatOrder) {
    std::vector<std::string> names;
    for (const nestora::gui::PropertyInfo* p : TabfAutoRun::StaticClassInfo().Properties())
        names.emplace_back(p->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "AutoRun", "FileName", "Kind"}));
    const nestora::gui::PropertyInfo* kind = TabfAutoRun::StaticClassInfo().FindProperty("Kind");
    ASSERT_NE(kind, nullptr);
    ASSERT_NE(kind->enumInfo, nullptr);
    EXPECT_EQ(kind->enumInfo->Find("aekServiceRunOnce"), 5);
}

} // namespace
