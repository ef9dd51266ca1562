#pragma once
// Runs damaged copies of a theme file through the parser and tallies what happened.

#include <cstdint>
#include <string>
#include <vector>

namespace nestora::theme_test {

struct MutationOutcome {
    std::size_t loaded = 0;
    std::size_t refused = 0;
    // Anything but a clean load or a ThemeFileError with a proper message.
    std::size_t crashedOrWrong = 0;
    std::string firstProblem;
    // Sum of every byte the loaded copies handed out: they are all read, not just counted.
    std::uint64_t checksum = 0;
};

// The file cut to every length from 0 to its size - 1.
MutationOutcome TryTruncations(const std::vector<std::uint8_t>& original);
// count copies, each with one to four bits flipped or bytes overwritten at places chosen
// by a fixed-seed generator (the same places on every run and platform).
MutationOutcome TryMutations(const std::vector<std::uint8_t>& original, std::size_t count,
                             std::uint32_t seed);

} // namespace nestora::theme_test
