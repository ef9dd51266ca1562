// The arithmetic and the printing of the benchmarks, without Windows.
//
// Every figure a benchmark reports is the median of repeated runs; contenders are run in
// turns (one run of each, then the next round) so that a noisy moment on the machine hits
// them alike, and a comparison is given as the ratio of their medians from the same run.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace nestora::bench {

// The median of the samples: the middle one, or the mean of the two middle ones. Throws
// std::invalid_argument for no samples (a figure from nothing would be a lie).
double Median(std::vector<double> samples);

// a / b; throws std::invalid_argument when b is not above zero.
double Ratio(double a, double b);

// The lower and upper quartiles: the medians of the lower and the upper half of the
// sorted samples (the middle sample of an odd count belongs to neither half; a single
// sample is both). They give the spread a reader can trust more than the extremes, which
// one stall of the machine makes. Throws std::invalid_argument for no samples.
struct Quartiles {
    double lower = 0;
    double upper = 0;
};
Quartiles QuartilesOf(std::vector<double> samples);

// The median of the ratios a[i] / b[i] of runs made in the same round: a slow moment of
// the machine slows both runs of its round and drops out of their ratio. Throws
// std::invalid_argument when the counts differ, there are none, or a b[i] is not above 0.
double MedianOfPairedRatios(const std::vector<double>& a, const std::vector<double>& b);

// Runs each contender `rounds` times, one run of each per round in the order given, and
// returns each contender's run times in microseconds (result[contender][round]).
std::vector<std::vector<double>> TimeInTurns(int rounds,
                                             const std::vector<std::function<void()>>& contenders);

// Medians of the result of TimeInTurns, one per contender.
std::vector<double> MediansOf(const std::vector<std::vector<double>>& samples);

// A plain text table: a header row, a rule, and the rows, each column as wide as its
// widest cell; the first column left-aligned, the others right-aligned (they are numbers).
class Table {
public:
    explicit Table(std::vector<std::string> headers);
    // Throws std::invalid_argument when the row has not one cell per header.
    void AddRow(std::vector<std::string> cells);
    std::string Render() const;

private:
    std::vector<std::string> headers_;
    std::vector<std::vector<std::string>> rows_;
};

// A number with the given digits after the point ("12.35").
std::string Fixed(double value, int digits);

} // namespace nestora::bench
