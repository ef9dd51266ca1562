#include "gui/core/picture_ref.h"

#include "gui/core/exceptions.h"
#include "gui/core/text.h"

namespace nestora::gui {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring_view Trimmed(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

[[noreturn]] void Refuse(std::wstring_view text) {
    throw EConvertError(L"\"" + std::wstring(text) + L"\" is not a picture resource");
}

// A positive decimal number of at most a few digits, or -1.
int Number(std::wstring_view s) {
    s = Trimmed(s);
    if (s.empty() || s.size() > 6)
        return -1;
    int value = 0;
    for (wchar_t c : s) {
        if (c < L'0' || c > L'9')
            return -1;
        value = value * 10 + (c - L'0');
    }
    return value;
}

} // namespace

PictureRef ParsePictureRef(std::wstring_view text) {
    const std::wstring_view whole = Trimmed(text);
    PictureRef desc;
    std::wstring_view name = whole;
    const std::size_t open = whole.find(L'[');
    if (open != std::wstring_view::npos) {
        if (whole.back() != L']')
            Refuse(text);
        const std::wstring_view inside = whole.substr(open + 1, whole.size() - open - 2);
        const std::size_t slash = inside.find(L'/');
        if (slash == std::wstring_view::npos)
            Refuse(text);
        desc.cell = Number(inside.substr(0, slash));
        desc.cellCount = Number(inside.substr(slash + 1));
        if (desc.cell < 1 || desc.cellCount < 1 || desc.cell > desc.cellCount ||
            desc.cellCount > kMaxPictureCells)
            Refuse(text);
        name = Trimmed(whole.substr(0, open));
    }
    if (name.empty())
        Refuse(text);
    for (wchar_t c : name)
        if (IsBlank(c) || c == L'[' || c == L']' || c == L'/' || c < 0x20)
            Refuse(text);
    desc.name = std::wstring(name);
    return desc;
}

std::wstring PictureRefText(const PictureRef& desc) {
    if (!desc.IsCell())
        return desc.name;
    return desc.name + L"[" + IntToStr(desc.cell) + L"/" + IntToStr(desc.cellCount) +
           L"]";
}

TRect CellRect(TSize strip, int cell, int count) {
    if (count < 1 || cell < 1 || cell > count || strip.Height <= 0)
        return TRect{};
    const int width = strip.Width / count;
    if (width <= 0)
        return TRect{};
    return TRect{width * (cell - 1), 0, width * cell, strip.Height};
}

} // namespace nestora::gui
