#pragma once
#include "store/database.h"
#include <QWidget>
#include <memory>

namespace Ui {
class LeviesForm;
}

namespace domiva {
class GridModel;

// "היטלים": levies apart from the dues, and what each apartment is charged.
class LeviesWindow : public QWidget {
  Q_OBJECT
public:
  explicit LeviesWindow(db::Store store, QWidget *parent = nullptr);
  ~LeviesWindow() override;

private slots:
  void addLevy();     // addLevy "הוסף היטל"
  void deleteLevy();  // deleteLevy "מחק היטל"
  void showCharges(); // a levy chosen in leviesList
  void saveCharge();  // saveCharge "עדכן סכום לדירה"
  void saveShare();   // saveShare "עדכן חלק לדירה"
  void printLevy();   // printLevy "הדפס היטל": the chosen levy's paper

private:
  void showLevies(qint64 chosen);
  qint64 chosenLevy() const; // 0 when none
  db::Store m_store;         // the books this window reads and writes
  std::unique_ptr<Ui::LeviesForm> ui;
  GridModel *m_levies;
  GridModel *m_charges;
};

} // namespace domiva
