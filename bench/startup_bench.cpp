// Start-up time and footprint at rest of a tray program against the floor (tray_floor),
// started in turns.
//
// The time runs from just before CreateProcessW until the program's first tray request
// arrives. This benchmark plays the shell's tray for that: Shell_NotifyIconW hands every
// request to the top-level window of class "Shell_TrayWnd" as WM_COPYDATA (Windows and
// Wine alike), so the window made here, put in front of any other of that class, sees the
// moment the icon is added and answers it as accepted.
//
// At rest (a second after the icon came, messages handled meanwhile) it reads the private
// bytes as the committed private pages of the process's address space (VirtualQueryEx:
// Wine reports 0 for PrivateUsage) and the working set (GetProcessMemoryInfo), then ends
// the program.
//
//   startup_bench <program.exe> <floor.exe> [rounds]
#include "bench/bench_stats.h"

#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace nestora;
using Clock = std::chrono::steady_clock;

// What the tray window has seen of the program being started.
struct TrayWatch {
    DWORD processId = 0;
    bool added = false;
    Clock::time_point addedAt;
};

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        auto* watch = reinterpret_cast<TrayWatch*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        DWORD sender = 0;
        ::GetWindowThreadProcessId(reinterpret_cast<HWND>(wParam), &sender);
        if (watch && !watch->added && sender == watch->processId && sender != 0) {
            watch->added = true;
            watch->addedAt = Clock::now();
        }
        return TRUE;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void pumpFor(std::chrono::milliseconds time, const std::function<bool()>& done) {
    const auto end = Clock::now() + time;
    while (!done() && Clock::now() < end) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
}

double privateBytes(HANDLE process) {
    double total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* address = static_cast<char*>(nullptr);
         ::VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;
         address = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<double>(region.RegionSize);
    }
    return total;
}

struct Sample {
    double startMs = -1;
    double privateBytes = 0;
    double workingSet = 0;
};

Sample startOnce(const std::wstring& program, TrayWatch& watch) {
    Sample sample;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const auto start = Clock::now();
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return sample;
    watch = TrayWatch{};
    watch.processId = process.dwProcessId;
    pumpFor(std::chrono::seconds(20), [&] { return watch.added; });
    if (watch.added) {
        sample.startMs = std::chrono::duration<double, std::milli>(watch.addedAt - start).count();
        pumpFor(std::chrono::seconds(1), [] { return false; });
        sample.privateBytes = privateBytes(process.hProcess);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (::GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters))
            sample.workingSet = static_cast<double>(counters.WorkingSetSize);
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 5000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    watch.processId = 0;
    return sample;
}

std::wstring widen(const char* text) {
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size - 1 : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), size);
    return wide;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: startup_bench <program.exe> <floor.exe> [rounds]\n");
        return 2;
    }
    const std::wstring programs[] = {widen(argv[1]), widen(argv[2])};
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 9;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TrayWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Shell_TrayWnd";
    ::RegisterClassW(&windowClass);
    const HWND tray = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0,
                                        0, nullptr, nullptr, windowClass.hInstance, nullptr);
    TrayWatch watch;
    ::SetWindowLongPtrW(tray, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&watch));
    ::SetWindowPos(tray, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (::FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr) != tray) {
        std::printf("another Shell_TrayWnd comes first: the tray requests can't be watched\n");
        return 1;
    }

    // One start of each first, unmeasured: the files come into the cache.
    for (const auto& program : programs)
        startOnce(program, watch);

    std::vector<double> startMs[2], privates[2], workingSets[2];
    bool failed = false;
    for (int round = 0; round < rounds; ++round) {
        for (int which = 0; which < 2; ++which) {
            const Sample sample = startOnce(programs[which], watch);
            if (sample.startMs < 0) {
                failed = true;
                continue;
            }
            startMs[which].push_back(sample.startMs);
            privates[which].push_back(sample.privateBytes);
            workingSets[which].push_back(sample.workingSet);
        }
    }
    ::DestroyWindow(tray);
    if (failed || startMs[0].empty() || startMs[1].empty()) {
        std::printf("a program did not add its tray icon within 20 s\n");
        return 1;
    }

    const double start[2] = {bench::median(startMs[0]), bench::median(startMs[1])};
    const double privateKiB[2] = {bench::median(privates[0]) / 1024,
                                  bench::median(privates[1]) / 1024};
    const double workingKiB[2] = {bench::median(workingSets[0]) / 1024,
                                  bench::median(workingSets[1]) / 1024};
    const double startRatio = bench::ratio(start[0], start[1]);
    const double privateOver = privateKiB[0] - privateKiB[1];
    bench::Table table({"measure", "nestora.exe", "floor", "nestora / floor", "nestora - floor"});
    table.addRow({"start to tray icon added, ms", bench::fixed(start[0], 1),
                  bench::fixed(start[1], 1), bench::fixed(startRatio, 2),
                  bench::fixed(start[0] - start[1], 1)});
    table.addRow({"private bytes at rest, KiB", bench::fixed(privateKiB[0], 0),
                  bench::fixed(privateKiB[1], 0),
                  bench::fixed(bench::ratio(privateKiB[0], privateKiB[1]), 2),
                  bench::fixed(privateOver, 0)});
    table.addRow({"working set at rest, KiB", bench::fixed(workingKiB[0], 0),
                  bench::fixed(workingKiB[1], 0),
                  bench::fixed(bench::ratio(workingKiB[0], workingKiB[1]), 2),
                  bench::fixed(workingKiB[0] - workingKiB[1], 0)});
    const bool met = startRatio <= 1.5 && privateOver <= 1024;
    std::printf("Start-up and footprint (median of %d starts of each, in turns)\n\n%s\n", rounds,
                table.render().c_str());
    std::printf("targets: start-up <= 1.5 x floor, private bytes <= floor + 1 MiB: %s\n",
                met ? "met" : "MISSED");
    return met ? 0 : 1;
}
