// press_hotkey: presses Nestora's default hotkey, Ctrl and the key left of 1 (virtual-key
// code $C0), through the system's input (SendInput), as a user would. Used by scripts/run
// and the end-to-end test. An argument "N" presses it N times (at most 100).
#include <windows.h>

#include <array>
#include <cwchar>

namespace {

INPUT keyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

bool pressOnce() {
    std::array<INPUT, 4> inputs{keyInput(VK_CONTROL, false), keyInput(VK_OEM_3, false),
                                keyInput(VK_OEM_3, true), keyInput(VK_CONTROL, true)};
    return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) ==
           inputs.size();
}

} // namespace

int wmain(int argc, wchar_t** argv); // the wide entry point (-municode)

int wmain(int argc, wchar_t** argv) {
    long times = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1;
    if (times < 1 || times > 100)
        times = 1;
    for (long i = 0; i < times; ++i) {
        if (!pressOnce())
            return 1;
        ::Sleep(300); // one press after the other, not a chord
    }
    return 0;
}
