#pragma once
// The classes of this layer that window descriptions may create, for a program's
// ClassRegistry: TPanel, TLabel, TEdit, THotKey.

#include "gui/core/class_info.h"

namespace nestora::gui {

void RegisterStandardClasses(ClassRegistry& classes);

} // namespace nestora::gui
