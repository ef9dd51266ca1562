#pragma once
// The text held by the bytes of a registry string value, read safely.
//
// Registry data is whatever some program wrote: it need not end in a zero, may have an odd
// number of bytes, and may hold zeros inside. The text is the UTF-16 (little-endian) code
// units up to the first zero unit or the end of the data; a trailing odd byte is not part
// of any unit and is ignored. Nothing past size is ever read.

#include <cstddef>
#include <string>

namespace nestora::gui {

std::wstring RegistryTextFromBytes(const unsigned char* data, std::size_t size);

} // namespace nestora::gui
