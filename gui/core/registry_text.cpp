#include "gui/core/registry_text.h"

#include "gui/core/utf.h"

namespace nestora::gui {

std::wstring RegistryTextFromBytes(const unsigned char* data, std::size_t size) {
    std::wstring out;
    if (!data)
        return out;
    const std::size_t units = size / 2;
    out.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        if (unit == 0)
            break;
        if constexpr (sizeof(wchar_t) == 2) {
            out.push_back(static_cast<wchar_t>(unit));
        } else {
            // Wide strings hold code points here: join surrogate pairs.
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
                const char16_t low =
                    static_cast<char16_t>(data[2 * i + 2] | (data[2 * i + 3] << 8));
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    AppendCodePoint(out, 0x10000 + ((unit - 0xD800u) << 10) + (low - 0xDC00u));
                    ++i;
                    continue;
                }
            }
            AppendCodePoint(out, unit);
        }
    }
    return out;
}

} // namespace nestora::gui
