#include "gui/core/menu_hotkeys.h"

#include <cstdint>
#include <cwctype>

namespace nestora::gui {

namespace {

// Upper case that does not depend on the C library's locale for the alphabets of the
// program's languages (Latin-1 and Cyrillic); ASCII through the library.
wchar_t Upper(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    if (u >= 0x430 && u <= 0x44F)
        return static_cast<wchar_t>(u - 0x20);
    if (u >= 0x450 && u <= 0x45F)
        return static_cast<wchar_t>(u - 0x50);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
        return static_cast<wchar_t>(u - 0x20);
    if (u < 0x80)
        return static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
    return c;
}

// Letters and digits can be accelerators; beyond ASCII everything but blanks and
// punctuation of Latin-1 counts as a letter.
bool IsCandidate(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    if (u < 0x80)
        return std::iswalnum(static_cast<std::wint_t>(c)) != 0;
    return u >= 0xC0 && u != 0xD7 && u != 0xF7;
}

bool IsLine(std::wstring_view caption) {
    return caption == L"-";
}

} // namespace

wchar_t AcceleratorOf(std::wstring_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return Upper(caption[i + 1]);
    }
    return 0;
}

std::wstring StripAccelerators(std::wstring_view caption) {
    std::wstring out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == L'&')
            continue;
        out.push_back(caption[i]);
    }
    return out;
}

std::vector<std::wstring> AssignAccelerators(const std::vector<std::wstring>& captions) {
    std::vector<std::wstring> out = captions;
    std::wstring used;
    for (const std::wstring& c : captions)
        if (const wchar_t a = AcceleratorOf(c))
            used.push_back(a);
    for (std::wstring& caption : out) {
        if (caption.empty() || IsLine(caption) || AcceleratorOf(caption) != 0)
            continue;
        // Literal "&&" stays as it is; its characters are no candidates.
        std::size_t chosen = std::wstring::npos;
        for (int pass = 0; pass < 2 && chosen == std::wstring::npos; ++pass) {
            for (std::size_t i = 0; i < caption.size(); ++i) {
                if (caption[i] == L'&') {
                    ++i;
                    continue;
                }
                const bool wordStart = i == 0 || !IsCandidate(caption[i - 1]);
                if (!IsCandidate(caption[i]) || (pass == 0 && !wordStart) ||
                    used.find(Upper(caption[i])) != std::wstring::npos)
                    continue;
                chosen = i;
                break;
            }
        }
        if (chosen == std::wstring::npos)
            continue; // every character is taken: no accelerator rather than a duplicate
        used.push_back(Upper(caption[chosen]));
        caption.insert(chosen, 1, L'&');
    }
    return out;
}

std::optional<AcceleratorMatch> FindAccelerator(const std::vector<std::wstring>& captions,
                                                wchar_t typed, int current) {
    const wchar_t key = Upper(typed);
    std::vector<int> matches;
    for (std::size_t i = 0; i < captions.size(); ++i)
        if (key != 0 && AcceleratorOf(captions[i]) == key)
            matches.push_back(static_cast<int>(i));
    if (matches.empty())
        return std::nullopt;
    if (matches.size() == 1)
        return AcceleratorMatch{matches.front(), true};
    for (int m : matches)
        if (m > current)
            return AcceleratorMatch{m, false};
    return AcceleratorMatch{matches.front(), false};
}

} // namespace nestora::gui
