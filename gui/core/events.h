#pragma once
// Event types: optional handlers ("method pointers") that a component raises at the end of
// the operation causing them. An empty std::function means no handler.

#include <functional>

namespace nestora::gui {

class TObject;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Held keys and buttons during a mouse or key event.
enum TShiftStateFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// key is passed by reference: a handler may clear it to swallow the key.
using TKeyEvent = std::function<void(TObject* sender, unsigned short& key, TShiftState shift)>;

} // namespace nestora::gui
