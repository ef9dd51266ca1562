#pragma once
// Menus: TMenuItem (one entry and its sub-items) and TMenu, the base of TPopupMenu and
// TMainMenu, which turns an item tree into a Windows menu and answers the menu messages of
// the window that owns it.
//
// Items. A TMenuItem is a component (its owner, usually the form, may free it) that also
// sits in a parent item's list. A parent frees the sub-items still in its list when it
// goes; an item that goes leaves its parent's list. Add/Insert put an item (without a
// parent) into the list; Delete and Clear free items; Remove takes one out without
// freeing it (and hands an item without owner back to the caller). Window descriptions
// nest items in their menu or parent item (SetParentComponent).
//
// Changes. Every setter tells the item's menu: structural changes (items added, removed,
// shown or hidden, sub-items appearing, AutoHotkeys, OwnerDraw, Images) make the menu
// rebuild its HMENU before it is next shown; other changes (caption, state, shortcut) are
// written into the existing HMENU at once. Then MenuChanged runs (OnChange).
//
// The HMENU. Built when first needed and rebuilt only after structural changes: the root
// handle stays the same for the menu's whole life, the sub-menus below it are made anew.
// Each built item carries its own address as item data (looked up, never dereferenced
// blindly) and a command number for WM_COMMAND, unique within the menu and kept while the
// item stays in it.
//
// Owner drawing. A menu is owner-drawn when OwnerDraw is set or it has Images. Then
// WM_MEASUREITEM and WM_DRAWITEM reach the item's OnMeasureItem and OnDrawItem with a
// canvas in the system's menu font; items without those handlers are measured and drawn
// plainly here (caption, shortcut, check mark or image, greyed when disabled; layout in
// gui/core/menu_item_layout.h). Owner-drawn items get their accelerators through
// WM_MENUCHAR.
//
// Messages. The window that owns the menu offers it every message through
// HandleWindowMessage: WM_COMMAND from the menu runs the item's Click, WM_INITMENUPOPUP
// runs the OnClick of the item whose sub-menu opens (so it can update its sub-items), and
// the owner-draw and menu-character messages as above.

#include "gui/win/graphics_win32.h"

#include "gui/core/class_info.h"
#include "gui/core/component.h"
#include "gui/core/events.h"
#include "gui/core/graphics_geometry.h"
#include "gui/win/graphics_counters.h"
#include "gui/win/image_list.h"
#include "gui/win/message.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace nestora::gui {

class TCanvas;
class TMenu;
class TMenuItem;

using TMenuMeasureItemEvent =
    std::function<void(TObject* sender, TCanvas& canvas, int& width, int& height)>;
using TMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas& canvas, const TRect& rect, bool selected)>;
// source: the item that changed (null: several); rebuild: the structure changed.
using TMenuChangeEvent = std::function<void(TObject* sender, TMenuItem* source, bool rebuild)>;

enum class TMenuAutoFlag { maAutomatic, maManual };
extern const EnumInfo kMenuAutoFlagInfo;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    // "-" makes a separator.
    bool IsLine() const { return caption_ == L"-"; }
    // The caption as the menu shows it: with an automatic accelerator when the menu's
    // AutoHotkeys is maAutomatic and the caption has none.
    std::wstring DisplayCaption() const;

    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the radio items of its group among its siblings.
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool radio);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int group);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    // The 16-bit shortcut word ($2000 Shift, $4000 Ctrl, $8000 Alt | virtual key).
    std::uint16_t ShortCut() const { return shortCut_; }
    void SetShortCut(std::uint16_t shortCut);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint) { hint_ = hint; }
    // Click toggles Checked first.
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool autoCheck) { autoCheck_ = autoCheck; }

    void SetOnClick(TNotifyEvent handler) { onClick_ = std::move(handler); }
    const TNotifyEvent& OnClick() const { return onClick_; }
    void SetOnMeasureItem(TMenuMeasureItemEvent handler) { onMeasureItem_ = std::move(handler); }
    const TMenuMeasureItemEvent& OnMeasureItem() const { return onMeasureItem_; }
    void SetOnDrawItem(TMenuDrawItemEvent handler) { onDrawItem_ = std::move(handler); }
    const TMenuDrawItemEvent& OnDrawItem() const { return onDrawItem_; }

    // What choosing the item does: nothing when disabled; AutoCheck toggles Checked (a
    // radio item only ever checks itself); then OnClick.
    virtual void Click();

    // Sub-items.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    TMenuItem* operator[](int index) const { return Items(index); }
    TMenuItem* Parent() const { return parent_; }
    int IndexOf(const TMenuItem* item) const;
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    // Adds item (which must not be in a list already) at the end or at index.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // A new item without owner, kept by this one.
    TMenuItem* AddItem(const std::wstring& caption, TNotifyEvent onClick = {});
    // Frees the sub-item at index (out of range: nothing happens).
    void Delete(int index);
    // Frees all sub-items.
    void Clear();
    // Takes item out of the list without freeing it. An item without owner comes back to
    // the caller; one with an owner stays its owner's (the result is then empty).
    [[nodiscard]] ComponentPtr<TMenuItem> Remove(TMenuItem* item);

    // The menu this item belongs to (through its parents), or null.
    TMenu* GetParentMenu() const;
    // Its HMENU when it has sub-items and the menu is built, else null.
    HMENU Handle() const { return subMenu_; }
    // The command number WM_COMMAND carries for it (0 while not built).
    UINT Command() const { return command_; }

    void SetParentComponent(TComponent* parent) override;

private:
    friend class TMenu;
    // Tells the menu; structural: the HMENU must be rebuilt.
    void Changed(bool structural);
    void TurnSiblingsOff();

    std::wstring caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool default_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    int imageIndex_ = -1;
    std::uint16_t shortCut_ = 0;
    bool visible_ = true;
    std::wstring hint_;
    bool autoCheck_ = false;
    TNotifyEvent onClick_;
    TMenuMeasureItemEvent onMeasureItem_;
    TMenuDrawItemEvent onDrawItem_;

    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;   // set on the root item of a menu only
    UINT command_ = 0;        // while built
    HMENU subMenu_ = nullptr; // while built; owned by the menu's HMENU tree
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // The root item: its sub-items are the menu's top-level items.
    TMenuItem& Items() const { return *items_; }

    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool ownerDraw);
    // Owner-drawn: OwnerDraw set or Images present.
    bool IsOwnerDraw() const { return ownerDraw_ || images_ != nullptr; }
    TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(TMenuAutoFlag flag);

    // The root HMENU, built (or rebuilt after structural changes) now.
    HMENU Handle();
    // Whether the HMENU must be rebuilt before it is next shown.
    bool NeedsRebuild() const { return dirty_; }
    // The root HMENU if it has been made, without building anything.
    HMENU ExistingHandle() const { return handle_.get(); }

    // Offers one window message to the menu; true when it was the menu's (Result is set).
    virtual bool HandleWindowMessage(TMessage& message);
    // The built item that carries this command number, or null.
    TMenuItem* FindItem(UINT command) const;
    // The item with this shortcut among the visible, enabled items (parents included), or
    // null.
    TMenuItem* FindShortCut(std::uint16_t shortCut) const;

    void SetOnChange(TMenuChangeEvent handler) { onChange_ = std::move(handler); }

    // Plain measuring and drawing of an item, as used for items without handlers.
    TSize MeasureItemDefault(TMenuItem& item, TCanvas& canvas) const;
    void DrawItemDefault(TMenuItem& item, TCanvas& canvas, const TRect& rect, bool selected,
                         unsigned state) const;

protected:
    // Makes the empty root handle: CreatePopupMenu or CreateMenu.
    virtual HMENU CreateRootHandle() const = 0;
    // Whether the top-level items are a menu bar (their size and drawing differ).
    virtual bool IsMenuBar() const { return false; }
    // An item changed (source null: many); the base raises OnChange.
    virtual void MenuChanged(TMenuItem* source, bool rebuild);
    void Notification(TComponent* component, TOperation operation) override;
    // Rebuilds the whole HMENU below the root now.
    void Rebuild();

private:
    friend class TMenuItem;
    struct BuiltLevel {
        HMENU handle;
        TMenuItem* parent; // whose sub-items this handle shows
        std::vector<TMenuItem*> items;
    };
    void ItemChanged(TMenuItem* item, bool structural);
    void ItemGone(TMenuItem* item);
    void ClearBuilt();
    void Fill(HMENU handle, TMenuItem& parent);
    void UpdateBuiltItem(TMenuItem& item);
    const BuiltLevel* LevelOf(HMENU handle) const;
    const BuiltLevel* LevelContaining(const TMenuItem* item, int* position) const;
    TMenuItem* ItemOfData(ULONG_PTR data) const;
    UINT NewCommand();
    std::vector<std::wstring> DisplayCaptions(const TMenuItem& parent) const;

    bool OnMeasureItem(MEASUREITEMSTRUCT& measure);
    bool OnDrawItem(const DRAWITEMSTRUCT& draw);
    bool OnMenuChar(TMessage& message);
    bool OnInitMenuPopup(HMENU popup);

    ComponentPtr<TMenuItem> items_;
    TImageList* images_ = nullptr;
    TChangeLink imageLink_;
    bool ownerDraw_ = false;
    TMenuAutoFlag autoHotkeys_ = TMenuAutoFlag::maAutomatic;
    CountedMenu handle_;
    std::vector<BuiltLevel> built_;
    bool dirty_ = true;
    UINT nextCommand_ = 1;
    TMenuChangeEvent onChange_;
};

} // namespace nestora::gui
