#pragma once
// The window-description loader: applies a parsed description (description_parser.h) to a
// root component, usually a form that the caller has just constructed.
//
// In this order:
//   1. The root's class must be (or descend from) the class the description names; the
//      root gets the description's name and csLoading.
//   2. Objects are created in the order of the description, each owned by the root, with
//      csLoading set. Right after creation a component gets its name, is bound to the
//      root's field of that name (BindField), and is handed its enclosing component through
//      SetParentComponent (controls take it as their parent, menu items as their parent
//      item), so the parent is known before any property is set.
//   3. Each object's property lines are set in the order written (a value written after
//      UIStyle overrides what the style applied). Nested objects by dotted names
//      (Font.Name), collections replace their items, events bind to the root's methods by
//      name (FindMethod).
//   4. References to components by name are resolved after every object exists (forward
//      references are fine), in the order they were written.
//   5. Loaded() runs on every created component in creation order, and on the root LAST:
//      the root finishes loading when everything it holds has, so a form can lay out its
//      children after their own loaded steps (an auto-sized label knows its size by then).
//      The form raises its create event after this, outside the loader.
//
// Errors: EDescriptionError with "line N: …" naming the fault (unknown class, property,
// value, component or method; a value of the wrong kind; a setter's own refusal). The
// components created so far stay owned by the root and lose csLoading; the caller usually
// frees the root. An error raised by a Loaded() does not stop the others from running; the
// first such error is re-thrown afterwards as it was raised.

#include "gui/core/class_info.h"
#include "gui/core/description_parser.h"

#include <string_view>

namespace nestora::gui {

class TComponent;

void LoadDescription(const DescriptionObject& description, TComponent& root,
                     const ClassRegistry& classes);
// Parses (with the default limits) and loads.
void LoadDescription(std::string_view utf8, TComponent& root, const ClassRegistry& classes);

} // namespace nestora::gui
