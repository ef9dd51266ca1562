// Start-up time and footprint at rest of a tray program against floors (tray_floor and
// others), started in turns.
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
//   startup_bench <rounds> <program.exe> <floor.exe> [<floor.exe> ...]
#include "bench/bench_stats.h"
#include "bench/process_watch.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace nestora;
using Clock = std::chrono::steady_clock;

void PumpFor(std::chrono::milliseconds time, const std::function<bool()>& done) {
    const auto end = Clock::now() + time;
    while (!done() && Clock::now() < end) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
    }
}

// A started program: its process and thread handles, closed when this goes; the program is
// ended first if it still runs.
class StartedProgram {
public:
    explicit StartedProgram(const PROCESS_INFORMATION& info) : info_(info) {}
    ~StartedProgram() {
        ::TerminateProcess(info_.hProcess, 0);
        ::WaitForSingleObject(info_.hProcess, 5000);
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    HANDLE ProcessHandle() const { return info_.hProcess; }
    DWORD Id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_;
};

struct Sample {
    double startMs = -1;
    double privateBytes = 0;
    double workingSet = 0;
};

Sample StartOnce(const std::wstring& program, bench::TrayWindow& tray) {
    Sample sample;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const auto start = Clock::now();
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info))
        return sample;
    const StartedProgram started(info);
    tray.Watch(started.Id());
    PumpFor(std::chrono::seconds(20), [&] { return tray.Added(); });
    if (tray.Added()) {
        sample.startMs = std::chrono::duration<double, std::milli>(tray.AddedAt() - start).count();
        PumpFor(std::chrono::seconds(1), [] { return false; });
        sample.privateBytes = bench::PrivateBytesOf(started.ProcessHandle());
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (::GetProcessMemoryInfo(started.ProcessHandle(), &counters, sizeof counters))
            sample.workingSet = static_cast<double>(counters.WorkingSetSize);
    }
    tray.Watch(0);
    return sample;
}

std::wstring Widen(const char* text) {
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size - 1 : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), size);
    return wide;
}

std::string NarrowName(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    std::string name;
    for (const wchar_t c : path.substr(slash == std::wstring::npos ? 0 : slash + 1))
        name += c < 0x80 ? static_cast<char>(c) : '?';
    return name;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::printf("usage: startup_bench <rounds> <program.exe> <floor.exe> [<floor.exe> ...]\n");
        return 2;
    }
    const int rounds = std::atoi(argv[1]);
    std::vector<std::wstring> programs;
    for (int i = 2; i < argc; ++i)
        programs.push_back(Widen(argv[i]));
    const std::size_t count = programs.size();

    bench::TrayWindow tray;
    if (!tray.first()) {
        std::printf("another Shell_TrayWnd comes first: the tray requests can't be watched\n");
        return 1;
    }

    // One start of each first, unmeasured: the files come into the cache.
    for (const auto& program : programs)
        StartOnce(program, tray);

    std::vector<std::vector<double>> startMs(count), privates(count), workingSets(count);
    bool failed = false;
    for (int round = 0; round < rounds; ++round) {
        std::vector<Sample> samples;
        for (std::size_t which = 0; which < count; ++which)
            samples.push_back(StartOnce(programs[which], tray));
        if (std::any_of(samples.begin(), samples.end(),
                        [](const Sample& s) { return s.startMs < 0; })) {
            failed = true;
            continue;
        }
        for (std::size_t which = 0; which < count; ++which) {
            startMs[which].push_back(samples[which].startMs);
            privates[which].push_back(samples[which].privateBytes / 1024);
            workingSets[which].push_back(samples[which].workingSet / 1024);
        }
    }
    for (std::size_t which = 0; which < count; ++which)
        failed = failed || startMs[which].empty();
    if (failed) {
        std::printf("a program did not add its tray icon within 20 s\n");
        return 1;
    }

    std::vector<std::string> headers{"median of " + std::to_string(rounds) + " starts"};
    for (const auto& program : programs)
        headers.push_back(NarrowName(program));
    bench::Table table(headers);
    const auto start = bench::MediansOf(startMs);
    const auto privateKiB = bench::MediansOf(privates);
    const auto workingKiB = bench::MediansOf(workingSets);
    auto row = [&](const std::string& name, const std::vector<double>& values) {
        std::vector<std::string> cells{name};
        for (const double value : values)
            cells.push_back(bench::Fixed(value, name.find("ms") != std::string::npos ? 1 : 0));
        table.AddRow(cells);
    };
    row("start to tray icon added, ms", start);
    // The spread, so a reader sees how noisy the machine was during the run: the quartiles
    // hold the middle half of the starts, the extremes show the stalls.
    std::vector<double> fastest, lowerQuartile, upperQuartile, slowest;
    for (const auto& runs : startMs) {
        fastest.push_back(*std::min_element(runs.begin(), runs.end()));
        const bench::Quartiles q = bench::QuartilesOf(runs);
        lowerQuartile.push_back(q.lower);
        upperQuartile.push_back(q.upper);
        slowest.push_back(*std::max_element(runs.begin(), runs.end()));
    }
    row("  fastest start, ms", fastest);
    row("  lower quartile, ms", lowerQuartile);
    row("  upper quartile, ms", upperQuartile);
    row("  slowest start, ms", slowest);
    row("private bytes at rest, KiB", privateKiB);
    row("working set at rest, KiB", workingKiB);

    // Starts that failed are left out whole rounds at a time, so the runs stay paired.
    bench::Table against({"program against", "start-up ratio (medians)",
                          "start-up ratio (median per round)", "private bytes over, KiB",
                          "working set over, KiB"});
    for (std::size_t floor = 1; floor < count; ++floor) {
        against.AddRow({NarrowName(programs[floor]),
                        bench::Fixed(bench::Ratio(start[0], start[floor]), 2),
                        bench::Fixed(bench::MedianOfPairedRatios(startMs[0], startMs[floor]), 2),
                        bench::Fixed(privateKiB[0] - privateKiB[floor], 0),
                        bench::Fixed(workingKiB[0] - workingKiB[floor], 0)});
    }
    const double startRatio = bench::Ratio(start[0], start[1]);
    const bool met = startRatio <= 1.5 && privateKiB[0] - privateKiB[1] <= 1024;
    std::printf("Start-up and footprint (starts in turns)\n\n%s\n%s\n", table.Render().c_str(),
                against.Render().c_str());
    std::printf("targets against %s: start-up <= 1.5 x, private bytes <= + 1024 KiB: %s\n",
                NarrowName(programs[1]).c_str(), met ? "met" : "MISSED");
    return met ? 0 : 1;
}
