#include "payments/incomingwindow.h"

#include "common/grid.h"
#include "common/messages.h"
#include "common/printing.h"
#include "common/texts.h"
#include "common/today.h"
#include "data/building.h"
#include "data/database.h"
#include "data/gridmodel.h"
#include "data/reportdocument.h"
#include "payments/payment.h"
#include "ui_incomingwindow.h"

namespace domiva {

IncomingWindow::IncomingWindow(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::IncomingForm>()), m_list(new GridModel(this)) {
  ui->setupUi(this);
  grid::showDates({ui->inputdate});
  connect(ui->apartment, &QComboBox::currentTextChanged, this, &IncomingWindow::apartment_Change);
  connect(ui->Command1, &QPushButton::clicked, this, &IncomingWindow::Command1_Click);
  connect(ui->Command2, &QPushButton::clicked, this, &IncomingWindow::Command2_Click);
  connect(ui->Command3, &QPushButton::clicked, this, &IncomingWindow::Command3_Click);
  Form_Load();
}

IncomingWindow::~IncomingWindow() = default;

void IncomingWindow::Form_Load() {
  m_list->setDateColumns({payments::dateColumn});
  m_list->setMoneyColumns({payments::amountColumn});
  m_list->load(payments::listQuery());
  grid::bind(ui->DataGrid1, m_list);
  setWidths();

  try {
    auto residents = db::exec(QStringLiteral("SELECT apartment FROM neighbors ORDER BY rowid"));
    while (residents.next())
      ui->apartment->addItem(residents.value(0).toString());
  } catch (const db::Error &e) {
    messages::show(this, texts::dbEngineError.arg(e.text()));
  }
  ui->apartment->setCurrentIndex(-1);
  ui->apartment->setEditText(QString());
  ui->inputdate->setDate(today());
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

void IncomingWindow::apartment_Change() { ui->family->setText(payments::residentName(ui->apartment->currentText())); }

void IncomingWindow::Command1_Click() {
  const payments::PaymentInput input{ui->inputdate->date(),     ui->apartment->currentText(),
                                     ui->forcombo->currentText(), ui->details->text(),
                                     ui->from_month->currentText(), ui->to_month->currentText(),
                                     ui->payment->currentText(),  ui->amount->text()};
  const payments::Outcome outcome = payments::record(input, building().monthlyPay);
  if (!outcome.ok()) {
    messages::show(this, outcome.message);
    switch (outcome.focus) {
    case payments::Field::Apartment: ui->apartment->setFocus(); break;
    case payments::Field::FromMonth: ui->from_month->setFocus(); break;
    case payments::Field::ToMonth: ui->to_month->setFocus(); break;
    case payments::Field::Amount: ui->amount->setFocus(); break;
    case payments::Field::None: break;
    }
    return;
  }
  m_list->reload();
  setWidths();
}

void IncomingWindow::Command2_Click() {
  const auto printout =
      buildListPrintout(QStringLiteral("רשימת תשלומי דיירים"), m_list->headers(), m_list->displayRows());
  printing::print(this, *printout);
}

void IncomingWindow::Command3_Click() { close(); }

} // namespace domiva
