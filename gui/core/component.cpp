#include "gui/core/component.h"

#include "gui/core/class_builder.h"
#include "gui/core/exceptions.h"
#include "gui/core/text.h"

#include <algorithm>

namespace nestora::gui {

const ClassInfo& TObject::StaticClassInfo() {
    static const ClassInfo info("TObject", nullptr, nullptr, {});
    return info;
}

std::string_view TObject::ClassName() const { return GetClassInfo().Name(); }

bool TObject::InheritsFrom(const ClassInfo& ancestor) const {
    return GetClassInfo().InheritsFrom(ancestor);
}

const ClassInfo& TPersistent::StaticClassInfo() {
    static const ClassInfo info("TPersistent", &TObject::StaticClassInfo(), nullptr, {});
    return info;
}

void TPersistent::Assign(const TPersistent& source) { source.AssignTo(*this); }

void TPersistent::AssignTo(TPersistent& dest) const {
    throw EConvertError(FormatText(L"Cannot assign a %s to a %s",
                                   {WidenAscii(ClassName()), WidenAscii(dest.ClassName())}));
}

const ClassInfo& TComponent::StaticClassInfo() {
    static const ClassInfo info =
        ClassBuilder<TComponent>("TComponent", &TPersistent::StaticClassInfo())
            .Text("Name", &TComponent::Name, &TComponent::SetName)
            .Int("Tag", &TComponent::Tag, &TComponent::SetTag)
            .Build();
    return info;
}

void ComponentDeleter::operator()(TComponent* component) const noexcept {
    if (!component)
        return;
    try {
        component->BeforeDestruction();
    } catch (...) {
        // Destruction goes on: a component half torn down is worse than a lost error.
    }
    delete component;
}

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    MarkDestroying();
    // Those who asked learn that this component goes away.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        try {
            other->Notification(this, TOperation::opRemove);
        } catch (...) {
        }
    }
    // Owned components go last-created first, without telling their siblings (they all go).
    while (!components_.empty()) {
        TComponent* child = components_.back();
        components_.pop_back();
        child->owner_ = nullptr;
        ComponentDeleter{}(child);
    }
    if (owner_) {
        try {
            owner_->RemoveComponent(this);
        } catch (...) {
        }
    }
}

void TComponent::SetName(const std::wstring& name) {
    if (name == name_)
        return;
    if (!IsValidIdentifier(name))
        throw EComponentError(
            FormatText(L"Component name \"%s\" is not a valid identifier", {name}));
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw EComponentError(FormatText(L"A component named %s already exists", {name}));
    }
    name_ = name;
}

TComponent* TComponent::FindComponent(std::wstring_view name) const {
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (EqualsIgnoreCaseAscii(c->name_, name))
            return c;
    return nullptr;
}

void TComponent::SetDesigning(bool designing) {
    if (designing)
        state_ |= csDesigning;
    else
        state_ &= ~csDesigning;
    for (TComponent* c : components_)
        c->SetDesigning(designing);
}

void TComponent::SetLoading(bool loading) {
    if (loading)
        state_ |= csLoading;
    else
        state_ &= ~csLoading;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    auto& theirs = other->freeNotifies_;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end())
        theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other)
        return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other),
                        freeNotifies_.end());
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Free() { ComponentDeleter{}(this); }

void TComponent::Loaded() { state_ &= ~csLoading; }

void TComponent::BeforeDestruction() { MarkDestroying(); }

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::MarkDestroying() {
    if (state_ & csDestroying)
        return;
    state_ |= csDestroying;
    for (TComponent* c : components_)
        c->MarkDestroying();
}

const std::any* TComponent::FindMethod(std::string_view) const { return nullptr; }

bool TComponent::BindField(std::wstring_view, TComponent*) { return false; }

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component) {
        // A dying component keeps no link to this one.
        freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                            freeNotifies_.end());
    }
    // Iterate over a copy: a handler may free or create components.
    const std::vector<TComponent*> snapshot = components_;
    for (TComponent* c : snapshot)
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(component, operation);
}

void TComponent::InsertComponent(TComponent* child) {
    child->owner_ = this;
    if (state_ & csDesigning)
        child->state_ |= csDesigning;
    components_.push_back(child);
    Notification(child, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* child) {
    auto it = std::find(components_.begin(), components_.end(), child);
    if (it == components_.end())
        return;
    components_.erase(it);
    child->owner_ = nullptr;
    Notification(child, TOperation::opRemove);
}

} // namespace nestora::gui
