#pragma once
// ClassBuilder<T>: declares a class's published properties in declaration order.
//
//     const ClassInfo& TLabel::StaticClassInfo() {
//         static const ClassInfo info =
//             ClassBuilder<TLabel>("TLabel", &TWinControl::StaticClassInfo())
//                 .Creatable()
//                 .Text("Caption", &TLabel::Caption, &TLabel::SetCaption)
//                 .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
//                 .Event<TNotifyEvent>("OnClick", &TLabel::SetOnClick)
//                 .Build();
//         return info;
//     }
//
// Getters and setters are member functions (or any callable taking T&). A getter may be
// nullptr for a write-only property. Values of the wrong kind raise EDescriptionError
// naming the property.

#include "gui/core/class_info.h"
#include "gui/core/component.h"
#include "gui/core/exceptions.h"
#include "gui/core/object.h"
#include "gui/core/text.h"

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>

namespace gui {

namespace detail {

[[noreturn]] void ThrowWrongValue(std::string_view property, std::string_view expected);

template <class V>
const V& ValueAs(const PropertyValue& v, std::string_view property, std::string_view expected) {
    if (const V* p = std::get_if<V>(&v))
        return *p;
    ThrowWrongValue(property, expected);
}

// The accessors the builder stores, as named types rather than lambdas: a lambda's type is
// named after the whole template function that made it, and every such name is kept in the
// executable for std::function (some 70 KB of names for the framework's classes).
template <class T> TComponent* CreateOf(TComponent* owner) {
    return Create<T>(owner);
}

template <class T, class S> struct SetText {
    S set;
    std::string property;
    void operator()(TObject& o, const PropertyValue& v) const {
        std::invoke(set, static_cast<T&>(o), ValueAs<std::wstring>(v, property, "a text"));
    }
};

template <class T, class G> struct GetText {
    G get;
    PropertyValue operator()(const TObject& o) const {
        return PropertyValue(std::wstring(std::invoke(get, static_cast<const T&>(o))));
    }
};

// Enumerations, sets, colours and integers all read as an int64.
template <class T, class G> struct GetInt64 {
    G get;
    PropertyValue operator()(const TObject& o) const {
        return PropertyValue(static_cast<std::int64_t>(std::invoke(get, static_cast<const T&>(o))));
    }
};

template <class T, class G> struct GetBool {
    G get;
    PropertyValue operator()(const TObject& o) const {
        return PropertyValue(static_cast<bool>(std::invoke(get, static_cast<const T&>(o))));
    }
};

template <class T, class E, class S> struct SetEnum {
    S set;
    std::string property;
    const EnumInfo* info;
    void operator()(TObject& o, const PropertyValue& v) const {
        const auto ord = ValueAs<std::int64_t>(v, property, "an enumeration value");
        if (ord < 0 || static_cast<std::size_t>(ord) >= info->names.size())
            ThrowWrongValue(property, info->typeName);
        std::invoke(set, static_cast<T&>(o), static_cast<E>(ord));
    }
};

template <class T, class M, class S> struct SetMask {
    S set;
    std::string property;
    void operator()(TObject& o, const PropertyValue& v) const {
        std::invoke(set, static_cast<T&>(o),
                    static_cast<M>(ValueAs<std::int64_t>(v, property, "a set")));
    }
};

template <class T, class C, class S> struct SetComponent {
    S set;
    std::string property;
    void operator()(TObject& o, const PropertyValue& v) const {
        TComponent* c = ValueAs<TComponent*>(v, property, "a component");
        C* typed = nullptr;
        if (c) {
            typed = dynamic_cast<C*>(c);
            if (!typed)
                ThrowWrongValue(property, C::StaticClassInfo().Name());
        }
        std::invoke(set, static_cast<T&>(o), typed);
    }
};

template <class T, class G> struct GetComponent {
    G get;
    PropertyValue operator()(const TObject& o) const {
        return PropertyValue(static_cast<TComponent*>(std::invoke(get, static_cast<const T&>(o))));
    }
};

template <class T, class G> struct GetNested {
    G get;
    TPersistent* operator()(TObject& o) const { return std::invoke(get, static_cast<T&>(o)); }
};

// A property whose value is passed on as it is stored (pictures, string lists).
template <class T, class V, class S> struct SetStored {
    S set;
    std::string property;
    const char* expected;
    void operator()(TObject& o, const PropertyValue& v) const {
        std::invoke(set, static_cast<T&>(o), ValueAs<V>(v, property, expected));
    }
};

template <class T, class Sig, class S> struct SetEvent {
    S set;
    std::string property;
    void operator()(TObject& o, const PropertyValue& v) const {
        const std::any& handler = ValueAs<std::any>(v, property, "an event handler");
        if (!handler.has_value()) {
            std::invoke(set, static_cast<T&>(o), Sig{});
            return;
        }
        const Sig* typed = std::any_cast<Sig>(&handler);
        if (!typed)
            throw EDescriptionError(
                FormatText(L"The handler given to %s does not have the event's parameters",
                           {WidenAscii(property)}));
        std::invoke(set, static_cast<T&>(o), *typed);
    }
};

// Integers and colours: a value that does not fit is refused, never cut short. Unsigned
// 32-bit values (colours) may also be written as their signed form.
template <class T, class Native, class S> struct SetInt {
    S set;
    std::string property;
    const char* expected;
    void operator()(TObject& o, const PropertyValue& v) const {
        const std::int64_t value = ValueAs<std::int64_t>(v, property, expected);
        constexpr std::int64_t lo = std::is_signed_v<Native>
                                        ? std::int64_t{std::numeric_limits<Native>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::min()};
        constexpr std::int64_t hi = std::int64_t{std::numeric_limits<Native>::max()};
        if (value < lo || value > hi)
            ThrowWrongValue(property, expected);
        std::invoke(set, static_cast<T&>(o), static_cast<Native>(value));
    }
};

template <class T, class S> struct SetBool {
    S set;
    std::string property;
    void operator()(TObject& o, const PropertyValue& v) const {
        std::invoke(set, static_cast<T&>(o), ValueAs<bool>(v, property, "True or False"));
    }
};

} // namespace detail

template <class T> class ClassBuilder {
public:
    ClassBuilder(std::string name, const ClassInfo* parent)
        : name_(std::move(name)), parent_(parent) {}

    // Description loaders may create it: T must be constructible from its owner.
    ClassBuilder& Creatable() {
        factory_ = &detail::CreateOf<T>;
        return *this;
    }

    template <class G, class S> ClassBuilder& Bool(std::string name, G get, S set) {
        PropertyInfo p = Named(std::move(name), PropertyKind::Boolean);
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = detail::SetBool<T, S>{set, p.name};
        if constexpr (!std::is_null_pointer_v<G>)
            p.get = detail::GetBool<T, G>{get};
        return Add(std::move(p));
    }

    template <class G, class S> ClassBuilder& Int(std::string name, G get, S set) {
        return Integer<int>(std::move(name), PropertyKind::Integer, get, set, "an integer");
    }

    template <class G, class S> ClassBuilder& Color(std::string name, G get, S set) {
        return Integer<TColor>(std::move(name), PropertyKind::Color, get, set, "a colour");
    }

    template <class G, class S> ClassBuilder& Text(std::string name, G get, S set) {
        PropertyInfo p = Named(std::move(name), PropertyKind::Text);
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = detail::SetText<T, S>{set, p.name};
        if constexpr (!std::is_null_pointer_v<G>)
            p.get = detail::GetText<T, G>{get};
        return Add(std::move(p));
    }

    // E is the enumeration type; its ordinals are the indexes of info.names.
    template <class G, class S>
    ClassBuilder& Enum(std::string name, const EnumInfo& info, G get, S set) {
        PropertyInfo p = Named(std::move(name), PropertyKind::Enumeration);
        p.enumInfo = &info;
        using E = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = detail::SetEnum<T, E, S>{set, p.name, &info};
        p.get = detail::GetInt64<T, G>{get};
        return Add(std::move(p));
    }

    // A set of enumeration values as a bit mask (bit n = ordinal n); M is its integer type.
    template <class G, class S>
    ClassBuilder& Set(std::string name, const EnumInfo& info, G get, S set) {
        PropertyInfo p = Named(std::move(name), PropertyKind::Set);
        p.enumInfo = &info;
        using M = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = detail::SetMask<T, M, S>{set, p.name};
        p.get = detail::GetInt64<T, G>{get};
        return Add(std::move(p));
    }

    // A reference to another component (not owned). C is the class it must have.
    template <class C, class G, class S> ClassBuilder& Component(std::string name, G get, S set) {
        PropertyInfo p = Named(std::move(name), PropertyKind::Component);
        p.componentClass = &C::StaticClassInfo;
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = detail::SetComponent<T, C, S>{set, p.name};
        if constexpr (!std::is_null_pointer_v<G>)
            p.get = detail::GetComponent<T, G>{get};
        return Add(std::move(p));
    }

    // A nested persistent object (Font, Constraints): its own properties are set through it.
    template <class G> ClassBuilder& Object(std::string name, G get) {
        PropertyInfo p = Named(std::move(name), PropertyKind::Object);
        p.object = detail::GetNested<T, G>{get};
        return Add(std::move(p));
    }

    // A collection: a description replaces its items.
    template <class G> ClassBuilder& Collection(std::string name, G get) {
        PropertyInfo p = Named(std::move(name), PropertyKind::Collection);
        p.object = detail::GetNested<T, G>{get};
        return Add(std::move(p));
    }

    // A picture given by a resource reference text.
    template <class S> ClassBuilder& Picture(std::string name, S set) {
        PropertyInfo p = Named(std::move(name), PropertyKind::Picture);
        p.set = detail::SetStored<T, std::wstring, S>{set, p.name, "a picture resource"};
        return Add(std::move(p));
    }

    template <class S> ClassBuilder& StringList(std::string name, S set) {
        PropertyInfo p = Named(std::move(name), PropertyKind::StringList);
        p.set = detail::SetStored<T, std::vector<std::wstring>, S>{set, p.name, "a list of texts"};
        return Add(std::move(p));
    }

    // An event. Sig is its std::function type; an empty std::any clears the handler.
    template <class Sig, class S> ClassBuilder& Event(std::string name, S set) {
        PropertyInfo p = Named(std::move(name), PropertyKind::Event);
        p.set = detail::SetEvent<T, Sig, S>{set, p.name};
        return Add(std::move(p));
    }

    ClassBuilder& Add(PropertyInfo p) {
        props_.push_back(std::move(p));
        return *this;
    }

    ClassInfo Build() { return ClassInfo(name_, parent_, std::move(factory_), std::move(props_)); }

private:
    static PropertyInfo Named(std::string name, PropertyKind kind) {
        PropertyInfo p;
        p.name = std::move(name);
        p.kind = kind;
        return p;
    }

    template <class Native, class G, class S>
    ClassBuilder& Integer(std::string name, PropertyKind kind, G get, S set, const char* expected) {
        PropertyInfo p = Named(std::move(name), kind);
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = detail::SetInt<T, Native, S>{set, p.name, expected};
        if constexpr (!std::is_null_pointer_v<G>)
            p.get = detail::GetInt64<T, G>{get};
        return Add(std::move(p));
    }

    std::string name_;
    const ClassInfo* parent_;
    ClassInfo::Factory factory_;
    std::vector<PropertyInfo> props_;
};

} // namespace gui
