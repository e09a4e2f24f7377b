#pragma once
#include <QWidget>
#include <memory>

namespace Ui {
class IncomingForm;
}

namespace domiva {
class GridModel;

// "תשלומי דיירים": records what residents pay and lists every payment.
class IncomingWindow : public QWidget {
  Q_OBJECT
public:
  explicit IncomingWindow(QWidget *parent = nullptr);
  ~IncomingWindow() override;

private slots:
  void apartment_Change(); // an apartment chosen or typed: show its resident
  void Command1_Click();   // "בצע": record the payment
  void Command2_Click();   // "הדפס": print the payments list
  void Command3_Click();   // "יציאה": close the window

private:
  void Form_Load();
  void setWidths();
  std::unique_ptr<Ui::IncomingForm> ui;
  GridModel *m_list = nullptr;
};

} // namespace domiva
