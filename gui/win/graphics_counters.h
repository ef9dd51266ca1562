#pragma once
// Live counts of the GDI and USER objects the graphics layer holds, by kind.
//
// Every handle that the graphics classes (fonts, brushes, pens, canvases, bitmaps, icons,
// image lists, menus, their hidden windows) create is held in a CountedHandle, which adds
// one to its kind's count when it takes a handle and subtracts one when it lets go. Tests
// read the counts before and after a thousand paints or popups: a count that grows is a
// leak. This is what the layer can know for itself; GetGuiResources gives the process-wide
// figure where the system reports one (Wine may answer 0).
//
// User-interface thread only, like everything that creates these objects.

#include "gui/win/graphics_win32.h"

#include "gui/win/handles.h"

#include <array>
#include <cstddef>
#include <utility>

namespace nestora::gui {

enum class HandleKind : std::size_t {
    Font,
    Brush,
    Pen,
    Bitmap,
    MemoryDC,
    Icon,
    ImageList,
    Menu,
    Window,
};
constexpr std::size_t kHandleKindCount = 9;

class HandleCounters {
public:
    static long Live(HandleKind kind) { return Table()[static_cast<std::size_t>(kind)]; }
    // Fonts, brushes, pens, bitmaps and memory DCs.
    static long LiveGdiObjects();
    // Icons, menus and windows.
    static long LiveUserObjects();
    static void Created(HandleKind kind) { ++Table()[static_cast<std::size_t>(kind)]; }
    static void Destroyed(HandleKind kind) { --Table()[static_cast<std::size_t>(kind)]; }

private:
    static std::array<long, kHandleKindCount>& Table();
};

// A Unique… Handle (gui/win/handles.h) that is counted while it holds something.
template <class Unique, HandleKind Kind> class CountedHandle {
public:
    using Handle = typename Unique::Handle;

    CountedHandle() noexcept = default;
    explicit CountedHandle(Handle h) noexcept { reset(h); }
    CountedHandle(CountedHandle&& other) noexcept : owned_(std::move(other.owned_)) {}
    CountedHandle& operator=(CountedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            owned_ = std::move(other.owned_);
        }
        return *this;
    }
    CountedHandle(const CountedHandle&) = delete;
    CountedHandle& operator=(const CountedHandle&) = delete;
    ~CountedHandle() { reset(); }

    Handle get() const noexcept { return owned_.get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(owned_); }

    void reset(Handle h = Handle{}) noexcept {
        if (owned_ && owned_.get() == h)
            return;
        if (owned_)
            HandleCounters::Destroyed(Kind);
        owned_.reset(h);
        if (owned_)
            HandleCounters::Created(Kind);
    }
    // Gives the handle away uncounted: whoever takes it owns it now.
    [[nodiscard]] Handle release() noexcept {
        if (owned_)
            HandleCounters::Destroyed(Kind);
        return owned_.release();
    }

private:
    Unique owned_;
};

using CountedFont = CountedHandle<UniqueFont, HandleKind::Font>;
using CountedBrush = CountedHandle<UniqueBrush, HandleKind::Brush>;
using CountedPen = CountedHandle<UniquePen, HandleKind::Pen>;
using CountedBitmap = CountedHandle<UniqueBitmap, HandleKind::Bitmap>;
using CountedMemoryDC = CountedHandle<UniqueMemoryDC, HandleKind::MemoryDC>;
using CountedIcon = CountedHandle<UniqueIcon, HandleKind::Icon>;
using CountedImageList = CountedHandle<UniqueImageList, HandleKind::ImageList>;
using CountedMenu = CountedHandle<UniqueMenu, HandleKind::Menu>;
using CountedWindow = CountedHandle<UniqueWindow, HandleKind::Window>;

// The process's own GDI and USER object counts from GetGuiResources; 0 where the system
// does not report them.
long ProcessGdiObjects();
long ProcessUserObjects();

} // namespace nestora::gui
