// Where the skinned form's frame puts its panel and border, how its Width and Height turn
// into the form's size, which resize code each edge of a sizeable form answers, and how a
// form that was created maximised is kept maximised. Pure arithmetic, shared by the frame's
// window code and its tests.
#pragma once

#include "skin/style_table.h"

#include <optional>

namespace nestora::skin {

struct PanelBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PanelBounds&, const PanelBounds&) = default;
};

// The panel inside the form's client area: BorderWidth in from the left, right and bottom;
// at the very top while the title bar shows (the bar covers the top border), else
// BorderWidth down. An MDI child leaves 3 more pixels on the right and at the bottom.
// Never negative in size: a form squeezed below its border gets an empty panel.
PanelBounds FramePanelBounds(int clientWidth, int clientHeight, int borderWidth,
                             bool titleBarVisible, bool mdiChild);

// The form's size that gives the frame a panel of `panelWidth` (`panelHeight`): the border
// on both sides, and at the bottom the border plus half of it again.
int FormWidthForPanel(int panelWidth, int borderWidth);
int FormHeightForPanel(int panelHeight, int borderWidth);

// The widest border the frame draws. BorderWidth comes from a designer or from a theme
// file, which may hold any integer: a border of a million pixels is no look anyone meant,
// and the pen and strips it asks for are more than the system can draw (Wine's GDI aborts
// the process on one).
inline constexpr int kMaxBorderWidth = 64;

// The border width the frame uses for a requested one: 0 to kMaxBorderWidth.
int UsableBorderWidth(int requested);

// The border the frame paints on the form: three filled strips and a line along the top.
struct BorderStrips {
    SkinRect left;
    SkinRect bottom;
    SkinRect right;
    SkinPoint topLineFrom;
    SkinPoint topLineTo; // excluded, as with every line
};
BorderStrips FrameBorderStrips(int clientWidth, int clientHeight, int borderWidth, bool mdiChild);

// The resize code of a client point of a sizeable framed form: the corners first, then the
// four edges, each edge 5 pixels deep; nothing for a point inside.
std::optional<int> FormEdgeHitTest(SkinPoint client, int clientWidth, int clientHeight);

// A form created maximised stays maximised through the first size messages the system sends
// while it settles: up to two are counted, and from then on every size message while it is
// still maximised maximises it again. Once it is no longer maximised its designed bounds come
// back and the rule ends.
struct CreatedMaximisedStep {
    bool maximiseAgain = false;
    bool restoreSavedBounds = false;
};
// createdMaximised and counter are the frame's state (the counter is shared by all frames
// of the process); both are updated.
CreatedMaximisedStep OnSizeOfCreatedMaximised(bool& createdMaximised, int& counter,
                                              bool maximisedNow);

} // namespace nestora::skin
