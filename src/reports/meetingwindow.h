#pragma once
#include "store/database.h"
#include <QWidget>
#include <memory>

namespace Ui {
class MeetingForm;
}

namespace domiva {

// "דו"ח לאסיפה כללית": a period chosen, its report shown in a preview to
// print or save as PDF.
class MeetingWindow : public QWidget {
  Q_OBJECT
public:
  explicit MeetingWindow(db::Store store, QWidget *parent = nullptr);
  ~MeetingWindow() override;

private slots:
  void showReport();   // showButton "הצג"
  void showHalfYear(); // halfYearButton "דו"ח חצי שנתי": the half-year "עד תאריך" falls in

private:
  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::MeetingForm> ui;
};

} // namespace domiva
