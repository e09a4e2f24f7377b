#include "budget/budgetwindow.h"

#include "budget/budget.h"
#include "building/details.h"
#include "expenses/expense.h"
#include "ledger/levies.h"
#include "store/building.h"
#include "store/gridmodel.h"
#include "text/bylawstexts.h"
#include "text/dates.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/printing.h"
#include "ui/typed.h"
#include "ui_budgetwindow.h"

namespace domiva {

BudgetWindow::BudgetWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::BudgetForm>()),
      m_lines(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::showDates({ui->through});
  grid::pressWithEnter(this, ui->amount, ui->saveItem);
  const int current = today().year();
  for (int year = current - 5; year <= current + 1; ++year)
    ui->year->addItem(QString::number(year));
  ui->year->setCurrentText(QString::number(current));
  ui->through->setDate(today());
  ui->kind->addItems({texts::expense, texts::income});
  m_lines->setMoneyColumns({std::begin(budget::moneyColumns), std::end(budget::moneyColumns)});
  grid::bind(ui->budgetList, m_lines);
  connect(ui->year, &QComboBox::activated, this, &BudgetWindow::showBudget);
  connect(ui->through, &QDateEdit::dateChanged, this, &BudgetWindow::showBudget);
  connect(ui->kind, &QComboBox::currentIndexChanged, this, &BudgetWindow::showItems);
  connect(ui->saveItem, &QPushButton::clicked, this, &BudgetWindow::saveItem);       // "עדכן סעיף"
  connect(ui->offerDues, &QPushButton::clicked, this, &BudgetWindow::offerDues);     // "קבע כדמי הוועד"
  connect(ui->printButton, &QPushButton::clicked, this, &BudgetWindow::printBudget); // "הדפס תקציב מול ביצוע"
  connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close);            // "יציאה"
  showItems();
  showBudget();
  typed::watch(this);
}

BudgetWindow::~BudgetWindow() = default;

int BudgetWindow::year() const { return ui->year->currentText().toInt(); }

void BudgetWindow::showBudget() {
  try {
    m_lines->show(budget::headers(), budget::rows(budget::lines(m_store, year(), ui->through->date())));
    const auto dues = budget::coveringDues(m_store, year());
    ui->coveringDues->setText(dues ? texts::coveringDues.arg(dues->toPaper()) : texts::nothingToCover);
    ui->offerDues->setEnabled(dues.has_value());
  } catch (const db::Error &e) {
    m_lines->show(budget::headers(), {});
    ui->coveringDues->clear();
    ui->offerDues->setEnabled(false);
    messages::readFailed(this, texts::budgetSubject, e);
  }
}

void BudgetWindow::showItems() {
  ui->item->clear();
  try {
    if (ui->kind->currentText() == texts::expense) {
      ui->item->addItems(expenses::categories(m_store));
    } else {
      ui->item->addItems({texts::houseCommittee, texts::other});
      for (const levies::Levy &levy : levies::all(m_store))
        ui->item->addItem(levy.name);
    }
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::budgetSubject, e);
  }
  ui->item->setCurrentIndex(-1);
}

void BudgetWindow::saveItem() {
  const QString failure =
      budget::set(m_store, year(), ui->kind->currentText(), ui->item->currentText(), ui->amount->text());
  if (typed::entered(this, failure, {ui->amount}))
    showBudget();
}

void BudgetWindow::offerDues() {
  // From the first month of the year not yet begun: no month already charged changes.
  const QDate next = QDate(today().year(), today().month(), 1).addMonths(1);
  const QDate from = std::max(QDate(year(), 1, 1), next);
  if (from.year() != year()) {
    messages::show(this, texts::yearOver.arg(year()));
    return;
  }
  try {
    const auto dues = budget::coveringDues(m_store, year());
    if (!dues)
      return;
    const QString month = from.toString(QStringLiteral("MM/yyyy"));
    if (!messages::ask(this, texts::offerDuesQuestion.arg(dues->toPaper(), month)))
      return;
    const Building now = building(m_store);
    const QString failure =
        saveBuilding(m_store, {QString::number(now.apartments), dues->toString(), now.openBalance.toString(),
                               now.openDate, now.street, now.city, from});
    messages::show(this, failure.isEmpty() ? texts::duesSet.arg(dues->toPaper(), month) : failure);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::budgetSubject, e);
  }
}

void BudgetWindow::printBudget() {
  if (!datesTyped(this))
    return;
  try {
    printing::print(this, budget::printout(m_store, year(), ui->through->date()));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::budgetSubject, e);
  }
}

} // namespace domiva
