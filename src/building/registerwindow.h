#pragma once
#include <QWidget>
#include <memory>

namespace Ui {
class RegisterForm;
}

namespace domiva {

// "פרטי בניין": shows the details read at start-up and saves edits to the table.
class RegisterWindow : public QWidget {
  Q_OBJECT
public:
  explicit RegisterWindow(QWidget *parent = nullptr);
  ~RegisterWindow() override;

private slots:
  void saveDetails(); // Command1 "עדכון פרטים"

private:
  void load();
  std::unique_ptr<Ui::RegisterForm> ui;
};

} // namespace domiva
