// The application object: its window, the message loop and how it ends, the error handler,
// the message hook, minimising and the end of the Windows session.
#include "app_test_support.h"

#include "gui/core/exceptions.h"
#include "gui/win/control_messages.h"
#include "gui/win/dpi.h"
#include "gui/win/icon_sizes.h"
#include "gui/win/panel.h"
#include "gui/win/window_class.h"

#include <commctrl.h>

#include <algorithm>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::AppTest;

class TJournalForm : public TForm {
public:
    TJournalForm(TComponent* owner, std::vector<std::wstring>* journal)
        : TForm(owner), journal_(journal) {
        SetOnCreate([this](TObject*) { journal_->push_back(L"create"); });
        SetOnDestroy([this](TObject*) { journal_->push_back(L"destroy"); });
        SetOnShow([this](TObject*) { journal_->push_back(L"show"); });
        SetOnHide([this](TObject*) { journal_->push_back(L"hide"); });
    }

private:
    std::vector<std::wstring>* journal_;
};

// A form whose constructor takes only the owner, for CreateForm.
std::vector<std::wstring>* g_formJournal = nullptr;
class TMainTestForm : public TJournalForm {
public:
    explicit TMainTestForm(TComponent* owner) : TJournalForm(owner, g_formJournal) {}
};

class ApplicationTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        g_formJournal = &journal;
    }
    void TearDown() override {
        AppTest::TearDown();
        g_formJournal = nullptr;
    }
    std::vector<std::wstring> journal;
};

TEST_F(ApplicationTest, TheApplicationWindowHasTheSharedClassNameAndTheTitle) {
    wchar_t className[64] = {};
    ::GetClassNameW(app->Handle(), className, 64);
    EXPECT_STREQ(className, L"TApplication");
    wchar_t text[64] = {};
    ::GetWindowTextW(app->Handle(), text, 64);
    EXPECT_STREQ(text, L"Nestora Test");
    app->SetTitle(L"Другое имя");
    EXPECT_EQ(::FindWindowW(L"TApplication", L"Другое имя"), app->Handle());
    EXPECT_FALSE(::IsWindowVisible(app->Handle()));
    EXPECT_THROW(TApplication second, EInvalidOperation);
    EXPECT_EQ(&Application(), app.get());
}

TEST_F(ApplicationTest, TheApplicationWindowCarriesTheProgramsIcon) {
    ASSERT_FALSE(app->Icon().Empty()); // MAINICON of the program's resources
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(app->Handle(), WM_GETICON, ICON_BIG, 0)),
              app->Icon().Handle());
    app->Icon().LoadFromResourceName(FrameworkInstance(), L"MAINICON", 16, 16);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(app->Handle(), WM_GETICON, ICON_SMALL, 0)),
              app->Icon().Handle());
}

// The caption and the taskbar button show the small icon, Alt+Tab the large one: each is
// MAINICON's own image of the size the window's DPI asks for (not one image the system
// shrinks), and both follow a new DPI until the program sets an icon of its own.
TEST_F(ApplicationTest, TheWindowsIconsAreMainiconsImagesOfTheSizesOfItsDpi) {
    const auto iconOf = [this](WPARAM which) {
        return reinterpret_cast<HICON>(::SendMessageW(app->Handle(), WM_GETICON, which, 0));
    };
    const int dpi = WindowDpi(app->Handle());
    EXPECT_EQ(IconSize(iconOf(ICON_SMALL)).Width, SmallIconSize(dpi));
    EXPECT_EQ(IconSize(iconOf(ICON_BIG)).Width, LargeIconSize(dpi));
    EXPECT_NE(IconSize(iconOf(ICON_SMALL)).Width, IconSize(iconOf(ICON_BIG)).Width);

    // Moved to a screen at 200 %.
    RECT suggested{0, 0, 0, 0};
    ::SendMessageW(app->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                   reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(IconSize(iconOf(ICON_SMALL)).Width, 32);
    EXPECT_EQ(IconSize(iconOf(ICON_BIG)).Width, 64);
    EXPECT_EQ(iconOf(ICON_BIG), app->Icon().Handle());

    // The program's own icon is shown as it is, at any DPI.
    app->Icon().LoadFromResourceName(FrameworkInstance(), L"MAINICON", 20, 20);
    ::SendMessageW(app->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    ::SendMessageW(app->Handle(), WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(iconOf(ICON_BIG), app->Icon().Handle());
    EXPECT_EQ(iconOf(ICON_SMALL), app->Icon().Handle());
    EXPECT_EQ(IconSize(iconOf(ICON_BIG)).Width, 20);
}

TEST_F(ApplicationTest, ExeNameIsTheModulesFullPath) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(TApplication::ExeName(), path);
    EXPECT_NE(TApplication::ExeName().find(L"gui_win_tests"), std::wstring::npos);
}

TEST_F(ApplicationTest, FormsAreOwnedByTheApplicationWindowAndHaveNoTaskbarButton) {
    auto* form = app->CreateForm<TMainTestForm>();
    EXPECT_EQ(app->MainForm(), form);
    form->Show();
    EXPECT_EQ(::GetWindow(form->Handle(), GW_OWNER), app->Handle());
    EXPECT_EQ(::GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    // The taskbar button is the application window's: shown with the main form.
    EXPECT_TRUE(::IsWindowVisible(app->Handle()));
    form->Hide();
    EXPECT_FALSE(::IsWindowVisible(app->Handle()));
}

TEST_F(ApplicationTest, RunEndsWhenTheMainFormClosesAndTheDestroyEventFollowsLater) {
    auto* form = app->CreateForm<TMainTestForm>();
    ::PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    app->Run();
    EXPECT_TRUE(app->Terminated());
    const std::vector<std::wstring> afterRun = {L"create", L"show"};
    EXPECT_EQ(journal, afterRun);
    EXPECT_TRUE(::IsWindow(form->Handle())); // closing the main form only ends the loop
    app.reset();
    const std::vector<std::wstring> afterEnd = {L"create", L"show", L"destroy"};
    EXPECT_EQ(journal, afterEnd);
}

TEST_F(ApplicationTest, TerminateBeforeRunEndsTheLoopWithoutShowingTheMainForm) {
    auto* form = app->CreateForm<TMainTestForm>();
    app->Terminate();
    app->Run();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(::IsWindowVisible(form->Handle()));
    // No WM_QUIT is left behind for a later loop of this thread.
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(ApplicationTest, RunWithoutAMainFormReturnsAtOnce) {
    app->Run();
    EXPECT_FALSE(app->Terminated());
}

TEST_F(ApplicationTest, TerminateFromAHandlerEndsARunningLoop) {
    auto* form = app->CreateForm<TMainTestForm>();
    app->SetShowMainForm(false);
    const UINT_PTR timer = ::SetTimer(form->Handle(), 7, 10, nullptr);
    form->SetMessageHandler(WM_TIMER, [this](TMessage&) { app->Terminate(); });
    app->Run();
    ::KillTimer(form->Handle(), timer);
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(form->Visible());
}

TEST_F(ApplicationTest, AnExceptionInAClickHandlerShowsItsTextAndTheLoopGoesOn) {
    auto* form = app->CreateForm<TMainTestForm>();
    auto* panel = Create<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 50, 50);
    int clicks = 0;
    panel->SetOnClick([&](TObject*) {
        ++clicks;
        if (clicks == 1)
            throw ERegistryException(L"Failed to get data for 'StartUp'");
        if (clicks == 2)
            throw std::runtime_error("plain failure");
        app->Terminate();
    });
    const HWND window = panel->Handle();
    for (int i = 0; i < 3; ++i) {
        ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    app->SetShowMainForm(false);
    app->Run();
    EXPECT_EQ(clicks, 3);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"Failed to get data for 'StartUp'");
    EXPECT_EQ(boxes[0].caption, L"Nestora Test");
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
    EXPECT_EQ(boxes[0].owner, app->Handle());
    EXPECT_EQ(boxes[1].text, L"plain failure");
}

TEST_F(ApplicationTest, OnExceptionReplacesTheMessageBoxAndItsOwnErrorsAreContained) {
    std::vector<std::string> seen;
    app->SetOnException([&](TObject* sender, const std::exception& e) {
        EXPECT_EQ(sender, app.get());
        seen.push_back(e.what());
        throw std::runtime_error("the handler fails too");
    });
    auto* form = app->CreateForm<TMainTestForm>();
    form->SetMessageHandler(WM_USER + 1, [](TMessage&) { throw EInvalidOperation(L"boom"); });
    EXPECT_NO_THROW(::SendMessageW(form->Handle(), WM_USER + 1, 0, 0));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "boom");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ApplicationTest, AnErrorInTheCreateEventIsReportedAndCreationGoesOn) {
    class TFailingForm : public TForm {
    public:
        explicit TFailingForm(TComponent* owner) : TForm(owner) {
            SetOnCreate([this](TObject*) {
                stepsDone = 1;
                throw ERegistryException(L"Failed to get data for 'StartUp'");
            });
        }
        int stepsDone = 0;
    };
    auto* form = app->CreateForm<TFailingForm>();
    EXPECT_EQ(form->stepsDone, 1);
    EXPECT_EQ(app->MainForm(), form);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Failed to get data for 'StartUp'");
}

TEST_F(ApplicationTest, OnMessageSeesQueuedMessagesBeforeDispatchAndMayHandleThem) {
    auto* form = app->CreateForm<TMainTestForm>();
    int dispatched = 0;
    form->SetMessageHandler(WM_USER + 2, [&](TMessage&) { ++dispatched; });
    std::vector<WPARAM> hooked;
    app->SetOnMessage([&](MSG& msg, bool& handled) {
        if (msg.message == WM_USER + 2) {
            hooked.push_back(msg.wParam);
            handled = msg.wParam == 1;
        }
    });
    ::PostMessageW(form->Handle(), WM_USER + 2, 1, 0);
    ::PostMessageW(form->Handle(), WM_USER + 2, 2, 0);
    app->ProcessMessages();
    EXPECT_EQ(hooked, (std::vector<WPARAM>{1, 2}));
    EXPECT_EQ(dispatched, 1); // the handled one never reached the window
    // Sent messages do not pass through the queue, nor through the hook.
    ::SendMessageW(form->Handle(), WM_USER + 2, 3, 0);
    EXPECT_EQ(hooked.size(), 2u);
    EXPECT_EQ(dispatched, 2);
}

// What the tray icon does: subclass the application window and watch for minimising.
LRESULT CALLBACK WatchMinimize(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
    if (msg == WM_SIZE)
        reinterpret_cast<std::vector<WPARAM>*>(data)->push_back(wParam);
    return ::DefSubclassProc(window, msg, wParam, lParam);
}

TEST_F(ApplicationTest, MinimisingTheMainFormMinimisesTheApplicationWindow) {
    auto* form = app->CreateForm<TMainTestForm>();
    form->Show();
    std::vector<WPARAM> sizes;
    ASSERT_TRUE(
        ::SetWindowSubclass(app->Handle(), WatchMinimize, 1, reinterpret_cast<DWORD_PTR>(&sizes)));
    int minimized = 0;
    app->SetOnMinimize([&](TObject*) { ++minimized; });
    // The title bar's minimise button of the skinned frame sends exactly this.
    ::SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ::RemoveWindowSubclass(app->Handle(), WatchMinimize, 1);
    EXPECT_TRUE(::IsIconic(app->Handle()));
    EXPECT_FALSE(::IsIconic(form->Handle())); // the form itself is not minimised
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), static_cast<WPARAM>(SIZE_MINIMIZED));
    EXPECT_EQ(minimized, 1);
    app->Restore();
    EXPECT_FALSE(::IsIconic(app->Handle()));
}

TEST_F(ApplicationTest, WindowHooksSeeEachMessageInTheirOrderBeforeTheApplicationHandlesIt) {
    app->CreateForm<TMainTestForm>()->Show();
    app->SetOnMinimize([&](TObject*) { journal.push_back(L"application minimised"); });
    auto record = [&](const wchar_t* who) {
        return [this, who](TMessage& m) {
            if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_MINIMIZE)
                journal.push_back(who);
        };
    };
    const int first = app->HookWindow(record(L"first hook"));
    const int second = app->HookWindow(record(L"second hook"));
    EXPECT_NE(first, second);
    journal.clear();
    ::SendMessageW(app->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(journal,
              (std::vector<std::wstring>{L"first hook", L"second hook", L"application minimised"}));
    app->Restore();

    // Unhooked, a hook sees nothing more; an unknown number changes nothing.
    app->UnhookWindow(first);
    app->UnhookWindow(12345);
    journal.clear();
    ::SendMessageW(app->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(journal, (std::vector<std::wstring>{L"second hook", L"application minimised"}));
    app->UnhookWindow(second);
}

TEST_F(ApplicationTest, AHookMayRemoveItselfAndTheOthersAndItsErrorsGoToTheHandler) {
    std::vector<std::wstring> errors;
    app->SetOnException([&](TObject*, const std::exception& e) {
        errors.push_back(dynamic_cast<const Exception&>(e).Message());
    });
    int calls = 0;
    int later = 0;
    int self = 0;
    self = app->HookWindow([&](TMessage& m) {
        if (m.Msg != WM_USER + 7)
            return;
        ++calls;
        app->UnhookWindow(self);
        app->UnhookWindow(later); // removed before its turn: it is not called
        throw EInvalidOperation(L"hook failed");
    });
    later = app->HookWindow([&](TMessage& m) {
        if (m.Msg == WM_USER + 7)
            ++calls;
    });
    ::SendMessageW(app->Handle(), WM_USER + 7, 0, 0);
    ::SendMessageW(app->Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(errors, (std::vector<std::wstring>{L"hook failed"}));
}

TEST_F(ApplicationTest, AWindowEndedElsewhereIsLetGoByItsOwnerAndALostOneIsCounted) {
    // The application window lets its owner go at its end, so a new one is made on demand
    // and the application's end destroys nothing twice.
    const long lost = LostWindowDestroys();
    const HWND ended = app->Handle();
    ASSERT_TRUE(::DestroyWindow(ended));
    const HWND again = app->Handle();
    EXPECT_NE(again, ended);
    EXPECT_TRUE(::IsWindow(again));
    app.reset();
    EXPECT_FALSE(::IsWindow(again));
    EXPECT_EQ(LostWindowDestroys(), lost);
    // A window nobody bound: its owner cannot know of its end, and destroying it again is
    // counted rather than passed over.
    UniqueWindow plain(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                         nullptr, nullptr));
    ASSERT_TRUE(plain);
    ::DestroyWindow(plain.get());
    plain.reset();
    EXPECT_EQ(LostWindowDestroys(), lost + 1);
    --LostWindowDestroys(); // this one was on purpose
}

TEST_F(ApplicationTest, TheEndOfTheSessionFreesTheFormsSoTheirDestroyEventsRun) {
    app->CreateForm<TMainTestForm>();
    ::SendMessageW(app->Handle(), WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(::SendMessageW(app->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    ::SendMessageW(app->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(journal.back(), L"destroy");
    EXPECT_EQ(app->MainForm(), nullptr);
    EXPECT_TRUE(app->Terminated());
}

TEST_F(ApplicationTest, TheSessionEndingUnderAFormsOwnHandlerStillRunsItsDestroyEventOnce) {
    auto* form = app->CreateForm<TMainTestForm>();
    bool alive = false;
    form->SetMessageHandler(WM_USER + 5, [&](TMessage&) {
        // A message box of this handler is open when Windows ends the session.
        ::SendMessageW(app->Handle(), WM_ENDSESSION, TRUE, 0);
        alive = form->Name().empty() && journal.back() == L"destroy";
    });
    ::SendMessageW(form->Handle(), WM_USER + 5, 0, 0);
    EXPECT_TRUE(alive);
    app.reset();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), L"destroy"), 1);
}

TEST_F(ApplicationTest, ReleaseFreesAFormAfterTheMessageInHand) {
    auto* form = Create<TJournalForm>(app.get(), &journal);
    bool freedInside = false;
    form->SetMessageHandler(WM_USER + 3, [&](TMessage&) {
        form->Release();
        freedInside = journal.back() == L"destroy";
    });
    ::SendMessageW(form->Handle(), WM_USER + 3, 0, 0);
    EXPECT_FALSE(freedInside);
    app->ProcessMessages();
    EXPECT_EQ(journal.back(), L"destroy");
    EXPECT_EQ(app->ComponentCount(), 0);
}

TEST_F(ApplicationTest, AReleaseArrivingWhileAHandlerWaitsInAModalLoopWaitsToo) {
    auto* form = Create<TJournalForm>(app.get(), &journal);
    auto* panel = Create<TPanel>(form);
    panel->SetParent(form);
    bool formAliveAfterLoop = false;
    panel->SetOnClick([&](TObject*) {
        form->Release();
        app->ProcessMessages(); // a modal loop: message boxes and menus pump like this
        formAliveAfterLoop = journal.back() != L"destroy";
    });
    ::SendMessageW(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    ::SendMessageW(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_TRUE(formAliveAfterLoop);
    EXPECT_TRUE(PumpUntil([&] { return journal.back() == L"destroy"; }));
}

TEST_F(ApplicationTest, CloseAsksCloseQueryThenOnCloseDecides) {
    auto* main = app->CreateForm<TMainTestForm>();
    auto* other = Create<TJournalForm>(app.get(), &journal);
    other->Show();
    bool allow = false;
    other->SetOnCloseQuery([&](TObject*, bool& canClose) { canClose = allow; });
    other->Close();
    EXPECT_TRUE(other->Visible());
    allow = true;
    TCloseAction chosen = TCloseAction::caNone;
    other->SetOnClose([&](TObject*, TCloseAction& action) {
        EXPECT_EQ(action, TCloseAction::caHide);
        action = chosen;
    });
    other->Close();
    EXPECT_TRUE(other->Visible()); // caNone: nothing
    chosen = TCloseAction::caHide;
    other->Close();
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(app->Terminated()); // only the main form ends the program
    main->Close();
    EXPECT_TRUE(app->Terminated());
}

} // namespace
