#pragma once
// The start-with-Windows entry in the registry: one value in one of the system's run keys
// (desktop/core/auto_exec_values.h says which key and what the value holds).
//
// Each function takes the registry it works on: the two roots and whether the platform is
// Windows NT. The defaults are the real HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER; tests put
// scratch keys there, so no test ever touches the real run keys. The roots are borrowed.
//
// Every failure is a false result, never an error: a key that cannot be opened or made, a
// value that cannot be written or deleted (HKEY_LOCAL_MACHINE without administrative
// rights), a command without a file name to name the value by. Every key opened here is
// closed before the function returns.

#include "gui/win/graphics_win32.h"

#include "desktop/core/auto_exec_values.h"
#include "desktop/desktop_platform.h"

#include <string>

namespace nestora::desktop {

struct AutoExecRegistry {
    HKEY localMachine = HKEY_LOCAL_MACHINE;
    HKEY currentUser = HKEY_CURRENT_USER;
    // Windows NT has no service run keys: the two service kinds then do nothing and fail.
    bool winNT = IsWinNT();
};

HKEY AutoExecRootKey(AutoExecRoot root, const AutoExecRegistry& registry);

// Writes the value for fileName, making the key when it is missing.
bool RegisterAutoExec(TabfAutoExecKind kind, const std::wstring& fileName,
                      const AutoExecRegistry& registry = {});
// Deletes the value for fileName. A value that is not there counts as deleted; a key that
// is not there is a failure.
bool UnregisterAutoExec(TabfAutoExecKind kind, const std::wstring& fileName,
                        const AutoExecRegistry& registry = {});

// The entry for fileName has been disabled (Task Manager's mark, auto_exec_values.h):
// Windows will not start it even though the run value is there.
bool AutoExecDisabled(TabfAutoExecKind kind, const std::wstring& fileName,
                      const AutoExecRegistry& registry = {});
// Takes a disabled mark for fileName away, so the entry starts again; an enabled mark and
// the marks of other programs stay. False when a mark was there and could not be deleted.
bool ClearAutoExecDisabledMark(TabfAutoExecKind kind, const std::wstring& fileName,
                               const AutoExecRegistry& registry = {});

} // namespace nestora::desktop
