// What the program says when it has to end on an exception nobody caught.
//
// The C++ library's own report names the exception's type, and to name it that report links
// the library's whole name demangler (some 50 KB, a twentieth of the executable). A type's
// mangled name says as much to whoever reads the report, so this report gives the message
// and the raw type name, and ends the process the same way. Defining the library's report
// function here keeps its object, and the demangler it pulls in, out of the link.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <typeinfo>

#include <cxxabi.h>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    static bool reporting = false;
    if (reporting) { // the report itself threw: do not try again
        std::fputs("terminate called recursively\n", stderr);
        std::abort();
    }
    reporting = true;
    if (const std::type_info* type = abi::__cxa_current_exception_type()) {
        std::fputs("terminate called after throwing an instance of '", stderr);
        std::fputs(type->name(), stderr);
        std::fputs("'\n", stderr);
        try {
            throw;
        } catch (const std::exception& e) {
            std::fputs("  what():  ", stderr);
            std::fputs(e.what(), stderr);
            std::fputs("\n", stderr);
        } catch (...) {
        }
    } else {
        std::fputs("terminate called without an active exception\n", stderr);
    }
    std::abort();
}

} // namespace __gnu_cxx
