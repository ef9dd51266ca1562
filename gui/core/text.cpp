#include "gui/core/text.h"

namespace nestora::gui {

namespace {
template <class C> C LowerAscii(C c) {
    return (c >= C('A') && c <= C('Z')) ? static_cast<C>(c - C('A') + C('a')) : c;
}
template <class S> bool EqualsIgnoreCase(S a, S b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}
} // namespace

bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b) {
    return EqualsIgnoreCase(a, b);
}
bool EqualsIgnoreCaseAscii(std::wstring_view a, std::wstring_view b) {
    return EqualsIgnoreCase(a, b);
}

std::wstring WidenAscii(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    for (char c : s)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

bool IsValidIdentifier(std::wstring_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const wchar_t c = name[i];
        const bool letter = (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
        const bool digit = c >= L'0' && c <= L'9';
        if (!(letter || (digit && i > 0)))
            return false;
    }
    return true;
}

std::wstring HexDigits(std::uint64_t value, int digits) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring out(digits > 0 ? static_cast<std::size_t>(digits) : 0, L'0');
    for (std::size_t i = out.size(); i > 0; --i, value >>= 4)
        out[i - 1] = kDigits[value & 0xF];
    return out;
}

std::wstring IntToStr(unsigned long long value) {
    wchar_t digits[20];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::wstring out;
    out.reserve(count);
    while (count > 0)
        out.push_back(digits[--count]);
    return out;
}

std::wstring IntToStr(long long value) {
    if (value >= 0)
        return IntToStr(static_cast<unsigned long long>(value));
    // The magnitude in unsigned arithmetic: negating the smallest long long overflows.
    return L"-" + IntToStr(0ull - static_cast<unsigned long long>(value));
}

} // namespace nestora::gui
