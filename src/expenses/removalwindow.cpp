#include "expenses/removalwindow.h"

#include "common/grid.h"
#include "common/messages.h"
#include "common/printing.h"
#include "common/texts.h"
#include "common/today.h"
#include "data/database.h"
#include "data/gridmodel.h"
#include "data/reportdocument.h"
#include "expenses/expense.h"
#include "ui_removalwindow.h"

namespace domiva {

RemovalWindow::RemovalWindow(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::RemovalForm>()), m_list(new GridModel(this)) {
  ui->setupUi(this);
  grid::showDates({ui->indate});
  connect(ui->Command1, &QPushButton::clicked, this, &RemovalWindow::Command1_Click);
  connect(ui->Command2, &QPushButton::clicked, this, &RemovalWindow::Command2_Click);
  connect(ui->Command3, &QPushButton::clicked, this, &RemovalWindow::Command3_Click);
  connect(ui->Command4, &QPushButton::clicked, this, &RemovalWindow::Command4_Click);
  Form_Load();
}

RemovalWindow::~RemovalWindow() = default;

void RemovalWindow::Form_Load() {
  ui->indate->setDate(today());
  try {
    ui->category->addItems(expenses::categories());
    ui->supplyer->addItems(expenses::suppliers());
  } catch (const db::Error &e) {
    messages::show(this, texts::dbEngineError.arg(e.text()));
  }
  for (QComboBox *box : {ui->category, ui->payby, ui->supplyer}) {
    box->setCurrentIndex(-1);
    box->setEditText(QString());
  }
  m_list->setDateColumns({expenses::dateColumn});
  m_list->setMoneyColumns({expenses::amountColumn});
  m_list->load(expenses::listQuery());
  grid::bind(ui->DataGrid1, m_list);
  setWidths();
}

void RemovalWindow::setWidths() { grid::setWidths(ui->DataGrid1, {1200, 1200, 1200, 1200, 1200, 1200}); }

void RemovalWindow::Command1_Click() {
  const QString failure = expenses::record({ui->category->currentText(), ui->indate->date(),
                                            ui->payby->currentText(), ui->details->text(),
                                            ui->supplyer->currentText(), ui->amount->text()});
  if (!failure.isEmpty()) {
    messages::show(this, failure);
    return;
  }
  m_list->reload();
  setWidths();
}

void RemovalWindow::Command2_Click() {
  const auto printout =
      buildListPrintout(QStringLiteral("רשימת הוצאות הבניין"), m_list->headers(), m_list->displayRows());
  printing::print(this, *printout);
}

void RemovalWindow::Command3_Click() { close(); }

void RemovalWindow::Command4_Click() {
  // The open list stays as it is: the name is offered from the next opening.
  const QString failure = expenses::addSupplier(ui->supplyer->currentText());
  messages::show(this, failure.isEmpty() ? texts::supplierAdded : failure);
}

} // namespace domiva
