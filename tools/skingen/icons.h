// The program's own pictures: the folder with the red tick (tray icon, program icon,
// image list), the red cross of the "exit" menu entry and the red emblem of the "show the
// window" entry. All have alpha; sizes are whole multiples of a 16-pixel design.
#pragma once

#include "canvas.h"

namespace nestora::skingen {

Canvas FolderWithTick(int size);
Canvas ExitCross(int size);
Canvas ShowWindowEmblem(int size);

} // namespace nestora::skingen
