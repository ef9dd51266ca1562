#pragma once
// What one notification about the tray icon means for the component: the shell reports
// mouse activity over the icon (as the mouse message's number, since no version is ever
// requested) and balloon news; this turns each report into the component's steps, in the
// order they run. The only state is whether a left button went down on the icon, which
// decides whether the next left button-up is a click: a double-click arrives as down, up,
// double-click, up, and its second up is no click. No windows.h here.

#include "gui/core/events.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace nestora::desktop {

enum class TrayStepKind {
    MouseMove,
    MouseDown,
    MouseUp,
    Click,
    DblClick,
    PopupMenu,
    BalloonShow,
    BalloonTimeout,
    BalloonClick,
    DefaultProcessing, // a report the component does not know
};

struct TrayStep {
    TrayStepKind kind;
    gui::TMouseButton button = gui::TMouseButton::mbLeft; // MouseDown and MouseUp only
};

struct TraySteps {
    std::array<TrayStep, 3> steps{};
    std::size_t count = 0;
    const TrayStep* begin() const { return steps.data(); }
    const TrayStep* end() const { return steps.data() + count; }
};

// The mouse and balloon messages of the shell's notification, by number.
namespace tray_notification {
constexpr std::uint32_t kMouseMove = 0x0200;
constexpr std::uint32_t kLeftButtonDown = 0x0201;
constexpr std::uint32_t kLeftButtonUp = 0x0202;
constexpr std::uint32_t kLeftButtonDoubleClick = 0x0203;
constexpr std::uint32_t kRightButtonDown = 0x0204;
constexpr std::uint32_t kRightButtonUp = 0x0205;
constexpr std::uint32_t kMiddleButtonDown = 0x0207;
constexpr std::uint32_t kMiddleButtonUp = 0x0208;
constexpr std::uint32_t kBalloonShow = 0x0402;
constexpr std::uint32_t kBalloonTimeout = 0x0404;
constexpr std::uint32_t kBalloonUserClick = 0x0405;
} // namespace tray_notification

class TrayMouseState {
public:
    // The steps one notification causes; popupByLeft: the left button-up pops up the menu
    // as well.
    TraySteps Handle(std::uint32_t notification, bool popupByLeft);
    bool LeftButtonDown() const { return leftDown_; }

private:
    bool leftDown_ = false;
};

// The button flag a button event adds to the held keys.
gui::TShiftState ButtonShift(gui::TMouseButton button);

// The next image of a cycle through count images: the one after index, or the first
// after the last (and after any index out of range).
int NextCycleIndex(int index, int count);

} // namespace nestora::desktop
