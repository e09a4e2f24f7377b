#pragma once
// Shared by the test programs: a private database per test, and the
// message and printing seams turned into lists the tests can read.
// Every suite includes this one header: the whole program and the Qt
// pieces the tests drive.
#include "domiva_program.h" // every header of the program, listed by the build

#include <QAbstractItemModelTester>
#include <QtPrintSupport>
#include <QtSql>
#include <QtTest>
#include <QtWidgets>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <sys/stat.h>

namespace domiva::test {

// A new database file in its own temporary folder, opened as the program's
// connection with the building's details read; closed when it goes.
class TempDatabase {
public:
  TempDatabase();
  ~TempDatabase();
  QString path() const { return m_path; }
  QString folder() const { return m_dir.path(); }
  void reopen(); // as a restart of the program would

private:
  QTemporaryDir m_dir;
  QString m_path;
};

// Collects the messages the program shows while it lives, and answers its
// questions: yes/no with `yes`, a text question with `reply` (nothing: the
// user declined), a choice of buttons with `choice`, a file with `open`.
class Messages {
public:
  Messages();
  ~Messages();
  QStringList shown;
  QStringList asked; // every question, yes/no or text
  bool yes = true;
  std::optional<QString> reply;
  // A warning with buttons is shown too; the button captioned `choice` is
  // pressed once, else the last (closing) one.
  QString choice;
  QList<QStringList> offered;
  // Asked for a file to open: where the dialog opened, and the answer.
  QStringList openedIn;
  std::optional<QString> open;
  QString last() const { return shown.isEmpty() ? QString() : shown.last(); }
};

// Collects what would go to the printer: each list's table and title.
class Prints {
public:
  Prints();
  ~Prints();
  QList<QList<QStringList>> tables;
  QStringList texts;        // each list's title
  QList<QStringList> lines; // each list's lines across the page, as painted
};

// A printout as a table: its band row when it has one, its headers, then
// every row as it reads them.
QList<QStringList> table(const listing::Printout &printout);
// What painting the printout on paper puts on each page, and its lines.
listing::PageModel painted(const listing::Printout &printout);

// A message without its lines of the engine's own words (which a message
// box shows under its details), for comparing it whole.
QString withoutDetails(const QString &text);

// The program's store: the books a test opened.
inline db::Store books() { return db::program(); }

// The rows of a SELECT, each as its values.
QList<QVariantList> rows(const QString &sql, const QVariantList &values = {});
// Whole results as one text, to compare with one written out: cells joined
// by '|', rows by '\n', NULL as nothing. `dump` is a SELECT's rows so.
QString text(const QList<QStringList> &rows);
QString text(const QList<QVariantList> &rows);
QString dump(const QString &sql, const QVariantList &values = {});
// A data table written as text, a case a line: its name, then its cells,
// each after a '|' and trimmed; each test reads them as `QStringList c`.
// Written as lists where a cell is one of the program's texts.
void cases(const QString &table);
void cases(const QList<QStringList> &rows);
// A file's bytes (none when it cannot be read).
QByteArray bytes(const QString &path);
// The program run on its own: how it ended and what it printed, trimmed.
std::pair<int, QString> run(const QStringList &arguments);
// The rows a grid shows, as display texts, and its headers.
QList<QStringList> gridRows(QAbstractItemModel *model);
QStringList gridHeaders(QAbstractItemModel *model);

// One set-up for every suite, through the program's own rules; a refusal
// fails the test. The building's details; a resident; a payment (its
// receipt) for a month or a range ("ינואר-מרץ") of `year` (0: the date's),
// or for a levy named in `forText` with no months; an expense.
void building(const QString &apartments, const QString &dues, const QString &balance = "0",
              const QDate &start = QDate(2026, 1, 1), const QString &street = {}, const QString &city = {});
void addResident(qint64 apartment, const QString &family);
qint64 recordPayment(const payments::PaymentInput &input);
qint64 pay(int apartment, const QString &months, const QString &amount, const QDate &date, int year = 0,
           const QString &forText = QStringLiteral("ועד הבית"));
void recordExpense(const QString &category, const QDate &date, const QString &amount);

// Every kind of write the program makes, a data row each: the column
// "write", giving what the user is told (empty when written; the matrix's
// rebuild, which tells its cause bare, as a save that failed), on books
// holding resident 1, payment 1 and expense 1.
void everyWrite();

// What a test stops on (QtTest fails that test and goes on to the next).
struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Whether the books under test are on a server (DOMIVA_TEST_SERVER).
bool onServer();
// Makes every `event` (INSERT, UPDATE) on `table` fail as a full disk
// would; the engine's words for the failure.
QString refuseWrites(const char *table, const char *event);

// What an interrupted write leaves in `folder`: its own folder `name` with a
// part-written file, stamped two hours ago by the file system's clock when `old`.
bool leftover(const QString &folder, const QString &name, bool old);

// The first page of `table` in the open file; and that page of the file at
// `path` overwritten with rubbish, as a failing disk would leave it.
int firstPage(const char *table);
bool overwritePage(const QString &path, int page);

// The base of the window tests: a new database and message list for each
// test, and the window under test's controls reached by their names.
class WindowTest : public QObject {
protected:
  void startTest(const QDate &today);
  void endTest(); // closes every window and lets them be deleted

  template <class T> T *control(const char *name) const {
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
      throw Failure(std::string("no control ") + name);
    return found;
  }
  void click(const char *name) const;
  // Sets each named control as a user leaves it: a line's or an editable
  // list's text, a date box's date ("dd/MM/yyyy").
  void fill(const QList<std::pair<const char *, QString>> &fields) const;
  // What each named control shows: its text, or a date box's date.
  QStringList shows(const QList<const char *> &names) const;
  // The focused control: the application's, or in a window not active, the window's own.
  QString focused() const;
  // Chooses row `row` of the grid as a click would.
  void chooseRow(int row, const char *name = "DataGrid1") const;
  QList<QStringList> grid(const char *name = "DataGrid1") const;
  // Where Tab from `widget` leads, then where Shift+Tab from it leads.
  static QStringList tabsFrom(QWidget *widget);
  static int count(const char *table);

  std::unique_ptr<TempDatabase> database;
  std::unique_ptr<Messages> messages;
  QWidget *window = nullptr;
};

} // namespace domiva::test

using namespace domiva;
