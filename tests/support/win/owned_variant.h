// A VARIANT that clears itself (freeing its string or releasing its object) when it goes.
#pragma once

#include <oaidl.h>
#include <oleauto.h>

namespace nestora::testing {

struct OwnedVariant : VARIANT {
    OwnedVariant() { ::VariantInit(this); }
    ~OwnedVariant() { ::VariantClear(this); }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;
};

} // namespace nestora::testing
