#include "reports/anualreportwindow.h"

#include "reports/annual.h"
#include "store/database.h"
#include "store/gridmodel.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/printing.h"
#include "ui_anualreportwindow.h"

namespace domiva {

AnualReportWindow::AnualReportWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::AnualReportForm>()),
      m_matrix(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::keepTypedText(this);
  const int current = today().year();
  try {
    ui->year->addItems(annual::yearList(m_store, current));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::matrixSubject, e);
  }
  ui->year->setCurrentText(QString::number(current));
  grid::bind(ui->DataGrid1, m_matrix);
  loadYear();
  // Choosing an item, even the one shown, rereads the table.
  connect(ui->year, &QComboBox::activated, this, &AnualReportWindow::showChosenYear);
  connect(ui->Command1, &QPushButton::clicked, this, &AnualReportWindow::printReport); // "הדפס דו"ח"
  connect(ui->Command2, &QPushButton::clicked, this, &AnualReportWindow::closeWindow); // "יציאה"
}

AnualReportWindow::~AnualReportWindow() = default;

void AnualReportWindow::loadYear() {
  m_matrix->setMoneyColumns(annual::moneyColumns());
  try {
    m_matrix->show(annual::headers(), annual::rows(m_store, ui->year->currentText().toInt()));
    m_readFailed = false;
  } catch (const db::Error &e) {
    m_matrix->show(annual::headers(), {});
    m_readFailed = true;
    messages::readFailed(this, texts::matrixSubject, e);
  }
  QList<int> widths{500, 1000};
  for (int column = 2; column <= 14; ++column)
    widths << 600;
  grid::setWidths(ui->DataGrid1, widths);
}

void AnualReportWindow::showChosenYear() { loadYear(); }

void AnualReportWindow::printReport() {
  if (m_readFailed) {
    messages::show(this, texts::printRefused);
    return;
  }
  // Every apartment on paper, not the picture of the rows in view.
  try {
    printing::print(this, annual::printout(m_store, ui->year->currentText().toInt()));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::matrixSubject, e);
  }
}

void AnualReportWindow::closeWindow() { close(); }

} // namespace domiva
