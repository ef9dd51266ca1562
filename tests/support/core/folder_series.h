// The names a run of hotkey presses leaves in a folder: the base name, then "base (2)",
// "base (3)", … Tests read a folder's listing back as the numbers of that series (1 for
// the base itself) and look for gaps: every press must take the first free number.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::testing {

// The number name carries in the series of base: 1 for base itself, k for "base (k)" with
// k from 2 on written in plain decimal; nothing for any other name ("base (1)", "base
// (02)", "base (x)", "base2").
std::optional<long> SeriesNumber(std::wstring_view base, std::wstring_view name);

// The numbers of the series among names, in increasing order; other names are left out.
std::vector<long> SeriesNumbers(std::wstring_view base, const std::vector<std::wstring>& names);

// The numbers from 1 to last that numbers (increasing, as SeriesNumbers gives them) lack.
std::vector<long> GapsUpTo(const std::vector<long>& numbers, long last);

// The name of number k in the series of base.
std::wstring SeriesName(std::wstring_view base, long k);

} // namespace nestora::testing
