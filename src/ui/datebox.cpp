#include "ui/datebox.h"

#include "text/bidi.h"
#include "text/dates.h"
#include "text/texts.h"
#include "ui/messages.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace domiva {

DateBox::DateBox(QWidget *parent) : QDateEdit(parent) {}

QString DateBox::typed() const { return lineEdit()->text(); }

bool DateBox::typedWhole() const {
  const auto typed = dates::parseTyped(lineEdit()->text());
  return typed && *typed == date();
}

QValidator::State DateBox::validate(QString &input, int &) const {
  // On the way to a date: digits and separators, no longer than a whole date.
  static const QRegularExpression typing(QStringLiteral("^[0-9/.\\- ]{0,10}$"));
  if (dates::parseTyped(input))
    return QValidator::Acceptable;
  return typing.match(input).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

void DateBox::fixup(QString &) const {} // what was typed stays, to be corrected

QDateTime DateBox::dateTimeFromText(const QString &text) const {
  const auto typed = dates::parseTyped(text);
  return typed ? QDateTime(*typed, QTime(0, 0)) : dateTime();
}

QString DateBox::textFromDateTime(const QDateTime &moment) const { return dates::toShort(moment.date()); }

void DateBox::keyPressEvent(QKeyEvent *event) {
  // Typed anew, the keys go into the text as they are, kept from the
  // editor, which would drop the first digit and take the rest section by
  // section against the month still shown; once they make a whole date, it
  // is the box's. Any other key ends the typing and is the editor's.
  const bool character = event->text().size() == 1 && QStringLiteral("0123456789/.-").contains(event->text());
  QLineEdit *line = lineEdit();
  // Typing from the start of the box (over the whole date, or its day) is
  // typing a date anew.
  if (!m_typing && character && (line->hasSelectedText() ? line->selectionStart() : line->cursorPosition()) == 0) {
    m_typing = true;
    m_text.clear();
  }
  if (!m_typing || !(character || event->key() == Qt::Key_Backspace)) {
    m_typing = false;
    QDateEdit::keyPressEvent(event);
    return;
  }
  QString text = character ? m_text + event->text() : m_text.chopped(std::min<qsizetype>(1, m_text.size()));
  int end = int(text.size());
  if (validate(text, end) == QValidator::Invalid)
    return;
  m_text = text;
  if (const auto whole = dates::parseTyped(text)) {
    setDate(*whole);
  } else {
    const QSignalBlocker quiet(line);
    line->setText(text);
  }
  emit line->textEdited(line->text()); // typed: the window asks before closing on it
}

void DateBox::focusInEvent(QFocusEvent *event) {
  QDateEdit::focusInEvent(event);
  // Tabbed into, the whole date is chosen (not its day alone), to be typed
  // over; the cursor stays at its start, so Up and Down step the day.
  if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
    lineEdit()->setSelection(int(lineEdit()->text().size()), -int(lineEdit()->text().size()));
}

void DateBox::focusOutEvent(QFocusEvent *event) {
  m_typing = false;
  const QString typed = lineEdit()->text();
  // A day ("15") or a day and month ("15/3") typed over the date shown is
  // that day of its month and year.
  if (const auto completed = dates::parseTyped(typed, date()); completed && !dates::parseTyped(typed))
    setDate(*completed);
  QDateEdit::focusOutEvent(event); // a whole date is taken and shown in its one form (05/01/2026)
  if (dates::parseTyped(typed, date()))
    return;
  const QSignalBlocker quiet(lineEdit());
  lineEdit()->setText(typed); // kept to be corrected, not put back to the date it had
  if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason ||
      event->reason() == Qt::MouseFocusReason)
    messages::show(window(), texts::badTypedDate.arg(leftToRight(typed)));
}

bool datesTyped(QWidget *window) {
  for (DateBox *box : window->findChildren<DateBox *>())
    if (!box->typedWhole()) {
      messages::show(window, texts::badTypedDate.arg(leftToRight(box->typed())));
      box->setFocus();
      return false;
    }
  return true;
}

} // namespace domiva
