#include "building/registerwindow.h"

#include "building/details.h"
#include "store/building.h"
#include "store/gridmodel.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/typed.h"
#include "ui_registerwindow.h"

namespace domiva {

RegisterWindow::RegisterWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::RegisterForm>()),
      m_dues(new GridModel(m_store, this)), m_opening(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::showDates({ui->DTPicker1});
  // Enter in the last field of each form presses its button.
  grid::pressWithEnter(this, ui->Text5, ui->Command1);
  grid::pressWithEnter(this, ui->duesAmount, ui->addDues);
  grid::pressWithEnter(this, ui->openingAmount, ui->saveOpening);
  setObjectName(QStringLiteral("register")); // a C++ keyword cannot name it in the form
  m_dues->setMoneyColumns({scheduleAmount});
  m_opening->setMoneyColumns({openingDebtAmount});
  grid::bind(ui->duesList, m_dues);
  grid::bind(ui->openingList, m_opening);
  connect(ui->Command1, &QPushButton::clicked, this, &RegisterWindow::saveDetails);        // "עדכון פרטים"
  connect(ui->addDues, &QPushButton::clicked, this, &RegisterWindow::addDues);             // "הוסף לדירה"
  connect(ui->addDuesByShares, &QPushButton::clicked, this, &RegisterWindow::addDuesByShares);
  connect(ui->removeDues, &QPushButton::clicked, this, &RegisterWindow::removeDues);       // "הסר שורה"
  connect(ui->saveOpening, &QPushButton::clicked, this, &RegisterWindow::saveOpeningDebt); // "שמור חוב פתיחה"
  load();
  typed::watch(this);
}

RegisterWindow::~RegisterWindow() = default;

void RegisterWindow::load() {
  // The program-wide copy, which every save replaces.
  const Building details = building(m_store);
  ui->Text1->setText(details.street);
  ui->Text2->setText(details.city);
  ui->Text3->setText(QString::number(details.apartments));
  ui->Text4->setText(details.openBalance.toString());
  ui->Text5->setText(details.monthlyPay.toString());
  ui->DTPicker1->setDate(details.openDate);
  showOwed();
}

void RegisterWindow::showOwed() {
  m_dues->load(scheduleQuery());
  m_opening->load(openingDebtsQuery());
  ui->duesList->hideColumn(scheduleId);
  grid::checkRead(this, m_dues, texts::scheduleSubject);
  grid::checkRead(this, m_opening, texts::scheduleSubject);
}

void RegisterWindow::saveDetails() {
  if (!datesTyped(this))
    return;
  BuildingInput input{ui->Text3->text(), ui->Text5->text(), ui->Text4->text(), ui->DTPicker1->date(),
                      ui->Text1->text(), ui->Text2->text(), std::nullopt};
  // Changed dues hold from a month the user names; the months before keep theirs.
  if (changesDues(m_store, input)) {
    const QString thisMonth = QStringLiteral("%1/%2").arg(today().month(), 2, 10, QLatin1Char('0')).arg(today().year());
    const auto answer = messages::askText(this, texts::duesFromQuestion, texts::duesFromAccept, thisMonth);
    if (!answer)
      return;
    input.duesFrom = parseMonth(*answer);
    if (!input.duesFrom) {
      messages::show(this, texts::badDuesMonth);
      return;
    }
  }
  const QString failure = saveBuilding(m_store, input);
  messages::report(this, failure, texts::detailsSaved);
  if (failure.isEmpty())
    typed::recorded(this);
  showOwed();
}

void RegisterWindow::addDues() {
  if (typed::entered(
          this,
          domiva::addApartmentDues(m_store, ui->duesApartment->text(), ui->duesMonth->text(), ui->duesAmount->text()),
          {ui->duesApartment, ui->duesMonth, ui->duesAmount}))
    showOwed();
}

void RegisterWindow::addDuesByShares() {
  if (typed::entered(this, domiva::addDuesByShares(m_store, ui->duesMonth->text(), ui->duesAmount->text()),
                     {ui->duesMonth, ui->duesAmount}))
    showOwed();
}

void RegisterWindow::removeDues() {
  const QModelIndex current = ui->duesList->currentIndex();
  if (!current.isValid()) {
    messages::show(this, texts::chooseDuesRow);
    return;
  }
  const QString failure =
      domiva::removeDues(m_store, m_dues->index(current.row(), scheduleId).data(Qt::EditRole).toLongLong());
  if (!failure.isEmpty())
    messages::show(this, failure);
  showOwed();
}

void RegisterWindow::saveOpeningDebt() {
  if (typed::entered(this, setOpeningDebt(m_store, ui->openingApartment->text(), ui->openingAmount->text()),
                     {ui->openingApartment, ui->openingAmount}))
    showOwed();
}

} // namespace domiva
