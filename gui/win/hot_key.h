#pragma once
// THotKey: the field where the user types a key combination; the system's hot-key control
// (msctls_hotkey32) superclassed as the window class "THotKey".
//
// HotKey is the program's 16-bit shortcut word ($2000 Shift, $4000 Ctrl, $8000 Alt over the
// virtual-key code; 0 for none); the control's own value (HOTKEYF_ flags over the key) is
// converted both ways (gui/core/hot_key_value.h). InvalidKeys names the combinations the
// control refuses and Modifiers what it puts in their place (HKM_SETRULES). The value lives
// in the window while there is one and is kept when the window goes.
//
// The window waits until its form is first shown (or Handle() is asked for): a form that
// stays hidden holds the value, rules and modifiers without it, and without loading the
// common controls library.

#include "gui/win/win_control.h"

#include "gui/core/hot_key_value.h"

#include <cstdint>

namespace nestora::gui {

class THotKey : public TWinControl {
public:
    explicit THotKey(TComponent* owner);

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    std::uint16_t HotKey() const;
    void SetHotKey(std::uint16_t shortCut);
    THKInvalidKeys InvalidKeys() const { return invalidKeys_; }
    void SetInvalidKeys(THKInvalidKeys keys);
    THKModifiers Modifiers() const { return modifiers_; }
    void SetModifiers(THKModifiers modifiers);

    void SetOnChange(TNotifyEvent e) { onChange_ = std::move(e); }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void InitializeWindow() override;
    void SaveWindowState() override;
    bool WaitsForShowing() const override { return true; }
    void WndProc(TMessage& message) override;

private:
    void ApplyRules();

    std::uint16_t hotKey_ = 0x8041; // Alt+A, as the system's own control suggests
    THKInvalidKeys invalidKeys_ = (1u << hcNone) | (1u << hcShift);
    THKModifiers modifiers_ = 1u << hkAlt;
    TNotifyEvent onChange_;
};

} // namespace nestora::gui
