// A path of the build machine as a Windows program under Wine sees it: Wine's drive Z: is
// the Unix root. Build paths reach the tests as UTF-8 (compile definitions).
#pragma once

#include <string>
#include <string_view>

namespace nestora::testing {

// "/work/b/x.exe" becomes "Z:\work\b\x.exe". A relative path keeps no drive (it stays
// relative to the current folder), only its slashes turned.
std::wstring WindowsPathOf(std::string_view unixPath);

} // namespace nestora::testing
