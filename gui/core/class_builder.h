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

namespace nestora::gui {

namespace detail {

[[noreturn]] void ThrowWrongValue(std::string_view property, std::string_view expected);

// A setter refuses a value with what it expected (a text of static storage);
// PropertyInfo::Set names the property. The setters so hold no copy of their property's
// name, which keeps each small enough for std::function to store without copying strings.
[[noreturn]] void RefuseValue(std::string_view expected);
// An event setter refuses a handler of another type the same way.
[[noreturn]] void RefuseHandler();

template <class V> const V& ValueAs(const PropertyValue& v, std::string_view expected) {
    if (const V* p = std::get_if<V>(&v))
        return *p;
    RefuseValue(expected);
}

// The accessors the builder stores, as named types rather than lambdas: a lambda's type is
// named after the whole template function that made it, and every such name is kept in the
// executable for std::function (some 70 KB of names for the framework's classes).
template <class T> TComponent* CreateOf(TComponent* owner) {
    return Create<T>(owner);
}

template <class T, class S> struct SetText {
    S set;
    void operator()(TObject& o, const PropertyValue& v) const {
        std::invoke(set, static_cast<T&>(o), ValueAs<std::wstring>(v, "a text"));
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
    const EnumInfo* info;
    void operator()(TObject& o, const PropertyValue& v) const {
        const auto ord = ValueAs<std::int64_t>(v, "an enumeration value");
        if (ord < 0 || static_cast<std::size_t>(ord) >= info->names.size())
            RefuseValue(info->typeName);
        std::invoke(set, static_cast<T&>(o), static_cast<E>(ord));
    }
};

template <class T, class M, class S> struct SetMask {
    S set;
    void operator()(TObject& o, const PropertyValue& v) const {
        std::invoke(set, static_cast<T&>(o), static_cast<M>(ValueAs<std::int64_t>(v, "a set")));
    }
};

template <class T, class C, class S> struct SetComponent {
    S set;
    void operator()(TObject& o, const PropertyValue& v) const {
        TComponent* c = ValueAs<TComponent*>(v, "a component");
        C* typed = nullptr;
        if (c) {
            typed = dynamic_cast<C*>(c);
            if (!typed)
                RefuseValue(C::StaticClassInfo().Name());
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
    const char* expected;
    void operator()(TObject& o, const PropertyValue& v) const {
        std::invoke(set, static_cast<T&>(o), ValueAs<V>(v, expected));
    }
};

template <class T, class Sig, class S> struct SetEvent {
    S set;
    void operator()(TObject& o, const PropertyValue& v) const {
        const std::any& handler = ValueAs<std::any>(v, "an event handler");
        if (!handler.has_value()) {
            std::invoke(set, static_cast<T&>(o), Sig{});
            return;
        }
        const Sig* typed = std::any_cast<Sig>(&handler);
        if (!typed)
            RefuseHandler();
        std::invoke(set, static_cast<T&>(o), *typed);
    }
};

// Integers and colours: a value that does not fit is refused, never cut short. Unsigned
// 32-bit values (colours) may also be written as their signed form.
template <class T, class Native, class S> struct SetInt {
    S set;
    const char* expected;
    void operator()(TObject& o, const PropertyValue& v) const {
        const std::int64_t value = ValueAs<std::int64_t>(v, expected);
        constexpr std::int64_t lo = std::is_signed_v<Native>
                                        ? std::int64_t{std::numeric_limits<Native>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::min()};
        constexpr std::int64_t hi = std::int64_t{std::numeric_limits<Native>::max()};
        if (value < lo || value > hi)
            RefuseValue(expected);
        std::invoke(set, static_cast<T&>(o), static_cast<Native>(value));
    }
};

template <class T, class S> struct SetBool {
    S set;
    void operator()(TObject& o, const PropertyValue& v) const {
        std::invoke(set, static_cast<T&>(o), ValueAs<bool>(v, "True or False"));
    }
};

} // namespace detail

// The part of the builder that does not depend on the class: out of line, so that each
// accessor pair a class publishes adds only the code its own types need.
class ClassBuilderBase {
public:
    // Any other kind of property, made by hand.
    void Add(PropertyInfo p);

protected:
    using Setter = decltype(PropertyInfo::set);
    using Getter = decltype(PropertyInfo::get);
    using NestedGetter = decltype(PropertyInfo::object);

    ClassBuilderBase(std::string name, const ClassInfo* parent);
    ~ClassBuilderBase();
    ClassBuilderBase(const ClassBuilderBase&) = delete;
    ClassBuilderBase& operator=(const ClassBuilderBase&) = delete;

    void AddAccessors(std::string name, PropertyKind kind, Setter set, Getter get,
                      const EnumInfo* enumInfo = nullptr);
    void AddComponent(std::string name, const ClassInfo& (*componentClass)(), Setter set,
                      Getter get);
    void AddNested(std::string name, PropertyKind kind, NestedGetter object);
    void SetFactory(ClassInfo::Factory factory);
    ClassInfo BuildInfo();

private:
    std::string name_;
    const ClassInfo* parent_;
    ClassInfo::Factory factory_;
    std::vector<PropertyInfo> props_;
};

template <class T> class ClassBuilder : private ClassBuilderBase {
public:
    ClassBuilder(std::string name, const ClassInfo* parent)
        : ClassBuilderBase(std::move(name), parent) {}

    // Description loaders may create it: T must be constructible from its owner.
    ClassBuilder& Creatable() {
        SetFactory(&detail::CreateOf<T>);
        return *this;
    }

    template <class G, class S> ClassBuilder& Bool(std::string name, G get, S set) {
        AddAccessors(std::move(name), PropertyKind::Boolean,
                     Optional<Setter, detail::SetBool<T, S>>(set),
                     Optional<Getter, detail::GetBool<T, G>>(get));
        return *this;
    }

    template <class G, class S> ClassBuilder& Int(std::string name, G get, S set) {
        return Integer<int>(std::move(name), PropertyKind::Integer, get, set, "an integer");
    }

    template <class G, class S> ClassBuilder& Color(std::string name, G get, S set) {
        return Integer<TColor>(std::move(name), PropertyKind::Color, get, set, "a colour");
    }

    template <class G, class S> ClassBuilder& Text(std::string name, G get, S set) {
        AddAccessors(std::move(name), PropertyKind::Text,
                     Optional<Setter, detail::SetText<T, S>>(set),
                     Optional<Getter, detail::GetText<T, G>>(get));
        return *this;
    }

    // E is the enumeration type; its ordinals are the indexes of info.names.
    template <class G, class S>
    ClassBuilder& Enum(std::string name, const EnumInfo& info, G get, S set) {
        using E = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        AddAccessors(std::move(name), PropertyKind::Enumeration,
                     Optional<Setter, detail::SetEnum<T, E, S>>(set, &info),
                     detail::GetInt64<T, G>{get}, &info);
        return *this;
    }

    // A set of enumeration values as a bit mask (bit n = ordinal n); M is its integer type.
    template <class G, class S>
    ClassBuilder& Set(std::string name, const EnumInfo& info, G get, S set) {
        using M = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        AddAccessors(std::move(name), PropertyKind::Set,
                     Optional<Setter, detail::SetMask<T, M, S>>(set), detail::GetInt64<T, G>{get},
                     &info);
        return *this;
    }

    // A reference to another component (not owned). C is the class it must have.
    template <class C, class G, class S> ClassBuilder& Component(std::string name, G get, S set) {
        AddComponent(std::move(name), &C::StaticClassInfo,
                     Optional<Setter, detail::SetComponent<T, C, S>>(set),
                     Optional<Getter, detail::GetComponent<T, G>>(get));
        return *this;
    }

    // A nested persistent object (Font, Constraints): its own properties are set through it.
    template <class G> ClassBuilder& Object(std::string name, G get) {
        AddNested(std::move(name), PropertyKind::Object, detail::GetNested<T, G>{get});
        return *this;
    }

    // A collection: a description replaces its items.
    template <class G> ClassBuilder& Collection(std::string name, G get) {
        AddNested(std::move(name), PropertyKind::Collection, detail::GetNested<T, G>{get});
        return *this;
    }

    // A picture given by a resource reference text.
    template <class S> ClassBuilder& Picture(std::string name, S set) {
        Setter setter = detail::SetStored<T, std::wstring, S>{set, "a picture resource"};
        AddAccessors(std::move(name), PropertyKind::Picture, std::move(setter), {});
        return *this;
    }

    template <class S> ClassBuilder& StringList(std::string name, S set) {
        Setter setter = detail::SetStored<T, std::vector<std::wstring>, S>{set, "a list of texts"};
        AddAccessors(std::move(name), PropertyKind::StringList, std::move(setter), {});
        return *this;
    }

    // An event. Sig is its std::function type; an empty std::any clears the handler.
    template <class Sig, class S> ClassBuilder& Event(std::string name, S set) {
        Setter setter = detail::SetEvent<T, Sig, S>{set};
        AddAccessors(std::move(name), PropertyKind::Event, std::move(setter), {});
        return *this;
    }

    ClassBuilder& Add(PropertyInfo p) {
        ClassBuilderBase::Add(std::move(p));
        return *this;
    }

    ClassInfo Build() { return BuildInfo(); }

private:
    // The accessor made from what the class gave, or none for nullptr (read- or write-only).
    template <class Function, class Functor, class A, class... Extra>
    static Function Optional(A accessor, Extra... extra) {
        if constexpr (std::is_null_pointer_v<A>)
            return {};
        else
            return Functor{accessor, extra...};
    }

    template <class Native, class G, class S>
    ClassBuilder& Integer(std::string name, PropertyKind kind, G get, S set, const char* expected) {
        AddAccessors(std::move(name), kind,
                     Optional<Setter, detail::SetInt<T, Native, S>>(set, expected),
                     Optional<Getter, detail::GetInt64<T, G>>(get));
        return *this;
    }
};

} // namespace nestora::gui
