#pragma once
// The texts of a notification-area request: the tooltip and the balloon's text and title
// go to the shell in fixed arrays of UTF-16 units. A text longer than its array is cut, and
// the cut never separates the two halves of a surrogate pair (the shell would show the
// orphaned half as a box). No windows.h here: the tray icon copies the result into the
// shell's record.

#include <cstddef>
#include <string>
#include <string_view>

namespace nestora::desktop {

// Units available for text (the terminating zero not counted) in each field.
constexpr std::size_t kTipLimit = 127;      // szTip of the full record
constexpr std::size_t kLegacyTipLimit = 63; // szTip of the first record version
constexpr std::size_t kBalloonTextLimit = 255;
constexpr std::size_t kBalloonTitleLimit = 63;

// text in UTF-16, at most maxUnits units long. Where wchar_t is 16 bits the units are
// taken as they stand (an unpaired surrogate in the input stays); where it is 32 bits,
// code points above U+FFFF become pairs and invalid values U+FFFD.
std::u16string CutToUtf16(std::wstring_view text, std::size_t maxUnits);

// The number of UTF-16 units text takes.
std::size_t Utf16Length(std::wstring_view text);

} // namespace nestora::desktop
