#pragma once
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
  explicit AnualReportWindow(QWidget *parent = nullptr);
  ~AnualReportWindow() override;

private slots:
  void year_Click();     // a year chosen from the list, the shown one too: reread it
  void Command1_Click(); // "הדפס דו"ח": print the window as it shows now
  void Command2_Click(); // "יציאה": close the window

private:
  void loadYear();
  std::unique_ptr<Ui::AnualReportForm> ui;
  GridModel *m_matrix = nullptr;
};

} // namespace domiva
