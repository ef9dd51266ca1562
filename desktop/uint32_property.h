#pragma once
// A published unsigned 32-bit property (a Cardinal: milliseconds, counts). ClassBuilder's
// Int holds an int; this takes 0 … 4294967295 and refuses anything else, never cutting a
// value short.

#include "gui/core/class_builder.h"

#include <cstdint>
#include <functional>
#include <string>

namespace nestora::desktop {

template <class T, class S> struct SetUInt32 {
    S set;
    void operator()(gui::TObject& o, const gui::PropertyValue& v) const {
        const std::int64_t value = gui::detail::ValueAs<std::int64_t>(v, "a Cardinal");
        if (value < 0 || value > std::int64_t{UINT32_MAX})
            gui::detail::RefuseValue("a Cardinal");
        std::invoke(set, static_cast<T&>(o), static_cast<unsigned>(value));
    }
};

template <class T, class G, class S>
gui::PropertyInfo UInt32Property(std::string name, G get, S set) {
    gui::PropertyInfo p;
    p.name = std::move(name);
    p.kind = gui::PropertyKind::Integer;
    p.set = SetUInt32<T, S>{set};
    p.get = gui::detail::GetInt64<T, G>{get};
    return p;
}

} // namespace nestora::desktop
