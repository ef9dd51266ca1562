#include "desktop/core/tray_mouse.h"

namespace nestora::desktop {

namespace {

class StepList {
public:
    StepList& Add(TrayStepKind kind, gui::TMouseButton button = gui::TMouseButton::mbLeft) {
        out_.steps[out_.count++] = TrayStep{kind, button};
        return *this;
    }
    TraySteps Done() const { return out_; }

private:
    TraySteps out_;
};

} // namespace

TraySteps TrayMouseState::Handle(std::uint32_t notification, bool popupByLeft) {
    using gui::TMouseButton;
    namespace n = tray_notification;
    StepList steps;
    switch (notification) {
    case n::kMouseMove:
        return steps.Add(TrayStepKind::MouseMove).Done();
    case n::kLeftButtonDown:
        leftDown_ = true;
        return steps.Add(TrayStepKind::MouseDown, TMouseButton::mbLeft).Done();
    case n::kLeftButtonUp:
        steps.Add(TrayStepKind::MouseUp, TMouseButton::mbLeft);
        if (leftDown_)
            steps.Add(TrayStepKind::Click);
        if (popupByLeft)
            steps.Add(TrayStepKind::PopupMenu);
        leftDown_ = false;
        return steps.Done();
    case n::kLeftButtonDoubleClick:
        return steps.Add(TrayStepKind::DblClick).Done();
    case n::kRightButtonDown:
        return steps.Add(TrayStepKind::MouseDown, TMouseButton::mbRight).Done();
    case n::kRightButtonUp:
        return steps.Add(TrayStepKind::MouseUp, TMouseButton::mbRight)
            .Add(TrayStepKind::PopupMenu)
            .Done();
    case n::kMiddleButtonDown:
        return steps.Add(TrayStepKind::MouseDown, TMouseButton::mbMiddle).Done();
    case n::kMiddleButtonUp:
        return steps.Add(TrayStepKind::MouseUp, TMouseButton::mbMiddle).Done();
    case n::kBalloonShow:
        return steps.Add(TrayStepKind::BalloonShow).Done();
    case n::kBalloonTimeout:
        return steps.Add(TrayStepKind::BalloonTimeout).Done();
    case n::kBalloonUserClick:
        return steps.Add(TrayStepKind::BalloonClick).Done();
    default:
        return steps.Add(TrayStepKind::DefaultProcessing).Done();
    }
}

gui::TShiftState ButtonShift(gui::TMouseButton button) {
    switch (button) {
    case gui::TMouseButton::mbLeft:
        return gui::ssLeft;
    case gui::TMouseButton::mbRight:
        return gui::ssRight;
    case gui::TMouseButton::mbMiddle:
        return gui::ssMiddle;
    }
    return 0;
}

int NextCycleIndex(int index, int count) {
    return index >= 0 && index < count - 1 ? index + 1 : 0;
}

} // namespace nestora::desktop
