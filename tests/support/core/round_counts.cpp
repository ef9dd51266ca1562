#include "tests/support/core/round_counts.h"

#include <cstdlib>
#include <cstring>

namespace nestora::testing {

bool soakRequested(const char* soakSetting) {
    return soakSetting && *soakSetting && std::strcmp(soakSetting, "0") != 0;
}

int roundsFor(const char* soakSetting, RoundCounts counts) {
    return soakRequested(soakSetting) ? counts.full : counts.modest;
}

int rounds(RoundCounts counts) {
    return roundsFor(std::getenv("NESTORA_SOAK"), counts);
}

bool soaking() {
    return soakRequested(std::getenv("NESTORA_SOAK"));
}

} // namespace nestora::testing
