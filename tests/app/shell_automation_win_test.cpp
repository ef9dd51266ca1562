// The late-bound calls of a hotkey press against an in-process automation object that
// answers `Windows`, `Count`, `Item`, `HWND`, `LocationURL` and `Refresh` by name
// (GetIDsOfNames + Invoke), as the shell's "Shell.Application" does; its window items also
// answer IServiceProvider with a top-level browser, as tabs of a tabbed Explorer do. The
// real calling code runs against it, and every Invoke is counted.
#include "app/win_shell_automation.h"

#include "gui/core/exceptions.h"

#include <servprov.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

using Microsoft::WRL::ComPtr;

// COM interfaces have no virtual destructor: their objects delete themselves in Release.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace nestora::app {
namespace {

// The number of late-bound calls made, and by name.
struct CallLog {
    std::vector<std::wstring> names;
};

// A top-level browser that only tells its window.
class FakeBrowser final : public IShellBrowser {
public:
    explicit FakeBrowser(HWND window) : window_(window) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IShellBrowser) {
            *out = static_cast<IShellBrowser*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BrowseObject(PCUIDLIST_RELATIVE, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD, IStream**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetControlWindow(UINT, HWND*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override {
        return E_NOTIMPL;
    }

private:
    HWND window_;
    ULONG references_ = 1;
};

using Member = std::function<HRESULT(const DISPPARAMS& parameters, VARIANT* result)>;

// An automation object answering the members it is given, by name, case-insensitively.
class FakeObject final : public IDispatch, public IServiceProvider {
public:
    FakeObject(CallLog& log, std::vector<std::pair<std::wstring, Member>> members,
               HWND browserWindow = nullptr)
        : log_(log), members_(std::move(members)), browserWindow_(browserWindow) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
        } else if (iid == IID_IServiceProvider && browserWindow_) {
            *out = static_cast<IServiceProvider*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (count != 1)
            return E_INVALIDARG;
        for (std::size_t i = 0; i < members_.size(); ++i) {
            if (::lstrcmpiW(members_[i].first.c_str(), names[0]) == 0) {
                ids[0] = static_cast<DISPID>(i + 1);
                return S_OK;
            }
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO*, UINT*) override {
        if (id < 1 || static_cast<std::size_t>(id) > members_.size())
            return DISP_E_MEMBERNOTFOUND;
        if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        const auto& member = members_[static_cast<std::size_t>(id - 1)];
        log_.names.push_back(member.first);
        return member.second(*parameters, result);
    }
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
        if (service != SID_STopLevelBrowser) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        auto* browser = new FakeBrowser(browserWindow_);
        const HRESULT status = browser->QueryInterface(iid, out);
        browser->Release();
        return status;
    }

private:
    CallLog& log_;
    std::vector<std::pair<std::wstring, Member>> members_;
    HWND browserWindow_;
    ULONG references_ = 1;
};

ComPtr<IDispatch> adopt(FakeObject* object) {
    ComPtr<IDispatch> pointer;
    pointer.Attach(static_cast<IDispatch*>(object));
    return pointer;
}

HWND fakeWindow(std::uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}

struct WindowDesc {
    std::uintptr_t frame;
    std::wstring location;
    HWND tab = nullptr;    // its browser's window: items of a tabbed Explorer
    bool vanishes = false; // its HWND call fails: the window closed during the scan
    HRESULT refresh = S_OK;
};

class ShellAutomationTest : public ::testing::Test {
protected:
    // Builds "Shell.Application" with these windows; the collection's Item fails past the
    // end, as the shell's does when a window closed since Count.
    ComPtr<IDispatch> shellWith(std::vector<WindowDesc> list) {
        descs = std::move(list);
        auto* collection = new FakeObject(
            log, {{L"Count",
                   [this](const DISPPARAMS&, VARIANT* result) {
                       result->vt = VT_I4;
                       result->lVal = static_cast<LONG>(descs.size()) + countOffset;
                       return S_OK;
                   }},
                  {L"Item", [this](const DISPPARAMS& parameters, VARIANT* result) {
                       if (parameters.cArgs != 1 || parameters.rgvarg[0].vt != VT_I4)
                           return DISP_E_BADPARAMCOUNT;
                       const LONG index = parameters.rgvarg[0].lVal;
                       if (index < 0 || static_cast<std::size_t>(index) >= descs.size())
                           return E_INVALIDARG;
                       result->vt = VT_DISPATCH;
                       result->pdispVal = windowObject(static_cast<std::size_t>(index));
                       return S_OK;
                   }}});
        ComPtr<IDispatch> collectionPointer = adopt(collection);
        return adopt(new FakeObject(
            log, {{L"Windows", [collectionPointer](const DISPPARAMS&, VARIANT* result) {
                       result->vt = VT_DISPATCH;
                       result->pdispVal = collectionPointer.Get();
                       result->pdispVal->AddRef();
                       return S_OK;
                   }}}));
    }

    IDispatch* windowObject(std::size_t index) {
        const WindowDesc desc = descs[index];
        return new FakeObject(log,
                              {{L"HWND",
                                [desc](const DISPPARAMS&, VARIANT* result) {
                                    if (desc.vanishes)
                                        return RPC_E_DISCONNECTED;
                                    // 64-bit Explorer hands out handles as 8-byte integers.
                                    result->vt = VT_I8;
                                    result->llVal = static_cast<LONGLONG>(desc.frame);
                                    return S_OK;
                                }},
                               {L"LocationURL",
                                [desc](const DISPPARAMS&, VARIANT* result) {
                                    result->vt = VT_BSTR;
                                    result->bstrVal = ::SysAllocStringLen(
                                        desc.location.data(),
                                        static_cast<UINT>(desc.location.size()));
                                    return S_OK;
                                }},
                               {L"Refresh",
                                [this, desc, index](const DISPPARAMS&, VARIANT*) {
                                    if (SUCCEEDED(desc.refresh))
                                        refreshed.push_back(index);
                                    return desc.refresh;
                                }}},
                              desc.tab);
    }

    void press(const ComPtr<IDispatch>& shellObject) {
        const auto shell = shellAutomationOver(shellObject);
        handleHotKeyPress(shell.get(), windows, targets);
    }

    class Windows final : public PressWindows {
    public:
        int minimisedWindowCount() override { return minimised; }
        WindowId foregroundWindow() override { return foreground; }
        bool isDesktop(WindowId window) override { return window == desktop; }
        WindowId activeTab(WindowId frame) override { return frame == foreground ? tab : 0; }
        int minimised = 0;
        WindowId foreground = 0x10010;
        WindowId desktop = 0x10000;
        WindowId tab = 0;
    };
    class Targets final : public FolderTargets {
    public:
        void createInFolder(const std::wstring& folder) override { created.push_back(folder); }
        void createOnDesktop() override { created.push_back(L"<desktop>"); }
        std::vector<std::wstring> created;
    };

    CallLog log;
    std::vector<WindowDesc> descs;
    std::vector<std::size_t> refreshed;
    LONG countOffset = 0;
    Windows windows;
    Targets targets;
};

using Texts = std::vector<std::wstring>;

TEST_F(ShellAutomationTest, TheFocusedWindowGetsTheFolderAndARefreshIn2NPlus4Calls) {
    press(shellWith({{0x20020, L"file:///C:/Other"},
                     {0x10010, L"file:///C:/Data/%D0%9F%D0%B0%D0%BF%D0%BA%D0%B0"},
                     {0x30030, L"file:///C:/Third"}}));
    EXPECT_EQ(targets.created, (Texts{L"C:\\Data\\Папка"}));
    EXPECT_EQ(refreshed, (std::vector<std::size_t>{1}));
    // The focused window is acted on once the scan has seen every window (its tabs too).
    EXPECT_EQ(log.names, (Texts{L"Windows", L"Count", L"Item", L"HWND", L"Item", L"HWND", L"Item",
                                L"HWND", L"LocationURL", L"Refresh"}));
    EXPECT_EQ(log.names.size(), 2 * 3 + 4u);
}

TEST_F(ShellAutomationTest, TheDesktopCases) {
    // No shell window open.
    press(shellWith({}));
    // The desktop has the focus.
    windows.foreground = windows.desktop;
    press(shellWith({{0x10010, L"file:///C:/A"}, {0x20020, L"file:///C:/B"}}));
    // As many minimised windows as shell windows; the focused one comes later.
    windows.foreground = 0x20020;
    windows.minimised = 2;
    press(shellWith({{0x10010, L"file:///C:/A"}, {0x20020, L"file:///C:/B"}}));
    EXPECT_EQ(targets.created, (Texts{L"<desktop>", L"<desktop>", L"<desktop>"}));
    EXPECT_TRUE(refreshed.empty());
}

TEST_F(ShellAutomationTest, AShellObjectWithoutAWindowListSendsThePressToTheDesktop) {
    // Wine's shell object answers Windows with E_NOTIMPL.
    auto* shell =
        new FakeObject(log, {{L"Windows", [](const DISPPARAMS&, VARIANT*) { return E_NOTIMPL; }}});
    press(adopt(shell));
    // One that knows no such member at all.
    press(adopt(new FakeObject(log, {})));
    // No shell object.
    handleHotKeyPress(nullptr, windows, targets);
    EXPECT_EQ(targets.created, (Texts{L"<desktop>", L"<desktop>", L"<desktop>"}));
}

TEST_F(ShellAutomationTest, TheScanGoesOnAfterAMatchAndSkipsWindowsThatVanish) {
    windows.minimised = 3;
    // The focused window first; then one that closes during the scan (not counted as a
    // window without focus), then one without focus: the counts are equal, so the desktop
    // gets a second folder.
    press(shellWith({{0x10010, L"file:///C:/A"},
                     {0x40040, L"file:///C:/Gone", nullptr, true},
                     {0x20020, L"file:///C:/B"}}));
    EXPECT_EQ(targets.created, (Texts{L"C:\\A", L"<desktop>"}));

    // Count says more windows than there are: the missing items are skipped.
    targets.created.clear();
    windows.minimised = 0;
    countOffset = 2;
    press(shellWith({{0x20020, L"file:///C:/B"}, {0x10010, L"file:///C:/A"}}));
    EXPECT_EQ(targets.created, (Texts{L"C:\\A"}));
}

TEST_F(ShellAutomationTest, OnlyTheActiveTabOfATabbedExplorerGetsAFolder) {
    const HWND firstTab = fakeWindow(0x10011);
    const HWND secondTab = fakeWindow(0x10012);
    windows.tab = 0x10012;
    press(shellWith(
        {{0x10010, L"file:///C:/Tab1", firstTab}, {0x10010, L"file:///C:/Tab2", secondTab}}));
    EXPECT_EQ(targets.created, (Texts{L"C:\\Tab2"}));
    EXPECT_EQ(refreshed, (std::vector<std::size_t>{1}));
    EXPECT_EQ(log.names.size(), 2 * 2 + 4u);
}

TEST_F(ShellAutomationTest, AFailingRefreshIsReportedWithTheObjectsError) {
    try {
        press(shellWith({{0x10010, L"file:///C:/A", nullptr, false, DISP_E_UNKNOWNNAME}}));
        FAIL() << "no error";
    } catch (const gui::Exception& e) {
        EXPECT_EQ(e.Message(), L"Method 'Refresh' not supported by automation object");
    }
    EXPECT_EQ(targets.created, (Texts{L"C:\\A"}));
}

TEST(AutomationErrorTextTest, SaysWhatWentWrong) {
    EXPECT_EQ(automationErrorText(L"Count", DISP_E_UNKNOWNNAME, L""),
              L"Method 'Count' not supported by automation object");
    EXPECT_EQ(automationErrorText(L"Refresh", E_FAIL, L"The window is gone"),
              L"The window is gone");
    EXPECT_FALSE(automationErrorText(L"Refresh", E_OUTOFMEMORY, L"").empty());
    // A code with the customer bit has no system text: its number, eight digits.
    EXPECT_EQ(automationErrorText(L"Refresh", static_cast<long>(0xA00B1234u), L""),
              L"OLE error A00B1234");
}

} // namespace
} // namespace nestora::app
