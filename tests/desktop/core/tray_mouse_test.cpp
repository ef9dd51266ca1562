// The steps each notification about the tray icon causes, in order; the click rule that
// keeps the second button-up of a double-click from clicking; cycling through images.
#include "desktop/core/tray_mouse.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using nestora::desktop::TrayMouseState;
using nestora::desktop::TrayStep;
using nestora::desktop::TrayStepKind;
using nestora::gui::TMouseButton;
namespace n = nestora::desktop::tray_notification;

struct Flat {
    TrayStepKind kind;
    TMouseButton button;
    bool operator==(const Flat&) const = default;
};

std::vector<Flat> Feed(TrayMouseState& state, std::initializer_list<std::uint32_t> messages,
                       bool popupByLeft = false) {
    std::vector<Flat> out;
    for (const std::uint32_t m : messages)
        for (const TrayStep& s : state.Handle(m, popupByLeft)) {
            const bool buttonEvent =
                s.kind == TrayStepKind::MouseDown || s.kind == TrayStepKind::MouseUp;
            out.push_back({s.kind, buttonEvent ? s.button : TMouseButton::mbLeft});
        }
    return out;
}

constexpr auto L = TMouseButton::mbLeft;
constexpr auto R = TMouseButton::mbRight;
constexpr auto M = TMouseButton::mbMiddle;

TEST(TrayMouse, ADoubleClickGivesDownUpClickDblClickUpWithoutASecondClick) {
    TrayMouseState state;
    const auto steps = Feed(
        state, {n::kLeftButtonDown, n::kLeftButtonUp, n::kLeftButtonDoubleClick, n::kLeftButtonUp});
    const std::vector<Flat> expected{{TrayStepKind::MouseDown, L},
                                     {TrayStepKind::MouseUp, L},
                                     {TrayStepKind::Click, L},
                                     {TrayStepKind::DblClick, L},
                                     {TrayStepKind::MouseUp, L}};
    EXPECT_EQ(steps, expected);
    EXPECT_FALSE(state.LeftButtonDown());
}

TEST(TrayMouse, TheRightButtonUpAlwaysPopsUpAndTheLeftOnlyWithPopupByLeft) {
    TrayMouseState state;
    EXPECT_EQ(Feed(state, {n::kRightButtonDown, n::kRightButtonUp}, true),
              (std::vector<Flat>{{TrayStepKind::MouseDown, R},
                                 {TrayStepKind::MouseUp, R},
                                 {TrayStepKind::PopupMenu, L}}));
    EXPECT_EQ(Feed(state, {n::kRightButtonUp}, false),
              (std::vector<Flat>{{TrayStepKind::MouseUp, R}, {TrayStepKind::PopupMenu, L}}));
    EXPECT_EQ(Feed(state, {n::kLeftButtonDown, n::kLeftButtonUp}, true),
              (std::vector<Flat>{{TrayStepKind::MouseDown, L},
                                 {TrayStepKind::MouseUp, L},
                                 {TrayStepKind::Click, L},
                                 {TrayStepKind::PopupMenu, L}}));
    // A left button-up with no button-down before it (pressed elsewhere) is no click.
    EXPECT_EQ(Feed(state, {n::kLeftButtonUp}, false),
              (std::vector<Flat>{{TrayStepKind::MouseUp, L}}));
}

TEST(TrayMouse, MiddleButtonMovesBalloonsAndUnknownReports) {
    TrayMouseState state;
    EXPECT_EQ(Feed(state, {n::kMiddleButtonDown, n::kMiddleButtonUp, n::kMouseMove}),
              (std::vector<Flat>{{TrayStepKind::MouseDown, M},
                                 {TrayStepKind::MouseUp, M},
                                 {TrayStepKind::MouseMove, L}}));
    EXPECT_EQ(
        Feed(state, {n::kBalloonShow, n::kBalloonTimeout, n::kBalloonUserClick, 0x0403, 0x0206}),
        (std::vector<Flat>{{TrayStepKind::BalloonShow, L},
                           {TrayStepKind::BalloonTimeout, L},
                           {TrayStepKind::BalloonClick, L},
                           {TrayStepKind::DefaultProcessing, L},
                           {TrayStepKind::DefaultProcessing, L}}));
    // The right and middle buttons leave the left button's state alone.
    Feed(state, {n::kLeftButtonDown, n::kRightButtonDown, n::kRightButtonUp});
    EXPECT_TRUE(state.LeftButtonDown());
}

TEST(TrayMouse, CyclingGoesBackToTheFirstImageAfterTheLast) {
    using nestora::desktop::NextCycleIndex;
    EXPECT_EQ(NextCycleIndex(0, 3), 1);
    EXPECT_EQ(NextCycleIndex(1, 3), 2);
    EXPECT_EQ(NextCycleIndex(2, 3), 0);
    EXPECT_EQ(NextCycleIndex(-1, 3), 0);
    EXPECT_EQ(NextCycleIndex(7, 3), 0);
    EXPECT_EQ(NextCycleIndex(0, 1), 0);
    EXPECT_EQ(NextCycleIndex(0, 0), 0);
}

} // namespace
