// What the demonstration tools share: the program started beside the stand-in shell
// server with the server's window in front, a line printed as scripts/run's terminal reads
// it, and the program ended as its window's closing ends it.
#pragma once

#include "gui/core/utf.h"

#include "tests/support/win/child_process.h"
#include "tests/support/win/shell_server_session.h"
#include "tests/support/win/waiting.h"

#include <cstdio>
#include <optional>
#include <string>

namespace nestora::demo {

// nestora.exe started and idle, the server's window in front; nothing when either fails.
inline std::optional<testing::ChildProcess>
StartInFrontOf(const std::wstring& exe, const testing::ShellServerSession& server) {
    testing::ChildProcess nestora(exe);
    if (!nestora.Started() || !nestora.WaitForWindow(L"TForm1"))
        return std::nullopt;
    nestora.WaitUntilIdle();
    if (!testing::WaitFor([&] { return ::GetForegroundWindow() == server.Front(); }))
        return std::nullopt;
    return nestora;
}

inline void EndProgram(const testing::ChildProcess& nestora) {
    if (const HWND window = nestora.Window(L"TForm1"))
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    nestora.ExitCode();
}

// UTF-8, as the script's terminal reads it.
inline void PrintLine(const std::wstring& text) {
    const std::string line = gui::WideToUtf8(text + L"\n");
    std::fwrite(line.data(), 1, line.size(), stdout);
}

} // namespace nestora::demo
