// A window's DPI, the system metrics for a DPI, and a form read from its 96-dpi description
// moved to a screen of another scale (WM_DPICHANGED) and back.
#include "app_test_support.h"

#include "gui/core/dpi_scale.h"
#include "gui/win/dpi.h"
#include "gui/win/label.h"
#include "gui/win/panel.h"
#include "gui/win/standard_classes.h"

namespace nestora::gui {
namespace {

using testing::AppTest;

class DpiTest : public AppTest {};

TEST_F(DpiTest, AWindowsDpiIsTheScreensOnOneMonitor) {
    const WindowDC screen = WindowDC::Client(nullptr);
    const int logPixels = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    EXPECT_EQ(SystemDpi(), logPixels);
    auto form = MakeComponent<TForm>();
    EXPECT_EQ(WindowDpi(form->Handle()), logPixels);
    EXPECT_EQ(WindowDpi(nullptr), logPixels);
    // A handle that is no window: the system's, never 0.
    EXPECT_EQ(WindowDpi(reinterpret_cast<HWND>(static_cast<std::intptr_t>(0x7FFF0))), logPixels);
    EXPECT_EQ(DeviceDpi(screen.get()), logPixels);
}

TEST_F(DpiTest, TheSystemMetricsForADpiAreTheSystemsScaled) {
    const int dpi = SystemDpi();
    EXPECT_EQ(SystemMetricForDpi(SM_CXSMICON, dpi), ::GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(SystemMetricForDpi(SM_CXSMICON, 2 * dpi), 2 * ::GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(SystemMetricForDpi(SM_CYICON, 2 * dpi), 2 * ::GetSystemMetrics(SM_CYICON));
}

ClassRegistry Standard() {
    ClassRegistry classes;
    RegisterStandardClasses(classes);
    return classes;
}

constexpr char kDescription[] = "object F: TForm\n"
                                "  BorderStyle = bsNone\n"
                                "  ClientWidth = 170\n"
                                "  ClientHeight = 134\n"
                                "  Constraints.MinWidth = 130\n"
                                "  Font.Height = -11\n"
                                "  Scaled = False\n"
                                "  object Panel1: TPanel\n"
                                "    Left = 1\n"
                                "    Top = 0\n"
                                "    Width = 168\n"
                                "    Height = 133\n"
                                "    BorderWidth = 2\n"
                                "    object Top1: TLabel\n"
                                "      Align = alTop\n"
                                "      AutoSize = False\n"
                                "      Height = 23\n"
                                "      Caption = 'bar'\n"
                                "    end\n"
                                "    object Label1: TLabel\n"
                                "      AutoSize = False\n"
                                "      Left = 20\n"
                                "      Top = 32\n"
                                "      Width = 129\n"
                                "      Height = 13\n"
                                "      Font.Height = -13\n"
                                "      Caption = 'x'\n"
                                "    end\n"
                                "  end\n"
                                "end\n";

TEST_F(DpiTest, AFormMovedToAScreenOf150PercentIsItsDescriptionScaledAndComesBackWhole) {
    auto form = MakeComponent<TForm>();
    form->ReadDescription(kDescription, Standard());
    ASSERT_EQ(form->Dpi(), SystemDpi()) << "described at 96 and scaled to the screen at once";
    ASSERT_EQ(SystemDpi(), kDesignDpi) << "this test's prefix is at 96 dpi";
    auto* panel = dynamic_cast<TPanel*>(form->FindComponent(L"Panel1"));
    auto* label = dynamic_cast<TLabel*>(form->FindComponent(L"Label1"));
    auto* top = dynamic_cast<TLabel*>(form->FindComponent(L"Top1"));
    ASSERT_TRUE(panel && label && top);
    form->Handle();

    RECT suggested{10, 20, 10 + 255, 20 + 201};
    ::SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form->Dpi(), 144);
    EXPECT_EQ(label->Dpi(), 144);
    // The system's rectangle is taken as it comes.
    EXPECT_EQ(form->BoundsRect(), (TRect{10, 20, 265, 221}));
    EXPECT_EQ(form->ClientWidth(), 255);
    EXPECT_EQ(form->ClientHeight(), 201);
    EXPECT_EQ(form->Constraints().MinWidth(), 195);
    EXPECT_EQ(panel->BoundsRect(), BoundsRect(2, 0, 252, 200));
    EXPECT_EQ(panel->BorderWidth(), 3);
    // Aligned children are laid out again inside the scaled border (and the panel's bevel,
    // a line that stays one pixel).
    EXPECT_EQ(top->BoundsRect(), BoundsRect(4, 4, 244, 35));
    EXPECT_EQ(label->BoundsRect(), BoundsRect(30, 48, 194, 20));
    // Its own font scaled; the panel's (the form's) too, once.
    EXPECT_EQ(label->Font().Height(), -20);
    EXPECT_EQ(form->Font().Height(), -17);
    EXPECT_EQ(panel->Font().Height(), -17);
    EXPECT_EQ(top->Font().Height(), -17);
    // Designed bounds set later are placed at the form's scale.
    label->SetDesignBounds(20, 32, 129, 13);
    EXPECT_EQ(label->BoundsRect(), BoundsRect(30, 48, 194, 20));

    RECT back{10, 20, 10 + 170, 20 + 134};
    ::SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96),
                   reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(form->ClientWidth(), 170);
    EXPECT_EQ(form->ClientHeight(), 134);
    EXPECT_EQ(form->Constraints().MinWidth(), 130);
    EXPECT_EQ(panel->BoundsRect(), BoundsRect(1, 0, 168, 133));
    EXPECT_EQ(label->BoundsRect(), BoundsRect(20, 32, 129, 13));
    EXPECT_EQ(top->BoundsRect(), BoundsRect(3, 3, 162, 23));
    EXPECT_EQ(label->Font().Height(), -13);
    EXPECT_EQ(form->Font().Height(), -11);
    EXPECT_EQ(top->Font().Height(), -11);
}

TEST_F(DpiTest, AShrinkingFormIsNotHeldBackByItsOldMinimum) {
    auto form = MakeComponent<TForm>();
    form->ReadDescription(kDescription, Standard());
    form->Handle();
    form->ScaleForDpi(192);
    EXPECT_EQ(form->ClientWidth(), 340);
    EXPECT_EQ(form->Constraints().MinWidth(), 260);
    // Without a rectangle from the system: 260 would hold the width if the minimum stayed
    // while the form shrank.
    form->ScaleForDpi(96);
    EXPECT_EQ(form->ClientWidth(), 170);
    EXPECT_EQ(form->Constraints().MinWidth(), 130);
}

} // namespace
} // namespace nestora::gui
