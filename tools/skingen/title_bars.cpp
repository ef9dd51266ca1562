#include "title_bars.h"

#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

using nestora::skin::TsuiUIStyle;

// --- Vertical profiles -----------------------------------------------------------------

// Light grey pinstripes that darken gently downwards, a bright top edge and a two-row
// shadow at the bottom.
Rgba macProfile(int y, int h) {
    if (y == 0)
        return rgb(0xFCFCFC);
    if (y == h - 1)
        return rgb(0x8C8C8C);
    if (y == h - 2)
        return rgb(0xC4C4C4);
    const double t = (y - 1) / static_cast<double>(h - 3);
    const Rgba base = mix(rgb(0xF2F2F2), rgb(0xDADADA), t);
    return (y % 2 == 0) ? darken(base, 0.045) : base;
}

Rgba xpProfile(int y, int) {
    static const Paint p = verticalGradient({{0.5, rgb(0x1C5ED4)},
                                             {1.5, rgb(0x5A9DFA)},
                                             {3.5, rgb(0x3884F4)},
                                             {7.5, rgb(0x1568E9)},
                                             {13.5, rgb(0x0A5BE0)},
                                             {22.5, rgb(0x0654D8)},
                                             {25.5, rgb(0x0249C5)},
                                             {27.5, rgb(0x003DAE)},
                                             {28.5, rgb(0x00309A)}});
    return p(0, y + 0.5);
}

Rgba deepBlueProfile(int y, int) {
    static const Paint p = verticalGradient({{0.5, rgb(0x6A79D6)},
                                             {1.5, rgb(0x4656BE)},
                                             {15.5, rgb(0x2E3C9F)},
                                             {16.5, rgb(0x25338D)},
                                             {29.5, rgb(0x141D5E)},
                                             {30.5, rgb(0x111852)},
                                             {31.5, rgb(0x080D38)}});
    return p(0, y + 0.5);
}

Rgba proteinProfile(int y, int h) {
    if (y == h - 1)
        return rgb(0x8A1A15);
    if (y == h - 2)
        return rgb(0xCC332B);
    static const Paint p = verticalGradient(
        {{0.5, rgb(0xFFFFFF)}, {1.5, rgb(0xFAFAFA)}, {19.5, rgb(0xE3E3E3)}, {20.5, rgb(0xD5D5D5)}});
    return p(0, y + 0.5);
}

// Glass: a light, glossy upper half, a sharp edge, and a deeper lower half that brightens
// again towards the bottom.
Rgba blueGlassProfile(int y, int) {
    static const Paint p = verticalGradient({{0.5, rgb(0x9CC2F2)},
                                             {1.5, rgb(0x5A8CD8)},
                                             {15.5, rgb(0x3C70C6)},
                                             {16.5, rgb(0x2656AE)},
                                             {26.5, rgb(0x1C4597)},
                                             {30.5, rgb(0x2F61B4)},
                                             {31.5, rgb(0x2A58A8)},
                                             {32.5, rgb(0x102C66)}});
    return p(0, y + 0.5);
}

Rgba profile(const LookInfo& look, int y) {
    const int h = look.left.height;
    switch (look.style) {
    case TsuiUIStyle::MacOS:
        return macProfile(y, h);
    case TsuiUIStyle::WinXP:
        return xpProfile(y, h);
    case TsuiUIStyle::DeepBlue:
        return deepBlueProfile(y, h);
    case TsuiUIStyle::Protein:
        return proteinProfile(y, h);
    default:
        return blueGlassProfile(y, h);
    }
}

Canvas plainBar(const LookInfo& look, int width) {
    Canvas c(width, look.left.height);
    for (int y = 0; y < c.height(); ++y) {
        const Rgba colour = profile(look, y);
        c.fillRect(0, y, width, y + 1, colour);
    }
    return c;
}

// A rounded top corner: outside the arc the frame's border colour (the window region
// clips it away on screen; it only shows if the region is missing), and a soft highlight
// along the arc.
void roundTopCorner(Canvas& c, bool leftSide, double radius, Rgba outside, Rgba rim) {
    const double w = c.width();
    const double cx = leftSide ? radius : w - radius;
    const Shape inside =
        unite(circle(cx, radius, radius), unite(box(-10, radius, w + 10, c.height() + 10),
                                                leftSide ? box(radius, -10, w + 10, radius + 1)
                                                         : box(-10, -10, w - radius, radius + 1)));
    const Shape out = [inside](double x, double y) { return -inside(x, y); };
    const Shape edge =
        intersect(outline(circle(cx, radius, radius), 0.5),
                  leftSide ? box(0, 0, radius, radius) : box(w - radius, 0, w, radius));
    c.fill(edge, rim);
    c.fill(out, outside);
}

// Vertical edge line of a picture, fading out over `rows` rows at the bottom.
void edgeColumn(Canvas& c, int x, Rgba colour, double strength, int fromRow, int toRow) {
    for (int y = fromRow; y < toRow; ++y)
        c.at(x, y) = mix(c.at(x, y), colour, strength);
}

// --- Left pictures ---------------------------------------------------------------------

Canvas macLeft(const LookInfo& look) {
    Canvas c = plainBar(look, look.left.width);
    edgeColumn(c, 0, rgb(0xFFFFFF), 0.7, 1, c.height() - 2);
    return c;
}

Canvas xpLeft(const LookInfo& look) {
    Canvas c = plainBar(look, look.left.width);
    // Luna's title bar is lit along its left end.
    edgeColumn(c, 0, rgb(0x0A3DB8), 0.6, 0, c.height());
    edgeColumn(c, 1, rgb(0x6AA8FF), 0.45, 2, c.height() - 3);
    roundTopCorner(c, true, 7.0, rgb(0x002CC8), rgb(0x9CC6FF));
    return c;
}

Canvas deepBlueLeft(const LookInfo& look) {
    Canvas c = plainBar(look, look.left.width);
    // A soft glow in the lower band, under the caption and clear of the control box,
    // fading out before the picture ends so the seam with the client picture is invisible.
    const double w = c.width();
    Canvas glow(c.width(), c.height(), {0, 0, 0, 0});
    glow.fill(ellipse(w * 0.30, 31.5, w * 0.55, 9.0), [w](double x, double y) {
        const double fade = std::clamp(1.0 - x / (w * 0.85), 0.0, 1.0);
        const double vertical = std::clamp((y - 21.0) / 10.0, 0.0, 1.0);
        return withAlpha(rgb(0x7A8BF0), 0.38 * fade * vertical);
    });
    c.draw(glow, 0, 0);
    return c;
}

Canvas proteinLeft(const LookInfo& look) {
    Canvas c = plainBar(look, look.left.width);
    const int h = c.height();
    // The red ribbon that carries the (white) caption, ending in a slanted, rounded cut.
    const double endTop = 356.0, endBottom = 330.0, bottom = h - 2.0;
    const Shape ribbon =
        polygon({{-5, -5}, {endTop, -5}, {endTop, 0}, {endBottom, bottom}, {-5, bottom}});
    const Shape shadow = moved(ribbon, 2.0, 0.0);
    c.fill(intersect(shadow, box(-10, 0, 500, bottom)), withAlpha(rgb(0x6E6E6E), 0.35));
    c.fill(ribbon, verticalGradient({{0.5, rgb(0xF0766D)},
                                     {1.5, rgb(0xE0463D)},
                                     {10.5, rgb(0xD23A31)},
                                     {bottom, rgb(0xA8221C)}}));
    // A lighter line along the top and along the cut.
    c.fill(intersect(box(-10, 0, 500, 1), ribbon), withAlpha(rgb(0xFFB3AD), 0.8));
    c.fill(intersect(outline(ribbon, 0.5), box(endBottom - 2, 0, endTop + 2, bottom)),
           withAlpha(rgb(0x7A120E), 0.7));
    return c;
}

Canvas blueGlassLeft(const LookInfo& look) {
    Canvas c = plainBar(look, look.left.width);
    const double w = c.width();
    // A sheen over the glossy half of the left end (the buttons are transparent, so it may
    // pass under them), fading smoothly to nothing well before the picture meets the client.
    Canvas sheen(c.width(), c.height(), {0, 0, 0, 0});
    sheen.fill(box(0, 1, w, 16), [w](double x, double y) {
        const double across = std::clamp(1.0 - x / (w * 0.7), 0.0, 1.0);
        const double down = std::clamp(1.0 - (y - 1.0) / 15.0, 0.0, 1.0);
        return withAlpha(rgb(0xFFFFFF), 0.18 * across * across * down);
    });
    c.draw(sheen, 0, 0);
    edgeColumn(c, 0, rgb(0xBFD8FA), 0.5, 1, 16);
    roundTopCorner(c, true, 5.5, rgb(0x000000), rgb(0xC8DEFB));
    return c;
}

// --- Right pictures --------------------------------------------------------------------

Canvas macRight(const LookInfo& look) {
    Canvas c = plainBar(look, look.right.width);
    edgeColumn(c, c.width() - 1, rgb(0x9A9A9A), 0.35, 1, c.height() - 2);
    return c;
}

Canvas xpRight(const LookInfo& look) {
    Canvas c = plainBar(look, look.right.width);
    const int x = c.width() - 1;
    edgeColumn(c, x, rgb(0x0A3DB8), 0.6, 0, c.height());
    edgeColumn(c, x - 1, rgb(0x0B47C8), 0.35, 2, c.height() - 3);
    roundTopCorner(c, false, 7.0, rgb(0x002CC8), rgb(0x7DB4FF));
    return c;
}

Canvas blueGlassRight(const LookInfo& look) {
    Canvas c = plainBar(look, look.right.width);
    const double w = c.width();
    // The glass darkens a little towards its right end.
    Canvas shade(c.width(), c.height(), {0, 0, 0, 0});
    shade.fill(box(0, 1, w, c.height() - 1), [w](double x, double) {
        const double t = std::clamp((x - w * 0.35) / (w * 0.65), 0.0, 1.0);
        return withAlpha(rgb(0x061A45), 0.22 * t * t);
    });
    c.draw(shade, 0, 0);
    roundTopCorner(c, false, 5.5, rgb(0x000000), rgb(0xA9C9F5));
    return c;
}

} // namespace

Canvas titleBarColumn(const LookInfo& look) {
    return plainBar(look, 1);
}

Canvas titleBarClient(const LookInfo& look) {
    return plainBar(look, look.client.width);
}

Canvas titleBarLeft(const LookInfo& look) {
    switch (look.style) {
    case TsuiUIStyle::MacOS:
        return macLeft(look);
    case TsuiUIStyle::WinXP:
        return xpLeft(look);
    case TsuiUIStyle::DeepBlue:
        return deepBlueLeft(look);
    case TsuiUIStyle::Protein:
        return proteinLeft(look);
    default:
        return blueGlassLeft(look);
    }
}

Canvas titleBarRight(const LookInfo& look) {
    switch (look.style) {
    case TsuiUIStyle::MacOS:
        return macRight(look);
    case TsuiUIStyle::WinXP:
        return xpRight(look);
    case TsuiUIStyle::BlueGlass:
        return blueGlassRight(look);
    default:
        // DeepBlue's buttons reach the bar's right end and Protein's right picture is a
        // single column: both show the plain bar.
        return plainBar(look, look.right.width);
    }
}

} // namespace skingen
