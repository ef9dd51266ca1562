#include "skin/form_layout.h"

#include "skin/title_bar_layout.h"

#include <algorithm>

namespace nestora::skin {

namespace {
constexpr int kMdiChildInset = 3;
} // namespace

PanelBounds FramePanelBounds(int clientWidth, int clientHeight, int borderWidth,
                             bool titleBarVisible, bool mdiChild) {
    PanelBounds b;
    b.top = titleBarVisible ? 0 : borderWidth;
    b.left = borderWidth;
    b.width = clientWidth - 2 * borderWidth;
    b.height = clientHeight - borderWidth - b.top;
    if (mdiChild) {
        b.width -= kMdiChildInset;
        b.height -= kMdiChildInset;
    }
    b.width = std::max(b.width, 0);
    b.height = std::max(b.height, 0);
    return b;
}

int FormWidthForPanel(int panelWidth, int borderWidth) {
    return panelWidth + 2 * borderWidth;
}

int FormHeightForPanel(int panelHeight, int borderWidth) {
    return panelHeight + borderWidth + borderWidth / 2;
}

int UsableBorderWidth(int requested) {
    return std::clamp(requested, 0, kMaxBorderWidth);
}

BorderStrips FrameBorderStrips(int clientWidth, int clientHeight, int borderWidth, bool mdiChild) {
    const int cw = clientWidth;
    const int ch = clientHeight;
    const int bw = borderWidth;
    BorderStrips s;
    s.left = {0, 0, bw, mdiChild ? ch - 2 : ch};
    s.bottom = {0, mdiChild ? ch - bw - kMdiChildInset : ch - bw, cw, ch};
    s.right = {mdiChild ? cw - bw - kMdiChildInset : cw - bw, 0, cw, ch};
    s.topLineFrom = {0, 0};
    s.topLineTo = {cw, 0};
    return s;
}

std::optional<int> FormEdgeHitTest(SkinPoint p, int cw, int ch) {
    const int g = kResizeGrip;
    const bool atLeft = p.x <= g - 1;
    const bool atTop = p.y <= g - 1;
    const bool atRight = p.x > cw - g;
    const bool atBottom = p.y > ch - g;
    // The order matters on forms smaller than two grips: the first matching rule wins.
    if (atLeft && atTop)
        return kHtTopLeft;
    if (atRight && atTop)
        return kHtTopRight;
    if (atRight && atBottom)
        return kHtBottomRight;
    if (atLeft && atBottom)
        return kHtBottomLeft;
    if (atLeft)
        return kHtLeft;
    if (atTop)
        return kHtTop;
    if (atRight)
        return kHtRight;
    if (atBottom)
        return kHtBottom;
    return std::nullopt;
}

CreatedMaximisedStep OnSizeOfCreatedMaximised(bool& createdMaximised, int& counter,
                                              bool maximisedNow) {
    CreatedMaximisedStep step;
    if (!createdMaximised)
        return step;
    if (maximisedNow) {
        if (counter < 2)
            ++counter;
        else
            step.maximiseAgain = true;
    } else {
        step.restoreSavedBounds = true;
        createdMaximised = false;
    }
    return step;
}

} // namespace nestora::skin
