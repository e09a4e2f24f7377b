#pragma once
#include "bank/statement.h"
#include "store/database.h"

#include <QDialog>
#include <memory>

namespace Ui {
class ColumnsForm;
}

namespace domiva {

// "עמודות דף החשבון": for a statement of a layout the program does not
// know, the user names its header row and which column is what; kept for
// the bank named, the file is then read by it.
class ColumnsDialog : public QDialog {
  Q_OBJECT
public:
  ColumnsDialog(db::Store store, const QList<QStringList> &head, QWidget *parent = nullptr);
  ~ColumnsDialog() override;

private slots:
  void showHeaders(); // a header row chosen: its cells offered for each column
  void keepColumns(); // keepButton "שמור וקלוט"

private:
  db::Store m_store;
  std::unique_ptr<Ui::ColumnsForm> ui;
  QList<QStringList> m_head;
};

} // namespace domiva
