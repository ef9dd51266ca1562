#include "gui/win/standard_classes.h"

#include "gui/win/edit.h"
#include "gui/win/hot_key.h"
#include "gui/win/label.h"
#include "gui/win/panel.h"

namespace nestora::gui {

void RegisterStandardClasses(ClassRegistry& classes) {
    classes.Register(TPanel::StaticClassInfo());
    classes.Register(TLabel::StaticClassInfo());
    classes.Register(TEdit::StaticClassInfo());
    classes.Register(THotKey::StaticClassInfo());
}

} // namespace nestora::gui
