#include "skin/menus/sui_main_menu.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/core/text.h"
#include "gui/win/canvas.h"
#include "gui/win/form.h"
#include "gui/win/image_list.h"
#include "skin/menus/sui_menu_properties.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/sui_form.h"
#include "skin/sui_style_win.h"

namespace nestora::skin {

const gui::ClassInfo& TsuiMainMenu::StaticClassInfo() {
    using M = TsuiMainMenu;
    static const gui::ClassInfo info = [] {
        gui::ClassBuilder<M> builder("TsuiMainMenu", &gui::TMainMenu::StaticClassInfo());
        builder.Creatable().Component<gui::TImageList>("Images", &M::Images, &M::SetImages);
        PublishSkinnedMenuProperties(builder);
        return builder.Build();
    }();
    return info;
}

TsuiMainMenu::TsuiMainMenu(gui::TComponent* owner)
    : gui::TMainMenu(owner), checkMarks_(MakeCheckMarkImages()),
      self_(std::make_shared<TsuiMainMenu*>(this)) {
    // LOAD BEARING: with an image list installed the menu is owner-drawn, so its items reach
    // the handlers; the inherited OwnerDraw flag stays off.
    gui::TMainMenu::SetImages(checkMarks_.get());
    ApplySkinnedMenuStyle(look_, GetOwnerFrameStyle(owner));
}

TsuiMainMenu::~TsuiMainMenu() {
    *self_ = nullptr;
    // The bar goes while the menu is whole: its buttons still point into the items.
    if (form_)
        form_->SetMenu(nullptr);
    if (gui::TMainMenu::Images() == checkMarks_.get())
        gui::TMainMenu::SetImages(nullptr);
    checkMarks_.reset();
}

void TsuiMainMenu::AfterConstruction() {
    gui::TMainMenu::AfterConstruction();
    auto* form = dynamic_cast<gui::TForm*>(Owner());
    if (!form)
        return;
    form->SetMenu(nullptr);
    for (int i = 0; i < form->ControlCount(); ++i)
        if (auto* frame = dynamic_cast<TsuiForm*>(form->Controls(i))) {
            frame->SetMenu(this);
            return;
        }
}

void TsuiMainMenu::Loaded() {
    gui::TMainMenu::Loaded();
    AttachItemHandlers();
    if (form_)
        form_->RebuildMenuBar();
}

gui::TImageList* TsuiMainMenu::Images() const {
    gui::TImageList* installed = gui::TMainMenu::Images();
    return installed == checkMarks_.get() ? nullptr : installed;
}

void TsuiMainMenu::SetImages(gui::TImageList* images) {
    gui::TMainMenu::SetImages(images ? images : checkMarks_.get());
}

void TsuiMainMenu::SetFileTheme(gui::TComponent* theme) {
    if (theme != look_.fileTheme) {
        if (look_.fileTheme)
            RemoveFreeNotification(look_.fileTheme);
        look_.fileTheme = theme;
        if (theme)
            FreeNotification(theme);
    }
    SetUIStyle(look_.uiStyle);
}

void TsuiMainMenu::SetMenuItemHeight(int height) {
    if (!look_.IsMacOS())
        look_.menuItemHeight = height;
}

void TsuiMainMenu::SetSeparatorHeight(int height) {
    if (!look_.IsMacOS())
        look_.separatorHeight = height;
}

void TsuiMainMenu::SetFontCharset(int charset) {
    if (charset < 0 || charset > 255)
        throw gui::EConvertError(
            gui::FormatText(L"%s is not a character set", {gui::IntToStr(charset)}));
    look_.fontCharset = charset;
}

void TsuiMainMenu::SetUseSystemFont(bool use) {
    look_.useSystemFont = use;
    if (form_)
        form_->RefreshMenuBarFont();
}

void TsuiMainMenu::SetSkinnedForm(TsuiForm* form) {
    if (form == form_)
        return;
    if (form_)
        RemoveFreeNotification(form_);
    form_ = form;
    if (form_)
        FreeNotification(form_);
}

void TsuiMainMenu::Notification(gui::TComponent* component, gui::TOperation operation) {
    gui::TMainMenu::Notification(component, operation);
    if (operation != gui::TOperation::opRemove || component == nullptr)
        return;
    // Only pointers are compared: the component is half destroyed.
    if (component == form_)
        form_ = nullptr;
    if (component == look_.fileTheme) {
        look_.fileTheme = nullptr;
        SetUIStyle(TsuiUIStyle::DeepBlue);
    }
    // A user image list that goes must not leave the menu without any list: it would stop
    // being owner-drawn and fall back to the system's look.
    if (!IsDestroying() && checkMarks_ && component != checkMarks_.get() &&
        gui::TMainMenu::Images() == nullptr)
        gui::TMainMenu::SetImages(checkMarks_.get());
}

void TsuiMainMenu::MenuChanged(gui::TMenuItem* source, bool rebuild) {
    gui::TMainMenu::MenuChanged(source, rebuild);
    if (!dynamic_cast<gui::TForm*>(Owner()) || IsDestroying())
        return;
    if (form_)
        form_->RefreshMenuBarCaptions();
    if (form_ && !IsLoading() && IsDesigning())
        form_->RebuildMenuBar();
}

void TsuiMainMenu::AttachItemHandlers() {
    const std::weak_ptr<TsuiMainMenu*> self = self_;
    const gui::TMenuMeasureItemEvent measure = [self](gui::TObject* sender, gui::TCanvas& canvas,
                                                      int& width, int& height) {
        if (const auto menu = self.lock(); menu && *menu)
            (*menu)->MeasureMenuItem(sender, canvas, width, height);
    };
    const gui::TMenuDrawItemEvent draw = [self](gui::TObject* sender, gui::TCanvas& canvas,
                                                const gui::TRect& rect, bool selected) {
        if (const auto menu = self.lock(); menu && *menu)
            (*menu)->DrawMenuItem(sender, canvas, rect, selected);
    };
    gui::TMenuItem& root = Items();
    for (int i = 0; i < root.Count(); ++i)
        SetItemHandlers(*root.Items(i), measure, draw);
}

void TsuiMainMenu::MeasureMenuItem(gui::TObject* sender, gui::TCanvas& canvas, int& width,
                                   int& height) {
    if (const auto* item = dynamic_cast<gui::TMenuItem*>(sender))
        MeasureSkinnedMenuItem(look_, *item, canvas, width, height);
}

void TsuiMainMenu::DrawMenuItem(gui::TObject* sender, gui::TCanvas& canvas, const gui::TRect& rect,
                                bool selected) {
    if (auto* item = dynamic_cast<gui::TMenuItem*>(sender))
        DrawSkinnedMenuItem(look_, *item, canvas, rect, selected, Images(), checkMarks_.get());
}

} // namespace nestora::skin
