// The three components in a window description as the program holds them: created by
// class name, their published properties set by name (enumerations and references too),
// and their loaded steps run in the description's order: the tray icon hides the main
// window and puts its icon in, the start-with-Windows entry removes the program's run
// value, the guard finds no other copy.
#include "app_test_support.h"
#include "fake_tray_shell.h"
#include "scratch_run_keys.h"

#include "desktop/desktop_classes.h"
#include "gui/core/exceptions.h"
#include "gui/win/popup_menu.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::desktop;

constexpr char kDescription[] = R"(
object Form1: TForm
  object abfTray: TabfTrayIcon
    Hint = 'Nestora — Ctrl+`'
    ImageIndex = -1
    MinimizeToTray = True
    MinimizeOnStart = True
    PopupMenu = PopupMenu
    CycleInterval = 500
    InfoType = tiiInfo
  end
  object PopupMenu: TPopupMenu
  end
  object AutoRunApp: TabfAutoRun
    Kind = aekUserRun
  end
  object OneInstance: TabfOneInstance
    ExeNameAsIdentifier = True
    ShowMessage = True
  end
end
)";

class DescriptionTest : public nestora::gui::testing::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // The real classes, except that the tray icon talks to the fake shell and the run
        // entry to scratch keys from the moment they exist.
        classes.Register(trayClass);
        classes.Register(autoRunClass);
        classes.Register(TabfOneInstance::StaticClassInfo());
        classes.Register(nestora::gui::TPopupMenu::StaticClassInfo());
    }

    nestora::desktop::testing::FakeTrayShell shell;
    nestora::desktop::testing::ScratchRunKeys scratch;
    nestora::gui::ClassInfo trayClass{"TabfTrayIcon",
                             &TabfTrayIcon::StaticClassInfo(),
                             [this](nestora::gui::TComponent* owner) -> nestora::gui::TComponent* {
                                 auto* tray = nestora::gui::Create<TabfTrayIcon>(owner);
                                 shell.Attach(*tray);
                                 return tray;
                             },
                             {}};
    nestora::gui::ClassInfo autoRunClass{"TabfAutoRun",
                                &TabfAutoRun::StaticClassInfo(),
                                [this](nestora::gui::TComponent* owner) -> nestora::gui::TComponent* {
                                    auto* entry = nestora::gui::Create<TabfAutoRun>(owner);
                                    entry->SetRegistry(scratch.registry);
                                    return entry;
                                },
                                {}};
    nestora::gui::ClassRegistry classes;
};

TEST_F(DescriptionTest, TheProgramsComponentsLoadAndTakeTheirPlaces) {
    const std::wstring exe = nestora::gui::TApplication::ExeName();
    const std::wstring valueName = exe.substr(exe.find_last_of(L'\\') + 1);
    scratch.Plant(false, L"Run", valueName, exe);

    auto* form = app->CreateForm<nestora::gui::TForm>();
    form->ReadDescription(kDescription, classes);

    auto* tray = dynamic_cast<TabfTrayIcon*>(form->FindComponent(L"abfTray"));
    auto* menu = dynamic_cast<nestora::gui::TPopupMenu*>(form->FindComponent(L"PopupMenu"));
    auto* entry = dynamic_cast<TabfAutoRun*>(form->FindComponent(L"AutoRunApp"));
    auto* guard = dynamic_cast<TabfOneInstance*>(form->FindComponent(L"OneInstance"));
    ASSERT_TRUE(tray && menu && entry && guard);

    EXPECT_EQ(tray->Hint(), L"Nestora — Ctrl+`");
    EXPECT_EQ(tray->ImageIndex(), -1);
    EXPECT_EQ(tray->PopupMenu(), menu);
    EXPECT_EQ(tray->CycleInterval(), 500u);
    EXPECT_EQ(tray->InfoType(), TabfTrayIconInfoType::tiiInfo);
    EXPECT_FALSE(tray->TimerRunning());
    // Loaded: the main window will not show, the icon is in (the second add refused).
    EXPECT_FALSE(app->ShowMainForm());
    EXPECT_TRUE(tray->Visible());
    // (The Hint line already sent its modify, which the shell refused: no icon yet.)
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_MODIFY, NIM_ADD, NIM_ADD}));
    EXPECT_EQ(shell.requests[1].tip, L"Nestora — Ctrl+`");
    EXPECT_EQ(shell.IconCount(), 1u);
    EXPECT_FALSE(tray->RetryPending());

    EXPECT_EQ(entry->Kind(), TabfAutoExecKind::aekUserRun);
    EXPECT_EQ(entry->FileName(), exe);
    EXPECT_FALSE(scratch.Read(false, L"Run", valueName)); // removed at every start

    EXPECT_TRUE(guard->ExeNameAsIdentifier());
    EXPECT_FALSE(guard->Terminating());
    EXPECT_FALSE(app->Terminated());
    EXPECT_TRUE(boxes.empty());

    // The program's end: the window frees its components; the icon goes quietly.
    form->Free();
    EXPECT_EQ(shell.requests.back().message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.IconCount(), 0u);
}

TEST_F(DescriptionTest, AnIconThatIsNotInTheResourcesIsReportedWithItsLine) {
    auto* form = app->CreateForm<nestora::gui::TForm>();
    try {
        form->ReadDescription("object Form1: TForm\n"
                              "  object abfTray: TabfTrayIcon\n"
                              "    Icon = 'NO_SUCH_ICON'\n"
                              "  end\n"
                              "end\n",
                              classes);
        FAIL() << "no error";
    } catch (const nestora::gui::EDescriptionError& e) {
        EXPECT_NE(e.Message().find(L"line 3"), std::wstring::npos) << e.what();
        EXPECT_NE(e.Message().find(L"NO_SUCH_ICON"), std::wstring::npos) << e.what();
    }
}

} // namespace
