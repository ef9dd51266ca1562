#include "gui/win/menu.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/core/menu_hotkeys.h"
#include "gui/core/menu_item_layout.h"
#include "gui/core/text.h"
#include "gui/win/canvas.h"
#include "gui/win/key_names.h"

#include <algorithm>

namespace nestora::gui {

const EnumInfo kMenuAutoFlagInfo{"TMenuAutoFlag", {"maAutomatic", "maManual"}};

namespace {

bool IsWithin(const TMenuItem* item, const TMenuItem* ancestor) {
    for (const TMenuItem* p = item; p; p = p->Parent())
        if (p == ancestor)
            return true;
    return false;
}

void SetShortCutValue(TMenuItem& item, int value) {
    if (value < 0 || value > 0xFFFF)
        throw EConvertError(FormatText(L"%s is not a shortcut", {IntToStr(value)}));
    item.SetShortCut(static_cast<std::uint16_t>(value));
}

} // namespace

// ---------------------------------------------------------------------------------------
// TMenuItem

const ClassInfo& TMenuItem::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TMenuItem>("TMenuItem", &TComponent::StaticClassInfo())
            .Creatable()
            .Bool("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck)
            .Text("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
            .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
            .Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
            .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
            .Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex)
            .Text("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
            .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
            .Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
            .Int("ShortCut", &TMenuItem::ShortCut, &SetShortCutValue)
            .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
            .Event<TNotifyEvent>("OnClick", &TMenuItem::SetOnClick)
            .Event<TMenuDrawItemEvent>("OnDrawItem", &TMenuItem::SetOnDrawItem)
            .Event<TMenuMeasureItemEvent>("OnMeasureItem", &TMenuItem::SetOnMeasureItem)
            .Build();
    return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    // Sub-items first; each leaves this list as it goes.
    while (!items_.empty())
        items_.back()->Free();
    if (TMenu* menu = GetParentMenu())
        menu->ItemGone(this);
    if (parent_) {
        TMenuItem* parent = parent_;
        parent->items_.erase(std::remove(parent->items_.begin(), parent->items_.end(), this),
                             parent->items_.end());
        parent_ = nullptr;
        parent->Changed(true);
    }
}

void TMenuItem::SetCaption(const std::wstring& caption) {
    if (caption == caption_)
        return;
    const bool wasLine = IsLine();
    caption_ = caption;
    Changed(wasLine != IsLine());
}

std::wstring TMenuItem::DisplayCaption() const {
    const TMenu* menu = GetParentMenu();
    if (!menu || !parent_ || menu->AutoHotkeys() != TMenuAutoFlag::maAutomatic)
        return caption_;
    return menu->DisplayCaptions(*parent_)[static_cast<std::size_t>(MenuIndex())];
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == checked_)
        return;
    checked_ = checked;
    if (checked_ && radioItem_)
        TurnSiblingsOff();
    Changed(false);
}

void TMenuItem::TurnSiblingsOff() {
    if (!parent_)
        return;
    for (TMenuItem* sibling : parent_->items_) {
        if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_ &&
            sibling->checked_) {
            sibling->checked_ = false;
            sibling->Changed(false);
        }
    }
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Changed(false);
}

void TMenuItem::SetDefault(bool isDefault) {
    if (isDefault == default_)
        return;
    default_ = isDefault;
    // A menu shows one default item at most.
    if (default_ && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this && sibling->default_) {
                sibling->default_ = false;
                sibling->Changed(false);
            }
    Changed(false);
}

void TMenuItem::SetRadioItem(bool radio) {
    if (radio == radioItem_)
        return;
    radioItem_ = radio;
    if (radioItem_ && checked_)
        TurnSiblingsOff();
    Changed(false);
}

void TMenuItem::SetGroupIndex(int group) {
    if (group == groupIndex_)
        return;
    groupIndex_ = group;
    if (radioItem_ && checked_)
        TurnSiblingsOff();
    Changed(false);
}

void TMenuItem::SetImageIndex(int index) {
    if (index == imageIndex_)
        return;
    imageIndex_ = index;
    Changed(false);
}

void TMenuItem::SetShortCut(std::uint16_t shortCut) {
    if (shortCut == shortCut_)
        return;
    shortCut_ = shortCut;
    Changed(false);
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    Changed(true);
}

void TMenuItem::Click() {
    if (!enabled_)
        return;
    if (autoCheck_)
        SetChecked(radioItem_ ? true : !checked_);
    if (onClick_)
        onClick_(this);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item)
        throw EInvalidOperation(L"No menu item to insert");
    if (item->parent_ || item->menu_ || IsWithin(this, item))
        throw EInvalidOperation(L"Menu item inserted twice");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed(true);
}

TMenuItem* TMenuItem::AddItem(const std::wstring& caption, TNotifyEvent onClick) {
    ComponentPtr<TMenuItem> item = MakeComponent<TMenuItem>();
    item->SetCaption(caption);
    item->SetOnClick(std::move(onClick));
    TMenuItem* raw = item.get();
    Add(raw);
    // This item keeps it from now on and frees it with itself.
    static_cast<void>(item.release());
    return raw;
}

void TMenuItem::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    items_[static_cast<std::size_t>(index)]->Free();
}

void TMenuItem::Clear() {
    while (!items_.empty())
        items_.back()->Free();
}

ComponentPtr<TMenuItem> TMenuItem::Remove(TMenuItem* item) {
    const int index = IndexOf(item);
    if (index < 0)
        return ComponentPtr<TMenuItem>();
    if (TMenu* menu = GetParentMenu())
        menu->ItemGone(item);
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
    Changed(true);
    if (item->Owner())
        return ComponentPtr<TMenuItem>();
    return ComponentPtr<TMenuItem>(item);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    return root->menu_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items().Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
    else
        TComponent::SetParentComponent(parent);
}

void TMenuItem::Changed(bool structural) {
    if (TMenu* menu = GetParentMenu())
        menu->ItemChanged(this, structural);
}

// ---------------------------------------------------------------------------------------
// TMenu

const ClassInfo& TMenu::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TMenu>("TMenu", &TComponent::StaticClassInfo())
            .Enum("AutoHotkeys", kMenuAutoFlagInfo, &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys)
            .Component<TImageList>("Images", &TMenu::Images, &TMenu::SetImages)
            .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
            .Build();
    return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(MakeComponent<TMenuItem>()) {
    items_->menu_ = this;
    imageLink_.SetOnChange([this](TObject*) {
        // Other image sizes mean other item sizes, which Windows only asks for anew when
        // the items are made anew.
        dirty_ = true;
        MenuChanged(nullptr, true);
    });
}

TMenu::~TMenu() {
    ClearBuilt();
    // The items go without telling this half-destroyed menu.
    items_->menu_ = nullptr;
    items_.reset();
}

void TMenu::SetImages(TImageList* images) {
    if (images == images_)
        return;
    if (images_) {
        images_->UnRegisterChanges(imageLink_);
        RemoveFreeNotification(images_);
    }
    images_ = images;
    if (images_) {
        images_->RegisterChanges(imageLink_);
        FreeNotification(images_);
    }
    dirty_ = true;
    MenuChanged(nullptr, true);
}

void TMenu::SetOwnerDraw(bool ownerDraw) {
    if (ownerDraw == ownerDraw_)
        return;
    ownerDraw_ = ownerDraw;
    dirty_ = true;
    MenuChanged(nullptr, true);
}

void TMenu::SetAutoHotkeys(TMenuAutoFlag flag) {
    if (flag == autoHotkeys_)
        return;
    autoHotkeys_ = flag;
    dirty_ = true;
    MenuChanged(nullptr, true);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) {
        // The list is going: its links already let go of it.
        images_ = nullptr;
        dirty_ = true;
        if (!IsDestroying())
            MenuChanged(nullptr, true);
    }
}

HMENU TMenu::Handle() {
    if (!handle_) {
        handle_.reset(CreateRootHandle());
        if (!handle_)
            throw EOutOfResources(L"Cannot create a menu");
        dirty_ = true;
    }
    if (dirty_)
        Rebuild();
    return handle_.get();
}

void TMenu::Rebuild() {
    if (!handle_) {
        Handle();
        return;
    }
    ClearBuilt();
    // Commands stay with their items; duplicates (an item moved in from another menu) get
    // new ones.
    std::vector<UINT> used;
    dirty_ = false;
    try {
        Fill(handle_.get(), *items_);
    } catch (...) {
        dirty_ = true;
        throw;
    }
}

void TMenu::ClearBuilt() {
    if (handle_) {
        // Deleting the root's items destroys every sub-menu below them.
        while (::GetMenuItemCount(handle_.get()) > 0)
            if (!::DeleteMenu(handle_.get(), 0, MF_BYPOSITION))
                break;
    }
    for (const BuiltLevel& level : built_) {
        if (level.handle != handle_.get())
            HandleCounters::Destroyed(HandleKind::Menu);
        for (TMenuItem* item : level.items)
            if (item)
                item->subMenu_ = nullptr;
    }
    built_.clear();
}

std::vector<std::wstring> TMenu::DisplayCaptions(const TMenuItem& parent) const {
    std::vector<std::wstring> captions;
    captions.reserve(parent.items_.size());
    for (const TMenuItem* item : parent.items_)
        captions.push_back(item->caption_);
    if (autoHotkeys_ != TMenuAutoFlag::maAutomatic)
        return captions;
    // Only the items that are shown take part.
    std::vector<std::wstring> shown;
    for (const TMenuItem* item : parent.items_)
        if (item->visible_)
            shown.push_back(item->caption_);
    const std::vector<std::wstring> assigned = AssignAccelerators(shown);
    std::size_t next = 0;
    for (std::size_t i = 0; i < parent.items_.size(); ++i)
        if (parent.items_[i]->visible_)
            captions[i] = assigned[next++];
    return captions;
}

UINT TMenu::NewCommand() {
    for (;;) {
        const UINT command = nextCommand_;
        nextCommand_ = nextCommand_ >= 0xEFFF ? 1 : nextCommand_ + 1;
        if (!FindItem(command))
            return command;
    }
}

void TMenu::Fill(HMENU handle, TMenuItem& parent) {
    built_.push_back(BuiltLevel{handle, &parent, {}});
    const std::size_t levelIndex = built_.size() - 1;
    const std::vector<std::wstring> captions = DisplayCaptions(parent);
    const bool ownerDraw = IsOwnerDraw();
    UINT position = 0;
    for (std::size_t i = 0; i < parent.items_.size(); ++i) {
        TMenuItem* item = parent.items_[i];
        if (!item->visible_)
            continue;
        if (item->command_ == 0 || FindItem(item->command_))
            item->command_ = NewCommand();

        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
        info.wID = item->command_;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        info.fType = item->IsLine() ? MFT_SEPARATOR : MFT_STRING;
        if (item->radioItem_)
            info.fType |= MFT_RADIOCHECK;
        if (ownerDraw)
            info.fType |= MFT_OWNERDRAW;
        info.fState = (item->enabled_ ? MFS_ENABLED : MFS_GRAYED) |
                      (item->checked_ ? MFS_CHECKED : 0u) | (item->default_ ? MFS_DEFAULT : 0u);
        std::wstring text;
        if (!item->IsLine()) {
            text = captions[i];
            if (item->shortCut_ != 0) {
                const std::wstring shortcut = ShortCutText(item->shortCut_);
                if (!shortcut.empty())
                    text += L"\t" + shortcut;
            }
            info.fMask |= MIIM_STRING;
            info.dwTypeData = text.data();
        }
        HMENU sub = nullptr;
        if (!item->items_.empty()) {
            sub = ::CreatePopupMenu();
            if (!sub)
                throw EOutOfResources(L"Cannot create a menu");
            HandleCounters::Created(HandleKind::Menu);
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = sub;
        }
        if (!::InsertMenuItemW(handle, position, TRUE, &info)) {
            if (sub) {
                ::DestroyMenu(sub);
                HandleCounters::Destroyed(HandleKind::Menu);
            }
            throw EOutOfResources(L"Cannot add an item to a menu");
        }
        ++position;
        // The level's list is only appended to after the insertion: a sub-menu that made
        // it into the tree is counted and cleared with the tree from now on.
        built_[levelIndex].items.push_back(item);
        if (sub) {
            item->subMenu_ = sub;
            Fill(sub, *item);
        }
    }
}

const TMenu::BuiltLevel* TMenu::LevelOf(HMENU handle) const {
    for (const BuiltLevel& level : built_)
        if (level.handle == handle)
            return &level;
    return nullptr;
}

const TMenu::BuiltLevel* TMenu::LevelContaining(const TMenuItem* item, int* position) const {
    for (const BuiltLevel& level : built_)
        for (std::size_t i = 0; i < level.items.size(); ++i)
            if (level.items[i] == item) {
                if (position)
                    *position = static_cast<int>(i);
                return &level;
            }
    return nullptr;
}

TMenuItem* TMenu::FindItem(UINT command) const {
    if (command == 0)
        return nullptr;
    for (const BuiltLevel& level : built_)
        for (TMenuItem* item : level.items)
            if (item && item->command_ == command)
                return item;
    return nullptr;
}

TMenuItem* TMenu::ItemOfData(ULONG_PTR data) const {
    // Compared as numbers: the value from the message is never followed as a pointer
    // unless it is one of this menu's live items.
    for (const BuiltLevel& level : built_)
        for (TMenuItem* item : level.items)
            if (item && reinterpret_cast<ULONG_PTR>(item) == data)
                return item;
    return nullptr;
}

TMenuItem* TMenu::FindShortCut(std::uint16_t shortCut) const {
    if (shortCut == 0)
        return nullptr;
    std::vector<const TMenuItem*> pending{items_.get()};
    while (!pending.empty()) {
        const TMenuItem* parent = pending.back();
        pending.pop_back();
        for (TMenuItem* item : parent->items_) {
            if (!item->visible_ || !item->enabled_)
                continue;
            if (item->shortCut_ == shortCut)
                return item;
            pending.push_back(item);
        }
    }
    return nullptr;
}

void TMenu::ItemChanged(TMenuItem* item, bool structural) {
    if (structural)
        dirty_ = true;
    else
        UpdateBuiltItem(*item);
    MenuChanged(item, structural);
}

void TMenu::ItemGone(TMenuItem* item) {
    bool wasBuilt = false;
    for (BuiltLevel& level : built_) {
        if (level.parent && IsWithin(level.parent, item))
            level.parent = nullptr;
        for (TMenuItem*& entry : level.items)
            if (entry && IsWithin(entry, item)) {
                entry = nullptr;
                wasBuilt = true;
            }
    }
    if (wasBuilt)
        dirty_ = true;
}

void TMenu::UpdateBuiltItem(TMenuItem& item) {
    int position = -1;
    const BuiltLevel* level = LevelContaining(&item, &position);
    if (!level || !level->parent)
        return;
    // Captions of the whole level: an automatic accelerator may move between siblings.
    const std::vector<std::wstring> captions = DisplayCaptions(*level->parent);
    const bool ownerDraw = IsOwnerDraw();
    for (std::size_t i = 0; i < level->items.size(); ++i) {
        TMenuItem* entry = level->items[i];
        if (!entry)
            continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_FTYPE;
        info.fType = entry->IsLine() ? MFT_SEPARATOR : MFT_STRING;
        if (entry->radioItem_)
            info.fType |= MFT_RADIOCHECK;
        if (ownerDraw)
            info.fType |= MFT_OWNERDRAW;
        info.fState = (entry->enabled_ ? MFS_ENABLED : MFS_GRAYED) |
                      (entry->checked_ ? MFS_CHECKED : 0u) | (entry->default_ ? MFS_DEFAULT : 0u);
        std::wstring text;
        if (!entry->IsLine()) {
            const int index = level->parent->IndexOf(entry);
            text = captions[static_cast<std::size_t>(index)];
            if (entry->shortCut_ != 0) {
                const std::wstring shortcut = ShortCutText(entry->shortCut_);
                if (!shortcut.empty())
                    text += L"\t" + shortcut;
            }
            info.fMask |= MIIM_STRING;
            info.dwTypeData = text.data();
        }
        ::SetMenuItemInfoW(level->handle, static_cast<UINT>(i), TRUE, &info);
    }
}

void TMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    if (onChange_)
        onChange_(this, source, rebuild);
}

bool TMenu::HandleWindowMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_COMMAND:
        // Menus send notification code 0 and no control window.
        if (HIWORD(message.WParam) == 0 && message.LParam == 0) {
            if (TMenuItem* item = FindItem(LOWORD(message.WParam))) {
                message.Result = 0;
                // The click may free the item, this menu, even the window: nothing of
                // them is touched afterwards.
                item->Click();
                return true;
            }
        }
        return false;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (!measure || measure->CtlType != ODT_MENU || !OnMeasureItem(*measure))
            return false;
        message.Result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        if (!draw || draw->CtlType != ODT_MENU || !OnDrawItem(*draw))
            return false;
        message.Result = TRUE;
        return true;
    }
    case WM_INITMENUPOPUP:
        if (HIWORD(message.LParam) != 0) // the window menu
            return false;
        if (!OnInitMenuPopup(reinterpret_cast<HMENU>(message.WParam)))
            return false;
        message.Result = 0;
        return true;
    case WM_MENUCHAR:
        return OnMenuChar(message);
    default:
        return false;
    }
}

bool TMenu::OnInitMenuPopup(HMENU popup) {
    const BuiltLevel* level = LevelOf(popup);
    if (!level)
        return false;
    TMenuItem* parent = level->parent;
    // The item whose sub-menu opens hears of it and may update its sub-items, which are
    // written into the open menu at once.
    if (parent && parent != items_.get() && parent->enabled_ && parent->onClick_)
        parent->onClick_(parent);
    return true;
}

bool TMenu::OnMenuChar(TMessage& message) {
    const BuiltLevel* level = LevelOf(reinterpret_cast<HMENU>(message.LParam));
    if (!level || !level->parent)
        return false;
    const std::vector<std::wstring> all = DisplayCaptions(*level->parent);
    std::vector<std::wstring> captions;
    int current = -1;
    for (std::size_t i = 0; i < level->items.size(); ++i) {
        const TMenuItem* item = level->items[i];
        const bool usable = item && item->enabled_ && !item->IsLine();
        captions.push_back(usable ? all[static_cast<std::size_t>(level->parent->IndexOf(item))]
                                  : std::wstring());
        if (::GetMenuState(level->handle, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            current = static_cast<int>(i);
    }
    const auto match =
        FindAccelerator(captions, static_cast<wchar_t>(LOWORD(message.WParam)), current);
    if (!match)
        return false;
    message.Result = MAKELRESULT(match->index, match->execute ? MNC_EXECUTE : MNC_SELECT);
    return true;
}

TSize TMenu::MeasureItemDefault(TMenuItem& item, TCanvas& canvas) const {
    MenuItemMetrics metrics;
    metrics.separator = item.IsLine();
    metrics.menuBar = IsMenuBar() && item.parent_ == items_.get();
    if (images_) {
        metrics.imageWidth = images_->Width();
        metrics.imageHeight = images_->Height();
    }
    if (!metrics.separator) {
        const TFontStyles style = canvas.Font().Style();
        if (item.default_)
            canvas.Font().SetStyle(style | fsBold);
        metrics.captionWidth = canvas.TextWidth(StripAccelerators(item.DisplayCaption()));
        if (item.shortCut_ != 0)
            metrics.shortcutWidth = canvas.TextWidth(ShortCutText(item.shortCut_));
        metrics.textHeight = canvas.TextHeight(L"Ag");
        canvas.Font().SetStyle(style);
    }
    return MeasureMenuItem(metrics);
}

void TMenu::DrawItemDefault(TMenuItem& item, TCanvas& canvas, const TRect& rect, bool selected,
                            unsigned state) const {
    MenuItemMetrics metrics;
    metrics.separator = item.IsLine();
    metrics.menuBar = IsMenuBar() && item.parent_ == items_.get();
    if (images_) {
        metrics.imageWidth = images_->Width();
        metrics.imageHeight = images_->Height();
    }
    const MenuItemPlacement place = PlaceMenuItem(metrics, rect);
    const bool enabled = item.enabled_ && !(state & (ODS_GRAYED | ODS_DISABLED));
    const bool highlighted = enabled && (selected || (state & ODS_HOTLIGHT));

    canvas.Brush().SetColor(highlighted ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (metrics.separator) {
        canvas.Pen().SetWidth(1);
        canvas.Pen().SetColor(clBtnShadow);
        canvas.MoveTo(rect.Left + 2, place.separatorY - 1);
        canvas.LineTo(rect.Right - 2, place.separatorY - 1);
        canvas.Pen().SetColor(clBtnHighlight);
        canvas.MoveTo(rect.Left + 2, place.separatorY);
        canvas.LineTo(rect.Right - 2, place.separatorY);
        return;
    }
    const TColor text = !enabled ? clGrayText : highlighted ? clHighlightText : clMenuText;

    if (!metrics.menuBar) {
        const bool hasImage =
            images_ && item.imageIndex_ >= 0 && item.imageIndex_ < images_->Count();
        if (hasImage) {
            images_->Draw(canvas, place.glyph.Left, place.glyph.Top, item.imageIndex_, enabled);
            if (item.checked_) {
                canvas.Brush().SetStyle(TBrushStyle::bsClear);
                canvas.Pen().SetColor(text);
                canvas.Pen().SetWidth(1);
                canvas.Rectangle(InflatedRect(place.glyph, 1, 1));
            }
        } else if (item.checked_) {
            const int cx = place.glyph.Left + place.glyph.Width() / 2;
            const int cy = place.glyph.Top + place.glyph.Height() / 2;
            canvas.Pen().SetColor(text);
            if (item.radioItem_) {
                canvas.Pen().SetWidth(1);
                canvas.Brush().SetColor(text);
                canvas.Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
            } else {
                canvas.Pen().SetWidth(2);
                const TPoint tick[] = {{cx - 4, cy}, {cx - 1, cy + 3}, {cx + 4, cy - 3}};
                canvas.Polyline(tick);
                canvas.Pen().SetWidth(1);
            }
        }
    }

    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetColor(text);
    if (item.default_)
        canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
    const unsigned prefix = (state & ODS_NOACCEL) ? DT_HIDEPREFIX : 0u;
    TRect captionRect = place.caption;
    canvas.DrawText(item.DisplayCaption(), captionRect,
                    DT_SINGLELINE | DT_VCENTER | (metrics.menuBar ? DT_CENTER : DT_LEFT) | prefix);
    if (!metrics.menuBar && item.shortCut_ != 0) {
        TRect shortcutRect = place.shortcut;
        canvas.DrawText(ShortCutText(item.shortCut_), shortcutRect,
                        DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
}

bool TMenu::OnMeasureItem(MEASUREITEMSTRUCT& measure) {
    TMenuItem* item = ItemOfData(measure.itemData);
    if (!item)
        return false;
    const WindowDC screen = WindowDC::Client(nullptr);
    TCanvas canvas;
    canvas.SetHandle(screen.get());
    if (UniqueFont menuFont = CreateSystemMenuFont())
        canvas.Font().SetHandle(std::move(menuFont));
    const TSize size = MeasureItemDefault(*item, canvas);
    int width = size.Width;
    int height = size.Height;
    if (item->onMeasureItem_)
        item->onMeasureItem_(item, canvas, width, height);
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}

bool TMenu::OnDrawItem(const DRAWITEMSTRUCT& draw) {
    TMenuItem* item = ItemOfData(draw.itemData);
    if (!item)
        return false;
    TCanvas canvas;
    canvas.SetHandle(draw.hDC);
    if (UniqueFont menuFont = CreateSystemMenuFont())
        canvas.Font().SetHandle(std::move(menuFont));
    const TRect rect = FromRECT(draw.rcItem);
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    if (item->onDrawItem_)
        item->onDrawItem_(item, canvas, rect, selected);
    else
        DrawItemDefault(*item, canvas, rect, selected, draw.itemState);
    return true;
}

} // namespace nestora::gui
