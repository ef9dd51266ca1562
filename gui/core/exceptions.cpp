#include "gui/core/exceptions.h"

#include "gui/core/utf.h"

namespace nestora::gui {

Exception::Exception(std::wstring message)
    : message_(std::move(message)), narrow_(WideToUtf8(message_)) {}

std::wstring FormatText(std::wstring_view pattern, std::initializer_list<std::wstring_view> args) {
    std::wstring out;
    out.reserve(pattern.size() + 32);
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == L'%') {
                out.push_back(L'%');
                ++i;
                continue;
            }
            if (pattern[i + 1] == L's' && next != args.end()) {
                out.append(*next++);
                ++i;
                continue;
            }
        }
        out.push_back(pattern[i]);
    }
    return out;
}

} // namespace nestora::gui
