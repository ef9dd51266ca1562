#include "gui/core/class_builder.h"

namespace gui::detail {

void ThrowWrongValue(std::string_view property, std::string_view expected) {
    throw EDescriptionError(FormatText(L"Property %s needs %s",
                                       {WidenAscii(property), WidenAscii(expected)}));
}

} // namespace gui::detail
