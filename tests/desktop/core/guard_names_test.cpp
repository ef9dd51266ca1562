// The names of the guard's mutexes: derived from the identity with slashes instead of
// backslashes, and always short enough for Windows to accept, the same in every copy.
#include "desktop/core/guard_names.h"
#include "desktop/core/notify_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using nestora::desktop::kMaxKernelObjectName;
using nestora::desktop::MakeGuardMutexNames;
using nestora::desktop::Utf16Length;

TEST(GuardNames, AnUpperCasedPathGivesForwardSlashedNames) {
    const auto names = MakeGuardMutexNames(L"C:\\TOOLS\\APP.EXE", L"");
    EXPECT_EQ(names.criticalSection, L"C:/TOOLS/APP.EXE.OneInstance.CriticalSection");
    EXPECT_EQ(names.guard, L"C:/TOOLS/APP.EXE.OneInstance.Default");
}

TEST(GuardNames, TheTitleStaysAsItIsAndTheIdentifierFollowsIt) {
    const auto names = MakeGuardMutexNames(L"Nestora Test", L"\\Two\\");
    EXPECT_EQ(names.guard, L"Nestora Test/Two/.OneInstance.Default");
    EXPECT_EQ(names.criticalSection, L"Nestora Test/Two/.OneInstance.CriticalSection");
}

std::wstring DeepPath(std::size_t length, wchar_t head) {
    std::wstring path = L"C:\\";
    path.push_back(head);
    while (path.size() < length - 8)
        path += L"\\FOLDER";
    path.resize(length - 8, L'X');
    return path + L"\\APP.EXE";
}

TEST(GuardNames, ALongPathIsShortenedTheSameWayInEveryCopy) {
    const std::wstring path = DeepPath(400, L'A');
    const auto names = MakeGuardMutexNames(path, L"");
    EXPECT_LE(Utf16Length(names.criticalSection), kMaxKernelObjectName);
    EXPECT_LE(Utf16Length(names.guard), kMaxKernelObjectName);
    EXPECT_EQ(names.criticalSection.find(L'\\'), std::wstring::npos);
    // Both names share one base, and the end of the path (the program) is still there.
    const std::wstring base = names.guard.substr(0, names.guard.size() - 7);
    EXPECT_EQ(names.criticalSection, base + L"CriticalSection");
    EXPECT_NE(names.guard.find(L"/APP.EXE.OneInstance.Default"), std::wstring::npos);
    // Deterministic: a second copy derives the same names.
    EXPECT_EQ(MakeGuardMutexNames(path, L"").guard, names.guard);
    // Paths that differ only far from their end still get different names.
    EXPECT_NE(MakeGuardMutexNames(DeepPath(400, L'B'), L"").guard, names.guard);
}

TEST(GuardNames, ABaseThatJustFitsIsLeftAloneAndOneUnitMoreIsShortened) {
    const std::size_t room = kMaxKernelObjectName - std::wstring(L"CriticalSection").size();
    const std::size_t infix = std::wstring(L".OneInstance.").size();
    const std::wstring fits(room - infix, L'T');
    EXPECT_EQ(MakeGuardMutexNames(fits, L"").guard, fits + L".OneInstance.Default");
    const auto longer = MakeGuardMutexNames(fits + L"T", L"");
    EXPECT_EQ(Utf16Length(longer.criticalSection), kMaxKernelObjectName);
    EXPECT_NE(longer.guard.find(L'~'), std::wstring::npos);
}

TEST(GuardNames, ShorteningNeverSplitsASurrogatePair) {
    // Pairs all along the path: whatever the cut, each kept pair is whole.
    std::wstring path = L"C:\\";
    while (Utf16Length(path) < 400)
        path += L"\\\U0001F4C1";
    const auto names = MakeGuardMutexNames(path, L"");
    const std::u16string units = nestora::desktop::CutToUtf16(names.criticalSection, 1000);
    EXPECT_LE(units.size(), kMaxKernelObjectName);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF;
        const bool low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
        if (high) {
            ASSERT_LT(i + 1, units.size());
            EXPECT_TRUE(units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) << i;
        }
        if (low) {
            ASSERT_GT(i, 0u);
            EXPECT_TRUE(units[i - 1] >= 0xD800 && units[i - 1] <= 0xDBFF) << i;
        }
    }
}

} // namespace
