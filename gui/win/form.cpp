#include "gui/win/form.h"

#include "gui/core/class_builder.h"
#include "gui/core/description_loader.h"
#include "gui/core/dpi_scale.h"
#include "gui/win/application.h"
#include "gui/win/control_messages.h"
#include "gui/win/dpi.h"
#include "gui/win/graphics_color.h"

namespace nestora::gui {

// --- TSizeConstraints --------------------------------------------------------------------

const ClassInfo& TSizeConstraints::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TSizeConstraints>("TSizeConstraints", &TPersistent::StaticClassInfo())
            .Int("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight)
            .Int("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth)
            .Int("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight)
            .Int("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth)
            .Build();
    return info;
}

void TSizeConstraints::Set(int& field, int value) {
    value = std::max(value, 0);
    if (field == value)
        return;
    field = value;
    if (onChange_)
        onChange_(this);
}

int TSizeConstraints::ConstrainWidth(int width) const {
    if (maxWidth_ > 0)
        width = std::min(width, maxWidth_);
    if (minWidth_ > 0)
        width = std::max(width, minWidth_);
    return width;
}

int TSizeConstraints::ConstrainHeight(int height) const {
    if (maxHeight_ > 0)
        height = std::min(height, maxHeight_);
    if (minHeight_ > 0)
        height = std::max(height, minHeight_);
    return height;
}

void TSizeConstraints::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TSizeConstraints*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    minWidth_ = other->minWidth_;
    minHeight_ = other->minHeight_;
    maxWidth_ = other->maxWidth_;
    maxHeight_ = other->maxHeight_;
    if (onChange_)
        onChange_(this);
}

// --- TCustomForm ---------------------------------------------------------------------------

const ClassInfo& TCustomForm::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TCustomForm>("TCustomForm", &TWinControl::StaticClassInfo())
            .Enum("BorderStyle", kFormBorderStyleInfo, &TCustomForm::BorderStyle,
                  &TCustomForm::SetBorderStyle)
            .Set("BorderIcons", kBorderIconInfo, &TCustomForm::BorderIcons,
                 &TCustomForm::SetBorderIcons)
            .Int("BorderWidth", &TCustomForm::BorderWidth, &TCustomForm::SetBorderWidth)
            .Text("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption)
            .Int("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
            .Int("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
            .Object("Constraints", [](TCustomForm& f) -> TPersistent* { return &f.Constraints(); })
            .Enum("FormStyle", kFormStyleInfo, &TCustomForm::FormStyle, &TCustomForm::SetFormStyle)
            .Enum("WindowState", kWindowStateInfo, &TCustomForm::WindowState,
                  &TCustomForm::SetWindowState)
            .Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
            .Bool("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled)
            .Bool("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll)
            .Component<TMainMenu>("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
            .Component<TWinControl>("ActiveControl", &TCustomForm::ActiveControl,
                                    &TCustomForm::SetActiveControl)
            .Event<TNotifyEvent>("OnCreate", &TCustomForm::SetOnCreate)
            .Event<TNotifyEvent>("OnDestroy", &TCustomForm::SetOnDestroy)
            .Event<TNotifyEvent>("OnShow", &TCustomForm::SetOnShow)
            .Event<TNotifyEvent>("OnHide", &TCustomForm::SetOnHide)
            .Event<TCloseEvent>("OnClose", &TCustomForm::SetOnClose)
            .Event<TCloseQueryEvent>("OnCloseQuery", &TCustomForm::SetOnCloseQuery)
            .Event<TNotifyEvent>("OnPaint", &TCustomForm::SetOnPaint)
            .Event<TNotifyEvent>("OnActivate", &TCustomForm::SetOnActivate)
            .Event<TNotifyEvent>("OnDeactivate", &TCustomForm::SetOnDeactivate)
            .Event<TNotifyEvent>("OnResize", &TCustomForm::SetOnResize)
            .Build();
    return info;
}

const ClassInfo& TForm::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TForm>("TForm", &TCustomForm::StaticClassInfo()).Build();
    return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetParentColor(false);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    constraints_.SetOnChange([this](TObject*) { ApplyConstraints(); });
}

TCustomForm::~TCustomForm() {
    constraints_.SetOnChange(nullptr);
}

void TCustomForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    DoCreate();
}

void TCustomForm::BeforeDestruction() {
    TComponent::BeforeDestruction(); // csDestroying on the whole tree first
    RaiseDestroyEvent();
    TWinControl::BeforeDestruction(); // the windows go while everything is whole
}

void TCustomForm::RaiseDestroyEvent() {
    if (destroyRaised_)
        return;
    destroyRaised_ = true;
    DoDestroy();
}

void TCustomForm::DoCreate() {
    if (onCreate_)
        CallGuarded([this] { onCreate_(this); });
}

void TCustomForm::DoDestroy() {
    if (onDestroy_)
        CallGuarded([this] { onDestroy_(this); });
}

void TCustomForm::DoShow() {
    if (onShow_)
        onShow_(this);
}

void TCustomForm::DoHide() {
    if (onHide_)
        onHide_(this);
}

void TCustomForm::Paint() {
    if (onPaint_)
        onPaint_(this);
}

const std::any* TCustomForm::FindMethod(std::string_view name) const {
    return methods_.Find(name);
}

bool TCustomForm::BindField(std::wstring_view name, TComponent* component) {
    return fields_.Bind(name, component);
}

std::string_view DescriptionResourceText(const std::wstring& name) {
    const HINSTANCE instance = FrameworkInstance();
    const HRSRC resource = ::FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(10)); // RCDATA
    const HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data)
        throw EResNotFound(FormatText(L"Resource %s not found", {name}));
    // Resources stay mapped for the life of the module: the view never dangles.
    return std::string_view(static_cast<const char*>(data), ::SizeofResource(instance, resource));
}

void TCustomForm::ReadDescription(std::string_view utf8, const ClassRegistry& classes) {
    LoadDescription(utf8, *this, classes);
}

void TCustomForm::ReadDescriptionResource(const std::wstring& name, const ClassRegistry& classes) {
    ReadDescription(DescriptionResourceText(name), classes);
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    // The description is written for 96 dpi; the form is laid out for its screen before
    // anyone sees it or its create event reads a size.
    ScaleForDpi(TargetDpi());
    if (Visible())
        VisibleChanged(); // showing waited for the description to be read
}

// --- window ----------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.exStyle = 0;
    if (!Enabled())
        p.style |= WS_DISABLED;
    const bool system = (borderIcons_ & BorderIconBit(biSystemMenu)) != 0;
    bool minMax = false;
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone:
        p.style |= WS_POPUP;
        break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsSizeable:
        p.style |= WS_CAPTION | (borderStyle_ == TFormBorderStyle::bsSizeable ? WS_THICKFRAME : 0);
        if (system) {
            if (borderIcons_ & BorderIconBit(biMinimize))
                p.style |= WS_MINIMIZEBOX;
            if (borderIcons_ & BorderIconBit(biMaximize))
                p.style |= WS_MAXIMIZEBOX;
            minMax = (p.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;
        }
        break;
    case TFormBorderStyle::bsDialog:
        p.style |= WS_CAPTION | DS_MODALFRAME;
        p.exStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin:
        p.style |=
            WS_CAPTION | (borderStyle_ == TFormBorderStyle::bsSizeToolWin ? WS_THICKFRAME : 0);
        p.exStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (borderStyle_ != TFormBorderStyle::bsNone && system) {
        p.style |= WS_SYSMENU;
        // Windows shows the help button only on windows without minimise and maximise.
        if ((borderIcons_ & BorderIconBit(biHelp)) && !minMax)
            p.exStyle |= WS_EX_CONTEXTHELP;
    }
    if (formStyle_ == TFormStyle::fsStayOnTop)
        p.exStyle |= WS_EX_TOPMOST;
}

HWND TCustomForm::OwnerWindow() {
    // Forms are owned by the application window: no taskbar button of their own, and they
    // go with the application when it is minimised.
    TApplication* app = CurrentApplication();
    return app ? app->Handle() : nullptr;
}

void TCustomForm::FrameChanged() {
    const HWND window = HandleAllocated() ? Handle() : nullptr;
    if (!window)
        return;
    TCreateParams p;
    CreateParams(p);
    constexpr DWORD kFrameStyles = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU |
                                   WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME;
    // WS_EX_TOPMOST is left to SetWindowPos below: it is a place in the Z order.
    constexpr DWORD kFrameExStyles = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP;
    const auto style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE));
    ::SetWindowLongW(window, GWL_STYLE,
                     static_cast<LONG>((style & ~kFrameStyles) | (p.style & kFrameStyles)));
    ::SetWindowLongW(window, GWL_EXSTYLE,
                     static_cast<LONG>((exStyle & ~kFrameExStyles) | (p.exStyle & kFrameExStyles)));
    ::SetWindowPos(window, formStyle_ == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                   0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Realign();
    Invalidate();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    FrameChanged();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    icons &= 0xFu;
    if (icons == borderIcons_)
        return;
    borderIcons_ = icons;
    FrameChanged();
}

void TCustomForm::SetFormStyle(TFormStyle style) {
    if (style == formStyle_)
        return;
    formStyle_ = style;
    FrameChanged();
}

void TCustomForm::SetWindowState(TWindowState state) {
    if (state == windowState_)
        return;
    windowState_ = state;
    if (!HandleAllocated() || !Visible() || IsLoading())
        return;
    if (state == TWindowState::wsMinimized && IsMainForm()) {
        Application().Minimize();
        return;
    }
    const HWND window = Handle();
    ::ShowWindow(window, state == TWindowState::wsMinimized   ? SW_MINIMIZE
                         : state == TWindowState::wsMaximized ? SW_MAXIMIZE
                                                              : SW_RESTORE);
    // A window minimised from maximised restores to maximised first.
    if (state == TWindowState::wsNormal && ::IsZoomed(window))
        ::ShowWindow(window, SW_RESTORE);
    windowState_ = state;
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, constraints_.ConstrainWidth(width),
                           constraints_.ConstrainHeight(height));
}

void TCustomForm::ApplyConstraints() {
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == menu_)
        return;
    if (menu_)
        menu_->DetachWindow();
    menu_ = menu;
    if (!menu)
        return;
    FreeNotification(menu);
    if (HandleAllocated())
        menu->AttachWindow(Handle());
}

int TCustomForm::TargetDpi() {
    return HandleAllocated() ? WindowDpi(Handle()) : SystemDpi();
}

void TCustomForm::ScaleBounds(int fromDpi, int toDpi) {
    const TRect client = ClientRect();
    SetClientSize(ScaleBetweenDpis(client.Width(), fromDpi, toDpi),
                  ScaleBetweenDpis(client.Height(), fromDpi, toDpi));
}

void TCustomForm::ChangeScale(int fromDpi, int toDpi) {
    const auto scale = [&](int v) { return ScaleBetweenDpis(v, fromDpi, toDpi); };
    const int minWidth = scale(constraints_.MinWidth());
    const int minHeight = scale(constraints_.MinHeight());
    const int maxWidth = scale(constraints_.MaxWidth());
    const int maxHeight = scale(constraints_.MaxHeight());
    // Lifted while the size changes: the old limits would hold the new size back.
    constraints_.SetMinWidth(0);
    constraints_.SetMinHeight(0);
    constraints_.SetMaxWidth(0);
    constraints_.SetMaxHeight(0);
    TWinControl::ChangeScale(fromDpi, toDpi);
    constraints_.SetMinWidth(minWidth);
    constraints_.SetMinHeight(minHeight);
    constraints_.SetMaxWidth(maxWidth);
    constraints_.SetMaxHeight(maxHeight);
}

void TCustomForm::OnDpiChanged(TMessage& m) {
    ScaleForDpi(LOWORD(m.WParam));
    // The system's rectangle keeps the window under the mouse that dragged it across.
    if (const auto* r = reinterpret_cast<const RECT*>(m.LParam))
        SetBounds(r->left, r->top, r->right - r->left, r->bottom - r->top);
    m.Result = 0;
}

void TCustomForm::InitializeWindow() {
    TWinControl::InitializeWindow();
    // A window made on a monitor of another scale than the system's.
    ScaleForDpi(WindowDpi(Handle()));
    if (menu_)
        menu_->AttachWindow(Handle());
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_)
        return;
    activeControl_ = control;
    if (control) {
        FreeNotification(control);
        if (Visible() && HandleAllocated() && control->CanFocus())
            control->SetFocus();
    }
}

void TCustomForm::FocusMoved(TWinControl* control) {
    if (control == activeControl_ || control == this)
        return;
    activeControl_ = control;
    if (control)
        FreeNotification(control);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == menu_)
        menu_ = nullptr;
    if (component == activeControl_)
        activeControl_ = nullptr;
}

TControlCanvas& TCustomForm::Canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<TControlCanvas>(*this);
    return *canvas_;
}

bool TCustomForm::IsMainForm() const {
    const TApplication* app = CurrentApplication();
    return app && app->MainForm() == this;
}

void TCustomForm::VisibleChanged() {
    if (IsLoading())
        return; // Loaded shows the form once the description is read
    if (Visible()) {
        const HWND window = Handle();
        if (!window)
            return;
        MakeWaitingWindows();
        if (IsMainForm())
            Application().MainFormVisibilityChanged(true);
        ::ShowWindow(window, windowState_ == TWindowState::wsMaximized   ? SW_SHOWMAXIMIZED
                             : windowState_ == TWindowState::wsMinimized ? SW_SHOWMINIMIZED
                                                                         : SW_SHOWNORMAL);
        shown_ = true;
        DoShow();
    } else {
        if (HandleAllocated())
            ::ShowWindow(Handle(), SW_HIDE);
        const bool wasShown = shown_;
        shown_ = false;
        if (IsMainForm() && !IsDestroying())
            Application().MainFormVisibilityChanged(false);
        if (wasShown)
            DoHide();
    }
}

void TCustomForm::ColorChanged() {
    TWinControl::ColorChanged();
    if (HandleAllocated())
        ::InvalidateRect(Handle(), nullptr, TRUE);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (onCloseQuery_)
        onCloseQuery_(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (!CloseQuery())
        return;
    TCloseAction action = TCloseAction::caHide;
    if (onClose_)
        onClose_(this, action);
    if (action == TCloseAction::caNone)
        return;
    if (IsMainForm()) {
        Application().Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::caHide:
        Hide();
        break;
    case TCloseAction::caMinimize:
        SetWindowState(TWindowState::wsMinimized);
        break;
    case TCloseAction::caFree:
        Release();
        break;
    case TCloseAction::caNone:
        break;
    }
}

void TCustomForm::Release() {
    if (const HWND window = Handle())
        ::PostMessageW(window, CM_RELEASE, 0, 0);
}

void TCustomForm::PaintBackground(HDC dc) {
    RECT r{};
    ::GetClientRect(Handle(), &r);
    UniqueBrush brush(::CreateSolidBrush(ColorToRGB(Color())));
    ::FillRect(dc, &r, brush.get());
}

void TCustomForm::WndProc(TMessage& m) {
    if (menu_ && menu_->HandleWindowMessage(m))
        return;
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case WM_SYSCOMMAND:
        if ((m.WParam & 0xFFF0) == SC_MINIMIZE && IsMainForm()) {
            Application().Minimize();
            return;
        }
        DefaultHandler(m);
        return;
    case WM_DPICHANGED:
        OnDpiChanged(m);
        return;
    case WM_GETMINMAXINFO: {
        DefaultHandler(m);
        auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
        if (constraints_.MinWidth() > 0)
            info->ptMinTrackSize.x = constraints_.MinWidth();
        if (constraints_.MinHeight() > 0)
            info->ptMinTrackSize.y = constraints_.MinHeight();
        if (constraints_.MaxWidth() > 0)
            info->ptMaxTrackSize.x = constraints_.MaxWidth();
        if (constraints_.MaxHeight() > 0)
            info->ptMaxTrackSize.y = constraints_.MaxHeight();
        return;
    }
    case WM_SIZE:
        if (Visible()) {
            if (m.WParam == SIZE_MINIMIZED)
                windowState_ = TWindowState::wsMinimized;
            else if (m.WParam == SIZE_MAXIMIZED)
                windowState_ = TWindowState::wsMaximized;
            else if (m.WParam == SIZE_RESTORED)
                windowState_ = TWindowState::wsNormal;
        }
        TWinControl::WndProc(m);
        if (onResize_)
            onResize_(this);
        return;
    case WM_ACTIVATE: {
        DefaultHandler(m);
        active_ = LOWORD(m.WParam) != WA_INACTIVE;
        if (active_) {
            if (activeControl_ && activeControl_->CanFocus())
                activeControl_->SetFocus();
            if (onActivate_)
                onActivate_(this);
        } else if (onDeactivate_) {
            onDeactivate_(this);
        }
        return;
    }
    case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        const HDC dc = ::BeginPaint(m.Window, &ps);
        TControlCanvas& canvas = Canvas();
        canvas.BeginPainting(dc);
        try {
            canvas.Font().Assign(Font());
            canvas.Brush().SetColor(Color());
            Paint();
        } catch (...) {
            canvas.EndPainting();
            ::EndPaint(m.Window, &ps);
            throw;
        }
        canvas.EndPainting();
        ::EndPaint(m.Window, &ps);
        return;
    }
    case WM_PRINTCLIENT: {
        const auto dc = reinterpret_cast<HDC>(m.WParam);
        PaintBackground(dc);
        TControlCanvas& canvas = Canvas();
        canvas.BeginPainting(dc);
        try {
            Paint();
        } catch (...) {
            canvas.EndPainting();
            throw;
        }
        canvas.EndPainting();
        return;
    }
    default:
        TWinControl::WndProc(m);
    }
}

} // namespace nestora::gui
