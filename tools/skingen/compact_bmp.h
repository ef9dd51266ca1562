// The smallest BMP file that holds an opaque picture exactly, for the BITMAP resources the
// program carries: a colour table of the colours the picture uses at the fewest bits per
// pixel that index them (1, 4 or 8), 24 bits when it has more than 256, and BI_RLE4 or
// BI_RLE8 when the runs of one colour make that smaller. LoadBitmap, LoadImage (without
// LR_CREATEDIBSECTION, which takes no compressed pixels) and the framework's decoder read
// every form written here.
#pragma once

#include "canvas.h"
#include "image_files.h"

namespace nestora::skingen {

// Alpha is ignored: the picture is taken as opaque.
Bytes EncodeCompactBmp(const Canvas& image);

} // namespace nestora::skingen
