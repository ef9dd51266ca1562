// The title-bar pictures of the five looks: left, client and right sections. The frame
// stretches the client picture horizontally, so it is uniform along x; the left and right
// pictures are the client's column plus their own end decorations and fade into it.
#pragma once

#include "canvas.h"
#include "looks.h"

namespace nestora::skingen {

// scale: 1 for the pictures as the frame is designed, 2 for the same pictures drawn at twice
// the size (see Canvas).
Canvas TitleBarLeft(const LookInfo& look, int scale = 1);
Canvas TitleBarClient(const LookInfo& look, int scale = 1);
Canvas TitleBarRight(const LookInfo& look, int scale = 1);

// The bar's vertical colour profile, one unit wide: what lies under a title-bar button
// wherever the bar has no decoration.
Canvas TitleBarColumn(const LookInfo& look, int scale = 1);

} // namespace nestora::skingen
