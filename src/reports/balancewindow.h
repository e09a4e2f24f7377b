#pragma once
#include "ledger/period.h"
#include "store/database.h"

#include <QWidget>
#include <memory>

namespace Ui {
class BalanceForm;
}

namespace domiva {
class GridModel;

// "מאזן שנתי": income by purpose against expenses by category over a period,
// reconciled with the opening balance read at start-up.
class BalanceWindow : public QWidget {
  Q_OBJECT
public:
  explicit BalanceWindow(db::Store store, QWidget *parent = nullptr);
  ~BalanceWindow() override;

private slots:
  void showPeriod();   // "הצג": recompute for the dates in the pickers
  void closeWindow();  // "יציאה": close the window
  void printBalance(); // "הדפס": the printed balance
  void saveInspectionPack(); // inspectionPack "תיק עיון לבעל דירה": the period's book and documents, to a folder
  void printWithoutDocuments(); // withoutDocuments "הוצאות ללא חשבונית": the period's expenses with no document

private:
  void showThisYear();
  void loadGrids();
  void showTotals();

  db::Store m_store; // the books this window reads and writes

  std::unique_ptr<Ui::BalanceForm> ui;
  GridModel *m_byFor = nullptr;
  GridModel *m_byCategory = nullptr;
  GridModel *m_funds = nullptr; // shown where the books keep funds
  ledger::Period m_money;    // of the period shown
  bool m_readFailed = false; // the sums shown could not be read
};

} // namespace domiva
