#include "gui/win/main_menu.h"

#include "gui/core/class_builder.h"
#include "gui/core/shortcut_text.h"

namespace nestora::gui {

const ClassInfo& TMainMenu::StaticClassInfo() {
    static const ClassInfo info = ClassBuilder<TMainMenu>("TMainMenu", &TMenu::StaticClassInfo())
                                      .Creatable()
                                      .Event<TMenuChangeEvent>("OnChange", &TMainMenu::SetOnChange)
                                      .Build();
    return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
    DetachWindow();
}

HMENU TMainMenu::CreateRootHandle() const {
    return ::CreateMenu();
}

void TMainMenu::AttachWindow(HWND window) {
    if (window == window_)
        return;
    DetachWindow();
    if (!window)
        return;
    ::SetMenu(window, Handle());
    window_ = window;
    ::DrawMenuBar(window_);
}

void TMainMenu::DetachWindow() {
    if (!window_)
        return;
    // Only take off what is ours: the window may have been given another menu since.
    if (ExistingHandle() && ::IsWindow(window_) && ::GetMenu(window_) == ExistingHandle())
        ::SetMenu(window_, nullptr);
    window_ = nullptr;
    tracking_ = false;
}

void TMainMenu::Loaded() {
    TMenu::Loaded();
    Refresh();
}

void TMainMenu::Refresh() {
    if (!window_ || IsLoading() || IsDestroying() || tracking_)
        return;
    if (NeedsRebuild())
        Rebuild();
    ::DrawMenuBar(window_);
}

void TMainMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    Refresh();
    TMenu::MenuChanged(source, rebuild);
}

bool TMainMenu::HandleWindowMessage(TMessage& message) {
    if (message.Window == window_ && window_) {
        switch (message.Msg) {
        case WM_ENTERMENULOOP:
            tracking_ = true;
            return false;
        case WM_EXITMENULOOP:
            tracking_ = false;
            Refresh();
            return false;
        case WM_DESTROY:
            // Before Windows destroys the window's menu along with the window.
            DetachWindow();
            return false;
        default:
            break;
        }
    }
    return TMenu::HandleWindowMessage(message);
}

bool TMainMenu::IsShortCut(const TMessage& message) {
    if (message.Msg != WM_KEYDOWN && message.Msg != WM_SYSKEYDOWN)
        return false;
    TShiftState shift = 0;
    if (::GetKeyState(VK_SHIFT) < 0)
        shift |= ssShift;
    if (::GetKeyState(VK_CONTROL) < 0)
        shift |= ssCtrl;
    if (::GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return IsShortCut(static_cast<std::uint16_t>(message.WParam & 0xFF), shift);
}

bool TMainMenu::IsShortCut(std::uint16_t key, TShiftState shift) {
    std::uint16_t shortCut = key & 0xFF;
    if (shift & ssShift)
        shortCut |= scShift;
    if (shift & ssCtrl)
        shortCut |= scCtrl;
    if (shift & ssAlt)
        shortCut |= scAlt;
    TMenuItem* item = FindShortCut(shortCut);
    if (!item)
        return false;
    // The click may free the menu: nothing of it is touched afterwards.
    item->Click();
    return true;
}

} // namespace nestora::gui
