// The benchmarks' arithmetic: a wrong median or ratio would make every figure a lie.
#include "bench/bench_stats.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace nestora::bench {
namespace {

TEST(Median, OddEvenAndUnsortedSamples) {
    EXPECT_EQ(Median({7}), 7);
    EXPECT_EQ(Median({9, 1, 5}), 5);
    // Even counts: the mean of the two middle samples, whatever the order.
    EXPECT_EQ(Median({4, 1, 3, 2}), 2.5);
    EXPECT_EQ(Median({100, 1, 1, 100}), 50.5);
    // One wild sample does not move it.
    EXPECT_EQ(Median({10, 11, 12, 1e9, 9}), 11);
}

TEST(Median, NoSamplesIsRefused) {
    EXPECT_THROW(Median({}), std::invalid_argument);
}

TEST(Ratio, RefusesATimeThatIsNotAboveZero) {
    EXPECT_EQ(Ratio(30, 1.5), 20);
    EXPECT_THROW(Ratio(1, 0), std::invalid_argument);
    EXPECT_THROW(Ratio(1, -2), std::invalid_argument);
}

TEST(Quartiles, MediansOfTheHalvesWithTheMiddleSampleInNeither) {
    const Quartiles odd = QuartilesOf({5, 1, 4, 2, 3}); // halves {1, 2} and {4, 5}
    EXPECT_EQ(odd.lower, 1.5);
    EXPECT_EQ(odd.upper, 4.5);
    const Quartiles even = QuartilesOf({8, 6, 2, 4, 1, 7, 3, 5}); // {1..4} and {5..8}
    EXPECT_EQ(even.lower, 2.5);
    EXPECT_EQ(even.upper, 6.5);
    // One wild sample among seven leaves the lower quartile alone.
    EXPECT_EQ(QuartilesOf({10, 11, 12, 13, 14, 15, 1e9}).lower, 11);
    const Quartiles one = QuartilesOf({42});
    EXPECT_EQ(one.lower, 42);
    EXPECT_EQ(one.upper, 42);
    EXPECT_THROW(QuartilesOf({}), std::invalid_argument);
}

TEST(PairedRatios, TheMedianOfEachRoundsRatio) {
    // Rounds of very different speed, each with the same ratio, give that ratio; one
    // round where only one of the pair stalled does not move it.
    EXPECT_EQ(MedianOfPairedRatios({150, 3000, 15, 150, 9000}, {100, 2000, 10, 100, 600}), 1.5);
    EXPECT_EQ(MedianOfPairedRatios({3, 8}, {1, 2}), 3.5);
    EXPECT_THROW(MedianOfPairedRatios({1, 2}, {1}), std::invalid_argument);
    EXPECT_THROW(MedianOfPairedRatios({}, {}), std::invalid_argument);
    EXPECT_THROW(MedianOfPairedRatios({1}, {0}), std::invalid_argument);
}

TEST(TimeInTurns, RunsEveryContenderOncePerRoundInTurn) {
    std::string order;
    const auto samples =
        TimeInTurns(3, {[&] { order += 'a'; }, [&] { order += 'b'; }, [&] { order += 'c'; }});
    EXPECT_EQ(order, "abcabcabc");
    ASSERT_EQ(samples.size(), 3u);
    for (const auto& runs : samples) {
        ASSERT_EQ(runs.size(), 3u);
        for (const double time : runs)
            EXPECT_GE(time, 0);
    }
    EXPECT_EQ(MediansOf(samples).size(), 3u);
}

TEST(Table, ColumnsAreAsWideAsTheirWidestCellAndNumbersAlignRight) {
    Table table({"N", "time"});
    table.AddRow({"10000", "3"});
    table.AddRow({"0", "12.5"});
    EXPECT_EQ(table.Render(), "| N     | time |\n"
                              "|-------|-----:|\n"
                              "| 10000 |    3 |\n"
                              "| 0     | 12.5 |\n");
    EXPECT_THROW(table.AddRow({"only one"}), std::invalid_argument);
}

TEST(Fixed, RoundsToTheDigitsAsked) {
    EXPECT_EQ(Fixed(2.345, 1), "2.3");
    EXPECT_EQ(Fixed(19.96, 1), "20.0");
    EXPECT_EQ(Fixed(1234.4, 0), "1234");
}

} // namespace
} // namespace nestora::bench
