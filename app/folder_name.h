// Which folder names the program creates folders under.
//
// The name comes from the settings field or, unchecked, from the registry; the check
// here runs again at every creation so that a name edited outside the program (say
// "..\..\x", "CON", or a name of blanks) never creates a folder anywhere but inside the
// target folder, and never fails for a reason the user can't see. An unusable name gives
// way to the language's default folder name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace nestora::app {

// The ten characters refused while the name is typed: \ / : * . ? " < > |
// (the full stop among them, so a name never carries an extension).
inline constexpr std::wstring_view kForbiddenNameCharacters = L"\\/:*.?\"<>|";

// Longest name used as it is, in UTF-16 units: with " (" + a number + ")" after it, a
// folder name must stay within the file system's 255.
inline constexpr std::size_t kMaxFolderNameLength = 240;

// True when the name holds one of the ten characters or a control character
// (U+0000..U+001F, which Windows refuses in file names as well).
bool HasForbiddenCharacter(std::wstring_view name);

// CON, PRN, AUX, NUL, COM1..COM9, LPT1..LPT9 in any case, with or without an extension:
// Windows opens the device instead of making a folder.
bool IsReservedDeviceName(std::wstring_view name);

// The name a folder is created under: the given name without trailing blanks (Windows
// would strip them, so the folder would not bear the name that was checked), or
// defaultName when that is empty, holds a forbidden character, is a device name or is
// longer than kMaxFolderNameLength.
std::wstring UsableFolderName(std::wstring_view name, std::wstring_view defaultName);

} // namespace nestora::app
