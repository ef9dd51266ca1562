#include "bench/bench_stats.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace nestora::bench {

double Median(std::vector<double> samples) {
    if (samples.empty())
        throw std::invalid_argument("median of no samples");
    const std::size_t middle = samples.size() / 2;
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(middle),
                     samples.end());
    const double upper = samples[middle];
    if (samples.size() % 2 == 1)
        return upper;
    const double lower =
        *std::max_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(middle));
    return (lower + upper) / 2;
}

double Ratio(double a, double b) {
    if (!(b > 0))
        throw std::invalid_argument("ratio over a time that is not above zero");
    return a / b;
}

Quartiles QuartilesOf(std::vector<double> samples) {
    if (samples.empty())
        throw std::invalid_argument("quartiles of no samples");
    if (samples.size() == 1)
        return {samples[0], samples[0]};
    std::sort(samples.begin(), samples.end());
    const std::size_t half = samples.size() / 2;
    const auto lowerEnd = samples.begin() + static_cast<std::ptrdiff_t>(half);
    const auto upperBegin = samples.end() - static_cast<std::ptrdiff_t>(half);
    return {Median(std::vector<double>(samples.begin(), lowerEnd)),
            Median(std::vector<double>(upperBegin, samples.end()))};
}

double MedianOfPairedRatios(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size())
        throw std::invalid_argument("paired ratios of runs that are not paired");
    std::vector<double> ratios;
    ratios.reserve(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        ratios.push_back(Ratio(a[i], b[i]));
    return Median(std::move(ratios));
}

std::vector<std::vector<double>> TimeInTurns(int rounds,
                                             const std::vector<std::function<void()>>& contenders) {
    using Clock = std::chrono::steady_clock;
    std::vector<std::vector<double>> samples(contenders.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < contenders.size(); ++i) {
            const auto start = Clock::now();
            contenders[i]();
            const auto end = Clock::now();
            samples[i].push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
    }
    return samples;
}

std::vector<double> MediansOf(const std::vector<std::vector<double>>& samples) {
    std::vector<double> medians;
    medians.reserve(samples.size());
    for (const auto& runs : samples)
        medians.push_back(Median(runs));
    return medians;
}

Table::Table(std::vector<std::string> headers) : headers_(std::move(headers)) {}

void Table::AddRow(std::vector<std::string> cells) {
    if (cells.size() != headers_.size())
        throw std::invalid_argument("a table row needs one cell per column");
    rows_.push_back(std::move(cells));
}

std::string Table::Render() const {
    std::vector<std::size_t> widths;
    for (const auto& header : headers_)
        widths.push_back(header.size());
    for (const auto& row : rows_)
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());

    auto line = [&](const std::vector<std::string>& cells) {
        std::string text = "|";
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::string pad(widths[i] - cells[i].size(), ' ');
            text += ' ';
            text += i == 0 ? cells[i] + pad : pad + cells[i];
            text += " |";
        }
        return text + "\n";
    };
    std::string text = line(headers_);
    text += "|";
    for (std::size_t i = 0; i < widths.size(); ++i)
        text += std::string(widths[i] + 1, '-') + (i == 0 ? "-|" : ":|");
    text += "\n";
    for (const auto& row : rows_)
        text += line(row);
    return text;
}

std::string Fixed(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, value);
    return buffer;
}

} // namespace nestora::bench
