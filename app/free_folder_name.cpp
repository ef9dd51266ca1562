#include "app/free_folder_name.h"

#include "app/text_case.h"
#include "gui/core/text.h"

#include <algorithm>

namespace nestora::app {

namespace {

// Numbers this long can't be reached by counting up from 2 in any real folder; reading
// them would only risk overflow.
constexpr std::size_t kMaxNumberDigits = 18;

// The k of "(k)" when suffix is exactly " (" + k + ")" as NumberedFolderName writes it
// (no sign, no leading zero, at least 2); 0 otherwise.
unsigned long long NumberInSuffix(std::wstring_view suffix) {
    if (suffix.size() < 4 || suffix.substr(0, 2) != L" (" || suffix.back() != L')')
        return 0;
    const std::wstring_view digits = suffix.substr(2, suffix.size() - 3);
    if (digits.size() > kMaxNumberDigits || digits.front() == L'0')
        return 0;
    unsigned long long number = 0;
    for (const wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return 0;
        number = number * 10 + static_cast<unsigned>(c - L'0');
    }
    return number >= 2 ? number : 0;
}

} // namespace

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    path += name;
    return path;
}

std::wstring NumberedFolderName(std::wstring_view base, unsigned long long number) {
    std::wstring name(base);
    if (number >= 2)
        name += L" (" + gui::IntToStr(number) + L")";
    return name;
}

std::wstring FirstFreeFolderName(std::wstring_view base,
                                 const std::vector<std::wstring>& takenNames) {
    bool baseTaken = false;
    std::vector<unsigned long long> takenNumbers;
    for (const auto& name : takenNames) {
        if (!StartsWithIgnoreCase(name, base))
            continue;
        const std::wstring_view suffix = std::wstring_view(name).substr(base.size());
        if (suffix.empty())
            baseTaken = true;
        else if (const auto number = NumberInSuffix(suffix))
            takenNumbers.push_back(number);
    }
    if (!baseTaken)
        return std::wstring(base);

    std::sort(takenNumbers.begin(), takenNumbers.end());
    unsigned long long free = 2;
    for (const auto number : takenNumbers) {
        if (number == free)
            ++free;
        else if (number > free)
            break;
    }
    return NumberedFolderName(base, free);
}

} // namespace nestora::app
