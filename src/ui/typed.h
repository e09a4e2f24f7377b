#pragma once
// Typed text a window has not recorded yet: closing the window then asks
// first, so a close box, Escape or an exit button never drops it silently.
#include <QList>

class QLineEdit;
class QString;
class QWidget;

namespace domiva::typed {
// Watches what the user types into `window`'s text fields and editable
// lists from now on.
void watch(QWidget *window);
// What was typed is recorded (or deliberately left): closing no longer asks.
void recorded(QWidget *window);
// Whether `window` holds typed text not recorded.
bool pending(const QWidget *window);
// The end of an entry in one of `window`'s forms, given what recording it
// said: a refusal is shown and what was typed stays to be corrected
// (false); else it is recorded, `fields` are emptied and the first takes
// the focus for the next entry (true).
bool entered(QWidget *window, const QString &failure, const QList<QLineEdit *> &fields);
} // namespace domiva::typed
