#pragma once
// TComponent: an object with an owner, a name and owned components.
//
// Life story:
//   created   gui::Create<T>(owner, …) — the owner owns it from then on and frees it with
//             itself; or gui::MakeComponent<T>(…) for a component nobody owns, held by the
//             returned ComponentPtr. Components inherit the owner's design-mode flag. Once
//             the whole constructor chain has run, AfterConstruction() follows (forms raise
//             their create event there); if it throws, the component is freed again.
//   loaded    a window description sets its properties (csLoading is set meanwhile), then
//             calls Loaded() on every component it created, in creation order.
//   referred  a component that keeps a pointer to another it does not own asks for
//             FreeNotification(other); when other is destroyed, Notification(other,
//             opRemove) arrives and the pointer must be cleared there. Owners also pass
//             every insert/remove of an owned component on to all their components.
//   destroyed Free(), or the owner's destruction, or the ComponentPtr going away: first
//             BeforeDestruction() (csDestroying on it and all it owns; forms raise their
//             destroy event here, while everything is still alive), then the C++ destructor
//             chain, whose last step (~TComponent) notifies those who asked, frees the owned
//             components last-created first, and leaves the owner.
//
// Never delete a component with plain delete: always Free() or a ComponentPtr.

#include "gui/core/exceptions.h"
#include "gui/core/object.h"

#include <any>
#include <type_traits>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace nestora::gui {

enum ComponentStateFlag : unsigned {
    csLoading = 1u << 0,    // a window description is being read into it
    csDestroying = 1u << 1, // it is being destroyed
    csDesigning = 1u << 2,  // a form designer edits it: no operating-system side effects
};

enum class TOperation { opInsert, opRemove };

class TComponent;

struct ComponentDeleter {
    void operator()(TComponent* component) const noexcept;
};
template <class T> using ComponentPtr = std::unique_ptr<T, ComponentDeleter>;

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    TComponent* Owner() const { return owner_; }

    const std::wstring& Name() const { return name_; }
    // Fails with EComponentError when the name is not an identifier or a sibling already
    // carries it (compared without regard to case).
    void SetName(const std::wstring& name);

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // Owned components in creation order.
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }
    const std::vector<TComponent*>& ComponentList() const { return components_; }
    // The owned component of that name (case-insensitive), or null.
    TComponent* FindComponent(std::wstring_view name) const;

    unsigned ComponentState() const { return state_; }
    bool IsLoading() const { return (state_ & csLoading) != 0; }
    bool IsDestroying() const { return (state_ & csDestroying) != 0; }
    bool IsDesigning() const { return (state_ & csDesigning) != 0; }
    // Design mode for this component and everything it owns (tests use it to reach the
    // "in design mode" branches; a designer would set it before loading).
    void SetDesigning(bool designing);
    // Marks the start of reading a description into this component (Loaded() ends it).
    void SetLoading(bool loading);

    // Ask to be told (Notification with opRemove) when other is destroyed, and tell other
    // the same about this one.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Destroys this component now; its owner lets go of it.
    void Free();

    // Runs once the most derived constructor has finished (see Create/MakeComponent).
    virtual void AfterConstruction() {}
    // The last step of reading a description; clears csLoading.
    virtual void Loaded();
    // A description nests this component inside parent's block: controls take it as their
    // parent control, menu items as their parent item. The default ignores it.
    virtual void SetParentComponent(TComponent* parent);
    // Runs while the component is still whole, just before destruction.
    virtual void BeforeDestruction();

    // A root component (a form) publishes its handlers and its component fields by name so
    // that a description can bind events ("OnCreate = FormCreate") and fields ("Label1").
    // FindMethod gives the handler as an std::any holding its std::function type.
    virtual const std::any* FindMethod(std::string_view name) const;
    // Returns false when no field of that name exists; throws EComponentError when the
    // field exists but cannot hold that component's class.
    virtual bool BindField(std::wstring_view name, TComponent* component);

protected:
    // A component was inserted into or removed from this one's owner, or a component this
    // one asked about is being destroyed. The default passes the news on to all owned
    // components. Overrides call the base first, and must only compare or clear pointers
    // to the component concerned: it may be half destroyed.
    virtual void Notification(TComponent* component, TOperation operation);

private:
    friend struct ComponentDeleter;
    template <class T, class... A> friend T* Create(TComponent* owner, A&&... args);

    void InsertComponent(TComponent* child);
    void RemoveComponent(TComponent* child);
    void MarkDestroying();

    TComponent* owner_ = nullptr;
    std::wstring name_;
    int tag_ = 0;
    unsigned state_ = 0;
    std::vector<TComponent*> components_;   // owned, creation order
    std::vector<TComponent*> freeNotifies_; // mutual "tell me when you die" links
};

// Creates a component owned by owner (which must not be null) and returns it; the owner
// frees it. Constructors of components take the owner as their first argument.
template <class T, class... A> T* Create(TComponent* owner, A&&... args) {
    static_assert(std::is_base_of_v<TComponent, T>);
    if (!owner)
        throw EComponentError(L"gui::Create needs an owner; use MakeComponent");
    // The constructor registers the new component with its owner, which frees it; when a
    // constructor throws, ~TComponent takes it out of the owner's list again.
    T* component = new T(owner, std::forward<A>(args)...);
    try {
        component->AfterConstruction();
    } catch (...) {
        component->Free();
        throw;
    }
    return component;
}

// Creates a component without owner, held by the returned pointer.
template <class T, class... A> ComponentPtr<T> MakeComponent(A&&... args) {
    static_assert(std::is_base_of_v<TComponent, T>);
    ComponentPtr<T> component(new T(nullptr, std::forward<A>(args)...));
    component->AfterConstruction();
    return component;
}

} // namespace nestora::gui
