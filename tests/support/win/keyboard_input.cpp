#include "tests/support/win/keyboard_input.h"

namespace nestora::testing {

namespace {

INPUT KeyEvent(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

} // namespace

std::vector<INPUT> PressesOf(const KeyCombination& combination, int times) {
    std::vector<INPUT> events;
    for (int i = 0; i < times; ++i) {
        for (const WORD modifier : combination.modifiers)
            events.push_back(KeyEvent(modifier, false));
        events.push_back(KeyEvent(combination.key, false));
        events.push_back(KeyEvent(combination.key, true));
        for (auto m = combination.modifiers.rbegin(); m != combination.modifiers.rend(); ++m)
            events.push_back(KeyEvent(*m, true));
    }
    return events;
}

UINT SendInputs(std::vector<INPUT>& events) {
    if (events.empty())
        return 0;
    return ::SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

} // namespace nestora::testing
