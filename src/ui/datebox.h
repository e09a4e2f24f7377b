#pragma once
#include <QDateEdit>

namespace domiva {

// A date box that takes a date typed whole ("30/04/2025" over 28/02/2025)
// as that date, read all at once rather than section by section against
// the month still shown. A date that does not exist stays as typed, to be
// corrected, and the box keeps the date it had.
class DateBox : public QDateEdit {
  Q_OBJECT
public:
  explicit DateBox(QWidget *parent = nullptr);
  // Whether the text shown is the box's date, and that text.
  bool typedWhole() const;
  QString typed() const;

protected:
  QValidator::State validate(QString &input, int &pos) const override;
  void fixup(QString &input) const override;
  QDateTime dateTimeFromText(const QString &text) const override;
  QString textFromDateTime(const QDateTime &moment) const override;
  void keyPressEvent(QKeyEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;

private:
  bool m_typing = false; // a date being typed over the whole text
  QString m_text;        // what of it was typed so far
};

// Whether every date box of `window` shows a whole date; else says so,
// gives the first that does not the focus, and returns false.
bool datesTyped(QWidget *window);

} // namespace domiva
