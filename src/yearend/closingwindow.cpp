#include "yearend/closingwindow.h"

#include "ledger/closing.h"
#include "store/gridmodel.h"
#include "text/bylawstexts.h"
#include "text/dates.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui_closingwindow.h"

namespace domiva {

ClosingWindow::ClosingWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::ClosingForm>()),
      m_list(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::showDates({ui->through, ui->approved});
  grid::bind(ui->closingsList, m_list);
  // Most often the year before, approved today.
  ui->through->setDate(QDate(today().year() - 1, 12, 31));
  ui->approved->setDate(today());
  connect(ui->closePeriod, &QPushButton::clicked, this, &ClosingWindow::closePeriod);   // "סגור תקופה"
  connect(ui->reopenPeriod, &QPushButton::clicked, this, &ClosingWindow::reopenPeriod); // "פתח מחדש..."
  connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close);               // "יציאה"
  showClosings();
}

ClosingWindow::~ClosingWindow() = default;

void ClosingWindow::showClosings() {
  try {
    m_list->show(closing::headers(), closing::rows(closing::all(m_store)));
    const auto closed = closing::inForce(m_store);
    ui->closedState->setText(closed ? texts::closedThrough.arg(dates::toShort(closed->through),
                                                               dates::toShort(closed->approved))
                                    : texts::nothingClosed);
    ui->reopenPeriod->setEnabled(closed.has_value());
  } catch (const db::Error &e) {
    m_list->show(closing::headers(), {});
    ui->closedState->clear();
    messages::readFailed(this, texts::closingsSubject, e);
  }
}

void ClosingWindow::closePeriod() {
  if (!datesTyped(this))
    return;
  const QDate through = ui->through->date();
  if (!messages::ask(this, texts::closeQuestion.arg(dates::toShort(through))))
    return;
  const QString failure = closing::close(m_store, through, ui->approved->date());
  showClosings();
  messages::show(this, failure.isEmpty() ? texts::periodClosedDone.arg(dates::toShort(through)) : failure);
}

void ClosingWindow::reopenPeriod() {
  QString through;
  try {
    const auto closed = closing::inForce(m_store);
    if (!closed)
      return;
    through = dates::toShort(closed->through);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::closingsSubject, e);
    return;
  }
  const auto reason = messages::askText(this, texts::reopenQuestion.arg(through), texts::closingTitle);
  if (!reason)
    return;
  const QString failure = closing::reopen(m_store, *reason);
  showClosings();
  messages::show(this, failure.isEmpty() ? texts::periodReopened.arg(through) : failure);
}

} // namespace domiva
