#include "gui/win/edit.h"

#include "gui/core/class_builder.h"
#include "gui/win/control_messages.h"
#include "gui/win/graphics_color.h"

namespace nestora::gui {

const ClassInfo& TCustomEdit::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TCustomEdit>("TCustomEdit", &TWinControl::StaticClassInfo()).Build();
    return info;
}

const ClassInfo& TEdit::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TEdit>("TEdit", &TCustomEdit::StaticClassInfo())
            .Creatable()
            .Enum("BorderStyle", kBorderStyleInfo, &TEdit::BorderStyle, &TEdit::SetBorderStyle)
            .Int("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength)
            .Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly)
            .Text("Text", &TEdit::Text, &TEdit::SetText)
            .Event<TNotifyEvent>("OnChange", &TEdit::SetOnChange)
            .Build();
    return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.baseClass = L"Edit";
    params.style |= ES_AUTOHSCROLL | ES_LEFT;
    params.style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
    if (readOnly_)
        params.style |= ES_READONLY;
    if (borderStyle_ == TBorderStyle::bsSingle)
        params.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::InitializeWindow() {
    TWinControl::InitializeWindow();
    const HWND window = Handle();
    ::SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    ::SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(savedSelStart_),
                   static_cast<LPARAM>(savedSelEnd_));
}

void TCustomEdit::SaveWindowState() {
    // The text and the selection live in the window; keep them for the next one.
    text_ = Text();
    DWORD start = 0, end = 0;
    ::SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    savedSelStart_ = static_cast<int>(start);
    savedSelEnd_ = static_cast<int>(end);
}

void TCustomEdit::SetMaxLength(int length) {
    length = std::max(length, 0);
    if (length == maxLength_)
        return;
    maxLength_ = length;
    if (HandleAllocated())
        ::SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

void TCustomEdit::SetReadOnly(bool readOnly) {
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    if (HandleAllocated())
        ::SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    if (HandleAllocated()) {
        const HWND window = Handle();
        const LONG ex = ::GetWindowLongW(window, GWL_EXSTYLE);
        ::SetWindowLongW(window, GWL_EXSTYLE,
                         style == TBorderStyle::bsSingle ? ex | WS_EX_CLIENTEDGE
                                                         : ex & ~WS_EX_CLIENTEDGE);
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

int TCustomEdit::SelStart() const {
    if (!HandleAllocated())
        return savedSelStart_;
    DWORD start = 0;
    ::SendMessageW(const_cast<TCustomEdit*>(this)->Handle(), EM_GETSEL,
                   reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

int TCustomEdit::SelLength() const {
    if (!HandleAllocated())
        return savedSelEnd_ - savedSelStart_;
    DWORD start = 0, end = 0;
    ::SendMessageW(const_cast<TCustomEdit*>(this)->Handle(), EM_GETSEL,
                   reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelection(int start, int length) {
    const int end = length < 0 ? -1 : start + length;
    savedSelStart_ = start;
    savedSelEnd_ = end < 0 ? static_cast<int>(Text().size()) : end;
    if (HandleAllocated())
        ::SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void TCustomEdit::TextChanged() {
    // With a window, EN_CHANGE reports the change (and every typed one).
    if (!HandleAllocated())
        Change();
}

void TCustomEdit::Change() {
    if (IsLoading())
        return;
    if (onChange_)
        onChange_(this);
}

void TCustomEdit::ColorChanged() {
    brush_.reset();
    TWinControl::ColorChanged();
}

void TCustomEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE)
            Change();
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
        const auto dc = reinterpret_cast<HDC>(m.WParam);
        if (!brush_)
            brush_.reset(::CreateSolidBrush(ColorToRGB(Color())));
        ::SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color() : clGrayText));
        ::SetBkColor(dc, ColorToRGB(Color()));
        m.Result = reinterpret_cast<LRESULT>(brush_.get());
        return;
    }
    default:
        TWinControl::WndProc(m);
    }
}

} // namespace nestora::gui
