#pragma once
#include <QWidget>
#include <memory>
#include <thread>

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
  void showBuilding(); // the building's street and city, the file's path

protected:
  bool event(QEvent *event) override;

private:
  std::unique_ptr<Ui::start> ui;
};

// Reads the system's font configuration on a thread of its own while the
// display is being connected, so the first window need not wait for it.
// Made first thing in main, before the application object.
class FontsAhead {
public:
  FontsAhead();
  ~FontsAhead();
  FontsAhead(const FontsAhead &) = delete;
  FontsAhead &operator=(const FontsAhead &) = delete;

private:
  std::thread m_reading;
};

// Shows the menu at once and opens the books at `path` while the display
// puts it up; the file's whole-file check then runs behind it. Nothing is
// written before the check passes, and a file it refuses closes every
// window with the refusal and ends the program with status 1. The day's
// backup follows a passed check. Null, with `failure` set, when the file
// cannot be opened at all.
std::unique_ptr<StartWindow> showMenu(const QString &path, QString &failure);

} // namespace domiva
