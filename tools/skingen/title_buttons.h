// The title-bar button strips: 18 square cells side by side, three states (normal, mouse
// over, pressed) of six glyphs (control box, help, maximise, restore, minimise, close).
//
// Looks with opaque buttons get cells whose background is the title bar itself at the
// rows where the frame places the buttons, so a button sits on the bar without a seam.
// Looks with transparent buttons get cells on a key colour: the frame leaves out the
// colour of each cell's bottom-left pixel, and anti-aliased edges are pre-blended with
// the bar so no fringe of the key colour remains.
#pragma once

#include "canvas.h"
#include "glyphs.h"
#include "looks.h"

namespace nestora::skingen {

enum class ButtonState { Normal, Hover, Pressed };

inline constexpr Rgba kTransparentKey = Rgb(0xFF00FF);
inline constexpr int kStripCells = 18;

// scale 2: the same strip drawn at twice the size, its cells twice as wide (see Canvas).
Canvas TitleButtonStrip(const LookInfo& look, int scale = 1);

} // namespace nestora::skingen
