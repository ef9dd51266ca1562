#include "gui/win/graphics.h"

#include "gui/core/class_info.h"

namespace nestora::gui {

const ClassInfo& TGraphic::StaticClassInfo() {
    static const ClassInfo info("TGraphic", &TPersistent::StaticClassInfo(), nullptr, {});
    return info;
}

void TGraphic::SetTransparent(bool transparent) {
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Changed();
}

void TGraphic::Changed() {
    if (onChange_)
        onChange_(this);
}

} // namespace nestora::gui
