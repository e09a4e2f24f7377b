#pragma once
#include "store/database.h"
#include <QWidget>
#include <memory>

namespace Ui {
class RegisterForm;
}

namespace domiva {
class GridModel;

// "פרטי בניין": the building's details, its dues schedule and the
// apartments' opening debts.
class RegisterWindow : public QWidget {
  Q_OBJECT
public:
  explicit RegisterWindow(db::Store store, QWidget *parent = nullptr);
  ~RegisterWindow() override;

private slots:
  void saveDetails();     // Command1 "עדכון פרטים"
  void addDues();         // addDues "הוסף לדירה"
  void addDuesByShares(); // addDuesByShares: the amount as the building's, split by the shares
  void removeDues();      // removeDues "הסר שורה"
  void saveOpeningDebt(); // saveOpening "שמור חוב פתיחה"

private:
  void load();
  void showOwed();   // the schedule and the opening debts, as the file holds them
  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::RegisterForm> ui;
  GridModel *m_dues;
  GridModel *m_opening;
};

} // namespace domiva
