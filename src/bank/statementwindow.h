#pragma once
#include "bank/matching.h"
#include "store/database.h"

#include <QWidget>
#include <memory>

namespace Ui {
class StatementForm;
}

namespace domiva {
class GridModel;

// "דף חשבון בנק": a statement read from the bank's file, its lines shown
// with what is proposed for each, and recorded as payments and expenses
// at the treasurer's word.
class StatementWindow : public QWidget {
  Q_OBJECT
public:
  explicit StatementWindow(db::Store store, QWidget *parent = nullptr);
  ~StatementWindow() override;

private slots:
  void importStatement();    // importButton "קליטת דף חשבון מקובץ"
  void acceptLine();         // acceptLine "אשר שורה"
  void acceptSure();         // acceptSure "אשר את כל הבטוחות"
  void setLineAside();       // setAside "שים בצד / החזר": the chosen line aside, or back to waiting
  void showChosen();         // a line chosen in linesList
  void showReconciliation(); // reconcileButton "התאמת בנק"

private:
  // Reads the file and keeps its new lines; a file of no known layout has
  // its columns named first.
  void importFile(const QString &path);
  void showLines(qint64 chosen);
  void showStatementEnd();
  const bank::Review *chosenLine() const; // null when none
  // Records `line` as the form holds it, or as proposed; the refusal, or empty.
  QString record(const bank::Review &line, bool asProposed);
  db::Store m_store;
  std::unique_ptr<Ui::StatementForm> ui;
  GridModel *m_lines;
  GridModel *m_statements;
  QList<bank::Review> m_review;
};

} // namespace domiva
