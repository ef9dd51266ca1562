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

template <class V> const V& ValueAs(const PropertyValue& v, std::string_view property,
                                    std::string_view expected) {
    if (const V* p = std::get_if<V>(&v))
        return *p;
    ThrowWrongValue(property, expected);
}

} // namespace detail

template <class T> class ClassBuilder {
public:
    ClassBuilder(std::string name, const ClassInfo* parent)
        : name_(std::move(name)), parent_(parent) {}

    // Description loaders may create it: T must be constructible from its owner.
    ClassBuilder& Creatable() {
        factory_ = [](TComponent* owner) -> TComponent* { return Create<T>(owner); };
        return *this;
    }

    template <class G, class S> ClassBuilder& Bool(std::string name, G get, S set) {
        return Scalar<bool, bool>(std::move(name), PropertyKind::Boolean, get, set, "True or False");
    }

    template <class G, class S> ClassBuilder& Int(std::string name, G get, S set) {
        return Scalar<std::int64_t, int>(std::move(name), PropertyKind::Integer, get, set,
                                         "an integer");
    }

    template <class G, class S> ClassBuilder& Color(std::string name, G get, S set) {
        return Scalar<std::int64_t, TColor>(std::move(name), PropertyKind::Color, get, set,
                                            "a colour");
    }

    template <class G, class S> ClassBuilder& Text(std::string name, G get, S set) {
        PropertyInfo p;
        p.name = std::move(name);
        p.kind = PropertyKind::Text;
        const std::string n = p.name;
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = [set, n](TObject& o, const PropertyValue& v) {
                std::invoke(set, static_cast<T&>(o), detail::ValueAs<std::wstring>(v, n, "a text"));
            };
        if constexpr (!std::is_null_pointer_v<G>)
            p.get = [get](const TObject& o) {
                return PropertyValue(std::wstring(std::invoke(get, static_cast<const T&>(o))));
            };
        return Add(std::move(p));
    }

    // E is the enumeration type; its ordinals are the indexes of info.names.
    template <class G, class S>
    ClassBuilder& Enum(std::string name, const EnumInfo& info, G get, S set) {
        PropertyInfo p;
        p.name = std::move(name);
        p.kind = PropertyKind::Enumeration;
        p.enumInfo = &info;
        const std::string n = p.name;
        using E = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = [set, n, &info](TObject& o, const PropertyValue& v) {
                const auto ord = detail::ValueAs<std::int64_t>(v, n, "an enumeration value");
                if (ord < 0 || static_cast<std::size_t>(ord) >= info.names.size())
                    detail::ThrowWrongValue(n, info.typeName);
                std::invoke(set, static_cast<T&>(o), static_cast<E>(ord));
            };
        p.get = [get](const TObject& o) {
            return PropertyValue(
                static_cast<std::int64_t>(std::invoke(get, static_cast<const T&>(o))));
        };
        return Add(std::move(p));
    }

    // A set of enumeration values as a bit mask (bit n = ordinal n); M is its integer type.
    template <class G, class S>
    ClassBuilder& Set(std::string name, const EnumInfo& info, G get, S set) {
        PropertyInfo p;
        p.name = std::move(name);
        p.kind = PropertyKind::Set;
        p.enumInfo = &info;
        const std::string n = p.name;
        using M = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = [set, n](TObject& o, const PropertyValue& v) {
                std::invoke(set, static_cast<T&>(o),
                            static_cast<M>(detail::ValueAs<std::int64_t>(v, n, "a set")));
            };
        p.get = [get](const TObject& o) {
            return PropertyValue(
                static_cast<std::int64_t>(std::invoke(get, static_cast<const T&>(o))));
        };
        return Add(std::move(p));
    }

    // A reference to another component (not owned). C is the class it must have.
    template <class C, class G, class S> ClassBuilder& Component(std::string name, G get, S set) {
        PropertyInfo p;
        p.name = std::move(name);
        p.kind = PropertyKind::Component;
        p.componentClass = &C::StaticClassInfo;
        const std::string n = p.name;
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = [set, n](TObject& o, const PropertyValue& v) {
                TComponent* c = detail::ValueAs<TComponent*>(v, n, "a component");
                C* typed = nullptr;
                if (c) {
                    typed = dynamic_cast<C*>(c);
                    if (!typed)
                        detail::ThrowWrongValue(n, C::StaticClassInfo().Name());
                }
                std::invoke(set, static_cast<T&>(o), typed);
            };
        if constexpr (!std::is_null_pointer_v<G>)
            p.get = [get](const TObject& o) {
                return PropertyValue(static_cast<TComponent*>(
                    std::invoke(get, static_cast<const T&>(o))));
            };
        return Add(std::move(p));
    }

    // A nested persistent object (Font, Constraints): its own properties are set through it.
    template <class G> ClassBuilder& Object(std::string name, G get) {
        return Nested(std::move(name), PropertyKind::Object, get);
    }

    // A collection: a description replaces its items.
    template <class G> ClassBuilder& Collection(std::string name, G get) {
        return Nested(std::move(name), PropertyKind::Collection, get);
    }

    // A picture given by a resource reference text.
    template <class S> ClassBuilder& Picture(std::string name, S set) {
        PropertyInfo p;
        p.name = std::move(name);
        p.kind = PropertyKind::Picture;
        const std::string n = p.name;
        p.set = [set, n](TObject& o, const PropertyValue& v) {
            std::invoke(set, static_cast<T&>(o),
                        detail::ValueAs<std::wstring>(v, n, "a picture resource"));
        };
        return Add(std::move(p));
    }

    template <class S> ClassBuilder& StringList(std::string name, S set) {
        PropertyInfo p;
        p.name = std::move(name);
        p.kind = PropertyKind::StringList;
        const std::string n = p.name;
        p.set = [set, n](TObject& o, const PropertyValue& v) {
            std::invoke(set, static_cast<T&>(o),
                        detail::ValueAs<std::vector<std::wstring>>(v, n, "a list of texts"));
        };
        return Add(std::move(p));
    }

    // An event. Sig is its std::function type; an empty std::any clears the handler.
    template <class Sig, class S> ClassBuilder& Event(std::string name, S set) {
        PropertyInfo p;
        p.name = std::move(name);
        p.kind = PropertyKind::Event;
        const std::string n = p.name;
        p.set = [set, n](TObject& o, const PropertyValue& v) {
            const std::any& handler = detail::ValueAs<std::any>(v, n, "an event handler");
            if (!handler.has_value()) {
                std::invoke(set, static_cast<T&>(o), Sig{});
                return;
            }
            const Sig* typed = std::any_cast<Sig>(&handler);
            if (!typed)
                throw EDescriptionError(FormatText(
                    L"The handler given to %s does not have the event's parameters",
                    {WidenAscii(n)}));
            std::invoke(set, static_cast<T&>(o), *typed);
        };
        return Add(std::move(p));
    }

    ClassBuilder& Add(PropertyInfo p) {
        props_.push_back(std::move(p));
        return *this;
    }

    ClassInfo Build() { return ClassInfo(name_, parent_, std::move(factory_), std::move(props_)); }

private:
    template <class Stored, class Native, class G, class S>
    ClassBuilder& Scalar(std::string name, PropertyKind kind, G get, S set,
                         std::string_view expected) {
        PropertyInfo p;
        p.name = std::move(name);
        p.kind = kind;
        const std::string n = p.name;
        const std::string e(expected);
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = [set, n, e](TObject& o, const PropertyValue& v) {
                const Stored value = detail::ValueAs<Stored>(v, n, e);
                if constexpr (std::is_same_v<Stored, std::int64_t>) {
                    // A value that does not fit is refused, never cut short. Unsigned
                    // 32-bit values (colours) may also be written as their signed form.
                    constexpr std::int64_t lo =
                        std::is_signed_v<Native>
                            ? std::int64_t{std::numeric_limits<Native>::min()}
                            : std::int64_t{std::numeric_limits<std::int32_t>::min()};
                    constexpr std::int64_t hi = std::int64_t{std::numeric_limits<Native>::max()};
                    if (value < lo || value > hi)
                        detail::ThrowWrongValue(n, e);
                }
                std::invoke(set, static_cast<T&>(o), static_cast<Native>(value));
            };
        if constexpr (!std::is_null_pointer_v<G>)
            p.get = [get](const TObject& o) {
                return PropertyValue(
                    static_cast<Stored>(std::invoke(get, static_cast<const T&>(o))));
            };
        return Add(std::move(p));
    }

    template <class G> ClassBuilder& Nested(std::string name, PropertyKind kind, G get) {
        PropertyInfo p;
        p.name = std::move(name);
        p.kind = kind;
        p.object = [get](TObject& o) -> TPersistent* {
            return std::invoke(get, static_cast<T&>(o));
        };
        return Add(std::move(p));
    }

    std::string name_;
    const ClassInfo* parent_;
    ClassInfo::Factory factory_;
    std::vector<PropertyInfo> props_;
};

} // namespace gui
