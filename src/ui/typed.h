#pragma once
// Typed text a window has not recorded yet: closing the window then asks
// first, so a close box, Escape or an exit button never drops it silently.
class QWidget;

namespace domiva::typed {
// Watches what the user types into `window`'s text fields and editable
// lists from now on.
void watch(QWidget *window);
// What was typed is recorded (or deliberately left): closing no longer asks.
void recorded(QWidget *window);
// Whether `window` holds typed text not recorded.
bool pending(const QWidget *window);
} // namespace domiva::typed
