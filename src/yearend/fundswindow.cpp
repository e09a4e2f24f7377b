#include "yearend/fundswindow.h"

#include "ledger/funds.h"
#include "store/gridmodel.h"
#include "text/bylawstexts.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/printing.h"
#include "ui/typed.h"
#include "ui_fundswindow.h"

namespace domiva {

void offerFunds(const db::Store &store, QComboBox *box, QWidget *label) {
  try {
    for (const funds::Fund &fund : funds::all(store))
      box->addItem(fund.name);
  } catch (const db::Error &e) {
    messages::readFailed(box->window(), texts::fundsSubject, e);
  }
  box->setVisible(box->count() > 1);
  label->setVisible(box->count() > 1);
}

FundsWindow::FundsWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::FundsForm>()),
      m_list(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::showDates({ui->fromDate, ui->toDate, ui->transferDate});
  grid::pressWithEnter(this, ui->transferAmount, ui->addTransfer);
  ui->fromDate->setDate(QDate(today().year(), 1, 1));
  ui->toDate->setDate(today());
  ui->transferDate->setDate(today());
  m_list->setMoneyColumns({std::begin(funds::moneyColumns), std::end(funds::moneyColumns)});
  grid::bind(ui->fundsList, m_list);
  connect(ui->fromDate, &QDateEdit::dateChanged, this, &FundsWindow::showFunds);
  connect(ui->toDate, &QDateEdit::dateChanged, this, &FundsWindow::showFunds);
  connect(ui->addFund, &QPushButton::clicked, this, &FundsWindow::addFund);         // "הוסף קרן"
  connect(ui->addTransfer, &QPushButton::clicked, this, &FundsWindow::moveMoney);   // "העבר בין קרנות"
  connect(ui->printButton, &QPushButton::clicked, this, &FundsWindow::printFunds);  // "הדפס קרנות"
  connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close);           // "יציאה"
  showFunds();
  typed::watch(this);
}

FundsWindow::~FundsWindow() = default;

void FundsWindow::showFunds() {
  const QString from = ui->transferFrom->currentText(), to = ui->transferTo->currentText();
  ui->transferFrom->clear();
  ui->transferTo->clear();
  try {
    m_list->show(funds::headers(), funds::rows(funds::balances(m_store, ui->fromDate->date(), ui->toDate->date())));
    for (const funds::Fund &fund : funds::all(m_store)) {
      ui->transferFrom->addItem(fund.name);
      ui->transferTo->addItem(fund.name);
    }
  } catch (const db::Error &e) {
    m_list->show(funds::headers(), {});
    messages::readFailed(this, texts::fundsSubject, e);
  }
  ui->transferFrom->setCurrentText(from);
  ui->transferTo->setCurrentText(to);
}

void FundsWindow::addFund() {
  const QString name = ui->fundName->text().trimmed();
  const QString failure = funds::add(m_store, name, ui->fundKept->text(), ui->fundMatures->text());
  if (!typed::entered(this, failure, {ui->fundName, ui->fundKept, ui->fundMatures}))
    return;
  showFunds();
  messages::show(this, texts::fundAdded.arg(name));
}

void FundsWindow::moveMoney() {
  if (!datesTyped(this))
    return;
  const QString failure = funds::transfer(m_store, ui->transferDate->date(), ui->transferFrom->currentText(),
                                          ui->transferTo->currentText(), ui->transferAmount->text(),
                                          ui->transferDetail->text());
  if (!typed::entered(this, failure, {ui->transferAmount, ui->transferDetail}))
    return;
  showFunds();
  messages::show(this, texts::transferRecorded);
}

void FundsWindow::printFunds() {
  if (!datesTyped(this))
    return;
  try {
    printing::print(this, funds::printout(m_store, ui->fromDate->date(), ui->toDate->date()));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::fundsSubject, e);
  }
}

} // namespace domiva
