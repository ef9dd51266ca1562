// The tray icon against a stand-in shell (every request it sends, field by field) and,
// once, against Wine's real tray: the records, the texts and their limits, the order of
// mouse events, minimising to the tray through the application window's subclass, icon
// cycling, balloons, the shell restarting, refused adds tried again, and destruction.
#include "tray_test_support.h"

#include "desktop/core/notify_text.h"
#include "desktop/tray_icon.h"
#include "gui/core/class_info.h"
#include "gui/win/image_list.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using nestora::desktop::TabfTrayIcon;
using nestora::desktop::testing::kHidden;
using nestora::desktop::testing::kShown;
using nestora::desktop::testing::TrayIconTest;

TEST_F(TrayIconTest, PublishesItsPropertiesInTheirOrderWithTheirStartingValues) {
    auto* tray = MakeTray();
    std::vector<std::string> names;
    for (const nestora::gui::PropertyInfo* p : tray->GetClassInfo().Properties())
        names.emplace_back(p->name);
    const std::vector<std::string> expected{"Name",
                                            "Tag",
                                            "CycleIcons",
                                            "CycleInterval",
                                            "Enabled",
                                            "Hint",
                                            "Icon",
                                            "ImageList",
                                            "ImageIndex",
                                            "IconID",
                                            "MinimizeToTray",
                                            "MinimizeOnStart",
                                            "PopupMenu",
                                            "PopupByLeft",
                                            "ShowHint",
                                            "Visible",
                                            "VisibleOnDesigning",
                                            "InfoText",
                                            "InfoTitle",
                                            "InfoTimeout",
                                            "InfoType",
                                            "OnMinimize",
                                            "OnMouseMove",
                                            "OnMouseDown",
                                            "OnMouseUp",
                                            "OnClick",
                                            "OnDblClick",
                                            "OnPopupMenu",
                                            "OnShow",
                                            "OnHide",
                                            "OnCycleIcons",
                                            "OnBalloonShow",
                                            "OnBalloonTimeout",
                                            "OnBalloonClick"};
    EXPECT_EQ(names, expected);
    EXPECT_FALSE(tray->CycleIcons());
    EXPECT_FALSE(tray->TimerRunning());
    EXPECT_EQ(tray->CycleInterval(), 200u);
    EXPECT_TRUE(tray->Enabled());
    EXPECT_TRUE(tray->ShowHint());
    EXPECT_FALSE(tray->Visible());
    EXPECT_EQ(tray->InfoTimeout(), 10000);
    EXPECT_EQ(tray->FlagMask(), kHidden);
    EXPECT_TRUE(tray->HookedApplication());
    EXPECT_TRUE(shell.requests.empty());
    // CycleInterval is a Cardinal: the whole unsigned range and nothing else.
    nestora::gui::SetPropertyValue(*tray, "CycleInterval", std::int64_t{4294967295});
    EXPECT_EQ(tray->CycleInterval(), 4294967295u);
    EXPECT_THROW(nestora::gui::SetPropertyValue(*tray, "CycleInterval", std::int64_t{-1}),
                 nestora::gui::EDescriptionError);
    nestora::gui::SetPropertyValue(*tray, "InfoType", std::int64_t{3});
    EXPECT_EQ(tray->InfoType(), nestora::desktop::TabfTrayIconInfoType::tiiError);
}

TEST_F(TrayIconTest, ShowingAndHidingSendTheFullRecordWithTheIconFlagOnlyWhileShown) {
    auto* tray = MakeTray();
    Journal(*tray);
    nestora::gui::TIcon icon;
    icon.LoadFromResourceName(::GetModuleHandleW(L"user32.dll"), L"#32512", 16, 16);
    tray->SetIcon(icon);
    tray->SetIconID(7);
    tray->SetHint(L"Nestora");
    shell.requests.clear();

    tray->SetVisible(true);
    ASSERT_EQ(shell.requests.size(), 1u);
    const auto& add = shell.requests[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(add.window, tray->WindowHandle());
    EXPECT_EQ(add.id, 7u);
    EXPECT_EQ(add.flags, kShown);
    EXPECT_EQ(add.callbackMessage, 1235u);
    EXPECT_EQ(add.icon, tray->Icon().Handle());
    EXPECT_NE(add.icon, icon.Handle()); // a copy, never the caller's handle
    EXPECT_EQ(add.tip, L"Nestora");
    EXPECT_TRUE(tray->InTray());

    tray->SetVisible(false);
    ASSERT_EQ(shell.requests.size(), 2u);
    EXPECT_EQ(shell.requests[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.requests[1].flags, kHidden);
    EXPECT_EQ(shell.requests[1].id, 7u);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"show", L"hide"}));
    EXPECT_EQ(shell.IconCount(), 0u);
}

TEST_F(TrayIconTest, AHintOf200CharactersIsCutTo127UnitsOrTo63OnOldSystems) {
    auto* tray = MakeTray();
    tray->SetVisible(true);
    tray->SetHint(std::wstring(200, L'Ж'));
    EXPECT_EQ(shell.requests.back().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(shell.requests.back().tip, std::wstring(127, L'Ж'));

    // A pair that would straddle the limit goes whole or not at all.
    tray->SetHint(std::wstring(126, L'a') + L"\U0001F600" + L"tail");
    EXPECT_EQ(shell.requests.back().tip, std::wstring(126, L'a'));
    tray->SetHint(std::wstring(125, L'a') + L"\U0001F600" + L"tail");
    EXPECT_EQ(shell.requests.back().tip, std::wstring(125, L'a') + L"\U0001F600");

    // The 95 family and NT 4: the first record version, 63 units, no balloon.
    nestora::desktop::TrayIconShell old = tray->Shell();
    old.winNT5OrLater = false;
    tray->SetShell(old);
    tray->SetHint(std::wstring(200, L'x'));
    EXPECT_EQ(shell.requests.back().cbSize, NOTIFYICONDATAW_V1_SIZE);
    EXPECT_EQ(shell.requests.back().tip, std::wstring(63, L'x'));
    const std::size_t before = shell.requests.size();
    tray->SetInfoText(L"balloon");
    tray->ShowBalloon();
    EXPECT_EQ(shell.requests.size(), before);
}

TEST_F(TrayIconTest, WithShowHintOffTheTipGoesEmptyAndTheTipFlagStays) {
    auto* tray = MakeTray();
    tray->SetHint(L"hint");
    tray->SetVisible(true);
    tray->SetShowHint(false);
    EXPECT_EQ(shell.requests.back().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(shell.requests.back().tip, L"");
    EXPECT_EQ(shell.requests.back().flags, kShown);
    // Setting a value it already has sends nothing.
    const std::size_t before = shell.requests.size();
    tray->SetShowHint(false);
    tray->SetHint(L"hint");
    EXPECT_EQ(shell.requests.size(), before);
}

TEST_F(TrayIconTest, ADoubleClickRaisesDownUpClickDblClickUpInThatOrder) {
    auto* tray = MakeTray();
    Journal(*tray);
    Report(*tray, WM_LBUTTONDOWN);
    Report(*tray, WM_LBUTTONUP);
    Report(*tray, WM_LBUTTONDBLCLK);
    Report(*tray, WM_LBUTTONUP);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"down left", L"up left", L"click", L"dblclick",
                                                  L"up left"}));
    ASSERT_EQ(shifts.size(), 3u);
    for (const nestora::gui::TShiftState s : shifts)
        EXPECT_TRUE(s & nestora::gui::ssLeft);

    journal.clear();
    shifts.clear();
    Report(*tray, WM_RBUTTONDOWN);
    Report(*tray, WM_MBUTTONUP);
    Report(*tray, WM_MOUSEMOVE);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"down right", L"up middle", L"move"}));
    EXPECT_EQ(shifts, (std::vector<nestora::gui::TShiftState>{nestora::gui::ssRight, nestora::gui::ssMiddle}));
}

TEST_F(TrayIconTest, DisabledItIgnoresTheShellsReportsButStillComesBackAfterARestart) {
    auto* tray = MakeTray();
    Journal(*tray);
    tray->SetVisible(true);
    tray->SetEnabled(false);
    journal.clear();
    for (UINT m : std::initializer_list<UINT>{
             WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_MOUSEMOVE,
             static_cast<UINT>(NIN_BALLOONSHOW), static_cast<UINT>(NIN_BALLOONUSERCLICK)})
        Report(*tray, m);
    EXPECT_TRUE(journal.empty());

    // The shell restarts with an empty tray and says so.
    shell.Forget();
    shell.requests.clear();
    ::SendMessageW(tray->WindowHandle(), nestora::desktop::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));
    EXPECT_TRUE(shell.Has(tray->WindowHandle(), 0));
    EXPECT_TRUE(journal.empty());
}

TEST_F(TrayIconTest, BalloonsCarryTheirTextsCutAndOnlyTheInfoFlag) {
    auto* tray = MakeTray();
    Journal(*tray);
    tray->SetVisible(true);
    tray->SetInfoText(std::wstring(254, L'b') + L"\U0001F600");
    tray->SetInfoTitle(std::wstring(300, L't'));
    tray->SetInfoType(nestora::desktop::TabfTrayIconInfoType::tiiWarning);
    tray->SetInfoTimeout(4000);
    tray->ShowBalloonHint();
    const auto& r = shell.requests.back();
    EXPECT_EQ(r.message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(r.flags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(r.infoFlags, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(r.timeout, 4000u);
    EXPECT_EQ(r.info, std::wstring(254, L'b')); // the pair does not fit whole
    EXPECT_EQ(r.infoTitle, std::wstring(63, L't'));
    // Later requests no longer carry NIF_INFO.
    tray->SetHint(L"after");
    EXPECT_EQ(shell.requests.back().flags, kShown);

    Report(*tray, NIN_BALLOONSHOW);
    Report(*tray, NIN_BALLOONTIMEOUT);
    Report(*tray, NIN_BALLOONUSERCLICK);
    EXPECT_EQ(std::vector<std::wstring>(journal.end() - 3, journal.end()),
              (std::vector<std::wstring>{L"balloon shown", L"balloon timeout", L"balloon click"}));
}

// The tray asks for the small-icon size of the taskbar's DPI (24 pixels at 150 %, 32 at
// 200 %): an icon named by its resource is loaded at exactly that size, so the shell shows
// the resource's own image of it, and loaded again when the scale changes. The hidden
// window hears of that as a settings or display change, or as the shell starting again.
TEST_F(TrayIconTest, AResourceIconTakesTheTraysSizeAtItsDpiAndFollowsItsChanges) {
    // Shared with the seam: the tray may ask after this test's locals are gone.
    const auto dpi = std::make_shared<int>(144);
    auto* tray = MakeTray();
    nestora::desktop::TrayIconShell seam = tray->Shell();
    seam.dpi = [dpi] { return *dpi; };
    tray->SetShell(seam);
    tray->SetIconResource(L"TRAYICON");
    EXPECT_EQ(tray->Icon().Width(), 24);
    shell.requests.clear();
    tray->SetVisible(true);
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));
    EXPECT_EQ(nestora::gui::IconSize(shell.requests.back().icon).Width, 24);

    *dpi = 192;
    shell.requests.clear();
    ::SendMessageW(tray->WindowHandle(), WM_SETTINGCHANGE, 0, 0);
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_MODIFY}));
    EXPECT_EQ(nestora::gui::IconSize(shell.requests.back().icon).Width, 32);
    EXPECT_EQ(shell.requests.back().icon, tray->Icon().Handle());

    // The same scale again: nothing to send.
    shell.requests.clear();
    ::SendMessageW(tray->WindowHandle(), WM_DISPLAYCHANGE, 32, 0);
    EXPECT_TRUE(shell.requests.empty());

    // The shell comes back at 100 %: the icon goes in at 16.
    *dpi = 96;
    shell.Forget();
    shell.requests.clear();
    ::SendMessageW(tray->WindowHandle(), nestora::desktop::TaskbarCreatedMessage(), 0, 0);
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));
    EXPECT_EQ(nestora::gui::IconSize(shell.requests.back().icon).Width, 16);

    // An icon given to it is the program's choice and stays as it is.
    nestora::gui::TIcon given;
    given.LoadFromResourceName(nestora::gui::FrameworkInstance(), L"TRAYICON", 20, 20);
    tray->SetIcon(given);
    *dpi = 192;
    shell.requests.clear();
    ::SendMessageW(tray->WindowHandle(), WM_SETTINGCHANGE, 0, 0);
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_EQ(tray->Icon().Width(), 20);
}

TEST_F(TrayIconTest, ChangingIconIdWhileShownMovesTheIconAndWhileHiddenOnlyStoresIt) {
    auto* tray = MakeTray();
    tray->SetVisible(true);
    shell.requests.clear();
    tray->SetIconID(5);
    ASSERT_EQ(shell.requests.size(), 2u);
    EXPECT_EQ(shell.requests[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.requests[0].id, 0u);
    EXPECT_EQ(shell.requests[1].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shell.requests[1].id, 5u);
    EXPECT_TRUE(shell.Has(tray->WindowHandle(), 5));
    EXPECT_FALSE(shell.Has(tray->WindowHandle(), 0));

    tray->SetVisible(false);
    shell.requests.clear();
    tray->SetIconID(6);
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_FALSE(tray->Visible());
}

class TrayImagesTest : public TrayIconTest {
protected:
    void SetUp() override {
        TrayIconTest::SetUp();
        images = nestora::gui::Create<nestora::gui::TImageList>(form);
        const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        for (const wchar_t* name : {L"#32512", L"#32513", L"#32514"}) {
            nestora::gui::TIcon icon;
            icon.LoadFromResourceName(user32, name, 16, 16);
            images->AddIcon(icon);
        }
    }
    nestora::gui::TImageList* images = nullptr;
};

TEST_F(TrayImagesTest, CyclingWalksThroughTheListAndBackToTheFirstImage) {
    auto* tray = MakeTray();
    tray->SetImageList(images);
    tray->SetVisible(true);
    EXPECT_FALSE(tray->Icon().Empty());
    std::vector<int> indexes;
    tray->SetOnCycleIcons([&](nestora::gui::TObject*) { indexes.push_back(tray->ImageIndex()); });
    tray->SetCycleInterval(5);
    tray->SetCycleIcons(true);
    EXPECT_TRUE(tray->TimerRunning());
    ASSERT_TRUE(PumpUntil([&] { return indexes.size() >= 4; }));
    tray->SetCycleIcons(false);
    EXPECT_EQ(std::vector<int>(indexes.begin(), indexes.begin() + 4),
              (std::vector<int>{1, 2, 0, 1}));
    // Every step sent its new icon.
    EXPECT_GE(shell.Count(NIM_MODIFY), 4);
    EXPECT_NE(shell.requests.back().icon, nullptr);
}

TEST_F(TrayImagesTest, AnIndexOutsideTheListEmptiesTheIconAndNoListChangesNothing) {
    auto* tray = MakeTray();
    nestora::gui::TIcon icon;
    icon.LoadFromResourceName(::GetModuleHandleW(L"user32.dll"), L"#32516", 16, 16);
    tray->SetIcon(icon);
    shell.requests.clear();
    tray->SetImageIndex(-1); // no list: nothing happens
    EXPECT_FALSE(tray->Icon().Empty());
    EXPECT_TRUE(shell.requests.empty());

    tray->SetImageList(images);
    EXPECT_TRUE(tray->Icon().Empty());
    tray->SetImageIndex(2);
    EXPECT_FALSE(tray->Icon().Empty());
    // The list changing is heard through the change link: cleared, the icon goes.
    images->Clear();
    EXPECT_TRUE(tray->Icon().Empty());
    // The list freed: the reference is cleared, the icon stays as it was.
    images->Free();
    images = nullptr;
    EXPECT_EQ(tray->ImageList(), nullptr);
    tray->SetImageIndex(0);
}

TEST_F(TrayIconTest, MinimizingTheApplicationReachesTheTrayBeforeTheApplicationsOwnHandling) {
    auto* tray = MakeTray();
    Journal(*tray);
    // The application's own handling of the minimise command raises its OnMinimize; the
    // size message that minimising sends comes to the tray icon's hook inside it.
    app->SetOnMinimize([&](nestora::gui::TObject*) { journal.push_back(L"application minimised"); });
    tray->SetMinimizeToTray(true);
    form->Show();
    ASSERT_TRUE(::IsWindowVisible(app->Handle()));

    ::SendMessageW(app->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"show", L"minimize", L"application minimised"}));
    EXPECT_FALSE(::IsWindowVisible(app->Handle()));
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(tray->Visible());
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));

    // Without MinimizeToTray the message passes untouched.
    tray->SetMinimizeToTray(false);
    journal.clear();
    ::SendMessageW(app->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_TRUE(journal.empty());
}

TEST_F(TrayIconTest, ADoubleClickShowsOrHidesTheApplicationWhenMinimizingToTheTray) {
    auto* tray = MakeTray();
    Journal(*tray);
    tray->SetMinimizeToTray(true);
    tray->SetVisible(true);
    form->Show();
    Report(*tray, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(::IsWindowVisible(app->Handle()));
    Report(*tray, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(::IsWindowVisible(app->Handle()));
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"show", L"dblclick", L"dblclick"}));
}

TEST_F(TrayIconTest,
       TheShellRestartingBringsTheIconBackWithItsHintAndLeavesAHiddenApplicationHidden) {
    auto* tray = MakeTray();
    Journal(*tray);
    tray->SetMinimizeToTray(true);
    tray->SetHint(L"Hot key: Ctrl+`");
    form->Show();
    app->Minimize();
    ASSERT_FALSE(form->Visible());
    shell.Forget();
    journal.clear();
    ::SendMessageW(tray->WindowHandle(), nestora::desktop::TaskbarCreatedMessage(), 0, 0);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(::IsWindowVisible(app->Handle()));
    EXPECT_TRUE(shell.Has(tray->WindowHandle(), 0));
    EXPECT_EQ(shell.requests.back().tip, L"Hot key: Ctrl+`");
    EXPECT_EQ(shell.requests.back().flags, kShown);
    EXPECT_TRUE(tray->Visible());
    EXPECT_TRUE(journal.empty());
    // Taking the icon away on purpose still brings the application back.
    tray->SetVisible(false);
    EXPECT_TRUE(form->Visible());
}

TEST_F(TrayIconTest, ARefusedAddIsTriedAgainUntilTheShellTakesIt) {
    auto* tray = MakeTray();
    nestora::desktop::TrayIconShell timing = tray->Shell();
    timing.retryIntervalMs = 10;
    tray->SetShell(timing);
    shell.Attach(*tray);
    shell.RefuseAdds(3);
    tray->SetVisible(true);
    EXPECT_TRUE(tray->Visible());
    EXPECT_FALSE(tray->InTray());
    EXPECT_TRUE(tray->RetryPending());
    ASSERT_TRUE(PumpUntil([&] { return tray->InTray(); }));
    EXPECT_FALSE(tray->RetryPending());
    EXPECT_EQ(shell.Count(NIM_ADD), 4);
    EXPECT_TRUE(shell.Has(tray->WindowHandle(), 0));
    // The icon is there: no more adds.
    Pump(50);
    EXPECT_EQ(shell.Count(NIM_ADD), 4);
    // Each refused add was followed by a modify asking whether the icon was there anyway.
    EXPECT_EQ(shell.Count(NIM_MODIFY), 3);
}

TEST_F(TrayIconTest, RetriesEndAfterTheirTimeAndWhenTheIconIsNoLongerWanted) {
    auto* tray = MakeTray();
    nestora::desktop::TrayIconShell timing = tray->Shell();
    timing.retryIntervalMs = 5;
    timing.retryWindowMs = 60;
    tray->SetShell(timing);
    shell.Attach(*tray);
    shell.RefuseAdds(1000000);
    tray->SetVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return !tray->RetryPending(); }));
    const int adds = shell.Count(NIM_ADD);
    EXPECT_GE(adds, 2);
    Pump(40);
    EXPECT_EQ(shell.Count(NIM_ADD), adds);

    // "TaskbarCreated" tries again and the new shell takes it.
    shell.RefuseAdds(0);
    ::SendMessageW(tray->WindowHandle(), nestora::desktop::TaskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(tray->InTray());

    // Hidden while a retry is pending: the retry stops.
    tray->SetVisible(false);
    shell.RefuseAdds(1000000);
    tray->SetVisible(true);
    ASSERT_TRUE(tray->RetryPending());
    tray->SetVisible(false);
    EXPECT_FALSE(tray->RetryPending());
    const int after = shell.Count(NIM_ADD);
    Pump(30);
    EXPECT_EQ(shell.Count(NIM_ADD), after);
}

TEST_F(TrayIconTest, MinimizeOnStartHidesTheMainWindowAndItsDuplicateAddIsNotRetried) {
    auto* tray = MakeTray();
    Journal(*tray);
    tray->SetLoading(true);
    tray->SetMinimizeOnStart(true);
    tray->SetMinimizeToTray(true);
    tray->Loaded();
    EXPECT_FALSE(app->ShowMainForm());
    EXPECT_TRUE(tray->Visible());
    // Minimize added the icon, the loaded step asked again: refused, but known to be in.
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_ADD}));
    EXPECT_EQ(shell.requests[1].answer, FALSE);
    EXPECT_FALSE(tray->RetryPending());
    EXPECT_EQ(shell.IconCount(), 1u);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"show", L"minimize", L"show"}));
}

TEST_F(TrayIconTest, VisibleSetWhileLoadingWaitsForTheLoadedStep) {
    auto* tray = MakeTray();
    tray->SetLoading(true);
    tray->SetVisible(true);
    tray->SetHint(L"loaded");
    EXPECT_EQ(shell.Count(NIM_ADD), 0);
    tray->Loaded();
    ASSERT_EQ(shell.Count(NIM_ADD), 1);
    EXPECT_EQ(shell.requests.back().tip, L"loaded");
}

TEST_F(TrayIconTest, AFailureWhileAddingOrDeletingNamesTheComponent) {
    auto* tray = MakeTray();
    nestora::desktop::TrayIconShell failing = tray->Shell();
    failing.notify = [](DWORD, NOTIFYICONDATAW&) -> BOOL {
        throw std::runtime_error("shell gone");
    };
    tray->SetShell(failing);
    try {
        tray->ShowIcon();
        FAIL() << "no error";
    } catch (const nestora::desktop::EabfTrayIcon& e) {
        EXPECT_EQ(e.Message(), L"abfTray.InsertToTray failed");
    }
    try {
        tray->HideIcon();
        FAIL() << "no error";
    } catch (const nestora::desktop::EabfTrayIcon& e) {
        EXPECT_EQ(e.Message(), L"abfTray.DeleteFromTray failed");
    }
    tray->UpdateIcon(); // reports nothing
    shell.Attach(*tray);
}

TEST_F(TrayIconTest, DestroyedWithItsOwnerItRemovesTheIconAndShowsNoWindow) {
    auto* tray = MakeTray();
    Journal(*tray);
    tray->SetMinimizeToTray(true);
    form->Show();
    app->Minimize();
    ASSERT_TRUE(tray->Visible());
    journal.clear();
    const HWND hidden = tray->WindowHandle();

    form->Free();
    form = nullptr;
    EXPECT_EQ(shell.requests.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.requests.back().window, hidden);
    EXPECT_EQ(shell.IconCount(), 0u);
    EXPECT_TRUE(journal.empty()); // no OnHide
    EXPECT_FALSE(::IsWindowVisible(app->Handle()));
    EXPECT_FALSE(::IsWindow(hidden));
    // The application window is no longer hooked: its messages reach no freed object.
    ::SendMessageW(app->Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    ::ShowWindow(app->Handle(), SW_RESTORE);
    ::ShowWindow(app->Handle(), SW_MINIMIZE);
}

TEST_F(TrayIconTest, FreedOnItsOwnItHidesTheIconWithAllItsEffects) {
    auto* tray = MakeTray();
    Journal(*tray);
    tray->SetMinimizeToTray(true);
    form->Show();
    app->Minimize();
    ASSERT_FALSE(::IsWindowVisible(app->Handle()));
    journal.clear();
    tray->Free();
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"hide"}));
    EXPECT_TRUE(::IsWindowVisible(app->Handle()));
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(shell.IconCount(), 0u);
}

TEST_F(TrayIconTest, TheApplicationWindowGoingFirstTakesTheHookWithIt) {
    auto tray = nestora::gui::MakeComponent<TabfTrayIcon>();
    shell.Attach(*tray);
    ASSERT_TRUE(tray->HookedApplication());
    tray->SetVisible(true);
    app.reset(); // forms, then the application window
    EXPECT_FALSE(tray->HookedApplication());
    tray.reset(); // no application left: the icon goes quietly
    EXPECT_EQ(shell.requests.back().message, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(TrayIconTest, AHandlerThatFreesTheIconStopsTheRestOfItsSteps) {
    auto* tray = MakeTray();
    tray->SetOnMouseUp([&](nestora::gui::TObject*, nestora::gui::TMouseButton, nestora::gui::TShiftState, int, int) {
        journal.push_back(L"up");
        tray->Free();
    });
    tray->SetOnClick([&](nestora::gui::TObject*) { journal.push_back(L"click"); });
    const HWND hidden = tray->WindowHandle();
    Report(*tray, WM_LBUTTONDOWN);
    ::SendMessageW(hidden, TabfTrayIcon::kCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"up"}));
    EXPECT_FALSE(::IsWindow(hidden));
}

TEST_F(TrayIconTest, InDesignModeOnlyVisibleOnDesigningReachesTheShell) {
    auto* designed = nestora::gui::Create<nestora::gui::TComponent>(app.get());
    designed->SetDesigning(true);
    auto* tray = nestora::gui::Create<TabfTrayIcon>(designed);
    shell.Attach(*tray);
    Journal(*tray);
    EXPECT_FALSE(tray->HookedApplication());
    tray->SetVisible(true);
    tray->SetMinimizeOnStart(true);
    tray->Loaded();
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_TRUE(app->ShowMainForm());
    tray->SetVisibleOnDesigning(true);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD}));
    Report(*tray, WM_LBUTTONDOWN);
    Report(*tray, WM_RBUTTONUP);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"show"}));
    designed->Free();
    EXPECT_EQ(shell.requests.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.IconCount(), 0u);
}

TEST_F(TrayIconTest, ManyTrayIconsLeaveNoWindowOrIconBehind) {
    nestora::gui::TIcon icon;
    icon.LoadFromResourceName(::GetModuleHandleW(L"user32.dll"), L"#32512", 16, 16);
    const long windows = nestora::gui::HandleCounters::Live(nestora::gui::HandleKind::Window);
    const long icons = nestora::gui::HandleCounters::Live(nestora::gui::HandleKind::Icon);
    for (int i = 0; i < 100; ++i) {
        auto* tray = MakeTray();
        tray->SetIcon(icon);
        tray->SetVisible(true);
        tray->Free();
    }
    EXPECT_EQ(nestora::gui::HandleCounters::Live(nestora::gui::HandleKind::Window), windows);
    EXPECT_EQ(nestora::gui::HandleCounters::Live(nestora::gui::HandleKind::Icon), icons);
    EXPECT_EQ(shell.IconCount(), 0u);
}

// Wine's own tray (explorer's notification area on the test desktop).
TEST_F(TrayIconTest, WinesRealTrayTakesTheIconAndLosesItWhenTheComponentGoes) {
    auto* tray = nestora::gui::Create<TabfTrayIcon>(form);
    nestora::gui::TIcon icon;
    icon.LoadFromResourceName(::GetModuleHandleW(L"user32.dll"), L"#32512", 16, 16);
    tray->SetIcon(icon);
    tray->SetHint(L"Nestora under Wine");
    tray->SetVisible(true);
    ASSERT_TRUE(tray->InTray()) << "the shell refused the icon";
    EXPECT_FALSE(tray->RetryPending());
    NOTIFYICONDATAW probe = tray->IconData();
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &probe)); // it is there
    // A second add is refused by the real shell, and is known to be a duplicate.
    tray->ShowIcon();
    EXPECT_FALSE(tray->RetryPending());

    tray->Free();
    probe.uFlags = NIF_TIP;
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &probe)); // gone with the component
}

} // namespace
