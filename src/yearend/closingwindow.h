#pragma once
#include "store/database.h"
#include <QWidget>
#include <memory>

namespace Ui {
class ClosingForm;
}

namespace domiva {
class GridModel;

// "סגירת תקופה": the periods closed once the meeting approved them, closing
// the next, and reopening the last for a reason.
class ClosingWindow : public QWidget {
  Q_OBJECT
public:
  explicit ClosingWindow(db::Store store, QWidget *parent = nullptr);
  ~ClosingWindow() override;

private slots:
  void closePeriod();  // closePeriod "סגור תקופה"
  void reopenPeriod(); // reopenPeriod "פתח מחדש את התקופה האחרונה"

private:
  void showClosings();
  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::ClosingForm> ui;
  GridModel *m_list;
};

} // namespace domiva
