#include "gui/core/collection.h"

#include "gui/core/class_builder.h"

#include <algorithm>

namespace nestora::gui {

const ClassInfo& TCollectionItem::StaticClassInfo() {
    static const ClassInfo info("TCollectionItem", &TPersistent::StaticClassInfo(), nullptr, {});
    return info;
}

int TCollectionItem::Index() const {
    if (!collection_)
        return -1;
    for (int i = 0; i < collection_->Count(); ++i)
        if (collection_->Item(i) == this)
            return i;
    return -1;
}

void TCollectionItem::SetIndex(int index) {
    const int current = Index();
    if (current >= 0 && index != current)
        collection_->Move(current, index);
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_)
        collection_->Changed(allItems ? nullptr : this);
}

const ClassInfo& TCollection::StaticClassInfo() {
    static const ClassInfo info("TCollection", &TPersistent::StaticClassInfo(), nullptr, {});
    return info;
}

TCollection::TCollection(TPersistent* owner, ItemFactory factory)
    : owner_(owner), factory_(std::move(factory)) {}

TCollection::~TCollection() {
    // Items go without telling the owner: it is going away too.
    updateCount_ = 1;
    items_.clear();
}

TCollectionItem* TCollection::Add() { return Insert(Count()); }

TCollectionItem* TCollection::Insert(int index) {
    index = std::clamp(index, 0, Count());
    auto item = factory_(this);
    TCollectionItem* raw = item.get();
    items_.insert(items_.begin() + index, std::move(item));
    Changed(nullptr);
    return raw;
}

void TCollection::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    items_.erase(items_.begin() + index);
    Changed(nullptr);
}

void TCollection::Clear() {
    if (items_.empty())
        return;
    items_.clear();
    Changed(nullptr);
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0)
        Update(nullptr);
}

void TCollection::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TCollection*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    try {
        items_.clear();
        for (int i = 0; i < other->Count(); ++i)
            Add()->Assign(*other->Item(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed(TCollectionItem* item) {
    if (updateCount_ == 0)
        Update(item);
}

void TCollection::Move(int from, int to) {
    to = std::clamp(to, 0, Count() - 1);
    auto item = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
    Changed(nullptr);
}

} // namespace nestora::gui
