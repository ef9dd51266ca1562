#include "tests/support/core/round_counts.h"

#include <cstdlib>
#include <cstring>

namespace nestora::testing {

bool SoakRequested(const char* soakSetting) {
    return soakSetting && *soakSetting && std::strcmp(soakSetting, "0") != 0;
}

int RoundsFor(const char* soakSetting, RoundCounts counts) {
    return SoakRequested(soakSetting) ? counts.full : counts.modest;
}

int Rounds(RoundCounts counts) {
    return RoundsFor(std::getenv("NESTORA_SOAK"), counts);
}

bool Soaking() {
    return SoakRequested(std::getenv("NESTORA_SOAK"));
}

} // namespace nestora::testing
