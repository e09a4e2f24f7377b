#include "owing/debtorswindow.h"

#include "ledger/owing.h"
#include "ledger/statement.h"
#include "owing/reminderswindow.h"
#include "store/database.h"
#include "store/gridmodel.h"
#include "text/collectiontexts.h"
#include "text/dates.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/printing.h"
#include "ui_debtorswindow.h"

namespace domiva {

DebtorsWindow::DebtorsWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::DebtorsForm>()),
      m_list(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::showDates({ui->asOf});
  ui->asOf->setDate(today());
  m_list->setMoneyColumns({std::begin(owing::debtorsMoney), std::end(owing::debtorsMoney)});
  m_list->setPaper(true);
  showDebtors();
  grid::bind(ui->debtorsList, m_list);
  connect(ui->asOf, &QDateEdit::dateChanged, this, &DebtorsWindow::showDebtors);
  connect(ui->everyone, &QCheckBox::toggled, this, &DebtorsWindow::showDebtors);    // "הצג את כולם"
  connect(ui->printButton, &QPushButton::clicked, this, &DebtorsWindow::printList); // "הדפס"
  connect(ui->csvButton, &QPushButton::clicked, this, &DebtorsWindow::saveCsv);     // "שמור כקובץ CSV"
  connect(ui->statementButton, &QPushButton::clicked, this, &DebtorsWindow::showStatement);   // "דף חשבון"
  connect(ui->allStatements, &QPushButton::clicked, this, &DebtorsWindow::showAllStatements); // "דפי חשבון לכל החייבים"
  connect(ui->remindersButton, &QPushButton::clicked, this, &DebtorsWindow::openReminders); // "מכתבי תזכורת"
  connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close);            // "יציאה"
}

DebtorsWindow::~DebtorsWindow() = default;

void DebtorsWindow::showDebtors() {
  try {
    const QList<owing::Account> accounts = owing::accounts(m_store, ui->asOf->date());
    m_list->show(owing::debtorsHeaders(), owing::debtorsRows(accounts, ui->everyone->isChecked()));
    const owing::Summary summary = owing::summary(accounts);
    ui->totals->setText(texts::debtorsTotals.arg(summary.debtors)
                            .arg(summary.arrears.toPaper(), summary.earlier.toPaper(), summary.levies.toPaper()));
  } catch (const db::Error &e) {
    m_list->show(owing::debtorsHeaders(), {});
    ui->totals->clear();
    messages::readFailed(this, texts::debtorsSubject, e);
  }
}

void DebtorsWindow::printList() {
  if (!datesTyped(this))
    return;
  grid::printList(this, ui->debtorsList, m_list, texts::debtorsTitle.arg(dates::toShort(ui->asOf->date())),
                  texts::debtorsSubject);
}

void DebtorsWindow::showStatement() {
  const QModelIndex chosen = ui->debtorsList->currentIndex();
  if (!chosen.isValid()) {
    messages::show(this, texts::statementChooseRow);
    return;
  }
  showStatements(this, m_store, ui->asOf->date(), m_list->index(chosen.row(), 0).data().toLongLong());
}

void DebtorsWindow::showAllStatements() { showStatements(this, m_store, ui->asOf->date(), std::nullopt); }

void DebtorsWindow::openReminders() {
  if (!datesTyped(this))
    return;
  QList<qint64> chosen;
  for (const QModelIndex &row : ui->debtorsList->selectionModel()->selectedRows())
    chosen << m_list->index(row.row(), 0).data().toLongLong();
  RemindersWindow::openOn(ui->asOf->date(), chosen);
}

void showStatements(QWidget *parent, const db::Store &store, const QDate &asAt, std::optional<qint64> apartment) {
  if (!datesTyped(parent))
    return;
  try {
    const QList<statements::Sheet> sheets =
        apartment ? statements::sheets(store, asAt, {*apartment}) : statements::ofDebtors(store, asAt);
    if (sheets.isEmpty()) {
      messages::show(parent, texts::noDebtors.arg(dates::toShort(asAt)));
      return;
    }
    printing::showPreview(QStringLiteral("statement"), statements::printout(sheets),
                          apartment ? texts::statementTitle.arg(*apartment) : texts::allStatements);
  } catch (const db::Error &e) {
    messages::readFailed(parent, texts::debtorsSubject, e);
  }
}

void DebtorsWindow::saveCsv() { grid::saveCsv(ui->debtorsList, windowTitle()); }

} // namespace domiva
