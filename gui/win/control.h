#pragma once
// TControl: the common base of everything that sits on a form — its place (parent and
// bounds), alignment, visibility, colour and font (each its own or its parent's), hint,
// mouse events and the window procedure that handles its messages.
//
// Every control of this framework is a real window (TWinControl), labels included; TControl
// holds what does not need the window, so the state survives the window being made later or
// made again.
//
// Messages: each message of the control goes to WindowProc, a settable function that
// defaults to the control's own WndProc. A component that needs to see another control's
// messages (the skinned frame over its form) keeps the current WindowProc, installs its own
// that calls the kept one, and puts the kept one back when it is destroyed first.
// The default WindowProc looks up the control's message table first (SetMessageHandler: a
// form subclass handles WM_HOTKEY in a member function), then calls WndProc, which handles
// what the control knows and passes the rest to DefaultHandler (the system's processing).
// Perform() sends a message straight to WindowProc, window or no window.
//
// Life story:
//   created   with its owner; no parent, no window, Visible and Enabled, ParentFont and
//             ParentColor on (so it takes its parent's font and colour until its own are
//             set).
//   parented  SetParent (or a description nesting it): it joins the parent's controls in
//             index order; aligned controls are laid out again.
//   scaled    its form moved it to another DPI (ScaleForDpi): bounds and its own font
//             were multiplied, Dpi() tells the DPI they are for now.
//   destroyed it leaves its parent. A parent that is destroyed destroys the controls still
//             on it.
//
// Display scale: bounds and fonts are pixels of the DPI the control is drawn at (Dpi(),
// 96 until its form scales it). Descriptions and the program write 96-dpi numbers;
// the form scales them once it knows its window's DPI, and again on WM_DPICHANGED.
// A control's own numbers that are not bounds (a skin's metrics, a menu's heights) stay
// in 96-dpi units and are scaled where they are used, by Dpi().

#include "gui/win/graphics_win32.h"

#include "gui/core/align_layout.h"
#include "gui/core/color.h"
#include "gui/core/component.h"
#include "gui/core/events.h"
#include "gui/core/graphics_geometry.h"
#include "gui/win/font.h"
#include "gui/win/message.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nestora::gui {

class TWinControl;
class TCustomForm;
class TPopupMenu;

using TWndMethod = std::function<void(TMessage&)>;

LRESULT CALLBACK FrameworkWindowEntry(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

class TControl : public TComponent {
public:
    ~TControl() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // --- place -----------------------------------------------------------------------
    TWinControl* Parent() const { return parent_; }
    // Moves the control onto parent (null: off any parent). Refuses itself and its own
    // children as parent (EInvalidOperation).
    virtual void SetParent(TWinControl* parent);
    // Descriptions nest controls inside windowed controls: the enclosing one becomes the
    // parent. Other enclosing components are ignored.
    void SetParentComponent(TComponent* parent) override;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // Position relative to the parent's client area (the screen for forms), outer size.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return gui::BoundsRect(left_, top_, width_, height_); }
    // The drawable area in the control's own coordinates.
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
    void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }
    virtual void SetClientSize(int width, int height);
    // Bounds written for 96 dpi (as descriptions are), placed at the control's DPI.
    void SetDesignBounds(int left, int top, int width, int height);

    // --- display scale ----------------------------------------------------------------
    // The DPI the control's bounds and font are for now (96 until it is scaled).
    int Dpi() const { return dpi_; }
    // Lays the control (and its children) out for dpi: every bound and every font that is
    // the control's own is multiplied by dpi / Dpi(), rounded as the system rounds. A dpi
    // of 0 or the current one does nothing.
    void ScaleForDpi(int dpi);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    // --- state -----------------------------------------------------------------------
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);

    // The control's text: a caption for most, the content of an edit box.
    virtual std::wstring Text() const;
    virtual void SetText(const std::wstring& text);
    std::wstring Caption() const { return Text(); }
    void SetCaption(const std::wstring& caption) { SetText(caption); }

    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint) { hint_ = hint; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show) { showHint_ = show; }

    // The menu shown on the right button or the menu key when its AutoPopup is on (not
    // owned; cleared when it is destroyed).
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);

    // --- messages ----------------------------------------------------------------------
    const TWndMethod& WindowProc() const { return *windowProc_; }
    // An empty function puts the control's own WndProc back.
    void SetWindowProc(TWndMethod proc);
    // Sends a message straight to WindowProc and returns its Result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The control's message table: handler runs for msg instead of WndProc (an empty
    // handler removes the entry). The handler may pass the message on with WndProc or
    // DefaultHandler.
    void SetMessageHandler(UINT msg, TWndMethod handler);
    virtual void WndProc(TMessage& message);
    // The processing a message gets when nothing in the framework handles it.
    virtual void DefaultHandler(TMessage& message);

    // --- painting ----------------------------------------------------------------------
    virtual void Invalidate() {}
    // Paints what is invalid now.
    virtual void Update() {}
    void Repaint() {
        Invalidate();
        Update();
    }
    void Refresh() { Repaint(); }

    // --- events ------------------------------------------------------------------------
    void SetOnClick(TNotifyEvent e) { onClick_ = std::move(e); }
    void SetOnDblClick(TNotifyEvent e) { onDblClick_ = std::move(e); }
    void SetOnMouseDown(TMouseEvent e) { onMouseDown_ = std::move(e); }
    void SetOnMouseUp(TMouseEvent e) { onMouseUp_ = std::move(e); }
    void SetOnMouseMove(TMouseMoveEvent e) { onMouseMove_ = std::move(e); }
    void SetOnMouseEnter(TNotifyEvent e) { onMouseEnter_ = std::move(e); }
    void SetOnMouseLeave(TNotifyEvent e) { onMouseLeave_ = std::move(e); }
    const TNotifyEvent& OnClick() const { return onClick_; }

    // Runs the click: OnClick. Buttons of subclasses add their action.
    virtual void Click();
    virtual void DblClick();

    // The form the control is on (itself for a form), or null.
    TCustomForm* ParentForm();

protected:
    explicit TControl(TComponent* owner);

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // The mouse came over the control / left it (tracked with TrackMouseEvent).
    virtual void MouseEnter();
    virtual void MouseLeave();
    bool MouseInside() const { return mouseInside_; }

    // Effects of changes, for subclasses to extend (the base repaints where it matters).
    virtual void BoundsChanged() {}
    // The work of ScaleForDpi, from fromDpi to toDpi (Dpi() is toDpi already). The base
    // scales the bounds (ScaleBounds) and the font unless it is the parent's; subclasses
    // add their own numbers and call this.
    virtual void ChangeScale(int fromDpi, int toDpi);
    virtual void ScaleBounds(int fromDpi, int toDpi);
    virtual void VisibleChanged();
    virtual void EnabledChanged() {}
    virtual void ColorChanged();
    virtual void FontChanged();
    virtual void TextChanged() { Invalidate(); }
    // The parent's colour or font changed (or the control got a parent).
    void ParentColorChanged();
    void ParentFontChanged();

    // Whether the control takes the mouse for itself between button down and up (custom
    // drawn controls); system controls manage the capture themselves.
    virtual bool CapturesMouse() const { return false; }
    // Whether the control is a window of its own here (always true for this framework's
    // controls; see TWinControl).
    virtual HWND WindowHandleIfAny() const { return nullptr; }

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // State written straight by subclasses that keep the window in step themselves.
    void StoreBounds(int left, int top, int width, int height);
    std::wstring text_;

private:
    friend class TWinControl;
    void Dispatch(TMessage& message); // the message table, then WndProc
    void HandleMouseMessage(TMessage& message);
    bool ShowPopupMenu(LPARAM screenPoint);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    TFont font_;
    bool parentFont_ = true;
    bool takingParentFont_ = false;
    std::wstring hint_;
    bool showHint_ = false;
    TPopupMenu* popupMenu_ = nullptr;
    int dpi_ = 96;
    bool clicked_ = false;
    bool mouseInside_ = false;

    std::shared_ptr<TWndMethod> windowProc_;
    struct MessageEntry {
        UINT msg;
        TWndMethod handler;
    };
    std::vector<MessageEntry> messageTable_;

    TNotifyEvent onClick_, onDblClick_, onMouseEnter_, onMouseLeave_;
    TMouseEvent onMouseDown_, onMouseUp_;
    TMouseMoveEvent onMouseMove_;
};

// Shift state from a mouse message's key flags (and Alt from the keyboard).
TShiftState MouseShiftState(WPARAM keyFlags);
// Shift state of the keyboard now.
TShiftState KeyboardShiftState();

} // namespace nestora::gui
