// The six title-bar glyphs as shapes, placed in a square glyph box. The geometry snaps to
// whole pixels so that horizontal and vertical strokes stay crisp at 7 to 11 pixels; only
// diagonals and curves are anti-aliased.
#pragma once

#include "shapes.h"

namespace nestora::skingen {

// In the order of the button strip's cells.
enum class Glyph { ControlBox, Help, Maximise, Restore, Minimise, Close };

struct GlyphBox {
    int left = 0;
    int top = 0;
    int size = 7;
    double stroke = 1.5; // width of diagonal and curved strokes
    int bar = 1;         // thickness of the minimise bar and the control box's bar
    int band = 2;        // thickness of a window pictogram's title band (its sides are 1)
    // Minimise as a centred dash (Mac) rather than a bar at the bottom (Windows).
    bool centredMinimise = false;
};

Shape GlyphShape(Glyph glyph, const GlyphBox& box);

} // namespace nestora::skingen
