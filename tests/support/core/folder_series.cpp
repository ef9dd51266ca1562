#include "tests/support/core/folder_series.h"

#include <algorithm>
#include <limits>

namespace nestora::testing {

std::optional<long> SeriesNumber(std::wstring_view base, std::wstring_view name) {
    if (name.substr(0, base.size()) != base)
        return std::nullopt;
    std::wstring_view rest = name.substr(base.size());
    if (rest.empty())
        return 1;
    constexpr std::wstring_view open = L" (";
    if (rest.size() < open.size() + 2 || rest.substr(0, open.size()) != open || rest.back() != L')')
        return std::nullopt;
    const std::wstring_view digits = rest.substr(open.size(), rest.size() - open.size() - 1);
    if (digits.front() == L'0')
        return std::nullopt;
    long value = 0;
    for (const wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        if (value > (std::numeric_limits<long>::max() - 9) / 10)
            return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    if (value < 2)
        return std::nullopt;
    return value;
}

std::vector<long> SeriesNumbers(std::wstring_view base, const std::vector<std::wstring>& names) {
    std::vector<long> numbers;
    for (const std::wstring& name : names) {
        if (const std::optional<long> k = SeriesNumber(base, name))
            numbers.push_back(*k);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::vector<long> GapsUpTo(const std::vector<long>& numbers, long last) {
    std::vector<long> gaps;
    auto next = numbers.begin();
    for (long k = 1; k <= last; ++k) {
        while (next != numbers.end() && *next < k)
            ++next;
        if (next == numbers.end() || *next != k)
            gaps.push_back(k);
    }
    return gaps;
}

std::wstring SeriesName(std::wstring_view base, long k) {
    std::wstring name(base);
    if (k != 1)
        name += L" (" + std::to_wstring(k) + L")";
    return name;
}

} // namespace nestora::testing
