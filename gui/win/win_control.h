#pragma once
// TWinControl: a control with a window of its own, which can hold child controls.
//
// The window: Handle() makes it on demand (and, first, the parent's). Making a window makes
// the windows of all child controls too, in index order. The window's procedure is the
// framework's one entry point: it finds the control bound to the window at WM_NCCREATE,
// builds a TMessage, hands it to WindowProc with every exception caught and given to the
// application, and unbinds at WM_NCDESTROY; a message that arrives after the control is
// gone reaches nothing. A control being destroyed never makes a new window.
//
// Children: controls in index order (Controls(i)), a separate tab order among the windowed
// ones (TabOrder). Aligned children are laid out again whenever the client area, their
// alignment, size or visibility changes (not while a description is being read: the layout
// happens once in Loaded).
//
// Notifications that Windows sends to a parent about a child (WM_COMMAND, WM_NOTIFY,
// WM_CTLCOLOR…) are passed on to the child as CN_ messages (control_messages.h).
//
// Life story:
//   created   no window; TabStop off (controls that take input switch it on).
//   window    made by Handle(), by the parent's window being made, or by showing a form;
//             destroyed with DestroyHandle() (state that lives in the window, an edit's
//             text, is kept first) and made again when needed.
//   destroyed BeforeDestruction destroys the window while every object is still whole;
//             the destructor then frees the child controls still on it.

#include "gui/win/control.h"
#include "gui/win/window_class.h"

#include <functional>
#include <memory>

namespace nestora::gui {

class TControlCanvas;
template <class T, const wchar_t* Property> class WindowBinding;

using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // The window, made now if there is none. While the control is being destroyed no
    // window is made: the result is then null. Fails with EInvalidOperation when a child
    // control has no parent window, EOutOfResources when Windows refuses the window.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window (and so its children's); it is made again when next needed.
    void DestroyHandle();

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);

    // Inner border (pixels) that aligned children keep free.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);

    bool Focused() const;
    virtual bool CanFocus() const;
    void SetFocus();
    // Moves the focus from current to the next (or previous) control that takes it, in tab
    // order over all levels below this one; wraps around. Returns whether the focus moved.
    bool SelectNext(TWinControl* current, bool forward);

    // Lays the aligned children out again.
    void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();

    TRect ClientRect() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void Invalidate() override;
    void Update() override;
    std::wstring Text() const override;
    void SetText(const std::wstring& text) override;

    void SetOnKeyDown(TKeyEvent e) { onKeyDown_ = std::move(e); }
    void SetOnKeyUp(TKeyEvent e) { onKeyUp_ = std::move(e); }
    void SetOnKeyPress(TKeyPressEvent e) { onKeyPress_ = std::move(e); }
    void SetOnEnter(TNotifyEvent e) { onEnter_ = std::move(e); }
    void SetOnExit(TNotifyEvent e) { onExit_ = std::move(e); }

    void BeforeDestruction() override;
    void DefaultHandler(TMessage& message) override;

    // A message of this window or of a child's is being handled now (a handler may be
    // waiting in a modal loop below it).
    bool Dispatching() const;

    // The framework control bound to a window, or null (not one of ours, or gone).
    static TWinControl* FromHandle(HWND window);

protected:
    // What CreateWindowEx gets. Subclasses adjust the defaults; windowClass names the
    // framework class (the control's class name by default), baseClass a system class to
    // superclass.
    struct TCreateParams {
        std::wstring windowClass;
        const wchar_t* baseClass = nullptr;
        UINT classStyle = CS_DBLCLKS;
        DWORD style = 0;
        DWORD exStyle = 0;
        int x = 0, y = 0, width = 0, height = 0;
        HWND parent = nullptr;
        std::wstring caption;
    };
    virtual void CreateParams(TCreateParams& params);
    // Makes the window (CreateParams, then CreateWindowEx); then the children's windows.
    virtual void CreateWnd();
    // The owner window of a top-level window (forms: the application window).
    virtual HWND OwnerWindow() { return nullptr; }
    // After the window exists: font, text, state. Subclasses set their controls' state.
    virtual void InitializeWindow();
    // The window is about to be destroyed: keep what lives only in it.
    virtual void SaveWindowState() {}
    // The window waits to be made until its form is shown, or until Handle() is asked
    // for: controls whose class the common controls library provides (with the version 6
    // manifest that includes EDIT), so that a form that stays hidden (a program in the
    // tray) never loads that library.
    virtual bool WaitsForShowing() const { return false; }
    // Makes the windows that waited for showing, in this control's children and theirs.
    void MakeWaitingWindows();

private:
    // False for a control that waits for showing while its form is hidden.
    bool MayMakeWindowNow();

protected:
    void WndProc(TMessage& message) override;
    virtual void KeyDown(unsigned short& key, TShiftState shift);
    virtual void KeyUp(unsigned short& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);

    void VisibleChanged() override;
    void EnabledChanged() override;
    void ColorChanged() override;
    void FontChanged() override;
    void TextChanged() override;
    HWND WindowHandleIfAny() const override { return handle_; }
    void Loaded() override;

    // Its own bounds and font, BorderWidth, then every child's, aligned once at the end.
    void ChangeScale(int fromDpi, int toDpi) override;
    // Lays out the aligned children inside rect (the client area less BorderWidth).
    virtual void AlignControls(TRect rect);
    // The window position this control's bounds give (forms: the screen).
    bool Aligning() const { return aligning_; }

    // Keyboard state of the whole form (KeyPreview) comes first: true when a handler of the
    // form took the key.
    bool FormPreviewsKey(UINT msg, unsigned short& key, TShiftState shift);

private:
    friend class TControl;
    template <class, const wchar_t*> friend class WindowBinding;
    class DispatchScope;

    // The window binding (window_binding.h).
    void WindowBound(HWND window) noexcept;
    void WindowMessage(TMessage& message);
    void WindowGone(HWND window) noexcept;
    std::weak_ptr<const void> WindowLife() const noexcept { return life_; }

    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void ChildChanged(TControl* child); // an aligned child moved, resized, hid or showed
    void CollectTabStops(std::vector<TWinControl*>& list);
    void MessageDone(); // end of the outermost message of this window
    // Visits the windowed children there are now, in index order, skipping any a visit
    // removed; false when a visit destroyed this control or its window (stop touching it).
    bool VisitWindowedChildren(const std::function<void(TWinControl&)>& visit);

    HWND handle_ = nullptr;
    WNDPROC defaultProc_ = ::DefWindowProcW;
    int dispatchDepth_ = 0;
    bool releasePending_ = false;       // CM_RELEASE came while a handler was still running
    std::vector<TControl*> controls_;   // index order
    std::vector<TWinControl*> tabList_; // tab order among the windowed children
    bool tabStop_ = false;
    int borderWidth_ = 0;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    std::shared_ptr<int> life_ = std::make_shared<int>(0); // expires with the object

    TKeyEvent onKeyDown_, onKeyUp_;
    TKeyPressEvent onKeyPress_;
    TNotifyEvent onEnter_, onExit_;

protected:
    // The canvas of controls that paint themselves (made by those that need one).
    std::unique_ptr<TControlCanvas> canvas_;
};

} // namespace nestora::gui
