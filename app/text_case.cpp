#include "app/text_case.h"

namespace nestora::app {

wchar_t ToUpperInvariant(wchar_t c) {
    const auto u = static_cast<unsigned>(c);
    if (u >= L'a' && u <= L'z')
        return static_cast<wchar_t>(u - 0x20);
    if (u < 0xE0)
        return c;
    // Latin-1: à..þ, but not the division sign; ÿ goes to Ÿ in Latin Extended-A.
    if (u <= 0xFE)
        return u == 0xF7 ? c : static_cast<wchar_t>(u - 0x20);
    if (u == 0xFF)
        return static_cast<wchar_t>(0x178);
    // Latin Extended-A pairs capital and small letters side by side; which of the two comes
    // first flips at the ranges below. The dotted İ and dotless ı are no pair, and ĸ and ŉ
    // have none.
    if (u == 0x130 || u == 0x131)
        return c;
    if ((u >= 0x100 && u <= 0x137) || (u >= 0x14A && u <= 0x177))
        return (u & 1) ? static_cast<wchar_t>(u - 1) : c;
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E))
        return (u & 1) ? c : static_cast<wchar_t>(u - 1);
    // Greek: α..ω with the final sigma going to Σ like the ordinary one.
    if (u >= 0x3B1 && u <= 0x3C9)
        return static_cast<wchar_t>(u == 0x3C2 ? 0x3A3 : u - 0x20);
    if (u >= 0x3AC && u <= 0x3AF) {
        static constexpr wchar_t accented[] = {0x386, 0x388, 0x389, 0x38A};
        return accented[u - 0x3AC];
    }
    // Cyrillic: а..я, then ѐ..џ (ё among them) whose capitals sit 0x50 lower.
    if (u >= 0x430 && u <= 0x44F)
        return static_cast<wchar_t>(u - 0x20);
    if (u >= 0x450 && u <= 0x45F)
        return static_cast<wchar_t>(u - 0x50);
    return c;
}

std::wstring ToUpperInvariant(std::wstring_view text) {
    std::wstring upper(text);
    for (auto& c : upper)
        c = ToUpperInvariant(c);
    return upper;
}

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToUpperInvariant(a[i]) != ToUpperInvariant(b[i]))
            return false;
    }
    return true;
}

bool StartsWithIgnoreCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

} // namespace nestora::app
