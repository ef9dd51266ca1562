// TPanel: its colour, bevels and caption read from the pixels it paints, and the room its
// bevels and border leave to aligned children.
#include "app_test_support.h"

#include "gui/win/graphics_color.h"
#include "gui/win/panel.h"

namespace {

using namespace nestora::gui;
using nestora::gui::testing::AppTest;
using nestora::gui::testing::WindowPicture;

class PanelTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = Create<TForm>(app.get());
        form->SetBounds(0, 0, 300, 200);
        panel = Create<TPanel>(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 120, 60);
        panel->SetColor(clYellow);
    }
    static TColor Sys(TColor c) { return ColorFromRGB(ColorToRGB(c)); }
    TForm* form = nullptr;
    TPanel* panel = nullptr;
};

TEST_F(PanelTest, BevelsFrameTheColouredFace) {
    panel->SetBevelOuter(TBevelCut::bvRaised);
    const WindowPicture raised(panel->Handle());
    EXPECT_EQ(raised.Pixel(0, 0), Sys(clBtnHighlight));
    EXPECT_EQ(raised.Pixel(119, 59), Sys(clBtnShadow));
    EXPECT_EQ(raised.Pixel(60, 30), clYellow);

    panel->SetBevelOuter(TBevelCut::bvLowered);
    const WindowPicture lowered(panel->Handle());
    EXPECT_EQ(lowered.Pixel(0, 0), Sys(clBtnShadow));
    EXPECT_EQ(lowered.Pixel(119, 59), Sys(clBtnHighlight));

    panel->SetBevelOuter(TBevelCut::bvNone);
    const WindowPicture flat(panel->Handle());
    EXPECT_EQ(flat.Count(clYellow), flat.width * flat.height);
}

TEST_F(PanelTest, TheCaptionIsDrawnWhereAlignmentSays) {
    panel->SetBevelOuter(TBevelCut::bvNone);
    panel->Font().SetColor(clBlack);
    panel->SetCaption(L"Hi");
    auto inkColumns = [&] {
        const WindowPicture p(panel->Handle());
        int left = p.width, right = -1;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (p.Pixel(x, y) != clYellow) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return std::pair<int, int>(left, right);
    };
    panel->SetAlignment(TAlignment::taLeftJustify);
    const auto left = inkColumns();
    panel->SetAlignment(TAlignment::taCenter);
    const auto centre = inkColumns();
    panel->SetAlignment(TAlignment::taRightJustify);
    const auto right = inkColumns();
    ASSERT_GE(left.second, 0);
    EXPECT_LT(left.first, centre.first);
    EXPECT_LT(centre.first, right.first);
    EXPECT_LE(std::abs((centre.first - left.first) * 2 - (right.first - left.first)), 1);
}

TEST_F(PanelTest, AlignedChildrenStayInsideTheBevelsAndTheBorder) {
    panel->SetBevelOuter(TBevelCut::bvRaised);
    panel->SetBevelInner(TBevelCut::bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    auto* child = Create<TPanel>(form);
    child->SetParent(panel);
    child->SetAlign(TAlign::alClient);
    // 2 + 3 + 2 pixels on every side.
    EXPECT_EQ(child->BoundsRect(), (TRect{7, 7, 113, 53}));
}

} // namespace
