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

protected:
  bool event(QEvent *event) override;

private:
  void showBuilding(); // the building's street and city, the file's path
  std::unique_ptr<Ui::start> ui;
};

} // namespace domiva
