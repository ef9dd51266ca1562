// The contact sheet: every strip, title-bar picture, menu bitmap and icon of the five
// looks on one neutral page, small pictures enlarged, each look also shown as an
// assembled title bar with its buttons and a caption where the frame puts them. It is for
// people reviewing the artwork (docs/skin.png), not for the program.
#pragma once

#include "artwork.h"
#include "canvas.h"
#include "looks.h"

#include <vector>

namespace nestora::skingen {

Canvas ContactSheet(const std::vector<Artwork>& artwork);

// A title bar of the given width assembled as the frame assembles it: left picture at the
// left, right picture at the right when there is room, the client picture stretched in
// between; close, maximise and minimise from the right, the control box at the left when
// asked for; the caption's place marked with the sheet's pixel font.
struct SampleBar {
    int width = 480;
    bool controlBox = true;
    bool closeAndMaximise = true;
    bool help = false;
    const char* caption = "Nestora";
};
Canvas AssembleTitleBar(const std::vector<Artwork>& artwork, nestora::skin::TsuiUIStyle style,
                        const SampleBar& sample);

} // namespace nestora::skingen
