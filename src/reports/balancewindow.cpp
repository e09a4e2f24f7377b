#include "reports/balancewindow.h"

#include "expenses/documents.h"
#include "ledger/funds.h"
#include "reports/balance.h"
#include "store/building.h"
#include "store/database.h"
#include "store/gridmodel.h"
#include "text/bylawstexts.h"
#include "text/dates.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/printing.h"
#include "ui_balancewindow.h"

#include <QDir>
#include <QFileInfo>

namespace domiva {

BalanceWindow::BalanceWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::BalanceForm>()),
      m_byFor(new GridModel(m_store, this)), m_byCategory(new GridModel(m_store, this)),
      m_funds(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::showDates({ui->DTPicker1, ui->DTPicker2});
  m_byFor->setMoneyColumns({1});
  m_byCategory->setMoneyColumns({1});
  grid::bind(ui->DataGrid2, m_byFor);
  grid::bind(ui->DataGrid1, m_byCategory);
  m_funds->setMoneyColumns({std::begin(funds::moneyColumns), std::end(funds::moneyColumns)});
  grid::bind(ui->fundsList, m_funds);
  connect(ui->Command1, &QPushButton::clicked, this, &BalanceWindow::showPeriod);  // "הצג"
  connect(ui->Command2, &QPushButton::clicked, this, &BalanceWindow::closeWindow); // "יציאה"
  connect(ui->print, &QPushButton::clicked, this, &BalanceWindow::printBalance);   // "הדפס"
  connect(ui->withoutDocuments, &QPushButton::clicked, this, &BalanceWindow::printWithoutDocuments);
  connect(ui->inspectionPack, &QPushButton::clicked, this, &BalanceWindow::saveInspectionPack);
  showThisYear();
}

BalanceWindow::~BalanceWindow() = default;

void BalanceWindow::showThisYear() {
  const int year = today().year();
  ui->DTPicker1->setDate(QDate(year, 1, 1));
  ui->DTPicker2->setDate(QDate(year, 12, 31));
  loadGrids();
  showTotals();
}

void BalanceWindow::loadGrids() {
  const QVariantList period{dates::toIso(ui->DTPicker1->date()), dates::toIso(ui->DTPicker2->date())};
  m_byFor->load(balance::incomeQuery(), period);
  m_byCategory->load(balance::expenseQuery(), period);
  grid::checkRead(this, m_byFor, texts::incomeSubject);
  grid::checkRead(this, m_byCategory, texts::spendingSubject);
}

void BalanceWindow::showTotals() {
  try {
    m_money = ledger::period(m_store, ui->DTPicker1->date(), ui->DTPicker2->date());
    const bool kept = funds::any(m_store);
    m_funds->show(funds::headers(),
                  kept ? funds::rows(funds::balances(m_store, ui->DTPicker1->date(), ui->DTPicker2->date()))
                       : QList<QVariantList>());
    ui->fundsLabel->setVisible(kept);
    ui->fundsList->setVisible(kept);
  } catch (const db::Error &e) {
    m_readFailed = true;
    messages::readFailed(this, texts::totalsSubject, e);
    return;
  }
  m_readFailed = false;
  // The title names the period's year(s); the opening is the balance as it
  // stood on the period's first day, all that came before carried forward.
  const QDate from = ui->DTPicker1->date(), to = ui->DTPicker2->date();
  ui->label1->setText(balance::years(from, to) + QStringLiteral(" מאזן שנתי "));
  ui->Label11->setText(QStringLiteral("סה'כ הכנסות(ש'ח):") + m_money.income.toDisplay());
  ui->Label6->setText(dates::toShort(ledger::openingDay(m_store, from)));
  ui->Label8->setText(m_money.opening.toDisplay() + QStringLiteral("ש'ח "));
  ui->Label12->setText(QStringLiteral("סה'כ הוצאות(ש'ח):") + m_money.expenses.toDisplay());
  ui->bal->setText(m_money.closing().toDisplay());
}

void BalanceWindow::showPeriod() {
  if (!datesTyped(this))
    return;
  loadGrids();
  showTotals();
}

void BalanceWindow::closeWindow() { close(); }

void BalanceWindow::printBalance() {
  if (!datesTyped(this))
    return;
  // The lines follow the pickers as they stand; the footer, the figures shown.
  if (m_readFailed || !m_byFor->failure().isEmpty() || !m_byCategory->failure().isEmpty()) {
    messages::show(this, texts::printRefused);
    return;
  }
  try {
    const listing::Printout report = balance::printout(m_store, ui->DTPicker1->date(), ui->DTPicker2->date(), m_money);
    if (report.rowCount > 0)
      printing::showPreview(QStringLiteral("DataReport2"), report);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::reportSubject, e);
  }
}

void BalanceWindow::saveInspectionPack() {
  if (!datesTyped(this))
    return;
  const auto path = messages::chooseDocument(this, texts::packTitle, texts::packTitle, QStringLiteral("csv"));
  if (!path)
    return;
  try {
    QString refusal;
    const auto written = documents::pack(m_store, ui->DTPicker1->date(), ui->DTPicker2->date(), *path, &refusal);
    messages::show(this, written ? texts::packWritten.arg(QDir::toNativeSeparators(*path))
                                       .arg(*written)
                                       .arg(QFileInfo(documents::packFolder(*path)).fileName())
                                 : refusal);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::expensesSubject, e);
  }
}

void BalanceWindow::printWithoutDocuments() {
  if (!datesTyped(this))
    return;
  try {
    printing::print(this, documents::withoutDocuments(m_store, ui->DTPicker1->date(), ui->DTPicker2->date()));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::expensesSubject, e);
  }
}

} // namespace domiva
