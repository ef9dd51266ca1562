#include "hostile_names.h"

namespace nestora::reliability {

std::wstring OversizedText() {
    return std::wstring(32768, L'x');
}

std::vector<NamedText> HostileFolderNames() {
    std::vector<NamedText> names = {
        {"parent twice, backslashes", L"..\\..\\escaped"},
        {"parent, slash", L"../escaped"},
        {"parent alone", L".."},
        {"dot alone", L"."},
        {"subfolder", L"inside\\deeper"},
        {"subfolder, slash", L"inside/deeper"},
        {"drive path", L"C:\\escaped"},
        {"drive-relative", L"C:escaped"},
        {"server path", L"\\\\server\\share\\escaped"},
        {"extended-length prefix", L"\\\\?\\C:\\escaped"},
        {"stream name", L"name:stream"},
        {"CON", L"CON"},
        {"con, lower case", L"con"},
        {"NUL", L"NUL"},
        {"PRN", L"PRN"},
        {"AUX", L"AUX"},
        {"COM1", L"COM1"},
        {"LPT1", L"LPT1"},
        {"LPT9", L"lpt9"},
        {"COM with a superscript one", L"COM\u00B9"},
        {"CON with an extension", L"CON.txt"},
        {"NUL with two extensions", L"nul.tar.gz"},
        {"COM1 with a blank and an extension", L"COM1 .log"},
        {"asterisk", L"a*b"},
        {"question mark", L"a?b"},
        {"quotes", L"a\"b\""},
        {"angle brackets", L"<a>"},
        {"bar", L"a|b"},
        {"trailing full stop", L"name."},
        {"tab", L"a\tb"},
        {"control character 1", L"a\x01"
                                L"b"},
        {"escape character", L"a\x1B"
                             L"b"},
        {"embedded zero", std::wstring(L"ab\0..\\x", 7)},
        {"empty", L""},
        {"blanks only", L"     "},
        {"64 KiB", OversizedText()},
        {"241 characters", std::wstring(241, L'n')},
    };
    return names;
}

std::vector<NamedText> UnreadableHotKeyTexts() {
    std::vector<NamedText> texts = {
        {"empty", L""},
        {"modifier alone", L"Ctrl+"},
        {"unknown key", L"Ctrl+NoSuchKey"},
        {"64 KiB", OversizedText()},
        {"64 KiB of modifiers",
         [] {
             std::wstring text;
             while (text.size() < 32768)
                 text += L"Ctrl+";
             return text;
         }()},
        {"64 KiB of carets and a key", std::wstring(32767, L'^') + L"?"},
        {"zero after a modifier", std::wstring(L"Ctrl+\0F", 7)},
        {"control characters", L"\x01\x02\x03"},
    };
    return texts;
}

} // namespace nestora::reliability
