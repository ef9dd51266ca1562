#pragma once
// The common controls library (comctl32) is loaded and initialised on first use, not at
// start: a program that sits hidden in the tray until the user opens its window never
// needs it, and loading it costs a process several hundred kilobytes of private memory.
// The framework's link to comctl32 is delay-loaded for this; every control and picture
// list of the library calls EnsureCommonControls before its first use of it.

namespace nestora::gui {

// Loads comctl32 and registers its window classes (hotkey, tool bar and the rest), once
// per process; later calls do nothing.
void EnsureCommonControls();

} // namespace nestora::gui
