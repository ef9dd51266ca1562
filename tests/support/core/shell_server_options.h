// What the stand-in shell server is asked to show, from its command line, and the lines of
// its call record as the tests read them back. No Windows here: both ends share it.
//
//   --record FILE        where every call is written, one line each (UTF-8)
//   --window FOLDER      a new Explorer window showing the folder (a path, or a parsing name
//                        such as "::{GUID}" for a place that is no folder on disk)
//   --tab FOLDER         one more tab of the last window; a window with one becomes tabbed
//   --active-tab K       the last window's active tab (from 0; the first when not given)
//   --minimised          the last window is minimised
//   --select NAME        an item of the last window's active tab, selected once it is shown
//                        (again for more items)
//   --desktop FOLDER     a stand-in desktop ("Progman") showing the folder
//   --front K|desktop    which window is brought to the front (the last one when not given)
//   --end-after-count K  window K closes right after the first `Count` is answered
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace nestora::testing {

struct ServerWindowOptions {
    std::vector<std::wstring> folders; // one per tab; one alone for a window without tabs
    bool tabbed = false;
    std::size_t activeTab = 0;
    bool minimised = false;
    std::vector<std::wstring> selected = {}; // names in the active tab's folder
};

struct ServerOptions {
    std::wstring record;
    std::vector<ServerWindowOptions> windows;
    std::wstring desktop;             // empty: no stand-in desktop
    std::optional<std::size_t> front; // a window; nothing with desktopInFront or the last one
    bool desktopInFront = false;
    std::optional<std::size_t> endAfterCount;
};

// Nothing when the arguments don't make sense (an unknown option, a missing or bad value, a
// tab before any window, an index past the windows or tabs given).
std::optional<ServerOptions> ParseServerOptions(const std::vector<std::wstring>& arguments);

// The command line's arguments for these options (each quoted).
std::wstring ServerArguments(const ServerOptions& options);

// One line of the record: "invoke WHO MEMBER [ARGUMENT]" for a late-bound call,
// "names WHO MEMBER" for a name looked up, "call WHO METHOD [ARGUMENT]" for an interface
// method; the argument is the rest of the line ("0x1F Новая папка" for a SelectItem).
struct RecordedCall {
    std::wstring kind;
    std::wstring who;
    std::wstring member;
    std::wstring argument;
};

std::optional<RecordedCall> ParseRecordedCall(const std::wstring& line);

} // namespace nestora::testing
