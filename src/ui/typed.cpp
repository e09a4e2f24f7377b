#include "ui/typed.h"

#include "text/texts.h"
#include "ui/messages.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QWidget>

namespace domiva::typed {
namespace {
// Lives as a child of the window it watches, and asks when it is closed.
class Watcher : public QObject {
public:
  explicit Watcher(QWidget *window) : QObject(window), m_window(window) {
    setObjectName(QStringLiteral("typedWatcher"));
    // Every text field, an editable list's own included: edits by the user only.
    for (QLineEdit *field : window->findChildren<QLineEdit *>())
      connect(field, &QLineEdit::textEdited, this, [this] { m_pending = true; });
    window->installEventFilter(this);
  }
  bool isPending() const { return m_pending; }
  void setRecorded() { m_pending = false; }

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (watched == m_window && event->type() == QEvent::Close && m_pending) {
      if (!messages::ask(m_window, texts::closeUnrecorded)) {
        event->ignore();
        return true;
      }
      m_pending = false;
    }
    return false;
  }

private:
  QWidget *m_window;
  bool m_pending = false;
};

Watcher *watcherOf(const QWidget *window) {
  return window->findChild<Watcher *>(QStringLiteral("typedWatcher"), Qt::FindDirectChildrenOnly);
}
} // namespace

void watch(QWidget *window) {
  if (!watcherOf(window))
    new Watcher(window);
}

void recorded(QWidget *window) {
  if (Watcher *watcher = watcherOf(window))
    watcher->setRecorded();
}

bool pending(const QWidget *window) {
  const Watcher *watcher = watcherOf(window);
  return watcher && watcher->isPending();
}

bool entered(QWidget *window, const QString &failure, const QList<QLineEdit *> &fields) {
  if (!failure.isEmpty()) {
    messages::show(window, failure);
    return false;
  }
  recorded(window);
  for (QLineEdit *field : fields)
    field->clear();
  if (!fields.isEmpty())
    fields.first()->setFocus();
  return true;
}

} // namespace domiva::typed
