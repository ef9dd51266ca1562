#pragma once
// TabfComponent: the common base of the desktop components (the tray icon, the
// single-instance guard, the start-with-Windows entry). It adds nothing to TComponent but
// its class, so that a window description or a designer can tell the family apart.

#include "gui/win/graphics_win32.h"

#include "gui/core/component.h"

namespace nestora::desktop {

class TabfComponent : public gui::TComponent {
public:
    explicit TabfComponent(gui::TComponent* owner) : gui::TComponent(owner) {}

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
};

} // namespace nestora::desktop
