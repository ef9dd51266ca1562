// Damaged copies of a good theme file: cut short at every length, bits flipped, bytes
// overwritten. Each one must either load, with every entry inside the file, or be refused
// with a ThemeFileError; never crash, hang or read outside the buffer (the native build
// runs this under AddressSanitizer and UBSan).
#include "skin/menus/theme_file_parser.h"

#include "theme_file_cases.h"
#include "theme_file_mutation.h"

#include <gtest/gtest.h>

namespace {

TEST(ThemeFileMutations, EveryTruncationOfARichFileLoadsOrIsRefused) {
    const auto original = nestora::theme_test::RichTheme();
    const auto outcome = nestora::theme_test::TryTruncations(original);
    EXPECT_EQ(outcome.crashedOrWrong, 0u) << outcome.firstProblem;
    // Any cut loses the terminator, which lies last: none of them may pass as whole.
    EXPECT_EQ(outcome.loaded, 0u);
    EXPECT_EQ(outcome.refused, original.size());
}

TEST(ThemeFileMutations, FlippedBitsAndOverwrittenBytesLoadOrAreRefused) {
    const auto original = nestora::theme_test::RichTheme();
    const auto outcome = nestora::theme_test::TryMutations(original, 2000, 20240601);
    EXPECT_EQ(outcome.crashedOrWrong, 0u) << outcome.firstProblem;
    // Both paths are exercised: flips in pixel bytes still load, flips in offsets do not.
    EXPECT_GT(outcome.loaded, 0u);
    EXPECT_GT(outcome.refused, 0u);
    EXPECT_EQ(outcome.loaded + outcome.refused, 2000u);
}

} // namespace
