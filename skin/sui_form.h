// TsuiForm: the skinned frame of a form. Dropped on a form (owned by it, placed on it), it
// strips the form's own caption and border, covers the form's client area, and draws a
// skinned title bar, a border of BorderWidth pixels and a background in its UI style.
//
// Owns: its title bar. Refers to (not owned, cleared when they go): FileTheme, FormPanel,
// Menu. Borrows for its lifetime: the form's window procedure (it puts its own in front
// and passes every message on) and, when nobody else had one, the application's message
// hook (Alt+Space opens the title bar's system menu).
//
// Life story:
//   created   with the form as owner (any other owner gives a plain panel without the
//             frame's behaviour). The form loses its border (unless MDI), its minimum size
//             becomes 125 by 50, its window procedure passes through the frame; the frame
//             takes the form's caption, joins the form's controls and styles itself DeepBlue.
//             A second frame on the same form is refused with an exception.
//   loaded    a window description sets the published properties in order: Width and
//             Height size the form around the panel, UIStyle restyles frame and bar.
//   running   every size message lays the panel out, paints the border, refreshes the
//             maximise glyph and the rounded region; a maximised form (designed with a
//             border) is fitted to the work area; a sizeable form's border strips and the
//             bar's top edge are resize handles.
//   destroyed the application hook is removed if it is still the frame's; when the form's
//             window outlives the frame, the form gets its own window procedure back (or, if
//             someone has put a procedure in front of the frame's since, the frame's becomes
//             a plain pass-through), so no message can reach the frame once it is gone.
//
// Menu bar: while a main menu is attached (Menu), a flat tool bar owned by the frame stands
// under the title bar with one button per top-level item, in item order, each opening its
// item's drop-down. The bar is made on attach and freed on detach; its buttons are made
// anew on attach and when the menu has been loaded, so a run-time change of the items only
// refreshes the captions and enabled states of the buttons there are. The bar's background
// and hot or pressed buttons are drawn in the menu's style (MacOS: striped bitmaps).
#pragma once

#include "gui/win/panel.h"
#include "skin/form_layout.h"
#include "skin/resolve_style.h"
#include "skin/style_table.h"
#include "skin/sui_title_bar.h"

#include <memory>
#include <string>

namespace nestora::gui {
class TForm;
class TMainMenu;
class TCanvas;
class TToolBar;
class TToolButton;
} // namespace nestora::gui

namespace nestora::skin {

inline constexpr wchar_t kOnlyOneFrameMessage[] =
    L"Sorry, You can create only one TsuiForm component in one form!";
inline constexpr wchar_t kFormPanelIsFrameMessage[] =
    L"Sorry, you can't select the Form assign to FormPanel property";
inline constexpr wchar_t kFrameVersion[] = L"4.31";

// Messages the frame sends to the client window of a skinned MDI main form. Nothing in this
// program answers them (it frames no MDI form); they are sent for one that would.
inline constexpr unsigned kMdiChildActivated = 0x1330;
inline constexpr unsigned kMdiChildScrolled = 0x1331;
inline constexpr unsigned kMdiChildRestored = 0x1332;
inline constexpr unsigned kMdiQueryMenuHeight = 0x1333;

class TsuiForm : public gui::TCustomPanel {
public:
    explicit TsuiForm(gui::TComponent* owner);
    ~TsuiForm() override;

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // --- published, in the order descriptions set them --------------------------------------
    bool TitleBarCustom() const { return titleBar_->Custom(); }
    void SetTitleBarCustom(bool custom) { titleBar_->SetCustom(custom); }
    // The theme component (not owned; cleared when it goes), resolved through AsFileTheme.
    gui::TComponent* FileTheme() const { return fileTheme_; }
    void SetFileTheme(gui::TComponent* theme);
    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle style);
    bool UIStyleAutoUpdateSub() const { return uiStyleAutoUpdateSub_; }
    void SetUIStyleAutoUpdateSub(bool update) { uiStyleAutoUpdateSub_ = update; }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor color);
    // The frame's border on the form (it hides the panel's inner border, which stays 0).
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    bool TitleBarVisible() const { return titleBar_->Visible(); }
    void SetTitleBarVisible(bool visible);
    // The title bar's caption; setting it also sets the form's caption.
    std::wstring Caption() const { return titleBar_->Caption(); }
    void SetCaption(const std::wstring& caption);
    gui::TCustomPanel* FormPanel() const { return formPanel_; }
    void SetFormPanel(gui::TCustomPanel* panel);
    TsuiTitleBarButtons& TitleBarButtons() { return titleBar_->Buttons(); }
    TsuiTitleBarSections& TitleBarSections() { return titleBar_->Sections(); }
    bool TitleBarDrawAppIcon() const { return titleBar_->DrawAppIcon(); }
    void SetTitleBarDrawAppIcon(bool draw) { titleBar_->SetDrawAppIcon(draw); }
    gui::TMainMenu* Menu() const { return menu_; }
    void SetMenu(gui::TMainMenu* menu);
    TColor MenuBarColor() const { return menuBarColor_; }
    void SetMenuBarColor(TColor color);
    int MenuBarHeight() const { return menuBarHeight_; }
    // The bar's height and every button's.
    void SetMenuBarHeight(int height);
    // Width and Height read the panel's size; setting them sizes the form around the panel.
    void SetFrameWidth(int width);
    void SetFrameHeight(int height);
    int RoundCorner() const { return titleBar_->RoundCorner(); }
    void SetRoundCorner(int radius);
    std::wstring Version() const { return kFrameVersion; }
    void SetOnTitleBarCustomBtnsClick(TsuiTitleBarButtonClickEvent e);
    void SetOnTitleBarHelpBtnClick(TsuiTitleBarButtonClickEvent e);

    // --- the frame at work ----------------------------------------------------------------------
    TsuiTitleBar& TitleBar() const { return *titleBar_; }
    // The framed form (null when the owner is not a form).
    gui::TForm* Form() const { return form_; }
    // The form's BorderStyle as designed, before the frame replaced it by none.
    gui::TFormBorderStyle SavedBorderStyle() const { return savedBorderStyle_; }
    bool InstalledApplicationHook() const { return appHookInstalled_; }

    // Places the panel inside the form's client area.
    void UpdateLayout();
    // Paints the border strips on the form (its window's DC, or dc when one is given).
    void PaintBorder();
    void PaintBorderOn(HDC dc);
    // Whether a key message is a shortcut of the attached menu while this form is active.
    bool IsMenuShortCut(const gui::TMessage& message);
    bool IsFormActive() const;

    // --- the menu bar ---------------------------------------------------------------------------
    // The bar (null while no menu is attached, and always on an MDI child form).
    gui::TToolBar* MenuBar() const { return menuBar_; }
    // Makes the buttons anew, one per top-level item of Menu, in item order.
    void RebuildMenuBar();
    // Copies captions and enabled states from the items to their buttons.
    void RefreshMenuBarCaptions();
    // The bar's font from the skinned menu (its system font or its own) and a repaint.
    void RefreshMenuBarFont();
    // The bar's custom drawing of one button; defaultDraw is cleared when it drew the
    // button itself (hot or pressed).
    void DrawMenuBarButton(gui::TToolButton* button, gui::TCanvas& canvas, const gui::TRect& rect,
                           unsigned state, bool& defaultDraw);
    // The bar's background: the MacOS stripes, or nothing so that its Color shows.
    void DrawMenuBarBackground(gui::TCanvas& canvas, const gui::TRect& rect);

protected:
    void Paint() override;
    void WndProc(gui::TMessage& message) override;
    void CreateWnd() override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;
    // BorderWidth and MenuBarHeight stay 96-dpi numbers, scaled where they are used.
    void ChangeScale(int fromDpi, int toDpi) override;

private:
    struct FormHook;
    struct AppHook;
    struct HookState;

    void FormWndProc(gui::TMessage& message);
    void OnFormSize(gui::TMessage& message);
    void OnFormHitTest(gui::TMessage& message);
    void AppMessageHook(MSG& message, bool& handled);
    void ApplyStyle();
    int ScaledForDpi(int value96) const;
    bool IsMdiChild() const;
    bool IsMdiForm() const;
    // The client window of the application's main form when it is an MDI main form.
    HWND MainMdiClient() const;
    void SendToMainMdiClient(unsigned msg, WPARAM wParam, LPARAM lParam) const;
    void ScrollContent(int dy);
    void CreateMenuBar();
    void RemoveMenuBar();
    // The style and theme the bar draws with: the skinned menu's, else the frame's.
    TsuiUIStyle MenuBarStyle() const;
    gui::TComponent* MenuBarTheme() const;

    TsuiTitleBar* titleBar_ = nullptr; // owned as a component of the panel
    gui::TMainMenu* menu_ = nullptr;
    gui::TToolBar* menuBar_ = nullptr; // owned as a component of the panel
    gui::TForm* form_ = nullptr;
    std::shared_ptr<HookState> hook_;
    gui::TFormBorderStyle savedBorderStyle_ = gui::TFormBorderStyle::bsSizeable;
    TColor borderColor_ = 0;
    gui::TCustomPanel* formPanel_ = nullptr;
    int borderWidth_ = 1;
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    gui::TComponent* fileTheme_ = nullptr;
    TColor menuBarColor_ = 0;
    int menuBarHeight_ = 22;
    bool appHookInstalled_ = false;
    bool uiStyleAutoUpdateSub_ = false;
    gui::TRect savedBounds_;
    bool createdMaximised_ = false;
    int extraHeight_ = 0;
    int extraWidth_ = 0;
};

} // namespace nestora::skin
