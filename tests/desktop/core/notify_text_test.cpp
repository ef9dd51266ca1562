// Texts cut for the shell's fixed fields: counted in UTF-16 units whatever the width of
// wchar_t, and never cut between the halves of a surrogate pair.
#include "desktop/core/notify_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using nestora::desktop::CutToUtf16;
using nestora::desktop::Utf16Length;

constexpr wchar_t kGrin[] = L"\U0001F600"; // one character, two UTF-16 units

std::u16string Units(std::size_t n, char16_t c) {
    return std::u16string(n, c);
}

TEST(NotifyText, AHintOf200CharactersReachesTheShellAsItsFirst127) {
    const std::wstring hint(200, L'ж');
    EXPECT_EQ(CutToUtf16(hint, nestora::desktop::kTipLimit), Units(127, u'ж'));
    EXPECT_EQ(CutToUtf16(hint, nestora::desktop::kLegacyTipLimit), Units(63, u'ж'));
}

TEST(NotifyText, ACutNeverSplitsASurrogatePairAtAnyOfTheLimits) {
    for (const std::size_t limit : {nestora::desktop::kTipLimit, nestora::desktop::kLegacyTipLimit,
                                    nestora::desktop::kBalloonTextLimit, nestora::desktop::kBalloonTitleLimit}) {
        SCOPED_TRACE(limit);
        // The pair would take units limit and limit + 1: it goes whole.
        const std::wstring straddling = std::wstring(limit - 1, L'a') + kGrin + L"b";
        const std::u16string cut = CutToUtf16(straddling, limit);
        EXPECT_EQ(cut, Units(limit - 1, u'a'));
        // The pair fits exactly in the last two units: it stays whole.
        const std::wstring fitting = std::wstring(limit - 2, L'a') + kGrin + L"b";
        EXPECT_EQ(CutToUtf16(fitting, limit), Units(limit - 2, u'a') + u"\U0001F600");
    }
}

TEST(NotifyText, ShortTextsPassWholeAndPairsBecomeTwoUnits) {
    EXPECT_EQ(CutToUtf16(L"", 127), u"");
    EXPECT_EQ(CutToUtf16(L"Nestora — Ctrl+`", 127), u"Nestora — Ctrl+`");
    EXPECT_EQ(CutToUtf16(std::wstring(L"x") + kGrin, 127), u"x\U0001F600");
    EXPECT_EQ(CutToUtf16(L"abc", 0), u"");
    EXPECT_EQ(Utf16Length(std::wstring(L"ab") + kGrin), 4u);
    EXPECT_EQ(Utf16Length(L""), 0u);
}

TEST(NotifyText, AnUnpairedHalfIsNotMistakenForAPair) {
    // A high half followed by an ordinary letter is a character of its own: the cut keeps
    // it when it fits and does not take the letter after it along.
    std::wstring text = L"ab";
    text.push_back(static_cast<wchar_t>(0xD83D));
    text += L"cd";
    const std::u16string cut = CutToUtf16(text, 3);
    ASSERT_EQ(cut.size(), 3u);
    EXPECT_EQ(cut[2], static_cast<char16_t>(0xD83D));
    EXPECT_EQ(CutToUtf16(text, 4).back(), u'c');
}

} // namespace
