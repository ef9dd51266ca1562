// TsuiTitleBar: the skinned caption strip a skinned form (TsuiForm) lays along the top of
// its panel. It paints its section pictures, its buttons and the caption through one
// off-screen bitmap, shows the button under the mouse hot (and pressed while the left
// button is down), moves the form when dragged, runs a button's command when the mouse is
// released over it, maximises or restores on a double click, answers the hit test of the
// form's top resize edge, and gives the form its region with rounded top corners.
//
// Owns: its Buttons and Sections collections and its system menu (the window menu that
// replaces the system's, opened by the control box and by Alt+Space on the form). Refers to
// (not owned, cleared when destroyed): FileTheme, each button's ControlBoxMenu.
//
// Life story:
//   created   with the skinned form's panel as owner (and parent): four buttons (control
//             box, close, maximise, minimise), Align top, white bold Tahoma caption, then
//             UIStyle := the owner's frame style (DeepBlue for a panel), which rebuilds the
//             sections, the buttons' pictures and the offsets from the style.
//   styled    UIStyle / FileTheme re-apply the style unless Custom is set (a designer's own
//             sections and buttons stay).
//   shown     painted on every WM_PAINT; the mouse repaints it as it moves.
//   destroyed the collections and the menu go with it.
//
// Design choices where the look leaves room: a caption too long for the room between the
// control box and the buttons is cut with "..." (never splitting a surrogate pair); when not
// even "..." fits, no caption is drawn at all. Only one button is hot at a time.
#pragma once

#include "gui/win/panel.h"
#include "skin/resolve_style.h"
#include "skin/style_table.h"
#include "skin/sui_title_bar_items.h"

#include <functional>
#include <memory>
#include <optional>

namespace nestora::gui {
class TCustomForm;
class TPopupMenu;
class TCanvas;
} // namespace nestora::gui

namespace nestora::skin {

class TsuiTitleBarPopupMenu;

// Sender is the title bar, ButtonIndex the button's index in its collection.
using TsuiTitleBarButtonClickEvent = std::function<void(gui::TObject* sender, int buttonIndex)>;

// Minimises a form as the title bar and its menu do: the main form through the minimise
// command (so the application, and whoever watches it, minimises), any other directly.
void MinimiseForm(gui::TCustomForm& form);

class TsuiTitleBar : public gui::TCustomPanel {
public:
    explicit TsuiTitleBar(gui::TComponent* owner);
    ~TsuiTitleBar() override;

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // --- published --------------------------------------------------------------------------
    bool Custom() const { return custom_; }
    void SetCustom(bool custom) { custom_ = custom; }
    // The theme component (not owned; cleared when it goes), resolved through AsFileTheme.
    gui::TComponent* FileTheme() const { return fileTheme_; }
    void SetFileTheme(gui::TComponent* theme);
    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle style);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TsuiTitleBarSections& Sections() { return *sections_; }
    const TsuiTitleBarSections& Sections() const { return *sections_; }
    void SetSections(const TsuiTitleBarSections& sections);
    TsuiTitleBarButtons& Buttons() { return *buttons_; }
    const TsuiTitleBarButtons& Buttons() const { return *buttons_; }
    void SetButtons(const TsuiTitleBarButtons& buttons);
    int ButtonInterval() const { return buttonInterval_; }
    void SetButtonInterval(int interval);
    bool FormActive() const { return formActive_; }
    void SetFormActive(bool active);
    int LeftBtnXOffset() const { return leftBtnXOffset_; }
    void SetLeftBtnXOffset(int offset);
    int RightBtnXOffset() const { return rightBtnXOffset_; }
    void SetRightBtnXOffset(int offset);
    bool DrawAppIcon() const { return drawAppIcon_; }
    void SetDrawAppIcon(bool draw);
    int RoundCorner() const { return roundCorner_; }
    void SetRoundCorner(int radius);
    void SetOnCustomBtnsClick(TsuiTitleBarButtonClickEvent e) { onCustomBtnsClick_ = std::move(e); }
    void SetOnHelpBtnClick(TsuiTitleBarButtonClickEvent e) { onHelpBtnClick_ = std::move(e); }
    const TsuiTitleBarButtonClickEvent& OnCustomBtnsClick() const { return onCustomBtnsClick_; }
    const TsuiTitleBarButtonClickEvent& OnHelpBtnClick() const { return onHelpBtnClick_; }

    // --- for the frame, the buttons and the menu ----------------------------------------------
    // The form the bar is on, or null.
    gui::TCustomForm* Form();
    // The bar's parent is a skinned form (TsuiForm).
    bool ParentIsSkinnedForm() const;
    // For every suiMax button: the maximise or restore glyph for the form's state.
    void UpdateMaximiseButtons();
    // The form's region with rounded top corners (only inside a skinned form).
    void UpdateRegion();
    // The system menu (Minimize, Maximize/Restore, Close), owned by the bar.
    TsuiTitleBarPopupMenu* SystemMenu() const { return systemMenu_; }
    // Opens the system menu just below the bar's left end.
    void PopupSystemMenu();
    // Opens menu at the screen position of the bar's point (0, Height).
    void PopupBelow(gui::TPopupMenu& menu);
    // The bar keeps a ControlBoxMenu reference valid: it is cleared when the menu goes.
    void WatchMenu(gui::TPopupMenu* menu);
    // The button under the mouse at the last paint (-1: none) and whether the left button is
    // down on the bar.
    int HotButtonIndex() const { return hotIndex_; }
    bool Pressed() const { return pressed_; }
    // Where the buttons and the caption go now (no button hot), and the caption as the last
    // paint drew it (cut with "..." when it did not fit; empty when nothing was drawn).
    ButtonsLayout Layout() const { return CurrentButtonsLayout(std::nullopt); }
    const std::wstring& DrawnCaption() const { return drawnCaption_; }

    // Draws the whole bar into canvas (the bar's size, origin at its top-left): sections,
    // buttons, caption, corner outline. Paint() draws the same through the off-screen bitmap.
    void DrawTo(gui::TCanvas& canvas);

    // Where the mouse is, in screen coordinates. The system's cursor by default; tests put a
    // position of their own in (an empty function restores the default).
    using CursorSource = std::function<std::optional<gui::TPoint>()>;
    void SetCursorSource(CursorSource source) { cursorSource_ = std::move(source); }

    // The work area a maximised form fills: that of the monitor the form is on
    // (GetMonitorWorkArea of the form's window). Tests put monitors of their own in, as a
    // function of the form's window (an empty function restores the default).
    using WorkAreaSource = std::function<gui::TRect(HWND form)>;
    void SetWorkAreaSource(WorkAreaSource source) { workAreaSource_ = std::move(source); }
    gui::TRect FormWorkArea();

protected:
    void Paint() override;
    void WndProc(gui::TMessage& message) override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void DblClick() override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;
    // The bar's height, its buttons' sizes and places, the offsets, the corner and the
    // caption's place stay 96-dpi numbers and are scaled when laid out or drawn.
    void ChangeScale(int fromDpi, int toDpi) override;

private:
    friend class TsuiTitleBarButton;
    std::optional<SkinPoint> MouseInBar();
    ButtonsLayout CurrentButtonsLayout(std::optional<SkinPoint> mouse) const;
    void DrawSections(gui::TCanvas& canvas);
    void DrawButtonsAndCaption(gui::TCanvas& canvas);
    void DrawApplicationIcon(gui::TCanvas& canvas, SkinPoint at);
    void DrawButton(gui::TCanvas& canvas, const TsuiTitleBarButton& button, const SkinRect& rect,
                    bool hot);
    void OnNcHitTest(gui::TMessage& message);
    void ReleaseButton();
    void ApplyStyle();
    // A 96-dpi number at the bar's DPI, and a pixel number taken back to 96 dpi.
    int ScaledForDpi(int value96) const;
    int DesignUnits(int pixels) const;

    bool custom_ = false;
    gui::TComponent* fileTheme_ = nullptr;
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    std::unique_ptr<TsuiTitleBarSections> sections_;
    std::unique_ptr<TsuiTitleBarButtons> buttons_;
    bool autoSize_ = false;
    int buttonInterval_ = 0;
    bool formActive_ = true;
    int leftBtnXOffset_ = 0;
    int rightBtnXOffset_ = 0;
    int roundCorner_ = 0;
    bool drawAppIcon_ = false;
    bool keepFontColor_ = false;
    TsuiTitleBarPopupMenu* systemMenu_ = nullptr; // owned as a component of the bar
    TColor cornerPenColor_ = 0;
    bool pressed_ = false;
    int hotIndex_ = -1;
    int captionBaseHeight_ = 0;
    int captionTopOffset_ = 0;
    TsuiTitleBarButtonClickEvent onCustomBtnsClick_;
    TsuiTitleBarButtonClickEvent onHelpBtnClick_;
    CursorSource cursorSource_;
    WorkAreaSource workAreaSource_;
    std::wstring drawnCaption_;
};

} // namespace nestora::skin
