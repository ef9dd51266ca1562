// The pictures of the menus and the form backgrounds: the MacOS menu bar and selection
// stripes, the check mark every menu draws for a checked item without a picture, and the
// 8 by 8 background tiles of the MacOS and Protein forms. Sizes are at scale 1; scale 2
// draws each twice the size (see Canvas).
#pragma once

#include "canvas.h"

namespace nestora::skingen {

Canvas MacMenuBar(int scale = 1);    // 1 x 22: light grey stripes, two darker rows at the bottom
Canvas MacMenuSelect(int scale = 1); // 1 x 21: blue stripes
Canvas MenuCheckMark(int scale = 1); // 16 x 16: a green tick on white (white is the mask colour)
Canvas MacFormBackground(int scale = 1);     // 8 x 8 pinstripes
Canvas ProteinFormBackground(int scale = 1); // 8 x 8 near-white weave

} // namespace nestora::skingen
