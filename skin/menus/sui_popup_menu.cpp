#include "skin/menus/sui_popup_menu.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/core/text.h"
#include "gui/win/application.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/font.h"
#include "gui/win/form.h"
#include "gui/win/handles.h"
#include "gui/win/image_list.h"
#include "gui/win/key_names.h"
#include "skin/menus/file_theme.h"
#include "skin/menus/sui_menu_properties.h"
#include "skin/resolve_style.h"
#include "skin/sui_style_win.h"

#include <string_view>
#include <variant>

namespace nestora::skin {

namespace {

constexpr TColor kMenuTextColor = 0xFF000007; // the system's menu text colour
constexpr TColor kWhite = 0x00FFFFFF;

// Owns the shared check-mark list for as long as its application lives (see
// CheckMarkImages in the header).
class TCheckMarkImagesHolder : public gui::TComponent {
public:
    explicit TCheckMarkImagesHolder(gui::TComponent* owner)
        : gui::TComponent(owner), images_(MakeCheckMarkImages()) {
        Current() = this;
    }
    ~TCheckMarkImagesHolder() override {
        if (Current() == this)
            Current() = nullptr;
    }
    gui::TImageList* Images() const { return images_.get(); }

    // A plain pointer, never an owner: nothing is left for static destruction to do.
    static TCheckMarkImagesHolder*& Current() {
        static TCheckMarkImagesHolder* current = nullptr;
        return current;
    }

private:
    gui::ComponentPtr<gui::TImageList> images_;
};

void FrameWith(gui::TCanvas& canvas, const gui::TRect& rect, TColor color) {
    canvas.Brush().SetStyle(gui::TBrushStyle::bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FrameRect(rect);
}

} // namespace

// ---------------------------------------------------------------------------------------
// TsuiPopupMenu

const gui::ClassInfo& TsuiPopupMenu::StaticClassInfo() {
    using M = TsuiPopupMenu;
    static const gui::ClassInfo info = [] {
        gui::ClassBuilder<M> builder("TsuiPopupMenu", &gui::TPopupMenu::StaticClassInfo());
        builder.Creatable();
        PublishSkinnedMenuProperties(builder);
        return builder.Build();
    }();
    return info;
}

TsuiPopupMenu::TsuiPopupMenu(gui::TComponent* owner)
    : gui::TPopupMenu(owner), self_(std::make_shared<TsuiPopupMenu*>(this)) {
    gui::TMenu::SetOwnerDraw(true);
    SetUIStyle(GetOwnerFrameStyle(owner));
}

TsuiPopupMenu::~TsuiPopupMenu() {
    // Items that outlive the menu keep its handlers: from now on those do nothing.
    *self_ = nullptr;
}

void TsuiPopupMenu::SetFileTheme(gui::TComponent* theme) {
    if (theme != look_.fileTheme) {
        if (look_.fileTheme)
            RemoveFreeNotification(look_.fileTheme);
        look_.fileTheme = theme;
        if (look_.fileTheme)
            FreeNotification(look_.fileTheme);
    }
    SetUIStyle(look_.uiStyle);
}

void TsuiPopupMenu::SetUIStyle(TsuiUIStyle style) {
    ApplySkinnedMenuStyle(look_, style);
}

void TsuiPopupMenu::SetMenuItemHeight(int height) {
    if (!IsMacOS())
        look_.menuItemHeight = height;
}

void TsuiPopupMenu::SetSeparatorHeight(int height) {
    if (!IsMacOS())
        look_.separatorHeight = height;
}

void TsuiPopupMenu::SetFontCharset(int charset) {
    if (charset < 0 || charset > 255)
        throw gui::EConvertError(
            gui::FormatText(L"%s is not a character set", {gui::IntToStr(charset)}));
    look_.fontCharset = charset;
}

void TsuiPopupMenu::Loaded() {
    gui::TPopupMenu::Loaded();
    AttachItemHandlers();
}

void TsuiPopupMenu::Notification(gui::TComponent* component, gui::TOperation operation) {
    gui::TPopupMenu::Notification(component, operation);
    if (operation == gui::TOperation::opRemove && component != nullptr &&
        component == look_.fileTheme) {
        // Only the pointer is compared: the theme is half destroyed.
        look_.fileTheme = nullptr;
        SetUIStyle(TsuiUIStyle::DeepBlue);
    }
}

void TsuiPopupMenu::AttachItemHandlers() {
    const std::weak_ptr<TsuiPopupMenu*> self = self_;
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

void TsuiPopupMenu::MeasureMenuItem(gui::TObject* sender, gui::TCanvas& canvas, int& width,
                                    int& height) {
    if (auto* item = dynamic_cast<gui::TMenuItem*>(sender))
        MeasureSkinnedMenuItem(look_, *item, canvas, width, height);
}

void TsuiPopupMenu::DrawMenuItem(gui::TObject* sender, gui::TCanvas& canvas, const gui::TRect& rect,
                                 bool selected) {
    auto* item = dynamic_cast<gui::TMenuItem*>(sender);
    if (!item)
        return;
    // The application's shared tick; without an application, one made for this item.
    gui::TImageList* ticks = CheckMarkImages();
    gui::ComponentPtr<gui::TImageList> ownTicks;
    if (!ticks) {
        ownTicks = MakeCheckMarkImages();
        ticks = ownTicks.get();
    }
    DrawSkinnedMenuItem(look_, *item, canvas, rect, selected, Images(), ticks);
}

// ---------------------------------------------------------------------------------------
// Free functions

void SetItemHandlers(gui::TMenuItem& item, const gui::TMenuMeasureItemEvent& measure,
                     const gui::TMenuDrawItemEvent& draw) {
    item.SetOnMeasureItem(measure);
    item.SetOnDrawItem(draw);
    for (int i = 0; i < item.Count(); ++i)
        SetItemHandlers(*item.Items(i), measure, draw);
}

TsuiUIStyle GetOwnerFrameStyle(const gui::TComponent* owner) {
    const auto* form = dynamic_cast<const gui::TCustomForm*>(owner);
    if (!form)
        return TsuiUIStyle::DeepBlue;
    for (int i = 0; i < form->ControlCount(); ++i) {
        const gui::TControl* child = form->Controls(i);
        bool isFrame = false;
        for (const gui::ClassInfo* c = &child->GetClassInfo(); c && !isFrame; c = c->Parent())
            isFrame = c->Name() == "TsuiForm";
        if (!isFrame)
            continue;
        // The first frame decides, readable or not.
        try {
            const gui::PropertyValue value = gui::GetPropertyValue(*child, "UIStyle");
            if (const auto* ordinal = std::get_if<std::int64_t>(&value);
                ordinal && *ordinal >= 0 && *ordinal <= 255)
                return static_cast<TsuiUIStyle>(static_cast<std::uint8_t>(*ordinal));
        } catch (const gui::EDescriptionError&) {
        }
        return TsuiUIStyle::DeepBlue;
    }
    return TsuiUIStyle::DeepBlue;
}

void SetSystemMenuFont(gui::TFont& font) {
    gui::UniqueFont menuFont = gui::CreateSystemMenuFont();
    if (!menuFont)
        return;
    font.SetHandle(std::move(menuFont));
    font.SetColor(kMenuTextColor);
}

void DrawFlatMenuBorder(HWND window, TColor frameColor, TColor lineColor) {
    RECT bounds{};
    if (!window || !::GetWindowRect(window, &bounds))
        return;
    const gui::WindowDC dc = gui::WindowDC::Whole(window);
    if (!dc)
        return;
    // The window's DC has its origin at the window's top-left corner.
    const FlatMenuBorder border = LayOutFlatMenuBorder(
        gui::MakeRect(0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top));
    gui::TCanvas canvas;
    canvas.SetHandle(dc.get());
    FrameWith(canvas, border.outerFrame, frameColor);
    FrameWith(canvas, border.innerFrame, kWhite);
    canvas.Pen().SetStyle(gui::TPenStyle::psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(lineColor);
    canvas.MoveTo(border.line[0].X, border.line[0].Y);
    for (int i = 1; i < 5; ++i)
        canvas.LineTo(border.line[i].X, border.line[i].Y);
    canvas.SetHandle(nullptr);
}

gui::ComponentPtr<gui::TImageList> MakeCheckMarkImages() {
    auto images = gui::MakeComponent<gui::TImageList>();
    gui::TBitmap tick;
    tick.LoadFromResourceName(::GetModuleHandleW(nullptr), L"MENU_CHECKED");
    tick.SetTransparent(true);
    images->AddMasked(tick, kWhite);
    return images;
}

gui::TImageList* CheckMarkImages() {
    gui::TApplication* application = gui::CurrentApplication();
    if (!application)
        return nullptr;
    if (!TCheckMarkImagesHolder::Current())
        gui::Create<TCheckMarkImagesHolder>(application);
    return TCheckMarkImagesHolder::Current()->Images();
}

} // namespace nestora::skin
