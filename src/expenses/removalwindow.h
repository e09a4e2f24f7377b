#pragma once
#include "store/database.h"
#include <QWidget>
#include <memory>

namespace Ui {
class RemovalForm;
}

namespace domiva {
class GridModel;

// "הוצאות הבניין": records what the committee pays out and lists every expense.
class RemovalWindow : public QWidget {
  Q_OBJECT
public:
  explicit RemovalWindow(db::Store store, QWidget *parent = nullptr);
  ~RemovalWindow() override;

private slots:
  void recordExpense(); // Command1 "הוסף"
  void printList();     // Command2 "הדפס"
  void closeWindow();   // Command3 "יציאה"
  void addSupplier();   // Command4 "+": the supplier box's name joins the suppliers
  void cancelExpense(); // cancelRow "בטל רשומה", and the grid's context menu
  void attachDocument(); // attachDocument "צרף מסמך": a file chosen, to the chosen row's expense
  void openDocuments();  // openDocuments "פתח מסמכים": the chosen row's, in the desktop's viewer

private:
  void load();
  qint64 chosenExpense(); // the chosen row's receipt, or 0 (and the user told)
  void setWidths();
  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::RemovalForm> ui;
  GridModel *m_list = nullptr;
};

} // namespace domiva
