#include "gui/win/hot_key.h"

#include "gui/core/class_builder.h"
#include "gui/win/common_controls.h"
#include "gui/win/control_messages.h"

namespace nestora::gui {

const ClassInfo& THotKey::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<THotKey>("THotKey", &TWinControl::StaticClassInfo())
            .Creatable()
            .Int("HotKey", &THotKey::HotKey,
                 [](THotKey& h, int word) {
                     if (word < 0 || word > 0xFFFF)
                         throw EDescriptionError(L"HotKey needs a shortcut word (0 to 65535)");
                     h.SetHotKey(static_cast<std::uint16_t>(word));
                 })
            .Set("InvalidKeys", kHKInvalidKeyInfo, &THotKey::InvalidKeys, &THotKey::SetInvalidKeys)
            .Set("Modifiers", kHKModifierInfo, &THotKey::Modifiers, &THotKey::SetModifiers)
            .Event<TNotifyEvent>("OnChange", &THotKey::SetOnChange)
            .Build();
    return info;
}

THotKey::THotKey(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 19);
    SetTabStop(true);
    SetColor(clWindow);
}

void THotKey::CreateWnd() {
    // Here, not in CreateParams: that also serves to size a control that has no window,
    // which must not load the library.
    EnsureCommonControls();
    TWinControl::CreateWnd();
}

void THotKey::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.baseClass = HOTKEY_CLASSW;
    params.style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
}

void THotKey::ApplyRules() {
    if (!HandleAllocated())
        return;
    ::SendMessageW(Handle(), HKM_SETRULES, HotKeyRulesFromInvalidKeys(invalidKeys_),
                   MAKELPARAM(HotKeyFlagsFromModifiers(modifiers_), 0));
}

void THotKey::InitializeWindow() {
    TWinControl::InitializeWindow();
    ApplyRules();
    ::SendMessageW(Handle(), HKM_SETHOTKEY, HotKeyValueFromShortCut(hotKey_), 0);
}

void THotKey::SaveWindowState() { hotKey_ = HotKey(); }

std::uint16_t THotKey::HotKey() const {
    if (!HandleAllocated())
        return hotKey_;
    const LRESULT value =
        ::SendMessageW(const_cast<THotKey*>(this)->Handle(), HKM_GETHOTKEY, 0, 0);
    return ShortCutFromHotKeyValue(static_cast<std::uint16_t>(value & 0xFFFF));
}

void THotKey::SetHotKey(std::uint16_t shortCut) {
    // What the control can hold: a key above $FF is no key.
    hotKey_ = ShortCutFromHotKeyValue(HotKeyValueFromShortCut(shortCut));
    if (HandleAllocated())
        ::SendMessageW(Handle(), HKM_SETHOTKEY, HotKeyValueFromShortCut(hotKey_), 0);
}

void THotKey::SetInvalidKeys(THKInvalidKeys keys) {
    invalidKeys_ = keys & 0xFFu;
    ApplyRules();
}

void THotKey::SetModifiers(THKModifiers modifiers) {
    modifiers_ = modifiers & 0xFu;
    ApplyRules();
}

void THotKey::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        // The control tells its parent EN_CHANGE when the user changes the combination.
        if (HIWORD(m.WParam) == EN_CHANGE && onChange_ && !IsLoading())
            onChange_(this);
        return;
    }
    TWinControl::WndProc(m);
}

} // namespace nestora::gui
