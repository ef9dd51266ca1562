#include "gui/win/control.h"

#include "gui/core/class_builder.h"
#include "gui/core/dpi_scale.h"
#include "gui/win/form.h"
#include "gui/win/popup_menu.h"
#include "gui/win/win_control.h"

#include <windowsx.h>

namespace nestora::gui {

TShiftState MouseShiftState(WPARAM keyFlags) {
    TShiftState s = 0;
    if (keyFlags & MK_SHIFT)
        s |= ssShift;
    if (keyFlags & MK_CONTROL)
        s |= ssCtrl;
    if (keyFlags & MK_LBUTTON)
        s |= ssLeft;
    if (keyFlags & MK_RBUTTON)
        s |= ssRight;
    if (keyFlags & MK_MBUTTON)
        s |= ssMiddle;
    if (::GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (::GetKeyState(VK_SHIFT) < 0)
        s |= ssShift;
    if (::GetKeyState(VK_CONTROL) < 0)
        s |= ssCtrl;
    if (::GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

const ClassInfo& TControl::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TControl>("TControl", &TComponent::StaticClassInfo())
            .Int("Left", &TControl::Left, &TControl::SetLeft)
            .Int("Top", &TControl::Top, &TControl::SetTop)
            .Int("Width", &TControl::Width, &TControl::SetWidth)
            .Int("Height", &TControl::Height, &TControl::SetHeight)
            .Enum("Align", kAlignInfo, &TControl::Align, &TControl::SetAlign)
            .Bool("Visible", &TControl::Visible, &TControl::SetVisible)
            .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled)
            .Color("Color", &TControl::Color, &TControl::SetColor)
            .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
            .Object("Font", [](TControl& c) -> TPersistent* { return &c.Font(); })
            .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
            .Text("Hint", &TControl::Hint, &TControl::SetHint)
            .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
            .Component<TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
            .Event<TNotifyEvent>("OnClick", &TControl::SetOnClick)
            .Event<TNotifyEvent>("OnDblClick", &TControl::SetOnDblClick)
            .Event<TMouseEvent>("OnMouseDown", &TControl::SetOnMouseDown)
            .Event<TMouseEvent>("OnMouseUp", &TControl::SetOnMouseUp)
            .Event<TMouseMoveEvent>("OnMouseMove", &TControl::SetOnMouseMove)
            .Event<TNotifyEvent>("OnMouseEnter", &TControl::SetOnMouseEnter)
            .Event<TNotifyEvent>("OnMouseLeave", &TControl::SetOnMouseLeave)
            .Build();
    return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    // The message table comes first for every message, whatever WindowProc is in place.
    windowProc_ = std::make_shared<TWndMethod>([this](TMessage& m) { Dispatch(m); });
    font_.SetOnChange([this](TObject*) {
        if (!takingParentFont_)
            parentFont_ = false;
        FontChanged();
    });
}

TControl::~TControl() {
    font_.SetOnChange(nullptr);
    if (parent_)
        parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_)
        return;
    for (TControl* p = parent; p; p = p->parent_)
        if (p == this)
            throw EInvalidOperation(FormatText(L"Control '%s' cannot be its own parent", {Name()}));
    if (parent_)
        parent_->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* windowed = dynamic_cast<TWinControl*>(parent))
        SetParent(windowed);
}

void TControl::StoreBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    StoreBounds(left, top, width, height);
    BoundsChanged();
    if (parent_)
        parent_->ChildChanged(this);
}

TRect TControl::ClientRect() const {
    return TRect{0, 0, width_, height_};
}

void TControl::SetDesignBounds(int left, int top, int width, int height) {
    const TRect r = ScaleBoundsToDpi(gui::BoundsRect(left, top, width, height), dpi_);
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TControl::ScaleForDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_)
        return;
    const int from = dpi_;
    dpi_ = dpi;
    ChangeScale(from, dpi);
}

void TControl::ChangeScale(int fromDpi, int toDpi) {
    dpi_ = toDpi;
    ScaleBounds(fromDpi, toDpi);
    // A font taken from the parent comes scaled with the parent's.
    if (!parentFont_) {
        font_.SetPixelsPerInch(toDpi);
        font_.SetHeight(ScaleBetweenDpis(font_.Height(), fromDpi, toDpi));
    }
}

void TControl::ScaleBounds(int fromDpi, int toDpi) {
    SetBounds(ScaleBetweenDpis(left_, fromDpi, toDpi), ScaleBetweenDpis(top_, fromDpi, toDpi),
              ScaleBetweenDpis(width_, fromDpi, toDpi), ScaleBetweenDpis(height_, fromDpi, toDpi));
}

void TControl::SetClientSize(int width, int height) {
    const TRect client = ClientRect();
    SetBounds(left_, top_, width + (width_ - client.Width()), height + (height_ - client.Height()));
}

void TControl::SetAlign(TAlign align) {
    if (align == align_)
        return;
    align_ = align;
    if (parent_)
        parent_->Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    VisibleChanged();
}

void TControl::VisibleChanged() {
    if (parent_ && align_ != TAlign::alNone)
        parent_->Realign();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    EnabledChanged();
}

void TControl::SetColor(TColor color) {
    // An explicit colour is the control's own, even when it equals the parent's now.
    parentColor_ = false;
    if (color == color_)
        return;
    color_ = color;
    ColorChanged();
}

void TControl::SetParentColor(bool parentColor) {
    parentColor_ = parentColor;
    if (parentColor)
        ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_ || parent_->color_ == color_)
        return;
    color_ = parent_->color_;
    ColorChanged();
}

void TControl::ColorChanged() {
    Invalidate();
}

void TControl::SetParentFont(bool parentFont) {
    parentFont_ = parentFont;
    if (parentFont)
        ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_)
        return;
    struct Flag {
        bool& f;
        explicit Flag(bool& flag) : f(flag) { f = true; }
        ~Flag() { f = false; }
    } taking(takingParentFont_);
    font_.Assign(parent_->font_);
}

void TControl::FontChanged() {
    Invalidate();
}

std::wstring TControl::Text() const {
    return text_;
}

void TControl::SetText(const std::wstring& text) {
    if (text == text_)
        return;
    text_ = text;
    TextChanged();
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (menu == popupMenu_)
        return;
    popupMenu_ = menu;
    if (menu)
        FreeNotification(menu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == popupMenu_)
        popupMenu_ = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    ParentFontChanged();
    ParentColorChanged();
}

void TControl::SetWindowProc(TWndMethod proc) {
    // A new holder each time: a WindowProc replaced while it runs stays alive until it
    // returns (the entry holds it).
    if (proc)
        windowProc_ = std::make_shared<TWndMethod>(std::move(proc));
    else
        windowProc_ = std::make_shared<TWndMethod>([this](TMessage& m) { Dispatch(m); });
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{WindowHandleIfAny(), msg, wParam, lParam, 0};
    const std::shared_ptr<TWndMethod> proc = windowProc_;
    (*proc)(m);
    return m.Result;
}

void TControl::SetMessageHandler(UINT msg, TWndMethod handler) {
    for (auto it = messageTable_.begin(); it != messageTable_.end(); ++it) {
        if (it->msg == msg) {
            if (handler)
                it->handler = std::move(handler);
            else
                messageTable_.erase(it);
            return;
        }
    }
    if (handler)
        messageTable_.push_back({msg, std::move(handler)});
}

void TControl::Dispatch(TMessage& message) {
    for (const MessageEntry& e : messageTable_) {
        if (e.msg == message.Msg) {
            const TWndMethod handler = e.handler; // it may change the table
            handler(message);
            return;
        }
    }
    WndProc(message);
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        HandleMouseMessage(message);
        return;
    case WM_CONTEXTMENU:
        if (!ShowPopupMenu(message.LParam))
            DefaultHandler(message); // the parent may have a menu for it
        return;
    default:
        DefaultHandler(message);
    }
}

bool TControl::ShowPopupMenu(LPARAM screenPoint) {
    if (!popupMenu_ || !popupMenu_->AutoPopup())
        return false;
    POINT p{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (p.x == -1 && p.y == -1) {
        // From the keyboard: under the control's top-left corner.
        p = POINT{0, 0};
        if (const HWND window = WindowHandleIfAny())
            ::ClientToScreen(window, &p);
    }
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(p.x, p.y);
    return true;
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::HandleMouseMessage(TMessage& m) {
    const int x = GET_X_LPARAM(m.LParam);
    const int y = GET_Y_LPARAM(m.LParam);
    const TShiftState shift = MouseShiftState(m.WParam);
    const HWND window = WindowHandleIfAny();
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        DefaultHandler(m);
        if (CapturesMouse() && window)
            ::SetCapture(window);
        clicked_ = true;
        MouseDown(TMouseButton::mbLeft, shift, x, y);
        break;
    case WM_LBUTTONDBLCLK:
        DefaultHandler(m);
        if (CapturesMouse() && window)
            ::SetCapture(window);
        DblClick();
        MouseDown(TMouseButton::mbLeft, shift | ssDouble, x, y);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        DefaultHandler(m);
        MouseDown(TMouseButton::mbRight,
                  shift | (m.Msg == WM_RBUTTONDBLCLK ? TShiftState{ssDouble} : 0u), x, y);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        DefaultHandler(m);
        MouseDown(TMouseButton::mbMiddle,
                  shift | (m.Msg == WM_MBUTTONDBLCLK ? TShiftState{ssDouble} : 0u), x, y);
        break;
    case WM_LBUTTONUP: {
        DefaultHandler(m);
        if (CapturesMouse() && window && ::GetCapture() == window)
            ::ReleaseCapture();
        const bool click = clicked_ && ClientRect().Contains(TPoint{x, y});
        clicked_ = false;
        if (click)
            Click();
        MouseUp(TMouseButton::mbLeft, shift, x, y);
        break;
    }
    case WM_RBUTTONUP:
        MouseUp(TMouseButton::mbRight, shift, x, y);
        DefaultHandler(m);
        break;
    case WM_MBUTTONUP:
        DefaultHandler(m);
        MouseUp(TMouseButton::mbMiddle, shift, x, y);
        break;
    case WM_MOUSEMOVE:
        DefaultHandler(m);
        if (!mouseInside_ && window) {
            mouseInside_ = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            ::TrackMouseEvent(&track);
            MouseEnter();
        }
        MouseMove(shift, x, y);
        break;
    case WM_MOUSELEAVE:
        DefaultHandler(m);
        mouseInside_ = false;
        MouseLeave();
        break;
    default:
        DefaultHandler(m);
    }
}

void TControl::Click() {
    if (onClick_)
        onClick_(this);
}

void TControl::DblClick() {
    if (onDblClick_)
        onDblClick_(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (onMouseDown_)
        onMouseDown_(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (onMouseUp_)
        onMouseUp_(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (onMouseMove_)
        onMouseMove_(this, shift, x, y);
}

void TControl::MouseEnter() {
    if (onMouseEnter_)
        onMouseEnter_(this);
}

void TControl::MouseLeave() {
    if (onMouseLeave_)
        onMouseLeave_(this);
}

TCustomForm* TControl::ParentForm() {
    TControl* top = this;
    while (top->parent_)
        top = top->parent_;
    return dynamic_cast<TCustomForm*>(top);
}

} // namespace nestora::gui
