// selection_demo: the selection key in an Explorer window, pictured before and after, for
// scripts/run. It puts three photos and a note in the folder given, opens one of the
// stand-in shell server's Explorer windows on it (registered for its own run only) with the
// photos selected, starts nestora.exe, pictures the window, presses Ctrl+Shift+` through
// the system's input, waits until the window was asked to list its folder again, pictures
// it again and lists what the new folder holds. The files it put there stay for the
// caller to look at (the caller's scratch folder).
//
//   selection_demo SERVER_EXE NESTORA_EXE FOLDER BEFORE.bmp AFTER.bmp
// Exit code 0 when the new folder holds the three photos and the note stayed, 1 when not,
// 2 for a bad command line, 3 when the server or the program did not come up.
#include "tests/app/tools/demo_program.h"
#include "tests/support/win/keyboard_input.h"
#include "tests/support/win/shell_server_session.h"
#include "tests/support/win/waiting.h"
#include "tests/support/win/window_picture.h"

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace nestora;
namespace fs = std::filesystem;

constexpr const wchar_t* kPhotos[] = {L"photo-1.jpg", L"photo-2.jpg", L"photo-3.jpg"};
constexpr wchar_t kNote[] = L"notes.txt";
constexpr wchar_t kName[] = L"Новая папка";

std::vector<std::wstring> NamesIn(const fs::path& folder) {
    std::vector<std::wstring> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

int wmain(int argc, wchar_t** argv); // the wide entry point (-municode)

int wmain(int argc, wchar_t** argv) {
    if (argc != 6)
        return 2;
    const fs::path folder = argv[3];
    for (const wchar_t* name : kPhotos)
        std::ofstream(folder / name, std::ios::binary) << "photo";
    std::ofstream(folder / kNote, std::ios::binary) << "note";
    if (::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED) < 0)
        return 3;
    testing::ServerWindowOptions window{{folder.wstring()}};
    window.selected.assign(std::begin(kPhotos), std::end(kPhotos));
    testing::ServerOptions options;
    options.windows = {window};
    testing::ShellServerSession server(argv[1], options);
    if (!server.Ready())
        return 3;
    const auto nestora = demo::StartInFrontOf(argv[2], server);
    if (!nestora)
        return 3;
    testing::PumpFor(std::chrono::milliseconds(500));
    if (!testing::SaveWindowPicture(server.Frame(0), argv[4]))
        std::fwprintf(stderr, L"no picture before\n");

    testing::KeyCombination selectionKey = testing::kDefaultHotKey;
    selectionKey.modifiers.push_back(VK_SHIFT);
    auto events = testing::PressesOf(selectionKey, 1);
    testing::SendInputs(events);
    testing::WaitFor([&] {
        const auto invokes = server.Invokes();
        return std::find(invokes.begin(), invokes.end(), L"w0 Refresh") != invokes.end();
    });
    testing::PumpFor(std::chrono::milliseconds(500));
    if (!testing::SaveWindowPicture(server.Frame(0), argv[5]))
        std::fwprintf(stderr, L"no picture after\n");

    const std::vector<std::wstring> moved = NamesIn(folder / kName);
    for (const std::wstring& name : moved)
        demo::PrintLine(L"  " + std::wstring(kName) + L"\\" + name);
    demo::EndProgram(*nestora);
    const bool done = moved == std::vector<std::wstring>(std::begin(kPhotos), std::end(kPhotos)) &&
                      fs::exists(folder / kNote);
    return done ? 0 : 1;
}
