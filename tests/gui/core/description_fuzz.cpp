// libFuzzer target: any bytes given to the window-description parser and loader end in a
// loaded tree or an EDescriptionError — never a crash, a hang or a sanitizer report.
//
// Build and run apart from the presets (clang; not part of the test programs):
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
//       tests/gui/core/description_fuzz.cpp gui/core/{class_builder,class_info,collection,
//       color,component,description_loader,description_parser,exceptions,text,utf}.cpp
//   ./a.out -max_total_time=60
#include "gui/core/class_builder.h"
#include "gui/core/collection.h"
#include "gui/core/description_loader.h"
#include "gui/core/events.h"
#include "gui/core/method_table.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace nestora::gui;

const EnumInfo kKindInfo{"TKind", {"kOne", "kTwo", "kThree"}};

class TFuzzItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info =
            ClassBuilder<TFuzzItem>("TFuzzItem", &TCollectionItem::StaticClassInfo())
                .Text("Caption", &TFuzzItem::Caption, &TFuzzItem::SetCaption)
                .Component<TComponent>("Link", &TFuzzItem::Link, &TFuzzItem::SetLink)
                .Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& c) { caption_ = c; }
    TComponent* Link() const { return link_; }
    void SetLink(TComponent* c) { link_ = c; }

private:
    std::wstring caption_;
    TComponent* link_ = nullptr;
};

class TFuzzWidget : public TComponent {
public:
    explicit TFuzzWidget(TComponent* owner) : TComponent(owner), items_(this) {}
    ~TFuzzWidget() override {
        if (buddy_)
            RemoveFreeNotification(buddy_);
    }
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info =
            ClassBuilder<TFuzzWidget>("TFuzzWidget", &TComponent::StaticClassInfo())
                .Creatable()
                .Bool("Flag", &TFuzzWidget::Flag, &TFuzzWidget::SetFlag)
                .Int("Number", &TFuzzWidget::Number, &TFuzzWidget::SetNumber)
                .Enum("Kind", kKindInfo, &TFuzzWidget::Kind, &TFuzzWidget::SetKind)
                .Set("Kinds", kKindInfo, &TFuzzWidget::Kinds, &TFuzzWidget::SetKinds)
                .Color("Color", &TFuzzWidget::Color, &TFuzzWidget::SetColor)
                .Component<TFuzzWidget>("Buddy", &TFuzzWidget::Buddy, &TFuzzWidget::SetBuddy)
                .Collection("Items", [](TFuzzWidget& w) -> TPersistent* { return &w.items_; })
                .StringList("Lines", [](TFuzzWidget&, const std::vector<std::wstring>&) {})
                .Picture("Glyph", [](TFuzzWidget&, const std::wstring&) {})
                .Event<TNotifyEvent>("OnClick", [](TFuzzWidget&, TNotifyEvent) {})
                .Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    bool Flag() const { return flag_; }
    void SetFlag(bool v) { flag_ = v; }
    int Number() const { return number_; }
    void SetNumber(int v) { number_ = v; }
    int Kind() const { return kind_; }
    void SetKind(int v) { kind_ = v; }
    unsigned Kinds() const { return kinds_; }
    void SetKinds(unsigned v) { kinds_ = v; }
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    TFuzzWidget* Buddy() const { return buddy_; }
    void SetBuddy(TFuzzWidget* b) {
        buddy_ = b;
        if (b)
            FreeNotification(b);
    }

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == buddy_)
            buddy_ = nullptr;
    }

private:
    bool flag_ = false;
    int number_ = 0;
    int kind_ = 0;
    unsigned kinds_ = 0;
    TColor color_ = 0;
    TFuzzWidget* buddy_ = nullptr;
    TOwnedCollection<TFuzzItem, TFuzzWidget> items_;
};

class TFuzzForm : public TFuzzWidget {
public:
    explicit TFuzzForm(TComponent* owner) : TFuzzWidget(owner) {
        methods_.Add<TNotifyEvent>("Handler", [](TObject*) {});
    }
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info =
            ClassBuilder<TFuzzForm>("TFuzzForm", &TFuzzWidget::StaticClassInfo()).Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    const std::any* FindMethod(std::string_view name) const override { return methods_.Find(name); }

private:
    MethodTable methods_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ClassRegistry classes{&TFuzzWidget::StaticClassInfo()};
    auto root = MakeComponent<TFuzzForm>();
    try {
        LoadDescription(std::string_view(reinterpret_cast<const char*>(data), size), *root,
                        classes);
    } catch (const EDescriptionError&) {
    } catch (const EComponentError&) {
    }
    return 0;
}
