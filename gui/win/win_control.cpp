#include "gui/win/win_control.h"

#include "gui/core/class_builder.h"
#include "gui/core/dpi_scale.h"
#include "gui/core/text.h"
#include "gui/win/application.h"
#include "gui/win/control_canvas.h"
#include "gui/win/control_messages.h"
#include "gui/win/form.h"
#include "gui/win/window_binding.h"

#include <algorithm>

namespace nestora::gui {

namespace {

// The window property that binds a window to its control.
constexpr wchar_t kControlProperty[] = L"Nestora.gui.Control";

// The window whose notifications name a child: WM_COMMAND's and WM_CTLCOLOR…'s lParam,
// WM_NOTIFY's hwndFrom.
HWND NotifyingChild(const TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        return reinterpret_cast<HWND>(m.LParam);
    case WM_NOTIFY:
        return m.LParam ? reinterpret_cast<const NMHDR*>(m.LParam)->hwndFrom : nullptr;
    default:
        return nullptr;
    }
}

} // namespace

using ControlBinding = WindowBinding<TWinControl, kControlProperty>;

LRESULT CALLBACK FrameworkWindowEntry(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ControlBinding::Entry(window, msg, wParam, lParam);
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return ControlBinding::Bound(window);
}

void TWinControl::WindowBound(HWND window) noexcept {
    handle_ = window;
}

void TWinControl::WindowGone(HWND window) noexcept {
    if (handle_ == window)
        handle_ = nullptr;
}

// One message of the window in hand: the depth of nested messages says whether a handler
// of this control is running (Release waits for none to be), and the end of the outermost
// one does the work kept for it. Both only while the control lives, and also when the
// handler raised.
class TWinControl::DispatchScope {
public:
    DispatchScope(TWinControl& control, const TMessage& message)
        : control_(control), life_(control.life_), window_(message.Window),
          last_(message.Msg == WM_NCDESTROY) {
        ++control_.dispatchDepth_;
    }
    ~DispatchScope() {
        if (life_.expired())
            return; // a handler freed the control: touch nothing of it
        if (last_)
            control_.WindowGone(window_); // before the work below, which posts to it
        if (--control_.dispatchDepth_ == 0)
            control_.MessageDone();
    }
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

private:
    TWinControl& control_;
    const std::weak_ptr<int> life_;
    const HWND window_;
    const bool last_;
};

void TWinControl::WindowMessage(TMessage& message) {
    if (message.Msg == CM_RELEASE) {
        // Freed here, outside every handler of the control: nothing of it runs afterwards.
        // A handler of it (or of a control on it) still running below a modal loop would
        // return into a freed object: then the release waits for the next round.
        if (Dispatching())
            releasePending_ = true; // posted again when the last one returns
        else
            Free();
        return;
    }
    const DispatchScope scope(*this, message);
    // The holder keeps the WindowProc alive even if a handler replaces it meanwhile.
    const std::shared_ptr<TWndMethod> proc = windowProc_;
    (*proc)(message);
}

const ClassInfo& TWinControl::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TWinControl>("TWinControl", &TControl::StaticClassInfo())
            .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
            .Event<TKeyEvent>("OnKeyDown", &TWinControl::SetOnKeyDown)
            .Event<TKeyEvent>("OnKeyUp", &TWinControl::SetOnKeyUp)
            .Event<TKeyPressEvent>("OnKeyPress", &TWinControl::SetOnKeyPress)
            .Event<TNotifyEvent>("OnEnter", &TWinControl::SetOnEnter)
            .Event<TNotifyEvent>("OnExit", &TWinControl::SetOnExit)
            .Build();
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Only the control's own processing may see the last messages of its window: a
    // replacement WindowProc may belong to a component that is gone by now.
    SetWindowProc(nullptr);
    DestroyHandle();
    // The controls still on it go with it.
    tabList_.clear();
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        controls_.pop_back();
        child->parent_ = nullptr;
        child->Free();
    }
    canvas_.reset();
}

void TWinControl::BeforeDestruction() {
    TControl::BeforeDestruction();
    // Every object is still whole: the window and its children's windows go now, so their
    // last messages find live objects.
    DestroyHandle();
}

HWND TWinControl::Handle() {
    if (!handle_ && !IsDestroying())
        CreateWnd();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.windowClass = WidenAscii(ClassName());
    p.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible())
        p.style |= WS_VISIBLE;
    if (!Enabled())
        p.style |= WS_DISABLED;
    if (tabStop_)
        p.style |= WS_TABSTOP;
    p.x = Left();
    p.y = Top();
    p.width = Width();
    p.height = Height();
    p.caption = text_;
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    if (p.style & WS_CHILD) {
        if (!Parent())
            throw EInvalidOperation(FormatText(L"Control '%s' has no parent window", {Name()}));
        p.parent = Parent()->Handle();
        if (!p.parent)
            return; // the parent is being destroyed
        if (handle_)
            return; // made meanwhile, along with the parent's children
    } else {
        p.parent = OwnerWindow();
    }
    defaultProc_ = EnsureWindowClass(
        WindowClassDesc{p.windowClass, &FrameworkWindowEntry, p.baseClass, p.classStyle, nullptr});
    const HWND window =
        ::CreateWindowExW(p.exStyle, p.windowClass.c_str(), p.caption.c_str(), p.style, p.x, p.y,
                          p.width, p.height, p.parent, nullptr, FrameworkInstance(), this);
    if (!window || handle_ != window) {
        if (window)
            ::DestroyWindow(window);
        throw EOutOfResources(FormatText(L"Error creating window of %s", {p.windowClass}));
    }
    InitializeWindow();
    // The children's windows, in index order (a child made while this loop runs is made
    // by its own insertion).
    const bool stillHere = VisitWindowedChildren([](TWinControl& child) {
        if (!child.handle_ && child.MayMakeWindowNow())
            child.CreateWnd();
    });
    if (stillHere)
        Realign();
}

bool TWinControl::VisitWindowedChildren(const std::function<void(TWinControl&)>& visit) {
    const std::weak_ptr<int> alive = life_;
    const std::vector<TControl*> children = controls_;
    for (TControl* child : children) {
        if (alive.expired() || !handle_)
            return false;
        if (std::find(controls_.begin(), controls_.end(), child) == controls_.end())
            continue;
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            visit(*windowed);
    }
    return !alive.expired() && handle_;
}

bool TWinControl::MayMakeWindowNow() {
    if (!WaitsForShowing())
        return true;
    const TCustomForm* form = ParentForm();
    return form && form->Visible() && !form->IsLoading();
}

void TWinControl::MakeWaitingWindows() {
    VisitWindowedChildren([](TWinControl& child) {
        if (!child.handle_)
            child.CreateWnd(); // its own children with it
        else
            child.MakeWaitingWindows();
    });
}

void TWinControl::InitializeWindow() {
    ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
}

void TWinControl::DestroyHandle() {
    if (!handle_)
        return;
    const HWND window = handle_;
    ::DestroyWindow(window);
    if (handle_ == window) {
        // Not destroyed (another thread's window): at least never reach this object again.
        ControlBinding::Unbind(window);
        handle_ = nullptr;
    }
    if (canvas_)
        canvas_->FreeHandle();
}

bool TWinControl::Dispatching() const {
    if (dispatchDepth_ > 0)
        return true;
    for (const TControl* c : controls_)
        if (const auto* w = dynamic_cast<const TWinControl*>(c); w && w->Dispatching())
            return true;
    return false;
}

void TWinControl::MessageDone() {
    if (canvas_)
        canvas_->FreeHandle();
    for (TWinControl* c = this; c; c = c->Parent()) {
        if (c->releasePending_ && c->handle_ && !c->Dispatching()) {
            c->releasePending_ = false;
            ::PostMessageW(c->handle_, CM_RELEASE, 0, 0);
        }
    }
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (!m.Window)
        return; // Perform on a control without a window: nothing to do by default
    m.Result = ::CallWindowProcW(defaultProc_, m.Window, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: {
        const HWND child = NotifyingChild(m);
        if (child && child != m.Window) {
            if (TWinControl* c = FromHandle(child)) {
                m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
                if (m.Result || m.Msg == WM_COMMAND || m.Msg == WM_NOTIFY)
                    return;
            }
        }
        DefaultHandler(m);
        return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        auto key = static_cast<unsigned short>(m.WParam);
        const TShiftState shift = KeyboardShiftState();
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) {
            // A shortcut of the form's main menu runs its item and goes no further.
            TCustomForm* form = ParentForm();
            if (form && form->Menu() && form->Menu()->IsShortCut(m))
                return;
        }
        if (FormPreviewsKey(m.Msg, key, shift))
            return;
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN)
            KeyDown(key, shift);
        else
            KeyUp(key, shift);
        if (key == 0)
            return; // a handler took the key
        DefaultHandler(m);
        return;
    }
    case WM_CHAR: {
        auto key = static_cast<wchar_t>(m.WParam);
        if (TCustomForm* form = ParentForm(); form && form != this && form->KeyPreview()) {
            static_cast<TWinControl*>(form)->KeyPress(key);
            if (key == 0)
                return;
        }
        KeyPress(key);
        if (key == 0)
            return;
        m.WParam = static_cast<WPARAM>(key);
        DefaultHandler(m);
        return;
    }
    case WM_SETFOCUS:
        DefaultHandler(m);
        if (TCustomForm* form = ParentForm())
            form->FocusMoved(this);
        if (onEnter_)
            onEnter_(this);
        return;
    case WM_KILLFOCUS:
        DefaultHandler(m);
        if (onExit_)
            onExit_(this);
        return;
    case WM_WINDOWPOSCHANGED: {
        DefaultHandler(m);
        const HWND window = m.Window;
        if (window && !::IsIconic(window)) {
            RECT r{};
            ::GetWindowRect(window, &r);
            const HWND parentWindow = ::GetAncestor(window, GA_PARENT);
            if ((::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) && parentWindow)
                ::MapWindowPoints(nullptr, parentWindow, reinterpret_cast<POINT*>(&r), 2);
            if (r.left != Left() || r.top != Top() || r.right - r.left != Width() ||
                r.bottom - r.top != Height()) {
                StoreBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
                BoundsChanged();
                if (Parent())
                    Parent()->ChildChanged(this);
            }
        }
        return;
    }
    case WM_SIZE:
        DefaultHandler(m);
        Realign();
        return;
    case WM_DESTROY:
        SaveWindowState();
        DefaultHandler(m);
        return;
    default:
        TControl::WndProc(m);
    }
}

bool TWinControl::FormPreviewsKey(UINT msg, unsigned short& key, TShiftState shift) {
    TCustomForm* form = ParentForm();
    if (!form || form == this || !form->KeyPreview())
        return false;
    auto* formControl = static_cast<TWinControl*>(form);
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)
        formControl->KeyDown(key, shift);
    else
        formControl->KeyUp(key, shift);
    return key == 0;
}

void TWinControl::KeyDown(unsigned short& key, TShiftState shift) {
    if (onKeyDown_)
        onKeyDown_(this, key, shift);
}

void TWinControl::KeyUp(unsigned short& key, TShiftState shift) {
    if (onKeyUp_)
        onKeyUp_(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key) {
    if (onKeyPress_)
        onKeyPress_(this, key);
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed)
        tabList_.push_back(windowed);
    control->ParentFontChanged();
    control->ParentColorChanged();
    if (windowed && handle_ && !windowed->handle_ && !IsLoading() && windowed->MayMakeWindowNow())
        windowed->CreateWnd();
    if (control->Align() != TAlign::alNone)
        Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end())
        return;
    controls_.erase(it);
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
    control->parent_ = nullptr;
    // A child window cannot outlive its place on this window: it is made again under the
    // next parent.
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->handle_)
        windowed->DestroyHandle();
    if (control->Align() != TAlign::alNone && !IsDestroying())
        Realign();
}

void TWinControl::ChildChanged(TControl* child) {
    if (child->Align() != TAlign::alNone && !aligning_)
        Realign();
}

int TWinControl::TabOrder() const {
    if (!Parent())
        return -1;
    const auto& list = Parent()->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent())
        return;
    auto& list = Parent()->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool tabStop) {
    if (tabStop == tabStop_)
        return;
    tabStop_ = tabStop;
    if (handle_) {
        const LONG style = ::GetWindowLongW(handle_, GWL_STYLE);
        ::SetWindowLongW(handle_, GWL_STYLE, tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

void TWinControl::SetBorderWidth(int width) {
    width = std::max(width, 0);
    if (width == borderWidth_)
        return;
    borderWidth_ = width;
    Realign();
    Invalidate();
}

bool TWinControl::Focused() const {
    return handle_ && ::GetFocus() == handle_;
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus() {
    if (const HWND window = Handle())
        ::SetFocus(window);
}

void TWinControl::CollectTabStops(std::vector<TWinControl*>& list) {
    for (TWinControl* c : tabList_) {
        if (c->tabStop_ && c->CanFocus())
            list.push_back(c);
        c->CollectTabStops(list);
    }
}

bool TWinControl::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> list;
    CollectTabStops(list);
    if (list.empty())
        return false;
    auto it = std::find(list.begin(), list.end(), current);
    TWinControl* next = nullptr;
    if (it == list.end()) {
        next = forward ? list.front() : list.back();
    } else {
        const auto index = static_cast<std::size_t>(it - list.begin());
        const std::size_t n = list.size();
        next = list[forward ? (index + 1) % n : (index + n - 1) % n];
    }
    if (next == current)
        return false;
    next->SetFocus();
    return true;
}

void TWinControl::ChangeScale(int fromDpi, int toDpi) {
    DisableAlign();
    TControl::ChangeScale(fromDpi, toDpi);
    borderWidth_ = ScaleBetweenDpis(borderWidth_, fromDpi, toDpi);
    // A child that scaling removes or adds (a skinned frame rebuilding its bar) is not
    // visited twice or missed: the list is taken first.
    const std::vector<TControl*> children = controls_;
    for (TControl* child : children)
        if (std::find(controls_.begin(), controls_.end(), child) != controls_.end())
            child->ScaleForDpi(toDpi);
    EnableAlign();
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0)
        Realign();
}

void TWinControl::Realign() {
    if (alignDisabled_ > 0 || aligning_ || IsLoading() || IsDestroying())
        return;
    TRect r = ClientRect();
    r = InflatedRect(r, -borderWidth_, -borderWidth_);
    AlignControls(r);
}

void TWinControl::AlignControls(TRect rect) {
    std::vector<AlignRequest> requests;
    requests.reserve(controls_.size());
    bool any = false;
    for (TControl* c : controls_) {
        const TAlign align = c->Visible() ? c->Align() : TAlign::alNone;
        any = any || align != TAlign::alNone;
        requests.push_back({align, c->BoundsRect()});
    }
    if (!any)
        return;
    const std::vector<TRect> placed = ArrangeAligned(rect, requests);
    aligning_ = true;
    try {
        const std::vector<TControl*> children = controls_;
        for (std::size_t i = 0; i < children.size(); ++i)
            if (requests[i].align != TAlign::alNone && placed[i] != requests[i].bounds)
                children[i]->SetBounds(placed[i].Left, placed[i].Top, placed[i].Width(),
                                       placed[i].Height());
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

TRect TWinControl::ClientRect() const {
    if (handle_) {
        RECT r{};
        ::GetClientRect(handle_, &r);
        return TRect{0, 0, r.right, r.bottom};
    }
    // Without a window: the bounds less the frame the window will have.
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, p.style & ~WS_CHILD, FALSE, p.exStyle);
    return TRect{0, 0, std::max(0, Width() - static_cast<int>(frame.right - frame.left)),
                 std::max(0, Height() - static_cast<int>(frame.bottom - frame.top))};
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == Left() && top == Top() && width == Width() && height == Height())
        return;
    StoreBounds(left, top, width, height);
    if (handle_ && !::IsIconic(handle_))
        ::SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        Realign();
    BoundsChanged();
    if (Parent())
        Parent()->ChildChanged(this);
}

void TWinControl::Invalidate() {
    if (handle_)
        ::InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update() {
    if (handle_)
        ::UpdateWindow(handle_);
}

std::wstring TWinControl::Text() const {
    if (!handle_)
        return text_;
    const int length = ::GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = ::GetWindowTextW(handle_, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void TWinControl::SetText(const std::wstring& text) {
    if (text == Text())
        return;
    text_ = text;
    if (handle_)
        ::SetWindowTextW(handle_, text.c_str());
    TextChanged();
}

void TWinControl::TextChanged() {
    Invalidate();
}

void TWinControl::VisibleChanged() {
    if (handle_)
        ::ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
    TControl::VisibleChanged();
}

void TWinControl::EnabledChanged() {
    if (handle_)
        ::EnableWindow(handle_, Enabled());
    Invalidate();
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children)
        c->ParentColorChanged();
}

void TWinControl::FontChanged() {
    if (handle_)
        ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
    TControl::FontChanged();
    const std::vector<TControl*> children = controls_;
    for (TControl* c : children)
        c->ParentFontChanged();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

} // namespace nestora::gui
