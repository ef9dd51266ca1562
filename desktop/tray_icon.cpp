#include "desktop/tray_icon.h"

#include "desktop/core/notify_text.h"
#include "desktop/foreground_return.h"
#include "desktop/uint32_property.h"
#include "gui/core/class_builder.h"
#include "gui/win/application.h"
#include "gui/win/form.h"
#include "gui/win/icon_sizes.h"
#include "gui/win/popup_menu.h"
#include "gui/win/win_control.h"
#include "gui/win/window_class.h"

#include <algorithm>
#include <iterator>

namespace nestora::desktop {

namespace {

// Copies text into a zero-filled field of the shell's record, cut to limit units.
template <std::size_t N>
void CopyField(WCHAR (&field)[N], std::wstring_view text, std::size_t limit) {
    static_assert(N > 0);
    std::fill(std::begin(field), std::end(field), L'\0');
    const std::u16string units = CutToUtf16(text, std::min(limit, N - 1));
    std::copy(units.begin(), units.end(), field);
}

gui::TShiftState HeldKeys() {
    gui::TShiftState shift = 0;
    if (::GetKeyState(VK_SHIFT) < 0)
        shift |= gui::ssShift;
    if (::GetKeyState(VK_CONTROL) < 0)
        shift |= gui::ssCtrl;
    if (::GetKeyState(VK_MENU) < 0)
        shift |= gui::ssAlt;
    return shift;
}

} // namespace

const gui::EnumInfo kTrayIconInfoTypeInfo{"TabfTrayIconInfoType",
                                          {"tiiNone", "tiiInfo", "tiiWarning", "tiiError"}};

const gui::ClassInfo& TabfTrayIcon::StaticClassInfo() {
    using B = gui::ClassBuilder<TabfTrayIcon>;
    using T = TabfTrayIcon;
    static const gui::ClassInfo info =
        B("TabfTrayIcon", &TabfCustomTimer::StaticClassInfo())
            .Creatable()
            .Bool("CycleIcons", &T::CycleIcons, &T::SetCycleIcons)
            .Add(UInt32Property<T>("CycleInterval", &T::CycleInterval, &T::SetCycleInterval))
            .Bool("Enabled", &T::Enabled, &T::SetEnabled)
            .Text("Hint", &T::Hint, &T::SetHint)
            .Picture("Icon", &T::SetIconResource)
            .Component<gui::TImageList>("ImageList", &T::ImageList, &T::SetImageList)
            .Int("ImageIndex", &T::ImageIndex, &T::SetImageIndex)
            .Int("IconID", &T::IconID, &T::SetIconID)
            .Bool("MinimizeToTray", &T::MinimizeToTray, &T::SetMinimizeToTray)
            .Bool("MinimizeOnStart", &T::MinimizeOnStart, &T::SetMinimizeOnStart)
            .Component<gui::TPopupMenu>("PopupMenu", &T::PopupMenu, &T::SetPopupMenu)
            .Bool("PopupByLeft", &T::PopupByLeft, &T::SetPopupByLeft)
            .Bool("ShowHint", &T::ShowHint, &T::SetShowHint)
            .Bool("Visible", &T::Visible, &T::SetVisible)
            .Bool("VisibleOnDesigning", &T::VisibleOnDesigning, &T::SetVisibleOnDesigning)
            .Text("InfoText", &T::InfoText, &T::SetInfoText)
            .Text("InfoTitle", &T::InfoTitle, &T::SetInfoTitle)
            .Int("InfoTimeout", &T::InfoTimeout, &T::SetInfoTimeout)
            .Enum("InfoType", kTrayIconInfoTypeInfo, &T::InfoType, &T::SetInfoType)
            .Event<gui::TNotifyEvent>("OnMinimize", &T::SetOnMinimize)
            .Event<gui::TMouseMoveEvent>("OnMouseMove", &T::SetOnMouseMove)
            .Event<gui::TMouseEvent>("OnMouseDown", &T::SetOnMouseDown)
            .Event<gui::TMouseEvent>("OnMouseUp", &T::SetOnMouseUp)
            .Event<gui::TNotifyEvent>("OnClick", &T::SetOnClick)
            .Event<gui::TNotifyEvent>("OnDblClick", &T::SetOnDblClick)
            .Event<gui::TNotifyEvent>("OnPopupMenu", &T::SetOnPopupMenu)
            .Event<gui::TNotifyEvent>("OnShow", &T::SetOnShow)
            .Event<gui::TNotifyEvent>("OnHide", &T::SetOnHide)
            .Event<gui::TNotifyEvent>("OnCycleIcons", &T::SetOnCycleIcons)
            .Event<gui::TNotifyEvent>("OnBalloonShow", &T::SetOnBalloonShow)
            .Event<gui::TNotifyEvent>("OnBalloonTimeout", &T::SetOnBalloonTimeout)
            .Event<gui::TNotifyEvent>("OnBalloonClick", &T::SetOnBalloonClick)
            .Build();
    return info;
}

TabfTrayIcon::TabfTrayIcon(gui::TComponent* owner) : TabfCustomTimer(owner) {
    changeLink_.SetOnChange([this](gui::TObject*) { UpdateFromImageList(); });
    // Off before the handler arrives, so the timer never starts at the base's 1000 ms.
    TabfCustomTimer::SetEnabled(false);
    SetInterval(200);
    if (!IsDesigning())
        SetOnTimer([](gui::TObject*) {});
    HookApplication();
}

TabfTrayIcon::~TabfTrayIcon() {
    try {
        if (visible_ && !IsDesigning() && !GoingWithOthers()) {
            // Freed on its own at run time: HideIcon with all its effects, so that an
            // application hidden in the tray comes back.
            SetVisible(false);
        } else if (visible_ || visibleOnDesigning_ || inTray_ || retryPending_) {
            // Only the icon goes: no event, no window shown or made again. (A designer's
            // icon goes too, though Visible alone would leave it behind.)
            flagMask_ &= ~static_cast<UINT>(NIF_ICON);
            DeleteFromTray();
            visible_ = visibleOnDesigning_ = false;
        }
    } catch (...) {
        // A destructor goes on: the icon is as gone as the shell allows.
    }
    StopRetry();
    UnhookApplication();
    // Last: code up the stack that raised the event which freed this component stops here.
    *alive_ = false;
}

bool TabfTrayIcon::GoingWithOthers() const {
    // Owners free what they own after taking themselves off it: an owner that is being
    // destroyed shows as no owner at all.
    const gui::TComponent* owner = Owner();
    if (!owner || owner->IsDestroying())
        return true;
    const gui::TApplication* app = gui::CurrentApplication();
    return !app || app->IsDestroying();
}

gui::TWinControl* TabfTrayIcon::OwnerControl() const {
    return dynamic_cast<gui::TWinControl*>(Owner());
}

bool TabfTrayIcon::Raise(const gui::TNotifyEvent& event) {
    if (!event)
        return true;
    const std::shared_ptr<bool> alive = alive_;
    const gui::TNotifyEvent handler = event; // the handler may replace itself
    handler(this);
    return *alive;
}

// ---- properties -------------------------------------------------------------------------

void TabfTrayIcon::SetHint(const std::wstring& hint) {
    if (hint == hint_)
        return;
    hint_ = hint;
    UpdateIcon();
}

void TabfTrayIcon::SetIcon(const gui::TIcon& icon) {
    icon_.Assign(icon);
    iconResource_.clear();
    UpdateIcon();
}

void TabfTrayIcon::SetIconResource(const std::wstring& name) {
    const int size = gui::SmallIconSize(shell_.dpi ? shell_.dpi() : gui::TaskbarDpi());
    icon_.LoadFromResourceName(gui::FrameworkInstance(), name, size, size);
    iconResource_ = name;
    UpdateIcon();
}

bool TabfTrayIcon::FitIconToTray() {
    if (iconResource_.empty())
        return false;
    const int size = gui::SmallIconSize(shell_.dpi ? shell_.dpi() : gui::TaskbarDpi());
    if (size == icon_.Width() && size == icon_.Height())
        return false;
    try {
        icon_.LoadFromResourceName(gui::FrameworkInstance(), iconResource_, size, size);
    } catch (const gui::Exception&) {
        return false; // the icon it had stays
    }
    return true;
}

void TabfTrayIcon::SetImageList(gui::TImageList* list) {
    if (list == imageList_)
        return;
    if (imageList_) {
        imageList_->UnRegisterChanges(changeLink_);
        RemoveFreeNotification(imageList_);
    }
    imageList_ = list;
    if (imageList_) {
        FreeNotification(imageList_);
        imageList_->RegisterChanges(changeLink_);
    }
    UpdateFromImageList();
}

void TabfTrayIcon::SetImageIndex(int index) {
    imageIndex_ = index;
    UpdateFromImageList();
}

void TabfTrayIcon::SetIconID(int id) {
    if (id == iconID_)
        return;
    const bool wasVisible = visible_;
    SetVisible(false);
    iconID_ = id;
    SetVisible(wasVisible);
}

void TabfTrayIcon::SetPopupMenu(gui::TPopupMenu* menu) {
    if (menu == popupMenu_)
        return;
    if (popupMenu_)
        RemoveFreeNotification(popupMenu_);
    popupMenu_ = menu;
    if (popupMenu_)
        FreeNotification(popupMenu_);
}

void TabfTrayIcon::SetShowHint(bool show) {
    if (show == showHint_)
        return;
    showHint_ = show;
    UpdateIcon();
}

void TabfTrayIcon::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    // While a description is read the icon waits for Loaded, when its hint and image are
    // known: an icon added now would be added a second time there.
    if (IsDesigning() || IsLoading())
        return;
    if (visible)
        ShowIcon();
    else
        HideIcon();
}

void TabfTrayIcon::SetVisibleOnDesigning(bool visible) {
    if (visible == visibleOnDesigning_)
        return;
    visibleOnDesigning_ = visible;
    if (!IsDesigning() || IsLoading())
        return;
    if (visible)
        ShowIcon();
    else
        HideIcon();
}

// ---- the shell --------------------------------------------------------------------------

BOOL TabfTrayIcon::Notify(DWORD message) {
    if (shell_.notify)
        return shell_.notify(message, iconData_);
    return ::Shell_NotifyIconW(message, &iconData_);
}

void TabfTrayIcon::FillIconData() {
    std::size_t tipLimit = kTipLimit;
    if (shell_.winNT5OrLater) {
        iconData_.cbSize = sizeof(NOTIFYICONDATAW);
    } else {
        // The first version of the record: the shell reads no further than szTip[64].
        iconData_.cbSize = NOTIFYICONDATAW_V1_SIZE;
        tipLimit = kLegacyTipLimit;
    }
    iconData_.hWnd = WindowHandle();
    iconData_.uID = static_cast<UINT>(iconID_);
    iconData_.uFlags = flagMask_;
    iconData_.uCallbackMessage = kCallbackMessage;
    iconData_.hIcon = icon_.Handle();
    // With ShowHint off the tip goes empty and NIF_TIP stays: the shell then shows none.
    CopyField(iconData_.szTip, showHint_ ? std::wstring_view(hint_) : std::wstring_view(),
              tipLimit);
}

void TabfTrayIcon::InsertToTray() {
    BOOL added = FALSE;
    try {
        FillIconData();
        added = Notify(NIM_ADD);
    } catch (...) {
        throw EabfTrayIcon(Name() + L".InsertToTray failed");
    }
    if (added) {
        inTray_ = true;
        StopRetry();
        return;
    }
    if (KnownInTray())
        return;
    StartRetry();
}

bool TabfTrayIcon::KnownInTray() {
    // A second add of an icon the shell has is refused as well; a modify then succeeds.
    if (inTray_)
        return true;
    if (Notify(NIM_MODIFY)) {
        inTray_ = true;
        return true;
    }
    return false;
}

void TabfTrayIcon::DeleteFromTray() {
    StopRetry();
    inTray_ = false;
    try {
        FillIconData();
        Notify(NIM_DELETE);
    } catch (...) {
        throw EabfTrayIcon(Name() + L".DeleteFromTray failed");
    }
}

void TabfTrayIcon::UpdateIcon() {
    try {
        FillIconData();
        Notify(NIM_MODIFY);
    } catch (...) {
        // Reports nothing: the next update or add sends the state again.
    }
}

void TabfTrayIcon::StartRetry() {
    if (retryPending_)
        return;
    retryStart_ = ::GetTickCount64();
    // Without a timer there is no retry; "TaskbarCreated" still adds the icon again.
    retryPending_ = ::SetTimer(WindowHandle(), kRetryTimerId, shell_.retryIntervalMs, nullptr) != 0;
}

void TabfTrayIcon::StopRetry() {
    if (!retryPending_)
        return;
    ::KillTimer(WindowHandle(), kRetryTimerId);
    retryPending_ = false;
}

void TabfTrayIcon::RetryAdd() {
    const bool wanted = IsDesigning() ? visibleOnDesigning_ : visible_;
    if (!wanted) {
        StopRetry();
        return;
    }
    FillIconData();
    if (Notify(NIM_ADD) || KnownInTray()) {
        inTray_ = true;
        StopRetry();
        return;
    }
    if (::GetTickCount64() - retryStart_ >= shell_.retryWindowMs)
        StopRetry();
}

void TabfTrayIcon::ShowIcon() {
    flagMask_ |= NIF_ICON;
    InsertToTray();
    if (IsDesigning())
        visibleOnDesigning_ = true;
    else
        visible_ = true;
    Raise(onShow_);
}

void TabfTrayIcon::HideIcon() {
    flagMask_ &= ~static_cast<UINT>(NIF_ICON);
    DeleteFromTray();
    if (IsDesigning())
        visibleOnDesigning_ = false;
    else
        visible_ = false;
    AfterIconHidden();
}

void TabfTrayIcon::AfterIconHidden() {
    if (!Raise(onHide_))
        return;
    // Taking the icon out of the tray always brings a hidden application back: without
    // the icon there would be no way to reach it.
    if (minimizeToTray_)
        ShowApplication();
    if (gui::TWinControl* owner = OwnerControl(); owner && !owner->Visible())
        owner->SetVisible(true);
}

void TabfTrayIcon::ShowBalloon() {
    if (!shell_.winNT5OrLater)
        return;
    try {
        FillIconData();
        iconData_.dwInfoFlags = static_cast<DWORD>(infoType_);
        iconData_.uFlags = NIF_INFO;
        iconData_.uTimeout = static_cast<UINT>(infoTimeout_);
        CopyField(iconData_.szInfo, infoText_, kBalloonTextLimit);
        CopyField(iconData_.szInfoTitle, infoTitle_, kBalloonTitleLimit);
        Notify(NIM_MODIFY);
    } catch (...) {
        // Reports nothing, like any update.
    }
}

void TabfTrayIcon::ShowBalloonHint() {
    ShowBalloon();
}

void TabfTrayIcon::UpdateFromImageList() {
    if (!imageList_)
        return;
    iconResource_.clear();
    icon_.SetHandle(gui::UniqueIcon());
    imageList_->GetIcon(imageIndex_, icon_);
    UpdateIcon();
}

// ---- the application ------------------------------------------------------------------

void TabfTrayIcon::ShowApplication() {
    gui::TApplication* app = gui::CurrentApplication();
    if (!app)
        return;
    const HWND window = app->Handle();
    if (::IsWindow(window))
        ::ShowWindow(window, SW_SHOWNORMAL);
    if (gui::TCustomForm* form = app->MainForm())
        form->SetVisible(true);
}

void TabfTrayIcon::HideApplication() {
    gui::TApplication* app = gui::CurrentApplication();
    if (!app)
        return;
    const HWND window = app->Handle();
    if (::IsWindow(window) && ::IsWindowVisible(window))
        ::ShowWindow(window, SW_HIDE);
    if (gui::TCustomForm* form = app->MainForm())
        form->SetVisible(false);
}

void TabfTrayIcon::Minimize() {
    if (IsDesigning())
        return;
    const std::shared_ptr<bool> alive = alive_;
    HideApplication();
    if (!*alive)
        return;
    SetVisible(true);
    if (!*alive)
        return;
    Raise(onMinimize_);
}

void TabfTrayIcon::HookApplication() {
    if (IsDesigning() || hookedApplication_)
        return;
    gui::TApplication* app = gui::CurrentApplication();
    if (!app)
        return;
    // The hook is a copy held by the application; it reaches this component only while
    // the component keeps it there.
    hookId_ = app->HookWindow([this](gui::TMessage& message) { AppWndProc(message); });
    hookedApplication_ = app;
    // The application going first takes its hooks with it: told here, so nothing is
    // unhooked from an application that is gone.
    FreeNotification(app);
}

void TabfTrayIcon::UnhookApplication() {
    if (!hookedApplication_)
        return;
    hookedApplication_->UnhookWindow(hookId_);
    RemoveFreeNotification(hookedApplication_);
    hookedApplication_ = nullptr;
}

void TabfTrayIcon::AppWndProc(gui::TMessage& message) {
    // The application handles the message itself after this; the component may be gone
    // by then, which the application's handling does not need.
    if (message.Msg == WM_SIZE && message.WParam == SIZE_MINIMIZED && minimizeToTray_)
        gui::CallGuarded([this] { Minimize(); });
}

// ---- loading, references ----------------------------------------------------------------

void TabfTrayIcon::Loaded() {
    TabfCustomTimer::Loaded();
    const std::shared_ptr<bool> alive = alive_;
    if (minimizeOnStart_ && !IsDesigning()) {
        if (gui::TApplication* app = gui::CurrentApplication())
            app->SetShowMainForm(false);
        Minimize();
        if (!*alive)
            return;
    }
    // With MinimizeOnStart the icon is in already: this second add is refused by the shell
    // as a duplicate, and not retried.
    if (IsDesigning() ? visibleOnDesigning_ : visible_)
        ShowIcon();
}

void TabfTrayIcon::Notification(gui::TComponent* component, gui::TOperation operation) {
    TabfCustomTimer::Notification(component, operation);
    if (operation != gui::TOperation::opRemove)
        return;
    if (component == popupMenu_) {
        popupMenu_ = nullptr;
    } else if (component == hookedApplication_) {
        hookedApplication_ = nullptr;
    } else if (component == imageList_) {
        // The list is half destroyed and has already let go of the link: only forget it.
        imageList_ = nullptr;
    }
}

// ---- the hidden window ------------------------------------------------------------------

void TabfTrayIcon::WndProc(gui::TMessage& message) {
    if (message.Msg == kCallbackMessage) {
        if (IsDesigning() || !enabled_)
            return;
        // Before a button's release makes the owner the foreground window.
        foregroundBefore_ = ::GetForegroundWindow();
        POINT cursor{};
        ::GetCursorPos(&cursor);
        const TraySteps steps =
            mouse_.Handle(static_cast<std::uint32_t>(message.LParam), popupByLeft_);
        const std::shared_ptr<bool> alive = alive_;
        for (const TrayStep& step : steps) {
            if (!*alive)
                return;
            const gui::TShiftState button = ButtonShift(step.button);
            switch (step.kind) {
            case TrayStepKind::MouseMove:
                MouseMove(HeldKeys(), cursor.x, cursor.y);
                break;
            case TrayStepKind::MouseDown:
                MouseDown(step.button, HeldKeys() | button, cursor.x, cursor.y);
                break;
            case TrayStepKind::MouseUp:
                MouseUp(step.button, HeldKeys() | button, cursor.x, cursor.y);
                break;
            case TrayStepKind::Click:
                Click();
                break;
            case TrayStepKind::DblClick:
                DblClick();
                break;
            case TrayStepKind::PopupMenu:
                PopupAtCursor();
                break;
            case TrayStepKind::BalloonShow:
                Raise(onBalloonShow_);
                break;
            case TrayStepKind::BalloonTimeout:
                Raise(onBalloonTimeout_);
                break;
            case TrayStepKind::BalloonClick:
                Raise(onBalloonClick_);
                break;
            case TrayStepKind::DefaultProcessing:
                TabfCustomTimer::WndProc(message);
                break;
            }
        }
        return;
    }
    if (message.Msg == WM_QUERYENDSESSION) {
        message.Result = 1;
        return;
    }
    if (message.Msg == kGiveBackForegroundMessage) {
        GiveBackForeground();
        return;
    }
    if (message.Msg == WM_TIMER && message.WParam == kRetryTimerId) {
        RetryAdd();
        return;
    }
    if (const UINT created = TaskbarCreatedMessage(); created && message.Msg == created) {
        // A new shell has an empty tray: the icon goes in again, hint and all. Nothing else
        // happens. Explorer restarting (an update, a crash) is not the user taking the icon
        // away, so the application keeps its state: taking the icon out and in would show a
        // hidden application, as an explicit removal does.
        if (visible_) {
            inTray_ = false;
            StopRetry();
            FitIconToTray();
            InsertToTray();
        }
    }
    if ((message.Msg == WM_SETTINGCHANGE || message.Msg == WM_DISPLAYCHANGE ||
         message.Msg == WM_DPICHANGED) &&
        FitIconToTray() && inTray_)
        UpdateIcon();
    TabfCustomTimer::WndProc(message);
}

void TabfTrayIcon::Timer() {
    if (imageList_)
        SetImageIndex(NextCycleIndex(imageIndex_, imageList_->Count()));
    Raise(onCycleIcons_);
}

// ---- mouse ------------------------------------------------------------------------------

void TabfTrayIcon::MouseMove(gui::TShiftState shift, int x, int y) {
    if (onMouseMove_) {
        const gui::TMouseMoveEvent handler = onMouseMove_;
        handler(this, shift, x, y);
    }
}

void TabfTrayIcon::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (onMouseDown_) {
        const gui::TMouseEvent handler = onMouseDown_;
        handler(this, button, shift, x, y);
    }
}

void TabfTrayIcon::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    if (gui::TWinControl* owner = OwnerControl(); owner && owner->HandleAllocated())
        ::SetForegroundWindow(owner->Handle());
    if (onMouseUp_) {
        const gui::TMouseEvent handler = onMouseUp_;
        handler(this, button, shift, x, y);
    }
}

void TabfTrayIcon::Click() {
    Raise(onClick_);
}

void TabfTrayIcon::DblClick() {
    const std::shared_ptr<bool> alive = alive_;
    if (popupMenu_ && popupMenu_->AutoPopup() && !popupByLeft_) {
        gui::TMenuItem& items = popupMenu_->Items();
        for (int i = 0; i < items.Count(); ++i) {
            gui::TMenuItem* item = items.Items(i);
            if (!item->Default())
                continue;
            item->Click();
            if (!*alive || !Raise(onDblClick_))
                return;
            if (gui::TWinControl* owner = OwnerControl(); owner && owner->HandleAllocated())
                ::SetForegroundWindow(owner->Handle());
            return;
        }
    }
    if (!IsDesigning() && minimizeToTray_) {
        if (gui::TWinControl* owner = OwnerControl()) {
            if (owner->Visible())
                HideApplication();
            else
                ShowApplication();
            if (!*alive)
                return;
        }
    }
    Raise(onDblClick_);
}

void TabfTrayIcon::PopupAtCursor() {
    if (!popupMenu_ || !popupMenu_->AutoPopup())
        return;
    const std::shared_ptr<bool> alive = alive_;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (gui::TApplication* app = gui::CurrentApplication())
        app->ProcessMessages();
    // What those messages did may have freed this component or its menu.
    if (!*alive || !popupMenu_)
        return;
    gui::TWinControl* owner = OwnerControl();
    const HWND before = foregroundBefore_ ? foregroundBefore_ : ::GetForegroundWindow();
    if (owner && owner->HandleAllocated())
        ::SetForegroundWindow(owner->Handle());
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(cursor.x, cursor.y);
    if (!*alive)
        return;
    // Lets the owner's thread notice the menu has gone (a known need of tray menus).
    owner = OwnerControl();
    if (owner && owner->HandleAllocated())
        ::PostMessageW(owner->Handle(), WM_NULL, 0, 0);
    // The item chosen arrives as a posted command: whether it showed the window is known
    // only once that has been handled, so the foreground is given back behind it.
    foregroundToGiveBack_ = before;
    ::PostMessageW(WindowHandle(), kGiveBackForegroundMessage, 0, 0);
    Raise(onPopupMenu_);
}

void TabfTrayIcon::GiveBackForeground() {
    const HWND before = foregroundToGiveBack_;
    foregroundToGiveBack_ = nullptr;
    gui::TWinControl* owner = OwnerControl();
    // A window the menu showed keeps the foreground; so does a window the user has since
    // moved to.
    if (!owner || !owner->HandleAllocated() || owner->Visible())
        return;
    if (::GetForegroundWindow() != owner->Handle())
        return;
    if (const HWND target = WindowToReturnTo(before, owner->Handle()))
        ::SetForegroundWindow(target);
}

} // namespace nestora::desktop
