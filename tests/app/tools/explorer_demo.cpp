// explorer_demo: Nestora's job in an Explorer window, for scripts/run. It registers the
// stand-in shell server (for its own run only), opens one of its Explorer windows on the
// folder given and brings it to the front, starts nestora.exe, presses Ctrl+` through the
// system's input, waits for the new folder, saves a picture of the window as a BMP file,
// lists the folders the press made and closes the program. The registration is put back
// when it ends.
//
//   explorer_demo SERVER_EXE NESTORA_EXE FOLDER PICTURE.bmp
// Exit code 0 when the press made a folder in the window's folder, 1 when not, 2 for a bad
// command line, 3 when the server did not come up.
#include "tests/app/tools/demo_program.h"
#include "tests/support/core/folder_series.h"
#include "tests/support/win/keyboard_input.h"
#include "tests/support/win/shell_server_session.h"
#include "tests/support/win/waiting.h"
#include "tests/support/win/window_picture.h"

#include <objbase.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace nestora;
namespace fs = std::filesystem;

std::vector<std::wstring> MadeIn(const std::wstring& folder) {
    std::vector<std::wstring> made;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored)) {
        const std::wstring name = entry.path().filename().wstring();
        if (entry.is_directory() && (testing::SeriesNumber(L"Новая папка", name) ||
                                     testing::SeriesNumber(L"New Folder", name)))
            made.push_back(name);
    }
    return made;
}

} // namespace

int wmain(int argc, wchar_t** argv); // the wide entry point (-municode)

int wmain(int argc, wchar_t** argv) {
    if (argc != 5)
        return 2;
    const std::wstring folder = argv[3];
    if (::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) < 0)
        return 3;
    testing::ServerOptions options;
    options.windows = {{{folder}}};
    testing::ShellServerSession server(argv[1], options);
    if (!server.Ready())
        return 3;
    const auto nestora = demo::StartInFrontOf(argv[2], server);
    if (!nestora)
        return 3;
    auto events = testing::PressesOf(testing::kDefaultHotKey, 1);
    testing::SendInputs(events);
    const bool made = testing::WaitFor([&] { return !MadeIn(folder).empty(); });
    // The window lists it once the program has asked it to refresh (and, where the view
    // takes it, shows it in rename mode).
    testing::WaitFor(
        [&] {
            for (const auto& call : server.Calls()) {
                if (call.member == L"SelectItem")
                    return true;
            }
            return false;
        },
        std::chrono::milliseconds(3000));
    testing::PumpFor(std::chrono::milliseconds(500));
    if (!testing::SaveWindowPicture(server.Frame(0), argv[4]))
        std::fwprintf(stderr, L"no picture\n");
    for (const std::wstring& name : MadeIn(folder))
        demo::PrintLine(L"  " + name);
    demo::EndProgram(*nestora);
    return made ? 0 : 1;
}
