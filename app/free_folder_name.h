// The free name for a new folder, decided from one listing of the target folder.
//
// The name is the base name if no directory bears it, else base + " (" + k + ")" for the
// smallest k from 2 up that no directory bears. Names compare as Windows compares file
// names, without regard to case. Only directories count: the listing handed in holds
// directory names alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nestora::app {

// folder + "\" + name, without doubling a separator the folder already ends with ("C:\").
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// base for numbers below 2, else base + " (" + number + ")".
std::wstring NumberedFolderName(std::wstring_view base, unsigned long long number);

// The first name in the order above that none of takenNames equals. takenNames may hold
// any other names as well (a listing by prefix returns "Base line" for "Base").
std::wstring FirstFreeFolderName(std::wstring_view base,
                                 const std::vector<std::wstring>& takenNames);

} // namespace nestora::app
