#pragma once
// Helpers for the tests of the application, forms and controls: a fixture with a current
// application whose message boxes are recorded instead of shown, message pumping with a
// time limit, a recording window procedure, and pixel reads of a window's picture.

#include "gui/win/application.h"
#include "gui/win/form.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nestora::gui::testing {

// Wine answers some calls differently from Windows (gui/README.md, "Where Wine differs");
// tests expect each system's own answer there instead of loosening the check.
inline bool RunningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

struct ShownMessageBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    unsigned flags;
};

// Every test of this kind gets its own application; message boxes land in `boxes`.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        lostWindowDestroys_ = LostWindowDestroys();
        app = std::make_unique<TApplication>();
        app->SetTitle(L"Nestora Test");
        app->SetMessageBoxFunction([this](HWND owner, const std::wstring& text,
                                          const std::wstring& caption, unsigned flags) {
            boxes.push_back({owner, text, caption, flags});
            return IDOK;
        });
        app->Initialize();
    }
    void TearDown() override {
        app.reset();
        // No window owner destroyed a window that had already ended.
        EXPECT_EQ(LostWindowDestroys(), lostWindowDestroys_);
    }

    // Handles messages until done() holds or the time is up; returns done().
    bool PumpUntil(const std::function<bool()>& done, int milliseconds = 2000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            app->ProcessMessages();
            ::Sleep(1);
        }
        return true;
    }
    void Pump(int milliseconds = 50) {
        PumpUntil([] { return false; }, milliseconds);
    }

    std::unique_ptr<TApplication> app;
    std::vector<ShownMessageBox> boxes;

private:
    long lostWindowDestroys_ = 0;
};

// Records the messages a control receives (through its WindowProc) and passes them on.
class MessageRecorder {
public:
    explicit MessageRecorder(TControl& control) : control_(control), saved_(control.WindowProc()) {
        control.SetWindowProc([this](TMessage& m) {
            messages.push_back(m.Msg);
            saved_(m);
        });
    }
    ~MessageRecorder() { control_.SetWindowProc(saved_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // The recorded messages that are among interesting, in order.
    std::vector<UINT> Only(std::initializer_list<UINT> interesting) const {
        std::vector<UINT> out;
        for (UINT m : messages)
            for (UINT i : interesting)
                if (m == i)
                    out.push_back(m);
        return out;
    }
    std::vector<UINT> messages;

private:
    TControl& control_;
    TWndMethod saved_;
};

// The picture of a window's client area, drawn by the window itself (WM_PRINTCLIENT into a
// 32-bit DIB), with pixel reads straight from the bits.
class WindowPicture {
public:
    explicit WindowPicture(HWND window) {
        RECT r{};
        ::GetClientRect(window, &r);
        width = r.right;
        height = r.bottom;
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc_.reset(::CreateCompatibleDC(nullptr));
        bitmap_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const std::uint32_t*>(bits);
        const HGDIOBJ old = ::SelectObject(dc_.get(), bitmap_.get());
        ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()),
                       PRF_CLIENT | PRF_ERASEBKGND);
        ::GdiFlush();
        ::SelectObject(dc_.get(), old);
    }
    TColor Pixel(int x, int y) const {
        const std::uint32_t p = bits_[y * width + x];
        return RGBColor((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(TColor color) const {
        int n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (Pixel(x, y) == color)
                    ++n;
        return n;
    }
    int width = 0, height = 0;

private:
    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    const std::uint32_t* bits_ = nullptr;
};

} // namespace nestora::gui::testing
