#include "gui/win/tool_bar.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/win/canvas.h"
#include "gui/win/common_controls.h"
#include "gui/win/control_messages.h"
#include "gui/win/graphics_color.h"
#include "gui/win/menu.h"

#include <windowsx.h>

#include <algorithm>

namespace nestora::gui {

const EnumInfo kToolButtonStyleInfo{"TToolButtonStyle", {"tbsButton", "tbsCheck"}};

namespace {

// BODGY: a message-filter hook has no context of its own. This is the bar whose sub-menu
// is open on this thread, set only for the length of TrackPopupMenuEx.
TToolBar*& MenuTrackingBar() {
    static TToolBar* bar = nullptr;
    return bar;
}

bool HasSubMenu(const TToolButton* button) {
    return button->MenuItem() && button->MenuItem()->Count() > 0;
}

} // namespace

// ---------------------------------------------------------------------------------------
// TToolButton

const ClassInfo& TToolButton::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TToolButton>("TToolButton", &TComponent::StaticClassInfo())
            .Creatable()
            .Bool("AutoSize", &TToolButton::AutoSize, &TToolButton::SetAutoSize)
            .Text("Caption", &TToolButton::Caption, &TToolButton::SetCaption)
            .Bool("Down", &TToolButton::Down, &TToolButton::SetDown)
            .Bool("Enabled", &TToolButton::Enabled, &TToolButton::SetEnabled)
            .Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
            .Text("Hint", &TToolButton::Hint, &TToolButton::SetHint)
            .Component<TMenuItem>("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem)
            .Enum("Style", kToolButtonStyleInfo, &TToolButton::Style, &TToolButton::SetStyle)
            .Bool("Visible", &TToolButton::Visible, &TToolButton::SetVisible)
            .Event<TNotifyEvent>("OnClick", &TToolButton::SetOnClick)
            .Build();
    return info;
}

TToolButton::TToolButton(TComponent* owner) : TComponent(owner) {}

TToolButton::~TToolButton() {
    if (toolBar_)
        toolBar_->RemoveButton(this);
}

void TToolButton::SetToolBar(TToolBar* bar) {
    if (bar == toolBar_)
        return;
    if (toolBar_)
        toolBar_->RemoveButton(this);
    if (bar)
        bar->AddButton(this);
}

int TToolButton::Index() const {
    if (!toolBar_)
        return -1;
    const auto& list = toolBar_->buttons_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TToolButton::SetIndex(int index) {
    if (toolBar_)
        toolBar_->MoveButton(this, index);
}

void TToolButton::SetParentComponent(TComponent* parent) {
    if (auto* bar = dynamic_cast<TToolBar*>(parent))
        SetToolBar(bar);
    else
        TComponent::SetParentComponent(parent);
}

void TToolButton::SetCaption(const std::wstring& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    Changed();
}

void TToolButton::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Changed();
}

void TToolButton::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    Changed();
}

void TToolButton::SetDown(bool down) {
    if (down == down_)
        return;
    down_ = down;
    // One down button per group of check buttons.
    if (down_ && style_ == TToolButtonStyle::tbsCheck && toolBar_) {
        const auto& list = toolBar_->buttons_;
        const int index = Index();
        int first = index;
        while (first > 0 && !list[static_cast<std::size_t>(first)]->grouped_)
            --first;
        for (std::size_t i = static_cast<std::size_t>(first); i < list.size(); ++i) {
            TToolButton* other = list[i];
            if (static_cast<int>(i) > index && other->grouped_)
                break;
            if (other != this && other->style_ == TToolButtonStyle::tbsCheck && other->down_) {
                other->down_ = false;
                other->Changed();
            }
        }
    }
    Changed();
}

void TToolButton::SetGrouped(bool grouped) {
    if (grouped == grouped_)
        return;
    grouped_ = grouped;
    Changed();
}

void TToolButton::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    Changed();
}

void TToolButton::SetStyle(TToolButtonStyle style) {
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TToolButton::SetMenuItem(TMenuItem* item) {
    if (item == menuItem_)
        return;
    if (menuItem_)
        RemoveFreeNotification(menuItem_);
    menuItem_ = item;
    if (menuItem_)
        FreeNotification(menuItem_);
    UpdateFromMenuItem();
    Changed();
}

void TToolButton::UpdateFromMenuItem() {
    if (!menuItem_)
        return;
    const bool changed = caption_ != menuItem_->Caption() || enabled_ != menuItem_->Enabled();
    caption_ = menuItem_->Caption();
    enabled_ = menuItem_->Enabled();
    if (changed)
        Changed();
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == menuItem_) {
        menuItem_ = nullptr;
        if (!IsDestroying())
            Changed();
    }
}

void TToolButton::Click() {
    if (!enabled_)
        return;
    if (HasSubMenu(this) && toolBar_) {
        toolBar_->TrackMenu(this);
        return;
    }
    if (style_ == TToolButtonStyle::tbsCheck)
        SetDown(!down_);
    TMenuItem* item = menuItem_;
    if (onClick_)
        onClick_(this);
    // Last: the item's click may free this button.
    if (item)
        item->Click();
}

TRect TToolButton::BoundsRect() const {
    if (!toolBar_ || !toolBar_->HandleAllocated() || !visible_)
        return TRect{};
    HWND window = toolBar_->Handle();
    const auto index = ::SendMessageW(window, TB_COMMANDTOINDEX, static_cast<WPARAM>(command_), 0);
    RECT r{};
    if (index < 0 || !::SendMessageW(window, TB_GETITEMRECT, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(&r)))
        return TRect{};
    return FromRECT(r);
}

void TToolButton::Changed() {
    if (toolBar_)
        toolBar_->ButtonChanged(this);
}

// ---------------------------------------------------------------------------------------
// TToolBar

const ClassInfo& TToolBar::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TToolBar>("TToolBar", &TWinControl::StaticClassInfo())
            .Creatable()
            .Bool("AutoSize", &TToolBar::AutoSize, &TToolBar::SetAutoSize)
            .Int("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight)
            .Event<TToolBarCustomDrawEvent>("OnCustomDraw", &TToolBar::SetOnCustomDraw)
            .Event<TToolBarCustomDrawButtonEvent>("OnCustomDrawButton",
                                                  &TToolBar::SetOnCustomDrawButton)
            .Build();
    return info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 26);
    SetAlign(TAlign::alTop);
    SetColor(clBtnFace);
}

TToolBar::~TToolBar() {
    if (MenuTrackingBar() == this)
        MenuTrackingBar() = nullptr;
    while (!buttons_.empty())
        buttons_.back()->Free();
}

void TToolBar::CreateWnd() {
    // Here, not in CreateParams: that also serves to size a control that has no window,
    // which must not load the library.
    EnsureCommonControls();
    TWinControl::CreateWnd();
}

void TToolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.baseClass = TOOLBARCLASSNAMEW;
    params.style |= TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN |
                    CCS_NOMOVEY;
    params.style &= ~static_cast<DWORD>(WS_BORDER);
}

void TToolBar::InitializeWindow() {
    TWinControl::InitializeWindow();
    HWND window = Handle();
    ::SendMessageW(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Captions only: no pictures.
    ::SendMessageW(window, TB_SETIMAGELIST, 0, 0);
    ::SendMessageW(window, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    ::SendMessageW(window, TB_SETMAXTEXTROWS, 1, 0);
    SyncButtons();
}

void TToolBar::ApplyButtonHeight() {
    if (!HandleAllocated())
        return;
    // The control works the button size out again from the captions whenever buttons
    // come or change, so the height is given again after every such change.
    HWND window = Handle();
    const auto size = static_cast<DWORD>(::SendMessageW(window, TB_GETBUTTONSIZE, 0, 0));
    if (HIWORD(size) != buttonHeight_)
        ::SendMessageW(window, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, buttonHeight_));
}

TToolButton* TToolBar::FindButton(int command) const {
    for (TToolButton* b : buttons_)
        if (b->command_ == command)
            return b;
    return nullptr;
}

namespace {

TBBUTTON ButtonOf(const TToolButton& b, bool dropDownArrows) {
    TBBUTTON tb{};
    tb.iBitmap = I_IMAGENONE;
    tb.idCommand = b.Command();
    tb.fsState =
        static_cast<BYTE>((b.Enabled() ? TBSTATE_ENABLED : 0) | (b.Visible() ? 0 : TBSTATE_HIDDEN));
    if (b.Down())
        tb.fsState |= b.Style() == TToolButtonStyle::tbsCheck ? TBSTATE_CHECKED : TBSTATE_PRESSED;
    BYTE style = b.Style() == TToolButtonStyle::tbsCheck ? BTNS_CHECK : BTNS_BUTTON;
    if (b.Grouped())
        style |= BTNS_GROUP;
    if (b.AutoSize())
        style |= BTNS_AUTOSIZE;
    if (HasSubMenu(&b) && dropDownArrows)
        style |= BTNS_WHOLEDROPDOWN;
    tb.fsStyle = static_cast<BYTE>(style | BTNS_SHOWTEXT);
    tb.iString = reinterpret_cast<INT_PTR>(b.Caption().c_str());
    return tb;
}

} // namespace

void TToolBar::SyncButtons() {
    if (!HandleAllocated())
        return;
    HWND window = Handle();
    while (::SendMessageW(window, TB_BUTTONCOUNT, 0, 0) > 0)
        if (!::SendMessageW(window, TB_DELETEBUTTON, 0, 0))
            break;
    for (TToolButton* b : buttons_) {
        const TBBUTTON tb = ButtonOf(*b, dropDownArrows_);
        ::SendMessageW(window, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
    }
    AdjustSize();
    Invalidate();
}

void TToolBar::UpdateButton(TToolButton* button) {
    if (!HandleAllocated())
        return;
    const TBBUTTON tb = ButtonOf(*button, dropDownArrows_);
    std::wstring text = button->caption_;
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT | TBIF_STATE | TBIF_STYLE;
    info.fsState = tb.fsState;
    if (button == tracked_)
        info.fsState |= TBSTATE_PRESSED;
    info.fsStyle = tb.fsStyle;
    info.pszText = text.data();
    ::SendMessageW(Handle(), TB_SETBUTTONINFOW, static_cast<WPARAM>(button->command_),
                   reinterpret_cast<LPARAM>(&info));
    AdjustSize();
    Invalidate();
}

void TToolBar::AddButton(TToolButton* button) {
    button->toolBar_ = this;
    button->command_ = nextCommand_++;
    buttons_.push_back(button);
    if (HandleAllocated()) {
        const TBBUTTON tb = ButtonOf(*button, dropDownArrows_);
        ::SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
        AdjustSize();
        Invalidate();
    }
}

void TToolBar::RemoveButton(TToolButton* button) {
    const auto it = std::find(buttons_.begin(), buttons_.end(), button);
    if (it == buttons_.end())
        return;
    const int index = static_cast<int>(it - buttons_.begin());
    buttons_.erase(it);
    if (tracked_ == button)
        tracked_ = nullptr;
    if (switchTo_ == button)
        switchTo_ = nullptr;
    if (HandleAllocated()) {
        ::SendMessageW(Handle(), TB_DELETEBUTTON, static_cast<WPARAM>(index), 0);
        AdjustSize();
        Invalidate();
    }
    button->toolBar_ = nullptr;
    button->command_ = 0;
}

void TToolBar::MoveButton(TToolButton* button, int index) {
    const auto it = std::find(buttons_.begin(), buttons_.end(), button);
    if (it == buttons_.end())
        return;
    buttons_.erase(it);
    index = std::clamp(index, 0, ButtonCount());
    buttons_.insert(buttons_.begin() + index, button);
    SyncButtons();
}

void TToolBar::ButtonChanged(TToolButton* button) {
    UpdateButton(button);
}

void TToolBar::RefreshMenuButtons() {
    const std::vector<TToolButton*> list = buttons_;
    for (TToolButton* b : list)
        b->UpdateFromMenuItem();
}

void TToolBar::SetButtonHeight(int height) {
    height = std::max(height, 1);
    if (height == buttonHeight_)
        return;
    buttonHeight_ = height;
    if (HandleAllocated()) {
        SyncButtons();
    }
}

void TToolBar::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    AdjustSize();
}

void TToolBar::SetDropDownArrows(bool arrows) {
    if (arrows == dropDownArrows_)
        return;
    dropDownArrows_ = arrows;
    SyncButtons();
}

bool TToolBar::OpenMenuButtonAt(LPARAM position) {
    if (dropDownArrows_ || !HandleAllocated())
        return false;
    POINT p{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    const auto index = ::SendMessageW(Handle(), TB_HITTEST, 0, reinterpret_cast<LPARAM>(&p));
    if (index < 0 || index >= ButtonCount())
        return false;
    TToolButton* button = buttons_[static_cast<std::size_t>(index)];
    if (!HasSubMenu(button) || !button->enabled_ || !button->visible_)
        return false;
    // As a drop-down button does on the press: the menu opens under the button and this
    // returns when it has closed.
    button->Click();
    return true;
}

void TToolBar::AdjustSize() {
    ApplyButtonHeight();
    if (!autoSize_ || !HandleAllocated())
        return;
    int bottom = 0;
    for (const TToolButton* b : buttons_)
        bottom = std::max(bottom, b->BoundsRect().Bottom);
    if (bottom > 0 && bottom != Height())
        SetHeight(bottom);
}

void TToolBar::FontChanged() {
    TWinControl::FontChanged();
    SyncButtons();
}

void TToolBar::ColorChanged() {
    TWinControl::ColorChanged();
    Invalidate();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == trackedMenu_)
        trackedMenu_ = nullptr;
}

TToolButton* TToolBar::NeighbourMenuButton(TToolButton* from, bool forward) const {
    const auto it = std::find(buttons_.begin(), buttons_.end(), from);
    if (it == buttons_.end())
        return nullptr;
    const int count = ButtonCount();
    int index = static_cast<int>(it - buttons_.begin());
    for (int step = 1; step < count; ++step) {
        index = (index + (forward ? 1 : count - 1)) % count;
        TToolButton* b = buttons_[static_cast<std::size_t>(index)];
        if (b->visible_ && b->enabled_ && HasSubMenu(b))
            return b;
    }
    return nullptr;
}

// While a bar's sub-menu is open: Left in the bar's own drop-down and Right on an item
// that opens nothing move to the neighbouring menu button, as a menu bar does.
LRESULT CALLBACK ToolBarMenuFilter(int code, WPARAM wParam, LPARAM lParam) {
    TToolBar* bar = MenuTrackingBar();
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU && bar && bar->tracked_ && msg && msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)) {
        const bool forward = msg->wParam == VK_RIGHT;
        const HMENU top = bar->tracked_->MenuItem() ? bar->tracked_->MenuItem()->Handle() : nullptr;
        // The menu the highlight is in, and whether the highlighted item opens another
        // (from the last WM_MENUSELECT; nothing highlighted yet means the drop-down itself).
        const HMENU current = bar->selectedMenu_ ? bar->selectedMenu_ : top;
        const bool opensMore = bar->selectedMenu_ && bar->selectedOpens_;
        const bool switches = forward ? !opensMore : current == top;
        if (switches) {
            if (TToolButton* next = bar->NeighbourMenuButton(bar->tracked_, forward);
                next && next != bar->tracked_) {
                bar->switchTo_ = next;
                ::EndMenu();
                return 1;
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void TToolBar::TrackMenu(TToolButton* button) {
    if (!button || button->toolBar_ != this || tracked_ || !HandleAllocated())
        return;
    TToolButton* current = button;
    while (current) {
        TMenuItem* item = current->menuItem_;
        TMenu* menu = item ? item->GetParentMenu() : nullptr;
        if (!menu)
            return;
        menu->Handle();
        HMENU sub = item->Handle();
        if (!sub) {
            item->Click();
            return;
        }
        HWND window = Handle();
        const int command = current->command_;
        const auto index =
            ::SendMessageW(window, TB_COMMANDTOINDEX, static_cast<WPARAM>(command), 0);
        RECT r{};
        ::SendMessageW(window, TB_GETITEMRECT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&r));
        ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);

        tracked_ = current;
        switchTo_ = nullptr;
        selectedMenu_ = nullptr;
        selectedOpens_ = false;
        if (trackedMenu_ != menu) {
            if (trackedMenu_)
                RemoveFreeNotification(trackedMenu_);
            trackedMenu_ = menu;
            FreeNotification(menu);
        }
        ::SendMessageW(window, TB_PRESSBUTTON, static_cast<WPARAM>(command), TRUE);
        ::UpdateWindow(window);

        TPMPARAMS params{};
        params.cbSize = sizeof params;
        params.rcExclude = r;
        TToolBar* const previousBar = MenuTrackingBar();
        MenuTrackingBar() = this;
        HHOOK hook =
            ::SetWindowsHookExW(WH_MSGFILTER, &ToolBarMenuFilter, nullptr, ::GetCurrentThreadId());
        const std::weak_ptr<bool> alive = alive_;
        ::TrackPopupMenuEx(sub, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON,
                           r.left, r.bottom, window, &params);
        if (hook)
            ::UnhookWindowsHookEx(hook);
        if (alive.expired())
            return; // the bar was freed while its menu was open
        MenuTrackingBar() = previousBar;
        if (FindButton(command) && HandleAllocated())
            ::SendMessageW(Handle(), TB_PRESSBUTTON, static_cast<WPARAM>(command), FALSE);
        tracked_ = nullptr;
        current = switchTo_;
        switchTo_ = nullptr;
    }
}

bool TToolBar::ForwardMenuMessage(TMessage& message) {
    if (message.Msg == WM_COMMAND && (HIWORD(message.WParam) != 0 || message.LParam != 0))
        return false;
    std::vector<TMenu*> menus;
    if (trackedMenu_)
        menus.push_back(trackedMenu_);
    for (const TToolButton* b : buttons_)
        if (b->menuItem_)
            if (TMenu* m = b->menuItem_->GetParentMenu();
                m && std::find(menus.begin(), menus.end(), m) == menus.end())
                menus.push_back(m);
    for (TMenu* m : menus)
        if (m->HandleWindowMessage(message))
            return true; // a click may have freed this bar: nothing more of it
    return false;
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& draw) {
    NMCUSTOMDRAW& cd = draw.nmcd;
    switch (cd.dwDrawStage) {
    case CDDS_PREPAINT: {
        TCanvas canvas;
        canvas.SetHandle(cd.hdc);
        // The whole bar (the system may pass only the part to repaint; clipping keeps
        // drawing inside it anyway).
        const TRect rect = ClientRect();
        if (Color() != clNone) {
            canvas.Brush().SetColor(Color());
            canvas.FillRect(rect);
        }
        bool defaultDraw = true;
        if (onCustomDraw_)
            onCustomDraw_(this, canvas, rect, defaultDraw);
        canvas.SetHandle(nullptr);
        return defaultDraw ? CDRF_NOTIFYITEMDRAW : CDRF_SKIPDEFAULT;
    }
    case CDDS_ITEMPREPAINT: {
        TToolButton* button = FindButton(static_cast<int>(cd.dwItemSpec));
        if (!button)
            return CDRF_DODEFAULT;
        TCustomDrawState state = 0;
        if ((cd.uItemState & CDIS_SELECTED) || button == tracked_)
            state |= cdsSelected;
        if (cd.uItemState & CDIS_HOT)
            state |= cdsHot;
        if (cd.uItemState & (CDIS_DISABLED | CDIS_GRAYED))
            state |= cdsDisabled;
        if (cd.uItemState & CDIS_CHECKED)
            state |= cdsChecked;
        if (cd.uItemState & CDIS_FOCUS)
            state |= cdsFocused;
        TCanvas canvas;
        canvas.SetHandle(cd.hdc);
        canvas.Font().Assign(Font());
        bool defaultDraw = true;
        if (onCustomDrawButton_)
            onCustomDrawButton_(this, button, canvas, FromRECT(cd.rc), state, defaultDraw);
        if (!defaultDraw) {
            canvas.SetHandle(nullptr);
            return CDRF_SKIPDEFAULT;
        }
        // The bar draws the button with the font the handler left on the canvas.
        itemFont_.Assign(canvas.Font());
        canvas.SetHandle(nullptr);
        itemOldFont_ = ::SelectObject(cd.hdc, itemFont_.Handle());
        draw.clrText = ColorToRGB(itemFont_.Color());
        ::SetTextColor(cd.hdc, draw.clrText);
        return CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
    }
    case CDDS_ITEMPOSTPAINT:
        if (itemOldFont_) {
            ::SelectObject(cd.hdc, itemOldFont_);
            itemOldFont_ = nullptr;
        }
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void TToolBar::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(message.LParam);
        if (header && HandleAllocated() && header->hwndFrom == Handle()) {
            if (header->code == NM_CUSTOMDRAW) {
                message.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(header));
                return;
            }
            if (header->code == TBN_DROPDOWN) {
                const auto* toolbar = reinterpret_cast<NMTOOLBARW*>(header);
                message.Result = TBDDRET_DEFAULT;
                if (TToolButton* b = FindButton(toolbar->iItem))
                    b->Click();
                return;
            }
        }
        break;
    }
    case CN_COMMAND:
        if (HIWORD(message.WParam) == BN_CLICKED) {
            if (TToolButton* b = FindButton(LOWORD(message.WParam)); b && !HasSubMenu(b)) {
                message.Result = 0;
                b->Click();
                return;
            }
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (OpenMenuButtonAt(message.LParam)) {
            message.Result = 0;
            return;
        }
        break;
    case WM_ERASEBKGND: {
        if (Color() == clNone)
            break;
        TCanvas canvas;
        canvas.SetHandle(reinterpret_cast<HDC>(message.WParam));
        canvas.Brush().SetColor(Color());
        canvas.FillRect(ClientRect());
        canvas.SetHandle(nullptr);
        message.Result = 1;
        return;
    }
    case WM_MENUSELECT:
        // Where the highlight is, for Left and Right (ToolBarMenuFilter).
        if (tracked_) {
            const bool closed = HIWORD(message.WParam) == 0xFFFF && message.LParam == 0;
            selectedMenu_ = closed ? nullptr : reinterpret_cast<HMENU>(message.LParam);
            selectedOpens_ = !closed && (HIWORD(message.WParam) & MF_POPUP) != 0;
        }
        break;
    case WM_COMMAND:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
        if (ForwardMenuMessage(message))
            return;
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

} // namespace nestora::gui
