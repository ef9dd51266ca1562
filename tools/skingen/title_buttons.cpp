#include "title_buttons.h"

#include "title_bars.h"

#include <algorithm>
#include <array>

namespace nestora::skingen {

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
void DrawOrb(Canvas& c, double cx, double cy, double r, const OrbColours& k, double highlight) {
    c.fill(Circle(cx, cy, r), k.rim);
    c.fill(Circle(cx, cy, r - 1.0),
           VerticalGradient({{cy - r, k.top}, {cy, k.middle}, {cy + r, k.bottom}}));
    const double glowTop = cy, glowBottom = cy + r - 1.0;
    c.fill(Ellipse(cx, cy + r * 0.45, r * 0.62, r * 0.42),
           VerticalGradient({{glowTop, WithAlpha(k.glow, 0.0)}, {glowBottom, k.glow}}));
    if (highlight > 0)
        c.fill(Ellipse(cx, cy - r * 0.47, r * 0.62, r * 0.36),
               VerticalGradient({{cy - r, WithAlpha(Rgb(0xFFFFFF), highlight)},
                                 {cy - r * 0.1, WithAlpha(Rgb(0xFFFFFF), highlight * 0.1)}}));
}

OrbColours OrbOf(Rgba base, double lift) {
    const Rgba b = lift >= 0 ? Lighten(base, lift) : Darken(base, -lift);
    return {Darken(base, 0.45), Lighten(b, 0.30), b, Darken(b, 0.12), Lighten(b, 0.45)};
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
GlyphBox GlyphBoxIn(int cell, const GlyphStyle& st, Glyph glyph, int shift) {
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

Rgba MacGemColour(Glyph glyph) {
    switch (glyph) {
    case Glyph::Close:
        return Rgb(0xE5493F);
    case Glyph::Minimise:
        return Rgb(0xF0AE2A);
    case Glyph::Maximise:
    case Glyph::Restore:
        return Rgb(0x3DB43E);
    case Glyph::Help:
        return Rgb(0x5A86C8);
    default:
        return Rgb(0x8C96A3);
    }
}

Canvas MacCell(const LookInfo& look, Glyph glyph, ButtonState state, int scale) {
    const int n = look.cell;
    Canvas c(n, n, {0, 0, 0, 0}, scale);
    const double centre = n / 2.0;
    const Rgba base = MacGemColour(glyph);
    if (state == ButtonState::Hover)
        c.fill(Outline(Circle(centre, centre, 7.6), 0.55), WithAlpha(Rgb(0x3A3A3A), 0.75));
    const double lift = state == ButtonState::Hover     ? 0.22
                        : state == ButtonState::Pressed ? -0.28
                                                        : 0.0;
    DrawOrb(c, centre, centre, 6.8, OrbOf(base, lift), state == ButtonState::Pressed ? 0.45 : 0.85);
    const int shift = state == ButtonState::Pressed ? 1 : 0;
    const GlyphBox g = GlyphBoxIn(n, {7, 1.45, 1, 2, true, 9, 1.45}, glyph, shift);
    const Rgba ink = state == ButtonState::Pressed ? Darken(base, 0.85) : Darken(base, 0.72);
    c.fill(GlyphShape(glyph, g), ink);
    return c;
}

// --- WinXP: Luna's rounded squares with a white rim, red-orange close -------------------

Canvas XpCell(const LookInfo& look, Glyph glyph, ButtonState state, int scale) {
    const int n = look.cell;
    Canvas c(n, n, {0, 0, 0, 0}, scale);
    const bool close = glyph == Glyph::Close;
    Rgba top = close ? Rgb(0xF08A6E) : Rgb(0x5C9EFA);
    Rgba middle = close ? Rgb(0xD9482B) : Rgb(0x2470EC);
    Rgba bottom = close ? Rgb(0xB93219) : Rgb(0x0D52D4);
    double rim = 0.92;
    if (state == ButtonState::Hover) {
        top = Lighten(top, 0.35);
        middle = Lighten(middle, 0.22);
        bottom = Lighten(bottom, 0.15);
        rim = 1.0;
    } else if (state == ButtonState::Pressed) {
        top = Darken(top, 0.30);
        middle = Darken(middle, 0.28);
        bottom = Darken(bottom, 0.15);
        rim = 0.75;
    }
    c.fill(RoundedBox(0, 0, n, n, 3.5), WithAlpha(Rgb(0xFFFFFF), rim));
    c.fill(RoundedBox(1, 1, n - 1, n - 1, 2.5),
           VerticalGradient({{1, top}, {n * 0.45, middle}, {n - 1.0, bottom}}));
    // Luna lights its buttons from the top left.
    c.fill(Ellipse(n * 0.32, n * 0.3, n * 0.38, n * 0.3), [n](double x, double y) {
        const double t = std::clamp(1.0 - (x + y) / (n * 1.1), 0.0, 1.0);
        return WithAlpha(Rgb(0xFFFFFF), 0.28 * t);
    });
    const int shift = state == ButtonState::Pressed ? 1 : 0;
    const GlyphBox g = GlyphBoxIn(n, {9, 2.2, 2, 3, false, 11, 1.8}, glyph, shift);
    c.fill(GlyphShape(glyph, g), Rgb(0xFFFFFF));
    return c;
}

// --- DeepBlue: quiet glassy squares that light up under the mouse -----------------------

Canvas DeepBlueCell(const LookInfo& look, Glyph glyph, ButtonState state, int scale) {
    const int n = look.cell;
    Canvas c(n, n, {0, 0, 0, 0}, scale);
    const Shape outer = RoundedBox(1, 1, n - 1, n - 1, 3.0);
    const Shape inner = RoundedBox(2, 2, n - 2, n - 2, 2.0);
    const bool close = glyph == Glyph::Close;
    switch (state) {
    case ButtonState::Normal:
        c.fill(outer, WithAlpha(Rgb(0xB8C2FF), 0.45));
        c.fill(inner, VerticalGradient({{2, WithAlpha(Rgb(0x8A98F0), 0.55)},
                                        {n - 2.0, WithAlpha(Rgb(0x2A3890), 0.55)}}));
        break;
    case ButtonState::Hover:
        c.fill(outer, Rgb(0xE6EBFF));
        c.fill(inner, close ? VerticalGradient({{2, Rgb(0xF07A6E)}, {n - 2.0, Rgb(0xB8241B)}})
                            : VerticalGradient({{2, Rgb(0x8D9DF5)}, {n - 2.0, Rgb(0x4656C8)}}));
        break;
    case ButtonState::Pressed:
        c.fill(outer, Rgb(0x8F9BE0));
        c.fill(inner, close ? VerticalGradient({{2, Rgb(0x7A1510)}, {n - 2.0, Rgb(0xA82A20)}})
                            : VerticalGradient({{2, Rgb(0x0C1244)}, {n - 2.0, Rgb(0x1E2A78)}}));
        break;
    }
    const int shift = state == ButtonState::Pressed ? 1 : 0;
    const GlyphBox g = GlyphBoxIn(n, {9, 1.8, 2, 2, false, 11, 1.7}, glyph, shift);
    c.fill(GlyphShape(glyph, g), Rgb(0xFFFFFF));
    return c;
}

// --- Protein: white discs with red glyphs; red under the mouse ---------------------------

Canvas ProteinCell(const LookInfo& look, Glyph glyph, ButtonState state, int scale) {
    const int n = look.cell;
    Canvas c(n, n, {0, 0, 0, 0}, scale);
    const double centre = n / 2.0;
    const Rgba red = Rgb(0xCC332B);
    Rgba ink = red;
    switch (state) {
    case ButtonState::Normal:
        DrawOrb(c, centre, centre, 7.5,
                {Rgb(0x9A231D), Rgb(0xFFFFFF), Rgb(0xF4F4F4), Rgb(0xD9D9D9), Rgb(0xFFFFFF)}, 0.6);
        break;
    case ButtonState::Hover:
        c.fill(Outline(Circle(centre, centre, 8.1), 0.75), Rgb(0xFFFFFF));
        DrawOrb(c, centre, centre, 7.5, OrbOf(Rgb(0xE0463D), 0.12), 0.7);
        ink = Rgb(0xFFFFFF);
        break;
    case ButtonState::Pressed:
        DrawOrb(c, centre, centre, 7.5, OrbOf(Rgb(0x9E2019), -0.1), 0.25);
        ink = Rgb(0xFFE4E1);
        break;
    }
    const int shift = state == ButtonState::Pressed ? 1 : 0;
    const GlyphBox g = GlyphBoxIn(n, {7, 1.7, 2, 2, false, 9, 1.5}, glyph, shift);
    c.fill(GlyphShape(glyph, g), ink);
    return c;
}

// --- BlueGlass: glass orbs, red glass for close --------------------------------------------

Canvas BlueGlassCell(const LookInfo& look, Glyph glyph, ButtonState state, int scale) {
    const int n = look.cell;
    Canvas c(n, n, {0, 0, 0, 0}, scale);
    const double centre = n / 2.0;
    const Rgba base = glyph == Glyph::Close ? Rgb(0xD8432F) : Rgb(0x3B7BD8);
    if (state == ButtonState::Hover)
        c.fill(Outline(Circle(centre, centre, 8.1), 0.75), Rgb(0xDDEBFF));
    const double lift = state == ButtonState::Hover     ? 0.25
                        : state == ButtonState::Pressed ? -0.35
                                                        : 0.0;
    DrawOrb(c, centre, centre, 7.6, OrbOf(base, lift), state == ButtonState::Pressed ? 0.35 : 0.9);
    const int shift = state == ButtonState::Pressed ? 1 : 0;
    const GlyphBox g = GlyphBoxIn(n, {7, 1.7, 2, 2, false, 9, 1.5}, glyph, shift);
    const Shape glyphShapeHere = GlyphShape(glyph, g);
    c.fill(Moved(glyphShapeHere, 0.0, 1.0), WithAlpha(Rgb(0x06204F), 0.55));
    c.fill(glyphShapeHere, Rgb(0xFFFFFF));
    return c;
}

Canvas DrawCell(const LookInfo& look, Glyph glyph, ButtonState state, int scale) {
    switch (look.style) {
    case TsuiUIStyle::MacOS:
        return MacCell(look, glyph, state, scale);
    case TsuiUIStyle::WinXP:
        return XpCell(look, glyph, state, scale);
    case TsuiUIStyle::DeepBlue:
        return DeepBlueCell(look, glyph, state, scale);
    case TsuiUIStyle::Protein:
        return ProteinCell(look, glyph, state, scale);
    default:
        return BlueGlassCell(look, glyph, state, scale);
    }
}

// The bar under a button: its column, rows [buttonTop, buttonTop + cell), side by side.
Canvas BarUnderButton(const LookInfo& look, int scale) {
    const Canvas column = TitleBarColumn(look, scale);
    Canvas under(look.cell, look.cell, {0, 0, 0, 0}, scale);
    for (int y = 0; y < look.cell; ++y) {
        const int barRow = std::clamp(look.buttonTop + y, 0, column.UnitHeight() - 1);
        under.FillRect(0, y, look.cell, y + 1, column.UnitAt(0, barRow));
    }
    return under;
}

// Below this coverage a pixel of a transparent look's button becomes the key colour.
constexpr std::uint8_t kKeyThreshold = 64;

Canvas Flatten(const LookInfo& look, const Canvas& cell, const Canvas& under) {
    Canvas out = under;
    out.Draw(cell, 0, 0);
    if (look.transparentButtons)
        for (int y = 0; y < cell.Height(); ++y)
            for (int x = 0; x < cell.Width(); ++x)
                if (cell.at(x, y).a < kKeyThreshold)
                    out.at(x, y) = kTransparentKey;
    return out;
}

} // namespace

Canvas TitleButtonStrip(const LookInfo& look, int scale) {
    const Canvas under = BarUnderButton(look, scale);
    Canvas strip(look.cell * kStripCells, look.cell, {0, 0, 0, 0}, scale);
    int index = 0;
    for (Glyph glyph : kGlyphs)
        for (ButtonState state : kStates)
            strip.copy(Flatten(look, DrawCell(look, glyph, state, scale), under),
                       look.cell * index++, 0);
    return strip;
}

} // namespace nestora::skingen
