// Ownership, names, free notification and the order of destruction of components.
#include "gui/core/class_builder.h"
#include "gui/core/component.h"
#include "gui/core/exceptions.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using nestora::gui::Create;
using nestora::gui::MakeComponent;
using nestora::gui::TComponent;
using nestora::gui::TOperation;

// Records what happens to it in a shared journal.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::vector<std::wstring>* journal, std::wstring name)
        : TComponent(owner), journal_(journal) {
        SetName(name);
    }
    ~Probe() override { journal_->push_back(L"~" + Name()); }
    void BeforeDestruction() override {
        TComponent::BeforeDestruction();
        journal_->push_back(L"before " + Name());
    }
    TComponent* reference = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c == reference) {
            reference = nullptr;
            journal_->push_back(Name() + L" dropped its reference");
        }
    }

private:
    std::vector<std::wstring>* journal_;
};

TEST(Component, OwnerFreesWhatItOwnsLastCreatedFirstAfterItsOwnBeforeDestruction) {
    std::vector<std::wstring> journal;
    {
        auto root = MakeComponent<Probe>(&journal, L"Root");
        Create<Probe>(root.get(), &journal, L"A");
        Create<Probe>(root.get(), &journal, L"B");
        ASSERT_EQ(root->ComponentCount(), 2);
        EXPECT_EQ(root->Components(0)->Name(), L"A");
        EXPECT_EQ(root->Components(1)->Name(), L"B");
    }
    const std::vector<std::wstring> expected = {L"before Root", L"~Root", L"before B", L"~B",
                                                L"before A", L"~A"};
    EXPECT_EQ(journal, expected);
}

TEST(Component, DestroyingMarksTheWholeTreeBeforeAnyDestructorRuns) {
    auto root = MakeComponent<TComponent>();
    auto* child = Create<TComponent>(root.get());
    auto* grandChild = Create<TComponent>(child);
    root->BeforeDestruction();
    EXPECT_TRUE(child->IsDestroying());
    EXPECT_TRUE(grandChild->IsDestroying());
}

TEST(Component, FreedComponentLeavesItsOwnerAndSiblingsDropTheirReferences) {
    std::vector<std::wstring> journal;
    auto root = MakeComponent<Probe>(&journal, L"Root");
    auto* menu = Create<Probe>(root.get(), &journal, L"Menu");
    auto* tray = Create<Probe>(root.get(), &journal, L"Tray");
    tray->reference = menu; // no FreeNotification: siblings hear it through the owner
    menu->Free();
    EXPECT_EQ(root->ComponentCount(), 1);
    EXPECT_EQ(tray->reference, nullptr);
    EXPECT_EQ(root->FindComponent(L"Menu"), nullptr);
}

TEST(Component, FreeNotificationReachesAComponentWithAnotherOwner) {
    std::vector<std::wstring> journal;
    auto formA = MakeComponent<Probe>(&journal, L"FormA");
    auto formB = MakeComponent<Probe>(&journal, L"FormB");
    auto* theme = Create<Probe>(formA.get(), &journal, L"Theme");
    auto* user = Create<Probe>(formB.get(), &journal, L"User");
    user->reference = theme;
    user->FreeNotification(theme);
    formA.reset();
    EXPECT_EQ(user->reference, nullptr);
    // And the link is gone both ways: destroying the user later touches nothing dead.
    formB.reset();
    EXPECT_EQ(journal.back(), L"~User");
}

TEST(Component, RemovedFreeNotificationIsNotCalled) {
    std::vector<std::wstring> journal;
    auto a = MakeComponent<Probe>(&journal, L"A");
    auto b = MakeComponent<Probe>(&journal, L"B");
    b->reference = a.get();
    b->FreeNotification(a.get());
    b->RemoveFreeNotification(a.get());
    const TComponent* const before = a.get();
    a.reset();
    // b heard nothing: it still holds the (now stale) pointer, compared, never used.
    EXPECT_EQ(b->reference, before);
}

TEST(Component, NamesAreIdentifiersAndUniqueAmongSiblingsIgnoringCase) {
    auto root = MakeComponent<TComponent>();
    auto* a = Create<TComponent>(root.get());
    auto* b = Create<TComponent>(root.get());
    a->SetName(L"Label1");
    EXPECT_THROW(b->SetName(L"label1"), nestora::gui::EComponentError);
    EXPECT_THROW(b->SetName(L"1abel"), nestora::gui::EComponentError);
    EXPECT_THROW(b->SetName(L"La bel"), nestora::gui::EComponentError);
    EXPECT_NO_THROW(b->SetName(L"_Label2"));
    EXPECT_EQ(root->FindComponent(L"LABEL1"), a);
    EXPECT_NO_THROW(a->SetName(L"")); // unnamed is allowed, and many may be unnamed
    EXPECT_NO_THROW(b->SetName(L""));
}

TEST(Component, DesignModeIsInheritedFromTheOwnerAndSpreadsDown) {
    auto root = MakeComponent<TComponent>();
    root->SetDesigning(true);
    auto* child = Create<TComponent>(root.get());
    EXPECT_TRUE(child->IsDesigning());
    auto* grandChild = Create<TComponent>(child);
    root->SetDesigning(false);
    EXPECT_FALSE(grandChild->IsDesigning());
}

class Throwing : public TComponent {
public:
    explicit Throwing(TComponent* owner) : TComponent(owner) { throw std::runtime_error("no"); }
};

TEST(Component, AConstructorThatThrowsLeavesNoDanglingEntryInItsOwner) {
    auto root = MakeComponent<TComponent>();
    EXPECT_THROW(Create<Throwing>(root.get()), std::runtime_error);
    EXPECT_EQ(root->ComponentCount(), 0);
}

TEST(Component, CreateWithoutOwnerIsRefused) {
    EXPECT_THROW(Create<TComponent>(nullptr), nestora::gui::EComponentError);
}

} // namespace
