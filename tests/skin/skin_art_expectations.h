// What the frame and the menus expect of the skin pictures, independent of how they are
// drawn: the sizes of the title-bar pictures and button cells of each look (the frame
// lays itself out by them) and the bitmaps loaded by fixed name. Shared by the test of the
// generator and the test of the built resources.
#pragma once

#include "skin/style_table.h"

#include <array>

namespace nestora::testing {

struct FrameArtSizes {
    skin::TsuiUIStyle style;
    int cell; // the button strip is 18 cells of cell x cell pixels
    int left[2], client[2], right[2];
};

inline constexpr std::array<FrameArtSizes, 5> kFrameArtSizes{{
    {skin::TsuiUIStyle::MacOS, 17, {48, 23}, {49, 23}, {48, 23}},
    {skin::TsuiUIStyle::WinXP, 21, {35, 29}, {37, 29}, {35, 29}},
    {skin::TsuiUIStyle::DeepBlue, 19, {97, 32}, {98, 32}, {97, 32}},
    {skin::TsuiUIStyle::Protein, 19, {441, 23}, {1, 23}, {1, 23}},
    {skin::TsuiUIStyle::BlueGlass, 19, {162, 33}, {179, 33}, {101, 33}},
}};

struct FixedBitmap {
    const char* name;
    int width, height, bitsPerPixel;
};

inline constexpr std::array<FixedBitmap, 8> kFixedBitmaps{{
    {"MACOS_FORM_BACKGROUND", 8, 8, 24},
    {"PROTEIN_FORM_BACKGROUND", 8, 8, 24},
    {"MACOS_MENU_BAR", 1, 22, 24},
    {"MACOS_MENU_SELECT", 1, 21, 24},
    {"MENU_CHECKED", 16, 16, 24},
    // The tray menu's image list: exit, show the window, the folder.
    {"IMG_EXIT", 16, 16, 32},
    {"IMG_SHOWWIN", 16, 16, 32},
    {"IMG_FOLDER", 16, 16, 32},
}};

} // namespace nestora::testing
