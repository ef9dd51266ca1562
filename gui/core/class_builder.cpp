#include "gui/core/class_builder.h"

namespace nestora::gui::detail {

namespace {
// What the setters throw; PropertyInfo::Set turns it into the error naming the property.
struct ValueRefused {
    std::string_view expected;
};
struct HandlerRefused {};
} // namespace

void ThrowWrongValue(std::string_view property, std::string_view expected) {
    throw EDescriptionError(
        FormatText(L"Property %s needs %s", {WidenAscii(property), WidenAscii(expected)}));
}

void RefuseValue(std::string_view expected) {
    throw ValueRefused{expected};
}

void RefuseHandler() {
    throw HandlerRefused{};
}

} // namespace nestora::gui::detail

namespace nestora::gui {

void PropertyInfo::Set(TObject& target, const PropertyValue& value) const {
    try {
        set(target, value);
    } catch (const detail::ValueRefused& refused) {
        detail::ThrowWrongValue(name, refused.expected);
    } catch (const detail::HandlerRefused&) {
        throw EDescriptionError(FormatText(
            L"The handler given to %s does not have the event's parameters", {WidenAscii(name)}));
    }
}

ClassBuilderBase::ClassBuilderBase(std::string name, const ClassInfo* parent)
    : name_(std::move(name)), parent_(parent) {}

ClassBuilderBase::~ClassBuilderBase() = default;

void ClassBuilderBase::Add(PropertyInfo p) {
    props_.push_back(std::move(p));
}

void ClassBuilderBase::AddAccessors(std::string name, PropertyKind kind, Setter set, Getter get,
                                    const EnumInfo* enumInfo) {
    PropertyInfo p;
    p.name = std::move(name);
    p.kind = kind;
    p.enumInfo = enumInfo;
    p.set = std::move(set);
    p.get = std::move(get);
    Add(std::move(p));
}

void ClassBuilderBase::AddComponent(std::string name, const ClassInfo& (*componentClass)(),
                                    Setter set, Getter get) {
    PropertyInfo p;
    p.name = std::move(name);
    p.kind = PropertyKind::Component;
    p.componentClass = componentClass;
    p.set = std::move(set);
    p.get = std::move(get);
    Add(std::move(p));
}

void ClassBuilderBase::AddNested(std::string name, PropertyKind kind, NestedGetter object) {
    PropertyInfo p;
    p.name = std::move(name);
    p.kind = kind;
    p.object = std::move(object);
    Add(std::move(p));
}

void ClassBuilderBase::SetFactory(ClassInfo::Factory factory) {
    factory_ = std::move(factory);
}

ClassInfo ClassBuilderBase::BuildInfo() {
    return ClassInfo(name_, parent_, std::move(factory_), std::move(props_));
}

} // namespace nestora::gui
