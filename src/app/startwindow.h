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
// window with the refusal (for a damaged file, with offerRestore()) and ends
// the program's loop with status 1, or restartStatus after a restore. The
// day's backup follows a passed check, on a thread of its own. Null, with
// `failure` set (and `damaged`, when given), when the file cannot be opened.
std::unique_ptr<StartWindow> showMenu(const QString &path, QString &failure, bool *damaged = nullptr);

// The status the program's loop ends with when a backup was restored in
// place of a damaged file: start again on it.
inline constexpr int restartStatus = 75;

// Shows the refusal of the damaged file at `path` with the ways to put a
// backup in its place (the newest, one chosen among the backups, any file),
// until one is restored (true) or the user closes the program (false).
bool offerRestore(const QString &path, const QString &refusal);

// Tells why the books at `path` were refused; for a damaged file with the
// ways to restore a backup (offerRestore). True when one was restored, so
// the program starts again on it.
bool refuseBooks(const QString &path, const QString &refusal, bool damaged);

// Waits for the day's backup, if one is being made (before the file closes).
void waitForBackup();

// Closes the books at the end of a run: damage that came meanwhile is told
// (on the console when the system ended the program), else the first day's
// work is backed up; then the file is one file again.
void closeBooks(bool endedBySystem);

} // namespace domiva
