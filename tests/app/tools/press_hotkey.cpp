// press_hotkey: presses Nestora's default hotkey, Ctrl and the key left of 1 (virtual-key
// code $C0), through the system's input (SendInput), as a user would. Used by scripts/run
// and the end-to-end tests. An argument "N" presses it N times (at most 100); "shift" holds
// Shift as well (the selection key), "f1" presses F1 in place of the key left of 1.
#include "tests/support/win/keyboard_input.h"

#include <cwchar>

namespace {

bool PressOnce(const nestora::testing::KeyCombination& combination) {
    auto events = nestora::testing::PressesOf(combination, 1);
    return nestora::testing::SendInputs(events) == events.size();
}

} // namespace

int wmain(int argc, wchar_t** argv); // the wide entry point (-municode)

int wmain(int argc, wchar_t** argv) {
    long times = 1;
    nestora::testing::KeyCombination combination = nestora::testing::kDefaultHotKey;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"shift") == 0) {
            combination.modifiers.push_back(VK_SHIFT);
        } else if (std::wcscmp(argv[i], L"f1") == 0) {
            combination.key = VK_F1;
        } else {
            times = std::wcstol(argv[i], nullptr, 10);
            if (times < 1 || times > 100)
                return 2;
        }
    }
    for (long i = 0; i < times; ++i) {
        if (!PressOnce(combination))
            return 1;
        ::Sleep(300); // one press after the other, not a chord
    }
    return 0;
}
