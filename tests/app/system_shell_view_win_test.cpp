// The press's view calls against the system's own shell view (the explorer browser object
// hosted in a test window, as Explorer hosts it): the new folder selected alone with its
// label being edited, a folder the view doesn't list yet waited for until it does, and the
// selection read back as paths.
#include "app/win_file_system.h"
#include "app/win_item_mover.h"
#include "app/win_shell_view.h"
#include "app/win_thread_timer.h"
#include "tests/app/main_window_stand_ins.h"

#include "gui/win/handles.h"
#include "tests/support/win/waiting.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using Microsoft::WRL::ComPtr;

namespace nestora::app {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Texts = std::vector<std::wstring>;

// CLSID_ExplorerBrowser.
constexpr CLSID kExplorerBrowserClass = {
    0x71F96385, 0xDDD6, 0x48D3, {0xA0, 0xC1, 0xAE, 0x06, 0xE8, 0xB0, 0x55, 0xFB}};

struct IdListDeleter {
    void operator()(ITEMIDLIST* list) const noexcept { ::CoTaskMemFree(list); }
};
using IdList = std::unique_ptr<ITEMIDLIST, IdListDeleter>;

// One Explorer window with the focus, showing the hosted view: the press's seams over it.
class HostedWindow final : public ShellAutomation,
                           public ShellWindowCollection,
                           public PressWindows {
public:
    HostedWindow(std::wstring location, ComPtr<IShellView> view)
        : location_(std::move(location)), view_(std::move(view)) {}

    std::unique_ptr<ShellWindowCollection> Windows() override {
        return std::make_unique<Borrowed>(*this);
    }
    std::optional<long> Count() override { return 1; }
    std::unique_ptr<ShellWindowItem> Item(long) override {
        return std::make_unique<Window>(location_, view_);
    }
    bool IsMinimised(WindowId) override { return false; }
    WindowId ForegroundWindow() override { return kFrame; }
    bool IsDesktop(WindowId) override { return false; }
    WindowId ActiveTab(WindowId) override { return 0; }

private:
    static constexpr WindowId kFrame = 0x10010;
    class Borrowed final : public ShellWindowCollection {
    public:
        explicit Borrowed(ShellWindowCollection& of) : of_(of) {}
        std::optional<long> Count() override { return of_.Count(); }
        std::unique_ptr<ShellWindowItem> Item(long i) override { return of_.Item(i); }

    private:
        ShellWindowCollection& of_;
    };
    class Window final : public ShellWindowItem {
    public:
        Window(std::wstring location, ComPtr<IShellView> view)
            : location_(std::move(location)), view_(std::move(view)) {}
        std::optional<WindowId> FrameWindow() override { return kFrame; }
        std::optional<std::wstring> LocationUrl() override { return location_; }
        void Refresh() override { view_->Refresh(); }
        std::optional<WindowId> BrowserWindow() override { return std::nullopt; }
        std::unique_ptr<ShellFolderView> ActiveView() override {
            return ShellFolderViewOver(view_);
        }

    private:
        std::wstring location_;
        ComPtr<IShellView> view_;
    };
    std::wstring location_;
    ComPtr<IShellView> view_;
};

class SystemShellViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 (L"nestora-realview-" + std::to_wstring(::GetCurrentProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
            std::ofstream(folder / name) << "x";
        ASSERT_TRUE(frame);
        ASSERT_HRESULT_SUCCEEDED(::CoCreateInstance(kExplorerBrowserClass, nullptr,
                                                    CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&browser)));
        RECT area{0, 0, 600, 400};
        FOLDERSETTINGS settings{FVM_DETAILS, 0};
        ASSERT_HRESULT_SUCCEEDED(browser->Initialize(frame.get(), &area, &settings));
        PIDLIST_ABSOLUTE raw = nullptr;
        ASSERT_HRESULT_SUCCEEDED(
            ::SHParseDisplayName(folder.wstring().c_str(), nullptr, &raw, 0, nullptr));
        const IdList list(raw);
        ASSERT_HRESULT_SUCCEEDED(browser->BrowseToIDList(list.get(), SBSP_ABSOLUTE));
        nestora::testing::PumpFor(100ms);
        ASSERT_HRESULT_SUCCEEDED(browser->GetCurrentView(IID_PPV_ARGS(&view)));
    }
    void TearDown() override {
        view.Reset();
        if (browser)
            browser->Destroy();
        browser.Reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    void Select(std::vector<std::wstring> names) {
        ComPtr<IFolderView> folderView;
        ComPtr<IShellFolder> shellFolder;
        ASSERT_HRESULT_SUCCEEDED(view.As(&folderView));
        ASSERT_HRESULT_SUCCEEDED(folderView->GetFolder(IID_PPV_ARGS(&shellFolder)));
        for (std::wstring& name : names) {
            PIDLIST_RELATIVE raw = nullptr;
            ASSERT_HRESULT_SUCCEEDED(shellFolder->ParseDisplayName(nullptr, nullptr, name.data(),
                                                                   nullptr, &raw, nullptr));
            const IdList item(reinterpret_cast<ITEMIDLIST*>(raw));
            ASSERT_HRESULT_SUCCEEDED(
                view->SelectItem(reinterpret_cast<PCUITEMID_CHILD>(item.get()), SVSI_SELECT));
        }
    }
    std::wstring EditedName() const {
        const HWND edit = ListView_GetEditControl(ListView());
        wchar_t text[64] = {};
        if (edit)
            ::GetWindowTextW(edit, text, 64);
        return text;
    }
    HWND ListView() const {
        HWND viewWindow = nullptr;
        view->GetWindow(&viewWindow);
        return ::FindWindowExW(viewWindow, nullptr, WC_LISTVIEWW, nullptr);
    }

    fs::path folder;
    const gui::UniqueWindow frame{::CreateWindowExW(0, L"STATIC", L"Explorer",
                                                    WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr,
                                                    nullptr, nullptr, nullptr)};
    ComPtr<IExplorerBrowser> browser;
    ComPtr<IShellView> view;
};

TEST_F(SystemShellViewTest, TheNewFolderIsSelectedAloneWithItsNameBeingEdited) {
    const fs::path made = folder / L"Новая папка";
    fs::create_directory(made);
    ASSERT_HRESULT_SUCCEEDED(view->Refresh());
    nestora::testing::PumpFor(100ms);
    EXPECT_EQ(SelectInViewForRename(*view.Get(), made.wstring()), RenameAttempt::done);
    nestora::testing::PumpFor(100ms);
    const HWND list = ListView();
    ASSERT_TRUE(list);
    const HWND edit = ListView_GetEditControl(list);
    ASSERT_TRUE(edit) << "no label being edited";
    wchar_t text[64] = {};
    ::GetWindowTextW(edit, text, 64);
    EXPECT_STREQ(text, L"Новая папка");
    EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
}

TEST_F(SystemShellViewTest, AFolderTheViewHasNotListedYetIsWaitedFor) {
    const fs::path made = folder / L"Новая папка";
    fs::create_directory(made);
    // No refresh and no change notice yet: the view doesn't show it.
    EXPECT_EQ(SelectInViewForRename(*view.Get(), made.wstring()), RenameAttempt::notYet);
    EXPECT_FALSE(ListView_GetEditControl(ListView()));

    // Waited for between messages: once the view lists it, it is put into rename mode.
    ThreadTimer timer;
    FolderRename rename(timer);
    EXPECT_TRUE(rename.Start(ShellFolderViewOver(view), made.wstring()));
    EXPECT_TRUE(rename.Waiting());
    nestora::testing::PumpFor(120ms);
    ASSERT_HRESULT_SUCCEEDED(view->Refresh());
    ASSERT_TRUE(nestora::testing::WaitFor([&] { return !rename.Waiting(); }, 3s));
    const HWND edit = ListView_GetEditControl(ListView());
    ASSERT_TRUE(edit) << "no label being edited";
    wchar_t text[64] = {};
    ::GetWindowTextW(edit, text, 64);
    EXPECT_STREQ(text, L"Новая папка");
}

TEST_F(SystemShellViewTest, TheSelectionKeyMovesWhatTheViewHasSelectedAndRenamesTheFolderThere) {
    EXPECT_TRUE(SelectedPathsInView(*view.Get()).empty());
    Select({L"a.txt", L"c.txt"});
    std::wstring url = L"file:///" + folder.wstring();
    std::replace(url.begin(), url.end(), L'\\', L'/');
    HostedWindow window(url, view);
    WindowsFileSystem files;
    ScratchDesktop desktop(L"");
    ShellItemMover mover;
    ThreadTimer timer;
    FolderRename rename(timer);
    NewFolderTargets targets(files, desktop, {L"Новая папка", L"Новая папка"});
    targets.SetSelectionMover(&mover);
    targets.SetRenameStarter([&](std::unique_ptr<RenameView> v, const std::wstring& path) {
        rename.Start(std::move(v), path);
    });
    HandleHotKeyPress(&window, window, targets, PressKind::withSelection);

    Texts left;
    for (const auto& entry : fs::directory_iterator(folder))
        left.push_back(entry.path().filename().wstring());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (Texts{L"b.txt", L"Новая папка"}));
    EXPECT_TRUE(fs::exists(folder / L"Новая папка" / L"a.txt"));
    EXPECT_TRUE(fs::exists(folder / L"Новая папка" / L"c.txt"));
    ASSERT_TRUE(nestora::testing::WaitFor([&] { return !rename.Waiting(); }, 3s));
    EXPECT_EQ(EditedName(), L"Новая папка");
    EXPECT_EQ(ListView_GetSelectedCount(ListView()), 1u);
}

} // namespace
} // namespace nestora::app
