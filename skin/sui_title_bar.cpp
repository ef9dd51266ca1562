#include "skin/sui_title_bar.h"

#include "gui/core/class_builder.h"
#include "gui/core/dpi_scale.h"
#include "gui/win/application.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/form.h"
#include "gui/win/icon.h"
#include "gui/win/popup_menu.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/sui_form.h"
#include "skin/sui_scaled_picture.h"
#include "skin/sui_style_win.h"
#include "skin/sui_title_bar_look.h"
#include "skin/sui_title_bar_menu.h"

#include <windowsx.h>

#include <vector>

namespace nestora::skin {

namespace {

// Restricts drawing on a DC to a rectangle for a scope, then puts the DC's own clipping
// back (a canvas does not track clipping, so this never confuses its selected objects).
class ClipScope {
public:
    ClipScope(HDC dc, const SkinRect& r) : dc_(dc), saved_(::CreateRectRgn(0, 0, 0, 0)) {
        hadClip_ = saved_ && ::GetClipRgn(dc_, saved_.get()) == 1;
        ::IntersectClipRect(dc_, r.left, r.top, r.right, r.bottom);
    }
    ~ClipScope() { ::SelectClipRgn(dc_, hadClip_ ? saved_.get() : nullptr); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    HDC dc_;
    gui::UniqueRegion saved_;
    bool hadClip_ = false;
};

gui::TRect ToTRect(const SkinRect& r) {
    return gui::MakeRect(r.left, r.top, r.right, r.bottom);
}

} // namespace

void MinimiseForm(gui::TCustomForm& form) {
    const gui::TApplication* app = gui::CurrentApplication();
    const HWND window = form.Handle();
    if (!window)
        return;
    if (app && app->MainForm() == &form)
        ::SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else
        ::ShowWindow(window, SW_SHOWMINIMIZED);
}

const gui::ClassInfo& TsuiTitleBar::StaticClassInfo() {
    using T = TsuiTitleBar;
    static const gui::ClassInfo info =
        gui::ClassBuilder<T>("TsuiTitleBar", &gui::TCustomPanel::StaticClassInfo())
            .Bool("Custom", &T::Custom, &T::SetCustom)
            .Component<gui::TComponent>("FileTheme", &T::FileTheme, &T::SetFileTheme)
            .Enum("UIStyle", kUIStyleInfo, &T::UIStyle, &T::SetUIStyle)
            .Bool("AutoSize", &T::AutoSize, &T::SetAutoSize)
            .Int("Height", &T::Height, &T::SetHeight)
            .Collection("Sections", [](T& t) -> gui::TPersistent* { return &t.Sections(); })
            .Collection("Buttons", [](T& t) -> gui::TPersistent* { return &t.Buttons(); })
            .Int("ButtonInterval", &T::ButtonInterval, &T::SetButtonInterval)
            .Text("Caption", &T::Caption, &T::SetCaption)
            .Object("Font", [](T& t) -> gui::TPersistent* { return &t.Font(); })
            .Bool("FormActive", &T::FormActive, &T::SetFormActive)
            .Int("LeftBtnXOffset", &T::LeftBtnXOffset, &T::SetLeftBtnXOffset)
            .Int("RightBtnXOffset", &T::RightBtnXOffset, &T::SetRightBtnXOffset)
            .Bool("DrawAppIcon", &T::DrawAppIcon, &T::SetDrawAppIcon)
            .Int("RoundCorner", &T::RoundCorner, &T::SetRoundCorner)
            .Event<TsuiTitleBarButtonClickEvent>("OnCustomBtnsClick", &T::SetOnCustomBtnsClick)
            .Event<TsuiTitleBarButtonClickEvent>("OnHelpBtnClick", &T::SetOnHelpBtnClick)
            .Build();
    return info;
}

TsuiTitleBar::TsuiTitleBar(gui::TComponent* owner) : gui::TCustomPanel(owner) {
    systemMenu_ = gui::Create<TsuiTitleBarPopupMenu>(this);
    systemMenu_->SetTitleBar(this);
    sections_ = std::make_unique<TsuiTitleBarSections>(this);
    buttons_ = std::make_unique<TsuiTitleBarButtons>(this);
    for (TsuiTitleBarBtnType type :
         {TsuiTitleBarBtnType::suiControlBox, TsuiTitleBarBtnType::suiClose,
          TsuiTitleBarBtnType::suiMax, TsuiTitleBarBtnType::suiMin})
        buttons_->Add()->SetButtonType(type);
    SetAlign(gui::TAlign::alTop);
    SetBevelOuter(gui::TBevelCut::bvNone);
    Font().SetColor(gui::clWhite);
    Font().SetName(L"Tahoma");
    Font().SetStyle(gui::fsBold);
    SetUIStyle(GetOwnerFrameStyle(owner));
}

TsuiTitleBar::~TsuiTitleBar() {
    // The items refer back to the bar: they go while it is still whole.
    buttons_.reset();
    sections_.reset();
}

gui::TCustomForm* TsuiTitleBar::Form() {
    return ParentForm();
}

bool TsuiTitleBar::ParentIsSkinnedForm() const {
    return dynamic_cast<const TsuiForm*>(Parent()) != nullptr;
}

// --- properties -------------------------------------------------------------------------------

void TsuiTitleBar::SetFileTheme(gui::TComponent* theme) {
    fileTheme_ = theme;
    if (theme)
        FreeNotification(theme);
    keepFontColor_ = true;
    try {
        SetUIStyle(uiStyle_);
    } catch (...) {
        keepFontColor_ = false;
        throw;
    }
    keepFontColor_ = false;
}

void TsuiTitleBar::SetUIStyle(TsuiUIStyle style) {
    uiStyle_ = style;
    if (custom_)
        return;
    ApplyStyle();
}

void TsuiTitleBar::ApplyStyle() {
    const FrameLook look(uiStyle_, fileTheme_);

    // Everything the look gives is read before anything of the bar changes: a picture that
    // fails to load leaves the bar as it was, never with its sections cleared.
    gui::TPicture leftPicture;
    look.Bitmap(StyleElement::TitleBarLeftImage, leftPicture.Bitmap());
    gui::TPicture rightPicture;
    look.Bitmap(StyleElement::TitleBarRightImage, rightPicture.Bitmap());
    gui::TPicture clientPicture;
    look.Bitmap(StyleElement::TitleBarClientImage, clientPicture.Bitmap());
    int captionBaseHeight = 0;
    {
        gui::TBitmap strip;
        look.Bitmap(StyleElement::TitleBarButtonImage, strip);
        captionBaseHeight = strip.Height();
    }

    sections_->BeginUpdate();
    try {
        sections_->Clear();
        TsuiTitleBarSection* left = sections_->Add();
        left->SetPicture(leftPicture);
        left->SetAutoSize(true);

        TsuiTitleBarSection* right = sections_->Add();
        right->SetPicture(rightPicture);
        right->SetAutoSize(true);
        right->SetAlign(TsuiTitleBarAlign::suiRight);

        TsuiTitleBarSection* client = sections_->Add();
        client->SetPicture(clientPicture);
        client->SetAlign(TsuiTitleBarAlign::suiClient);
    } catch (...) {
        sections_->EndUpdate();
        throw;
    }
    sections_->EndUpdate();

    leftBtnXOffset_ = look.Int(StyleElement::TitleBarButtonLeftOffsetInt);
    rightBtnXOffset_ = look.Int(StyleElement::TitleBarButtonRightOffsetInt);
    cornerPenColor_ = look.Color(StyleElement::FormBorderColor);
    captionBaseHeight_ = captionBaseHeight;
    captionTopOffset_ = look.Int(StyleElement::TitleBarButtonTopInt);
    if (gui::TCustomForm* form = Form())
        form->Constraints().SetMinWidth(ScaledForDpi(look.Int(StyleElement::FormMinWidthInt)));
    roundCorner_ = look.Int(StyleElement::FormRoundCornerInt);

    const TsuiUIStyle resolved = look.FromTheme() ? TsuiUIStyle::FromThemeFile : look.Style();
    for (int i = 0; i < buttons_->Count(); ++i)
        buttons_->Items(i)->SetUIStyle(resolved);
    if (systemMenu_) {
        systemMenu_->SetUIStyle(resolved);
        systemMenu_->SetFileTheme(fileTheme_);
    }

    UpdateRegion();
    if (!keepFontColor_)
        Font().SetColor(uiStyle_ == TsuiUIStyle::MacOS ? gui::clBlack : gui::clWhite);
    SetAutoSize(true);
    Invalidate();
}

void TsuiTitleBar::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (sections_->Count() == 0) {
        autoSize_ = false;
        return;
    }
    SetHeight(ScaledForDpi(sections_->Items(0)->Picture().Height()));
}

int TsuiTitleBar::ScaledForDpi(int value96) const {
    return gui::ScaleToDpi(value96, Dpi());
}

int TsuiTitleBar::DesignUnits(int pixels) const {
    return gui::ScaleBetweenDpis(pixels, Dpi(), gui::kDesignDpi);
}

void TsuiTitleBar::ChangeScale(int fromDpi, int toDpi) {
    gui::TCustomPanel::ChangeScale(fromDpi, toDpi);
    // The height from the picture again rather than from the rounded old height.
    if (autoSize_)
        SetAutoSize(true);
    UpdateRegion();
    Invalidate();
}

void TsuiTitleBar::SetSections(const TsuiTitleBarSections& sections) {
    sections_->Assign(sections);
}

void TsuiTitleBar::SetButtons(const TsuiTitleBarButtons& buttons) {
    buttons_->Assign(buttons);
}

void TsuiTitleBar::SetButtonInterval(int interval) {
    buttonInterval_ = interval;
    Invalidate();
}

void TsuiTitleBar::SetFormActive(bool active) {
    formActive_ = active;
    Invalidate();
}

void TsuiTitleBar::SetLeftBtnXOffset(int offset) {
    leftBtnXOffset_ = offset;
    Invalidate();
}

void TsuiTitleBar::SetRightBtnXOffset(int offset) {
    rightBtnXOffset_ = offset;
    Invalidate();
}

void TsuiTitleBar::SetDrawAppIcon(bool draw) {
    drawAppIcon_ = draw;
    Invalidate();
}

void TsuiTitleBar::SetRoundCorner(int radius) {
    roundCorner_ = radius;
    UpdateRegion();
    Invalidate();
}

void TsuiTitleBar::UpdateRegion() {
    if (!ParentIsSkinnedForm())
        return;
    gui::TCustomForm* form = Form();
    // A form without its window yet gets its region with its first size message.
    if (form && form->HandleAllocated())
        ApplyRoundCornerRegion(*form, ScaledForDpi(roundCorner_));
}

gui::TRect TsuiTitleBar::FormWorkArea() {
    gui::TCustomForm* form = Form();
    const HWND window = form && form->HandleAllocated() ? form->Handle() : nullptr;
    if (workAreaSource_)
        return workAreaSource_(window);
    return window ? GetMonitorWorkArea(window) : GetWorkArea();
}

void TsuiTitleBar::UpdateMaximiseButtons() {
    for (int i = 0; i < buttons_->Count(); ++i)
        buttons_->Items(i)->UpdateMaximiseGlyph();
}

void TsuiTitleBar::WatchMenu(gui::TPopupMenu* menu) {
    if (menu)
        FreeNotification(menu);
}

void TsuiTitleBar::Notification(gui::TComponent* component, gui::TOperation operation) {
    gui::TCustomPanel::Notification(component, operation);
    if (operation != gui::TOperation::opRemove)
        return;
    if (component == fileTheme_) {
        fileTheme_ = nullptr;
        SetUIStyle(TsuiUIStyle::DeepBlue);
    }
    if (buttons_)
        for (int i = 0; i < buttons_->Count(); ++i)
            if (buttons_->Items(i)->ControlBoxMenu() == component)
                buttons_->Items(i)->controlBoxMenu_ = nullptr;
    if (component == systemMenu_)
        systemMenu_ = nullptr;
}

// --- menus ------------------------------------------------------------------------------------

void TsuiTitleBar::PopupBelow(gui::TPopupMenu& menu) {
    POINT p{0, Height()};
    if (HandleAllocated())
        ::ClientToScreen(Handle(), &p);
    menu.Popup(p.x, p.y);
}

void TsuiTitleBar::PopupSystemMenu() {
    if (systemMenu_)
        PopupBelow(*systemMenu_);
}

// --- painting ---------------------------------------------------------------------------------

std::optional<SkinPoint> TsuiTitleBar::MouseInBar() {
    if (!HandleAllocated())
        return std::nullopt;
    POINT p{};
    if (cursorSource_) {
        const std::optional<gui::TPoint> source = cursorSource_();
        if (!source)
            return std::nullopt;
        p = POINT{source->X, source->Y};
    } else if (!::GetCursorPos(&p)) {
        return std::nullopt;
    }
    ::ScreenToClient(Handle(), &p);
    return SkinPoint{p.x, p.y};
}

ButtonsLayout TsuiTitleBar::CurrentButtonsLayout(std::optional<SkinPoint> mouse) const {
    std::vector<ButtonDesc> descs;
    descs.reserve(static_cast<std::size_t>(buttons_->Count()));
    for (int i = 0; i < buttons_->Count(); ++i) {
        const TsuiTitleBarButton& b = *buttons_->Items(i);
        descs.push_back(ButtonDesc{b.Visible(),
                                   b.ButtonType() == TsuiTitleBarBtnType::suiControlBox,
                                   ScaledForDpi(b.PicNormal().Width()),
                                   ScaledForDpi(b.PicNormal().Height()), ScaledForDpi(b.Top())});
    }
    return LayoutButtons(descs, ButtonBarDesc{Width(), ScaledForDpi(leftBtnXOffset_),
                                              ScaledForDpi(rightBtnXOffset_),
                                              ScaledForDpi(buttonInterval_), drawAppIcon_, mouse});
}

void TsuiTitleBar::Paint() {
    DrawTo(Canvas());
}

void TsuiTitleBar::DrawTo(gui::TCanvas& canvas) {
    canvas.Font().Assign(Font());
    canvas.Brush().SetStyle(gui::TBrushStyle::bsClear);
    DrawSections(canvas);
    DrawButtonsAndCaption(canvas);
    if (uiStyle_ != TsuiUIStyle::WinXP && roundCorner_ != 0 && ParentIsSkinnedForm()) {
        // Only the rounded top corners and the top edge of this outline fall on the bar.
        canvas.Pen().SetColor(cornerPenColor_);
        canvas.Pen().SetWidth(1);
        canvas.Brush().SetStyle(gui::TBrushStyle::bsClear);
        const int radius = ScaledForDpi(roundCorner_);
        canvas.RoundRect(-1, 0, Width() + 1, Height() + 50, radius + 1, radius);
    }
}

void TsuiTitleBar::DrawSections(gui::TCanvas& canvas) {
    std::vector<SectionDesc> descs;
    descs.reserve(static_cast<std::size_t>(sections_->Count()));
    for (int i = 0; i < sections_->Count(); ++i) {
        const TsuiTitleBarSection& s = *sections_->Items(i);
        descs.push_back(SectionDesc{s.Align(), ScaledForDpi(s.Width()), s.Stretch()});
    }
    for (const SectionPlacement& p : LayoutSections(descs, Width(), Height())) {
        const gui::TPicture& picture = sections_->Items(p.index)->Picture();
        if (picture.Empty() || p.rect.Width() <= 0 || p.rect.Height() <= 0)
            continue;
        if (p.scaled) {
            DrawPictureAtDpi(canvas, ToTRect(p.rect), picture, Dpi());
        } else {
            // At its own size for the DPI, from the section's top-left corner.
            ClipScope clip(canvas.Handle(), p.rect);
            DrawPictureAtDpi(canvas,
                             gui::BoundsRect(p.rect.left, p.rect.top, ScaledForDpi(picture.Width()),
                                             ScaledForDpi(picture.Height())),
                             picture, Dpi());
        }
    }
}

void TsuiTitleBar::DrawButton(gui::TCanvas& canvas, const TsuiTitleBarButton& button,
                              const SkinRect& rect, bool hot) {
    const gui::TPicture& normal = button.PicNormal();
    const gui::TPicture& shown =
        hot ? (pressed_ ? button.PicMouseDown() : button.PicMouseOn()) : normal;
    if (normal.Empty() || shown.Empty())
        return;
    // Through a bitmap of the normal picture's size, so every state takes the same room and
    // a transparent button leaves out the colour of its bottom-left pixel.
    gui::TBitmap cell;
    const int width = ScaledForDpi(normal.Width());
    const int height = ScaledForDpi(normal.Height());
    cell.SetSize(width, height);
    DrawPictureAtDpi(cell.Canvas(), gui::MakeRect(0, 0, width, height), shown, Dpi());
    cell.SetTransparent(button.Transparent());
    canvas.Draw(rect.left, rect.top, cell);
}

void TsuiTitleBar::DrawApplicationIcon(gui::TCanvas& canvas, SkinPoint at) {
    const gui::TRect rect =
        gui::BoundsRect(at.x, at.y, ScaledForDpi(kAppIconSize), ScaledForDpi(kAppIconSize));
    // The application's own icon, which a program may change at any time; the module's
    // MAINICON only when there is no application (or it has no icon).
    gui::TApplication* app = gui::CurrentApplication();
    if (app && !app->Icon().Empty()) {
        canvas.StretchDraw(rect, app->Icon());
        return;
    }
    gui::TIcon icon;
    icon.LoadFromResourceName(::GetModuleHandleW(nullptr), L"MAINICON", kAppIconSize, kAppIconSize);
    canvas.StretchDraw(rect, icon);
}

void TsuiTitleBar::DrawButtonsAndCaption(gui::TCanvas& canvas) {
    const ButtonsLayout layout = CurrentButtonsLayout(MouseInBar());
    hotIndex_ = layout.hotIndex;
    for (const ButtonPlacement& p : layout.buttons) {
        if (p.index == layout.controlBoxIndex && layout.appIconAt) {
            DrawApplicationIcon(canvas, *layout.appIconAt);
            continue;
        }
        DrawButton(canvas, *buttons_->Items(p.index), p.rect, p.hot);
    }

    drawnCaption_.clear();
    const std::wstring caption = Caption();
    if (caption.empty())
        return;
    if (!formActive_)
        canvas.Font().SetColor(gui::clInactiveCaption);
    const std::wstring shown =
        FitCaption(caption, layout.captionRight - layout.captionLeft,
                   [&canvas](std::wstring_view s) { return canvas.TextWidth(s); });
    if (shown.empty())
        return;
    const int y = CaptionTop(ScaledForDpi(captionBaseHeight_), canvas.TextHeight(shown),
                             ScaledForDpi(captionTopOffset_));
    canvas.Brush().SetStyle(gui::TBrushStyle::bsClear);
    canvas.TextOut(layout.captionLeft, y, shown);
    drawnCaption_ = shown;
}

// --- mouse ------------------------------------------------------------------------------------

void TsuiTitleBar::MouseMove(gui::TShiftState shift, int x, int y) {
    gui::TCustomPanel::MouseMove(shift, x, y);
    Repaint();
}

void TsuiTitleBar::MouseLeave() {
    gui::TCustomPanel::MouseLeave();
    Repaint();
}

void TsuiTitleBar::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    gui::TCustomPanel::MouseDown(button, shift, x, y);
    if (button != gui::TMouseButton::mbLeft)
        return;
    pressed_ = true;
    Repaint();
    gui::TCustomForm* form = Form();
    if (hotIndex_ >= 0 || !form || IsFormMaximised(*form) || IsDesigning())
        return;
    // Dragging the bar is dragging the form's caption: the system's move loop runs inside
    // this call and returns when the button is released.
    ::ReleaseCapture();
    if (const HWND window = form->Handle())
        ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    pressed_ = false;
}

void TsuiTitleBar::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    gui::TCustomPanel::MouseUp(button, shift, x, y);
    if (button != gui::TMouseButton::mbLeft)
        return;
    ReleaseButton();
    pressed_ = false;
    Repaint();
}

void TsuiTitleBar::ReleaseButton() {
    const int index = hotIndex_;
    if (index < 0 || index >= buttons_->Count())
        return;
    TsuiTitleBarButton& button = *buttons_->Items(index);
    if (button.ButtonType() == TsuiTitleBarBtnType::suiControlBox && !button.ControlBoxMenu()) {
        PopupSystemMenu();
        return;
    }
    const TsuiTitleBarBtnType type = button.ButtonType();
    button.Click();
    if (onCustomBtnsClick_ && type == TsuiTitleBarBtnType::suiCustom)
        onCustomBtnsClick_(this, index);
    else if (onHelpBtnClick_ && type == TsuiTitleBarBtnType::suiHelp)
        onHelpBtnClick_(this, index);
}

void TsuiTitleBar::DblClick() {
    gui::TCustomPanel::DblClick();
    if (hotIndex_ < 0) {
        for (int i = 0; i < buttons_->Count(); ++i)
            if (buttons_->Items(i)->ButtonType() == TsuiTitleBarBtnType::suiMax) {
                buttons_->Items(i)->Click();
                return;
            }
        return;
    }
    if (hotIndex_ < buttons_->Count() &&
        buttons_->Items(hotIndex_)->ButtonType() == TsuiTitleBarBtnType::suiControlBox)
        if (gui::TCustomForm* form = Form())
            form->Close();
}

// --- messages ---------------------------------------------------------------------------------

void TsuiTitleBar::OnNcHitTest(gui::TMessage& m) {
    gui::TCustomPanel::WndProc(m);
    gui::TCustomForm* form = Form();
    if (!form || IsFormMaximised(*form))
        return;
    if (form->FormStyle() == gui::TFormStyle::fsMDIForm && m.Result == HTCLIENT)
        m.Result = HTTRANSPARENT;
    const auto* frame = dynamic_cast<const TsuiForm*>(Parent());
    if (!frame || frame->SavedBorderStyle() != gui::TFormBorderStyle::bsSizeable ||
        !HandleAllocated())
        return;
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    ::ScreenToClient(Handle(), &p);
    // The grip is designed at 96 dpi: the point and the width are taken back to it.
    if (const std::optional<int> code = TitleBarEdgeHitTest({DesignUnits(p.x), DesignUnits(p.y)},
                                                            DesignUnits(form->ClientWidth())))
        m.Result = *code;
}

void TsuiTitleBar::WndProc(gui::TMessage& m) {
    switch (m.Msg) {
    case WM_NCHITTEST:
        OnNcHitTest(m);
        return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
        // The top resize edge belongs to the form: its sizing loop runs on the form's window.
        if (gui::TCustomForm* form = Form(); form && form->HandleAllocated()) {
            m.Result = ::SendMessageW(form->Handle(), m.Msg, m.WParam, m.LParam);
            return;
        }
        break;
    default:
        break;
    }
    gui::TCustomPanel::WndProc(m);
}

} // namespace nestora::skin
