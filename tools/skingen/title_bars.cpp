#include "title_bars.h"

#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace nestora::skingen {

namespace {

using nestora::skin::TsuiUIStyle;

// --- Vertical profiles -----------------------------------------------------------------

// Light grey pinstripes that darken gently downwards, a bright top edge and a two-row
// shadow at the bottom.
Rgba MacProfile(int y, int h) {
    if (y == 0)
        return Rgb(0xFCFCFC);
    if (y == h - 1)
        return Rgb(0x8C8C8C);
    if (y == h - 2)
        return Rgb(0xC4C4C4);
    const double t = (y - 1) / static_cast<double>(h - 3);
    const Rgba base = Mix(Rgb(0xF2F2F2), Rgb(0xDADADA), t);
    return (y % 2 == 0) ? Darken(base, 0.045) : base;
}

Rgba XpProfile(int y, int) {
    static const Paint p = VerticalGradient({{0.5, Rgb(0x1C5ED4)},
                                             {1.5, Rgb(0x5A9DFA)},
                                             {3.5, Rgb(0x3884F4)},
                                             {7.5, Rgb(0x1568E9)},
                                             {13.5, Rgb(0x0A5BE0)},
                                             {22.5, Rgb(0x0654D8)},
                                             {25.5, Rgb(0x0249C5)},
                                             {27.5, Rgb(0x003DAE)},
                                             {28.5, Rgb(0x00309A)}});
    return p(0, y + 0.5);
}

Rgba DeepBlueProfile(int y, int) {
    static const Paint p = VerticalGradient({{0.5, Rgb(0x6A79D6)},
                                             {1.5, Rgb(0x4656BE)},
                                             {15.5, Rgb(0x2E3C9F)},
                                             {16.5, Rgb(0x25338D)},
                                             {29.5, Rgb(0x141D5E)},
                                             {30.5, Rgb(0x111852)},
                                             {31.5, Rgb(0x080D38)}});
    return p(0, y + 0.5);
}

Rgba ProteinProfile(int y, int h) {
    if (y == h - 1)
        return Rgb(0x8A1A15);
    if (y == h - 2)
        return Rgb(0xCC332B);
    static const Paint p = VerticalGradient(
        {{0.5, Rgb(0xFFFFFF)}, {1.5, Rgb(0xFAFAFA)}, {19.5, Rgb(0xE3E3E3)}, {20.5, Rgb(0xD5D5D5)}});
    return p(0, y + 0.5);
}

// Glass: a light, glossy upper half, a sharp edge, and a deeper lower half that brightens
// again towards the bottom.
Rgba BlueGlassProfile(int y, int) {
    static const Paint p = VerticalGradient({{0.5, Rgb(0x9CC2F2)},
                                             {1.5, Rgb(0x5A8CD8)},
                                             {15.5, Rgb(0x3C70C6)},
                                             {16.5, Rgb(0x2656AE)},
                                             {26.5, Rgb(0x1C4597)},
                                             {30.5, Rgb(0x2F61B4)},
                                             {31.5, Rgb(0x2A58A8)},
                                             {32.5, Rgb(0x102C66)}});
    return p(0, y + 0.5);
}

Rgba Profile(const LookInfo& look, int y) {
    const int h = look.left.height;
    switch (look.style) {
    case TsuiUIStyle::MacOS:
        return MacProfile(y, h);
    case TsuiUIStyle::WinXP:
        return XpProfile(y, h);
    case TsuiUIStyle::DeepBlue:
        return DeepBlueProfile(y, h);
    case TsuiUIStyle::Protein:
        return ProteinProfile(y, h);
    default:
        return BlueGlassProfile(y, h);
    }
}

// The profile is a row of the design: at a larger scale each row is that many pixels of
// the same colour, so the bar's one-row edges stay crisp lines.
Canvas PlainBar(const LookInfo& look, int width, int scale) {
    Canvas c(width, look.left.height, {0, 0, 0, 0}, scale);
    for (int y = 0; y < c.UnitHeight(); ++y) {
        const Rgba colour = Profile(look, y);
        c.FillRect(0, y, width, y + 1, colour);
    }
    return c;
}

// A rounded top corner: outside the arc the frame's border colour (the window region
// clips it away on screen; it only shows if the region is missing), and a soft highlight
// along the arc.
void RoundTopCorner(Canvas& c, bool leftSide, double radius, Rgba outside, Rgba rim) {
    const double w = c.UnitWidth();
    const double cx = leftSide ? radius : w - radius;
    const Shape inside =
        Unite(Circle(cx, radius, radius), Unite(Box(-10, radius, w + 10, c.UnitHeight() + 10),
                                                leftSide ? Box(radius, -10, w + 10, radius + 1)
                                                         : Box(-10, -10, w - radius, radius + 1)));
    const Shape out = [inside](double x, double y) { return -inside(x, y); };
    const Shape edge =
        Intersect(Outline(Circle(cx, radius, radius), 0.5),
                  leftSide ? Box(0, 0, radius, radius) : Box(w - radius, 0, w, radius));
    c.fill(edge, rim);
    c.fill(out, outside);
}

// A vertical edge line of a picture over the rows [fromRow, toRow), mixed into the bar.
void EdgeColumn(Canvas& c, int x, Rgba colour, double strength, int fromRow, int toRow) {
    c.MixRect(x, fromRow, x + 1, toRow, colour, strength);
}

// --- Left pictures ---------------------------------------------------------------------

Canvas MacLeft(const LookInfo& look, int scale) {
    Canvas c = PlainBar(look, look.left.width, scale);
    EdgeColumn(c, 0, Rgb(0xFFFFFF), 0.7, 1, c.UnitHeight() - 2);
    return c;
}

Canvas XpLeft(const LookInfo& look, int scale) {
    Canvas c = PlainBar(look, look.left.width, scale);
    // Luna's title bar is lit along its left end.
    EdgeColumn(c, 0, Rgb(0x0A3DB8), 0.6, 0, c.UnitHeight());
    EdgeColumn(c, 1, Rgb(0x6AA8FF), 0.45, 2, c.UnitHeight() - 3);
    RoundTopCorner(c, true, 7.0, Rgb(0x002CC8), Rgb(0x9CC6FF));
    return c;
}

Canvas DeepBlueLeft(const LookInfo& look, int scale) {
    Canvas c = PlainBar(look, look.left.width, scale);
    // A soft glow in the lower band, under the caption and clear of the control box,
    // fading out before the picture ends so the seam with the client picture is invisible.
    const double w = c.UnitWidth();
    Canvas glow(c.UnitWidth(), c.UnitHeight(), {0, 0, 0, 0}, scale);
    glow.fill(Ellipse(w * 0.30, 31.5, w * 0.55, 9.0), [w](double x, double y) {
        const double fade = std::clamp(1.0 - x / (w * 0.85), 0.0, 1.0);
        const double vertical = std::clamp((y - 21.0) / 10.0, 0.0, 1.0);
        return WithAlpha(Rgb(0x7A8BF0), 0.38 * fade * vertical);
    });
    c.Draw(glow, 0, 0);
    return c;
}

Canvas ProteinLeft(const LookInfo& look, int scale) {
    Canvas c = PlainBar(look, look.left.width, scale);
    const int h = c.UnitHeight();
    // The red ribbon that carries the (white) caption, ending in a slanted, rounded cut.
    const double endTop = 356.0, endBottom = 330.0, bottom = h - 2.0;
    const Shape ribbon =
        Polygon({{-5, -5}, {endTop, -5}, {endTop, 0}, {endBottom, bottom}, {-5, bottom}});
    const Shape shadow = Moved(ribbon, 2.0, 0.0);
    c.fill(Intersect(shadow, Box(-10, 0, 500, bottom)), WithAlpha(Rgb(0x6E6E6E), 0.35));
    c.fill(ribbon, VerticalGradient({{0.5, Rgb(0xF0766D)},
                                     {1.5, Rgb(0xE0463D)},
                                     {10.5, Rgb(0xD23A31)},
                                     {bottom, Rgb(0xA8221C)}}));
    // A lighter line along the top and along the cut.
    c.fill(Intersect(Box(-10, 0, 500, 1), ribbon), WithAlpha(Rgb(0xFFB3AD), 0.8));
    c.fill(Intersect(Outline(ribbon, 0.5), Box(endBottom - 2, 0, endTop + 2, bottom)),
           WithAlpha(Rgb(0x7A120E), 0.7));
    return c;
}

Canvas BlueGlassLeft(const LookInfo& look, int scale) {
    Canvas c = PlainBar(look, look.left.width, scale);
    const double w = c.UnitWidth();
    // A sheen over the glossy half of the left end (the buttons are transparent, so it may
    // pass under them), fading smoothly to nothing well before the picture meets the client.
    Canvas sheen(c.UnitWidth(), c.UnitHeight(), {0, 0, 0, 0}, scale);
    sheen.fill(Box(0, 1, w, 16), [w](double x, double y) {
        const double across = std::clamp(1.0 - x / (w * 0.7), 0.0, 1.0);
        const double down = std::clamp(1.0 - (y - 1.0) / 15.0, 0.0, 1.0);
        return WithAlpha(Rgb(0xFFFFFF), 0.18 * across * across * down);
    });
    c.Draw(sheen, 0, 0);
    EdgeColumn(c, 0, Rgb(0xBFD8FA), 0.5, 1, 16);
    RoundTopCorner(c, true, 5.5, Rgb(0x000000), Rgb(0xC8DEFB));
    return c;
}

// --- Right pictures --------------------------------------------------------------------

Canvas MacRight(const LookInfo& look, int scale) {
    Canvas c = PlainBar(look, look.right.width, scale);
    EdgeColumn(c, c.UnitWidth() - 1, Rgb(0x9A9A9A), 0.35, 1, c.UnitHeight() - 2);
    return c;
}

Canvas XpRight(const LookInfo& look, int scale) {
    Canvas c = PlainBar(look, look.right.width, scale);
    const int x = c.UnitWidth() - 1;
    EdgeColumn(c, x, Rgb(0x0A3DB8), 0.6, 0, c.UnitHeight());
    EdgeColumn(c, x - 1, Rgb(0x0B47C8), 0.35, 2, c.UnitHeight() - 3);
    RoundTopCorner(c, false, 7.0, Rgb(0x002CC8), Rgb(0x7DB4FF));
    return c;
}

Canvas BlueGlassRight(const LookInfo& look, int scale) {
    Canvas c = PlainBar(look, look.right.width, scale);
    const double w = c.UnitWidth();
    // The glass darkens a little towards its right end.
    Canvas shade(c.UnitWidth(), c.UnitHeight(), {0, 0, 0, 0}, scale);
    shade.fill(Box(0, 1, w, c.UnitHeight() - 1), [w](double x, double) {
        const double t = std::clamp((x - w * 0.35) / (w * 0.65), 0.0, 1.0);
        return WithAlpha(Rgb(0x061A45), 0.22 * t * t);
    });
    c.Draw(shade, 0, 0);
    RoundTopCorner(c, false, 5.5, Rgb(0x000000), Rgb(0xA9C9F5));
    return c;
}

} // namespace

Canvas TitleBarColumn(const LookInfo& look, int scale) {
    return PlainBar(look, 1, scale);
}

Canvas TitleBarClient(const LookInfo& look, int scale) {
    return PlainBar(look, look.client.width, scale);
}

Canvas TitleBarLeft(const LookInfo& look, int scale) {
    switch (look.style) {
    case TsuiUIStyle::MacOS:
        return MacLeft(look, scale);
    case TsuiUIStyle::WinXP:
        return XpLeft(look, scale);
    case TsuiUIStyle::DeepBlue:
        return DeepBlueLeft(look, scale);
    case TsuiUIStyle::Protein:
        return ProteinLeft(look, scale);
    default:
        return BlueGlassLeft(look, scale);
    }
}

Canvas TitleBarRight(const LookInfo& look, int scale) {
    switch (look.style) {
    case TsuiUIStyle::MacOS:
        return MacRight(look, scale);
    case TsuiUIStyle::WinXP:
        return XpRight(look, scale);
    case TsuiUIStyle::BlueGlass:
        return BlueGlassRight(look, scale);
    default:
        // DeepBlue's buttons reach the bar's right end and Protein's right picture is a
        // single column: both show the plain bar.
        return PlainBar(look, look.right.width, scale);
    }
}

} // namespace nestora::skingen
