#include "title_buttons.h"

#include "title_bars.h"

#include <algorithm>
#include <array>

namespace skingen {

namespace {

using nestora::skin::TsuiUIStyle;

constexpr std::array<Glyph, 6> kGlyphs{Glyph::ControlBox, Glyph::Help,     Glyph::Maximise,
                                       Glyph::Restore,    Glyph::Minimise, Glyph::Close};
constexpr std::array<ButtonState, 3> kStates{ButtonState::Normal, ButtonState::Hover,
                                             ButtonState::Pressed};

struct OrbColours {
    Rgba rim, top, middle, bottom, glow;
};

// A round, lit button: rim, body gradient, a glow in the lower half and a specular
// highlight in the upper half.
void drawOrb(Canvas& c, double cx, double cy, double r, const OrbColours& k, double highlight) {
    c.fill(circle(cx, cy, r), k.rim);
    c.fill(circle(cx, cy, r - 1.0),
           verticalGradient({{cy - r, k.top}, {cy, k.middle}, {cy + r, k.bottom}}));
    const double glowTop = cy, glowBottom = cy + r - 1.0;
    c.fill(ellipse(cx, cy + r * 0.45, r * 0.62, r * 0.42),
           verticalGradient({{glowTop, withAlpha(k.glow, 0.0)}, {glowBottom, k.glow}}));
    if (highlight > 0)
        c.fill(ellipse(cx, cy - r * 0.47, r * 0.62, r * 0.36),
               verticalGradient({{cy - r, withAlpha(rgb(0xFFFFFF), highlight)},
                                 {cy - r * 0.1, withAlpha(rgb(0xFFFFFF), highlight * 0.1)}}));
}

OrbColours orbOf(Rgba base, double lift) {
    const Rgba b = lift >= 0 ? lighten(base, lift) : darken(base, -lift);
    return {darken(base, 0.45), lighten(b, 0.30), b, darken(b, 0.12), lighten(b, 0.45)};
}

// How a look draws its glyphs; the help glyph gets its own, taller box because a question
// mark needs a gap above its dot.
struct GlyphStyle {
    int size;
    double stroke;
    int bar;
    int band;
    bool centredMinimise;
    int helpSize;
    double helpStroke;
};

// The glyph's box centred in a cell, moved down and right by `shift` (pressed).
GlyphBox glyphBoxIn(int cell, const GlyphStyle& st, Glyph glyph, int shift) {
    const bool help = glyph == Glyph::Help;
    const int size = help ? st.helpSize : st.size;
    const int origin = (cell - size) / 2 + shift;
    return {origin,
            origin,
            size,
            help ? st.helpStroke : st.stroke,
            st.bar,
            st.band,
            st.centredMinimise};
}

// --- MacOS: Aqua gems coloured by function, dark glyphs ---------------------------------

Rgba macGemColour(Glyph glyph) {
    switch (glyph) {
    case Glyph::Close:
        return rgb(0xE5493F);
    case Glyph::Minimise:
        return rgb(0xF0AE2A);
    case Glyph::Maximise:
    case Glyph::Restore:
        return rgb(0x3DB43E);
    case Glyph::Help:
        return rgb(0x5A86C8);
    default:
        return rgb(0x8C96A3);
    }
}

Canvas macCell(const LookInfo& look, Glyph glyph, ButtonState state) {
    const int n = look.cell;
    Canvas c(n, n, {0, 0, 0, 0});
    const double centre = n / 2.0;
    const Rgba base = macGemColour(glyph);
    if (state == ButtonState::Hover)
        c.fill(outline(circle(centre, centre, 7.6), 0.55), withAlpha(rgb(0x3A3A3A), 0.75));
    const double lift = state == ButtonState::Hover     ? 0.22
                        : state == ButtonState::Pressed ? -0.28
                                                        : 0.0;
    drawOrb(c, centre, centre, 6.8, orbOf(base, lift), state == ButtonState::Pressed ? 0.45 : 0.85);
    const int shift = state == ButtonState::Pressed ? 1 : 0;
    const GlyphBox g = glyphBoxIn(n, {7, 1.45, 1, 2, true, 9, 1.45}, glyph, shift);
    const Rgba ink = state == ButtonState::Pressed ? darken(base, 0.85) : darken(base, 0.72);
    c.fill(glyphShape(glyph, g), ink);
    return c;
}

// --- WinXP: Luna's rounded squares with a white rim, red-orange close -------------------

Canvas xpCell(const LookInfo& look, Glyph glyph, ButtonState state) {
    const int n = look.cell;
    Canvas c(n, n, {0, 0, 0, 0});
    const bool close = glyph == Glyph::Close;
    Rgba top = close ? rgb(0xF08A6E) : rgb(0x5C9EFA);
    Rgba middle = close ? rgb(0xD9482B) : rgb(0x2470EC);
    Rgba bottom = close ? rgb(0xB93219) : rgb(0x0D52D4);
    double rim = 0.92;
    if (state == ButtonState::Hover) {
        top = lighten(top, 0.35);
        middle = lighten(middle, 0.22);
        bottom = lighten(bottom, 0.15);
        rim = 1.0;
    } else if (state == ButtonState::Pressed) {
        top = darken(top, 0.30);
        middle = darken(middle, 0.28);
        bottom = darken(bottom, 0.15);
        rim = 0.75;
    }
    c.fill(roundedBox(0, 0, n, n, 3.5), withAlpha(rgb(0xFFFFFF), rim));
    c.fill(roundedBox(1, 1, n - 1, n - 1, 2.5),
           verticalGradient({{1, top}, {n * 0.45, middle}, {n - 1.0, bottom}}));
    // Luna lights its buttons from the top left.
    c.fill(ellipse(n * 0.32, n * 0.3, n * 0.38, n * 0.3), [n](double x, double y) {
        const double t = std::clamp(1.0 - (x + y) / (n * 1.1), 0.0, 1.0);
        return withAlpha(rgb(0xFFFFFF), 0.28 * t);
    });
    const int shift = state == ButtonState::Pressed ? 1 : 0;
    const GlyphBox g = glyphBoxIn(n, {9, 2.2, 2, 3, false, 11, 1.8}, glyph, shift);
    c.fill(glyphShape(glyph, g), rgb(0xFFFFFF));
    return c;
}

// --- DeepBlue: quiet glassy squares that light up under the mouse -----------------------

Canvas deepBlueCell(const LookInfo& look, Glyph glyph, ButtonState state) {
    const int n = look.cell;
    Canvas c(n, n, {0, 0, 0, 0});
    const Shape outer = roundedBox(1, 1, n - 1, n - 1, 3.0);
    const Shape inner = roundedBox(2, 2, n - 2, n - 2, 2.0);
    const bool close = glyph == Glyph::Close;
    switch (state) {
    case ButtonState::Normal:
        c.fill(outer, withAlpha(rgb(0xB8C2FF), 0.45));
        c.fill(inner, verticalGradient({{2, withAlpha(rgb(0x8A98F0), 0.55)},
                                        {n - 2.0, withAlpha(rgb(0x2A3890), 0.55)}}));
        break;
    case ButtonState::Hover:
        c.fill(outer, rgb(0xE6EBFF));
        c.fill(inner, close ? verticalGradient({{2, rgb(0xF07A6E)}, {n - 2.0, rgb(0xB8241B)}})
                            : verticalGradient({{2, rgb(0x8D9DF5)}, {n - 2.0, rgb(0x4656C8)}}));
        break;
    case ButtonState::Pressed:
        c.fill(outer, rgb(0x8F9BE0));
        c.fill(inner, close ? verticalGradient({{2, rgb(0x7A1510)}, {n - 2.0, rgb(0xA82A20)}})
                            : verticalGradient({{2, rgb(0x0C1244)}, {n - 2.0, rgb(0x1E2A78)}}));
        break;
    }
    const int shift = state == ButtonState::Pressed ? 1 : 0;
    const GlyphBox g = glyphBoxIn(n, {9, 1.8, 2, 2, false, 11, 1.7}, glyph, shift);
    c.fill(glyphShape(glyph, g), rgb(0xFFFFFF));
    return c;
}

// --- Protein: white discs with red glyphs; red under the mouse ---------------------------

Canvas proteinCell(const LookInfo& look, Glyph glyph, ButtonState state) {
    const int n = look.cell;
    Canvas c(n, n, {0, 0, 0, 0});
    const double centre = n / 2.0;
    const Rgba red = rgb(0xCC332B);
    Rgba ink = red;
    switch (state) {
    case ButtonState::Normal:
        drawOrb(c, centre, centre, 7.5,
                {rgb(0x9A231D), rgb(0xFFFFFF), rgb(0xF4F4F4), rgb(0xD9D9D9), rgb(0xFFFFFF)}, 0.6);
        break;
    case ButtonState::Hover:
        c.fill(outline(circle(centre, centre, 8.1), 0.75), rgb(0xFFFFFF));
        drawOrb(c, centre, centre, 7.5, orbOf(rgb(0xE0463D), 0.12), 0.7);
        ink = rgb(0xFFFFFF);
        break;
    case ButtonState::Pressed:
        drawOrb(c, centre, centre, 7.5, orbOf(rgb(0x9E2019), -0.1), 0.25);
        ink = rgb(0xFFE4E1);
        break;
    }
    const int shift = state == ButtonState::Pressed ? 1 : 0;
    const GlyphBox g = glyphBoxIn(n, {7, 1.7, 2, 2, false, 9, 1.5}, glyph, shift);
    c.fill(glyphShape(glyph, g), ink);
    return c;
}

// --- BlueGlass: glass orbs, red glass for close --------------------------------------------

Canvas blueGlassCell(const LookInfo& look, Glyph glyph, ButtonState state) {
    const int n = look.cell;
    Canvas c(n, n, {0, 0, 0, 0});
    const double centre = n / 2.0;
    const Rgba base = glyph == Glyph::Close ? rgb(0xD8432F) : rgb(0x3B7BD8);
    if (state == ButtonState::Hover)
        c.fill(outline(circle(centre, centre, 8.1), 0.75), rgb(0xDDEBFF));
    const double lift = state == ButtonState::Hover     ? 0.25
                        : state == ButtonState::Pressed ? -0.35
                                                        : 0.0;
    drawOrb(c, centre, centre, 7.6, orbOf(base, lift), state == ButtonState::Pressed ? 0.35 : 0.9);
    const int shift = state == ButtonState::Pressed ? 1 : 0;
    const GlyphBox g = glyphBoxIn(n, {7, 1.7, 2, 2, false, 9, 1.5}, glyph, shift);
    const Shape glyphShapeHere = glyphShape(glyph, g);
    c.fill(moved(glyphShapeHere, 0.0, 1.0), withAlpha(rgb(0x06204F), 0.55));
    c.fill(glyphShapeHere, rgb(0xFFFFFF));
    return c;
}

Canvas drawCell(const LookInfo& look, Glyph glyph, ButtonState state) {
    switch (look.style) {
    case TsuiUIStyle::MacOS:
        return macCell(look, glyph, state);
    case TsuiUIStyle::WinXP:
        return xpCell(look, glyph, state);
    case TsuiUIStyle::DeepBlue:
        return deepBlueCell(look, glyph, state);
    case TsuiUIStyle::Protein:
        return proteinCell(look, glyph, state);
    default:
        return blueGlassCell(look, glyph, state);
    }
}

// The bar under a button: its column, rows [buttonTop, buttonTop + cell), side by side.
Canvas barUnderButton(const LookInfo& look) {
    const Canvas column = titleBarColumn(look);
    Canvas under(look.cell, look.cell);
    for (int y = 0; y < look.cell; ++y) {
        const int barRow = std::clamp(look.buttonTop + y, 0, column.height() - 1);
        under.fillRect(0, y, look.cell, y + 1, column.at(0, barRow));
    }
    return under;
}

// Below this coverage a pixel of a transparent look's button becomes the key colour.
constexpr std::uint8_t kKeyThreshold = 64;

Canvas flatten(const LookInfo& look, const Canvas& cell, const Canvas& under) {
    Canvas out = under;
    out.draw(cell, 0, 0);
    if (look.transparentButtons)
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x)
                if (cell.at(x, y).a < kKeyThreshold)
                    out.at(x, y) = kTransparentKey;
    return out;
}

} // namespace

Canvas titleButtonStrip(const LookInfo& look) {
    const Canvas under = barUnderButton(look);
    Canvas strip(look.cell * kStripCells, look.cell);
    int index = 0;
    for (Glyph glyph : kGlyphs)
        for (ButtonState state : kStates)
            strip.copy(flatten(look, drawCell(look, glyph, state), under), look.cell * index++, 0);
    return strip;
}

} // namespace skingen
