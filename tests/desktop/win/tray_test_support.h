#pragma once
// The tray icon's test fixture: an application with a main form, tray icons owned by it
// talking to a fake shell, the shell's reports sent to the hidden window, and a journal
// of the events raised.

#include "app_test_support.h"
#include "fake_tray_shell.h"

#include "desktop/tray_icon.h"

#include <string>
#include <vector>

namespace nestora::desktop::testing {

using desktop::TabfTrayIcon;
using gui::testing::AppTest;

constexpr UINT kShown = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr UINT kHidden = NIF_MESSAGE | NIF_TIP;

class TrayIconTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = app->CreateForm<gui::TForm>();
    }

    // A tray icon owned by the main form, talking to the fake shell.
    TabfTrayIcon* MakeTray(gui::TComponent* owner = nullptr) {
        auto* tray = gui::Create<TabfTrayIcon>(owner ? owner : form);
        tray->SetName(L"abfTray");
        shell.Attach(*tray);
        return tray;
    }

    // Sends the shell's report about the icon to the tray's hidden window.
    static void Report(TabfTrayIcon& tray, UINT mouseMessage) {
        ::SendMessageW(tray.WindowHandle(), TabfTrayIcon::kCallbackMessage,
                       static_cast<WPARAM>(tray.IconID()), static_cast<LPARAM>(mouseMessage));
    }

    void Journal(TabfTrayIcon& tray) {
        auto button = [](gui::TMouseButton b) {
            return b == gui::TMouseButton::mbLeft    ? L"left"
                   : b == gui::TMouseButton::mbRight ? L"right"
                                                     : L"middle";
        };
        tray.SetOnMouseDown(
            [this, button](gui::TObject*, gui::TMouseButton b, gui::TShiftState s, int, int) {
                journal.push_back(std::wstring(L"down ") + button(b));
                shifts.push_back(s);
            });
        tray.SetOnMouseUp(
            [this, button](gui::TObject*, gui::TMouseButton b, gui::TShiftState s, int, int) {
                journal.push_back(std::wstring(L"up ") + button(b));
                shifts.push_back(s);
            });
        tray.SetOnMouseMove(
            [this](gui::TObject*, gui::TShiftState, int, int) { journal.push_back(L"move"); });
        tray.SetOnClick([this](gui::TObject*) { journal.push_back(L"click"); });
        tray.SetOnDblClick([this](gui::TObject*) { journal.push_back(L"dblclick"); });
        tray.SetOnShow([this](gui::TObject*) { journal.push_back(L"show"); });
        tray.SetOnHide([this](gui::TObject*) { journal.push_back(L"hide"); });
        tray.SetOnMinimize([this](gui::TObject*) { journal.push_back(L"minimize"); });
        tray.SetOnPopupMenu([this](gui::TObject*) { journal.push_back(L"popupmenu"); });
        tray.SetOnBalloonShow([this](gui::TObject*) { journal.push_back(L"balloon shown"); });
        tray.SetOnBalloonTimeout([this](gui::TObject*) { journal.push_back(L"balloon timeout"); });
        tray.SetOnBalloonClick([this](gui::TObject*) { journal.push_back(L"balloon click"); });
    }

    gui::TForm* form = nullptr;
    FakeTrayShell shell;
    std::vector<std::wstring> journal;
    std::vector<gui::TShiftState> shifts;
};

} // namespace nestora::desktop::testing
