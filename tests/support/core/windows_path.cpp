#include "tests/support/core/windows_path.h"

#include "gui/core/utf.h"

namespace nestora::testing {

std::wstring WindowsPathOf(std::string_view unixPath) {
    std::wstring path = gui::Utf8ToWide(unixPath);
    for (wchar_t& c : path) {
        if (c == L'/')
            c = L'\\';
    }
    if (!unixPath.empty() && unixPath.front() == '/')
        path.insert(0, L"Z:");
    return path;
}

} // namespace nestora::testing
