// press_hotkey: presses Nestora's default hotkey, Ctrl and the key left of 1 (virtual-key
// code $C0), through the system's input (SendInput), as a user would. Used by scripts/run
// and the end-to-end test. An argument "N" presses it N times (at most 100).
#include "tests/support/win/keyboard_input.h"

#include <cwchar>

namespace {

bool PressOnce() {
    auto events = nestora::testing::PressesOf(nestora::testing::kDefaultHotKey, 1);
    return nestora::testing::SendInputs(events) == events.size();
}

} // namespace

int wmain(int argc, wchar_t** argv); // the wide entry point (-municode)

int wmain(int argc, wchar_t** argv) {
    long times = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1;
    if (times < 1 || times > 100)
        times = 1;
    for (long i = 0; i < times; ++i) {
        if (!PressOnce())
            return 1;
        ::Sleep(300); // one press after the other, not a chord
    }
    return 0;
}
