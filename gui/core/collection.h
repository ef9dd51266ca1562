#pragma once
// TCollection and TCollectionItem: ordered lists of typed items that know their owner and
// tell it when an item changes (the owner repaints, re-lays out …).
//
// Life story: a collection is created by its owner with a factory for its item class; items
// are made by Add() (or Insert) and live in the collection until Delete/Clear or the
// collection's end. An item's setters call Changed(), which reaches the collection's
// Update() — unless updates are suspended with BeginUpdate/EndUpdate, after which one
// Update(nullptr) ("everything changed") follows. Assign copies the items, never shares.

#include "gui/core/object.h"

#include <functional>
#include <memory>
#include <vector>

namespace nestora::gui {

class TCollection;

class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TCollection* Collection() const { return collection_; }
    int Index() const;
    // Moves the item to another place in its collection.
    void SetIndex(int index);

protected:
    // Tells the collection this item changed (allItems: the change concerns them all).
    void Changed(bool allItems = false);

private:
    friend class TCollection;
    TCollection* collection_;
};

class TCollection : public TPersistent {
public:
    using ItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;

    TCollection(TPersistent* owner, ItemFactory factory);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TPersistent* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Item(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }

    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

    // Replaces the items with copies of source's items (same item class expected).
    void Assign(const TPersistent& source) override;

protected:
    // An item changed (null: several or all changed, or items were added or removed).
    virtual void Update(TCollectionItem* item);

private:
    friend class TCollectionItem;
    void Changed(TCollectionItem* item);
    void Move(int from, int to);

    TPersistent* owner_;
    ItemFactory factory_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
    int updateCount_ = 0;
};

// A collection of one item class with typed access, for owners of type O.
template <class ItemT, class O> class TOwnedCollection : public TCollection {
public:
    explicit TOwnedCollection(O* owner)
        : TCollection(owner, [](TCollection* c) { return std::make_unique<ItemT>(c); }),
          typedOwner_(owner) {}
    ItemT* Add() { return static_cast<ItemT*>(TCollection::Add()); }
    ItemT* Items(int index) const { return static_cast<ItemT*>(TCollection::Item(index)); }
    ItemT* operator[](int index) const { return Items(index); }
    O* OwnerObject() const { return typedOwner_; }

private:
    O* typedOwner_;
};

} // namespace nestora::gui
