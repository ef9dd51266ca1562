#include "gui/core/description_loader.h"

#include "gui/core/collection.h"
#include "gui/core/color.h"
#include "gui/core/component.h"
#include "gui/core/exceptions.h"
#include "gui/core/text.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace nestora::gui {

namespace {

[[noreturn]] void Fail(int line, std::wstring_view what) {
    throw EDescriptionError(L"line " + IntToStr(line) + L": " + std::wstring(what));
}

std::wstring Quoted(std::string_view s) { return L"'" + WidenAscii(s) + L"'"; }
std::wstring ClassOf(const TObject& o) { return WidenAscii(o.ClassName()); }

// Keeps track of the components the loader made: one that is freed while the description
// is still being read (by a setter of another component, say) drops out of the list, so
// nothing later reaches it.
class CreatedComponents : public TComponent {
public:
    CreatedComponents() : TComponent(nullptr) {}
    ~CreatedComponents() override {
        for (TComponent* c : list_)
            if (c)
                RemoveFreeNotification(c);
    }
    void Add(TComponent* c) {
        FreeNotification(c);
        list_.push_back(c);
    }
    bool Alive(const TComponent* c) const {
        return c && std::find(list_.begin(), list_.end(), c) != list_.end();
    }
    const std::vector<TComponent*>& List() const { return list_; }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove)
            std::replace(list_.begin(), list_.end(), component, static_cast<TComponent*>(nullptr));
    }

private:
    std::vector<TComponent*> list_;
};

// Where an object that receives properties lives: a component, then nested objects and
// collection items by property name (and item index). Deferred references walk it again
// when they are resolved, so an item replaced in between is never reached through a stale
// pointer.
struct Step {
    std::string property;
    int item = -1; // collection item index, or -1 for a nested object
};
struct Address {
    TComponent* component = nullptr;
    std::vector<Step> steps;
};

struct PendingReference {
    Address target;
    std::string property;
    std::string name;
    int line = 0;
};

std::vector<std::string> SplitDotted(const std::string& s) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = s.find('.', start);
        parts.push_back(s.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos)
            return parts;
        start = dot + 1;
    }
}

const wchar_t* KindName(DescriptionValue::Kind kind) {
    switch (kind) {
    case DescriptionValue::Kind::Integer:
        return L"a number";
    case DescriptionValue::Kind::Text:
        return L"a text";
    case DescriptionValue::Kind::Identifier:
        return L"a name";
    case DescriptionValue::Kind::Set:
        return L"a set";
    case DescriptionValue::Kind::List:
        return L"a list";
    case DescriptionValue::Kind::Collection:
        return L"a collection";
    }
    return L"a value";
}

class Loader {
public:
    Loader(TComponent& root, const ClassRegistry& classes) : root_(root), classes_(classes) {}

    void Load(const DescriptionObject& description) {
        if (!RootClassMatches(description.className))
            Fail(description.line, L"the description is of " + Quoted(description.className) +
                                       L", not of " + ClassOf(root_));
        root_.SetLoading(true);
        try {
            if (!description.name.empty() && description.name != root_.Name())
                NameRoot(description);
            ApplyProperties(root_, Address{&root_, {}}, description.properties);
            for (const DescriptionObject& child : description.children)
                CreateObject(child, root_);
            ResolveReferences();
        } catch (...) {
            for (TComponent* c : created_.List())
                if (c)
                    c->SetLoading(false);
            root_.SetLoading(false);
            throw;
        }
        RunLoaded();
    }

private:
    bool RootClassMatches(std::string_view className) const {
        for (const ClassInfo* c = &root_.GetClassInfo(); c; c = c->Parent())
            if (EqualsIgnoreCaseAscii(c->Name(), className))
                return true;
        return false;
    }

    void NameRoot(const DescriptionObject& description) {
        // A second instance of the same form beside the first stays unnamed rather than
        // failing: the name is only a label for the root.
        const TComponent* owner = root_.Owner();
        if (owner && owner->FindComponent(description.name))
            return;
        Guarded(description.line, [&] { root_.SetName(description.name); });
    }

    template <class F> static void Guarded(int line, F&& action) {
        try {
            action();
        } catch (const EDescriptionError& e) {
            // Already located when it starts with "line ".
            if (e.Message().rfind(L"line ", 0) == 0)
                throw;
            Fail(line, e.Message());
        } catch (const Exception& e) {
            Fail(line, e.Message());
        }
    }

    void CreateObject(const DescriptionObject& description, TComponent& enclosing) {
        const ClassInfo* info = classes_.Find(description.className);
        if (!info)
            Fail(description.line, L"unknown class " + Quoted(description.className));
        if (!info->GetFactory())
            Fail(description.line, L"objects of class " + Quoted(description.className) +
                                       L" cannot be created");
        TComponent* component = nullptr;
        Guarded(description.line, [&] { component = info->GetFactory()(&root_); });
        created_.Add(component);
        component->SetLoading(true);
        Guarded(description.line, [&] {
            if (!description.name.empty()) {
                component->SetName(description.name);
                root_.BindField(description.name, component);
            }
            component->SetParentComponent(&enclosing);
        });
        ApplyProperties(*component, Address{component, {}}, description.properties);
        for (const DescriptionObject& child : description.children) {
            if (!created_.Alive(component))
                Fail(child.line, L"the enclosing object was destroyed while loading");
            CreateObject(child, *component);
        }
    }

    void ApplyProperties(TObject& object, const Address& address,
                         const std::vector<DescriptionProperty>& properties) {
        for (const DescriptionProperty& p : properties) {
            if (address.component && !Reachable(address.component))
                Fail(p.line, L"the object was destroyed while loading");
            ApplyProperty(object, address, p);
        }
    }

    bool Reachable(const TComponent* c) const { return c == &root_ || created_.Alive(c); }

    void ApplyProperty(TObject& object, const Address& address, const DescriptionProperty& p) {
        const std::vector<std::string> path = SplitDotted(p.name);
        TObject* current = &object;
        Address currentAddress = address;
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            const PropertyInfo* info = current->GetClassInfo().FindProperty(path[i]);
            if (!info)
                Fail(p.line, L"unknown property " + Quoted(path[i]) + L" of " + ClassOf(*current));
            if (info->kind != PropertyKind::Object || !info->object)
                Fail(p.line, Quoted(path[i]) + L" of " + ClassOf(*current) +
                                 L" has no properties of its own");
            TPersistent* nested = info->object(*current);
            if (!nested)
                Fail(p.line, Quoted(path[i]) + L" of " + ClassOf(*current) + L" is not there");
            current = nested;
            currentAddress.steps.push_back({path[i], -1});
        }
        const std::string& name = path.back();
        const PropertyInfo* info = current->GetClassInfo().FindProperty(name);
        if (!info)
            Fail(p.line, L"unknown property " + Quoted(name) + L" of " + ClassOf(*current));
        SetValue(*current, currentAddress, *info, p.value, p.line);
    }

    void Expect(const DescriptionValue& v, DescriptionValue::Kind kind, const PropertyInfo& info,
                int line) {
        if (v.kind != kind)
            Fail(line, WidenAscii(info.name) + L" needs " + KindName(kind) + L", not " +
                           KindName(v.kind));
    }

    void SetValue(TObject& object, const Address& address, const PropertyInfo& info,
                  const DescriptionValue& v, int line) {
        using K = DescriptionValue::Kind;
        if (info.kind == PropertyKind::Object)
            Fail(line, WidenAscii(info.name) + L" is set through its own properties (" +
                           WidenAscii(info.name) + L".Name = …)");
        if (info.kind == PropertyKind::Collection) {
            Expect(v, K::Collection, info, line);
            LoadCollection(object, address, info, v, line);
            return;
        }
        if (!info.set)
            Fail(line, L"property " + Quoted(info.name) + L" of " + ClassOf(object) +
                           L" cannot be set");
        PropertyValue value;
        switch (info.kind) {
        case PropertyKind::Boolean: {
            Expect(v, K::Identifier, info, line);
            if (EqualsIgnoreCaseAscii(v.identifier, "True"))
                value = true;
            else if (EqualsIgnoreCaseAscii(v.identifier, "False"))
                value = false;
            else
                Fail(line, WidenAscii(info.name) + L" needs True or False, not " +
                               Quoted(v.identifier));
            break;
        }
        case PropertyKind::Integer:
            Expect(v, K::Integer, info, line);
            value = v.integer;
            break;
        case PropertyKind::Enumeration: {
            Expect(v, K::Identifier, info, line);
            const auto ordinal = info.enumInfo ? info.enumInfo->Find(v.identifier) : std::nullopt;
            if (!ordinal)
                Fail(line, Quoted(v.identifier) + L" is not a value of " + EnumTypeName(info));
            value = std::int64_t{*ordinal};
            break;
        }
        case PropertyKind::Set: {
            Expect(v, K::Set, info, line);
            std::int64_t bits = 0;
            for (const std::string& element : v.names) {
                const auto ordinal =
                    info.enumInfo ? info.enumInfo->Find(element) : std::nullopt;
                if (!ordinal || *ordinal >= 63)
                    Fail(line, Quoted(element) + L" is not a value of " + EnumTypeName(info));
                bits |= std::int64_t{1} << *ordinal;
            }
            value = bits;
            break;
        }
        case PropertyKind::Text:
            Expect(v, K::Text, info, line);
            value = v.text;
            break;
        case PropertyKind::Color:
            if (v.kind == K::Integer) {
                value = v.integer;
            } else if (v.kind == K::Identifier) {
                const auto color = ColorFromName(v.identifier);
                if (!color)
                    Fail(line, L"unknown colour " + Quoted(v.identifier));
                value = std::int64_t{*color};
            } else {
                Fail(line, WidenAscii(info.name) + L" needs a colour (a number or a colour name)");
            }
            break;
        case PropertyKind::Component:
            Expect(v, K::Identifier, info, line);
            if (EqualsIgnoreCaseAscii(v.identifier, "nil")) {
                value = static_cast<TComponent*>(nullptr);
                break;
            }
            if (v.identifier.find('.') != std::string::npos)
                Fail(line, L"components of other forms cannot be referred to (" +
                               Quoted(v.identifier) + L")");
            pending_.push_back({address, info.name, v.identifier, line});
            return;
        case PropertyKind::Picture:
            if (v.kind == K::Text)
                value = v.text;
            else if (v.kind == K::Identifier)
                value = WidenAscii(v.identifier);
            else
                Fail(line, WidenAscii(info.name) + L" needs a resource name");
            break;
        case PropertyKind::Event: {
            Expect(v, K::Identifier, info, line);
            if (EqualsIgnoreCaseAscii(v.identifier, "nil")) {
                value = std::any();
                break;
            }
            const std::any* method = root_.FindMethod(v.identifier);
            if (!method)
                Fail(line, L"unknown method " + Quoted(v.identifier) + L" for " +
                               WidenAscii(info.name) + L" (" + ClassOf(root_) +
                               L" has no such handler)");
            value = *method;
            break;
        }
        case PropertyKind::StringList: {
            Expect(v, K::List, info, line);
            std::vector<std::wstring> texts;
            for (const DescriptionValue& element : v.elements) {
                if (element.kind != K::Text)
                    Fail(element.line, WidenAscii(info.name) + L" holds texts only");
                texts.push_back(element.text);
            }
            value = std::move(texts);
            break;
        }
        case PropertyKind::Object:
        case PropertyKind::Collection:
            return; // handled above
        }
        Guarded(line, [&] { info.Set(object, value); });
    }

    static std::wstring EnumTypeName(const PropertyInfo& info) {
        return info.enumInfo ? WidenAscii(info.enumInfo->typeName) : WidenAscii(info.name);
    }

    void LoadCollection(TObject& object, const Address& address, const PropertyInfo& info,
                        const DescriptionValue& v, int line) {
        auto* collection = info.object ? dynamic_cast<TCollection*>(info.object(object)) : nullptr;
        if (!collection)
            Fail(line, Quoted(info.name) + L" of " + ClassOf(object) + L" is not there");
        collection->BeginUpdate();
        try {
            Guarded(line, [&] { collection->Clear(); });
            for (std::size_t i = 0; i < v.items.size(); ++i) {
                TCollectionItem* item = nullptr;
                Guarded(v.items[i].line, [&] { item = collection->Add(); });
                Address itemAddress = address;
                itemAddress.steps.push_back({info.name, collection->Count() - 1});
                ApplyProperties(*item, itemAddress, v.items[i].properties);
            }
        } catch (...) {
            collection->EndUpdate();
            throw;
        }
        Guarded(line, [&] { collection->EndUpdate(); });
    }

    // Walks an address again; null when the object is gone.
    TObject* Reach(const Address& address) const {
        if (!Reachable(address.component))
            return nullptr;
        TObject* current = address.component;
        for (const Step& step : address.steps) {
            const PropertyInfo* info = current->GetClassInfo().FindProperty(step.property);
            if (!info || !info->object)
                return nullptr;
            TPersistent* nested = info->object(*current);
            if (!nested)
                return nullptr;
            if (step.item >= 0) {
                auto* collection = dynamic_cast<TCollection*>(nested);
                if (!collection || step.item >= collection->Count())
                    return nullptr;
                current = collection->Item(step.item);
            } else {
                current = nested;
            }
        }
        return current;
    }

    void ResolveReferences() {
        for (const PendingReference& ref : pending_) {
            TComponent* found = EqualsIgnoreCaseAscii(root_.Name(), WidenAscii(ref.name))
                                    ? &root_
                                    : root_.FindComponent(WidenAscii(ref.name));
            if (!found)
                Fail(ref.line, L"unknown component " + Quoted(ref.name) + L" for " +
                                   WidenAscii(ref.property));
            if (!Reachable(ref.target.component))
                continue; // freed while loading: nothing is left to refer from
            TObject* target = Reach(ref.target);
            if (!target)
                Fail(ref.line, L"the object of " + WidenAscii(ref.property) +
                                   L" was replaced or destroyed while loading");
            const PropertyInfo* info = target->GetClassInfo().FindProperty(ref.property);
            if (!info || !info->set)
                Fail(ref.line, L"property " + Quoted(ref.property) + L" cannot be set");
            Guarded(ref.line, [&] { info->Set(*target, PropertyValue(found)); });
        }
    }

    void RunLoaded() {
        std::exception_ptr first;
        auto run = [&first](TComponent& c) {
            try {
                c.Loaded();
            } catch (...) {
                c.SetLoading(false);
                if (!first)
                    first = std::current_exception();
            }
        };
        // Copy: a Loaded() may create further components (they are not part of this load).
        const std::vector<TComponent*> list = created_.List();
        for (TComponent* c : list)
            if (c && created_.Alive(c))
                run(*c);
        run(root_);
        if (first)
            std::rethrow_exception(first);
    }

    TComponent& root_;
    const ClassRegistry& classes_;
    CreatedComponents created_;
    std::vector<PendingReference> pending_;
};

} // namespace

void LoadDescription(const DescriptionObject& description, TComponent& root,
                     const ClassRegistry& classes) {
    Loader loader(root, classes);
    loader.Load(description);
}

void LoadDescription(std::string_view utf8, TComponent& root, const ClassRegistry& classes) {
    LoadDescription(ParseDescription(utf8), root, classes);
}

} // namespace nestora::gui
