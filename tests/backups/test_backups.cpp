// Backups made, rotated and restored; the backup window driven as a user
// would; and the other ways the books are kept from being lost: printouts
// streamed page by page that never replace a file half-written, a file
// replaced behind the program's back, a read failure told instead of an
// empty list, a name the system can't carry.
#include "app/startwindow.h"
#include "app/windows.h"
#include "backups/backups.h"
#include "backups/backupwindow.h"
#include "common/messages.h"
#include "common/printing.h"
#include "common/texts.h"
#include "data/database.h"
#include "data/files.h"
#include "data/listwriter.h"
#include "expenses/expense.h"
#include "payments/incomingwindow.h"
#include "testsupport.h"

#include <QDir>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace domiva;

class BackupsTest : public test::WindowTest {
  Q_OBJECT

  static void spend(const QString &amount) {
    QCOMPARE(expenses::record({"חשמל", QDate(2026, 3, 1), "", "", "", amount}), QString());
  }
  static QList<QVariantList> expensesNow() { return test::rows("SELECT category, amount FROM removals"); }
  static QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

private slots:
  void init() { startTest(QDate(2026, 3, 15)); }
  void cleanup() { endTest(); }

  void aBackupIsRestoredWithEveryRow() {
    spend("100");
    spend("200.5");
    const auto atBackup = expensesNow();
    const QDateTime now(QDate(2026, 3, 15), QTime(9, 30));
    QCOMPARE(backups::daily(database->path(), now), QString());
    QCOMPARE(backups::daily(database->path(), now.addSecs(3600)), QString()); // one a day
    QCOMPARE(backups::list(database->path()).size(), 1);
    const QString backup = backups::list(database->path())[0].path;
    QVERIFY(backup.endsWith("/books/backups/db1-20260315-093000.sqlite"));
    QCOMPARE(QFile::permissions(backup) & (QFile::ReadGroup | QFile::ReadOther), QFileDevice::Permissions());
    QCOMPARE(backups::counts(backup), (std::pair<qint64, qint64>{0, 2}));

    spend("7");
    QCOMPARE(backups::restore(database->path(), backup), QString());
    QCOMPARE(expensesNow(), atBackup);
    QCOMPARE(db::path(), QFileInfo(database->path()).absoluteFilePath());
    // The file replaced was kept as a backup first.
    const auto all = backups::list(database->path());
    QCOMPARE(all.size(), 2);
    QCOMPARE(backups::counts(all[0].path).second, 3);
  }

  void aBackupThatIsNotOursIsRefused_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("not a database") << QByteArray(8192, 'x');
    QTest::newRow("empty") << QByteArray();
  }
  void aBackupThatIsNotOursIsRefused() {
    QFETCH(QByteArray, content);
    spend("100");
    const QString bad = database->folder() + "/bad.sqlite";
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const QString failure = backups::restore(database->path(), bad);
    QVERIFY2(failure.startsWith(texts::restoreRefused.arg(bad, "").section('\n', 0, 0)), qPrintable(failure));
    QCOMPARE(expensesNow(), (QList<QVariantList>{{"חשמל", 10000}}));
    QVERIFY(backups::list(database->path()).isEmpty()); // refused before anything was written
    spend("1"); // still open and writable
  }

  void rotationKeepsTenAndOnePerMonth() {
    const QString folder = backups::folderFor(database->path());
    QDir().mkpath(folder);
    const QDateTime now(QDate(2026, 3, 15), QTime(8, 0));
    // One backup every 5 days for 400 days back.
    for (int days = 0; days <= 400; days += 5)
      QFile(folder + now.addDays(-days).toString("'/db1-'yyyyMMdd-HHmmss'.sqlite'")).open(QIODevice::WriteOnly);
    QFile(folder + "/notes.txt").open(QIODevice::WriteOnly); // not a backup: left alone
    backups::rotate(database->path(), now);
    QStringList kept;
    for (const auto &backup : backups::list(database->path()))
      kept << backup.made.toString("yyyyMMdd");
    QStringList expected;
    for (int days = 0; days < 50; days += 5) // the ten newest
      expected << now.addDays(-days).toString("yyyyMMdd");
    // ... and the first of each month back to April 2025 not among them.
    expected << "20260104" << "20251205" << "20251105" << "20251001" << "20250901" << "20250802"
             << "20250703" << "20250603" << "20250504" << "20250404";
    QCOMPARE(kept, expected);
    QVERIFY(QFile::exists(folder + "/notes.txt"));
  }

  void theWindowListsAndRestores() {
    spend("100");
    QCOMPARE(backups::daily(database->path(), QDateTime(QDate(2026, 3, 14), QTime(20, 0))), QString());
    spend("200");
    StartWindow menu;
    menu.show();
    QTest::mouseClick(menu.findChild<QPushButton *>("Command7"), Qt::LeftButton);
    QVERIFY(!sharedWindow<BackupWindow>().isNull());
    window = sharedWindow<BackupWindow>();
    auto *list = control<QTableWidget>("backupsList");
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->item(0, 0)->text(), QStringLiteral("\u2066" "14/03/2026 20:00" "\u2069"));
    QCOMPARE(list->item(0, 3)->text(), QStringLiteral("1"));

    click("restoreChosen");
    QCOMPARE(messages->last(), texts::chooseBackup);
    auto *payments = openShared<IncomingWindow>(); // closed by the restore
    QPointer<IncomingWindow> watch = payments;
    list->selectRow(0);
    messages->yes = false;
    click("restoreChosen");
    QCOMPARE(expensesNow().size(), 2);
    messages->yes = true;
    click("restoreChosen");
    QCOMPARE(messages->last(), texts::restored);
    QCOMPARE(expensesNow().size(), 1);
    QVERIFY(!watch);
    QVERIFY(menu.isVisible());
    QCOMPARE(list->rowCount(), 2);

    // A backup now, to a file of the user's choice.
    const QString chosen = database->folder() + "/copy.sqlite";
    domiva::messages::setSaveAnswer([&](const QString &suggested) {
      return suggested.endsWith("db1-2026-03-15.sqlite") ? std::optional<QString>(chosen) : std::nullopt;
    });
    click("backupNow");
    domiva::messages::setSaveAnswer({});
    QCOMPARE(messages->last(), texts::backupSaved.arg(chosen));
    QCOMPARE(backups::counts(chosen).second, 1);
  }

  // Rows of the printout test: every third one long enough to wrap.
  static listing::Printout numberedList(int count, int *opened = nullptr) {
    listing::Printout list;
    list.layout.title = QStringLiteral("רשימה");
    list.layout.columns = {{"מספר", 1}, {"פירוט", 3}, {"סכום", 1}};
    list.open = [count, opened] {
      if (opened)
        ++*opened;
      return listing::Rows([count, row = 0](QStringList &cells) mutable {
        if (row == count)
          return false;
        ++row;
        cells = {QString::number(row), row % 3 ? QStringLiteral("שורה") : QStringLiteral("שורה ארוכה ").repeated(12),
                 QString::number(row * 10)};
        return true;
      });
    };
    list.rowCount = count;
    list.failure = [] { return QString(); };
    return list;
  }

  void aLongListPrintsEveryRowOnceWithItsHeaders() {
    const listing::Printout list = numberedList(130);
    listing::PageModel model;
    QPdfWriter writer(database->folder() + "/pages.pdf");
    const listing::Painted painted = listing::paint(writer, list, {}, &model);
    QVERIFY(painted.finished);
    QVERIFY(model.pages.size() >= 3);
    QCOMPARE(painted.pages, model.pages.size());
    QStringList numbers;
    for (const auto &page : model.pages) {
      QCOMPARE(page.first(), (QStringList{"מספר", "פירוט", "סכום"}));
      QVERIFY(page.size() > 1);
      for (const QStringList &row : page.mid(1)) {
        QCOMPARE(row.size(), 3); // whole, on one page
        numbers << row[0];
      }
    }
    QStringList expected;
    for (int row = 1; row <= 130; ++row)
      expected << QString::number(row);
    QCOMPARE(numbers, expected);
  }

  void aStoppedPrintLeavesNoFile() {
    const QString path = database->folder() + "/list.pdf";
    QVERIFY(!printing::writePdf(numberedList(400), path, [](int page, int) { return page < 2; }));
    QVERIFY(!QFile::exists(path));
    QFile older(path);
    QVERIFY(older.open(QIODevice::WriteOnly));
    older.write("the older file");
    older.close();
    QVERIFY(!printing::writePdf(numberedList(400), path, [](int page, int) { return page < 2; }));
    QCOMPARE(contents(path), QByteArray("the older file"));
    QCOMPARE(QDir(database->folder()).entryList(QDir::Files | QDir::Hidden).filter("list.pdf").size(), 1);
    QVERIFY(printing::writePdf(numberedList(3), path)); // a finished one takes its place
    QVERIFY(contents(path).startsWith("%PDF"));
  }

  void withoutAPrinterTheQuestionComesFirstThenTheDocumentsFolder() {
    if (!QPrinterInfo::defaultPrinter().isNull())
      QSKIP("this machine has a printer");
    int opened = 0;
    messages->yes = false;
    printing::print(nullptr, numberedList(10, &opened));
    QCOMPARE(messages->asked, QStringList{texts::noPrinterSavePdf});
    QCOMPARE(opened, 0);

    // Saying yes offers the documents folder, made if missing, and a name
    // from the title and the date; ".pdf" is added, and the place is told.
    const QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", database->folder().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    messages->yes = true;
    QString offered;
    const QString typed = database->folder() + "/דו\"ח";
    domiva::messages::setSaveAnswer([&](const QString &suggested) {
      offered = suggested;
      return std::optional<QString>(typed);
    });
    listing::Printout list = numberedList(3);
    list.layout.title = "דו\"ח שנתי";
    printing::print(nullptr, list);
    domiva::messages::setSaveAnswer({});
    qputenv("HOME", home);
    if (!config.isEmpty())
      qputenv("XDG_CONFIG_HOME", config);
    QCOMPARE(offered, database->folder() + "/Documents/דו\u05F4ח שנתי 2026-03-15.pdf");
    QVERIFY(QFileInfo(database->folder() + "/Documents").isDir());
    QVERIFY(contents(typed + ".pdf").startsWith("%PDF"));
    QCOMPARE(messages->last(), texts::fileSaved.arg(typed + ".pdf"));
  }

  void aReplacedFileIsNeverWrittenInto() {
    spend("100");
    const QString other = database->folder() + "/other.sqlite";
    QVERIFY(QFile::copy(database->path(), other));
    QVERIFY(files::replace(other, database->path()));
    const QString failure = expenses::record({"מים", QDate(2026, 3, 1), "", "", "", "5"});
    QVERIFY2(failure.contains(texts::dbReplaced), qPrintable(failure));
  }

  void aReadFailureIsToldNotShownAsNoData() {
    {
      db::Transaction transaction;
      for (int i = 0; i < 400; ++i)
        db::exec("INSERT INTO incoming (inputdate, apartment, detail, amount, year) VALUES ('2026-01-01', 1, ?, 100, 2026)",
                 {QString(60, 'x')});
      transaction.commit();
    }
    db::exec("PRAGMA wal_checkpoint(TRUNCATE)");
    {
      // Damage the table's first page on disk, then let another program's
      // write make ours read the file afresh.
      QVERIFY(test::overwritePage(database->path(), test::firstPage("incoming")));
      QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
      other.setDatabaseName(database->path());
      QVERIFY(other.open());
      QVERIFY(QSqlQuery(other).exec("INSERT INTO supplyer VALUES ('x')"));
    }
    QSqlDatabase::removeDatabase("other");
    test::Prints prints;
    window = openShared<IncomingWindow>();
    QCOMPARE(messages->shown.size(), 1);
    QVERIFY(messages->shown[0].startsWith(texts::readFailed.arg(texts::paymentsSubject, "").section('\n', 0, 0)));
    QCOMPARE(control<QTableView>("DataGrid1")->model()->columnCount(), 11); // the headers stay
    QCOMPARE(control<QTableView>("DataGrid1")->model()->rowCount(), 0);
    click("Command2");
    QCOMPARE(messages->last(), texts::printRefused);
    QVERIFY(prints.tables.isEmpty());
  }

  void aNameTheSystemCannotCarryIsRefused() {
    QFile::copy(database->path(), database->folder() + "/plain.sqlite");
    QProcess program;
    program.start("sh", {"-c", QString("\"$0\" --check --database \"$1/$(printf 'caf\\351.sqlite')\""),
                         QString::fromUtf8(DOMIVA_BINARY), database->folder()});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), 1);
    QVERIFY(QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError())
                .contains(texts::dbBadName));
    QCOMPARE(QDir(database->folder()).entryList(QDir::Files).size(), 1); // no new file
  }
};

QTEST_MAIN(BackupsTest)
#include "test_backups.moc"
