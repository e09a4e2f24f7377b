#pragma once
#include "store/database.h"
#include <QDate>
#include <QWidget>
#include <memory>
#include <optional>

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
  void showStatement();     // statementButton "דף חשבון": the chosen row's apartment
  void showAllStatements(); // allStatements "דפי חשבון לכל החייבים"
  void openReminders();     // remindersButton "מכתבי תזכורת": the chosen rows ticked

private:
  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::DebtorsForm> ui;
  GridModel *m_list;
};

// Shows the statement ("דף חשבון") of `apartment`, or of every apartment
// that owes, as at `asAt`, in a preview from which they print or go to PDF.
void showStatements(QWidget *parent, const db::Store &store, const QDate &asAt, std::optional<qint64> apartment);

} // namespace domiva
