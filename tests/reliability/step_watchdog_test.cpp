// The process programs' watchdog: a step that outlives its deadline leaves winedbg's
// stacks of the watched program in the results folder; a step done in time leaves nothing.
#include "step_watchdog.h"

#include "tests/support/core/windows_path.h"
#include "tests/support/win/child_process.h"
#include "tests/support/win/waiting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace nestora::reliability {
namespace {

using namespace std::chrono_literals;

std::string FileText(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(StepWatchdog, AStepPastItsDeadlineLeavesTheStacksOfTheProgramBehind) {
    testing::ChildProcess probe(testing::WindowsPathOf(NESTORA_SUPPORT_PROBE_EXE),
                                {.arguments = L"window"});
    ASSERT_TRUE(probe.WaitForWindow(L"NestoraSupportProbe"));
    StepWatchdog watchdog(probe.Id());
    watchdog.Step("in time", 5s);
    watchdog.Done();
    watchdog.Step("stuck", 50ms);
    ASSERT_TRUE(testing::WaitFor([&] { return !watchdog.Dumps().empty(); }, 90s));
    const std::vector<std::wstring> dumps = watchdog.Dumps();
    ASSERT_EQ(dumps.size(), 1u) << "one dump for the step that passed its deadline";
    EXPECT_NE(dumps[0].find(L"stuck"), std::wstring::npos);
    EXPECT_NE(dumps[0].find(std::to_wstring(probe.Id())), std::wstring::npos);
    // The probe's stacks: its one thread waits for messages.
    const std::string text = FileText(dumps[0]);
    const std::size_t probeThread = text.find("support_probe.exe):\nBacktrace:");
    ASSERT_NE(probeThread, std::string::npos) << text.substr(0, 2000);
    EXPECT_NE(text.find("GetMessageW", probeThread), std::string::npos);
    // Still running afterwards: the watchdog only looks.
    EXPECT_TRUE(probe.Running());
}

} // namespace
} // namespace nestora::reliability
