// Benchmarks on a large building (200 apartments, 1/10/30 years), each beside
// its floor: the same work done directly with SQL on the same file, or a
// bare Qt window. Run: build/bench/domiva_bench (files are made on first run
// in $TMPDIR). Memory: printed at the end, from child processes.
// With DOMIVA_BENCH_SERVER naming a PostgreSQL server's database, the
// program's actions run on buildings there instead, copied from the files
// on first use (the floors are SQLite's, so filter them out).
#include "app/startup.h"
#include "app/startwindow.h"
#include "bank/import.h"
#include "bank/statementwindow.h"
#include "building/registerwindow.h"
#include "expenses/expense.h"
#include "expenses/removalwindow.h"
#include "generate.h"
#include "ledger/owing.h"
#include "ledger/period.h"
#include "ledger/statement.h"
#include "owing/debtorswindow.h"
#include "owing/storywindow.h"
#include "payments/incomingwindow.h"
#include "payments/payment.h"
#include "payments/receipt.h"
#include "printing/reportstyle.h"
#include "reports/annual.h"
#include "reports/anualreportwindow.h"
#include "reports/balance.h"
#include "reports/balancewindow.h"
#include "reports/meeting.h"
#include "reports/meetingwindow.h"
#include "residents/neighborswindow.h"
#include "residents/residents.h"
#include "store/building.h"
#include "store/database.h"
#include "store/gridmodel.h"
#include "text/dates.h"
#include "text/money.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/opening.h"
#include "ui/printing.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTextOption>
#include <QWindow>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <optional>

using namespace domiva;

namespace {

QString fileFor(int years) { return QDir::tempPath() + QStringLiteral("/domiva-bench-%1y.sqlite").arg(years); }

const QString server = qEnvironmentVariable("DOMIVA_BENCH_SERVER");

// A building on the server, emptied of its books first when `fresh`.
QString building(const QString &name, bool fresh) {
  if (fresh)
    db::readOnly(server, QStringLiteral("bench-drop"), [&](QSqlDatabase &connection) {
      QSqlQuery drop(connection);
      drop.exec(QStringLiteral("SET client_min_messages = warning"));
      drop.exec(QStringLiteral("DROP SCHEMA IF EXISTS \"%1\" CASCADE").arg(name));
    });
  return db::withBuilding(server, name);
}

// The books of `years`: the file, or its copy on the server.
QString booksFor(int years) {
  if (!QFile::exists(fileFor(years)) && !bench::generate(fileFor(years), years, 1))
    qFatal("cannot generate %d years", years);
  if (server.isEmpty())
    return fileFor(years);
  const QString name = QStringLiteral("bench-%1y").arg(years);
  QString failure;
  if (!db::buildings(server, failure).contains(name)) {
    db::close();
    if (!startUp(fileFor(years)).isEmpty() || !db::copyBooks(building(name, true)).isEmpty())
      qFatal("cannot copy the bench file to the server");
    db::close();
  }
  return building(name, false);
}

int openYears = 0; // the fixture open now; negative: a scratch copy of it

void use(int years) {
  if (openYears == years)
    return;
  const QString books = booksFor(years);
  db::close();
  if (!startUp(books).isEmpty())
    qFatal("cannot open the bench books");
  openYears = years;
}

// The benchmarks that write work on a fresh copy of the fixture, so the
// fixtures, and the figures of later runs, never change.
void useCopy(int years) {
  use(years);
  QString copy;
  if (server.isEmpty()) {
    db::close();
    copy = QDir::tempPath() + QStringLiteral("/domiva-bench-scratch.sqlite");
    QFile::remove(copy);
    if (!QFile::copy(fileFor(years), copy))
      qFatal("cannot copy the bench file");
  } else {
    copy = building(QStringLiteral("bench-scratch"), true);
    if (!db::copyBooks(copy).isEmpty())
      qFatal("cannot copy the bench building");
    db::close();
  }
  if (!startUp(copy).isEmpty())
    qFatal("cannot open the copy of the bench books");
  openYears = -years;
}

// Writes spread over the apartments, as a real month's payments are.
QString nextApartment() {
  static int apartment = 0;
  return QString::number(1 + apartment++ % 200);
}

// Runs a query the way a grid would start: the statement and its first rows.
void rawRows(const QString &sql, const QVariantList &values = {}, int rows = 256) {
  QSqlQuery query(QSqlDatabase::database());
  query.prepare(sql);
  for (const QVariant &value : values)
    query.addBindValue(value);
  query.exec();
  for (int r = 0; r < rows && query.next(); ++r)
    benchmark::DoNotOptimize(query.value(0));
}

void flush() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Opens the window until its grid holds its first rows, then closes it.
template <class W> void BM_Open(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state) {
    W *window = openShared<W>();
    QCoreApplication::processEvents();
    if (auto *grid = window->template findChild<QTableView *>())
      benchmark::DoNotOptimize(grid->model()->rowCount());
    window->close();
    flush();
  }
}

void BM_OpenFloor_neighbors(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state)
    rawRows(residents::listQuery());
}
void BM_OpenFloor_incoming(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state) {
    rawRows(payments::listQuery());
    rawRows(QStringLiteral("SELECT apartment FROM neighbors ORDER BY rowid"), {}, 1000);
  }
}
void BM_OpenFloor_removal(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state) {
    rawRows(expenses::listQuery());
    rawRows(QStringLiteral("SELECT category FROM category"), {}, 1000);
    rawRows(QStringLiteral("SELECT supplyer FROM supplyer"), {}, 1000);
  }
}
void balanceFloor(const QDate &from, const QDate &to) {
  const QVariantList period{from.toString(Qt::ISODate), to.toString(Qt::ISODate)};
  rawRows(balance::incomeQuery(), period);
  rawRows(balance::expenseQuery(), period);
  rawRows(QStringLiteral("SELECT sum(amount) FROM incoming WHERE inputdate BETWEEN ? AND ? AND cancelled IS NULL"),
          period);
  rawRows(QStringLiteral("SELECT sum(amount) FROM removals WHERE \"Date\" BETWEEN ? AND ? AND cancelled IS NULL"),
          period);
}
void BM_OpenFloor_balance(benchmark::State &state) {
  use(int(state.range(0)));
  const int year = QDate::currentDate().year();
  for (auto _ : state)
    balanceFloor(QDate(year, 1, 1), QDate(year, 12, 31));
}
void BM_OpenFloor_register(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state)
    rawRows(QStringLiteral("SELECT * FROM registery"));
}
void BM_OpenFloor_anualreport(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state)
    rawRows(QStringLiteral("SELECT * FROM anual_report WHERE year = ?"), {QDate::currentDate().year()});
}

void BM_StartUp(benchmark::State &state) {
  use(30);
  for (auto _ : state) {
    db::close();
    benchmark::DoNotOptimize(startUp(booksFor(30)));
  }
}
void BM_StartUpFloor(benchmark::State &state) {
  use(30);
  for (auto _ : state) {
    db::close();
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    database.setDatabaseName(fileFor(30));
    database.open();
    rawRows(QStringLiteral("SELECT * FROM registery"));
  }
  db::close();
  startUp(fileFor(30));
}
void BM_MenuShown(benchmark::State &state) {
  use(30);
  for (auto _ : state) {
    db::close();
    startUp(booksFor(30));
    StartWindow menu;
    menu.show();
    QCoreApplication::processEvents();
  }
}
void BM_BareWindowShown(benchmark::State &state) {
  for (auto _ : state) {
    QWidget window;
    window.show();
    QCoreApplication::processEvents();
  }
}

void BM_RecordPayment(benchmark::State &state) {
  useCopy(int(state.range(0)));
  const QDate day = QDate::currentDate();
  for (auto _ : state)
    payments::record(db::program(),
                     {day, nextApartment(), QStringLiteral("אחר"), QString(), QStringLiteral("מרץ"),
                      QStringLiteral("מאי"), QString(), QStringLiteral("300"), QString::number(day.year())});
}
void BM_RecordPaymentFloor(benchmark::State &state) {
  useCopy(int(state.range(0)));
  const QString day = QDate::currentDate().toString(Qt::ISODate);
  for (auto _ : state) {
    db::Transaction transaction(db::program());
    db::program().exec(QStringLiteral("INSERT INTO incoming (inputdate, apartment, \"for\", amount, year) "
                                      "VALUES (?, 17, 'אחר', 30000, ?)"),
                       {day, QDate::currentDate().year()});
    db::program().exec(QStringLiteral("INSERT INTO trans VALUES (?, 'אחר', 30000, 'הכנסה', 'incoming', 1)"), {day});
    db::program().exec(
        QStringLiteral("UPDATE anual_report SET mer = 100, apr = 100, mai = 100, total = 3000, depth = 0 "
                       "WHERE apartment = 17 AND year = ?"),
        {QDate::currentDate().year()});
    transaction.commit();
  }
}
// Each cancelled payment is recorded first, outside the timing.
void BM_CancelPayment(benchmark::State &state) {
  useCopy(int(state.range(0)));
  const QDate day = QDate::currentDate();
  for (auto _ : state) {
    state.PauseTiming();
    const auto outcome = payments::record(db::program(), {day, nextApartment(), QStringLiteral("אחר"), QString(),
                                                          QStringLiteral("מרץ"), QStringLiteral("מאי"), QString(),
                                                          QStringLiteral("300"), QString::number(day.year())});
    state.ResumeTiming();
    benchmark::DoNotOptimize(payments::cancel(db::program(), outcome.reciept(), QStringLiteral("בדיקה"), day));
  }
}
void BM_CancelPaymentFloor(benchmark::State &state) {
  useCopy(int(state.range(0)));
  const QString day = QDate::currentDate().toString(Qt::ISODate);
  for (auto _ : state) {
    state.PauseTiming();
    const qint64 reciept =
        db::program()
            .exec(QStringLiteral("INSERT INTO incoming (inputdate, apartment, \"for\", amount, year) "
                                 "VALUES (?, 17, 'אחר', 30000, ?)"),
                  {day, QDate::currentDate().year()})
            .lastInsertId()
            .toLongLong();
    state.ResumeTiming();
    db::Transaction transaction(db::program());
    db::program().exec(QStringLiteral("UPDATE incoming SET cancelled = ?, cancel_reason = 'בדיקה' WHERE reciept = ?"),
                       {day, reciept});
    db::program().exec(QStringLiteral("INSERT INTO trans VALUES (?, 'אחר', -30000, 'הכנסה', 'incoming', ?)"),
                       {day, reciept});
    db::program().exec(
        QStringLiteral("UPDATE anual_report SET mer = 100, apr = 100, mai = 100, total = 3000, depth = 0 "
                       "WHERE apartment = 17 AND year = ?"),
        {QDate::currentDate().year()});
    transaction.commit();
  }
}

void BM_RecordExpense(benchmark::State &state) {
  useCopy(int(state.range(0)));
  for (auto _ : state)
    expenses::record(db::program(), {QStringLiteral("חשמל"), QDate::currentDate(), QString(), QString(), QString(),
                                     QStringLiteral("812.4")});
}
void BM_RecordExpenseFloor(benchmark::State &state) {
  useCopy(int(state.range(0)));
  const QString day = QDate::currentDate().toString(Qt::ISODate);
  for (auto _ : state) {
    db::Transaction transaction(db::program());
    db::program().exec(QStringLiteral("INSERT INTO removals (category, \"Date\", amount) VALUES ('חשמל', ?, 81240)"),
                       {day});
    db::program().exec(QStringLiteral("INSERT INTO trans VALUES (?, 'חשמל', 81240, 'הוצאה', 'removals', 1)"), {day});
    transaction.commit();
  }
}

// "הצג" over one year (range 1) or every year stored (range 30).
void BM_BalanceShow(benchmark::State &state) {
  use(30);
  auto *window = openShared<BalanceWindow>();
  const int year = QDate::currentDate().year();
  window->findChild<QDateEdit *>("DTPicker1")->setDate(QDate(year - int(state.range(0)) + 1, 1, 1));
  auto *show = window->findChild<QPushButton *>("Command1");
  for (auto _ : state) {
    show->click();
    QCoreApplication::processEvents();
  }
  window->close();
  flush();
}
void BM_BalanceShowFloor(benchmark::State &state) {
  use(30);
  const int year = QDate::currentDate().year();
  for (auto _ : state)
    balanceFloor(QDate(year - int(state.range(0)) + 1, 1, 1), QDate(year, 12, 31));
}
void BM_AnnualYear(benchmark::State &state) {
  use(30);
  auto *window = openShared<AnualReportWindow>();
  auto *year = window->findChild<QComboBox *>("year");
  for (auto _ : state) {
    emit year->activated(year->currentIndex());
    QCoreApplication::processEvents();
  }
  window->close();
  flush();
}
void BM_AnnualYearFloor(benchmark::State &state) {
  use(30);
  for (auto _ : state)
    rawRows(QStringLiteral("SELECT * FROM anual_report WHERE year = ?"), {QDate::currentDate().year()});
}

// Printing a list to PDF through the window, the way "הדפס" goes on a
// machine without a printer: the question, the file asked for, the progress
// box, the file written whole.
template <class W> void BM_PrintList(benchmark::State &state) {
  use(int(state.range(0)));
  const QString pdf = QDir::tempPath() + QStringLiteral("/domiva-bench-list.pdf");
  printing::setDefaultPrinter([] { return QPrinterInfo(); });
  messages::setAnswer([](const QString &) { return true; });
  messages::setSaveAnswer([&](const QString &) { return std::optional<QString>(pdf); });
  messages::setSink([](const QString &) {});
  W *window = openShared<W>();
  auto *print = window->template findChild<QPushButton *>(QStringLiteral("Command2"));
  for (auto _ : state)
    print->click();
  printing::setDefaultPrinter({});
  messages::setAnswer({});
  messages::setSaveAnswer({});
  messages::setSink({});
  window->close();
  flush();
}

// The floor: the program's own work and no more. The same rows in the same
// order, on the same page, font and margins, each cell framed with the
// same thin pen and its text set with the same alignment and wrapping,
// straight onto a PDF page by page, written in place.
void printFloor(const QString &sql, int columns, bool landscape, int dateColumn, int amountColumn) {
  QPdfWriter writer(QDir::tempPath() + QStringLiteral("/domiva-bench-floor.pdf"));
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
  writer.setResolution(300);
  QPainter painter(&writer);
  painter.setFont(reportFont(QStringLiteral("Arial"), 10));
  const QRectF area = painter.window();
  const double padding = painter.fontMetrics().height() * 0.25;
  const double line = painter.fontMetrics().height() + 2 * padding;
  const double width = area.width() / columns;
  QTextOption option(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  QSqlQuery query(QSqlDatabase::database());
  query.setForwardOnly(true);
  query.exec(sql);
  double y = area.top();
  qint64 total = 0;
  while (query.next()) {
    if (y + line > area.bottom() - 1.5 * line) {
      writer.newPage();
      y = area.top();
    }
    painter.setPen(QPen(Qt::darkGray, 0));
    for (int c = 0; c < columns; ++c)
      painter.drawRect(QRectF(area.right() - (c + 1) * width, y, width, line));
    painter.setPen(Qt::black);
    // The cells' texts as the grid shows them: the date in its short form, the amount in shekels (and summed).
    for (int c = 0; c < columns; ++c) {
      const QString text = c == dateColumn     ? dates::toShort(dates::fromIso(query.value(c).toString()))
                           : c == amountColumn ? Money::fromAgorot(query.value(c).toLongLong()).toDisplay()
                                               : query.value(c).toString();
      painter.drawText(
          QRectF(area.right() - (c + 1) * width, y, width, line).adjusted(padding, padding, -padding, -padding), text,
          option);
    }
    total += query.value(amountColumn).toLongLong();
    y += line;
  }
  benchmark::DoNotOptimize(total);
}
void BM_PrintListFloor_incoming(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state)
    printFloor(payments::listQuery() + QStringLiteral(" WHERE cancelled IS NULL ORDER BY reciept"),
               payments::statusColumn, true, payments::dateColumn, payments::amountColumn);
}
void BM_PrintListFloor_removal(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state)
    printFloor(expenses::listQuery() + QStringLiteral(" WHERE cancelled IS NULL ORDER BY reciept"),
               expenses::statusColumn, false, expenses::dateColumn, expenses::amountColumn);
}

// The payments grid saved as CSV from its context menu, as the user sees it;
// beside it, the SQLite shell writing the same query as CSV.
void BM_SaveCsv(benchmark::State &state) {
  use(int(state.range(0)));
  const QString csv = QDir::tempPath() + QStringLiteral("/domiva-bench-list.csv");
  messages::setSaveAnswer([&](const QString &) { return std::optional<QString>(csv); });
  messages::setSink([](const QString &) {});
  auto *window = openShared<IncomingWindow>();
  auto *grid = window->findChild<QTableView *>(QStringLiteral("DataGrid1"));
  for (auto _ : state)
    grid::saveCsv(grid, QStringLiteral("list"));
  messages::setSaveAnswer({});
  messages::setSink({});
  window->close();
  flush();
}
void BM_SaveCsvFloor(benchmark::State &state) {
  use(int(state.range(0)));
  const QString sql = payments::listQuery() + QStringLiteral(" ORDER BY reciept");
  for (auto _ : state) {
    QProcess shell;
    shell.setStandardOutputFile(QDir::tempPath() + QStringLiteral("/domiva-bench-floor.csv"));
    shell.start(QStringLiteral("sqlite3"),
                {QStringLiteral("-csv"), QStringLiteral("-header"), fileFor(int(state.range(0))), sql});
    shell.waitForFinished(-1);
  }
}

// ctrl+End in the payments grid: the newest payment, from the oldest.
void BM_NewestPayment(benchmark::State &state) {
  use(int(state.range(0)));
  auto *window = openShared<IncomingWindow>();
  auto *grid = window->findChild<QTableView *>(QStringLiteral("DataGrid1"));
  for (auto _ : state) {
    state.PauseTiming();
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
  }
  window->close();
  flush();
}

// Who owes, an apartment's story, a receipt and the meeting report, on the
// 30-year file; each beside the bare queries it runs.
// What who-owes reads, bare: every row it sets against the dues.
void readsOfDebtors(int year) {
  constexpr int all = 1 << 30;
  rawRows(QStringLiteral("SELECT year, month, amount, apartment FROM dues"), {}, all);
  rawRows(QStringLiteral("SELECT apartment, family FROM neighbors"), {}, all);
  rawRows(QStringLiteral("SELECT apartment, amount FROM opening_debts"), {}, all);
  rawRows(QStringLiteral("SELECT apartment, year, jan, feb, mer, apr, mai, jun, jul, aug, sep, oct, nov, dec "
                         "FROM anual_report WHERE year <= ?"),
          {year}, all);
  rawRows(QStringLiteral("SELECT levy, apartment, amount FROM levy_charges"), {}, all);
  rawRows(QStringLiteral("SELECT levy, apartment, sum(amount) FROM incoming WHERE levy IS NOT NULL "
                         "AND cancelled IS NULL GROUP BY levy, apartment"),
          {}, all);
}
// The computation alone, without the window.
void BM_Debtors(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(owing::accounts(db::program(), QDate::currentDate()).size());
}
void BM_DebtorsFloor(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state)
    readsOfDebtors(QDate::currentDate().year());
}
void BM_Story(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state) {
    StoryWindow *window = StoryWindow::openOn(100);
    QCoreApplication::processEvents();
    window->close();
    flush();
  }
}
void BM_StoryFloor(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state) {
    rawRows(owing::paymentsQuery(), {100}, 1000);
    rawRows(QStringLiteral("SELECT year, total FROM anual_report WHERE apartment = ?"), {100}, 1000);
  }
}
// Built and painted into a PDF in memory, at the resolution of the PDFs saved.
void paintToMemory(const listing::Printout &printout) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(300);
  listing::paint(writer, printout);
}

// Every debtor's statement, a page or more each, into one PDF; beside it
// the rows it reads, bare, and as many lines (a month of each apartment's
// years, each payment) painted straight onto the page.
void BM_Statements(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state)
    paintToMemory(statements::printout(statements::ofDebtors(db::program(), QDate::currentDate())));
}
void BM_StatementsFloor(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state) {
    readsOfDebtors(QDate::currentDate().year());
    printFloor(QStringLiteral("SELECT r.year || '-01-01', r.apartment, r.total, r.depth, r.total FROM anual_report r "
                              "CROSS JOIN (WITH RECURSIVE m(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM m WHERE n < 12) "
                              "SELECT n FROM m) UNION ALL SELECT inputdate, apartment, amount, amount, amount "
                              "FROM incoming WHERE cancelled IS NULL"),
               5, false, 0, 2);
  }
}
void BM_Receipt(benchmark::State &state) {
  use(int(state.range(0)));
  for (auto _ : state)
    paintToMemory(*payments::receipt(db::program(), 1000));
}
// The report built, its figures read and its tables counted: what the
// preview waits for before painting its first page.
void BM_MeetingReportBuilt(benchmark::State &state) {
  use(int(state.range(0)));
  const int year = QDate::currentDate().year();
  for (auto _ : state)
    benchmark::DoNotOptimize(meeting::printout(db::program(), QDate(year, 1, 1), QDate(year, 12, 31), false).rowCount);
}
void BM_MeetingReport(benchmark::State &state) {
  use(int(state.range(0)));
  const int year = QDate::currentDate().year();
  for (auto _ : state)
    paintToMemory(meeting::printout(db::program(), QDate(year, 1, 1), QDate(year, 12, 31), false));
}
void BM_MeetingReportFloor(benchmark::State &state) {
  use(int(state.range(0)));
  const int year = QDate::currentDate().year();
  const QVariantList period{QStringLiteral("%1-01-01").arg(year), QStringLiteral("%1-12-31").arg(year)};
  for (auto _ : state) {
    ledger::period(db::program(), QDate(year, 1, 1), QDate(year, 12, 31)); // the opening balance carried forward
    rawRows(balance::incomeQuery(), period);
    rawRows(balance::expenseQuery(), period);
    readsOfDebtors(year);
    rawRows(QStringLiteral("SELECT * FROM anual_report WHERE year = ?"), {year}, 1000);
  }
}

// A year's statement of the 200-apartment building (3,000 lines): each
// apartment's monthly transfer under its payer's name, and 50 debits a
// month; written once as Jerusalem's CSV in $TMPDIR.
QString statementFile() {
  const QString path = QDir::tempPath() + QStringLiteral("/domiva-bench-statement.csv");
  if (QFile::exists(path))
    return path;
  const QStringList families{"כהן", "לוי",  "מזרחי", "פרץ", "ביטון",  "דהן", "אברהם", "פרידמן", "מלכה", "אזולאי",
                             "כץ",  "יוסף", "דוד",   "עמר", "אוחיון", "חדד", "גבאי",  "בן דוד", "שלום", "ביטן"};
  const QStringList given{"משה", "רות", "דנה", "יעל", "אבי", "נועה", "עומר", "שרה", "יוסי", "מיכל"};
  QStringList lines{QStringLiteral("תאריך,תיאור,אסמכתא,חובה,זכות,יתרה")};
  const int year = QDate::currentDate().year();
  for (int month = 1; month <= 12; ++month) {
    for (int apartment = 1; apartment <= 200; ++apartment)
      lines << QStringLiteral("%1/%2/%3,העברה מאת: %4 %5,%6,,280.00,")
                   .arg(1 + apartment % 28)
                   .arg(month)
                   .arg(year)
                   .arg(families[(apartment - 1) % 20], given[(apartment - 1) / 20])
                   .arg(month * 1000 + apartment);
    for (int debit = 1; debit <= 50; ++debit)
      lines << QStringLiteral("%1/%2/%3,%4,%5,%6,,")
                   .arg(1 + debit % 28)
                   .arg(month)
                   .arg(year)
                   .arg(debit % 5 ? QStringLiteral("הוראת קבע ספק %1").arg(debit) : QStringLiteral("עמלה"))
                   .arg(month * 1000 + 500 + debit)
                   .arg(debit * 10 + 0.5, 0, 'f', 2);
  }
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(lines.join(QStringLiteral("\r\n")).toUtf8()) < 0)
    qFatal("cannot write the bench statement");
  return path;
}

// The books as a treasurer leaves them after a first month: every payer
// matched to its apartment once; no statement kept yet.
void freshStatementBooks() {
  db::Transaction transaction(db::program());
  for (const char *table : {"bank_records", "bank_payers", "bank_lines", "bank_statements"})
    db::program().exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
  const bank::Statement statement = bank::readFile(statementFile());
  for (int apartment = 1; apartment <= 200; ++apartment)
    db::program().exec(QStringLiteral("INSERT INTO bank_payers (payer, apartment) VALUES (?, ?)"),
                       {bank::payer(statement.lines[apartment - 1].description), apartment});
  transaction.commit();
}

// The statement read, kept, matched and shown in its window.
void BM_StatementImport(benchmark::State &state) {
  useCopy(1);
  statementFile();
  for (auto _ : state) {
    state.PauseTiming();
    freshStatementBooks();
    state.ResumeTiming();
    bank::keep(db::program(), bank::readFile(statementFile()), statementFile());
    StatementWindow *window = openShared<StatementWindow>();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window->findChild<QTableView *>()->model()->rowCount());
    window->close();
    flush();
  }
}
// The floor: the same file read and its lines inserted with plain SQL.
void BM_StatementImportFloor(benchmark::State &state) {
  useCopy(1);
  for (auto _ : state) {
    state.PauseTiming();
    freshStatementBooks();
    state.ResumeTiming();
    QFile file(statementFile());
    file.open(QIODevice::ReadOnly);
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    QSqlQuery query(QSqlDatabase::database());
    query.exec(QStringLiteral("BEGIN"));
    query.exec(QStringLiteral("INSERT INTO bank_statements (file, bank, first_date, last_date, lines, added, "
                              "imported) VALUES ('x', 'x', '', '', 0, 0, '')"));
    const QVariant statement = query.lastInsertId();
    query.prepare(QStringLiteral("INSERT INTO bank_lines (statement, identity, inputdate, description, reference, "
                                 "amount) VALUES (?, ?, ?, ?, ?, ?)"));
    for (qsizetype i = 1; i < lines.size(); ++i) {
      const QStringList cells = lines[i].split(QLatin1Char(','));
      query.addBindValue(statement);
      query.addBindValue(lines[i]);
      query.addBindValue(cells[0]);
      query.addBindValue(cells[1]);
      query.addBindValue(cells[2]);
      query.addBindValue(cells[4].isEmpty() ? -cells[3].toDouble() : cells[4].toDouble());
      query.exec();
    }
    query.exec(QStringLiteral("COMMIT"));
  }
}

#define YEARS ->Arg(1)->Arg(10)->Arg(30)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuShown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareWindowShown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open<NeighborsWindow>) YEARS;
BENCHMARK(BM_OpenFloor_neighbors) YEARS;
BENCHMARK(BM_Open<IncomingWindow>) YEARS;
BENCHMARK(BM_OpenFloor_incoming) YEARS;
BENCHMARK(BM_Open<RemovalWindow>) YEARS;
BENCHMARK(BM_OpenFloor_removal) YEARS;
BENCHMARK(BM_Open<BalanceWindow>) YEARS;
BENCHMARK(BM_OpenFloor_balance) YEARS;
BENCHMARK(BM_Open<RegisterWindow>) YEARS;
BENCHMARK(BM_OpenFloor_register) YEARS;
BENCHMARK(BM_Open<AnualReportWindow>) YEARS;
BENCHMARK(BM_OpenFloor_anualreport) YEARS;
BENCHMARK(BM_RecordPayment) YEARS;
BENCHMARK(BM_RecordPaymentFloor) YEARS;
BENCHMARK(BM_CancelPayment) YEARS;
BENCHMARK(BM_CancelPaymentFloor) YEARS;
BENCHMARK(BM_RecordExpense) YEARS;
BENCHMARK(BM_RecordExpenseFloor) YEARS;
BENCHMARK(BM_BalanceShow)->Arg(1)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BalanceShowFloor)->Arg(1)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnnualYear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnnualYearFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open<DebtorsWindow>) YEARS;
BENCHMARK(BM_Debtors) YEARS;
BENCHMARK(BM_DebtorsFloor) YEARS;
BENCHMARK(BM_Story) YEARS;
BENCHMARK(BM_StoryFloor) YEARS;
BENCHMARK(BM_Open<MeetingWindow>) YEARS;
BENCHMARK(BM_Receipt) YEARS;
BENCHMARK(BM_Statements) YEARS->Iterations(1);
BENCHMARK(BM_StatementsFloor) YEARS->Iterations(1);
BENCHMARK(BM_MeetingReportBuilt) YEARS;
BENCHMARK(BM_MeetingReport) YEARS;
BENCHMARK(BM_MeetingReportFloor) YEARS;
BENCHMARK(BM_StatementImport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatementImportFloor)->Unit(benchmark::kMillisecond);
// The printouts and the newest row also over 100 years (a file made on the
// first run that asks for it: about two minutes).
BENCHMARK(BM_SaveCsv) YEARS->Iterations(3);
BENCHMARK(BM_SaveCsvFloor) YEARS->Iterations(3);
BENCHMARK(BM_PrintList<IncomingWindow>) YEARS->Arg(100)->Iterations(1);
BENCHMARK(BM_PrintListFloor_incoming) YEARS->Arg(100)->Iterations(1);
BENCHMARK(BM_PrintList<RemovalWindow>) YEARS->Arg(100)->Iterations(1);
BENCHMARK(BM_PrintListFloor_removal) YEARS->Arg(100)->Iterations(1);
BENCHMARK(BM_NewestPayment) YEARS->Arg(100);

long statusKiB(const char *field) {
  QFile status(QStringLiteral("/proc/self/status"));
  status.open(QIODevice::ReadOnly);
  for (const QByteArray &line : status.readAll().split('\n'))
    if (line.startsWith(field))
      return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
  return -1;
}
long peakKiB() { return statusKiB("VmHWM:"); }
long currentKiB() { return statusKiB("VmRSS:"); }

// Child process: "--rss bare" shows one empty window, "--rss all" opens the
// six windows on the 30-year file; prints the peak resident memory in KiB.
// "--rss launch", "launch-bare" and "launch-label" start as the program
// does, as a bare window and as a window with one label.
int rssChild(const QString &what) {
  // Start-up: the parent times the launch to the line printed once the first
  // window is on the screen and painted.
  const auto shown = [](QWidget &window) {
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && waited.elapsed() < 5000)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    QCoreApplication::processEvents();
    std::printf("shown\n");
    std::fflush(stdout);
  };
  if (what == QLatin1String("launch")) { // as the program starts, its Hebrew and icon first
    installHebrew(*QCoreApplication::instance());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/domiva/icon.svg")));
    QString failure;
    const auto menu = showMenu(fileFor(30), failure);
    if (!menu)
      return 1;
    shown(*menu);
    db::close(); // waits for the file's check behind the menu
    return 0;
  }
  if (what == QLatin1String("launch-bare")) {
    QWidget window;
    window.show();
    shown(window);
    return 0;
  }
  if (what == QLatin1String("launch-label")) { // the least window with Hebrew text
    QLabel window(QStringLiteral("ניהול ועד הבית"));
    window.show();
    shown(window);
    return 0;
  }
  if (what == QLatin1String("print")) {
    if (!startUp(fileFor(30)).isEmpty())
      return 1;
    const QString pdf = QDir::tempPath() + QStringLiteral("/domiva-bench-rss.pdf");
    printing::setSink([&](const listing::Printout &list) { printing::writePdf(list, pdf); });
    auto *window = openShared<IncomingWindow>();
    QCoreApplication::processEvents();
    const long before = currentKiB();
    window->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    QCoreApplication::processEvents();
    std::printf("%ld %ld %ld\n", peakKiB(), before, currentKiB());
    return 0;
  }
  if (what == QLatin1String("six") || what == QLatin1String("all")) {
    if (!startUp(fileFor(30)).isEmpty())
      return 1;
    StartWindow menu;
    menu.show();
    // "six": the menu's first six screens, which the memory target counts; "all": every one.
    static const QStringList six{"Command1", "Command2", "Command3", "Command4", "Command5", "Command6"};
    for (auto *button : menu.findChildren<QPushButton *>())
      if (what == QLatin1String("all") || six.contains(button->objectName()))
        button->click();
    QCoreApplication::processEvents();
    std::printf("%ld\n", peakKiB());
  } else {
    QWidget window;
    window.show();
    QCoreApplication::processEvents();
    std::printf("%ld\n", peakKiB());
  }
  return 0;
}

// Milliseconds from launching the child to its first line.
qint64 untilFirstLine(const char *what) {
  QProcess child;
  QElapsedTimer timer;
  timer.start();
  child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--rss"), QString::fromLatin1(what)});
  child.waitForReadyRead(60000);
  const qint64 elapsed = timer.elapsed();
  child.waitForFinished(60000);
  return elapsed;
}

QByteArray childOutput(const char *what) {
  QProcess child;
  child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--rss"), QString::fromLatin1(what)});
  child.waitForFinished(600000);
  return child.readAllStandardOutput().trimmed();
}
long childPeak(const char *what) { return childOutput(what).toLong(); }

} // namespace

int main(int argc, char *argv[]) {
  // A launch is timed as the program starts: its fonts read ahead first.
  std::optional<FontsAhead> fonts;
  if (argc == 3 && QByteArray(argv[1]) == "--rss" && QByteArray(argv[2]) == "launch")
    fonts.emplace();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setLayoutDirection(Qt::RightToLeft);
  if (argc == 3 && QByteArray(argv[1]) == "--rss")
    return rssChild(QString::fromLatin1(argv[2]));
  for (int years : {1, 10, 30})
    use(years); // makes the files before anything is timed
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const long bare = childPeak("bare");
  const long six = childPeak("six"), all = childPeak("all");
  std::printf("\npeak RSS: bare Qt window %ld KiB; the six first windows on 30 years %ld KiB; target <= %ld KiB (%s); "
              "all eleven windows %ld KiB\n",
              bare, six, bare * 3 / 2 + 20 * 1024, six <= bare * 3 / 2 + 20 * 1024 ? "met" : "NOT met", all);
  // Start-up as a process: launch to the first window shown, beside a bare
  // Qt window and a one-label window started the same way, taken in turns.
  QList<qint64> launches, bareLaunches, labelLaunches;
  for (int run = 0; run < 10; ++run)
    for (const auto &[times, what] : {std::pair{&launches, "launch"}, std::pair{&bareLaunches, "launch-bare"},
                                      std::pair{&labelLaunches, "launch-label"}})
      times->append(untilFirstLine(what));
  for (auto *times : {&launches, &bareLaunches, &labelLaunches})
    std::sort(times->begin(), times->end());
  std::printf("start-up as a process to the menu shown (median of 10, 30 years): %lld ms; bare Qt window %lld ms "
              "(%.2fx); a window with one Hebrew label %lld ms\n",
              launches[5], bareLaunches[5], double(launches[5]) / double(bareLaunches[5]), labelLaunches[5]);
  const QList<QByteArray> print = childOutput("print").split(' ');
  if (print.size() == 3)
    std::printf("printing the 30-year payments list: peak %s KiB (target <= %ld), before %s KiB, after %s KiB\n",
                print[0].constData(), bare + 60 * 1024, print[1].constData(), print[2].constData());
  return 0;
}
