#pragma once
// Run-time class information and published properties.
//
// A ClassInfo names a class, points at its parent's, may create instances (for window
// descriptions) and lists the properties the class publishes, in declaration order. The
// properties of a class are those of its ancestors first, then its own; a class may publish
// a property again under the same name to change how it is set (the most derived wins).
//
// Properties are set by name through type-erased setters, so a window description, a skin
// pushing its style onto children (SetPropertyValue), or a test can drive any component the
// same way. Values travel as PropertyValue; see PropertyKind for which alternative each
// kind uses.

#include "gui/core/color.h"

#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace nestora::gui {

class TObject;
class TPersistent;
class TComponent;

// The names of an enumeration, by ordinal (index 0 is ordinal 0).
struct EnumInfo {
    std::string_view typeName;
    std::vector<std::string_view> names;

    // Ordinal of a name (case-insensitive), or nothing.
    std::optional<int> Find(std::string_view name) const;
    std::string_view NameOf(int ordinal) const; // empty when out of range
};

enum class PropertyKind {
    Boolean,     // bool
    Integer,     // std::int64_t
    Enumeration, // std::int64_t ordinal (names through enumInfo)
    Set,         // std::int64_t bit mask, bit n = ordinal n (names through enumInfo)
    Text,        // std::wstring
    Color,       // std::int64_t holding a TColor
    Component,   // TComponent* (may be null); must inherit from componentClass
    Object,      // nested persistent object reached through `object` (Font, Constraints)
    Collection,  // a TCollection reached through `object`
    Picture,     // std::wstring: a resource reference (see the picture's own docs)
    Event,       // std::any holding the event's std::function type (empty any clears it)
    StringList,  // std::vector<std::wstring>
};

using PropertyValue = std::variant<std::monostate, bool, std::int64_t, std::wstring, TComponent*,
                                   std::vector<std::wstring>, std::any>;

class ClassInfo;

struct PropertyInfo {
    std::string name;
    PropertyKind kind = PropertyKind::Integer;
    const EnumInfo* enumInfo = nullptr;       // Enumeration, Set
    // Component: the class a value must have (a function, so a class may refer to itself).
    const ClassInfo& (*componentClass)() = nullptr;
    // Sets the value; call it through Set, which names the property when a value is
    // refused.
    std::function<void(TObject&, const PropertyValue&)> set;
    // Reads the value; empty for write-only properties and for Object/Collection.
    std::function<PropertyValue(const TObject&)> get;
    // Object and Collection: the nested object.
    std::function<TPersistent*(TObject&)> object;

    // Sets the value; throws EDescriptionError naming this property on a value of the wrong
    // kind or out of range (or the setter's own error).
    void Set(TObject& object, const PropertyValue& value) const;
};

class ClassInfo {
public:
    using Factory = std::function<TComponent*(TComponent* owner)>;

    ClassInfo(std::string name, const ClassInfo* parent, Factory factory,
              std::vector<PropertyInfo> ownProperties);

    std::string_view Name() const { return name_; }
    const ClassInfo* Parent() const { return parent_; }
    bool InheritsFrom(const ClassInfo& ancestor) const;

    // Creates an instance owned by owner; null factory means the class is abstract.
    const Factory& GetFactory() const { return factory_; }

    // The property of that name (case-insensitive), most derived class first; null if none.
    const PropertyInfo* FindProperty(std::string_view name) const;
    // All published properties: ancestors' first, each class's in declaration order; a
    // property re-published by a descendant appears once, at its ancestor's place.
    std::vector<const PropertyInfo*> Properties() const;
    const std::vector<PropertyInfo>& OwnProperties() const { return own_; }

private:
    std::string name_;
    const ClassInfo* parent_;
    Factory factory_;
    std::vector<PropertyInfo> own_;
};

// Name → class, for creating the objects a window description names.
class ClassRegistry {
public:
    ClassRegistry() = default;
    ClassRegistry(std::initializer_list<const ClassInfo*> classes);
    void Register(const ClassInfo& info);
    const ClassInfo* Find(std::string_view name) const; // case-insensitive

private:
    std::vector<const ClassInfo*> classes_;
};

// Does the object's class publish a property of that name?
bool HasPublishedProperty(const TObject& object, std::string_view name);
// Sets a published property by name; throws EDescriptionError when there is none or the
// value does not fit its kind.
void SetPropertyValue(TObject& object, std::string_view name, const PropertyValue& value);
// Reads a published property by name; throws EDescriptionError when it cannot be read.
PropertyValue GetPropertyValue(const TObject& object, std::string_view name);

} // namespace nestora::gui
