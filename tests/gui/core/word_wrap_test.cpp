#include "gui/core/word_wrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nestora::gui {
namespace {

// Fixed metrics: a blank is 3 pixels, every other character 6.
int FixedWidth(std::wstring_view text) {
    int width = 0;
    for (const wchar_t c : text)
        width += c == L' ' ? 3 : 6;
    return width;
}

std::vector<std::wstring> Lines(std::wstring_view text, int maxWidth) {
    std::vector<std::wstring> lines;
    for (const WrappedLine& line : WrapWords(text, maxWidth, FixedWidth))
        lines.emplace_back(text.substr(line.start, line.length));
    return lines;
}

using L = std::vector<std::wstring>;

TEST(WordWrap, BlanksAtABreakBelongToNeitherLine) {
    // "aaa bbb" is 39 pixels; 30 take one word a line, and the run between them vanishes.
    EXPECT_EQ(Lines(L"aaa     bbb", 30), (L{L"aaa", L"bbb"}));
    EXPECT_EQ(Lines(L"aaa bbb", 39), (L{L"aaa bbb"}));
    EXPECT_EQ(Lines(L"aaa bbb ccc", 39), (L{L"aaa bbb", L"ccc"}));
    // Blanks at the end are never drawn.
    EXPECT_EQ(Lines(L"aaa   ", 18), (L{L"aaa"}));
}

TEST(WordWrap, LeadingBlanksStayWithTheFirstLineOrLeaveItEmpty) {
    EXPECT_EQ(Lines(L"  aaa", 30), (L{L"  aaa"}));
    // Blanks and the first word wider than the line: the word starts the second line.
    EXPECT_EQ(Lines(L"          aaa", 30), (L{L"", L"aaa"}));
}

TEST(WordWrap, AWordWiderThanTheLineStaysWholeOnALineOfItsOwn) {
    EXPECT_EQ(Lines(L"abcdefghij", 30), (L{L"abcdefghij"}));
    EXPECT_EQ(Lines(L"ab abcdefghij cd", 30), (L{L"ab", L"abcdefghij", L"cd"}));
}

TEST(WordWrap, LineEndsStartParagraphsAndEmptyTextsHaveOneLine) {
    EXPECT_EQ(Lines(L"ab\r\ncd\ref\ngh", 100), (L{L"ab", L"cd", L"ef", L"gh"}));
    EXPECT_EQ(Lines(L"ab\n\ncd", 100), (L{L"ab", L"", L"cd"}));
    EXPECT_EQ(Lines(L"", 100), (L{L""}));
    EXPECT_EQ(Lines(L"    ", 100), (L{L""}));
}

} // namespace
} // namespace nestora::gui
