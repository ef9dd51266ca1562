// Published properties: order, inheritance, typed setting by name and refusal of values of
// the wrong kind; collections.
#include "gui/core/class_builder.h"
#include "gui/core/collection.h"
#include "gui/core/events.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;

enum class TShape { stRound, stSquare };
const EnumInfo kShapeInfo{"TShape", {"stRound", "stSquare"}};

class TWidget : public TComponent {
public:
    explicit TWidget(TComponent* owner) : TComponent(owner) {}
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info = ClassBuilder<TWidget>("TWidget", &TComponent::StaticClassInfo())
                                          .Creatable()
                                          .Bool("Visible", &TWidget::Visible, &TWidget::SetVisible)
                                          .Enum("Shape", kShapeInfo, &TWidget::Shape, &TWidget::SetShape)
                                          .Color("Color", &TWidget::Color, &TWidget::SetColor)
                                          .Component<TWidget>("Buddy", &TWidget::Buddy, &TWidget::SetBuddy)
                                          .Event<TNotifyEvent>("OnClick", &TWidget::SetOnClick)
                                          .Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; log += L"Visible;"; }
    TShape Shape() const { return shape_; }
    void SetShape(TShape s) { shape_ = s; log += L"Shape;"; }
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    TWidget* Buddy() const { return buddy_; }
    void SetBuddy(TWidget* b) { buddy_ = b; }
    void SetOnClick(TNotifyEvent e) { onClick = std::move(e); }

    std::wstring log;
    TNotifyEvent onClick;

private:
    bool visible_ = true;
    TShape shape_ = TShape::stRound;
    TColor color_ = clBtnFace;
    TWidget* buddy_ = nullptr;
};

class TFancyWidget : public TWidget {
public:
    using TWidget::TWidget;
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info =
            ClassBuilder<TFancyWidget>("TFancyWidget", &TWidget::StaticClassInfo())
                .Creatable()
                .Text("Caption", &TFancyWidget::Caption, &TFancyWidget::SetCaption)
                .Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& c) { caption_ = c; }

private:
    std::wstring caption_;
};

TEST(Properties, AncestorsPropertiesComeFirstInDeclarationOrder) {
    std::vector<std::string> names;
    for (const PropertyInfo* p : TFancyWidget::StaticClassInfo().Properties())
        names.push_back(p->name);
    const std::vector<std::string> expected = {"Name", "Tag", "Visible", "Shape",
                                               "Color", "Buddy", "OnClick", "Caption"};
    EXPECT_EQ(names, expected);
}

TEST(Properties, SetAndReadByNameWithoutRegardToCase) {
    auto w = MakeComponent<TFancyWidget>();
    SetPropertyValue(*w, "caption", std::wstring(L"Привет"));
    SetPropertyValue(*w, "SHAPE", std::int64_t{1});
    SetPropertyValue(*w, "Color", std::int64_t{0x00E7E7E7});
    EXPECT_EQ(w->Caption(), L"Привет");
    EXPECT_EQ(w->Shape(), TShape::stSquare);
    EXPECT_EQ(std::get<std::int64_t>(GetPropertyValue(*w, "Color")), 0x00E7E7E7);
    EXPECT_EQ(std::get<std::wstring>(GetPropertyValue(*w, "Name")), L"");
    EXPECT_TRUE(HasPublishedProperty(*w, "Caption"));
    EXPECT_FALSE(HasPublishedProperty(*w, "FileTheme"));
    EXPECT_EQ(w->ClassName(), "TFancyWidget");
    EXPECT_TRUE(w->InheritsFrom(TWidget::StaticClassInfo()));
}

TEST(Properties, ValuesOfTheWrongKindAreRefusedWithTheirName) {
    auto w = MakeComponent<TWidget>();
    EXPECT_THROW(SetPropertyValue(*w, "Visible", std::wstring(L"yes")), EDescriptionError);
    EXPECT_THROW(SetPropertyValue(*w, "Shape", std::int64_t{2}), EDescriptionError);
    EXPECT_THROW(SetPropertyValue(*w, "Shape", std::int64_t{-1}), EDescriptionError);
    EXPECT_THROW(SetPropertyValue(*w, "Missing", true), EDescriptionError);
    try {
        SetPropertyValue(*w, "Visible", std::int64_t{3});
        FAIL();
    } catch (const EDescriptionError& e) {
        EXPECT_NE(e.Message().find(L"Visible"), std::wstring::npos);
    }
    EXPECT_EQ(w->log, L""); // nothing was half applied
}

TEST(Properties, ComponentReferencesMustHaveTheDeclaredClass) {
    auto owner = MakeComponent<TComponent>();
    auto* a = Create<TWidget>(owner.get());
    auto* plain = Create<TComponent>(owner.get());
    EXPECT_THROW(SetPropertyValue(*a, "Buddy", plain), EDescriptionError);
    auto* fancy = Create<TFancyWidget>(owner.get());
    SetPropertyValue(*a, "Buddy", static_cast<TComponent*>(fancy));
    EXPECT_EQ(a->Buddy(), fancy);
    SetPropertyValue(*a, "Buddy", static_cast<TComponent*>(nullptr));
    EXPECT_EQ(a->Buddy(), nullptr);
}

TEST(Properties, EventHandlersMustHaveTheEventsParameters) {
    auto w = MakeComponent<TWidget>();
    int clicks = 0;
    SetPropertyValue(*w, "OnClick", std::any(TNotifyEvent([&](TObject*) { ++clicks; })));
    w->onClick(w.get());
    EXPECT_EQ(clicks, 1);
    EXPECT_THROW(SetPropertyValue(*w, "OnClick", std::any(TMouseMoveEvent())), EDescriptionError);
    SetPropertyValue(*w, "OnClick", std::any());
    EXPECT_FALSE(w->onClick);
}

TEST(Properties, TheFactoryCreatesAnOwnedInstance) {
    auto owner = MakeComponent<TComponent>();
    TComponent* made = TFancyWidget::StaticClassInfo().GetFactory()(owner.get());
    EXPECT_EQ(made->Owner(), owner.get());
    EXPECT_EQ(made->ClassName(), "TFancyWidget");
    ClassRegistry registry{&TWidget::StaticClassInfo(), &TFancyWidget::StaticClassInfo()};
    EXPECT_EQ(registry.Find("tfancywidget"), &TFancyWidget::StaticClassInfo());
    EXPECT_EQ(registry.Find("TForm"), nullptr);
}

class TPoint2 : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    void SetX(int x) {
        x_ = x;
        Changed();
    }
    int X() const { return x_; }
    void Assign(const TPersistent& source) override {
        if (auto* p = dynamic_cast<const TPoint2*>(&source)) {
            SetX(p->X());
            return;
        }
        TCollectionItem::Assign(source);
    }

private:
    int x_ = 0;
};

class TPoints : public TOwnedCollection<TPoint2, TComponent> {
public:
    using TOwnedCollection::TOwnedCollection;
    std::vector<TCollectionItem*> updates;

protected:
    void Update(TCollectionItem* item) override { updates.push_back(item); }
};

TEST(Collection, ItemsTellTheirCollectionAndUpdatesCanBeBatched) {
    auto owner = MakeComponent<TComponent>();
    TPoints points(owner.get());
    TPoint2* p = points.Add();
    points.updates.clear();
    p->SetX(5);
    ASSERT_EQ(points.updates.size(), 1u);
    EXPECT_EQ(points.updates[0], p);
    points.updates.clear();
    points.BeginUpdate();
    points.Add()->SetX(1);
    points.Add()->SetX(2);
    EXPECT_TRUE(points.updates.empty());
    points.EndUpdate();
    ASSERT_EQ(points.updates.size(), 1u);
    EXPECT_EQ(points.updates[0], nullptr);
    EXPECT_EQ(points[2]->Index(), 2);
    points[2]->SetIndex(0);
    EXPECT_EQ(points[0]->X(), 2);
}

TEST(Collection, AssignCopiesItemsAndNeverShares) {
    auto owner = MakeComponent<TComponent>();
    TPoints a(owner.get()), b(owner.get());
    a.Add()->SetX(7);
    a.Add()->SetX(8);
    b.Add()->SetX(1);
    b.Assign(a);
    ASSERT_EQ(b.Count(), 2);
    EXPECT_EQ(b[1]->X(), 8);
    EXPECT_NE(b[0], a[0]);
    a[0]->SetX(99);
    EXPECT_EQ(b[0]->X(), 7);
}

} // namespace
