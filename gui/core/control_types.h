#pragma once
// Enumerations of forms and controls, with the names window descriptions use.

#include "gui/core/class_info.h"

namespace nestora::gui {

// The frame of a form.
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// The frame of a control (panels): none or a single line.
enum class TBorderStyle { bsNone, bsSingle };
enum TBorderIcon : unsigned { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = unsigned; // bit n = TBorderIcon n
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

extern const EnumInfo kFormBorderStyleInfo;
extern const EnumInfo kBorderStyleInfo;
extern const EnumInfo kBorderIconInfo;
extern const EnumInfo kWindowStateInfo;
extern const EnumInfo kFormStyleInfo;
extern const EnumInfo kAlignmentInfo;
extern const EnumInfo kTextLayoutInfo;
extern const EnumInfo kBevelCutInfo;

constexpr TBorderIcons BorderIconBit(TBorderIcon icon) { return 1u << icon; }

} // namespace nestora::gui
