// The credits the help button shows in place of the settings.
//
// One line of text for a centred, word-wrapping label in bold "MS Sans Serif" 8 pt that
// fills the skinned frame (168 pixels wide: the credits view aligns Label1 to the frame's
// client area): the heading, the two authors, "E-Mail:" and the address. A run of blanks
// before each item pushes it onto a line of its own: an item, the run after it and the
// first word of the next item are wider than the label together even at the font's
// narrowest blank (3 pixels), and a wrapped line drops the blanks at its break. The first
// run and the heading are wider than the label too, which leaves an empty line above the
// heading. (The label wraps its lines itself, by that rule, on every system.)
#pragma once

#include "app/language_texts.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace nestora::app {

inline constexpr int kCreditsLabelWidth = 168;

struct CreditsItems {
    std::array<std::wstring_view, 5> items; // heading, two authors, "E-Mail:", address
    std::array<std::size_t, 5> blanksBefore;
};

const CreditsItems& CreditsItemsOf(Language language);

// The items, each after its run of blanks: 239 characters in English, 227 in Russian.
std::wstring CreditsText(Language language);

} // namespace nestora::app
