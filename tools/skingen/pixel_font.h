// A 5 by 7 pixel font for the labels of the contact sheet (capitals, digits and a few
// signs; lower-case letters are drawn as capitals). Not used for any shipped picture.
#pragma once

#include "canvas.h"

#include <string_view>

namespace nestora::skingen {

inline constexpr int kFontHeight = 7;

// Width in pixels of the text at the given scale (6 pixels per character at scale 1).
int TextWidth(std::string_view text, int scale = 1);
void DrawPixelText(Canvas& canvas, int x, int y, std::string_view text, Rgba colour, int scale = 1);

} // namespace nestora::skingen
