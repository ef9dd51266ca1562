// The selection's move through the shell's file operation, with a recording stand-in for
// IFileOperation (Wine 8 registers no file operation object): undo asked for, the Explorer
// window as the owner of the shell's dialogs, every item in one operation, never a delete;
// a cancelled or failed operation never repeated another way; SHFileOperationW only where
// the file operation is missing or can't move at all, moving real files.
#include "app/win_item_mover.h"

#include "gui/win/handles.h"

#include "tests/support/win/com_object.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <filesystem>
#include <fstream>

// COM interfaces have no virtual destructor: their objects delete themselves in Release.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

using Microsoft::WRL::ComPtr;

namespace nestora::app {
namespace {

namespace fs = std::filesystem;
using testing::ComObject;
using Texts = std::vector<std::wstring>;

struct OperationLog {
    std::vector<DWORD> flagsSet;
    bool refuseUndoRecordFlag = false;
    HWND owner = nullptr;
    Texts moved;            // the items of MoveItems, by their paths
    std::wstring movedInto; // its destination
    HRESULT moveResult = S_OK;
    HRESULT performResult = S_OK;
    int performed = 0;
    int otherCalls = 0; // copies, renames, new items, deletes: never wanted
};

std::wstring PathOf(IShellItem* item) {
    PWSTR raw = nullptr;
    if (!item || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &raw)))
        return L"?";
    std::wstring path(raw);
    ::CoTaskMemFree(raw);
    return path;
}

class RecordingFileOperation final : public ComObject<RecordingFileOperation, IFileOperation> {
public:
    explicit RecordingFileOperation(OperationLog& log) : log_(log) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == __uuidof(IFileOperation))
            return Hand(static_cast<IFileOperation*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE Advise(IFileOperationProgressSink*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOperationFlags(DWORD flags) override {
        log_.flagsSet.push_back(flags);
        return log_.refuseUndoRecordFlag && (flags & FOFX_ADDUNDORECORD) ? E_INVALIDARG : S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetProgressMessage(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetProgressDialog(IOperationsProgressDialog*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetProperties(IPropertyChangeArray*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE SetOwnerWindow(HWND owner) override {
        log_.owner = owner;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ApplyPropertiesToItem(IShellItem*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE ApplyPropertiesToItems(IUnknown*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE RenameItem(IShellItem*, LPCWSTR,
                                         IFileOperationProgressSink*) override {
        return Other();
    }
    HRESULT STDMETHODCALLTYPE RenameItems(IUnknown*, LPCWSTR) override { return Other(); }
    HRESULT STDMETHODCALLTYPE MoveItem(IShellItem*, IShellItem*, LPCWSTR,
                                       IFileOperationProgressSink*) override {
        return Other();
    }
    HRESULT STDMETHODCALLTYPE MoveItems(IUnknown* items, IShellItem* destination) override {
        ComPtr<IShellItemArray> array;
        DWORD count = 0;
        if (!items || FAILED(items->QueryInterface(IID_PPV_ARGS(&array))) ||
            FAILED(array->GetCount(&count)))
            return E_INVALIDARG;
        for (DWORD i = 0; i < count; ++i) {
            ComPtr<IShellItem> item;
            array->GetItemAt(i, &item);
            log_.moved.push_back(PathOf(item.Get()));
        }
        log_.movedInto = PathOf(destination);
        return log_.moveResult;
    }
    HRESULT STDMETHODCALLTYPE CopyItem(IShellItem*, IShellItem*, LPCWSTR,
                                       IFileOperationProgressSink*) override {
        return Other();
    }
    HRESULT STDMETHODCALLTYPE CopyItems(IUnknown*, IShellItem*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE DeleteItem(IShellItem*, IFileOperationProgressSink*) override {
        return Other();
    }
    HRESULT STDMETHODCALLTYPE DeleteItems(IUnknown*) override { return Other(); }
    HRESULT STDMETHODCALLTYPE NewItem(IShellItem*, DWORD, LPCWSTR, LPCWSTR,
                                      IFileOperationProgressSink*) override {
        return Other();
    }
    HRESULT STDMETHODCALLTYPE PerformOperations() override {
        ++log_.performed;
        return log_.performResult;
    }
    HRESULT STDMETHODCALLTYPE GetAnyOperationsAborted(BOOL* aborted) override {
        *aborted = FALSE;
        return S_OK;
    }

private:
    HRESULT Other() {
        ++log_.otherCalls;
        return E_UNEXPECTED;
    }
    OperationLog& log_;
};

class ItemMoverTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 (L"nestora-mover-" + std::to_wstring(::GetCurrentProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder / L"New Folder");
        for (const wchar_t* name : {L"a.txt", L"b.txt"})
            std::ofstream(folder / name) << "x";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    FileOperationFactory Fake() {
        return [this] {
            ComPtr<IFileOperation> operation;
            operation.Attach(new RecordingFileOperation(log));
            return operation;
        };
    }
    Texts Items() const { return {Path(L"a.txt"), Path(L"b.txt")}; }
    std::wstring Path(const wchar_t* name) const { return (folder / name).wstring(); }
    std::wstring Target() const { return Path(L"New Folder"); }
    bool InPlace() const {
        return fs::exists(folder / L"a.txt") && fs::exists(folder / L"b.txt") &&
               fs::is_empty(folder / L"New Folder");
    }

    fs::path folder;
    OperationLog log;
    const gui::UniqueWindow owner{::CreateWindowExW(0, L"STATIC", L"Explorer", WS_POPUP, 0, 0, 1, 1,
                                                    nullptr, nullptr, nullptr, nullptr)};
    WindowId OwnerId() const {
        return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(owner.get()));
    }
};

TEST_F(ItemMoverTest, OneUndoableMoveOfEveryItemOwnedByTheExplorerWindow) {
    ShellItemMover mover(Fake());
    mover.MoveInto(Items(), Target(), OwnerId());
    EXPECT_EQ(mover.LastRoute(), MoveRoute::fileOperation);
    ASSERT_EQ(log.flagsSet.size(), 1u);
    EXPECT_EQ(log.flagsSet[0] & (FOF_ALLOWUNDO | FOFX_ADDUNDORECORD),
              static_cast<DWORD>(FOF_ALLOWUNDO | FOFX_ADDUNDORECORD));
    // Nothing that would hide the shell's dialogs or skip its questions.
    EXPECT_EQ(log.flagsSet[0] & (FOF_SILENT | FOF_NOERRORUI | FOF_NOCONFIRMATION), 0u);
    EXPECT_EQ(log.owner, owner.get());
    EXPECT_EQ(log.moved, Items());
    EXPECT_EQ(log.movedInto, Target());
    EXPECT_EQ(log.performed, 1);
    EXPECT_EQ(log.otherCalls, 0);
    EXPECT_TRUE(InPlace()); // the stand-in moves nothing, and nothing else did
}

TEST_F(ItemMoverTest, ASystemWithoutTheUndoRecordFlagStillGetsTheMoveWithUndo) {
    log.refuseUndoRecordFlag = true;
    ShellItemMover mover(Fake());
    mover.MoveInto(Items(), Target(), OwnerId());
    ASSERT_EQ(log.flagsSet.size(), 2u);
    EXPECT_NE(log.flagsSet[1] & FOF_ALLOWUNDO, 0u);
    EXPECT_EQ(log.performed, 1);
}

TEST_F(ItemMoverTest, ACancelledOrFailedMoveIsNeverRepeatedAnotherWay) {
    for (HRESULT outcome : {HRESULT_FROM_WIN32(ERROR_CANCELLED), E_FAIL,
                            HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION)}) {
        log.performResult = outcome;
        ShellItemMover mover(Fake());
        mover.MoveInto(Items(), Target(), OwnerId());
        EXPECT_EQ(mover.LastRoute(), MoveRoute::fileOperation);
        EXPECT_TRUE(InPlace()) << std::hex << outcome;
    }
}

TEST_F(ItemMoverTest, AFileOperationThatCannotMoveOrNoneAtAllLeavesItToSHFileOperation) {
    log.moveResult = E_NOTIMPL;
    ShellItemMover stub(Fake());
    stub.MoveInto({Path(L"a.txt")}, Target(), OwnerId());
    EXPECT_EQ(stub.LastRoute(), MoveRoute::shFileOperation);
    EXPECT_EQ(log.performed, 0);
    EXPECT_TRUE(fs::exists(folder / L"New Folder" / L"a.txt"));
    EXPECT_FALSE(fs::exists(folder / L"a.txt"));

    ShellItemMover none(nullptr);
    none.MoveInto({Path(L"b.txt")}, Target(), OwnerId());
    EXPECT_EQ(none.LastRoute(), MoveRoute::shFileOperation);
    EXPECT_TRUE(fs::exists(folder / L"New Folder" / L"b.txt"));
}

TEST_F(ItemMoverTest, ItemsGoneMeanwhileAreLeftOutAndNothingSelectedAsksNothing) {
    ShellItemMover mover(Fake());
    mover.MoveInto({Path(L"gone.txt"), Path(L"b.txt")}, Target(), OwnerId());
    EXPECT_EQ(log.moved, (Texts{Path(L"b.txt")}));
    log = {};
    mover.MoveInto({}, Target(), OwnerId());
    EXPECT_EQ(mover.LastRoute(), MoveRoute::none);
    EXPECT_TRUE(log.flagsSet.empty());
}

} // namespace
} // namespace nestora::app
