// Ends an open menu from inside its modal loop (a thread timer fires there) and notes where
// its window ("#32768") was: for tests of code that opens a menu and returns only once
// the menu has closed.
#pragma once

#include <windows.h>

namespace nestora::testing {

struct OpenMenuProbe {
    // The menu's window as the probe found it; -1 everywhere until then.
    static inline RECT seen{-1, -1, -1, -1};
    // How often the probe ran.
    static inline int runs = 0;

    // Sets the probe off 50 ms from now, on this thread.
    static void Arm();
};

} // namespace nestora::testing
