// A tiny program for the guard's tests: one copy of "a program" with a single-instance
// guard, started several times at the same moment or killed while it holds the guard.
//
//   guard_probe race <title> <ready semaphore> <go event> <release event>
//       waits until go is set, runs the guard; a second copy ends at once with exit code
//       1, the first copy waits for release and ends with 0.
//   guard_probe hold <title> <ready semaphore>
//       runs the guard, signals ready and waits to be killed (exit code 0 if it never is,
//       after a minute; 1 if it was not the first copy).
#include "desktop/one_instance.h"
#include "gui/win/application.h"
#include "gui/win/handles.h"

#include <string>

namespace {

nestora::gui::UniqueKernelHandle OpenNamed(const std::wstring& name, bool semaphore) {
    return nestora::gui::UniqueKernelHandle(
        semaphore ? ::OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, name.c_str())
                  : ::OpenEventW(SYNCHRONIZE, FALSE, name.c_str()));
}

// Runs the guard as the program's loaded step does; true when this copy may run on.
bool RunGuard(nestora::gui::TApplication& app) {
    auto guard = nestora::gui::MakeComponent<nestora::desktop::TabfOneInstance>();
    guard->SetShowMessage(true);
    guard->SetLoading(true);
    guard->Loaded();
    return !app.Terminated();
}

} // namespace

int wmain(int argc, wchar_t** argv);
int wmain(int argc, wchar_t** argv) {
    if (argc < 4)
        return 3;
    const std::wstring mode = argv[1];
    nestora::gui::TApplication app;
    app.SetTitle(argv[2]);
    app.SetMessageBoxFunction(
        [](HWND, const std::wstring&, const std::wstring&, unsigned) { return IDOK; });
    app.Initialize();
    const auto ready = OpenNamed(argv[3], true);
    if (!ready)
        return 4;
    if (mode == L"race" && argc >= 6) {
        const auto go = OpenNamed(argv[4], false);
        const auto release = OpenNamed(argv[5], false);
        if (!go || !release)
            return 4;
        ::ReleaseSemaphore(ready.get(), 1, nullptr);
        if (::WaitForSingleObject(go.get(), 30000) != WAIT_OBJECT_0)
            return 5;
        if (!RunGuard(app))
            return 1;
        ::WaitForSingleObject(release.get(), 30000);
        return 0;
    }
    if (mode == L"hold") {
        const bool first = RunGuard(app);
        ::ReleaseSemaphore(ready.get(), 1, nullptr);
        if (!first)
            return 1;
        ::Sleep(60000);
        return 0;
    }
    return 3;
}
