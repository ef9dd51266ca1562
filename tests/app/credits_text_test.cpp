#include "app/credits_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace nestora::app {
namespace {

// The label's word wrap with fixed metrics: words break at blanks, a line takes words while
// they fit, and the blanks at a break are dropped. A line without words comes out empty.
std::vector<std::wstring> WrapLines(std::wstring_view text, int blankWidth, int letterWidth,
                                    int width) {
    std::vector<std::wstring> lines;
    std::wstring line;
    int lineWidth = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t blanks = 0;
        while (i < text.size() && text[i] == L' ')
            ++blanks, ++i;
        std::size_t start = i;
        while (i < text.size() && text[i] != L' ')
            ++i;
        const std::wstring_view word = text.substr(start, i - start);
        if (word.empty())
            break;
        const int wordWidth = static_cast<int>(word.size()) * letterWidth;
        const int blanksWidth = static_cast<int>(blanks) * blankWidth;
        if (lineWidth + blanksWidth + wordWidth <= width) {
            if (!line.empty())
                line.append(blanks, L' ');
            line += word;
            lineWidth += blanksWidth + wordWidth;
        } else {
            lines.push_back(line);
            line = word;
            lineWidth = wordWidth;
        }
    }
    lines.push_back(line);
    return lines;
}

TEST(CreditsText, LengthsOfTheTwoLanguages) {
    EXPECT_EQ(CreditsText(Language::english).size(), 239u);
    EXPECT_EQ(CreditsText(Language::russian).size(), 227u);
}

TEST(CreditsText, HeadingAuthorsMailLabelAndAddressInThatOrder) {
    EXPECT_EQ(CreditsItemsOf(Language::english).items[0], L"Programming:");
    EXPECT_EQ(CreditsItemsOf(Language::russian).items[0], L"Программирование:");
    for (const auto language : {Language::english, Language::russian}) {
        const auto& credits = CreditsItemsOf(language);
        EXPECT_EQ(credits.items[3], L"E-Mail:");
        EXPECT_NE(credits.items[4].find(L'@'), std::wstring_view::npos);
        const std::wstring text = CreditsText(language);
        EXPECT_EQ(text.front(), L' ');
        std::size_t from = 0;
        for (const auto item : credits.items) {
            const auto at = text.find(item, from);
            ASSERT_NE(at, std::wstring::npos) << testing::PrintToString(std::wstring(item));
            EXPECT_GT(at, from); // a run of blanks before every item
            from = at + item.size();
        }
        EXPECT_EQ(from, text.size());
    }
}

TEST(CreditsText, EachItemFallsOnALineOfItsOwn) {
    for (const auto language : {Language::english, Language::russian}) {
        const auto& items = CreditsItemsOf(language).items;
        const std::vector<std::wstring> expected = {L"",
                                                    std::wstring(items[0]),
                                                    std::wstring(items[1]),
                                                    std::wstring(items[2]),
                                                    std::wstring(items[3]),
                                                    std::wstring(items[4])};
        // Blanks of 3 to 5 pixels, letters of 5 or 6 on average: bold 8 pt sans serif.
        for (const int blank : {3, 4, 5}) {
            for (const int letter : {5, 6}) {
                EXPECT_EQ(WrapLines(CreditsText(language), blank, letter, kCreditsLabelWidth),
                          expected)
                    << "blank " << blank << ", letter " << letter;
            }
        }
    }
}

} // namespace
} // namespace nestora::app
