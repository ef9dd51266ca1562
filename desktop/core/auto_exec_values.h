#pragma once
// What a start-with-Windows entry looks like in the registry, without touching it: which
// run key each kind of entry uses, and the value's name, data and type for a command.
// No windows.h here; desktop/auto_exec.h reads and writes the registry with these.

#include <string>
#include <string_view>

namespace nestora::gui {
struct EnumInfo;
}

namespace nestora::desktop {

enum class TabfAutoExecKind {
    aekMachineRun,
    aekMachineRunOnce,
    aekUserRun,
    aekUserRunOnce,
    aekServiceRun,
    aekServiceRunOnce,
};
extern const gui::EnumInfo kAutoExecKindInfo;

enum class AutoExecRoot { LocalMachine, CurrentUser };

struct AutoExecKey {
    AutoExecRoot root;
    std::wstring path; // below the root
};

// The root and key of a kind ("Software\Microsoft\Windows\CurrentVersion\Run" …).
AutoExecKey AutoExecRegKey(TabfAutoExecKind kind);

// The two service kinds exist only on the Windows 95 family; Windows NT has no such keys.
bool IsServiceKind(TabfAutoExecKind kind);

// The value's name: the file-name part of the command (the text after the last backslash,
// colon or slash; all of it when there is none), letter case unchanged. A command already
// wrapped in double quotes is named by the path inside them.
std::wstring AutoExecValueName(std::wstring_view fileName);

// The value's data: the command as given, in double quotes when it contains a blank and
// is not quoted already. Unquoted, Windows would try "C:\Program.exe" first for
// "C:\Program Files\App\App.exe".
std::wstring AutoExecValueData(std::wstring_view fileName);

// A command holding a percent sign names environment variables: an expandable string.
bool AutoExecIsExpandable(std::wstring_view fileName);

// Where Windows (8 and later) keeps the user's choice about a Run entry, under the same
// root as the entry: a binary value of the entry's name whose first byte is even (02, 06)
// while the entry is enabled and odd (03, 07) once it has been disabled, as Task Manager
// writes it. Only the two Run kinds have one; empty for the others.
std::wstring StartupApprovedKeyPath(TabfAutoExecKind kind);
bool StartupApprovedDisables(std::basic_string_view<unsigned char> data);

} // namespace nestora::desktop
