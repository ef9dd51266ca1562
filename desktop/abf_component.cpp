#include "desktop/abf_component.h"

#include "gui/core/class_builder.h"

namespace nestora::desktop {

const gui::ClassInfo& TabfComponent::StaticClassInfo() {
    static const gui::ClassInfo info =
        gui::ClassBuilder<TabfComponent>("TabfComponent", &gui::TComponent::StaticClassInfo())
            .Build();
    return info;
}

} // namespace nestora::desktop
