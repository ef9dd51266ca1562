// Folder names no folder may ever be created under, as a user, another program or a
// damaged registry might leave them in the settings: path separators and "..", drive and
// server prefixes, device names (with extensions too), the characters Windows forbids,
// control characters, blanks only, and a text of 64 KiB. Each one must give way to the
// language's default name, and the folder must land inside the target, nowhere else.
#pragma once

#include <string>
#include <vector>

namespace nestora::reliability {

struct NamedText {
    const char* label; // for the test's output
    std::wstring value;
};

// 32,768 UTF-16 units: 64 KiB of text.
std::wstring OversizedText();

std::vector<NamedText> HostileFolderNames();

// Hotkey texts that read as no hotkey at all (the tray then tells there is none).
std::vector<NamedText> UnreadableHotKeyTexts();

} // namespace nestora::reliability
