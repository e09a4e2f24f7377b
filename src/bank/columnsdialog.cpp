#include "bank/columnsdialog.h"

#include "bank/import.h"
#include "ui/messages.h"
#include "ui_columnsdialog.h"

#include <QPushButton>

namespace domiva {

ColumnsDialog::ColumnsDialog(db::Store store, const QList<QStringList> &head, QWidget *parent)
    : QDialog(parent), m_store(std::move(store)), ui(std::make_unique<Ui::ColumnsForm>()), m_head(head) {
  ui->setupUi(this);
  // Each row as its cells read, the first with three or more chosen: a
  // header row names most of its columns.
  int chosen = -1;
  for (int r = 0; r < m_head.size(); ++r) {
    QStringList cells;
    for (const QString &cell : m_head[r])
      if (!cell.trimmed().isEmpty())
        cells << cell.simplified();
    ui->headerRow->addItem(QStringLiteral("%1: %2").arg(r + 1).arg(cells.join(QStringLiteral(" | "))));
    if (chosen < 0 && cells.size() >= 3)
      chosen = r;
  }
  connect(ui->headerRow, &QComboBox::currentIndexChanged, this, &ColumnsDialog::showHeaders);
  connect(ui->keepButton, &QPushButton::clicked, this, &ColumnsDialog::keepColumns); // "שמור וקלוט"
  connect(ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);          // "ביטול"
  ui->headerRow->setCurrentIndex(std::max(chosen, 0));
  showHeaders();
}

ColumnsDialog::~ColumnsDialog() = default;

void ColumnsDialog::showHeaders() {
  QStringList headers{QString()}; // none
  for (const QString &cell : m_head.value(ui->headerRow->currentIndex()))
    if (!cell.trimmed().isEmpty())
      headers << cell.simplified();
  for (QComboBox *column : {ui->dateColumn, ui->descriptionColumn, ui->referenceColumn, ui->debitColumn,
                            ui->creditColumn, ui->amountColumn, ui->balanceColumn}) {
    column->clear();
    column->addItems(headers);
  }
}

void ColumnsDialog::keepColumns() {
  const QString refusal = bank::nameColumns(
      m_store, {ui->bankName->text(), ui->dateColumn->currentText(), ui->descriptionColumn->currentText(),
                ui->referenceColumn->currentText(), ui->debitColumn->currentText(), ui->creditColumn->currentText(),
                ui->amountColumn->currentText(), ui->balanceColumn->currentText()});
  if (!refusal.isEmpty()) {
    messages::show(this, refusal);
    return;
  }
  accept();
}

} // namespace domiva
