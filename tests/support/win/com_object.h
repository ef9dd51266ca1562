// The reference count of a test's COM object over its interfaces: the last Release deletes
// it as what it is (Object), since the interfaces have no virtual destructor.
#pragma once

#include <windows.h>

#include <unknwn.h>

// COM interfaces have no virtual destructor: their objects delete themselves in Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace nestora::testing {

template <class Object, class... Interfaces> class ComObject : public Interfaces... {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete static_cast<Object*>(this);
        return left;
    }

protected:
    // Gives out one of the object's interfaces from QueryInterface, counted.
    template <class Interface> HRESULT Hand(Interface* pointer, void** out) {
        *out = pointer;
        AddRef();
        return S_OK;
    }

private:
    ULONG references_ = 1;
};

} // namespace nestora::testing

#pragma GCC diagnostic pop
