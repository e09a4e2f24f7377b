#include "reports/meetingwindow.h"

#include "reports/meeting.h"
#include "store/database.h"
#include "text/bylawstexts.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/printing.h"
#include "ui_meetingwindow.h"

namespace domiva {

MeetingWindow::MeetingWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::MeetingForm>()) {
  ui->setupUi(this);
  grid::showDates({ui->fromDate, ui->toDate});
  ui->fromDate->setDate(QDate(today().year(), 1, 1));
  ui->toDate->setDate(QDate(today().year(), 12, 31));
  connect(ui->showButton, &QPushButton::clicked, this, &MeetingWindow::showReport); // "הצג"
  connect(ui->halfYearButton, &QPushButton::clicked, this, &MeetingWindow::showHalfYear); // "דו"ח חצי שנתי"
  connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close);            // "יציאה"
}

MeetingWindow::~MeetingWindow() = default;

void MeetingWindow::showReport() {
  if (!datesTyped(this))
    return;
  if (ui->toDate->date() < ui->fromDate->date()) {
    messages::show(this, texts::periodReversed);
    return;
  }
  try {
    printing::showPreview(QStringLiteral("meeting"),
                          meeting::printout(m_store, ui->fromDate->date(), ui->toDate->date(), ui->withNames->isChecked()),
                          texts::meetingTitle);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::reportSubject, e);
  }
}

void MeetingWindow::showHalfYear() {
  if (!datesTyped(this))
    return;
  try {
    printing::showPreview(QStringLiteral("meeting"),
                          meeting::halfYear(m_store, ui->toDate->date(), ui->withNames->isChecked()),
                          texts::halfYearTitle);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::reportSubject, e);
  }
}

} // namespace domiva
