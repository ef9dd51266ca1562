#include "desktop/core/guard_names.h"

#include "desktop/core/notify_text.h"
#include "gui/core/text.h"

#include <algorithm>
#include <cstdint>

namespace nestora::desktop {

namespace {

constexpr std::wstring_view kInfix = L".OneInstance.";
constexpr std::wstring_view kCriticalSection = L"CriticalSection";
constexpr std::wstring_view kDefault = L"Default";

// FNV-1a over the UTF-16 units of text: the same value on every platform and in every copy.
std::uint64_t Fnv1a(std::wstring_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char16_t unit : CutToUtf16(text, text.size() * 2)) {
        hash ^= static_cast<std::uint64_t>(unit & 0xFF);
        hash *= 1099511628211ull;
        hash ^= static_cast<std::uint64_t>(unit >> 8);
        hash *= 1099511628211ull;
    }
    return hash;
}

// A base name that leaves room for the longest suffix: unchanged when it fits, otherwise
// "<hash of the whole>~" followed by as much of its end as fits (the end of a path is the
// part that tells programs apart).
std::wstring FitBase(std::wstring base) {
    const std::size_t room = kMaxKernelObjectName - kCriticalSection.size();
    if (Utf16Length(base) <= room)
        return base;
    std::wstring fitted = gui::HexDigits(Fnv1a(base), 16) + L"~";
    // Take whole characters from the end while they fit (a pair counts as two units).
    std::size_t used = Utf16Length(fitted);
    std::size_t start = base.size();
    while (start > 0) {
        std::size_t take = 1;
        // Where wchar_t is 16 bits a pair is two elements: keep both halves or neither.
        if constexpr (sizeof(wchar_t) == 2) {
            const auto low = static_cast<char16_t>(base[start - 1]);
            const auto high = start >= 2 ? static_cast<char16_t>(base[start - 2]) : u'\0';
            if (low >= 0xDC00 && low <= 0xDFFF && high >= 0xD800 && high <= 0xDBFF)
                take = 2;
        }
        const std::size_t need = Utf16Length(std::wstring_view(base).substr(start - take, take));
        if (used + need > room)
            break;
        used += need;
        start -= take;
    }
    fitted.append(base, start, std::wstring::npos);
    return fitted;
}

} // namespace

GuardMutexNames MakeGuardMutexNames(std::wstring_view identity, std::wstring_view identifier) {
    std::wstring base;
    base.reserve(identity.size() + identifier.size() + kInfix.size());
    base.append(identity).append(identifier).append(kInfix);
    std::replace(base.begin(), base.end(), L'\\', L'/');
    base = FitBase(std::move(base));
    GuardMutexNames names;
    names.criticalSection = base + std::wstring(kCriticalSection);
    names.guard = base + std::wstring(kDefault);
    return names;
}

} // namespace nestora::desktop
