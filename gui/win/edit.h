#pragma once
// TEdit: a one-line edit box, the system's EDIT control superclassed (window class
// "TEdit"), so its messages pass through the framework like any control's.
//
// Text is Unicode throughout. MaxLength limits what the user can type (0: the system's
// limit); text set by the program is taken whole. OnChange follows every change of the
// text, typed or set, except while a description is being read. Key events (OnKeyDown,
// OnKeyUp with the key and the shift state, OnKeyPress) come from TWinControl.
// Colour and font: the control's own (clWindow by default), applied through
// WM_CTLCOLOREDIT, which the parent passes back to the edit box.
//
// The window waits until its form is first shown (or Handle() is asked for); text, length
// limit and read-only state are held meanwhile. With the version 6 manifest the EDIT class
// comes from the common controls library, which the first edit window would load: a form
// that stays hidden (a program in the tray) does without it.

#include "gui/win/win_control.h"

#include "gui/core/control_types.h"
#include "gui/win/handles.h"

namespace nestora::gui {

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);

    int SelStart() const;
    int SelLength() const;
    void SetSelection(int start, int length);
    void SelectAll() { SetSelection(0, -1); }
    void Clear() { SetText(L""); }

    void SetOnChange(TNotifyEvent e) { onChange_ = std::move(e); }

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void SaveWindowState() override;
    bool WaitsForShowing() const override { return true; }
    void WndProc(TMessage& message) override;
    void TextChanged() override;
    void ColorChanged() override;
    virtual void Change();

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    int savedSelStart_ = 0, savedSelEnd_ = 0;
    UniqueBrush brush_; // the background brush handed out in WM_CTLCOLOREDIT
    TNotifyEvent onChange_;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
};

} // namespace nestora::gui
