#include "bank/statementwindow.h"

#include "bank/columnsdialog.h"
#include "bank/import.h"
#include "bank/reconcile.h"
#include "expenses/expense.h"
#include "ledger/levies.h"
#include "payments/payment.h"
#include "store/gridmodel.h"
#include "text/bidi.h"
#include "text/dates.h"
#include "text/months.h"
#include "text/banktexts.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/printing.h"
#include "ui_statementwindow.h"

#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>

namespace domiva {
namespace {
enum Column { Date, Description, Details, Reference, Amount, Recorded, Proposed, State, Id };

QString proposalText(const bank::Review &line) {
  if (!line.waiting())
    return {};
  if (line.amount.agorot() < 0)
    return line.spending.category;
  QStringList apartments;
  for (const qint64 apartment : line.payer.apartments)
    apartments << QString::number(apartment);
  return apartments.isEmpty() ? QString() : texts::apartmentNumber.arg(apartments.join(QStringLiteral(", ")));
}

QString stateText(const bank::Review &line) {
  if (line.done())
    return texts::bankDone;
  if (!line.aside.isEmpty())
    return texts::bankAsideState.arg(line.aside);
  return line.sure() ? texts::bankSure : texts::bankWaiting;
}
} // namespace

StatementWindow::StatementWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::StatementForm>()),
      m_lines(new GridModel(m_store, this)), m_statements(new GridModel(m_store, this)) {
  ui->setupUi(this);
  ui->lineFrom->addItems(months::listNames());
  ui->lineTo->addItems(months::listNames());
  try {
    ui->lineFor->addItem(texts::openingDebt);
    for (const levies::Levy &levy : levies::all(m_store))
      ui->lineFor->addItem(levy.name);
    ui->lineCategory->addItems(expenses::categories(m_store));
    ui->lineSupplier->addItems(expenses::suppliers(m_store));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::statementSubject, e);
  }
  grid::showDates({ui->reconcileDate});
  ui->reconcileDate->setDate(today());
  m_lines->setDateColumns({Date});
  m_lines->setMoneyColumns({Amount, Recorded});
  grid::bind(ui->linesList, m_lines);
  m_statements->setDateColumns({3, 4});
  grid::bind(ui->statementsList, m_statements);
  // The payer's words take what room the window gives.
  ui->linesList->horizontalHeader()->setStretchLastSection(false);
  grid::keepTypedText(this);
  grid::pressWithEnter(this, ui->lineAmount, ui->acceptLine);
  connect(ui->importButton, &QPushButton::clicked, this, &StatementWindow::importStatement); // "קליטת דף חשבון מקובץ"
  connect(ui->acceptLine, &QPushButton::clicked, this, &StatementWindow::acceptLine); // "אשר שורה"
  connect(ui->acceptSure, &QPushButton::clicked, this, &StatementWindow::acceptSure); // "אשר את כל הבטוחות"
  connect(ui->setAside, &QPushButton::clicked, this, &StatementWindow::setLineAside); // "שים בצד / החזר"
  connect(ui->reconcileButton, &QPushButton::clicked, this, &StatementWindow::showReconciliation); // "התאמת בנק"
  connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close);                           // "יציאה"
  connect(ui->linesList->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &StatementWindow::showChosen);
  showLines(0);
  showStatementEnd();
}

StatementWindow::~StatementWindow() = default;

void StatementWindow::showStatementEnd() {
  // The books are set against the bank on the statement's last day.
  if (!m_review.isEmpty())
    ui->reconcileDate->setDate(m_review.last().date);
}

void StatementWindow::showLines(qint64 chosen) {
  try {
    m_review = bank::review(m_store);
  } catch (const db::Error &e) {
    m_review.clear();
    messages::readFailed(this, texts::statementSubject, e);
  }
  // The statements kept, newest first.
  QList<QVariantList> statements;
  try {
    m_store.each(QStringLiteral("SELECT file, bank, account, first_date, last_date, lines, added, imported FROM "
                                "bank_statements ORDER BY id DESC"),
                 {}, [&statements](const QSqlQuery &row) {
                   statements << QVariantList{
                       row.value(0),
                       row.value(1),
                       leftToRight(row.value(2).toString()),
                       row.value(3),
                       row.value(4),
                       row.value(5),
                       row.value(6),
                       leftToRight(dates::momentFromIso(row.value(7).toString())
                                       .toString(dates::shortFormat() + QStringLiteral(" HH:mm")))};
                 });
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::statementSubject, e);
  }
  m_statements->show(texts::bankStatementsHeaders.split(QLatin1Char('|')), statements);
  QList<QVariantList> rows;
  int row = -1;
  for (const bank::Review &line : m_review) {
    // The line to show next: the one named, else the first that waits.
    if (line.line == chosen || (row < 0 && !chosen && line.waiting()))
      row = int(rows.size());
    rows << QVariantList{dates::toIso(line.date), line.description,     line.details,
                         line.reference,          line.amount.agorot(), line.recorded.agorot(),
                         proposalText(line),      stateText(line),      line.line};
  }
  m_lines->show(texts::bankLinesHeaders.split(QLatin1Char('|')), rows);
  ui->linesList->hideColumn(Id);
  ui->linesList->horizontalHeader()->setSectionResizeMode(Details, QHeaderView::Stretch);
  if (row >= 0)
    grid::choose(ui->linesList, row);
  showChosen();
}

const bank::Review *StatementWindow::chosenLine() const {
  const QModelIndex current = ui->linesList->currentIndex();
  return current.isValid() && current.row() < m_review.size() ? &m_review[current.row()] : nullptr;
}

void StatementWindow::showChosen() {
  const bank::Review *line = chosenLine();
  const bool credit = line && line->amount.agorot() > 0;
  for (QWidget *field :
       {static_cast<QWidget *>(ui->lineApartment), static_cast<QWidget *>(ui->lineFor),
        static_cast<QWidget *>(ui->lineFrom), static_cast<QWidget *>(ui->lineTo), static_cast<QWidget *>(ui->lineYear)})
    field->setEnabled(credit);
  ui->lineCategory->setEnabled(line && !credit);
  ui->lineSupplier->setEnabled(line && !credit);
  // A field that does not serve the chosen line stays empty.
  for (QComboBox *list : {ui->lineFor, ui->lineFrom, ui->lineTo, ui->lineCategory, ui->lineSupplier})
    list->setEditText(QString());
  ui->lineApartment->clear();
  ui->lineYear->clear();
  ui->lineAmount->clear();
  if (!line)
    return;
  ui->lineAmount->setText(line->left().toString());
  if (!credit) {
    ui->lineCategory->setEditText(line->spending.category);
    ui->lineSupplier->setEditText(line->spending.supplier);
    return;
  }
  const qint64 apartment = line->payer.apartments.value(0);
  ui->lineApartment->setText(apartment ? QString::number(apartment) : QString());
  bank::Purpose purpose{texts::houseCommittee, {}, {}, {}};
  try {
    if (apartment)
      purpose = bank::purposeFor(m_store, apartment, line->left(), line->date);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::statementSubject, e);
  }
  ui->lineFor->setEditText(purpose.forText);
  ui->lineFrom->setEditText(purpose.fromMonth);
  ui->lineTo->setEditText(purpose.toMonth);
  ui->lineYear->setText(purpose.year);
}

void StatementWindow::showReconciliation() {
  if (!datesTyped(this))
    return;
  try {
    printing::showPreview(QStringLiteral("reconcile"),
                          bank::printout(bank::reconcile(m_store, ui->reconcileDate->date())), texts::reconcileTitle);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::statementSubject, e);
  }
}

void StatementWindow::importStatement() {
  const auto path = messages::chooseOpenFile(this, texts::statementOpenTitle, QDir::homePath(), texts::statementFilter);
  if (path)
    importFile(*path);
}

void StatementWindow::importFile(const QString &path) {
  bank::Statement statement;
  try {
    statement = bank::readFile(path, bank::namedColumns(m_store));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::statementSubject, e);
    return;
  }
  // A layout not known: its columns named once, kept for its bank, then read by them.
  if (!statement.head.isEmpty()) {
    if (!messages::ask(this, texts::bankUnknownLayout))
      return;
    auto *naming = new ColumnsDialog(m_store, statement.head, this);
    naming->setAttribute(Qt::WA_DeleteOnClose);
    connect(naming, &QDialog::accepted, this, [this, path] { importFile(path); });
    naming->open();
    return;
  }
  const bank::Kept kept = bank::keep(m_store, statement, path);
  if (kept.added)
    ui->statusLine->setText(kept.message);
  else
    messages::show(this, kept.message);
  showLines(0);
  showStatementEnd();
}

QString StatementWindow::record(const bank::Review &line, bool asProposed) {
  if (line.amount.agorot() < 0) {
    const bank::Spending spending =
        asProposed ? line.spending : bank::Spending{ui->lineCategory->currentText(), ui->lineSupplier->currentText()};
    const QString amount = asProposed ? line.left().toString() : ui->lineAmount->text();
    return expenses::record(m_store, {spending.category, line.date, bank::methodOf(line), line.description,
                                      spending.supplier, amount, line.line})
        .message;
  }
  payments::PaymentInput input{line.date,
                               ui->lineApartment->text(),
                               ui->lineFor->currentText(),
                               line.description,
                               ui->lineFrom->currentText(),
                               ui->lineTo->currentText(),
                               bank::methodOf(line),
                               ui->lineAmount->text(),
                               ui->lineYear->text(),
                               line.reference,
                               line.line};
  if (asProposed) {
    const qint64 apartment = line.payer.apartments.value(0);
    const bank::Purpose purpose = bank::purposeFor(m_store, apartment, line.left(), line.date);
    input.apartment = QString::number(apartment);
    input.forText = purpose.forText;
    input.fromMonth = purpose.fromMonth;
    input.toMonth = purpose.toMonth;
    input.year = purpose.year;
    input.amount = line.left().toString();
  }
  return payments::record(m_store, input).message;
}

void StatementWindow::acceptLine() {
  const bank::Review *line = chosenLine();
  if (!line) {
    messages::show(this, texts::chooseRow);
    return;
  }
  if (line->done()) {
    messages::show(this, texts::bankLineRecorded.arg(line->recorded.toPaper(), line->recorded.toPaper()));
    return;
  }
  if (!line->aside.isEmpty()) {
    messages::show(this, texts::bankLineAside);
    return;
  }
  if (const QString refusal = record(*line, false); !refusal.isEmpty()) {
    messages::show(this, refusal);
    return;
  }
  ui->statusLine->setText(texts::bankAccepted.arg(1));
  showLines(0);
}

void StatementWindow::setLineAside() {
  const bank::Review *line = chosenLine();
  if (!line) {
    messages::show(this, texts::chooseRow);
    return;
  }
  QString reason;
  if (line->aside.isEmpty()) {
    const auto given =
        messages::askText(this,
                          texts::bankAsideQuestion.arg(texts::bankLineSummary.arg(
                              line->reference, dates::toShort(line->date), line->description, line->amount.toPaper())),
                          ui->setAside->text());
    if (!given)
      return;
    if (given->trimmed().isEmpty()) {
      messages::show(this, texts::reasonRequired);
      return;
    }
    reason = *given;
  }
  const qint64 id = line->line;
  try {
    bank::setAside(m_store, id, reason);
  } catch (const db::Error &e) {
    messages::show(this, db::saveFailure(e));
    return;
  }
  ui->statusLine->setText(reason.isEmpty() ? texts::bankAsideCleared : texts::bankAsideSet);
  showLines(id);
}

void StatementWindow::acceptSure() {
  int accepted = 0, left = 0;
  for (const bank::Review &line : std::as_const(m_review)) {
    if (!line.sure())
      continue;
    try {
      ++(record(line, true).isEmpty() ? accepted : left);
    } catch (const db::Error &e) {
      messages::readFailed(this, texts::statementSubject, e);
      break;
    }
  }
  ui->statusLine->setText(left ? texts::bankAcceptedSome.arg(accepted).arg(left) : texts::bankAccepted.arg(accepted));
  showLines(0);
}

} // namespace domiva
