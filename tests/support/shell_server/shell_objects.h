// The stand-in shell server's COM side: "Shell.Application" (its `Windows`), the shell's
// window collection (CLSID_ShellWindows: `Count`, `Item` by name and FindWindowSW for the
// desktop) and one object per window or tab (`HWND`, `LocationURL`, `Refresh` by name, and
// its top-level browser through IServiceProvider). Every call is written to the record.
//
// Lifetime: the server state outlives every object (the process ends with the loop); the
// class objects are registered for other processes on the server's one thread.
#pragma once

#include "tests/support/shell_server/call_record.h"
#include "tests/support/shell_server/explorer_windows.h"

#include <unknwn.h>
#include <wrl/client.h>

#include <memory>
#include <optional>
#include <vector>

namespace nestora::testing {

struct ShellServerState {
    CallRecord& record;
    std::vector<std::unique_ptr<ExplorerWindow>> windows;
    std::unique_ptr<ExplorerWindow> desktop;
    std::optional<std::size_t> endAfterCount; // cleared once done
};

// The class objects of "Shell.Application" and of the shell's window collection.
Microsoft::WRL::ComPtr<IClassFactory> ShellApplicationFactory(ShellServerState& state);
Microsoft::WRL::ComPtr<IClassFactory> ShellWindowsFactory(ShellServerState& state);

} // namespace nestora::testing
