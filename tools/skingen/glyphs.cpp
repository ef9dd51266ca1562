#include "glyphs.h"

#include <algorithm>
#include <numbers>

namespace nestora::skingen {

namespace {

constexpr double kPi = std::numbers::pi;

// A window pictogram: one-pixel sides under a thicker title band.
Shape WindowFrame(double l, double t, double r, double b, int band) {
    return Subtract(Box(l, t, r, b), Box(l + 1, t + band, r - 1, b - 1));
}

// A question mark: a hook curling into a short stem, a clear gap, and a round dot whose
// weight matches the stroke's.
Shape QuestionMark(const GlyphBox& g) {
    const double s = g.size, hw = g.stroke / 2.0;
    const double cx = g.left + s / 2.0;
    const double dotRadius = std::max(hw * 1.2, 0.85);
    const double dotY = g.top + s - dotRadius;
    const double stemEnd = dotY - dotRadius - 1.0 - hw;
    const double top = g.top + hw;
    const double height = stemEnd - top;
    const double radius = height * 0.36;
    const Vec centre{cx, top + radius};
    const double endAngle = kPi * 0.3;
    const Vec hookEnd{centre.x + radius * 0.588, centre.y + radius * 0.809};
    const Shape hook = Arc(centre, radius, -kPi * 0.97, endAngle, hw);
    const Shape stem = Polyline({hookEnd, {cx, centre.y + radius * 1.15}, {cx, stemEnd}}, hw);
    return Unite(Unite(hook, stem), Circle(cx, dotY, dotRadius));
}

} // namespace

Shape GlyphShape(Glyph glyph, const GlyphBox& g) {
    const double l = g.left, t = g.top, s = g.size, r = l + s, b = t + s;
    const double cx = l + s / 2.0;
    switch (glyph) {
    case Glyph::ControlBox: {
        // A menu marker: a downward triangle under a short bar.
        // A thinner bar in small boxes leaves the triangle room to read as one.
        const int barHeight = std::max(1, std::min(g.bar, g.size / 4));
        const double barTop = t + static_cast<int>(s * 0.2);
        const Shape bar = Box(l, barTop, r, barTop + barHeight);
        const double triTop = barTop + barHeight + 1.0;
        const Shape tri = Polygon({{l - 0.2, triTop}, {r + 0.2, triTop}, {cx, b - s * 0.12}});
        return Unite(bar, tri);
    }
    case Glyph::Help:
        return QuestionMark(g);
    case Glyph::Maximise:
        return WindowFrame(l, t, r, b, g.band);
    case Glyph::Restore: {
        const int offset = std::max(2, static_cast<int>(s * 0.3 + 0.5));
        const Shape front = WindowFrame(l, t + offset, r - offset, b, g.band);
        // The window behind shows only where the front one doesn't cover it.
        const Shape back = Subtract(WindowFrame(l + offset, t, r, b - offset, g.band),
                                    Box(l, t + offset, r - offset, b));
        return Unite(front, back);
    }
    case Glyph::Minimise:
        if (g.centredMinimise) {
            const int top = static_cast<int>(t + (s - g.bar) / 2.0 + 0.5);
            return Box(l, top, r, top + g.bar);
        }
        return Box(l, b - g.bar, r, b);
    case Glyph::Close: {
        const double hw = g.stroke / 2.0, in = hw * 0.6;
        return Unite(Segment({l + in, t + in}, {r - in, b - in}, hw),
                     Segment({r - in, t + in}, {l + in, b - in}, hw));
    }
    }
    return Box(0, 0, 0, 0);
}

} // namespace nestora::skingen
