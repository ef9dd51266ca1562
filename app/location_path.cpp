#include "app/location_path.h"

#include "app/text_case.h"

#include <string>

namespace nestora::app {

namespace {

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

bool IsSlash(wchar_t c) {
    return c == L'/' || c == L'\\';
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// "C:" or the old "C|" at the start of a path part.
bool StartsWithDrive(std::wstring_view part) {
    return part.size() >= 2 && IsAsciiLetter(part[0]) && (part[1] == L':' || part[1] == L'|') &&
           (part.size() == 2 || IsSlash(part[2]));
}

void AppendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

// Decodes one run of escaped bytes as UTF-8; false on anything that isn't well-formed
// (overlong forms, surrogates, code points past U+10FFFF, cut-off sequences).
bool AppendUtf8(std::wstring& out, const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            length = 1, cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, cp = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, cp = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, cp = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        AppendCodePoint(out, cp);
        i += length;
    }
    return true;
}

// Every %XX becomes its byte; consecutive bytes are read together as UTF-8, since one
// letter outside ASCII spans several escapes.
std::optional<std::wstring> PercentDecode(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    std::string bytes;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == L'%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
            HexDigitValue(text[i + 2]) >= 0) {
            bytes +=
                static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 3;
            continue;
        }
        if (!bytes.empty()) {
            if (!AppendUtf8(out, bytes))
                return std::nullopt;
            bytes.clear();
        }
        out += text[i++];
    }
    if (!bytes.empty() && !AppendUtf8(out, bytes))
        return std::nullopt;
    return out;
}

// The path part of a "file:" URL (what follows "file:"), still escaped, in the shape of
// a Windows path: drive paths without their leading slashes, UNC paths with two.
std::wstring PathPartOf(std::wstring_view rest) {
    std::size_t slashes = 0;
    while (slashes < rest.size() && IsSlash(rest[slashes]))
        ++slashes;
    const std::wstring_view afterSlashes = rest.substr(slashes);
    if (slashes == 2) {
        // file://host/path: the host may be the local machine, a drive written where the
        // host goes (file://C:/x), or a server.
        std::size_t hostEnd = 0;
        while (hostEnd < afterSlashes.size() && !IsSlash(afterSlashes[hostEnd]))
            ++hostEnd;
        const std::wstring_view host = afterSlashes.substr(0, hostEnd);
        if (host.empty())
            return {};
        if (EqualsIgnoreCase(host, L"localhost")) {
            std::wstring_view path = afterSlashes.substr(hostEnd);
            while (!path.empty() && IsSlash(path.front()))
                path.remove_prefix(1);
            return std::wstring(path);
        }
        if (StartsWithDrive(afterSlashes))
            return std::wstring(afterSlashes);
        return L"\\\\" + std::wstring(afterSlashes);
    }
    if (slashes >= 4 && !StartsWithDrive(afterSlashes))
        return L"\\\\" + std::wstring(afterSlashes);
    // file:///dir without a drive names a folder on no particular drive: it stays rooted
    // ("\dir"), never relative.
    if (slashes > 0 && !afterSlashes.empty() && !StartsWithDrive(afterSlashes))
        return L"\\" + std::wstring(afterSlashes);
    return std::wstring(afterSlashes);
}

} // namespace

std::optional<std::wstring> FolderPathFromLocation(std::wstring_view location) {
    constexpr std::wstring_view scheme = L"file:";
    if (!StartsWithIgnoreCase(location, scheme))
        return std::nullopt;
    std::wstring path = PathPartOf(location.substr(scheme.size()));
    if (StartsWithDrive(path) && path[1] == L'|')
        path[1] = L':';

    auto decoded = PercentDecode(path);
    if (!decoded || decoded->empty())
        return std::nullopt;
    for (auto& c : *decoded) {
        if (static_cast<unsigned>(c) < 0x20)
            return std::nullopt;
        if (c == L'/')
            c = L'\\';
    }
    return decoded;
}

} // namespace nestora::app
