#pragma once
// Ownership of Windows handles in the type.
//
// UniqueHandle<Traits> owns one handle and releases it exactly once; it moves, never
// copies. A borrowed handle is the plain Windows type (HWND, HDC …): whoever holds a raw
// handle does not own it. WindowDC also remembers the window its DC came from, because
// ReleaseDC needs it.
//
// A window owner destroys its window; a window that ends some other way (WM_CLOSE reaching
// default processing, its parent or owner window going first) must let its owner go at its
// WM_NCDESTROY, as the windows bound with WindowBinding do (window_binding.h). An owner
// that destroys a window already gone is a fault that is counted (LostWindowDestroys), not
// passed over: its handle may name another window by then.

// windows.h through the header that keeps the GetClassInfo macro away from TObject.
#include "gui/win/graphics_win32.h"

#include <utility>

namespace nestora::gui {

template <class Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : h_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(std::exchange(other.h_, Traits::Invalid()));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::Invalid(); }
    // Gives up ownership without releasing.
    [[nodiscard]] Handle release() noexcept { return std::exchange(h_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) noexcept {
        // The owner lets go first: a window that tells its owner of its end while being
        // destroyed (at WM_NCDESTROY) then finds nothing to release.
        const Handle old = std::exchange(h_, h);
        if (old != Traits::Invalid() && old != h)
            Traits::Close(old);
    }

private:
    Handle h_ = Traits::Invalid();
};

// Destroys of windows that were gone already (or belong to another thread), since the
// process started. Tests expect it unchanged.
inline long& LostWindowDestroys() noexcept {
    static long count = 0;
    return count;
}

namespace handle_traits {
template <class H> struct GdiObject {
    using Handle = H;
    static H Invalid() noexcept { return nullptr; }
    static void Close(H h) noexcept { ::DeleteObject(reinterpret_cast<HGDIOBJ>(h)); }
};
struct Window {
    using Handle = HWND;
    static HWND Invalid() noexcept { return nullptr; }
    static void Close(HWND h) noexcept {
        if (!::DestroyWindow(h))
            ++LostWindowDestroys();
    }
};
struct MemoryDC {
    using Handle = HDC;
    static HDC Invalid() noexcept { return nullptr; }
    static void Close(HDC h) noexcept { ::DeleteDC(h); }
};
struct Menu {
    using Handle = HMENU;
    static HMENU Invalid() noexcept { return nullptr; }
    static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};
struct Icon {
    using Handle = HICON;
    static HICON Invalid() noexcept { return nullptr; }
    static void Close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct RegistryKey {
    using Handle = HKEY;
    static HKEY Invalid() noexcept { return nullptr; }
    static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct KernelObject {
    using Handle = HANDLE;
    static HANDLE Invalid() noexcept { return nullptr; }
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};
struct FindFile {
    using Handle = HANDLE;
    static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { ::FindClose(h); }
};
struct ImageList {
    using Handle = HIMAGELIST;
    static HIMAGELIST Invalid() noexcept { return nullptr; }
    static void Close(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
};
} // namespace handle_traits

using UniqueWindow = UniqueHandle<handle_traits::Window>;
using UniqueMemoryDC = UniqueHandle<handle_traits::MemoryDC>;
using UniqueBitmap = UniqueHandle<handle_traits::GdiObject<HBITMAP>>;
using UniqueFont = UniqueHandle<handle_traits::GdiObject<HFONT>>;
using UniqueBrush = UniqueHandle<handle_traits::GdiObject<HBRUSH>>;
using UniquePen = UniqueHandle<handle_traits::GdiObject<HPEN>>;
using UniqueRegion = UniqueHandle<handle_traits::GdiObject<HRGN>>;
using UniqueMenu = UniqueHandle<handle_traits::Menu>;
using UniqueIcon = UniqueHandle<handle_traits::Icon>;
using UniqueKey = UniqueHandle<handle_traits::RegistryKey>;
using UniqueKernelHandle = UniqueHandle<handle_traits::KernelObject>;
using UniqueFindHandle = UniqueHandle<handle_traits::FindFile>;
using UniqueImageList = UniqueHandle<handle_traits::ImageList>;

// A DC from GetDC/GetWindowDC, released to the window it came from.
class WindowDC {
public:
    WindowDC() noexcept = default;
    // GetDC(window); window may be null for the screen.
    static WindowDC Client(HWND window) noexcept { return WindowDC(window, ::GetDC(window)); }
    static WindowDC Whole(HWND window) noexcept { return WindowDC(window, ::GetWindowDC(window)); }
    WindowDC(WindowDC&& o) noexcept
        : window_(std::exchange(o.window_, nullptr)), dc_(std::exchange(o.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&& o) noexcept {
        if (this != &o) {
            Release();
            window_ = std::exchange(o.window_, nullptr);
            dc_ = std::exchange(o.dc_, nullptr);
        }
        return *this;
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { Release(); }
    HDC get() const noexcept { return dc_; }
    HWND Window() const noexcept { return window_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    WindowDC(HWND w, HDC dc) noexcept : window_(w), dc_(dc) {}
    void Release() noexcept {
        if (dc_)
            ::ReleaseDC(window_, dc_);
        dc_ = nullptr;
    }
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// Selects a GDI object into a DC for a scope and puts the previous one back.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectObjectScope() {
        if (previous_)
            ::SelectObject(dc_, previous_);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace nestora::gui
