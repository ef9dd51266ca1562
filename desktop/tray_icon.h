#pragma once
// TabfTrayIcon: one icon in the taskbar's notification area (the tray) and the program's
// life there. It turns the shell's reports about the icon into events, pops up a menu at
// the cursor, hides the application when it is minimised (MinimizeToTray) or at start
// (MinimizeOnStart), cycles the icon through an image list, shows balloons, and puts its
// icon back when the shell restarts.
//
// Owns: the icon (a copy of what it is given), the record it sends to the shell, the
// image-list change link, the hidden window (through TabfCustomTimer) and its hook of the
// application window. Refers to, without owning: the image list and the popup menu
// (cleared when they are destroyed).
//
// Life story:
//   created   outside design mode: the cycling timer gets its (empty) handler but stays
//             off, and the application window is hooked (TApplication::HookWindow) so
//             that its WM_SIZE/SIZE_MINIMIZED reaches AppWndProc before the application's
//             own handling.
//   loaded    with MinimizeOnStart the main window is kept from showing and the
//             application goes to the tray; a Visible icon is put into the tray.
//   menu      the right button (or the left with PopupByLeft) pops the menu up with the
//             owner as the foreground window; once it has closed without showing the
//             owner, the foreground goes back to the window that had it.
//   running   the shell's reports arrive at the hidden window as message 1235 (WM_USER +
//             211); "TaskbarCreated" (a new shell, its tray empty) adds the icon again and
//             does nothing else: no OnHide/OnShow, the application stays as it is.
//   rescaled  an icon named by its resource (the window description's Icon) is loaded at
//             the small-icon size of the taskbar's DPI, so the shell shows that image of
//             the resource rather than stretching the 16-pixel one. The hidden window never
//             gets WM_DPICHANGED (nothing is shown); the display's scale changing reaches it
//             as WM_SETTINGCHANGE or WM_DISPLAYCHANGE, and the shell starting again with
//             another scale as "TaskbarCreated": each time the size is read again and, when
//             it differs, the icon is loaded at the new size and sent again.
//   destroyed the icon leaves the tray and the application window is unhooked. When the
//             owner or the application is being destroyed too, nothing else happens: no
//             OnHide, no window shown (they are on their way out). Freed on its own at
//             run time it hides the icon with all the usual effects, so an application
//             hidden in the tray comes back.
//
// An icon the shell refuses is not lost. At logon the tray is often not ready (or answers
// with a time-out); a program started with Windows must still end up with its icon, its
// only way to be reached. When an add fails and the icon is not known to be there already
// (a duplicate add fails too; a modify succeeding then tells that it is there), the add is
// tried again every 2 seconds for up to two minutes, and again after "TaskbarCreated".
//
// Seams: SetShell replaces Shell_NotifyIconW (tests read the exact requests), the
// platform's IsWinNT5OrLater, the retry timing and the taskbar's DPI.
//
// Handlers may free the component: after raising an event the code checks that it is
// still alive before it goes on.

#include "gui/win/graphics_win32.h"

#include "desktop/core/tray_mouse.h"
#include "desktop/custom_timer.h"
#include "desktop/desktop_platform.h"
#include "gui/core/class_info.h"
#include "gui/core/exceptions.h"
#include "gui/win/icon.h"
#include "gui/win/image_list.h"

#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

namespace nestora::gui {
class TApplication;
class TPopupMenu;
class TWinControl;
} // namespace nestora::gui

namespace nestora::desktop {

class EabfTrayIcon : public gui::Exception {
    using gui::Exception::Exception;
};

// The balloon's icon; the ordinal is the shell's NIIF_NONE … NIIF_ERROR.
enum class TabfTrayIconInfoType { tiiNone, tiiInfo, tiiWarning, tiiError };
extern const gui::EnumInfo kTrayIconInfoTypeInfo;

// The tray icon's way to the shell.
struct TrayIconShell {
    // Sends one request; empty: Shell_NotifyIconW.
    std::function<BOOL(DWORD message, NOTIFYICONDATAW& data)> notify;
    bool winNT5OrLater = IsWinNT5OrLater();
    unsigned retryIntervalMs = 2000;
    unsigned retryWindowMs = 120000;
    // The DPI the tray is drawn at; empty: the taskbar's (gui::TaskbarDpi).
    std::function<int()> dpi;
};

class TabfTrayIcon : public TabfCustomTimer {
public:
    // The message the shell sends about the icon.
    static constexpr UINT kCallbackMessage = WM_USER + 211;
    static constexpr UINT_PTR kRetryTimerId = 2;
    // Posted to the hidden window once the menu has closed (desktop/foreground_return.h).
    static constexpr UINT kGiveBackForegroundMessage = WM_USER + 212;

    explicit TabfTrayIcon(gui::TComponent* owner);
    ~TabfTrayIcon() override;

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // Published properties, in their order.
    bool CycleIcons() const { return TabfCustomTimer::Enabled(); }
    void SetCycleIcons(bool cycle) { TabfCustomTimer::SetEnabled(cycle); }
    unsigned CycleInterval() const { return Interval(); }
    void SetCycleInterval(unsigned ms) { SetInterval(ms); }
    // When false the shell's reports about the icon are ignored (the icon stays).
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint);
    const gui::TIcon& Icon() const { return icon_; }
    // Copies icon.
    void SetIcon(const gui::TIcon& icon);
    // The ICON group resource of that name, at the small-icon size of the taskbar's DPI,
    // and again at a new size when that changes (window descriptions).
    void SetIconResource(const std::wstring& name);
    gui::TImageList* ImageList() const { return imageList_; }
    void SetImageList(gui::TImageList* list);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int IconID() const { return iconID_; }
    void SetIconID(int id);
    bool MinimizeToTray() const { return minimizeToTray_; }
    void SetMinimizeToTray(bool value) { minimizeToTray_ = value; }
    bool MinimizeOnStart() const { return minimizeOnStart_; }
    void SetMinimizeOnStart(bool value) { minimizeOnStart_ = value; }
    gui::TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(gui::TPopupMenu* menu);
    bool PopupByLeft() const { return popupByLeft_; }
    void SetPopupByLeft(bool value) { popupByLeft_ = value; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    // The icon is in the tray (at run time).
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool VisibleOnDesigning() const { return visibleOnDesigning_; }
    void SetVisibleOnDesigning(bool visible);
    const std::wstring& InfoText() const { return infoText_; }
    void SetInfoText(const std::wstring& text) { infoText_ = text; }
    const std::wstring& InfoTitle() const { return infoTitle_; }
    void SetInfoTitle(const std::wstring& title) { infoTitle_ = title; }
    int InfoTimeout() const { return infoTimeout_; }
    void SetInfoTimeout(int ms) { infoTimeout_ = ms; }
    TabfTrayIconInfoType InfoType() const { return infoType_; }
    void SetInfoType(TabfTrayIconInfoType type) { infoType_ = type; }

    void SetOnMinimize(gui::TNotifyEvent e) { onMinimize_ = std::move(e); }
    void SetOnMouseMove(gui::TMouseMoveEvent e) { onMouseMove_ = std::move(e); }
    void SetOnMouseDown(gui::TMouseEvent e) { onMouseDown_ = std::move(e); }
    void SetOnMouseUp(gui::TMouseEvent e) { onMouseUp_ = std::move(e); }
    void SetOnClick(gui::TNotifyEvent e) { onClick_ = std::move(e); }
    void SetOnDblClick(gui::TNotifyEvent e) { onDblClick_ = std::move(e); }
    void SetOnPopupMenu(gui::TNotifyEvent e) { onPopupMenu_ = std::move(e); }
    void SetOnShow(gui::TNotifyEvent e) { onShow_ = std::move(e); }
    void SetOnHide(gui::TNotifyEvent e) { onHide_ = std::move(e); }
    void SetOnCycleIcons(gui::TNotifyEvent e) { onCycleIcons_ = std::move(e); }
    void SetOnBalloonShow(gui::TNotifyEvent e) { onBalloonShow_ = std::move(e); }
    void SetOnBalloonTimeout(gui::TNotifyEvent e) { onBalloonTimeout_ = std::move(e); }
    void SetOnBalloonClick(gui::TNotifyEvent e) { onBalloonClick_ = std::move(e); }

    // Fills the record sent to the shell from the current state.
    virtual void FillIconData();
    // Sends the current icon, tooltip and flags to the shell (NIM_MODIFY); reports nothing.
    virtual void UpdateIcon();
    virtual void ShowIcon();
    virtual void HideIcon();
    // Pops the menu up at the cursor and returns when it has closed.
    virtual void PopupAtCursor();
    virtual void ShowApplication();
    virtual void HideApplication();
    // Shows InfoText as a balloon (not on systems before Windows 2000).
    virtual void ShowBalloon();
    virtual void ShowBalloonHint();

    void SetShell(TrayIconShell shell) { shell_ = std::move(shell); }
    const TrayIconShell& Shell() const { return shell_; }
    // The record as last filled and sent.
    const NOTIFYICONDATAW& IconData() const { return iconData_; }
    // The flags sent as uFlags (NIF_MESSAGE | NIF_TIP, plus NIF_ICON while shown).
    UINT FlagMask() const { return flagMask_; }
    // The shell has taken the icon, as far as the component knows.
    bool InTray() const { return inTray_; }
    // A refused add is being tried again.
    bool RetryPending() const { return retryPending_; }
    // The application window is hooked.
    bool HookedApplication() const { return hookedApplication_ != nullptr; }

    void Loaded() override;

protected:
    void Notification(gui::TComponent* component, gui::TOperation operation) override;
    void WndProc(gui::TMessage& message) override;
    // One tick of the cycling timer: the next image of the list, then OnCycleIcons.
    void Timer() override;
    // Every message of the application window.
    virtual void AppWndProc(gui::TMessage& message);

    virtual void MouseMove(gui::TShiftState shift, int x, int y);
    virtual void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y);
    virtual void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    // The application went to the tray: hidden, icon shown, OnMinimize.
    virtual void Minimize();

    // The icon named by its resource loaded again when the tray's small-icon size is not
    // its size; true when it was (and so is to be sent again).
    bool FitIconToTray();

    // Add and delete requests; an error while filling or sending becomes EabfTrayIcon
    // "<Name>.InsertToTray failed" / "<Name>.DeleteFromTray failed".
    void InsertToTray();
    void DeleteFromTray();
    void HookApplication();
    void UnhookApplication();
    void UpdateFromImageList();

private:
    BOOL Notify(DWORD message);
    // The add was refused: is the icon there anyway?
    bool KnownInTray();
    void StartRetry();
    void StopRetry();
    void RetryAdd();
    // After the menu: the foreground back to the window that had it, unless the menu
    // showed the owner.
    void GiveBackForeground();
    // The steps of HideIcon after the icon has left the tray.
    void AfterIconHidden();
    // The destructor only takes the icon out: the owner or the application is going.
    bool GoingWithOthers() const;
    gui::TWinControl* OwnerControl() const;
    bool Raise(const gui::TNotifyEvent& event);

    bool enabled_ = true;
    std::wstring hint_;
    gui::TIcon icon_;
    // The resource icon_ was loaded from; empty when it was given (SetIcon, the image list).
    std::wstring iconResource_;
    UINT flagMask_ = NIF_MESSAGE | NIF_TIP;
    int iconID_ = 0;
    gui::TImageList* imageList_ = nullptr;
    int imageIndex_ = 0;
    gui::TChangeLink changeLink_;
    bool minimizeOnStart_ = false;
    bool minimizeToTray_ = false;
    gui::TPopupMenu* popupMenu_ = nullptr;
    bool popupByLeft_ = false;
    TrayMouseState mouse_;
    bool showHint_ = true;
    bool visible_ = false;
    bool visibleOnDesigning_ = false;
    int infoTimeout_ = 10000;
    std::wstring infoText_;
    std::wstring infoTitle_;
    TabfTrayIconInfoType infoType_ = TabfTrayIconInfoType::tiiNone;

    gui::TNotifyEvent onMinimize_;
    gui::TMouseMoveEvent onMouseMove_;
    gui::TMouseEvent onMouseDown_, onMouseUp_;
    gui::TNotifyEvent onClick_, onDblClick_, onPopupMenu_, onShow_, onHide_, onCycleIcons_;
    gui::TNotifyEvent onBalloonShow_, onBalloonTimeout_, onBalloonClick_;

    NOTIFYICONDATAW iconData_{};
    TrayIconShell shell_;
    bool inTray_ = false;
    bool retryPending_ = false;
    HWND foregroundBefore_ = nullptr;
    HWND foregroundToGiveBack_ = nullptr;
    ULONGLONG retryStart_ = 0;
    gui::TApplication* hookedApplication_ = nullptr;
    int hookId_ = 0;
    // False once destruction has begun; code that raised an event checks it before going on.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace nestora::desktop
