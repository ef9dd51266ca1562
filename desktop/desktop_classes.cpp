#include "desktop/desktop_classes.h"

namespace nestora::desktop {

void RegisterDesktopClasses(gui::ClassRegistry& classes) {
    classes.Register(TabfTrayIcon::StaticClassInfo());
    classes.Register(TabfOneInstance::StaticClassInfo());
    classes.Register(TabfAutoRun::StaticClassInfo());
}

} // namespace nestora::desktop
