#pragma once
#include "store/database.h"
#include <QWidget>
#include <memory>

namespace Ui {
class AnualReportForm;
}

namespace domiva {
class GridModel;

// "דו"ח תשלומים שנתי": the payments matrix of the chosen year.
class AnualReportWindow : public QWidget {
  Q_OBJECT
public:
  explicit AnualReportWindow(db::Store store, QWidget *parent = nullptr);
  ~AnualReportWindow() override;

private slots:
  void showChosenYear(); // a year chosen from the list, the shown one too: reread it
  void printReport();    // "הדפס דו"ח": the year shown, every apartment, on paper
  void closeWindow();    // "יציאה": close the window

private:
  void loadYear();
  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::AnualReportForm> ui;
  GridModel *m_matrix = nullptr;
  bool m_readFailed = false; // the year shown could not be read: nothing to print
};

} // namespace domiva
