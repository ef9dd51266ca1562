// The title-bar pictures of the five looks: left, client and right sections. The frame
// stretches the client picture horizontally, so it is uniform along x; the left and right
// pictures are the client's column plus their own end decorations and fade into it.
#pragma once

#include "canvas.h"
#include "looks.h"

namespace skingen {

Canvas titleBarLeft(const LookInfo& look);
Canvas titleBarClient(const LookInfo& look);
Canvas titleBarRight(const LookInfo& look);

// The bar's vertical colour profile, one pixel wide: what lies under a title-bar button
// wherever the bar has no decoration.
Canvas titleBarColumn(const LookInfo& look);

} // namespace skingen
