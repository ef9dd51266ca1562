#pragma once
// TCustomForm / TForm: a top-level window made from a window description.
//
// Life story:
//   created   a program's form class constructs TForm (through Application's CreateForm
//             or gui::Create), publishes its handlers and fields (methods_, fields_) and
//             reads its description (ReadDescriptionResource): every component it holds is
//             created, set up and loaded (see description_loader.h). When the constructor
//             is done, AfterConstruction raises OnCreate. An error in OnCreate goes to the
//             application's error handler and creation goes on.
//   shown     Visible / Show / Hide make and show or hide the window; OnShow follows the
//             window becoming visible, OnHide its becoming invisible. Forms are owned by
//             the application window, so they have no taskbar button of their own.
//   closed    Close asks OnCloseQuery, then OnClose picks what happens (hide by default).
//             Closing the main form ends the program: Application's Run returns; the form
//             itself stays until the application frees it.
//   destroyed OnDestroy runs first, while every component is alive; then the window and
//             its children's windows go; then the components it owns are freed.
//
// The window: its class is named after the form's class ("TForm1"). WM_CLOSE closes the
// form; the minimise command of the main form minimises the application window instead;
// WM_GETMINMAXINFO enforces Constraints. A main menu attached through Menu sees every
// message first.

#include "gui/win/control_canvas.h"
#include "gui/win/main_menu.h"
#include "gui/win/win_control.h"

#include "gui/core/class_info.h"
#include "gui/core/control_types.h"
#include "gui/core/method_table.h"

#include <string_view>

namespace nestora::gui {

// Size limits of a form's window, in pixels (0: no limit).
class TSizeConstraints : public TPersistent {
public:
    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    void SetMinWidth(int v) { Set(minWidth_, v); }
    void SetMinHeight(int v) { Set(minHeight_, v); }
    void SetMaxWidth(int v) { Set(maxWidth_, v); }
    void SetMaxHeight(int v) { Set(maxHeight_, v); }

    // A width (height) within the limits.
    int ConstrainWidth(int width) const;
    int ConstrainHeight(int height) const;

    void SetOnChange(TNotifyEvent e) { onChange_ = std::move(e); }
    void Assign(const TPersistent& source) override;

private:
    void Set(int& field, int value);
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
    TNotifyEvent onChange_;
};

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // Reads a window description into this form (the root of the description).
    void ReadDescription(std::string_view utf8, const ClassRegistry& classes);
    // The same from an RCDATA resource of the program; EResNotFound when it is missing.
    void ReadDescriptionResource(const std::wstring& name, const ClassRegistry& classes);

    void Close();
    bool CloseQuery();
    // Frees the form once the messages in hand are done (safe inside its own handlers).
    void Release();

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    TSizeConstraints& Constraints() { return constraints_; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    // Kept for descriptions. A form is always drawn at its window's DPI (designed at 96):
    // it scales itself when its description has been read and on WM_DPICHANGED, whatever
    // Scaled says (it once asked Windows to stretch a form that could not scale itself).
    bool Scaled() const { return scaled_; }
    void SetScaled(bool v) { scaled_ = v; }
    // Kept for descriptions; forms show no scroll bars.
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool v) { autoScroll_ = v; }
    bool Active() const { return active_; }

    // The attached main menu (not owned; cleared when it is destroyed). It sees every
    // message of the form's window first and answers key shortcuts on the form.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    // Draws on the form: the paint DC while painting, the window's DC otherwise.
    TControlCanvas& Canvas();

    // The control that has (or last had) the focus on this form.
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // A control of this form got the focus (it becomes ActiveControl without more ado).
    void FocusMoved(TWinControl* control);

    void SetOnCreate(TNotifyEvent e) { onCreate_ = std::move(e); }
    void SetOnDestroy(TNotifyEvent e) { onDestroy_ = std::move(e); }
    void SetOnShow(TNotifyEvent e) { onShow_ = std::move(e); }
    void SetOnHide(TNotifyEvent e) { onHide_ = std::move(e); }
    void SetOnClose(TCloseEvent e) { onClose_ = std::move(e); }
    void SetOnCloseQuery(TCloseQueryEvent e) { onCloseQuery_ = std::move(e); }
    void SetOnPaint(TNotifyEvent e) { onPaint_ = std::move(e); }
    void SetOnActivate(TNotifyEvent e) { onActivate_ = std::move(e); }
    void SetOnDeactivate(TNotifyEvent e) { onDeactivate_ = std::move(e); }
    void SetOnResize(TNotifyEvent e) { onResize_ = std::move(e); }

    void AfterConstruction() override;
    void BeforeDestruction() override;
    // Raises the destroy event now unless it ran already (it runs once per form): for the
    // end of the Windows session, when a form cannot be freed under a handler of its own.
    void RaiseDestroyEvent();
    void SetBounds(int left, int top, int width, int height) override;

    // Handlers and fields published to descriptions (filled by a program's form class).
    const std::any* FindMethod(std::string_view name) const override;
    bool BindField(std::wstring_view name, TComponent* component) override;

protected:
    void CreateParams(TCreateParams& params) override;
    HWND OwnerWindow() override;
    void InitializeWindow() override;
    void WndProc(TMessage& message) override;
    void VisibleChanged() override;
    void ColorChanged() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    // The form keeps its place on the screen and scales its client area; its constraints
    // are scaled with it.
    void ScaleBounds(int fromDpi, int toDpi) override;
    void ChangeScale(int fromDpi, int toDpi) override;

    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void Paint();

    MethodTable methods_;
    FieldTable fields_;

private:
    void FrameChanged(); // border style, icons or form style changed on a live window
    void ApplyConstraints();
    bool IsMainForm() const;
    void PaintBackground(HDC dc);
    // The DPI the form is to be drawn at: its window's, or the system's before it has one.
    int TargetDpi();
    void OnDpiChanged(TMessage& message);

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TBorderIcons borderIcons_ =
        BorderIconBit(biSystemMenu) | BorderIconBit(biMinimize) | BorderIconBit(biMaximize);
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TWindowState windowState_ = TWindowState::wsNormal;
    TSizeConstraints constraints_;
    bool keyPreview_ = false;
    bool scaled_ = true;
    bool autoScroll_ = true;
    bool active_ = false;
    bool shown_ = false; // OnShow was raised and OnHide not yet
    bool destroyRaised_ = false;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;

    TNotifyEvent onCreate_, onDestroy_, onShow_, onHide_, onPaint_, onActivate_, onDeactivate_,
        onResize_;
    TCloseEvent onClose_;
    TCloseQueryEvent onCloseQuery_;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
};

// The RCDATA resource of the program as text; EResNotFound when it is missing.
std::string_view DescriptionResourceText(const std::wstring& name);

} // namespace nestora::gui
