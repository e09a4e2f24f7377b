#pragma once
#include "store/database.h"
#include <QWidget>
#include <memory>

namespace Ui {
class FundsForm;
}

class QComboBox;

namespace domiva {
class GridModel;

// Offers the books' funds in `box`, the running account first; where they
// keep none, `box` and its `label` are hidden: all is the running account's.
void offerFunds(const db::Store &store, QComboBox *box, QWidget *label);

// "קרנות": each fund's money over a period and where it is kept; a new
// fund, and money moved from one to another.
class FundsWindow : public QWidget {
  Q_OBJECT
public:
  explicit FundsWindow(db::Store store, QWidget *parent = nullptr);
  ~FundsWindow() override;

private slots:
  void showFunds();     // the period chosen: each fund's opening, in, out, moved, closing
  void addFund();       // addFund "הוסף קרן"
  void moveMoney();     // addTransfer "העבר בין קרנות"
  void printFunds();    // printButton "הדפס קרנות"

private:
  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::FundsForm> ui;
  GridModel *m_list;
};

} // namespace domiva
