#pragma once
#include "store/database.h"
#include "ui/grid.h"

#include <QApplication>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QWidget>
#include <type_traits>

namespace domiva {

// The one instance of window W while it is open, else null.
template <class W> QPointer<W> &sharedWindow() {
  static QPointer<W> instance;
  return instance;
}

// Shows the one instance of window W, creating (and so loading) it when it
// is not open; an open one is brought to the front. Closing deletes it, so
// the next opening loads it afresh.
template <class W> W *openShared() {
  QPointer<W> &instance = sharedWindow<W>();
  // A closed window waits for its deletion: it is gone for the user.
  if (!instance || !instance->isVisible()) {
    // A window of the books is handed the program's store; one of files
    // alone (the backups) needs none.
    if constexpr (std::is_constructible_v<W, db::Store>)
      instance = new W(db::program());
    else
      instance = new W;
    instance->setAttribute(Qt::WA_DeleteOnClose);
    // Escape closes any window, as its exit button or close box does; an
    // open list or calendar, whose keys the window's shortcut sees first,
    // closes before it.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), instance);
    QObject::connect(escape, &QShortcut::activated, instance, [window = instance.data()] {
      if (QWidget *popup = QApplication::activePopupWidget())
        popup->hide();
      else
        window->close();
    });
    grid::pressWithEnter(instance, nullptr, nullptr); // Enter presses the focused button
    grid::fitWindow(instance);
  }
  instance->show();
  instance->raise();
  instance->activateWindow();
  return instance;
}

// Opens the story window on `apartment`, for a window of another feature:
// windows open one another through the app, which defines this, never by
// including one another.
void openStory(qint64 apartment);

} // namespace domiva
