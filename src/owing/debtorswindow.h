#pragma once
#include "store/database.h"
#include <QWidget>
#include <memory>

namespace Ui {
class DebtorsForm;
}

namespace domiva {
class GridModel;

// "חייבים": who owes as at a date, and for which months.
class DebtorsWindow : public QWidget {
  Q_OBJECT
public:
  explicit DebtorsWindow(db::Store store, QWidget *parent = nullptr);
  ~DebtorsWindow() override;

private slots:
  void showDebtors(); // the date or "הצג את כולם" changed
  void printList();   // printButton "הדפס"
  void saveCsv();     // csvButton "שמור כקובץ CSV"

private:
  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::DebtorsForm> ui;
  GridModel *m_list;
};

} // namespace domiva
