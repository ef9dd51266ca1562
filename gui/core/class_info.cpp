#include "gui/core/class_info.h"

#include "gui/core/exceptions.h"
#include "gui/core/object.h"
#include "gui/core/text.h"

namespace nestora::gui {

std::optional<int> EnumInfo::Find(std::string_view name) const {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (EqualsIgnoreCaseAscii(names[i], name))
            return static_cast<int>(i);
    return std::nullopt;
}

std::string_view EnumInfo::NameOf(int ordinal) const {
    if (ordinal < 0 || static_cast<std::size_t>(ordinal) >= names.size())
        return {};
    return names[static_cast<std::size_t>(ordinal)];
}

ClassInfo::ClassInfo(std::string name, const ClassInfo* parent, Factory factory,
                     std::vector<PropertyInfo> ownProperties)
    : name_(std::move(name)), parent_(parent), factory_(std::move(factory)),
      own_(std::move(ownProperties)) {}

bool ClassInfo::InheritsFrom(const ClassInfo& ancestor) const {
    for (const ClassInfo* c = this; c; c = c->parent_)
        if (c == &ancestor)
            return true;
    return false;
}

const PropertyInfo* ClassInfo::FindProperty(std::string_view name) const {
    for (const ClassInfo* c = this; c; c = c->parent_)
        for (const PropertyInfo& p : c->own_)
            if (EqualsIgnoreCaseAscii(p.name, name))
                return &p;
    return nullptr;
}

std::vector<const PropertyInfo*> ClassInfo::Properties() const {
    std::vector<const ClassInfo*> chain;
    for (const ClassInfo* c = this; c; c = c->parent_)
        chain.insert(chain.begin(), c);
    std::vector<const PropertyInfo*> out;
    for (const ClassInfo* c : chain) {
        for (const PropertyInfo& p : c->own_) {
            bool replaced = false;
            for (const PropertyInfo*& existing : out) {
                if (EqualsIgnoreCaseAscii(existing->name, p.name)) {
                    existing = &p;
                    replaced = true;
                    break;
                }
            }
            if (!replaced)
                out.push_back(&p);
        }
    }
    return out;
}

ClassRegistry::ClassRegistry(std::initializer_list<const ClassInfo*> classes) {
    for (const ClassInfo* c : classes)
        Register(*c);
}

void ClassRegistry::Register(const ClassInfo& info) {
    for (const ClassInfo*& c : classes_) {
        if (EqualsIgnoreCaseAscii(c->Name(), info.Name())) {
            c = &info;
            return;
        }
    }
    classes_.push_back(&info);
}

const ClassInfo* ClassRegistry::Find(std::string_view name) const {
    for (const ClassInfo* c : classes_)
        if (EqualsIgnoreCaseAscii(c->Name(), name))
            return c;
    return nullptr;
}

bool HasPublishedProperty(const TObject& object, std::string_view name) {
    return object.GetClassInfo().FindProperty(name) != nullptr;
}

void SetPropertyValue(TObject& object, std::string_view name, const PropertyValue& value) {
    const PropertyInfo* p = object.GetClassInfo().FindProperty(name);
    if (!p)
        throw EDescriptionError(FormatText(L"%s has no property \"%s\"",
                                           {WidenAscii(object.ClassName()), WidenAscii(name)}));
    if (!p->set)
        throw EDescriptionError(FormatText(L"Property %s.%s cannot be set",
                                           {WidenAscii(object.ClassName()), WidenAscii(name)}));
    p->Set(object, value);
}

PropertyValue GetPropertyValue(const TObject& object, std::string_view name) {
    const PropertyInfo* p = object.GetClassInfo().FindProperty(name);
    if (!p || !p->get)
        throw EDescriptionError(FormatText(L"Property %s.%s cannot be read",
                                           {WidenAscii(object.ClassName()), WidenAscii(name)}));
    return p->get(object);
}

} // namespace nestora::gui
