// Where the skinned title bar puts things: its section pictures, its buttons, its caption,
// and which hit-test code its top edge answers. Pure arithmetic over sizes, so the painting
// code, the mouse code and the tests all call the same functions and can never disagree
// about which button is under the mouse or where the caption may go.
#pragma once

#include "skin/style_table.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::skin {

// Stored in one byte and streamed by name.
enum class TsuiTitleBarBtnType : std::uint8_t {
    suiMax = 0,
    suiMin = 1,
    suiClose = 2,
    suiHelp = 3,
    suiControlBox = 4,
    suiCustom = 5,
};

enum class TsuiTitleBarAlign : std::uint8_t {
    suiLeft = 0,
    suiRight = 1,
    suiClient = 2,
};

// The first of a glyph's three cells (normal, mouse over, pressed) in a style's strip of 18
// title-bar button cells; nothing for suiCustom, which has no glyph of its own.
std::optional<int> FirstGlyphCell(TsuiTitleBarBtnType type);
inline constexpr int kTitleButtonCells = 18;
inline constexpr int kMaximiseGlyphCell = 7;
inline constexpr int kRestoreGlyphCell = 10;

// --- sections -----------------------------------------------------------------------------

struct SectionDesc {
    TsuiTitleBarAlign align = TsuiTitleBarAlign::suiLeft;
    int width = 0;
    bool stretch = false;
};

struct SectionPlacement {
    int index = 0; // in the collection
    // Scaled: the picture is stretched into rect. Otherwise it is copied 1:1 from its
    // top-left corner, clipped to rect (Width pixels wide, the bar's height high).
    SkinRect rect;
    bool scaled = false;
};

// Left sections stack rightwards from x 0, right sections leftwards from the right edge
// (one that would not fit beside the left ones is skipped and moves nothing), and the
// client section fills what lies between. In drawing order: collection order, the client
// section last.
std::vector<SectionPlacement> LayoutSections(std::span<const SectionDesc> sections, int barWidth,
                                             int barHeight);

// --- buttons and caption --------------------------------------------------------------------

struct ButtonDesc {
    bool visible = true;
    bool controlBox = false;
    int width = 0; // of its normal picture
    int height = 0;
    int top = 0;
};

struct ButtonBarDesc {
    int barWidth = 0;
    int leftOffset = 0;  // LeftBtnXOffset
    int rightOffset = 0; // RightBtnXOffset
    int interval = 0;    // ButtonInterval
    bool drawAppIcon = false;
    std::optional<SkinPoint> mouse; // in bar coordinates; nothing when it is elsewhere
};

struct ButtonPlacement {
    int index = 0;
    SkinRect rect; // x, Top, x + width, Top + height; hit-tested with the edges inside
    bool hot = false;
};

inline constexpr int kAppIconSize = 16;

struct ButtonsLayout {
    // The visible buttons in collection order, the control box (if any) last.
    std::vector<ButtonPlacement> buttons;
    int hotIndex = -1;        // collection index of the button under the mouse
    int controlBoxIndex = -1; // of the visible control box
    // With DrawAppIcon the control box shows the application's icon here instead.
    std::optional<SkinPoint> appIconAt;
    // The caption's room: from captionLeft to captionRight (may be empty or negative).
    int captionLeft = 0;
    int captionRight = 0;
};

// Buttons from the right edge (the first of the collection rightmost), the control box at
// the left end, then the caption between them.
ButtonsLayout LayoutButtons(std::span<const ButtonDesc> buttons, const ButtonBarDesc& bar);

// The caption as it is drawn in `room` pixels: whole when it fits, else cut character by
// character until what is left followed by "..." fits. A cut never splits a surrogate pair.
// When even "..." alone does not fit, nothing is drawn: a clipped ellipsis over the buttons
// tells the user nothing.
std::wstring FitCaption(std::wstring_view caption, int room,
                        const std::function<int(std::wstring_view)>& textWidth);

// y of the caption: centred on the button strip's height, then moved by the style's button
// top (integer division truncating toward zero, so a text taller than the strip rises).
int CaptionTop(int stripHeight, int textHeight, int topOffset);

// --- hit testing ------------------------------------------------------------------------------

// The WM_NCHITTEST answers the frame gives (the system's HT… numbers).
enum HitTestCode : int {
    kHtLeft = 10,
    kHtRight = 11,
    kHtTop = 12,
    kHtTopLeft = 13,
    kHtTopRight = 14,
    kHtBottom = 15,
    kHtBottomLeft = 16,
    kHtBottomRight = 17,
};

// Grip size of the frame's resize edges, in pixels.
inline constexpr int kResizeGrip = 5;

// The title bar's own resize edge on a sizeable form: a point (bar coordinates) in the top
// 5 rows answers HTTOPLEFT, HTTOPRIGHT or HTTOP; anywhere else nothing.
std::optional<int> TitleBarEdgeHitTest(SkinPoint point, int formClientWidth);

} // namespace nestora::skin
