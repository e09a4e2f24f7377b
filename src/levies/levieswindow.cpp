#include "levies/levieswindow.h"

#include "ledger/shares.h"
#include "levies/levy.h"
#include "store/gridmodel.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/printing.h"
#include "ui/typed.h"
#include "yearend/fundswindow.h"
#include "ui_levieswindow.h"

#include <QItemSelectionModel>

namespace domiva {

LeviesWindow::LeviesWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::LeviesForm>()),
      m_levies(new GridModel(m_store, this)), m_charges(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::showDates({ui->levyDue});
  // Enter in the last field of each form presses its button.
  grid::pressWithEnter(this, ui->levyInstalments, ui->addLevy);
  grid::pressWithEnter(this, ui->chargeAmount, ui->saveCharge);
  grid::pressWithEnter(this, ui->shareValue, ui->saveShare);
  ui->levyDue->setDate(today());
  ui->levyInstalments->setText(QStringLiteral("1"));
  offerFunds(m_store, ui->levyFund, ui->fundLabel);
  m_levies->setDateColumns({levies::listDue});
  m_levies->setMoneyColumns({std::begin(levies::listMoney), std::end(levies::listMoney)});
  m_charges->setMoneyColumns({std::begin(levies::chargesMoney), std::end(levies::chargesMoney)});
  grid::bind(ui->leviesList, m_levies);
  grid::bind(ui->chargesList, m_charges);
  connect(ui->addLevy, &QPushButton::clicked, this, &LeviesWindow::addLevy);       // "הוסף היטל"
  connect(ui->deleteLevy, &QPushButton::clicked, this, &LeviesWindow::deleteLevy); // "מחק היטל"
  connect(ui->saveCharge, &QPushButton::clicked, this, &LeviesWindow::saveCharge); // "עדכן סכום לדירה"
  connect(ui->saveShare, &QPushButton::clicked, this, &LeviesWindow::saveShare);   // "עדכן חלק לדירה"
  connect(ui->printLevy, &QPushButton::clicked, this, &LeviesWindow::printLevy);   // "הדפס היטל"
  // By shares, the amount typed is the building's whole.
  connect(ui->levyByShares, &QCheckBox::toggled, this, [this](bool byShares) {
    ui->amountLabel->setText(byShares ? texts::levyWholeLabel : texts::levyAmountLabel);
  });
  connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close);           // "יציאה"
  connect(ui->leviesList->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &LeviesWindow::showCharges);
  showLevies(0);
  typed::watch(this);
}

LeviesWindow::~LeviesWindow() = default;

qint64 LeviesWindow::chosenLevy() const {
  const QModelIndex current = ui->leviesList->currentIndex();
  return current.isValid() ? m_levies->index(current.row(), levies::listId).data(Qt::EditRole).toLongLong() : 0;
}

void LeviesWindow::showLevies(qint64 chosen) {
  try {
    m_levies->show(levies::listHeaders(), levies::listRows(m_store));
  } catch (const db::Error &e) {
    m_levies->show(levies::listHeaders(), {});
    messages::readFailed(this, texts::leviesSubject, e);
  }
  ui->leviesList->hideColumn(levies::listId);
  int row = m_levies->rowCount() - 1; // the newest, unless one is named
  for (int r = 0; r < m_levies->rowCount(); ++r)
    if (m_levies->index(r, levies::listId).data(Qt::EditRole).toLongLong() == chosen)
      row = r;
  if (row >= 0)
    grid::choose(ui->leviesList, row);
  showCharges();
}

void LeviesWindow::showCharges() {
  try {
    m_charges->show(levies::chargeHeaders(), levies::chargeRows(m_store, chosenLevy()));
  } catch (const db::Error &e) {
    m_charges->show(levies::chargeHeaders(), {});
    messages::readFailed(this, texts::leviesSubject, e);
  }
}

void LeviesWindow::addLevy() {
  if (!datesTyped(this))
    return;
  if (!typed::entered(this,
                      levies::define(m_store, {ui->levyName->text(), ui->levyAmount->text(), ui->levyDue->date(),
                                               ui->levyInstalments->text(), ui->levyByShares->isChecked(),
                                               ui->levyFund->currentText()}),
                      {ui->levyName, ui->levyAmount}))
    return;
  ui->levyInstalments->setText(QStringLiteral("1"));
  ui->levyByShares->setChecked(false);
  showLevies(0);
}

void LeviesWindow::deleteLevy() {
  const qint64 levy = chosenLevy();
  if (levy == 0) {
    messages::show(this, texts::chooseLevy);
    return;
  }
  const QString name = m_levies->index(ui->leviesList->currentIndex().row(), levies::listId + 1).data().toString();
  if (!messages::ask(this, texts::deleteLevyQuestion.arg(name)))
    return;
  const QString failure = levies::remove(m_store, levy);
  if (!failure.isEmpty())
    messages::show(this, failure);
  showLevies(0);
}

void LeviesWindow::saveCharge() {
  const qint64 levy = chosenLevy();
  if (levy == 0) {
    messages::show(this, texts::chooseLevy);
    return;
  }
  if (typed::entered(this, levies::setCharge(m_store, levy, ui->chargeApartment->text(), ui->chargeAmount->text()),
                     {ui->chargeApartment, ui->chargeAmount}))
    showLevies(levy);
}

void LeviesWindow::saveShare() {
  if (typed::entered(this, shares::set(m_store, ui->chargeApartment->text(), ui->shareValue->text()),
                     {ui->chargeApartment, ui->shareValue}))
    showCharges();
}

void LeviesWindow::printLevy() {
  const qint64 levy = chosenLevy();
  if (levy == 0) {
    messages::show(this, texts::chooseLevy);
    return;
  }
  try {
    printing::print(this, levies::printout(m_store, levy));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::leviesSubject, e);
  }
}

} // namespace domiva
