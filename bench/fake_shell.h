// An in-process stand-in for the shell's "Shell.Application" with N open folder windows,
// answering `Windows`, `Count`, `Item`, `HWND`, `LocationURL` and `Refresh` by name
// (GetIDsOfNames, then Invoke) and counting both kinds of call, so the cost of a press can
// be told in calls that would each cross into Explorer's process.
//
// `Item` makes a new window object at every call, as the shell does. `Refresh` does nothing
// but count.
#pragma once

#include <oaidl.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

namespace nestora::bench {

struct LateBoundCalls {
    long invokes = 0;     // late-bound calls made
    long nameLookups = 0; // GetIDsOfNames
    long refreshes = 0;
};

struct FakeFolderWindow {
    HWND frame;
    std::wstring locationUrl;
};

// The shell object over these windows; calls are counted into `calls`, which must outlive
// every object handed out.
Microsoft::WRL::ComPtr<IDispatch> makeFakeShell(std::shared_ptr<LateBoundCalls> calls,
                                                std::vector<FakeFolderWindow> windows);

// n windows with made-up handles 0x10010, 0x10020, …, each at file:///C:/Folder<i>.
std::vector<FakeFolderWindow> madeUpWindows(int n);

} // namespace nestora::bench
