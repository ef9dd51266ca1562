#include "gui/core/control_types.h"

namespace nestora::gui {

const EnumInfo kFormBorderStyleInfo{
    "TFormBorderStyle",
    {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const EnumInfo kBorderStyleInfo{"TBorderStyle", {"bsNone", "bsSingle"}};
const EnumInfo kBorderIconInfo{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
const EnumInfo kWindowStateInfo{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};
const EnumInfo kFormStyleInfo{"TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
const EnumInfo kAlignmentInfo{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
const EnumInfo kTextLayoutInfo{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
const EnumInfo kBevelCutInfo{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};

} // namespace nestora::gui
