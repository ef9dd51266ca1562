#include "skin/sui_form.h"

#include "gui/core/class_builder.h"
#include "gui/core/dpi_scale.h"
#include "gui/core/exceptions.h"
#include "gui/win/application.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/form.h"
#include "gui/win/main_menu.h"
#include "gui/win/popup_menu.h"
#include "gui/win/tool_bar.h"
#include "skin/menu_bar_layout.h"
#include "skin/menus/sui_main_menu.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/sui_style_win.h"
#include "skin/sui_title_bar_look.h"
#include "skin/sui_title_bar_menu.h"

#include <windowsx.h>

#include <algorithm>

namespace nestora::skin {

namespace {

// What all frames of the process share, as the frame's rules want it: how many size
// messages a form created maximised has seen while it stayed maximised, and whether a
// maximised MDI child's content is scrolled up by the title bar's height. One UI thread
// touches them, inside window messages only.
struct SharedFrameState {
    int createdMaximisedSizes = 0;
    bool mdiContentScrolled = false;
};

SharedFrameState& Shared() {
    static SharedFrameState state;
    return state;
}

gui::TRect BoundsOf(const gui::TControl& c) {
    return gui::BoundsRect(c.Left(), c.Top(), c.Width(), c.Height());
}

} // namespace

// The frame's procedure in front of the form's, and the application hook. Both hold the
// state by shared pointer: the frame clears `frame` when it goes, and whatever still calls
// them then passes straight through.
struct TsuiForm::HookState {
    TsuiForm* frame = nullptr;
    gui::TWndMethod saved;
};

struct TsuiForm::FormHook {
    std::shared_ptr<HookState> state;
    void operator()(gui::TMessage& m) const {
        const std::shared_ptr<HookState> keep = state; // survives the frame going meanwhile
        if (keep->frame)
            keep->frame->FormWndProc(m);
        else if (keep->saved)
            keep->saved(m);
    }
};

struct TsuiForm::AppHook {
    std::shared_ptr<HookState> state;
    void operator()(MSG& msg, bool& handled) const {
        const std::shared_ptr<HookState> keep = state;
        if (keep->frame)
            keep->frame->AppMessageHook(msg, handled);
    }
};

const gui::ClassInfo& TsuiForm::StaticClassInfo() {
    using F = TsuiForm;
    static const gui::ClassInfo info =
        gui::ClassBuilder<F>("TsuiForm", &gui::TCustomPanel::StaticClassInfo())
            .Creatable()
            .Bool("TitleBarCustom", &F::TitleBarCustom, &F::SetTitleBarCustom)
            .Component<gui::TComponent>("FileTheme", &F::FileTheme, &F::SetFileTheme)
            .Enum("UIStyle", kUIStyleInfo, &F::UIStyle, &F::SetUIStyle)
            .Bool("UIStyleAutoUpdateSub", &F::UIStyleAutoUpdateSub, &F::SetUIStyleAutoUpdateSub)
            .Color("BorderColor", &F::BorderColor, &F::SetBorderColor)
            .Int("BorderWidth", &F::BorderWidth, &F::SetBorderWidth)
            .Bool("TitleBarVisible", &F::TitleBarVisible, &F::SetTitleBarVisible)
            .Color("Color", &F::Color, &F::SetColor)
            .Text("Caption", &F::Caption, &F::SetCaption)
            .Component<gui::TCustomPanel>("FormPanel", &F::FormPanel, &F::SetFormPanel)
            .Collection("TitleBarButtons",
                        [](F& f) -> gui::TPersistent* { return &f.TitleBarButtons(); })
            .Collection("TitleBarSections",
                        [](F& f) -> gui::TPersistent* { return &f.TitleBarSections(); })
            .Bool("TitleBarDrawAppIcon", &F::TitleBarDrawAppIcon, &F::SetTitleBarDrawAppIcon)
            .Object("Font", [](F& f) -> gui::TPersistent* { return &f.TitleBar().Font(); })
            .Component<gui::TMainMenu>("Menu", &F::Menu, &F::SetMenu)
            .Color("MenuBarColor", &F::MenuBarColor, &F::SetMenuBarColor)
            .Int("MenuBarHeight", &F::MenuBarHeight, &F::SetMenuBarHeight)
            .Int("Height", &F::Height, &F::SetFrameHeight)
            .Int("Width", &F::Width, &F::SetFrameWidth)
            .Int("RoundCorner", &F::RoundCorner, &F::SetRoundCorner)
            .Text("Version", &F::Version, [](F&, const std::wstring&) {})
            .Event<TsuiTitleBarButtonClickEvent>("OnTitleBarCustomBtnsClick",
                                                 &F::SetOnTitleBarCustomBtnsClick)
            .Event<TsuiTitleBarButtonClickEvent>("OnTitleBarHelpBtnClick",
                                                 &F::SetOnTitleBarHelpBtnClick)
            .Build();
    return info;
}

TsuiForm::TsuiForm(gui::TComponent* owner) : gui::TCustomPanel(owner) {
    form_ = dynamic_cast<gui::TForm*>(owner);
    if (!form_)
        return;
    gui::TForm& form = *form_;
    if (!IsDesigning()) {
        form.Constraints().SetMinHeight(50);
        form.Constraints().SetMinWidth(125);
    }
    form.SetBorderWidth(0);
    savedBounds_ = BoundsOf(form);
    createdMaximised_ = form.WindowState() == gui::TWindowState::wsMaximized;

    titleBar_ = gui::Create<TsuiTitleBar>(this);
    titleBar_->SetParent(this);

    menuBarColor_ = Color();
    menuBarHeight_ = 22;
    savedBorderStyle_ = form.BorderStyle();
    SetUIStyle(TsuiUIStyle::DeepBlue);
    uiStyleAutoUpdateSub_ = false;
    extraHeight_ = form.Height() - form.ClientHeight();
    extraWidth_ = form.Width() - form.ClientWidth();

    SetBevelOuter(gui::TBevelCut::bvNone);
    SetBevelInner(gui::TBevelCut::bvNone);
    gui::TCustomPanel::SetBorderStyle(gui::TBorderStyle::bsNone);
    SetAlign(gui::TAlign::alNone);

    SetCaption(form.Caption());
    SetTitleBarVisible(true);
    gui::TCustomPanel::SetText(L" ");

    for (int i = 0; i < form.ControlCount(); ++i)
        if (dynamic_cast<TsuiForm*>(form.Controls(i)))
            throw gui::EComponentError(kOnlyOneFrameMessage);
    // The frame lies on its form; a description nesting it there says the same again.
    SetParent(&form);

    form.SetScaled(false);
    if (IsDesigning())
        return;
    if (!IsMdiChild() && !IsMdiForm())
        form.SetBorderStyle(gui::TFormBorderStyle::bsNone);
    form.SetAutoScroll(false);

    hook_ = std::make_shared<HookState>();
    hook_->frame = this;
    hook_->saved = form.WindowProc();
    form.SetWindowProc(FormHook{hook_});
    if (form.HandleAllocated()) {
        const HWND window = form.Handle();
        ::SetWindowLongW(window, GWL_STYLE,
                         ::GetWindowLongW(window, GWL_STYLE) & ~static_cast<LONG>(WS_CAPTION));
    }
    if (gui::TApplication* app = gui::CurrentApplication(); app && !app->OnMessage()) {
        app->SetOnMessage(AppHook{hook_});
        appHookInstalled_ = true;
    }
}

TsuiForm::~TsuiForm() {
    // The menu must not keep pointing at a frame that is gone.
    if (auto* skinned = dynamic_cast<TsuiMainMenu*>(menu_))
        skinned->SetSkinnedForm(nullptr);
    if (menuBar_) {
        gui::TToolBar* bar = menuBar_;
        menuBar_ = nullptr;
        bar->Free();
    }
    if (!hook_)
        return;
    if (appHookInstalled_) {
        gui::TApplication* app = gui::CurrentApplication();
        const AppHook* installed = app ? app->OnMessage().target<AppHook>() : nullptr;
        if (installed && installed->state == hook_)
            app->SetOnMessage({});
    }
    // The form is still whole unless it is the one being destroyed (then its window is gone
    // already and nothing will call the procedure again).
    if (form_ && !form_->IsDestroying()) {
        const FormHook* installed = form_->WindowProc().target<FormHook>();
        if (installed && installed->state == hook_)
            form_->SetWindowProc(hook_->saved);
    }
    hook_->frame = nullptr;
}

// --- properties -------------------------------------------------------------------------------

void TsuiForm::SetFileTheme(gui::TComponent* theme) {
    // The same theme set again is how a theme that has loaded a new file tells its users:
    // the look is read again then too.
    if (theme != fileTheme_) {
        if (fileTheme_)
            RemoveFreeNotification(fileTheme_);
        fileTheme_ = theme;
        if (theme)
            FreeNotification(theme);
    }
    SetUIStyle(uiStyle_);
}

void TsuiForm::SetUIStyle(TsuiUIStyle style) {
    uiStyle_ = style;
    ApplyStyle();
}

void TsuiForm::ApplyStyle() {
    if (!titleBar_)
        return;
    const gui::TRect bounds = form_ ? BoundsOf(*form_) : gui::TRect{};
    const FrameLook look(uiStyle_, fileTheme_);
    // Stored as they are: restyling must not resize the form (Width and Height do that).
    borderColor_ = look.Color(StyleElement::FormBorderColor);
    // A theme without the element reads -1: no border rather than a negative one; nor
    // one wider than the frame can draw.
    borderWidth_ = UsableBorderWidth(look.Int(StyleElement::FormBorderWidthInt));
    SetColor(look.Color(StyleElement::FormBackgroundColor));
    menuBarColor_ = Color();

    titleBar_->SetFileTheme(fileTheme_);
    titleBar_->SetUIStyle(uiStyle_);
    if (IsMdiChild())
        titleBar_->SetRoundCorner(0);

    if (menuBar_)
        menuBar_->SetColor(menuBarColor_);
    if (auto* skinned = dynamic_cast<TsuiMainMenu*>(menu_)) {
        skinned->SetFileTheme(fileTheme_);
        skinned->SetUIStyle(uiStyle_);
    }
    if (menuBar_)
        menuBar_->Invalidate();
    if (uiStyleAutoUpdateSub_)
        SetChildrenUIStyle(*this, uiStyle_, fileTheme_);
    if (IsMdiChild() && form_)
        SetFormBounds(*form_, bounds);

    UpdateLayout();
    Invalidate();
    PaintBorder();
}

void TsuiForm::SetBorderColor(TColor color) {
    borderColor_ = color;
    UpdateLayout();
    PaintBorder();
}

void TsuiForm::SetBorderWidth(int width) {
    borderWidth_ = UsableBorderWidth(width);
    SetFrameWidth(Width());
    SetFrameHeight(Height());
    PaintBorder();
}

void TsuiForm::SetTitleBarVisible(bool visible) {
    if (visible == titleBar_->Visible())
        return;
    titleBar_->SetVisible(visible);
    titleBar_->SetTop(0);
    UpdateLayout();
    PaintBorder();
}

void TsuiForm::SetCaption(const std::wstring& caption) {
    titleBar_->SetCaption(caption);
    if (form_)
        form_->SetCaption(caption);
}

void TsuiForm::SetFormPanel(gui::TCustomPanel* panel) {
    if (panel == this) {
        ShowSkinError(kFormPanelIsFrameMessage);
        return;
    }
    formPanel_ = panel;
    if (!panel)
        return;
    FreeNotification(panel);
    panel->SetAlign(gui::TAlign::alClient);
    if (auto* plain = dynamic_cast<gui::TPanel*>(panel)) {
        plain->SetBevelOuter(gui::TBevelCut::bvNone);
        plain->SetBevelInner(gui::TBevelCut::bvNone);
        plain->SetBorderStyle(gui::TBorderStyle::bsNone);
        plain->SetCaption(L"");
    }
}

void TsuiForm::SetMenu(gui::TMainMenu* menu) {
    if (menu != menu_) {
        if (auto* skinned = dynamic_cast<TsuiMainMenu*>(menu_))
            skinned->SetSkinnedForm(nullptr);
        if (menu_)
            RemoveFreeNotification(menu_);
        menu_ = menu;
        if (menu_)
            FreeNotification(menu_);
        if (auto* skinned = dynamic_cast<TsuiMainMenu*>(menu_))
            skinned->SetSkinnedForm(this);
    }
    if (menu_) {
        CreateMenuBar();
        RebuildMenuBar();
    } else {
        RemoveMenuBar();
    }
}

void TsuiForm::SetMenuBarColor(TColor color) {
    menuBarColor_ = color;
    if (menuBar_)
        menuBar_->SetColor(color);
}

void TsuiForm::SetMenuBarHeight(int height) {
    menuBarHeight_ = height;
    if (!menuBar_)
        return;
    menuBar_->SetHeight(ScaledForDpi(height));
    menuBar_->SetButtonHeight(ScaledForDpi(height));
}

// --- the menu bar -----------------------------------------------------------------------------

void TsuiForm::CreateMenuBar() {
    if (menuBar_ || IsMdiChild() || !titleBar_)
        return;
    menuBar_ = gui::Create<gui::TToolBar>(this);
    menuBar_->SetParent(this);
    menuBar_->ScaleForDpi(Dpi());
    menuBar_->SetHeight(ScaledForDpi(menuBarHeight_));
    menuBar_->SetButtonHeight(ScaledForDpi(menuBarHeight_));
    menuBar_->SetColor(menuBarColor_);
    // A menu bar's captions stand alone, without the tool bar's drop-down arrows.
    menuBar_->SetDropDownArrows(false);
    menuBar_->SetOnCustomDraw([this](gui::TToolBar*, gui::TCanvas& canvas, const gui::TRect& rect,
                                     bool&) { DrawMenuBarBackground(canvas, rect); });
    if (!IsDesigning())
        menuBar_->SetOnCustomDrawButton([this](gui::TToolBar*, gui::TToolButton* button,
                                               gui::TCanvas& canvas, const gui::TRect& rect,
                                               gui::TCustomDrawState state, bool& defaultDraw) {
            DrawMenuBarButton(button, canvas, rect, state, defaultDraw);
        });
    // Both are aligned to the top and the title bar comes first among the children, so it
    // stays above the menu bar.
    titleBar_->SetTop(0);
    RefreshMenuBarFont();
}

void TsuiForm::RemoveMenuBar() {
    if (!IsMdiChild() && menuBar_) {
        gui::TToolBar* bar = menuBar_;
        menuBar_ = nullptr;
        bar->Free();
    }
    if (menu_)
        SetMenu(nullptr);
}

void TsuiForm::RebuildMenuBar() {
    if (!menuBar_)
        return;
    if (!menu_) {
        RemoveMenuBar();
        return;
    }
    while (menuBar_->ButtonCount() > 0)
        menuBar_->Buttons(menuBar_->ButtonCount() - 1)->Free();
    gui::TMenuItem& root = menu_->Items();
    // Each new button goes to the left end, so walking backwards leaves them in item order.
    for (int i = root.Count() - 1; i >= 0; --i) {
        gui::TMenuItem* item = root.Items(i);
        if (item->Parent() != &root)
            continue;
        auto* button = gui::Create<gui::TToolButton>(this);
        button->SetToolBar(menuBar_);
        button->SetGrouped(true);
        button->SetMenuItem(item);
        button->SetAutoSize(true);
        button->SetIndex(0);
    }
}

void TsuiForm::RefreshMenuBarCaptions() {
    if (menuBar_)
        menuBar_->RefreshMenuButtons();
}

void TsuiForm::RefreshMenuBarFont() {
    if (!menuBar_ || !menu_)
        return;
    if (const auto* skinned = dynamic_cast<const TsuiMainMenu*>(menu_)) {
        gui::TFont& font = menuBar_->Font();
        if (skinned->UseSystemFont()) {
            SetSystemMenuFont(font);
        } else {
            font.SetName(skinned->FontName());
            font.SetSize(skinned->FontSize());
            font.SetCharset(skinned->FontCharset());
        }
    }
    menuBar_->Invalidate();
}

TsuiUIStyle TsuiForm::MenuBarStyle() const {
    if (const auto* skinned = dynamic_cast<const TsuiMainMenu*>(menu_))
        return skinned->UIStyle();
    return uiStyle_;
}

gui::TComponent* TsuiForm::MenuBarTheme() const {
    if (const auto* skinned = dynamic_cast<const TsuiMainMenu*>(menu_))
        return skinned->FileTheme();
    return fileTheme_;
}

void TsuiForm::DrawMenuBarBackground(gui::TCanvas& canvas, const gui::TRect& rect) {
    if (MenuBarStyle() != TsuiUIStyle::MacOS || rect.IsEmpty())
        return;
    gui::TBitmap stripes;
    stripes.LoadFromResourceName(::GetModuleHandleW(nullptr), L"MACOS_MENU_BAR");
    if (stripes.Empty())
        return;
    const DWORD mode = canvas.CopyMode();
    canvas.SetCopyMode(SRCCOPY);
    ::SetStretchBltMode(canvas.Handle(), COLORONCOLOR);
    canvas.CopyRect(rect, stripes.Canvas(), gui::MakeRect(0, 0, stripes.Width(), stripes.Height()));
    canvas.SetCopyMode(mode);
}

void TsuiForm::DrawMenuBarButton(gui::TToolButton* button, gui::TCanvas& canvas,
                                 const gui::TRect& rect, unsigned state, bool& defaultDraw) {
    if (!button)
        return;
    // The font the bar's own drawing uses too, so a button keeps its font when it lights up.
    if (const auto* skinned = dynamic_cast<const TsuiMainMenu*>(menu_)) {
        if (skinned->UseSystemFont()) {
            SetSystemMenuFont(canvas.Font());
        } else {
            canvas.Font().SetName(skinned->FontName());
            canvas.Font().SetSize(skinned->FontSize());
            canvas.Font().SetCharset(skinned->FontCharset());
            canvas.Font().SetColor(skinned->FontColor());
        }
    }
    const TsuiUIStyle style = MenuBarStyle();
    const bool selected = (state & gui::cdsSelected) != 0;
    const MenuBarButtonLook kind =
        ChooseMenuBarButtonLook(style, (state & gui::cdsHot) != 0, selected);
    if (kind == MenuBarButtonLook::ToolBarDraws || rect.IsEmpty())
        return;
    defaultDraw = false;
    const FrameLook look(style, MenuBarTheme());
    const TColor textColor = look.Color(StyleElement::MenuSelectedFontColor);

    // Painted off-screen and copied in one block.
    gui::TBitmap buffer;
    buffer.SetSize(rect.Width(), rect.Height());
    gui::TCanvas& target = buffer.Canvas();
    const gui::TRect whole = gui::MakeRect(0, 0, rect.Width(), rect.Height());
    target.Font().Assign(canvas.Font());
    target.Font().SetColor(textColor);
    if (kind == MenuBarButtonLook::MacStripes) {
        gui::TBitmap stripes;
        stripes.LoadFromResourceName(::GetModuleHandleW(nullptr), L"MACOS_MENU_SELECT");
        target.SetCopyMode(SRCCOPY);
        ::SetStretchBltMode(target.Handle(), COLORONCOLOR);
        target.CopyRect(whole, stripes.Canvas(),
                        gui::MakeRect(0, 0, stripes.Width(), stripes.Height()));
        target.Brush().SetStyle(gui::TBrushStyle::bsClear);
        gui::TRect captionRect = MacMenuBarCaptionRect(rect.Width(), rect.Height());
        target.DrawText(button->Caption(), captionRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    } else {
        // What the bar shows under the button stays where the highlight does not reach
        // (a pressed button's 2 rightmost columns).
        ::BitBlt(target.Handle(), 0, 0, rect.Width(), rect.Height(), canvas.Handle(), rect.Left,
                 rect.Top, SRCCOPY);
        const FlatMenuBarButton flat = LayOutFlatMenuBarButton(whole, selected);
        target.Brush().SetStyle(gui::TBrushStyle::bsSolid);
        target.Brush().SetColor(look.Color(StyleElement::MenuSelectedBackgroundColor));
        target.FillRect(flat.fill);
        target.Brush().SetColor(look.Color(StyleElement::MenuSelectedBorderColor));
        target.FrameRect(flat.fill);
        target.Brush().SetStyle(gui::TBrushStyle::bsClear);
        gui::TRect captionRect = flat.caption;
        target.DrawText(button->Caption(), captionRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    ::BitBlt(canvas.Handle(), rect.Left, rect.Top, rect.Width(), rect.Height(), target.Handle(), 0,
             0, SRCCOPY);
}

void TsuiForm::SetFrameWidth(int width) {
    if (form_)
        form_->SetWidth(FormWidthForPanel(width, ScaledForDpi(borderWidth_)));
    else
        SetWidth(width);
    UpdateLayout();
}

void TsuiForm::SetFrameHeight(int height) {
    if (form_)
        form_->SetHeight(FormHeightForPanel(height, ScaledForDpi(borderWidth_)));
    else
        SetHeight(height);
    UpdateLayout();
}

void TsuiForm::SetRoundCorner(int radius) {
    if (IsMdiChild())
        return;
    titleBar_->SetRoundCorner(radius);
}

void TsuiForm::SetOnTitleBarCustomBtnsClick(TsuiTitleBarButtonClickEvent e) {
    titleBar_->SetOnCustomBtnsClick(std::move(e));
}

void TsuiForm::SetOnTitleBarHelpBtnClick(TsuiTitleBarButtonClickEvent e) {
    titleBar_->SetOnHelpBtnClick(std::move(e));
}

void TsuiForm::Notification(gui::TComponent* component, gui::TOperation operation) {
    gui::TCustomPanel::Notification(component, operation);
    if (operation != gui::TOperation::opRemove)
        return;
    if (component == formPanel_)
        formPanel_ = nullptr;
    if (component == menuBar_)
        menuBar_ = nullptr;
    if (component == menu_) {
        // Only the pointer is compared: the menu is half destroyed.
        menu_ = nullptr;
        if (!IsDestroying())
            RemoveMenuBar();
    }
    if (component == titleBar_)
        titleBar_ = nullptr;
    if (component == fileTheme_) {
        fileTheme_ = nullptr;
        if (!IsDestroying() && titleBar_) {
            SetChildrenUIStyle(*this, TsuiUIStyle::DeepBlue, nullptr);
            SetUIStyle(TsuiUIStyle::DeepBlue);
        }
    }
}

// --- layout and painting ----------------------------------------------------------------------

bool TsuiForm::IsMdiChild() const {
    return form_ && form_->FormStyle() == gui::TFormStyle::fsMDIChild;
}

bool TsuiForm::IsMdiForm() const {
    return form_ && form_->FormStyle() == gui::TFormStyle::fsMDIForm;
}

void TsuiForm::UpdateLayout() {
    if (!form_ || !titleBar_)
        return;
    const PanelBounds b =
        FramePanelBounds(form_->ClientWidth(), form_->ClientHeight(), ScaledForDpi(borderWidth_),
                         titleBar_->Visible(), IsMdiChild());
    SetBounds(b.left, b.top, b.width, b.height);
}

void TsuiForm::PaintBorder() {
    if (!form_ || !form_->HandleAllocated() || IsDestroying())
        return;
    const gui::WindowDC dc = gui::WindowDC::Client(form_->Handle());
    if (dc)
        PaintBorderOn(dc.get());
}

void TsuiForm::PaintBorderOn(HDC dc) {
    if (!form_ || !dc)
        return;
    const int border = ScaledForDpi(borderWidth_);
    const BorderStrips s =
        FrameBorderStrips(form_->ClientWidth(), form_->ClientHeight(), border, IsMdiChild());
    gui::TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Pen().SetColor(borderColor_);
    canvas.Pen().SetWidth(border);
    canvas.Brush().SetColor(borderColor_);
    for (const SkinRect& r : {s.left, s.bottom, s.right})
        canvas.FillRect(gui::MakeRect(r.left, r.top, r.right, r.bottom));
    canvas.MoveTo(s.topLineFrom.x, s.topLineFrom.y);
    canvas.LineTo(s.topLineTo.x, s.topLineTo.y);
    canvas.SetHandle(nullptr);
}

void TsuiForm::Paint() {
    gui::TCanvas& canvas = Canvas();
    const gui::TRect client = ClientRect();
    if (uiStyle_ == TsuiUIStyle::MacOS || uiStyle_ == TsuiUIStyle::Protein) {
        gui::TBitmap tile;
        tile.LoadFromResourceName(::GetModuleHandleW(nullptr), uiStyle_ == TsuiUIStyle::MacOS
                                                                   ? L"MACOS_FORM_BACKGROUND"
                                                                   : L"PROTEIN_FORM_BACKGROUND");
        canvas.Brush().SetBitmap(&tile);
        canvas.FillRect(client);
        canvas.Brush().SetBitmap(nullptr);
        return;
    }
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
}

int TsuiForm::ScaledForDpi(int value96) const {
    return gui::ScaleToDpi(value96, Dpi());
}

void TsuiForm::ChangeScale(int fromDpi, int toDpi) {
    gui::TCustomPanel::ChangeScale(fromDpi, toDpi);
    if (menuBar_) {
        menuBar_->SetHeight(ScaledForDpi(menuBarHeight_));
        menuBar_->SetButtonHeight(ScaledForDpi(menuBarHeight_));
    }
    UpdateLayout();
    PaintBorder();
}

void TsuiForm::CreateWnd() {
    gui::TCustomPanel::CreateWnd();
    UpdateLayout();
    PaintBorder();
}

void TsuiForm::WndProc(gui::TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        PaintBorder();
        m.Result = 1;
        return;
    }
    gui::TCustomPanel::WndProc(m);
}

// --- the form's messages ----------------------------------------------------------------------

void TsuiForm::FormWndProc(gui::TMessage& m) {
    if (m.Msg == WM_SIZE) {
        OnFormSize(m);
        return;
    }
    hook_->saved(m);
    switch (m.Msg) {
    case WM_MDIACTIVATE: {
        const bool active = form_ && reinterpret_cast<HWND>(m.LParam) == m.Window;
        titleBar_->SetFormActive(active);
        if (active)
            SendToMainMdiClient(kMdiChildActivated, 0, 0);
        break;
    }
    case WM_KEYDOWN:
        m.Result = IsMenuShortCut(m) ? 1 : 0;
        break;
    case WM_SHOWWINDOW:
        // The frame draws the menu bar; the form never shows a system-drawn one.
        form_->SetMenu(nullptr);
        break;
    case WM_DESTROY:
        if (IsMdiChild()) {
            SendToMainMdiClient(kMdiChildActivated, 0, 0);
            if (IsFormMaximised(*form_))
                SendToMainMdiClient(kMdiChildRestored, 0, 0);
        }
        break;
    case WM_ACTIVATE:
        titleBar_->SetFormActive(LOWORD(m.WParam) != WA_INACTIVE);
        break;
    case WM_ERASEBKGND:
        PaintBorderOn(reinterpret_cast<HDC>(m.WParam));
        break;
    case WM_PRINTCLIENT:
        // PrintWindow and screenshots see the border too, not only the form's background.
        PaintBorderOn(reinterpret_cast<HDC>(m.WParam));
        break;
    case WM_NCHITTEST:
        OnFormHitTest(m);
        break;
    default:
        break;
    }
}

void TsuiForm::OnFormSize(gui::TMessage& m) {
    gui::TForm& form = *form_;
    const bool zoomed = ::IsZoomed(m.Window) != FALSE;
    SharedFrameState& shared = Shared();
    if (createdMaximised_) {
        const CreatedMaximisedStep step =
            OnSizeOfCreatedMaximised(createdMaximised_, shared.createdMaximisedSizes, zoomed);
        if (step.maximiseAgain)
            form.SetWindowState(gui::TWindowState::wsMaximized);
        if (step.restoreSavedBounds)
            SetFormBounds(form, savedBounds_);
        shared.mdiContentScrolled = true;
    }
    if (zoomed && !IsMdiChild() && savedBorderStyle_ != gui::TFormBorderStyle::bsNone)
        SetFormBounds(form, titleBar_->FormWorkArea());

    UpdateLayout();
    PaintBorder();
    titleBar_->UpdateMaximiseButtons();

    if (IsMdiChild()) {
        const gui::TCustomForm* main =
            gui::CurrentApplication() ? gui::CurrentApplication()->MainForm() : nullptr;
        if (zoomed && main) {
            titleBar_->Hide();
            form.SetWidth(main->Width() + 7);
            int menuHeight = 0;
            if (const HWND client = MainMdiClient())
                ::SendMessageW(client, kMdiQueryMenuHeight, reinterpret_cast<WPARAM>(&menuHeight),
                               0);
            form.SetHeight(main->Height() - menuHeight + 7);
            if (!shared.mdiContentScrolled) {
                ScrollContent(-titleBar_->Height());
                shared.mdiContentScrolled = true;
                SendToMainMdiClient(kMdiChildScrolled, reinterpret_cast<WPARAM>(m.Window), 0);
            }
        } else if (!zoomed) {
            titleBar_->Show();
            if (shared.mdiContentScrolled) {
                ScrollContent(titleBar_->Height());
                shared.mdiContentScrolled = false;
                titleBar_->UpdateMaximiseButtons();
                SendToMainMdiClient(kMdiChildRestored, 0, 0);
            }
        }
    }

    titleBar_->UpdateRegion();
    hook_->saved(m);
}

void TsuiForm::OnFormHitTest(gui::TMessage& m) {
    if (IsFormMaximised(*form_))
        return;
    if (IsMdiForm() && m.Result == HTCLIENT)
        m.Result = HTTRANSPARENT;
    if (savedBorderStyle_ != gui::TFormBorderStyle::bsSizeable)
        return;
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    ::ScreenToClient(m.Window, &p);
    // The grips are designed at 96 dpi: the point and the size are taken back to it.
    const auto design = [this](int v) { return gui::ScaleBetweenDpis(v, Dpi(), gui::kDesignDpi); };
    if (const std::optional<int> code =
            FormEdgeHitTest({design(p.x), design(p.y)}, design(form_->ClientWidth()),
                            design(form_->ClientHeight())))
        m.Result = *code;
}

HWND TsuiForm::MainMdiClient() const {
    const gui::TApplication* app = gui::CurrentApplication();
    gui::TCustomForm* main = app ? app->MainForm() : nullptr;
    if (!main || main->FormStyle() != gui::TFormStyle::fsMDIForm || !main->HandleAllocated())
        return nullptr;
    return ::FindWindowExW(main->Handle(), nullptr, L"MDICLIENT", nullptr);
}

void TsuiForm::SendToMainMdiClient(unsigned msg, WPARAM wParam, LPARAM lParam) const {
    if (const HWND client = MainMdiClient())
        ::SendMessageW(client, msg, wParam, lParam);
}

void TsuiForm::ScrollContent(int dy) {
    for (int i = 0; i < ControlCount(); ++i) {
        gui::TControl* c = Controls(i);
        c->SetBounds(c->Left(), c->Top() + dy, c->Width(), c->Height());
    }
}

// --- keys and the application hook -----------------------------------------------------------

bool TsuiForm::IsFormActive() const {
    if (!form_)
        return false;
    const gui::TApplication* app = gui::CurrentApplication();
    const gui::TCustomForm* main = app ? app->MainForm() : nullptr;
    if (!main)
        return form_->Active();
    if (main->FormStyle() == gui::TFormStyle::fsMDIForm && main == form_)
        return true;
    if (!app->Active())
        return false;
    if (main == form_)
        return true;
    if (main->FormStyle() == gui::TFormStyle::fsMDIForm) {
        const HWND client = MainMdiClient();
        if (client && form_->HandleAllocated() &&
            reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) ==
                form_->Handle())
            return true;
    }
    return form_->Active();
}

bool TsuiForm::IsMenuShortCut(const gui::TMessage& message) {
    return IsFormActive() && form_->Active() && menu_ && menu_->IsShortCut(message);
}

void TsuiForm::AppMessageHook(MSG& msg, bool& handled) {
    if (msg.message == WM_SYSCHAR && msg.wParam == VK_SPACE) {
        const gui::TApplication* app = gui::CurrentApplication();
        const gui::TCustomForm* main = app && app->MainForm() ? app->MainForm() : form_;
        if (main && titleBar_ && titleBar_->SystemMenu())
            titleBar_->SystemMenu()->Popup(main->Left(), main->Top() + titleBar_->Height());
        handled = true;
        return;
    }
    if (msg.message == WM_KEYDOWN) {
        const gui::TMessage m{msg.hwnd, msg.message, msg.wParam, msg.lParam, 0};
        handled = IsMenuShortCut(m);
    }
}

} // namespace nestora::skin
