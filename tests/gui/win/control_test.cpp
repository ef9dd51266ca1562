// Controls: message routing through WindowProc and the message table, replacing and
// restoring WindowProc, windows made on demand and bound to live objects only, parents and
// children, alignment, inherited colour and font, and mouse events.
#include "app_test_support.h"

#include "gui/core/exceptions.h"
#include "gui/win/control_messages.h"
#include "gui/win/panel.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::AppTest;
using nestora::gui::testing::MessageRecorder;

class ControlTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = Create<TForm>(app.get());
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(10, 10, 200, 150);
    }
    TPanel* MakePanel(TWinControl* parent, TAlign align = TAlign::alNone) {
        auto* panel = Create<TPanel>(form);
        panel->SetParent(parent);
        panel->SetAlign(align);
        return panel;
    }
    TForm* form = nullptr;
};

TEST_F(ControlTest, MessagesPassThroughWindowProcInOrder) {
    TPanel* panel = MakePanel(form);
    panel->SetBounds(0, 0, 50, 40);
    form->HandleNeeded();
    MessageRecorder recorder(*panel);
    panel->SetBounds(5, 6, 60, 30);
    // As Windows' own message tests do: the interesting messages, in their order.
    const std::vector<UINT> expected = {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE,
                                        WM_SIZE};
    EXPECT_EQ(recorder.Only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
              expected);
    recorder.messages.clear();
    EXPECT_EQ(panel->Perform(WM_USER + 9, 1, 2), 0);
    ::SendMessageW(panel->Handle(), WM_USER + 10, 0, 0);
    EXPECT_EQ(recorder.messages, (std::vector<UINT>{WM_USER + 9, WM_USER + 10}));
}

TEST_F(ControlTest, AReplacedWindowProcSeesEverythingAndTheOldOneComesBack) {
    form->HandleNeeded();
    std::vector<std::wstring> trail;
    form->SetMessageHandler(WM_USER + 1, [&](TMessage& m) {
        trail.push_back(L"form");
        m.Result = 41;
    });
    const TWndMethod saved = form->WindowProc();
    // As the skinned frame does: its own procedure first, then the saved one.
    form->SetWindowProc([&](TMessage& m) {
        if (m.Msg == WM_USER + 1)
            trail.push_back(L"frame");
        saved(m);
        if (m.Msg == WM_USER + 1)
            ++m.Result;
    });
    EXPECT_EQ(::SendMessageW(form->Handle(), WM_USER + 1, 0, 0), 42);
    EXPECT_EQ(trail, (std::vector<std::wstring>{L"frame", L"form"}));
    form->SetWindowProc(saved);
    trail.clear();
    EXPECT_EQ(::SendMessageW(form->Handle(), WM_USER + 1, 0, 0), 41);
    EXPECT_EQ(trail, (std::vector<std::wstring>{L"form"}));
    // An empty function restores the control's own procedure.
    form->SetWindowProc([](TMessage&) {});
    form->SetWindowProc(nullptr);
    EXPECT_EQ(::SendMessageW(form->Handle(), WM_USER + 1, 0, 0), 41);
}

TEST_F(ControlTest, AWindowProcMayReplaceItselfWhileItRuns) {
    form->HandleNeeded();
    int calls = 0;
    form->SetWindowProc([&](TMessage& m) {
        ++calls;
        form->SetWindowProc(nullptr); // destroys this function's holder
        m.Result = calls;             // still safe: the entry keeps it alive
    });
    EXPECT_EQ(::SendMessageW(form->Handle(), WM_USER, 0, 0), 1);
    ::SendMessageW(form->Handle(), WM_USER, 0, 0);
    EXPECT_EQ(calls, 1);
}

TEST_F(ControlTest, ExceptionsNeverLeaveAWindowProcedure) {
    form->HandleNeeded();
    form->SetMessageHandler(WM_USER + 4, [](TMessage& m) {
        m.Result = 5;
        throw EInvalidOperation(L"inside a handler");
    });
    LRESULT result = -1;
    EXPECT_NO_THROW(result = ::SendMessageW(form->Handle(), WM_USER + 4, 0, 0));
    EXPECT_EQ(result, 5);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"inside a handler");
}

TEST_F(ControlTest, WindowsAreMadeOnDemandWithTheClassNameOfTheControl) {
    TPanel* panel = MakePanel(form);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_FALSE(panel->HandleAllocated());
    const HWND panelWindow = panel->Handle(); // makes the form's window first
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_EQ(::GetParent(panelWindow), form->Handle());
    wchar_t name[32] = {};
    ::GetClassNameW(panelWindow, name, 32);
    EXPECT_STREQ(name, L"TPanel");
    EXPECT_EQ(TWinControl::FromHandle(panelWindow), panel);
    // A panel made after the form's window gets its window at once.
    TPanel* late = MakePanel(form);
    EXPECT_TRUE(late->HandleAllocated());
    // A control without a parent cannot have a child window.
    auto* orphan = Create<TPanel>(form);
    EXPECT_THROW(orphan->Handle(), EInvalidOperation);
}

TEST_F(ControlTest, ADestroyedControlIsNeverReachedAgainThroughItsWindow) {
    TPanel* panel = MakePanel(form);
    const HWND window = panel->Handle();
    std::vector<UINT> last;
    panel->SetWindowProc([&, saved = panel->WindowProc()](TMessage& m) {
        last.push_back(m.Msg);
        saved(m);
    });
    panel->Free();
    // Its window's last messages came while the panel was still whole, then the binding
    // went with the window.
    EXPECT_EQ(std::vector<UINT>(last.end() - 2, last.end()),
              (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(TWinControl::FromHandle(window), nullptr);
    last.clear();
    ::SendMessageW(window, WM_USER, 0, 0);
    EXPECT_TRUE(last.empty());
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(ControlTest, AHandlerThatFreesItsOwnControlAndThenRaisesIsSurvived) {
    // The window and the object both go inside the handler; the error still reaches the
    // application, and what comes after the handler touches nothing of the freed control.
    TPanel* panel = MakePanel(form);
    const HWND window = panel->Handle();
    panel->SetMessageHandler(WM_USER + 3, [panel](TMessage&) {
        panel->Free();
        throw EInvalidOperation(L"freed, then failed");
    });
    EXPECT_EQ(::SendMessageW(window, WM_USER + 3, 0, 0), 0);
    EXPECT_FALSE(::IsWindow(window));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"freed, then failed");
    EXPECT_EQ(form->ControlCount(), 0);
    // The form's own messages still run as before.
    EXPECT_TRUE(::IsWindow(form->Handle()));
    form->Realign();
}

TEST_F(ControlTest, WindowsGoBeforeAnyObjectIsDestroyed) {
    TPanel* outer = MakePanel(form);
    TPanel* inner = MakePanel(outer);
    form->HandleNeeded();
    std::vector<std::wstring> order;
    auto watch = [&](TPanel* p, const std::wstring& name) {
        p->SetMessageHandler(WM_DESTROY, [&order, p, name](TMessage& m) {
            // The object is whole: its name and its owner are still there.
            order.push_back(name + L":" +
                            std::wstring(1, static_cast<wchar_t>(p->Owner()->ClassName()[0])));
            p->DefaultHandler(m);
        });
    };
    watch(outer, L"outer");
    watch(inner, L"inner");
    form->Free();
    form = nullptr;
    EXPECT_EQ(order, (std::vector<std::wstring>{L"outer:T", L"inner:T"}));
}

TEST_F(ControlTest, AParentDestroysTheControlsStillOnIt) {
    // The child is owned by someone else but sits on the panel.
    auto other = MakeComponent<TComponent>();
    TPanel* panel = MakePanel(form);
    auto* child = Create<TPanel>(other.get());
    child->SetParent(panel);
    EXPECT_EQ(other->ComponentCount(), 1);
    panel->Free();
    EXPECT_EQ(other->ComponentCount(), 0);
}

TEST_F(ControlTest, ChildrenKeepIndexOrderAndMoveBetweenParents) {
    TPanel* a = MakePanel(form);
    TPanel* b = MakePanel(form);
    TPanel* c = MakePanel(form);
    ASSERT_EQ(form->ControlCount(), 3);
    EXPECT_EQ(form->Controls(0), a);
    EXPECT_EQ(form->Controls(2), c);
    EXPECT_EQ(b->TabOrder(), 1);
    c->SetTabOrder(0);
    EXPECT_EQ(c->TabOrder(), 0);
    EXPECT_EQ(a->TabOrder(), 1);
    form->HandleNeeded();
    b->SetParent(a);
    EXPECT_EQ(form->ControlCount(), 2);
    EXPECT_EQ(a->ControlCount(), 1);
    EXPECT_EQ(::GetParent(b->Handle()), a->Handle());
    EXPECT_THROW(a->SetParent(b), EInvalidOperation); // a cannot sit inside its own child
    EXPECT_THROW(a->SetParent(a), EInvalidOperation);
}

TEST_F(ControlTest, AlignedControlsFollowTheParentsSize) {
    form->SetClientSize(200, 150);
    TPanel* top = MakePanel(form, TAlign::alTop);
    top->SetHeight(30);
    TPanel* client = MakePanel(form, TAlign::alClient);
    form->HandleNeeded();
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 200, 30}));
    EXPECT_EQ(client->BoundsRect(), (TRect{0, 30, 200, 150}));
    // The window itself agrees.
    RECT r{};
    ::GetWindowRect(client->Handle(), &r);
    ::MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.bottom, 150);

    form->SetClientSize(300, 100);
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 300, 30}));
    EXPECT_EQ(client->BoundsRect(), (TRect{0, 30, 300, 100}));
    top->SetHeight(50);
    EXPECT_EQ(client->Top(), 50);
    top->Hide();
    EXPECT_EQ(client->BoundsRect(), (TRect{0, 0, 300, 100}));
    form->SetBorderWidth(5);
    EXPECT_EQ(client->BoundsRect(), (TRect{5, 5, 295, 95}));
}

TEST_F(ControlTest, ControlsTakeTheParentsColourAndFontUntilTheyHaveTheirOwn) {
    form->SetColor(clRed);
    form->Font().SetName(L"Tahoma");
    TPanel* panel = MakePanel(form);
    panel->SetParentColor(true);
    EXPECT_EQ(panel->Color(), clRed);
    EXPECT_EQ(panel->Font().Name(), L"Tahoma");
    form->SetColor(clBlue);
    form->Font().SetHeight(-20);
    EXPECT_EQ(panel->Color(), clBlue);
    EXPECT_EQ(panel->Font().Height(), -20);
    EXPECT_TRUE(panel->ParentFont());
    panel->Font().SetStyle(fsBold);
    EXPECT_FALSE(panel->ParentFont());
    panel->SetColor(clBlue); // the same value, but now the panel's own
    EXPECT_FALSE(panel->ParentColor());
    form->SetColor(clLime);
    form->Font().SetName(L"Arial");
    EXPECT_EQ(panel->Color(), clBlue);
    EXPECT_EQ(panel->Font().Name(), L"Tahoma");
}

TEST_F(ControlTest, MouseButtonsGiveDownClickUpAndDoubleClicks) {
    TPanel* panel = MakePanel(form);
    panel->SetBounds(0, 0, 50, 50);
    std::vector<std::wstring> events;
    panel->SetOnMouseDown([&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        events.push_back(L"down" + std::to_wstring(static_cast<int>(b)) +
                         ((s & ssDouble) ? L"d" : L"") + L"@" + std::to_wstring(x) + L"," +
                         std::to_wstring(y));
    });
    panel->SetOnMouseUp(
        [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back(L"up"); });
    panel->SetOnClick([&](TObject*) { events.push_back(L"click"); });
    panel->SetOnDblClick([&](TObject*) { events.push_back(L"dbl"); });
    const HWND w = panel->Handle();
    ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    ::SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 4));
    ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    // Released away from the control: no click.
    ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(80, 4));
    // Negative coordinates (multi-monitor, captured mouse) keep their sign.
    ::SendMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(-2, -3));
    const std::vector<std::wstring> expected = {L"down0@3,4", L"click",      L"up",
                                                L"dbl",       L"down0d@3,4", L"up",
                                                L"down0@3,4", L"up",         L"down1@-2,-3"};
    EXPECT_EQ(events, expected);
}

TEST_F(ControlTest, MouseEnterAndLeaveAreTracked) {
    TPanel* panel = MakePanel(form);
    panel->SetBounds(0, 0, 50, 50);
    int enters = 0, leaves = 0;
    panel->SetOnMouseEnter([&](TObject*) { ++enters; });
    panel->SetOnMouseLeave([&](TObject*) { ++leaves; });
    const HWND w = panel->Handle();
    ::SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    EXPECT_EQ(enters, 1);
    ::SendMessageW(w, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(leaves, 1);
    ::SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(enters, 2);
}

BOOL CALLBACK AddClassName(HWND window, LPARAM data) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    reinterpret_cast<std::vector<std::wstring>*>(data)->push_back(name);
    return TRUE;
}

BOOL CALLBACK AddTopLevel(HWND window, LPARAM data) {
    AddClassName(window, data);
    ::EnumChildWindows(window, AddClassName, data);
    return TRUE;
}

// The classes of every window of this thread, top-level and child, sorted.
std::vector<std::wstring> ThreadWindowClasses() {
    std::vector<std::wstring> classes;
    ::EnumThreadWindows(::GetCurrentThreadId(), AddTopLevel, reinterpret_cast<LPARAM>(&classes));
    std::sort(classes.begin(), classes.end());
    return classes;
}

TEST_F(ControlTest, MakingAndFreeingFormsLeavesNoWindowsBehind) {
    form->HandleNeeded();
    const std::vector<std::wstring> before = ThreadWindowClasses();
    for (int i = 0; i < 50; ++i) {
        auto* f = Create<TForm>(app.get());
        TPanel* outer = Create<TPanel>(f);
        outer->SetParent(f);
        outer->SetAlign(TAlign::alClient);
        auto* inner = Create<TPanel>(f);
        inner->SetParent(outer);
        f->Show();
        f->Canvas().FillRect(TRect{0, 0, 5, 5});
        if (i % 2)
            f->Free();
        else
            outer->Free(); // the child goes with it, the form later
        app->ProcessMessages();
        if (i % 2 == 0)
            f->Free();
    }
    EXPECT_EQ(ThreadWindowClasses(), before);
}

TEST_F(ControlTest, TabMovesTheFocusInTabOrderAcrossLevels) {
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    TPanel* a = MakePanel(form);
    TPanel* box = MakePanel(form);
    TPanel* b = MakePanel(box);
    TPanel* c = MakePanel(form);
    for (TPanel* p : {a, b, c})
        p->SetTabStop(true);
    form->Show();
    ::SetForegroundWindow(form->Handle());
    a->SetFocus();
    ASSERT_TRUE(a->Focused());
    EXPECT_TRUE(form->SelectNext(a, true));
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(form->ActiveControl(), b);
    form->SelectNext(b, true);
    EXPECT_TRUE(c->Focused());
    form->SelectNext(c, true); // wraps around
    EXPECT_TRUE(a->Focused());
    form->SelectNext(a, false);
    EXPECT_TRUE(c->Focused());
    c->Hide();
    form->SelectNext(a, true);
    EXPECT_TRUE(b->Focused());
    // The Tab key itself, through the message loop; Shift+Tab goes back.
    ::PostMessageW(b->Handle(), WM_KEYDOWN, VK_TAB, 1);
    app->ProcessMessages();
    EXPECT_TRUE(a->Focused());
    BYTE saved[256] = {};
    ::GetKeyboardState(saved);
    BYTE state[256] = {};
    state[VK_SHIFT] = 0x80;
    ::SetKeyboardState(state);
    ::PostMessageW(a->Handle(), WM_KEYDOWN, VK_TAB, 1);
    app->ProcessMessages();
    ::SetKeyboardState(saved);
    EXPECT_TRUE(b->Focused());
}

} // namespace
