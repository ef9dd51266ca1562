// An in-process stand-in for the shell's "Shell.Application", for the press's late-bound
// calls: automation objects that answer members by name (GetIDsOfNames, then Invoke), as
// the shell's do, and note every call, so the calling code runs against it unchanged and
// its cost can be told in calls that would each cross into Explorer's process.
//
// A window may also have a view (IShellView with IFolderView) over a real folder on disk,
// reached as Explorer's is (QueryService(SID_STopLevelBrowser), QueryActiveShellView): it
// hands out its selection as a data object of real items and records every SelectItem that
// opens an item's name for editing, listing a new item only from a given try on, as a view
// that learns of it late does (its focused item is not told: the caller takes its word).
#pragma once

#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace nestora::testing {

// What one stand-in's objects were asked; every object of it writes here.
struct AutomationCalls {
    std::vector<std::wstring> invoked;  // the members invoked, by name, in order
    long nameLookups = 0;               // GetIDsOfNames
    std::vector<std::size_t> refreshed; // the shell windows (by index) refreshed successfully

    long Invokes() const { return static_cast<long>(invoked.size()); }
};

using AutomationMember = std::function<HRESULT(const DISPPARAMS& parameters, VARIANT* result)>;
using AutomationMembers = std::vector<std::pair<std::wstring, AutomationMember>>;

// An object answering these members by name, case-insensitively, to a method call or a
// property read. With a browser window it also answers IServiceProvider with a top-level
// browser that tells that window, as the window items of a tabbed Explorer do.
Microsoft::WRL::ComPtr<IDispatch> MakeAutomationObject(std::shared_ptr<AutomationCalls> calls,
                                                       AutomationMembers members,
                                                       HWND browserWindow = nullptr);

// A stand-in view: what it shows, and what it was asked.
struct StandInViewState {
    std::wstring folder;                // the real folder on disk the view shows
    std::vector<std::wstring> selected; // names of the folder's items selected in the view
    int listedAtTry = 1;                // SelectItem finds an item from this try on

    struct SelectCall {
        std::wstring path; // the item's full path, as the view's folder names it
        UINT flags;
        friend bool operator==(const SelectCall&, const SelectCall&) = default;
    };
    int selectTries = 0;                 // SelectItem calls, found or not
    std::vector<SelectCall> editedItems; // the SelectItem calls with SVSI_EDIT that found theirs
    int selectionReads = 0;              // GetItemObject(SVGIO_SELECTION) calls
};

struct ShellWindow {
    std::uintptr_t frame; // its HWND, as 64-bit Explorer hands it out: an 8-byte integer
    std::wstring locationUrl;
    HWND tab = nullptr;    // its browser's window: items of a tabbed Explorer
    bool vanishes = false; // its HWND call fails: the window closed during the scan
    HRESULT refresh = S_OK;
    std::shared_ptr<StandInViewState> view = {}; // its browser's active view; none when null
};

// "Shell.Application" over these windows. `Windows` gives the collection; its `Count` is
// their number plus countOffset (windows closed since), its `Item` makes a new window
// object at every call, as the shell does, and fails past the end.
Microsoft::WRL::ComPtr<IDispatch> MakeStandInShell(std::shared_ptr<AutomationCalls> calls,
                                                   std::vector<ShellWindow> windows,
                                                   long countOffset = 0);

// n windows with made-up handles 0x10010, 0x10020, …, each at file:///C:/Folder<i>.
std::vector<ShellWindow> MadeUpWindows(int n);

} // namespace nestora::testing
