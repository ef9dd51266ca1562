#pragma once
// The names of the single-instance guard's two mutexes.
//
// Every copy of a program derives the same names from the same identity (the executable's
// path upper-cased, or the application title), so the copies meet at the same kernel
// objects: "<identity><Identifier>.OneInstance.CriticalSection" serialises the test, and
// "<identity><Identifier>.OneInstance.Default" is held by the running copy for its life.
// Backslashes become forward slashes: in a kernel object's name a backslash would be read
// as a namespace separator ("Global\", "Local\").
//
// LOAD BEARING: Windows refuses object names longer than MAX_PATH - 1 units; a refused
// "CriticalSection" mutex would count as another copy running, and a program started from
// a deep folder would then never start. Such a long base name is shortened the same way in
// every copy (a hash of the whole name, then its end), so the names still fit and still
// differ between paths. No windows.h here.

#include <cstddef>
#include <string>
#include <string_view>

namespace nestora::desktop {

constexpr std::size_t kMaxKernelObjectName = 259;

struct GuardMutexNames {
    std::wstring criticalSection;
    std::wstring guard; // the one ending in "Default"
};

// identity: the upper-cased executable path or the application title, as the caller chose.
GuardMutexNames MakeGuardMutexNames(std::wstring_view identity, std::wstring_view identifier);

} // namespace nestora::desktop
