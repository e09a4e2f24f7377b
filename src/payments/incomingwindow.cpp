#include "payments/incomingwindow.h"

#include "ledger/levies.h"
#include "payments/receipt.h"
#include "store/building.h"
#include "store/database.h"
#include "store/gridmodel.h"
#include "text/months.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/cancelling.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/opening.h"
#include "ui/printing.h"
#include "ui/typed.h"
#include "ui_incomingwindow.h"

namespace domiva {
namespace {
// How long a recording counts as "just now" for the duplicate warning.
constexpr qint64 recentSeconds = 10 * 60;

// The months a payment pays, as a question lists them: " מרץ עד מאי 2026",
// " דצמבר 2026 עד ינואר 2027"; nothing for a levy or the opening debt.
QString monthsPaid(const payments::PaymentInput &input) {
  if (input.year.isEmpty())
    return {};
  const int from = months::indexOfTyped(input.fromMonth);
  const int to = months::indexOfTyped(input.toMonth);
  const QString year = QLatin1Char(' ') + input.year;
  const QString &first = months::headers()[from];
  const QString &last = months::headers()[to];
  if (from == to)
    return QLatin1Char(' ') + first + year;
  return QLatin1Char(' ') + (from < to ? texts::monthsRange.arg(first, last) + year
                                       : texts::monthsRange.arg(first + year, last) + QLatin1Char(' ') +
                                             QString::number(input.year.toInt() + 1));
}
} // namespace

IncomingWindow::IncomingWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::IncomingForm>()),
      m_list(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::showDates({ui->inputdate});
  grid::keepTypedText(this);
  grid::pressWithEnter(this, ui->amount, ui->Command1);
  connect(ui->apartment, &QComboBox::currentTextChanged, this, &IncomingWindow::showResident);
  connect(ui->inputdate, &QDateEdit::dateChanged, this, &IncomingWindow::followEntryDate);
  connect(ui->Command1, &QPushButton::clicked, this, &IncomingWindow::recordPayment); // "בצע"
  connect(ui->standingOrders, &QPushButton::clicked, this, &IncomingWindow::recordStandingOrders);
  connect(ui->addPart, &QPushButton::clicked, this, &IncomingWindow::addPart);
  connect(ui->clearParts, &QPushButton::clicked, this, &IncomingWindow::clearParts);
  connect(ui->Command2, &QPushButton::clicked, this, &IncomingWindow::printList);        // "הדפס"
  connect(ui->Command3, &QPushButton::clicked, this, &IncomingWindow::closeWindow);      // "יציאה"
  connect(ui->cancelRow, &QPushButton::clicked, this, &IncomingWindow::cancelPayment);   // "בטל רשומה"
  connect(ui->printReceipt, &QPushButton::clicked, this, &IncomingWindow::printReceipt); // "הדפס קבלה"
  // A payment's apartment, its whole story.
  connect(ui->DataGrid1, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
    openStory(m_list->index(index.row(), payments::apartmentColumn).data(Qt::EditRole).toLongLong());
  });
  cancelling::addMenuAction(ui->DataGrid1, [this] { cancelPayment(); });
  load();
  showParts();
  typed::watch(this);
}

IncomingWindow::~IncomingWindow() = default;

void IncomingWindow::load() {
  m_list->setDateColumns({payments::dateColumn});
  m_list->setMoneyColumns({payments::amountColumn});
  m_list->setKeyColumn(payments::rowColumn);
  m_list->setStatusColumn(payments::statusColumn);
  m_list->load(payments::listQuery());
  grid::bind(ui->DataGrid1, m_list);
  ui->DataGrid1->setColumnHidden(payments::rowColumn, true);
  setWidths();
  grid::checkRead(this, m_list, texts::paymentsSubject);
  grid::showNewest(ui->DataGrid1);

  try {
    m_store.each(QStringLiteral("SELECT apartment FROM neighbors ORDER BY rowid"), {},
                 [this](const QSqlQuery &residents) { ui->apartment->addItem(residents.value(0).toString()); });
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::residentsSubject, e);
  }
  try {
    // After the list's own two items, the opening debt and each levy: a
    // payment for one pays it, and no month.
    ui->forcombo->addItem(texts::openingDebt);
    for (const levies::Levy &levy : levies::all(m_store))
      ui->forcombo->addItem(levy.name);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::leviesSubject, e);
  }
  ui->apartment->setCurrentIndex(-1);
  ui->apartment->setEditText(QString());
  ui->inputdate->setDate(today());
  followEntryDate();
  const int month = today().month() - 1;
  ui->from_month->setCurrentIndex(month);
  ui->to_month->setCurrentIndex(month);
  ui->forcombo->setCurrentIndex(-1);
  ui->forcombo->setEditText(QString());
  ui->payment->setCurrentIndex(-1);
  ui->payment->setEditText(QString());
  ui->amount->setText(QStringLiteral("0"));
  ui->family->clear();
  ui->apartment->setFocus();
}

void IncomingWindow::setWidths() { grid::setWidths(ui->DataGrid1, {1200, 1200, 1200, 1200, 1200, 1200}); }

void IncomingWindow::showResident() {
  try {
    ui->family->setText(payments::residentName(m_store, ui->apartment->currentText()));
  } catch (const db::Error &e) {
    ui->family->clear();
    messages::readFailed(this, texts::residentsSubject, e);
  }
}

void IncomingWindow::followEntryDate() {
  // The box follows the date while it shows the year it was given; a value
  // the user set (chosen or typed, not merely passed through) stays.
  const int year = ui->inputdate->date().year();
  const QString shown = ui->year->currentText();
  const bool set = !m_followed.isEmpty() && shown != m_followed;
  const QSignalBlocker quiet(ui->year);
  ui->year->clear();
  for (int offered = year - 1; offered <= year + 1; ++offered)
    ui->year->addItem(QString::number(offered));
  m_followed = QString::number(year);
  ui->year->setCurrentText(set ? shown : m_followed);
}

bool IncomingWindow::confirmed(const payments::PaymentInput &input) {
  const QDateTime now = domiva::now();
  m_recent.removeIf([&](const Recent &entry) { return entry.when.secsTo(now) > recentSeconds; });
  try {
    // The same payment recorded just now, and not cancelled since.
    for (const Recent &earlier : std::as_const(m_recent))
      if (payments::samePayment(earlier.input, input) && !payments::isCancelled(m_store, earlier.reciept))
        return messages::ask(this, texts::duplicatePayment);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::paymentsSubject, e);
    return false;
  }
  // An amount far above the dues of its months is more likely a typing slip.
  try {
    if (const auto dues = payments::duesOf(m_store, input);
        dues && payments::amountOf(input).agorot() > 2 * dues->agorot())
      return messages::ask(this, texts::largePayment.arg(payments::amountOf(input).toString(), dues->toString()));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::paymentsSubject, e);
    return false;
  }
  return true;
}

payments::PaymentInput IncomingWindow::formInput() const {
  return {ui->inputdate->date(),         ui->apartment->currentText(), ui->forcombo->currentText(), ui->details->text(),
          ui->from_month->currentText(), ui->to_month->currentText(),  ui->payment->currentText(),  ui->amount->text(),
          ui->year->currentText(),       ui->reference->text()};
}

void IncomingWindow::showRefusal(const payments::Outcome &outcome) {
  messages::show(this, outcome.message);
  switch (outcome.focus) {
  case payments::Field::Apartment: ui->apartment->setFocus(); break;
  case payments::Field::FromMonth: ui->from_month->setFocus(); break;
  case payments::Field::ToMonth: ui->to_month->setFocus(); break;
  case payments::Field::Year: ui->year->setFocus(); break;
  case payments::Field::Amount: ui->amount->setFocus(); break;
  case payments::Field::None: break;
  }
}

void IncomingWindow::showParts() {
  QStringList parts;
  for (const payments::PaymentInput &part : std::as_const(m_parts))
    parts << part.forText.trimmed() + monthsPaid(part) + QStringLiteral(" ") +
                 Money::parse(part.amount).value_or(Money()).toPaper();
  ui->partsLine->setText(parts.join(QStringLiteral("; ")));
  ui->partsLabel->setVisible(!parts.isEmpty());
  ui->partsLine->setVisible(!parts.isEmpty());
  ui->clearParts->setVisible(!parts.isEmpty());
}

void IncomingWindow::clearParts() {
  m_parts.clear();
  showParts();
}

void IncomingWindow::addPart() {
  if (!datesTyped(this))
    return;
  const payments::PaymentInput part = formInput();
  if (const payments::Outcome refusal = payments::check(m_store, part); !refusal.ok()) {
    showRefusal(refusal);
    return;
  }
  m_parts << part;
  showParts();
  // The next part: another purpose and its amount, the rest as it stands.
  ui->forcombo->setCurrentIndex(-1);
  ui->forcombo->setEditText(QString());
  ui->amount->setText(QStringLiteral("0"));
  ui->forcombo->setFocus();
}

void IncomingWindow::recordPayment() {
  if (!datesTyped(this))
    return;
  const payments::PaymentInput input = formInput();
  if (!confirmed(input))
    return;
  // The parts held are paid with this one: its date, method, reference and detail.
  QList<payments::PaymentInput> inputs;
  for (payments::PaymentInput part : std::as_const(m_parts)) {
    part.inputDate = input.inputDate;
    part.detail = input.detail;
    part.payment = input.payment;
    part.reference = input.reference;
    inputs << part;
  }
  const payments::Outcome outcome = payments::record(m_store, inputs << input, payments::Receipts::One);
  if (!outcome.ok()) {
    showRefusal(outcome);
    return;
  }
  m_parts.clear();
  showParts();
  m_recent.append({input, domiva::now(), outcome.reciept()});
  showRecorded(outcome);
}

void IncomingWindow::showRecorded(const payments::Outcome &outcome) {
  typed::recorded(this);
  // The next payment starts from the date's year and without this one's detail.
  ui->details->clear();
  ui->reference->clear();
  m_followed.clear();
  followEntryDate();
  m_list->reload();
  setWidths();
  QStringList numbers;
  for (const qint64 reciept : outcome.reciepts)
    numbers << QString::number(reciept);
  ui->statusLine->setText(numbers.size() == 1 ? texts::paymentRecorded.arg(numbers[0])
                                              : texts::paymentsRecorded.arg(numbers.join(QStringLiteral(", "))));
  grid::checkRead(this, m_list, texts::paymentsSubject);
  grid::showNewest(ui->DataGrid1);
}

void IncomingWindow::recordStandingOrders() {
  if (!datesTyped(this))
    return;
  const QDate day = ui->inputdate->date();
  QList<payments::PaymentInput> orders;
  try {
    orders = payments::standingOrders(m_store, day);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::paymentsSubject, e);
    return;
  }
  if (orders.isEmpty()) {
    messages::show(this, texts::noStandingOrders);
    return;
  }
  QStringList lines;
  for (const payments::PaymentInput &order : std::as_const(orders)) {
    lines << texts::standingOrderLine.arg(order.apartment, order.forText + monthsPaid(order),
                                          Money::parse(order.amount).value_or(Money()).toPaper());
  }
  const QString month = months::headers()[day.month() - 1] + QLatin1Char(' ') + QString::number(day.year());
  if (!messages::ask(this, texts::standingOrdersQuestion.arg(month, lines.join(QLatin1Char('\n')))))
    return;
  const payments::Outcome outcome = payments::record(m_store, orders, payments::Receipts::EachOwn);
  if (!outcome.ok()) {
    messages::show(this, outcome.message);
    return;
  }
  showRecorded(outcome);
}

void IncomingWindow::printList() {
  grid::printList(this, ui->DataGrid1, m_list, QStringLiteral("רשימת תשלומי דיירים"), texts::paymentsSubject);
}

void IncomingWindow::closeWindow() { close(); }

void IncomingWindow::cancelPayment() {
  cancelling::cancelChosenRow(
      this, ui->DataGrid1, m_list,
      {payments::recieptColumn, payments::dateColumn, payments::apartmentColumn, QStringLiteral("דירה %1"),
       payments::amountColumn, [this](qint64 reciept) { return payments::receiptAmount(m_store, reciept).toPaper(); }},
      [this](qint64 reciept, const QString &reason) { return payments::cancel(m_store, reciept, reason, today()); });
  setWidths();
}

void IncomingWindow::printReceipt() {
  const QModelIndex current = ui->DataGrid1->currentIndex();
  if (!current.isValid()) {
    messages::show(this, texts::chooseRowFirst);
    return;
  }
  try {
    if (const auto receipt = payments::receipt(m_store, m_list->key(current.row())))
      printing::print(this, *receipt);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::paymentsSubject, e);
  }
}

} // namespace domiva
