#pragma once
#include "store/database.h"
#include <QWidget>
#include <memory>

namespace Ui {
class BudgetForm;
}

namespace domiva {
class GridModel;

// "תקציב": the year's budget by item, against what was spent and collected.
class BudgetWindow : public QWidget {
  Q_OBJECT
public:
  explicit BudgetWindow(db::Store store, QWidget *parent = nullptr);
  ~BudgetWindow() override;

private slots:
  void showBudget();  // a year or a day chosen: the lines and the dues that would cover them
  void showItems();   // the kind chosen: its names to choose from
  void saveItem();    // saveItem "עדכן סעיף"
  void offerDues();   // offerDues "קבע כדמי הוועד": the covering dues from the next month the year has not begun
  void printBudget(); // printButton "הדפס תקציב מול ביצוע"

private:
  int year() const;
  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::BudgetForm> ui;
  GridModel *m_lines;
};

} // namespace domiva
