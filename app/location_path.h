// The folder an Explorer window shows, from the location URL the shell reports for it.
//
// Only "file:" URLs name folders on disk; anything else (a virtual folder such as the
// Control Panel, a search, a web page) gives no path, and no folder is created for it.
// The URL is decoded the way the platform's PathCreateFromUrlW decodes it: every %XX
// escape, read as UTF-8, so a folder whose name holds "%" or a non-ASCII letter is found.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nestora::app {

// "file:///C:/Data/a%20b" → C:\Data\a b; "file://server/share/dir" → \\server\share\dir;
// "file://localhost/C:/x" → C:\x. No path for an empty location, a location that is not a
// "file:" URL, or one whose escapes don't decode to a usable path (malformed UTF-8, or a
// control character such as %00 that would cut the path short at the system call).
// A "%" not followed by two hex digits is kept as it is.
std::optional<std::wstring> FolderPathFromLocation(std::wstring_view location);

} // namespace nestora::app
