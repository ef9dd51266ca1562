#include "desktop/abf_components.h"

namespace desktop {

void RegisterDesktopClasses(gui::ClassRegistry& classes) {
    classes.Register(TabfTrayIcon::StaticClassInfo());
    classes.Register(TabfOneInstance::StaticClassInfo());
    classes.Register(TabfAutoRun::StaticClassInfo());
}

} // namespace desktop
