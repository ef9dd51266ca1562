#pragma once
// Menu captions and their keyboard accelerators ("&File": Alt+F or F while the menu is
// open), without windows.h.
//
// An ampersand marks the next character as the accelerator; "&&" is a literal ampersand.
// Automatic accelerators (a menu's AutoHotkeys = maAutomatic) give every caption of one
// level that has none a letter or digit no sibling uses yet, preferring the first letters
// of words; captions that already have one keep it exactly, separators ("-") and empty
// captions are left alone. The stored captions never change: menus show the assigned
// ones (TMenuItem::DisplayCaption).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::gui {

// The accelerator character (upper case), or 0 when the caption has none.
wchar_t AcceleratorOf(std::wstring_view caption);
// The caption as shown without underlines: "&&" -> "&", "&x" -> "x".
std::wstring StripAccelerators(std::wstring_view caption);
// The captions of one menu level with automatic accelerators added.
std::vector<std::wstring> AssignAccelerators(const std::vector<std::wstring>& captions);

struct AcceleratorMatch {
    int index = -1;       // the item to select
    bool execute = false; // the only item with that key: run it at once
};
// Which of one level's captions the typed character selects. With several matches the one
// after `current` (the highlighted index, -1 for none) is selected, without running it.
std::optional<AcceleratorMatch> FindAccelerator(const std::vector<std::wstring>& captions,
                                                wchar_t typed, int current);

} // namespace nestora::gui
