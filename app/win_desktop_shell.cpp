#include "app/win_desktop_shell.h"

#include "app/shell_ids.h"
#include "app/win_shell_view.h"

#include "gui/core/exceptions.h"
#include "gui/win/registry.h"

#include <exdisp.h>
#include <knownfolders.h>
#include <oleauto.h>
#include <servprov.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace nestora::app {

namespace {

constexpr wchar_t kShellFoldersKey[] =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct CoTaskMemDeleter {
    void operator()(void* memory) const noexcept { ::CoTaskMemFree(memory); }
};
using CoTaskText = std::unique_ptr<wchar_t, CoTaskMemDeleter>;

std::wstring ExpandEnvironment(const std::wstring& text) {
    const DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (size == 0)
        return text;
    std::vector<wchar_t> buffer(size);
    const DWORD written = ::ExpandEnvironmentStringsW(text.c_str(), buffer.data(), size);
    if (written == 0 || written > size)
        return text;
    return std::wstring(buffer.data());
}

// The shell view of the desktop, or null.
ComPtr<IShellView> DesktopShellView() {
    ComPtr<IShellWindows> shellWindows;
    if (FAILED(::CoCreateInstance(kShellWindowsClass, nullptr, CLSCTX_LOCAL_SERVER,
                                  IID_PPV_ARGS(&shellWindows))))
        return nullptr;
    VARIANT location{};
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    VARIANT root{};
    long window = 0;
    ComPtr<IDispatch> desktop;
    if (shellWindows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                                   &desktop) != S_OK ||
        !desktop)
        return nullptr;
    return ActiveShellViewOf(*desktop.Get());
}

// The desktop's view, looked for anew at every attempt: the shell may have restarted
// between two of them.
class DesktopRenameView final : public RenameView {
public:
    RenameAttempt TrySelectForRename(const std::wstring& path) override {
        const ComPtr<IShellView> view = DesktopShellView();
        return view ? SelectInViewForRename(*view.Get(), path) : RenameAttempt::noView;
    }
};

} // namespace

std::wstring RegisteredDesktopPath(HKEY root) {
    try {
        gui::TRegistry registry(KEY_QUERY_VALUE);
        registry.SetRootKey(root);
        if (!registry.OpenKeyReadOnly(kShellFoldersKey))
            return {};
        const bool expand = registry.GetDataType(L"Desktop") == gui::TRegDataType::rdExpandString;
        const std::wstring path = registry.ReadString(L"Desktop");
        return expand ? ExpandEnvironment(path) : path;
    } catch (const gui::ERegistryException&) {
        return {}; // a value of another type: as good as missing
    }
}

std::wstring KnownDesktopPath() {
    PWSTR raw = nullptr;
    const HRESULT status = ::SHGetKnownFolderPath(kDesktopFolderId, 0, nullptr, &raw);
    const CoTaskText path(raw);
    if (FAILED(status) || !path)
        return {};
    return std::wstring(path.get());
}

std::wstring SystemDesktopShell::DesktopPath() {
    std::wstring path = knownFolder_ ? knownFolder_() : std::wstring();
    if (path.empty())
        path = RegisteredDesktopPath(userRoot_);
    return path;
}

void SystemDesktopShell::AnnounceNewFolder(const std::wstring& path) {
    ::SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW | SHCNF_FLUSH, path.c_str(), nullptr);
}

bool SystemDesktopShell::StartRename(const std::wstring& path) {
    return rename_.Start(std::make_unique<DesktopRenameView>(), path);
}

std::vector<std::wstring> SystemDesktopShell::SelectedPaths() {
    const ComPtr<IShellView> view = DesktopShellView();
    return view ? SelectedPathsInView(*view.Get()) : std::vector<std::wstring>();
}

} // namespace nestora::app
