#include "gui/core/word_wrap.h"

namespace nestora::gui {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

bool IsLineEnd(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

// Wraps one paragraph (text[begin, end), no line ends inside) into lines.
void WrapParagraph(std::wstring_view text, std::size_t begin, std::size_t end, int maxWidth,
                   const TextWidthFunction& width, std::vector<WrappedLine>& lines) {
    std::size_t lineStart = begin;
    std::size_t lineEnd = begin; // after the line's last word
    bool lineHasWords = false;
    std::size_t i = begin;
    while (i < end) {
        const std::size_t blanksStart = i;
        while (i < end && IsBlank(text[i]))
            ++i;
        const std::size_t wordStart = i;
        while (i < end && !IsBlank(text[i]))
            ++i;
        if (wordStart == i)
            break; // blanks at the paragraph's end are never drawn
        // The first word takes the paragraph's leading blanks with it; a first word that is
        // wider than the line on its own stays there whole.
        const bool fits = width(text.substr(lineStart, i - lineStart)) <= maxWidth;
        if (fits || (!lineHasWords && blanksStart == wordStart)) {
            lineEnd = i;
            lineHasWords = true;
            continue;
        }
        // The line so far ends here (a line of leading blanks alone comes out empty); the
        // blanks between belong to neither line.
        lines.push_back({lineStart, lineHasWords ? lineEnd - lineStart : 0});
        lineStart = wordStart;
        lineEnd = i;
        lineHasWords = true;
    }
    lines.push_back({lineStart, lineHasWords ? lineEnd - lineStart : 0});
}

} // namespace

std::vector<WrappedLine> WrapWords(std::wstring_view text, int maxWidth,
                                   const TextWidthFunction& width) {
    std::vector<WrappedLine> lines;
    std::size_t begin = 0;
    while (true) {
        std::size_t end = begin;
        while (end < text.size() && !IsLineEnd(text[end]))
            ++end;
        WrapParagraph(text, begin, end, maxWidth, width, lines);
        if (end == text.size())
            break;
        // CR LF is one line end.
        begin =
            end + (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n' ? 2 : 1);
    }
    return lines;
}

} // namespace nestora::gui
