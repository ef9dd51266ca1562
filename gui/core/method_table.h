#pragma once
// Handlers and component fields that a root component (a form) publishes by name, so a
// window description can bind "OnClick = Label1Click" and the field Label1.
//
//     methods_.Add<TNotifyEvent>("FormCreate", [this](TObject* s) { FormCreate(s); });
//     fields_.Add("Label1", Label1);          // TLabel*& — set when the loader creates it

#include "gui/core/component.h"
#include "gui/core/exceptions.h"
#include "gui/core/text.h"

#include <any>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::gui {

class MethodTable {
public:
    template <class Sig, class F> void Add(std::string name, F handler) {
        entries_.push_back({std::move(name), std::any(Sig(std::move(handler)))});
    }
    const std::any* Find(std::string_view name) const {
        for (const auto& e : entries_)
            if (EqualsIgnoreCaseAscii(e.name, name))
                return &e.handler;
        return nullptr;
    }

private:
    struct Entry {
        std::string name;
        std::any handler;
    };
    std::vector<Entry> entries_;
};

class FieldTable {
public:
    template <class C> void Add(std::wstring name, C*& field) {
        entries_.push_back({std::move(name), [&field](TComponent* c) {
                                if (!c) {
                                    field = nullptr;
                                    return true;
                                }
                                C* typed = dynamic_cast<C*>(c);
                                if (!typed)
                                    return false;
                                field = typed;
                                return true;
                            }});
    }
    // False when no field has that name; EComponentError when its type does not fit.
    bool Bind(std::wstring_view name, TComponent* component) const {
        for (const auto& e : entries_) {
            if (EqualsIgnoreCaseAscii(e.name, name)) {
                if (!e.bind(component))
                    throw EComponentError(FormatText(
                        L"Field %s cannot hold a %s",
                        {e.name, WidenAscii(component ? component->ClassName() : "")}));
                return true;
            }
        }
        return false;
    }

private:
    struct Entry {
        std::wstring name;
        std::function<bool(TComponent*)> bind;
    };
    std::vector<Entry> entries_;
};

} // namespace nestora::gui
