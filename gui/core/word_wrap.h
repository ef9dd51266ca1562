#pragma once
// Word wrapping for labels, done by us rather than by DrawText so that a label breaks its
// lines the same way on every system. Windows' rule: lines break at runs of blanks, the
// blanks at a break belong to neither line, blanks at the very start of a paragraph count
// as part of its first line, a word wider than the whole line stays whole on a line of its
// own, and explicit line ends (CR, LF or CR LF) start new paragraphs. (Wine's DrawText keeps
// the blanks of a break at the start of the next line, which scatters texts that are padded
// with blanks to fall on their lines.) No windows.h here.

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace nestora::gui {

struct WrappedLine {
    std::size_t start = 0;
    std::size_t length = 0;

    bool operator==(const WrappedLine&) const = default;
};

// The width in pixels of a run of the text as it would be drawn.
using TextWidthFunction = std::function<int(std::wstring_view)>;

// The lines of text when wrapped into maxWidth pixels, as ranges of text. An empty text
// gives one empty line.
std::vector<WrappedLine> WrapWords(std::wstring_view text, int maxWidth,
                                   const TextWidthFunction& width);

} // namespace nestora::gui
