// Which picture a skin draws at a DPI other than 96 and how it is stretched: the pictures
// are drawn at 1x and at 2x (a further BITMAP resource under the 1x name plus "_2X"), and
// the one that loses least is chosen. Pure: skin/sui_scaled_picture.h draws what this
// decides, and the tests call it without windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nestora::skin {

inline constexpr wchar_t kTwoXSuffix[] = L"_2X";

struct PictureScaling {
    bool twoX = false; // the 2x picture rather than the 1x one
    // Reduced with halftone stretching (averaging the pixels that meet in one); otherwise
    // pixels are repeated or dropped, which keeps an enlarged picture's edges hard.
    bool halftone = false;
};

// At 96 dpi (or none known) the 1x picture as it is. Above 96, the 2x picture when there is
// one: reduced with halftone below 192, copied at 192, enlarged above; without one the 1x
// picture enlarged. Below 96 the 1x picture reduced with halftone.
PictureScaling ChoosePictureScaling(int dpi, bool hasTwoX);

// The resource text of the 2x picture of a 1x picture's text: the name gets the suffix, a
// cell stays the same cell of the 2x strip ("MACOS_TITLEBTN[13/18]" gives
// "MACOS_TITLEBTN_2X[13/18]"). Nothing for a resource named by number or a malformed text.
std::optional<std::wstring> TwoXPictureRef(std::wstring_view ref);

} // namespace nestora::skin
