#include "expenses/removalwindow.h"

#include "expenses/documents.h"
#include "expenses/expense.h"
#include "store/database.h"
#include "store/gridmodel.h"
#include "text/bylawstexts.h"
#include "text/input.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/cancelling.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/typed.h"
#include "yearend/fundswindow.h"
#include "ui_removalwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace domiva {

RemovalWindow::RemovalWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::RemovalForm>()),
      m_list(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::showDates({ui->indate});
  grid::keepTypedText(this);
  grid::pressWithEnter(this, ui->amount, ui->Command1);
  connect(ui->Command1, &QPushButton::clicked, this, &RemovalWindow::recordExpense);  // "הוסף"
  connect(ui->Command2, &QPushButton::clicked, this, &RemovalWindow::printList);      // "הדפס"
  connect(ui->Command3, &QPushButton::clicked, this, &RemovalWindow::closeWindow);    // "יציאה"
  connect(ui->Command4, &QPushButton::clicked, this, &RemovalWindow::addSupplier);    // "+"
  connect(ui->cancelRow, &QPushButton::clicked, this, &RemovalWindow::cancelExpense); // "בטל רשומה"
  connect(ui->attachDocument, &QPushButton::clicked, this, &RemovalWindow::attachDocument); // "צרף מסמך"
  connect(ui->openDocuments, &QPushButton::clicked, this, &RemovalWindow::openDocuments);   // "פתח מסמכים"
  cancelling::addMenuAction(ui->DataGrid1, [this] { cancelExpense(); });
  load();
  typed::watch(this);
}

RemovalWindow::~RemovalWindow() = default;

void RemovalWindow::load() {
  ui->indate->setDate(today());
  try {
    ui->category->addItems(expenses::categories(m_store));
    ui->supplyer->addItems(expenses::suppliers(m_store));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::expensesSubject, e);
  }
  offerFunds(m_store, ui->fund, ui->fundLabel);
  for (QComboBox *box : {ui->category, ui->payby, ui->supplyer}) {
    box->setCurrentIndex(-1);
    box->setEditText(QString());
  }
  m_list->setDateColumns({expenses::dateColumn});
  m_list->setMoneyColumns({expenses::amountColumn});
  m_list->setKeyColumn(expenses::recieptColumn);
  m_list->setStatusColumn(expenses::statusColumn);
  m_list->load(expenses::listQuery());
  grid::bind(ui->DataGrid1, m_list);
  ui->DataGrid1->setColumnHidden(expenses::recieptColumn, true);
  setWidths();
  grid::checkRead(this, m_list, texts::expensesSubject);
  grid::showNewest(ui->DataGrid1);
}

void RemovalWindow::setWidths() { grid::setWidths(ui->DataGrid1, {1200, 1200, 1200, 1200, 1200, 1200}); }

void RemovalWindow::recordExpense() {
  if (!datesTyped(this))
    return;
  const expenses::Outcome outcome =
      expenses::record(m_store, {ui->category->currentText(), ui->indate->date(), ui->payby->currentText(),
                                 ui->details->text(), ui->supplyer->currentText(), ui->amount->text(), 0,
                                 ui->fund->currentText()});
  if (!outcome.ok()) {
    messages::show(this, outcome.message);
    // Back to the field to correct, so the keyboard goes on from there.
    if (outcome.focus == expenses::Field::Category)
      ui->category->setFocus();
    else if (outcome.focus == expenses::Field::Amount)
      ui->amount->setFocus();
    return;
  }
  typed::recorded(this);
  m_list->reload();
  setWidths();
  grid::checkRead(this, m_list, texts::expensesSubject);
  grid::showNewest(ui->DataGrid1);
  // The new row's receipt, wherever the grid's order puts it.
  ui->statusLine->setText(texts::expenseRecorded.arg(m_list->key(m_list->newestRow())));
}

void RemovalWindow::printList() {
  grid::printList(this, ui->DataGrid1, m_list, QStringLiteral("רשימת הוצאות הבניין"), texts::expensesSubject);
}

void RemovalWindow::closeWindow() { close(); }

void RemovalWindow::addSupplier() {
  const QString name = ui->supplyer->currentText();
  const QString failure = expenses::addSupplier(m_store, name);
  // The name is in the list at once, and stays the one chosen.
  if (failure.isEmpty()) {
    ui->supplyer->addItem(name.trimmed());
    ui->supplyer->setCurrentIndex(ui->supplyer->count() - 1);
  }
  messages::report(this, failure, texts::supplierAdded);
}

void RemovalWindow::cancelExpense() {
  cancelling::cancelChosenRow(
      this, ui->DataGrid1, m_list,
      {expenses::recieptColumn, expenses::dateColumn, expenses::categoryColumn, QStringLiteral("%1"),
       expenses::amountColumn},
      [this](qint64 reciept, const QString &reason) { return expenses::cancel(m_store, reciept, reason, today()); });
  setWidths();
}

qint64 RemovalWindow::chosenExpense() {
  const QModelIndex chosen = ui->DataGrid1->currentIndex();
  if (!chosen.isValid()) {
    messages::show(this, texts::chooseRow);
    return 0;
  }
  return m_list->key(chosen.row());
}

void RemovalWindow::attachDocument() {
  const qint64 expense = chosenExpense();
  if (!expense)
    return;
  const auto path = messages::chooseOpenFile(this, texts::chooseDocument, QDir::homePath(), texts::documentFilter);
  if (!path)
    return;
  if (const QString refusal = documents::attach(m_store, expense, *path); !refusal.isEmpty()) {
    messages::show(this, refusal);
    return;
  }
  try {
    ui->statusLine->setText(
        texts::documentAttached.arg(expense).arg(QFileInfo(*path).fileName()).arg(documents::of(m_store, expense).size()));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::expensesSubject, e);
  }
}

void RemovalWindow::openDocuments() {
  const qint64 expense = chosenExpense();
  if (!expense)
    return;
  try {
    const QList<documents::Document> all = documents::of(m_store, expense);
    if (all.isEmpty())
      messages::show(this, texts::noDocuments.arg(expense));
    for (const documents::Document &document : all) {
      QString refusal;
      if (const auto path = documents::extract(m_store, document.id, &refusal))
        messages::openLink(QUrl::fromLocalFile(*path));
      else
        messages::show(this, refusal);
    }
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::expensesSubject, e);
  }
}

} // namespace domiva
