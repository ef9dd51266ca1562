// How many rounds a reliability test runs: a modest number in every test run, so that the
// whole suite stays quick, and the full number when NESTORA_SOAK is set in the environment
// (scripts/soak sets it to 1; Wine hands the variable on to Windows programs).
#pragma once

namespace nestora::testing {

struct RoundCounts {
    int modest; // in every run of the tests
    int full;   // in a soak run
};

// Whether a value of NESTORA_SOAK (null when it is not set) asks for the full counts:
// any value but the empty text and "0".
bool SoakRequested(const char* soakSetting);

// The count for a given value of NESTORA_SOAK.
int RoundsFor(const char* soakSetting, RoundCounts counts);

// The count for this run, from the environment.
int Rounds(RoundCounts counts);

// Whether this run is a soak run.
bool Soaking();

} // namespace nestora::testing
