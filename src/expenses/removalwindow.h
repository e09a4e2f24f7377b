#pragma once
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
  explicit RemovalWindow(QWidget *parent = nullptr);
  ~RemovalWindow() override;

private slots:
  void Command1_Click(); // "הוסף": record the expense
  void Command2_Click(); // "הדפס": print the expenses list
  void Command3_Click(); // "יציאה": close the window
  void Command4_Click(); // "+": add the supplier box's name to the suppliers

private:
  void Form_Load();
  void setWidths();
  std::unique_ptr<Ui::RemovalForm> ui;
  GridModel *m_list = nullptr;
};

} // namespace domiva
