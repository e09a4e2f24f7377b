#pragma once
#include <QWidget>
#include <memory>

namespace Ui {
class start;
}

namespace domiva {

// The main menu: six buttons, each opening the one window of its screen.
class StartWindow : public QWidget {
  Q_OBJECT
public:
  explicit StartWindow(QWidget *parent = nullptr);
  ~StartWindow() override;

private slots:
  void Command1_Click(); // "דיירי הבניין": the residents window
  void Command2_Click(); // "תשלומי דיירים": the payments window
  void Command3_Click(); // "הוצאות הבניין": the expenses window
  void Command4_Click(); // "מאזן שנתי": the annual balance
  void Command5_Click(); // "רישום פרטים": the building details
  void Command6_Click(); // "דו"ח תשלומים שנתי": the annual payments report

protected:
  bool event(QEvent *event) override;

private:
  void showBuilding(); // the building's street and city, the file's path
  std::unique_ptr<Ui::start> ui;
};

} // namespace domiva
