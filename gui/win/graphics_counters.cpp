#include "gui/win/graphics_counters.h"

namespace nestora::gui {

std::array<long, kHandleKindCount>& HandleCounters::Table() {
    // BODGY: the one piece of process-wide mutable state of the graphics layer; it is a
    // diagnostic tally, touched only on the user-interface thread.
    static std::array<long, kHandleKindCount> table{};
    return table;
}

long HandleCounters::LiveGdiObjects() {
    return Live(HandleKind::Font) + Live(HandleKind::Brush) + Live(HandleKind::Pen) +
           Live(HandleKind::Bitmap) + Live(HandleKind::MemoryDC);
}

long HandleCounters::LiveUserObjects() {
    return Live(HandleKind::Icon) + Live(HandleKind::Menu) + Live(HandleKind::Window);
}

long ProcessGdiObjects() {
    return static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
}

long ProcessUserObjects() {
    return static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
}

} // namespace nestora::gui
