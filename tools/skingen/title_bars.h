// The title-bar pictures of the five looks: left, client and right sections. The frame
// stretches the client picture horizontally, so it is uniform along x; the left and right
// pictures are the client's column plus their own end decorations and fade into it.
#pragma once

#include "canvas.h"
#include "looks.h"

namespace nestora::skingen {

Canvas TitleBarLeft(const LookInfo& look);
Canvas TitleBarClient(const LookInfo& look);
Canvas TitleBarRight(const LookInfo& look);

// The bar's vertical colour profile, one pixel wide: what lies under a title-bar button
// wherever the bar has no decoration.
Canvas TitleBarColumn(const LookInfo& look);

} // namespace nestora::skingen
