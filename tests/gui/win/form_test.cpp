// Forms: made from a window description (from a resource, as the program does), their
// events in order, frame styles, constraints, the message table, key preview and their
// canvas; description errors name their line.
#include "app_test_support.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/win/edit.h"
#include "gui/win/hot_key.h"
#include "gui/win/label.h"
#include "gui/win/panel.h"
#include "gui/win/standard_classes.h"

namespace {

using namespace nestora::gui;
using nestora::gui::testing::AppTest;

ClassRegistry StandardRegistry() {
    ClassRegistry classes;
    RegisterStandardClasses(classes);
    return classes;
}

std::vector<std::wstring>* g_journal = nullptr;

// Like a program's main window: fields and handlers published to its description, and a
// member function for WM_HOTKEY in its message table.
class TSettingsForm : public TForm {
public:
    explicit TSettingsForm(TComponent* owner, const std::wstring& resource = L"SETTINGSFORM")
        : TForm(owner) {
        fields_.Add(L"FormMain", FormMain);
        fields_.Add(L"Label1", Label1);
        fields_.Add(L"Label3", Label3);
        fields_.Add(L"EditHotKey", EditHotKey);
        fields_.Add(L"EditNameFolder", EditNameFolder);
        methods_.Add<TNotifyEvent>("FormCreate", [this](TObject*) { FormCreate(); });
        methods_.Add<TNotifyEvent>("FormDestroy", [this](TObject*) { Note(L"FormDestroy"); });
        methods_.Add<TNotifyEvent>("FormShow", [this](TObject*) { Note(L"FormShow"); });
        methods_.Add<TNotifyEvent>("FormHide", [this](TObject*) { Note(L"FormHide"); });
        methods_.Add<TNotifyEvent>("Label1Click", [this](TObject*) { Note(L"Label1Click"); });
        methods_.Add<TKeyEvent>("EditNameFolderKeyUp",
                                [this](TObject*, unsigned short& key, TShiftState) {
                                    Note(L"KeyUp " + std::to_wstring(key));
                                });
        SetMessageHandler(WM_HOTKEY, [this](TMessage& m) { WMHotKey(m); });
        ReadDescriptionResource(resource, StandardRegistry());
    }
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info =
            ClassBuilder<TSettingsForm>("TSettingsForm", &TForm::StaticClassInfo()).Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    void WMHotKey(TMessage& m) { Note(L"WMHotKey " + std::to_wstring(m.WParam)); }

    void FormCreate() {
        // Everything is loaded by now: the auto-sized label knows its size.
        Note(L"FormCreate " + std::wstring(Label3->IsLoading() ? L"loading" : L"loaded") +
             (Label3->Width() == Label3->TextSize().Width ? L" sized" : L" unsized"));
    }

    TPanel* FormMain = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label3 = nullptr;
    THotKey* EditHotKey = nullptr;
    TEdit* EditNameFolder = nullptr;

private:
    void Note(const std::wstring& s) {
        if (g_journal)
            g_journal->push_back(s);
    }
};

class FormTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        g_journal = &journal;
    }
    void TearDown() override {
        AppTest::TearDown();
        g_journal = nullptr;
    }
    std::vector<std::wstring> journal;
};

TEST_F(FormTest, TheDescriptionSetsUpTheFormAndItsControls) {
    auto* form = app->CreateForm<TSettingsForm>();
    EXPECT_EQ(form->Name(), L"SettingsForm");
    EXPECT_EQ(form->Caption(), L" =Nestora=");
    EXPECT_EQ(form->Left(), 295);
    EXPECT_EQ(form->Top(), 115);
    EXPECT_EQ(form->ClientWidth(), 170);
    EXPECT_EQ(form->ClientHeight(), 134);
    EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsSingle);
    EXPECT_EQ(form->BorderIcons(), BorderIconBit(biSystemMenu) | BorderIconBit(biMinimize));
    EXPECT_EQ(form->Constraints().MinWidth(), 130);
    EXPECT_EQ(form->Font().Name(), L"MS Sans Serif");
    EXPECT_TRUE(form->KeyPreview());
    EXPECT_FALSE(form->Scaled());
    ASSERT_NE(form->FormMain, nullptr);
    EXPECT_EQ(form->FormMain->Parent(), form);
    EXPECT_EQ(form->FormMain->Color(), 0x00E7E7E7u);
    ASSERT_NE(form->Label1, nullptr);
    EXPECT_EQ(form->Label1->Parent(), form->FormMain);
    EXPECT_EQ(form->Label1->Caption(), L"Горячая клавиша :");
    EXPECT_EQ(form->Label1->Color(), 0x00BF9857u);
    EXPECT_FALSE(form->Label1->ParentColor());
    EXPECT_EQ(form->Label1->Font().Style(), TFontStyles{fsBold});
    EXPECT_EQ(form->Label1->Font().Name(), L"MS Sans Serif"); // the rest from the form
    EXPECT_EQ(form->Label1->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(form->Label1->BoundsRect(), (TRect{20, 32, 149, 45}));
    EXPECT_EQ(form->EditHotKey->HotKey(), 0x40C0);
    EXPECT_EQ(form->EditHotKey->Modifiers(), 1u << hkCtrl);
    EXPECT_EQ(form->EditNameFolder->Text(), L"Новая папка");
    EXPECT_EQ(form->EditNameFolder->MaxLength(), 20);
    EXPECT_EQ(form->EditHotKey->TabOrder(), 1);
    EXPECT_EQ(form->EditNameFolder->TabOrder(), 2);
    EXPECT_EQ(form->Label3->Font().Color(), 0x00C08000u);
    EXPECT_EQ(form->ActiveControl(), form->EditNameFolder);
    // Every component is owned by the form, in the order of the description.
    ASSERT_EQ(form->ComponentCount(), 5);
    EXPECT_EQ(form->Components(0), form->FormMain);
    EXPECT_EQ(form->Components(4), form->Label3);
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormTest, EventsComeInTheirOrderAndTheCreateEventAfterEveryLoadedStep) {
    auto* form = app->CreateForm<TSettingsForm>();
    form->Show();
    form->Show(); // already visible: no second event
    form->Hide();
    ::SendMessageW(form->Handle(), WM_HOTKEY, 7, 0);
    ::SendMessageW(form->Label1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    ::SendMessageW(form->Label1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    ::SendMessageW(form->EditNameFolder->Handle(), WM_KEYUP, 'X', 0xC0000001);
    app.reset();
    const std::vector<std::wstring> expected = {
        L"FormCreate loaded sized", L"FormShow", L"FormHide", L"WMHotKey 7", L"Label1Click",
        L"KeyUp 88", L"FormDestroy"};
    EXPECT_EQ(journal, expected);
}

TEST_F(FormTest, AFormNeverShownRaisesNoHideEvent) {
    auto* form = app->CreateForm<TSettingsForm>();
    form->Show();
    form->Hide();
    journal.clear();
    form->Hide();
    EXPECT_TRUE(journal.empty());
}

TEST_F(FormTest, KeyPreviewLetsTheFormSeeAndTakeKeysFirst) {
    auto* form = app->CreateForm<TSettingsForm>();
    std::vector<std::wstring> order;
    form->SetOnKeyDown([&](TObject*, unsigned short& key, TShiftState) {
        order.push_back(L"form " + std::to_wstring(key));
        if (key == VK_F9)
            key = 0;
    });
    form->EditNameFolder->SetOnKeyDown([&](TObject*, unsigned short& key, TShiftState) {
        order.push_back(L"edit " + std::to_wstring(key));
    });
    ::SendMessageW(form->EditNameFolder->Handle(), WM_KEYDOWN, 'A', 1);
    ::SendMessageW(form->EditNameFolder->Handle(), WM_KEYDOWN, VK_F9, 1);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"form 65", L"edit 65", L"form 120"}));
    form->SetKeyPreview(false);
    ::SendMessageW(form->EditNameFolder->Handle(), WM_KEYDOWN, VK_F9, 1);
    EXPECT_EQ(order.back(), L"edit 120");
}

TEST_F(FormTest, BorderStylesAndIconsMakeTheWindowsFrame) {
    auto* form = Create<TForm>(app.get());
    auto style = [&] { return static_cast<DWORD>(::GetWindowLongW(form->Handle(), GWL_STYLE)); };
    auto exStyle = [&] {
        return static_cast<DWORD>(::GetWindowLongW(form->Handle(), GWL_EXSTYLE));
    };
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->SetBorderIcons(BorderIconBit(biSystemMenu) | BorderIconBit(biMinimize));
    EXPECT_EQ(style() & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    // Changed on the live window, the frame follows and the outer size stays.
    form->SetBounds(50, 50, 200, 150);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    EXPECT_EQ(style() & (WS_CAPTION | WS_SYSMENU), 0u);
    EXPECT_TRUE(style() & WS_POPUP);
    EXPECT_EQ(form->Width(), 200);
    EXPECT_EQ(form->ClientWidth(), 200);
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    EXPECT_TRUE(style() & WS_THICKFRAME);
    EXPECT_LT(form->ClientWidth(), 200);
    form->SetBorderStyle(TFormBorderStyle::bsToolWindow);
    EXPECT_TRUE(exStyle() & WS_EX_TOOLWINDOW);
    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    form->SetBorderIcons(BorderIconBit(biSystemMenu) | BorderIconBit(biHelp));
    EXPECT_TRUE(exStyle() & WS_EX_DLGMODALFRAME);
    EXPECT_TRUE(exStyle() & WS_EX_CONTEXTHELP);
    EXPECT_FALSE(exStyle() & WS_EX_TOOLWINDOW);
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    EXPECT_TRUE(exStyle() & WS_EX_TOPMOST);
    form->SetFormStyle(TFormStyle::fsNormal);
    // Wine keeps an owned window topmost once it was (see "Where Wine differs").
    EXPECT_EQ((exStyle() & WS_EX_TOPMOST) != 0, nestora::gui::testing::RunningUnderWine());
    // Setting the client size gives exactly that client area.
    form->SetClientSize(170, 134);
    RECT r{};
    ::GetClientRect(form->Handle(), &r);
    EXPECT_EQ(r.right, 170);
    EXPECT_EQ(r.bottom, 134);
}

TEST_F(FormTest, ConstraintsLimitTheSizeAndAnswerTheMinMaxQuery) {
    auto* form = Create<TForm>(app.get());
    form->Constraints().SetMinWidth(125);
    form->Constraints().SetMinHeight(50);
    form->Constraints().SetMaxWidth(400);
    form->SetBounds(0, 0, 100, 30);
    EXPECT_EQ(form->Width(), 125);
    EXPECT_EQ(form->Height(), 50);
    form->SetWidth(500);
    EXPECT_EQ(form->Width(), 400);
    MINMAXINFO info{};
    ::SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 125);
    EXPECT_EQ(info.ptMinTrackSize.y, 50);
    EXPECT_EQ(info.ptMaxTrackSize.x, 400);
    // A new limit applies at once.
    form->Constraints().SetMaxWidth(300);
    EXPECT_EQ(form->Width(), 300);
}

TEST_F(FormTest, WindowStateMinimisesMaximisesAndRestoresAShownForm) {
    auto* other = Create<TForm>(app.get());
    other->SetBounds(20, 20, 200, 150);
    other->Show();
    other->SetWindowState(TWindowState::wsMaximized);
    EXPECT_TRUE(::IsZoomed(other->Handle()));
    other->SetWindowState(TWindowState::wsMinimized);
    EXPECT_TRUE(::IsIconic(other->Handle()));
    other->SetWindowState(TWindowState::wsNormal);
    EXPECT_FALSE(::IsIconic(other->Handle()));
    EXPECT_FALSE(::IsZoomed(other->Handle()));
    // The system changing it is seen too.
    ::ShowWindow(other->Handle(), SW_MAXIMIZE);
    EXPECT_EQ(other->WindowState(), TWindowState::wsMaximized);
}

TEST_F(FormTest, TheCanvasDrawsOnTheWindowOutsidePainting) {
    auto* form = Create<TForm>(app.get());
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetBounds(30, 30, 100, 80);
    form->Show();
    app->ProcessMessages();
    TCanvas& canvas = form->Canvas();
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(TRect{0, 0, 10, 10});
    EXPECT_EQ(canvas.Pixel(5, 5), clRed);
    // The window's DC is given back once a message of the window is done.
    ::SendMessageW(form->Handle(), WM_NULL, 0, 0);
    EXPECT_FALSE(canvas.HandleAllocated());
}

TEST_F(FormTest, ErrorsInADescriptionNameTheLine) {
    auto form = MakeComponent<TForm>();
    try {
        form->ReadDescription("object F: TForm\n"
                              "  object Label1: TLabel\n"
                              "    Colour = clRed\n"
                              "  end\n"
                              "end\n",
                              StandardRegistry());
        FAIL();
    } catch (const EDescriptionError& e) {
        EXPECT_EQ(e.Message(), L"line 3: unknown property 'Colour' of TLabel");
    }
    EXPECT_THROW(form->ReadDescription("object F: TForm\n BorderStyle = bsRound\nend",
                                       StandardRegistry()),
                 EDescriptionError);
    try {
        form->ReadDescriptionResource(L"NOSUCHFORM", StandardRegistry());
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource NOSUCHFORM not found");
    }
}

} // namespace
