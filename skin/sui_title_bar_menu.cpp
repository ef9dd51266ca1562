#include "skin/sui_title_bar_menu.h"

#include "gui/core/class_builder.h"
#include "gui/win/form.h"
#include "gui/win/menu.h"
#include "skin/sui_title_bar.h"

namespace nestora::skin {

namespace {

constexpr int kMinimizeIndex = 0;
constexpr int kMaximizeIndex = 1;
constexpr int kCloseIndex = 3;

// A caption from the program's string table; the English text should the table lack it.
std::wstring LoadCaption(unsigned id, const wchar_t* fallback) {
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || !text)
        return fallback;
    return std::wstring(text, static_cast<std::size_t>(length));
}

} // namespace

const gui::ClassInfo& TsuiTitleBarPopupMenu::StaticClassInfo() {
    static const gui::ClassInfo info =
        gui::ClassBuilder<TsuiTitleBarPopupMenu>("TsuiTitleBarPopupMenu",
                                                 &TsuiPopupMenu::StaticClassInfo())
            .Build();
    return info;
}

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(gui::TComponent* owner) : TsuiPopupMenu(owner) {
    SetAutoHotkeys(gui::TMenuAutoFlag::maManual);
    gui::TMenuItem& items = Items();
    items.AddItem(LoadCaption(kMinimizeCaptionId, L"Mi&nimize"),
                  [this](gui::TObject*) { Minimize(); });
    items.AddItem(LoadCaption(kMaximizeRestoreCaptionId, L"Ma&ximize/Restore"),
                  [this](gui::TObject*) { MaximizeOrRestore(); });
    items.AddItem(L"-");
    items.AddItem(LoadCaption(kCloseCaptionId, L"&Close"), [this](gui::TObject*) { CloseForm(); });
    AttachItemHandlers();
}

gui::TMenuItem& TsuiTitleBarPopupMenu::MinimizeItem() const {
    return *Items().Items(kMinimizeIndex);
}

gui::TMenuItem& TsuiTitleBarPopupMenu::MaximizeItem() const {
    return *Items().Items(kMaximizeIndex);
}

gui::TMenuItem& TsuiTitleBarPopupMenu::CloseItem() const {
    return *Items().Items(kCloseIndex);
}

void TsuiTitleBarPopupMenu::UpdateItemStates() {
    bool hasMin = false, hasMax = false, hasClose = false;
    if (titleBar_) {
        const TsuiTitleBarButtons& buttons = titleBar_->Buttons();
        for (int i = 0; i < buttons.Count(); ++i) {
            switch (buttons.Items(i)->ButtonType()) {
            case TsuiTitleBarBtnType::suiMin:
                hasMin = true;
                break;
            case TsuiTitleBarBtnType::suiMax:
                hasMax = true;
                break;
            case TsuiTitleBarBtnType::suiClose:
                hasClose = true;
                break;
            default:
                break;
            }
        }
    }
    MinimizeItem().SetEnabled(hasMin);
    MaximizeItem().SetEnabled(hasMax);
    CloseItem().SetEnabled(hasClose);
}

void TsuiTitleBarPopupMenu::Popup(int x, int y) {
    UpdateItemStates();
    TsuiPopupMenu::Popup(x, y);
}

void TsuiTitleBarPopupMenu::Minimize() {
    if (gui::TCustomForm* form = titleBar_ ? titleBar_->Form() : nullptr)
        MinimiseForm(*form);
}

void TsuiTitleBarPopupMenu::MaximizeOrRestore() {
    if (!titleBar_)
        return;
    TsuiTitleBarButtons& buttons = titleBar_->Buttons();
    for (int i = 0; i < buttons.Count(); ++i)
        if (buttons.Items(i)->ButtonType() == TsuiTitleBarBtnType::suiMax)
            buttons.Items(i)->Click();
}

void TsuiTitleBarPopupMenu::CloseForm() {
    if (gui::TCustomForm* form = titleBar_ ? titleBar_->Form() : nullptr)
        form->Close();
}

} // namespace nestora::skin
