// The window-description loader: creation order, parents before properties, every property
// kind, references resolved at the end, fields and events bound to the root, the loaded
// step, and errors that name their line.
#include "gui/core/class_builder.h"
#include "gui/core/collection.h"
#include "gui/core/description_loader.h"
#include "gui/core/events.h"
#include "gui/core/method_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace nestora::gui;

std::vector<std::wstring>* g_journal = nullptr; // the current test's journal (set by fixture)

void Note(const std::wstring& s) {
    if (g_journal)
        g_journal->push_back(s);
}

enum class TAlignment { taLeft, taRight, taCenter };
const EnumInfo kAlignmentInfo{"TAlignment", {"taLeft", "taRight", "taCenter"}};
const EnumInfo kIconInfo{"TIconKind", {"ikSystem", "ikMin", "ikMax", "ikHelp"}};

class TStyleFont : public TPersistent {
public:
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info =
            ClassBuilder<TStyleFont>("TStyleFont", &TPersistent::StaticClassInfo())
                .Text("Name", &TStyleFont::Name, &TStyleFont::SetName)
                .Int("Height", &TStyleFont::Height, &TStyleFont::SetHeight)
                .Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& n) { name_ = n; }
    int Height() const { return height_; }
    void SetHeight(int h) { height_ = h; }

private:
    std::wstring name_ = L"Tahoma";
    int height_ = 0;
};

class TWidget;

class TSection : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info =
            ClassBuilder<TSection>("TSection", &TCollectionItem::StaticClassInfo())
                .Text("Caption", &TSection::Caption, &TSection::SetCaption)
                .Component<TComponent>("Link", &TSection::Link, &TSection::SetLink)
                .Object("Font", &TSection::FontObject)
                .Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& c) { caption_ = c; }
    TComponent* Link() const { return link_; }
    void SetLink(TComponent* c) { link_ = c; }
    TStyleFont* FontObject() { return &font_; }

private:
    std::wstring caption_;
    TComponent* link_ = nullptr;
    TStyleFont font_;
};

class TWidget : public TComponent {
public:
    explicit TWidget(TComponent* owner) : TComponent(owner), sections_(this) {}
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info =
            ClassBuilder<TWidget>("TWidget", &TComponent::StaticClassInfo())
                .Creatable()
                .Bool("Visible", &TWidget::Visible, &TWidget::SetVisible)
                .Int("Left", &TWidget::Left, &TWidget::SetLeft)
                .Enum("Alignment", kAlignmentInfo, &TWidget::Alignment, &TWidget::SetAlignment)
                .Set("Icons", kIconInfo, &TWidget::Icons, &TWidget::SetIcons)
                .Text("Caption", &TWidget::Caption, &TWidget::SetCaption)
                .Color("Color", &TWidget::Color, &TWidget::SetColor)
                .Component<TWidget>("Buddy", &TWidget::Buddy, &TWidget::SetBuddy)
                .Object("Font", &TWidget::FontObject)
                .Collection("Sections", &TWidget::SectionsObject)
                .Picture("Glyph", &TWidget::SetGlyph)
                .StringList("Lines", &TWidget::SetLines)
                .Event<TNotifyEvent>("OnClick", &TWidget::SetOnClick)
                .Int("Fragile", nullptr, &TWidget::SetFragile)
                .Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    bool Visible() const { return visible_; }
    void SetVisible(bool v) {
        visible_ = v;
        Note(Name() + L".Visible");
    }
    int Left() const { return left_; }
    void SetLeft(int v) {
        left_ = v;
        Note(Name() + L".Left" + (IsLoading() ? L" loading" : L""));
    }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a) { alignment_ = a; }
    unsigned Icons() const { return icons_; }
    void SetIcons(unsigned i) { icons_ = i; }
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& c) { caption_ = c; }
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; }
    TWidget* Buddy() const { return buddy_; }
    void SetBuddy(TWidget* b) {
        buddy_ = b;
        Note(Name() + L".Buddy");
    }
    TStyleFont* FontObject() { return &font_; }
    TOwnedCollection<TSection, TWidget>* SectionsObject() { return &sections_; }
    void SetGlyph(const std::wstring& g) { glyph = g; }
    void SetLines(const std::vector<std::wstring>& l) { lines = l; }
    void SetOnClick(TNotifyEvent e) { onClick = std::move(e); }
    void SetFragile(int v) {
        if (v < 0)
            throw EInvalidOperation(L"Sorry, Fragile cannot be negative");
        if (v == 99 && buddy_ == nullptr && Owner()) {
            // Frees a sibling while the description is being read.
            if (TComponent* victim = Owner()->FindComponent(L"Victim"))
                victim->Free();
        }
    }

    void SetParentComponent(TComponent* parent) override {
        parentComponent = parent;
        Note(Name() + L".Parent=" + (parent ? parent->Name() : L"none"));
    }
    void Loaded() override {
        TComponent::Loaded();
        Note(Name() + L".Loaded");
        if (Name() == L"Bomb")
            throw EInvalidOperation(L"Bomb went off");
    }

    TComponent* parentComponent = nullptr;
    std::wstring glyph;
    std::vector<std::wstring> lines;
    TNotifyEvent onClick;

private:
    bool visible_ = true;
    int left_ = 0;
    TAlignment alignment_ = TAlignment::taLeft;
    unsigned icons_ = 0;
    std::wstring caption_;
    TColor color_ = clBtnFace;
    TWidget* buddy_ = nullptr;
    TStyleFont font_;
    TOwnedCollection<TSection, TWidget> sections_;
};

class TOther : public TComponent {
public:
    using TComponent::TComponent;
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info =
            ClassBuilder<TOther>("TOther", &TComponent::StaticClassInfo()).Creatable().Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
};

// The root: publishes fields and handlers like a form.
class TTestForm : public TWidget {
public:
    explicit TTestForm(TComponent* owner) : TWidget(owner) {
        fields_.Add(L"Panel", Panel);
        fields_.Add(L"Other", OtherField);
        methods_.Add<TNotifyEvent>("PanelClick", [this](TObject* s) { clickedBy = s; });
        methods_.Add<TMouseMoveEvent>("MouseMoved", [](TObject*, TShiftState, int, int) {});
    }
    static const ClassInfo& StaticClassInfo() {
        static const ClassInfo info =
            ClassBuilder<TTestForm>("TTestForm", &TWidget::StaticClassInfo()).Build();
        return info;
    }
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
    const std::any* FindMethod(std::string_view name) const override { return methods_.Find(name); }
    bool BindField(std::wstring_view name, TComponent* c) override { return fields_.Bind(name, c); }

    TWidget* Panel = nullptr;
    TOther* OtherField = nullptr;
    TObject* clickedBy = nullptr;

private:
    FieldTable fields_;
    MethodTable methods_;
};

class DescriptionLoader : public testing::Test {
protected:
    void SetUp() override { g_journal = &journal; }
    void TearDown() override { g_journal = nullptr; }

    ComponentPtr<TTestForm> Load(const std::string& text) {
        auto form = MakeComponent<TTestForm>();
        LoadDescription(text, *form, classes);
        return form;
    }
    std::wstring ErrorOf(const std::string& text) {
        auto form = MakeComponent<TTestForm>();
        try {
            LoadDescription(text, *form, classes);
        } catch (const EDescriptionError& e) {
            // Nothing may stay in the loading state after a failed load.
            EXPECT_FALSE(form->IsLoading());
            for (TComponent* c : form->ComponentList())
                EXPECT_FALSE(c->IsLoading());
            return e.Message();
        }
        return L"(loaded)";
    }

    ClassRegistry classes{&TWidget::StaticClassInfo(), &TOther::StaticClassInfo()};
    std::vector<std::wstring> journal;
};

TEST_F(DescriptionLoader, SetsEveryKindOfProperty) {
    auto form = Load(R"(
object Form1: TTestForm
  Caption = ' =Nestora='
  object Panel: TWidget
    Visible = False
    Left = -20
    Alignment = taCenter
    Icons = [ikSystem, ikMin]
    Caption = 'Горячая клавиша :'
    Color = $00BF9857
    Font.Name = 'MS Sans Serif'
    Font.Height = -11
    Glyph = 'MACOS_TITLEBTN[13/18]'
    Lines = ('one' 'two')
    OnClick = PanelClick
    Sections = <
      item
        Caption = 'left'
        Font.Height = 23
      end
      item
        Caption = 'right'
        Link = Panel
      end>
  end
  object Other: TOther
  end
end)");
    EXPECT_EQ(form->Name(), L"Form1");
    EXPECT_EQ(form->Caption(), L" =Nestora=");
    TWidget* panel = form->Panel;
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Owner(), form.get());
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(panel->Left(), -20);
    EXPECT_EQ(panel->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(panel->Icons(), 0b11u);
    EXPECT_EQ(panel->Caption(), L"Горячая клавиша :");
    EXPECT_EQ(panel->Color(), 0x00BF9857u);
    EXPECT_EQ(panel->FontObject()->Name(), L"MS Sans Serif");
    EXPECT_EQ(panel->FontObject()->Height(), -11);
    EXPECT_EQ(panel->glyph, L"MACOS_TITLEBTN[13/18]");
    EXPECT_EQ(panel->lines, (std::vector<std::wstring>{L"one", L"two"}));
    ASSERT_TRUE(panel->onClick);
    panel->onClick(panel);
    EXPECT_EQ(form->clickedBy, panel);
    ASSERT_EQ(panel->SectionsObject()->Count(), 2);
    EXPECT_EQ(panel->SectionsObject()->Items(0)->Caption(), L"left");
    EXPECT_EQ(panel->SectionsObject()->Items(0)->FontObject()->Height(), 23);
    EXPECT_EQ(panel->SectionsObject()->Items(1)->Link(), panel);
    ASSERT_NE(form->OtherField, nullptr);
    EXPECT_EQ(form->OtherField->Name(), L"Other");
    EXPECT_FALSE(form->IsLoading());
    EXPECT_FALSE(panel->IsLoading());
}

TEST_F(DescriptionLoader, ColoursByNameOrNumberAndSignedForms) {
    auto form = Load("object F: TTestForm\n object A: TWidget\n  Color = clWindowText\n end\n"
                     " object B: TWidget\n  Color = -16777201\n end\nend");
    EXPECT_EQ(static_cast<TWidget*>(form->FindComponent(L"A"))->Color(), clWindowText);
    EXPECT_EQ(static_cast<TWidget*>(form->FindComponent(L"B"))->Color(), clBtnFace);
}

TEST_F(DescriptionLoader, CreatesInOrderParentsFirstReferencesLastRootLoadedLast) {
    auto form = Load(R"(
object Form1: TTestForm
  Left = 1
  object A: TWidget
    Buddy = C
    Left = 2
    object B: TWidget
      Left = 3
    end
  end
  object C: TWidget
    Buddy = A
  end
end)");
    const std::vector<std::wstring> expected = {
        L"Form1.Left loading", L"A.Parent=Form1", L"A.Left loading", L"B.Parent=A",
        L"B.Left loading",     L"C.Parent=Form1", L"A.Buddy",        L"C.Buddy",
        L"A.Loaded",           L"B.Loaded",       L"C.Loaded",       L"Form1.Loaded"};
    EXPECT_EQ(journal, expected);
    auto* a = static_cast<TWidget*>(form->FindComponent(L"A"));
    auto* b = static_cast<TWidget*>(form->FindComponent(L"B"));
    auto* c = static_cast<TWidget*>(form->FindComponent(L"C"));
    EXPECT_EQ(a->Buddy(), c);
    EXPECT_EQ(c->Buddy(), a);
    EXPECT_EQ(b->parentComponent, a);
    EXPECT_EQ(b->Owner(), form.get()); // owned by the root, whatever the nesting
    EXPECT_EQ(form->ComponentCount(), 3);
}

TEST_F(DescriptionLoader, ALaterValueOverridesAnEarlierOneAndNilClears) {
    auto form = Load("object F: TTestForm\n object A: TWidget\n  Left = 1\n  Left = 7\n"
                     "  OnClick = PanelClick\n  OnClick = nil\n  Buddy = A\n  Buddy = nil\n"
                     " end\nend");
    auto* a = static_cast<TWidget*>(form->FindComponent(L"A"));
    EXPECT_EQ(a->Left(), 7);
    EXPECT_FALSE(a->onClick);
    // References resolve in the order written: A, then nil, which was set at once.
    EXPECT_EQ(a->Buddy(), a);
}

TEST_F(DescriptionLoader, TheRootMayBeADescendantOfTheDescribedClass) {
    auto form = Load("object F: TWidget\n Left = 4\nend");
    EXPECT_EQ(form->Left(), 4);
    EXPECT_EQ(ErrorOf("object F: TOther\nend"),
              L"line 1: the description is of 'TOther', not of TTestForm");
}

TEST_F(DescriptionLoader, AnErrorInOneLoadedStepLetsTheOthersRun) {
    auto form = MakeComponent<TTestForm>();
    EXPECT_THROW(LoadDescription("object F: TTestForm\n object Bomb: TWidget\n end\n"
                                 " object After: TWidget\n end\nend",
                                 *form, classes),
                 EInvalidOperation);
    EXPECT_NE(std::find(journal.begin(), journal.end(), L"After.Loaded"), journal.end());
    EXPECT_NE(std::find(journal.begin(), journal.end(), L"F.Loaded"), journal.end());
    EXPECT_FALSE(form->FindComponent(L"After")->IsLoading());
}

TEST_F(DescriptionLoader, AComponentFreedWhileLoadingIsNeverReachedAgain) {
    // Fragile = 99 frees Victim after Victim has queued a reference and before its loaded
    // step: neither may touch the freed object.
    auto form = Load("object F: TTestForm\n object Victim: TWidget\n  Buddy = Killer\n end\n"
                     " object Killer: TWidget\n  Fragile = 99\n end\nend");
    EXPECT_EQ(form->FindComponent(L"Victim"), nullptr);
    EXPECT_EQ(std::find(journal.begin(), journal.end(), L"Victim.Loaded"), journal.end());
}

struct LoaderErrorCase {
    const char* text;
    const wchar_t* message;
};
class DescriptionLoaderErrors : public DescriptionLoader,
                                public testing::WithParamInterface<LoaderErrorCase> {};

TEST_P(DescriptionLoaderErrors, NameTheLine) { EXPECT_EQ(ErrorOf(GetParam().text), GetParam().message); }

INSTANTIATE_TEST_SUITE_P(
    Cases, DescriptionLoaderErrors,
    testing::Values(
        LoaderErrorCase{"object F: TTestForm\n\n object L: TLabl\n end\nend",
                        L"line 3: unknown class 'TLabl'"},
        LoaderErrorCase{"object F: TTestForm\n object L: TWidget\n  Colour = clRed\n end\nend",
                        L"line 3: unknown property 'Colour' of TWidget"},
        LoaderErrorCase{"object F: TTestForm\n object L: TWidget\n  Font.Colour = clRed\n end\nend",
                        L"line 3: unknown property 'Colour' of TStyleFont"},
        LoaderErrorCase{"object F: TTestForm\n object L: TWidget\n  Caption.Name = 'x'\n end\nend",
                        L"line 3: 'Caption' of TWidget has no properties of its own"},
        LoaderErrorCase{"object F: TTestForm\n Font = 'Arial'\nend",
                        L"line 2: Font is set through its own properties (Font.Name = …)"},
        LoaderErrorCase{"object F: TTestForm\n Alignment = taMiddle\nend",
                        L"line 2: 'taMiddle' is not a value of TAlignment"},
        LoaderErrorCase{"object F: TTestForm\n Icons = [ikMin, ikHuge]\nend",
                        L"line 2: 'ikHuge' is not a value of TIconKind"},
        LoaderErrorCase{"object F: TTestForm\n Visible = Yes\nend",
                        L"line 2: Visible needs True or False, not 'Yes'"},
        LoaderErrorCase{"object F: TTestForm\n Left = 'ten'\nend",
                        L"line 2: Left needs a number, not a text"},
        LoaderErrorCase{"object F: TTestForm\n Left = 4294967296\nend",
                        L"line 2: Property Left needs an integer"},
        LoaderErrorCase{"object F: TTestForm\n Caption = Hello\nend",
                        L"line 2: Caption needs a text, not a name"},
        LoaderErrorCase{"object F: TTestForm\n Color = clPink\nend",
                        L"line 2: unknown colour 'clPink'"},
        LoaderErrorCase{"object F: TTestForm\n\n Buddy = Nobody\nend",
                        L"line 3: unknown component 'Nobody' for Buddy"},
        LoaderErrorCase{"object F: TTestForm\n object O: TOther\n end\n Buddy = O\nend",
                        L"line 4: Property Buddy needs TWidget"},
        LoaderErrorCase{"object F: TTestForm\n Buddy = Form2.Thing\nend",
                        L"line 2: components of other forms cannot be referred to ('Form2.Thing')"},
        LoaderErrorCase{"object F: TTestForm\n OnClick = PanelKlick\nend",
                        L"line 2: unknown method 'PanelKlick' for OnClick (TTestForm has no such handler)"},
        LoaderErrorCase{"object F: TTestForm\n OnClick = MouseMoved\nend",
                        L"line 2: The handler given to OnClick does not have the event's parameters"},
        LoaderErrorCase{"object F: TTestForm\n Lines = ('a' 2)\nend",
                        L"line 2: Lines holds texts only"},
        LoaderErrorCase{"object F: TTestForm\n Sections = < item\n Colour = 1\n end>\nend",
                        L"line 3: unknown property 'Colour' of TSection"},
        LoaderErrorCase{"object F: TTestForm\n Fragile = -1\nend",
                        L"line 2: Sorry, Fragile cannot be negative"},
        LoaderErrorCase{"object F: TTestForm\n object Panel: TOther\n end\nend",
                        L"line 2: Field Panel cannot hold a TOther"},
        LoaderErrorCase{"object F: TTestForm\n object A: TWidget\n end\n object a: TWidget\n end\nend",
                        L"line 4: A component named a already exists"},
        LoaderErrorCase{"object F: TTestForm\n Left = \xC3\n end",
                        L"line 2: unexpected byte 195 outside a text"}));

} // namespace
