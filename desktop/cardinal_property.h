#pragma once
// A published unsigned 32-bit property (a Cardinal: milliseconds, counts). ClassBuilder's
// Int holds an int; this takes 0 … 4294967295 and refuses anything else, never cutting a
// value short.

#include "gui/core/class_builder.h"

#include <cstdint>
#include <functional>
#include <string>

namespace desktop {

template <class T, class G, class S>
gui::PropertyInfo CardinalProperty(std::string name, G get, S set) {
    gui::PropertyInfo p;
    p.name = std::move(name);
    p.kind = gui::PropertyKind::Integer;
    const std::string n = p.name;
    p.set = [set, n](gui::TObject& o, const gui::PropertyValue& v) {
        const std::int64_t value = gui::detail::ValueAs<std::int64_t>(v, n, "a Cardinal");
        if (value < 0 || value > std::int64_t{UINT32_MAX})
            gui::detail::ThrowWrongValue(n, "a Cardinal");
        std::invoke(set, static_cast<T&>(o), static_cast<unsigned>(value));
    };
    p.get = [get](const gui::TObject& o) {
        return gui::PropertyValue(
            static_cast<std::int64_t>(std::invoke(get, static_cast<const T&>(o))));
    };
    return p;
}

} // namespace desktop
