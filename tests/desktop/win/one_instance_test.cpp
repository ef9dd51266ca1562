// The single-instance guard: the mutex names it derives, what it does when another copy
// holds the guard (message, activation, terminate request, a handler letting the copy
// run), abandoned and long-named guards, design mode, and copies of a real program
// started at the same moment (exactly one runs on).
#include "app_test_support.h"

#include "desktop/core/notify_text.h"
#include "desktop/one_instance.h"
#include "gui/core/class_info.h"
#include "gui/win/handles.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using nestora::desktop::TabfOneInstance;
using nestora::gui::testing::AppTest;

std::wstring UniqueText(const wchar_t* prefix) {
    std::random_device device;
    return prefix + std::to_wstring(device()) + L"-" + std::to_wstring(::GetCurrentProcessId());
}

// Another "copy" inside this process: a thread that owns the guard mutex until told to
// let go, releasing it or (abandon) ending without releasing it.
class GuardHolder {
public:
    GuardHolder(const std::wstring& name, bool abandon)
        : ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          release_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        thread_ = std::thread([this, name, abandon] {
            const HANDLE mutex = ::CreateMutexW(nullptr, TRUE, name.c_str());
            ::SetEvent(ready_.get());
            ::WaitForSingleObject(release_.get(), 30000);
            if (!abandon)
                ::ReleaseMutex(mutex);
            ::CloseHandle(mutex);
        });
        ::WaitForSingleObject(ready_.get(), 10000);
    }
    ~GuardHolder() { LetGo(); }
    GuardHolder(const GuardHolder&) = delete;
    GuardHolder& operator=(const GuardHolder&) = delete;
    void LetGo() {
        if (!thread_.joinable())
            return;
        ::SetEvent(release_.get());
        thread_.join();
    }

private:
    nestora::gui::UniqueKernelHandle ready_, release_;
    std::thread thread_;
};

class OneInstanceTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        title = UniqueText(L"Nestora guard test ");
        app->SetTitle(title);
        owner = nestora::gui::Create<nestora::gui::TComponent>(app.get());
    }
    TabfOneInstance* MakeGuard() { return nestora::gui::Create<TabfOneInstance>(owner); }
    static void Load(TabfOneInstance& guard) {
        guard.SetLoading(true);
        guard.Loaded();
    }

    std::wstring title;
    nestora::gui::TComponent* owner = nullptr;
};

TEST_F(OneInstanceTest, NamesComeFromTheUpperCasedPathWithForwardSlashesOrFromTheTitle) {
    EXPECT_EQ(nestora::desktop::UpperCasePath(L"C:\\Tools\\App.exe"), L"C:\\TOOLS\\APP.EXE");
    EXPECT_EQ(nestora::desktop::UpperCasePath(L"C:\\Tools\\Папка\\app.exe"), L"C:\\TOOLS\\ПАПКА\\APP.EXE");
    const auto fromPath =
        nestora::desktop::MakeGuardMutexNames(nestora::desktop::UpperCasePath(L"C:\\Tools\\App.exe"), L"");
    EXPECT_EQ(fromPath.criticalSection, L"C:/TOOLS/APP.EXE.OneInstance.CriticalSection");
    EXPECT_EQ(fromPath.guard, L"C:/TOOLS/APP.EXE.OneInstance.Default");

    auto* guard = MakeGuard();
    guard->SetIdentifier(L"X");
    EXPECT_EQ(guard->MutexNames().guard, title + L"X.OneInstance.Default"); // case kept
    guard->SetExeNameAsIdentifier(true);
    std::wstring exe = nestora::desktop::UpperCasePath(nestora::gui::TApplication::ExeName());
    std::replace(exe.begin(), exe.end(), L'\\', L'/');
    EXPECT_EQ(guard->MutexNames().guard, exe + L"X.OneInstance.Default");

    // The first copy's check leaves it holding the "Default" mutex under that name.
    Load(*guard);
    EXPECT_FALSE(guard->Terminating());
    const nestora::gui::UniqueKernelHandle held(
        ::OpenMutexW(SYNCHRONIZE, FALSE, guard->MutexNames().guard.c_str()));
    EXPECT_TRUE(held);
    // The "CriticalSection" mutex only lived during the check.
    const nestora::gui::UniqueKernelHandle gone(
        ::OpenMutexW(SYNCHRONIZE, FALSE, guard->MutexNames().criticalSection.c_str()));
    EXPECT_FALSE(gone);
}

TEST_F(OneInstanceTest, ASecondCopyIsToldWithTheTitleAndAskedToTerminate) {
    auto* guard = MakeGuard();
    guard->SetShowMessage(true);
    GuardHolder first(guard->MutexNames().guard, false);
    Load(*guard);
    EXPECT_TRUE(guard->Terminating());
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(app->ShowMainForm());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Application \"" + title + L"\" is already running.");
    EXPECT_EQ(boxes[0].caption, title);
    EXPECT_EQ(boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[0].owner, app->Handle());
}

TEST_F(OneInstanceTest, AGivenMessageIsShownAsItStandsAndWithoutShowMessageNothingIs) {
    auto* guard = MakeGuard();
    GuardHolder first(guard->MutexNames().guard, false);
    guard->SetMessage(L"Nestora is running already.");
    EXPECT_TRUE(guard->IsPrevInstanceRunning());
    guard->CheckOneInstance();
    EXPECT_TRUE(boxes.empty());
    guard->SetShowMessage(true);
    guard->CheckOneInstance();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Nestora is running already.");
}

TEST_F(OneInstanceTest, AHandlerClearingTerminateLetsTheCopyRunAndActivationStillHappens) {
    // The other copy's application window: same class, same title (letter case aside),
    // minimised.
    const HWND other =
        ::CreateWindowExW(0, L"TApplication", title.c_str(), WS_POPUP | WS_CAPTION | WS_MINIMIZE, 0,
                          0, 100, 50, nullptr, nullptr, nestora::gui::FrameworkInstance(), nullptr);
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(::IsIconic(other));
    auto* guard = MakeGuard();
    EXPECT_EQ(guard->FindPrevInstanceWindow(), other);
    guard->SetShowMessage(true);
    int calls = 0;
    guard->SetOnShowMessage([&](nestora::gui::TObject* sender, bool& terminate) {
        EXPECT_EQ(sender, guard);
        EXPECT_TRUE(terminate);
        EXPECT_FALSE(app->ShowMainForm()); // cleared while deciding
        terminate = false;
        ++calls;
    });
    GuardHolder first(guard->MutexNames().guard, false);
    Load(*guard);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(app->Terminated());
    EXPECT_TRUE(app->ShowMainForm());
    EXPECT_FALSE(::IsIconic(other)); // restored with OpenIcon
    ::DestroyWindow(other);
}

TEST_F(OneInstanceTest, TheSearchSkipsThisCopysOwnWindowAndOtherTitles) {
    auto* guard = MakeGuard();
    EXPECT_EQ(guard->FindPrevInstanceWindow(), nullptr); // only its own window has the title
    const HWND otherTitle =
        ::CreateWindowExW(0, L"TApplication", L"Some other program", WS_POPUP, 0, 0, 0, 0, nullptr,
                          nullptr, nestora::gui::FrameworkInstance(), nullptr);
    EXPECT_EQ(guard->FindPrevInstanceWindow(), nullptr);
    std::wstring upper = title;
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(::towupper(c));
    const HWND sameTitle =
        ::CreateWindowExW(0, L"TApplication", upper.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                          nestora::gui::FrameworkInstance(), nullptr);
    EXPECT_EQ(guard->FindPrevInstanceWindow(), sameTitle);
    ::DestroyWindow(otherTitle);
    ::DestroyWindow(sameTitle);
}

TEST_F(OneInstanceTest, AnAbandonedGuardIsTakenOverByTheNextCopy) {
    auto* guard = MakeGuard();
    guard->SetShowMessage(true);
    {
        GuardHolder crashed(guard->MutexNames().guard, true);
        EXPECT_TRUE(guard->IsPrevInstanceRunning());
    }
    Load(*guard);
    EXPECT_FALSE(guard->Terminating());
    EXPECT_FALSE(app->Terminated());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OneInstanceTest, AGuardWithAVeryLongNameStillWorks) {
    app->SetTitle(std::wstring(400, L'N'));
    auto* guard = MakeGuard();
    EXPECT_LE(nestora::desktop::Utf16Length(guard->MutexNames().criticalSection),
              nestora::desktop::kMaxKernelObjectName);
    GuardHolder first(guard->MutexNames().guard, false);
    EXPECT_TRUE(guard->IsPrevInstanceRunning());
    first.LetGo();
    EXPECT_FALSE(guard->IsPrevInstanceRunning()); // now this copy is the first
}

TEST_F(OneInstanceTest, InDesignModeNoCopyIsEverRunningAndNoMutexIsMade) {
    owner->SetDesigning(true);
    auto* guard = MakeGuard();
    GuardHolder first(guard->MutexNames().guard, false);
    guard->SetShowMessage(true);
    Load(*guard);
    EXPECT_FALSE(guard->IsPrevInstanceRunning());
    EXPECT_FALSE(app->Terminated());
    EXPECT_TRUE(boxes.empty());
    const nestora::gui::UniqueKernelHandle none(
        ::OpenMutexW(SYNCHRONIZE, FALSE, guard->MutexNames().criticalSection.c_str()));
    EXPECT_FALSE(none);
}

TEST_F(OneInstanceTest, PublishesItsPropertiesInTheirOrder) {
    std::vector<std::string> names;
    for (const nestora::gui::PropertyInfo* p : TabfOneInstance::StaticClassInfo().Properties())
        names.emplace_back(p->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "ActivatePrevInstance",
                                               "ExeNameAsIdentifier", "Message", "Identifier",
                                               "ShowMessage", "OnShowMessage"}));
    auto* guard = MakeGuard();
    EXPECT_TRUE(guard->ActivatePrevInstance());
    EXPECT_FALSE(guard->ExeNameAsIdentifier());
    EXPECT_FALSE(guard->ShowMessage());
}

// ---- copies of a real program --------------------------------------------------------

std::wstring ProbePath() {
    std::wstring path = nestora::gui::TApplication::ExeName();
    path.resize(path.find_last_of(L'\\') + 1);
    return path + L"desktop_guard_probe.exe";
}

struct Probe {
    nestora::gui::UniqueKernelHandle process;
    DWORD id = 0;
};

Probe StartProbe(const std::wstring& arguments) {
    std::wstring command = L"\"" + ProbePath() + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    Probe probe;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi))
        return probe;
    ::CloseHandle(pi.hThread);
    probe.process.reset(pi.hProcess);
    probe.id = pi.dwProcessId;
    return probe;
}

DWORD ExitCodeOf(const Probe& probe) {
    DWORD code = 99;
    ::GetExitCodeProcess(probe.process.get(), &code);
    return code;
}

std::wstring Quoted(const std::wstring& s) {
    return L"\"" + s + L"\"";
}

TEST(OneInstanceProcesses, OfCopiesStartedAtTheSameMomentExactlyOneRunsOn) {
    constexpr int kRounds = 3;
    constexpr int kCopies = 3;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        const std::wstring title = UniqueText(L"Nestora race ");
        const std::wstring readyName = UniqueText(L"NestoraRaceReady");
        const std::wstring goName = UniqueText(L"NestoraRaceGo");
        const std::wstring releaseName = UniqueText(L"NestoraRaceRelease");
        const nestora::gui::UniqueKernelHandle ready(
            ::CreateSemaphoreW(nullptr, 0, kCopies, readyName.c_str()));
        const nestora::gui::UniqueKernelHandle go(::CreateEventW(nullptr, TRUE, FALSE, goName.c_str()));
        const nestora::gui::UniqueKernelHandle release(
            ::CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str()));
        std::vector<Probe> probes;
        for (int i = 0; i < kCopies; ++i) {
            probes.push_back(StartProbe(L"race " + Quoted(title) + L" " + readyName + L" " +
                                        goName + L" " + releaseName));
            ASSERT_TRUE(probes.back().process) << "the probe did not start";
        }
        for (int i = 0; i < kCopies; ++i)
            ASSERT_EQ(::WaitForSingleObject(ready.get(), 30000), WAIT_OBJECT_0);
        ::SetEvent(go.get()); // all of them at once

        // The second copies end by themselves; the first waits to be released.
        int ended = 0;
        for (int waited = 0; ended < kCopies - 1 && waited < 30000; waited += 20) {
            ended = 0;
            for (const Probe& p : probes)
                ended += ::WaitForSingleObject(p.process.get(), 0) == WAIT_OBJECT_0 ? 1 : 0;
            ::Sleep(20);
        }
        EXPECT_EQ(ended, kCopies - 1);
        ::SetEvent(release.get());
        int firsts = 0, seconds = 0;
        for (const Probe& p : probes) {
            ASSERT_EQ(::WaitForSingleObject(p.process.get(), 30000), WAIT_OBJECT_0);
            const DWORD code = ExitCodeOf(p);
            firsts += code == 0 ? 1 : 0;
            seconds += code == 1 ? 1 : 0;
        }
        EXPECT_EQ(firsts, 1);
        EXPECT_EQ(seconds, kCopies - 1);
    }
}

class OneInstanceProcessTest : public OneInstanceTest {
protected:
    // Starts a copy that becomes the first and holds the guard for this test's title.
    Probe StartHolder() {
        const std::wstring readyName = UniqueText(L"NestoraHoldReady");
        const nestora::gui::UniqueKernelHandle ready(::CreateSemaphoreW(nullptr, 0, 1, readyName.c_str()));
        Probe probe = StartProbe(L"hold " + Quoted(title) + L" " + readyName);
        EXPECT_TRUE(probe.process);
        if (probe.process) {
            EXPECT_EQ(::WaitForSingleObject(ready.get(), 30000), WAIT_OBJECT_0);
        }
        return probe;
    }
};

TEST_F(OneInstanceProcessTest, ASecondCopyFindsTheFirstCopysApplicationWindow) {
    Probe first = StartHolder();
    ASSERT_TRUE(first.process);
    auto* guard = MakeGuard();
    guard->SetShowMessage(true);
    const HWND found = guard->FindPrevInstanceWindow();
    ASSERT_NE(found, nullptr);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(found, &pid);
    EXPECT_EQ(pid, first.id);
    Load(*guard);
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(boxes.size(), 1u);
    ::TerminateProcess(first.process.get(), 7);
    ::WaitForSingleObject(first.process.get(), 30000);
}

TEST_F(OneInstanceProcessTest, ACopyKilledWhileHoldingTheGuardLeavesItToTheNext) {
    Probe first = StartHolder();
    ASSERT_TRUE(first.process);
    auto* guard = MakeGuard();
    EXPECT_TRUE(guard->IsPrevInstanceRunning());
    ::TerminateProcess(first.process.get(), 7); // never released: abandoned
    ASSERT_EQ(::WaitForSingleObject(first.process.get(), 30000), WAIT_OBJECT_0);
    guard->SetShowMessage(true);
    Load(*guard);
    EXPECT_FALSE(app->Terminated());
    EXPECT_TRUE(boxes.empty());
}

} // namespace
