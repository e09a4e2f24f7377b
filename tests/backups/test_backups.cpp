// Backups made, rotated and restored; the backup window driven as a user
// would; and the other ways the books are kept from being lost: printouts
// streamed page by page that never replace a file half-written, a file
// replaced behind the program's back, a read failure told instead of an
// empty list, a name the system can't carry.
#include "testsupport.h"

class BackupsTest : public test::WindowTest {
  Q_OBJECT

  static void spend(const QString &amount) { test::recordExpense("חשמל", QDate(2026, 3, 1), amount); }
  static QList<QVariantList> expensesNow() { return test::rows("SELECT category, amount FROM removals"); }
  // Enough payments for the table to fill pages of its own, all in the file.
  static void fillIncoming() {
    test::books().exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) INSERT INTO "
                       "incoming (inputdate, apartment, detail, amount, year) SELECT '2026-01-01', 1, ?, 100, 2026 "
                       "FROM n",
                       {QString(60, 'x')});
    test::books().exec("PRAGMA wal_checkpoint(TRUNCATE)");
  }
  // Damages `page` on disk, then lets another program's write make ours
  // read the file afresh.
  void damage(int page) const {
    QVERIFY(test::overwritePage(database->path(), page));
    {
      QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
      other.setDatabaseName(database->path());
      QVERIFY(other.open());
      QVERIFY(QSqlQuery(other).exec("INSERT INTO supplyer VALUES ('x')"));
    }
    QSqlDatabase::removeDatabase("other");
  }

private slots:
  void init() { startTest(QDate(2026, 3, 15)); }
  void cleanup() { endTest(); }

  // Once a day, owner-only, named by its moment, counted; a restore keeps
  // the file it replaces as a backup first, and names never collide: two
  // restores in one moment keep both, and one dated in the future does not
  // count as today's.
  void aBackupIsRestoredWithEveryRow() {
    const QString folder = backups::folderFor(database->path());
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile(folder + "/db1-20300101-000000.sqlite").open(QIODevice::WriteOnly));
    spend("100");
    spend("200.5");
    const auto atBackup = expensesNow();
    const QDateTime now(QDate(2026, 3, 15), QTime(9, 30));
    QCOMPARE(backups::daily(database->path(), now), QString());
    QCOMPARE(backups::daily(database->path(), now.addSecs(3600)), QString()); // one a day
    const QString backup = folder + "/db1-20260315-093000.sqlite";
    QCOMPARE(backups::list(database->path()).size(), 2);
    QCOMPARE(QFile::permissions(backup) & (QFile::ReadGroup | QFile::ReadOther), QFileDevice::Permissions());
    QCOMPARE(backups::counts(backup), (std::pair<qint64, qint64>{0, 2}));
    spend("7");
    QCOMPARE(backups::restore(database->path(), backup), QString());
    QCOMPARE(backups::restore(database->path(), backup), QString());
    QCOMPARE(expensesNow(), atBackup);
    QCOMPARE(db::path(), QFileInfo(database->path()).absoluteFilePath());
    const auto all = backups::list(database->path()); // the future one, both kept before restoring, the day's
    QCOMPARE((QList<qint64>{all.size(), backups::counts(all[1].path).second, backups::counts(all[2].path).second}),
             (QList<qint64>{4, 2, 3}));
    QCOMPARE(all[3].path, backup);
  }

  // A file that is no backup of ours is refused, and so is one that passes
  // its check but then cannot be opened as books (its file put back): the
  // books stay as they were, open and writable.
  void aBadBackupIsRefused_data() { // "broken": a backup whose registery lost its columns
    test::cases({{"not a database", QString(8192, 'x'), texts::dbNotSqlite},
                 {"empty", "", texts::dbNotOurs},
                 {"broken", "broken", texts::dbCannotRead}});
  }
  void aBadBackupIsRefused() {
    QFETCH(QStringList, c);
    const QByteArray content = c[0].toUtf8();
    spend("100");
    const QString bad = database->folder() + "/bad.sqlite";
    if (content == "broken") {
      QCOMPARE(backups::write(bad), QString());
      {
        QSqlDatabase copy = QSqlDatabase::addDatabase("QSQLITE", "broken");
        copy.setDatabaseName(bad);
        QVERIFY(copy.open());
        QVERIFY(QSqlQuery(copy).exec("DROP TABLE registery"));
        QVERIFY(QSqlQuery(copy).exec("CREATE TABLE registery (x)"));
      }
      QSqlDatabase::removeDatabase("broken");
    } else {
      QFile file(bad);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(content);
    }
    QCOMPARE(test::withoutDetails(backups::restore(database->path(), bad)),
             texts::restoreRefused.arg(leftToRight(bad), c[1]));
    QCOMPARE(db::path(), QFileInfo(database->path()).absoluteFilePath());
    QCOMPARE(expensesNow(), (QList<QVariantList>{{"חשמל", 10000}}));
    // Refused before anything was written; the broken one only after the
    // books were kept as a backup.
    QCOMPARE(backups::list(database->path()).size(), content == "broken" ? 1 : 0);
    spend("1"); // still open and writable
  }

  // The first day's work is backed up when the program closes, not only at
  // the next start: once, for the first books with a row in them.
  void theFirstDaysWorkIsBackedUpAtClose() {
    const QDateTime morning(QDate(2026, 3, 15), QTime(8, 0));
    QCOMPARE(backups::daily(database->path(), morning), QString()); // of the empty books, at start
    QCOMPARE(backups::firstWithRows(database->path(), morning.addSecs(60)), QString());
    QCOMPARE(backups::list(database->path()).size(), 1); // nothing to keep yet
    spend("100");
    QCOMPARE(backups::firstWithRows(database->path(), morning.addSecs(3600)), QString());
    spend("200");
    QCOMPARE(backups::firstWithRows(database->path(), morning.addSecs(7200)), QString());
    const auto all = backups::list(database->path());
    QCOMPARE((std::tuple{all.size(), all[0].made, backups::counts(all[0].path).second}),
             (std::tuple{qsizetype(2), morning.addSecs(3600), qint64(1)}));
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
    expected << QStringList{"20260104", "20251205", "20251105", "20251001", "20250901",
                            "20250802", "20250703", "20250603", "20250504", "20250404"};
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
    window = sharedWindow<BackupWindow>();
    auto *list = control<QTableWidget>("backupsList");
    QCOMPARE((QStringList{QString::number(list->rowCount()), list->item(0, 0)->text(), list->item(0, 3)->text()}),
             (QStringList{"1", "\u206614/03/2026 20:00\u2069", "1"}));

    click("restoreChosen");
    QCOMPARE(messages->last(), texts::chooseBackup);
    QPointer<IncomingWindow> payments = openShared<IncomingWindow>(); // closed by the restore
    list->selectRow(0);
    messages->yes = false;
    click("restoreChosen");
    QCOMPARE(expensesNow().size(), 2);
    messages->yes = true;
    click("restoreChosen");
    QCOMPARE(messages->last(), texts::restored);
    QCOMPARE(expensesNow().size() + list->rowCount(), 1 + 2);
    QVERIFY(!payments && menu.isVisible());

    // A backup now, to a file of the user's choice.
    const QString chosen = database->folder() + "/copy.sqlite";
    domiva::messages::setSaveAnswer([&](const QString &suggested) {
      return suggested.endsWith("db1-2026-03-15.sqlite") ? std::optional<QString>(chosen) : std::nullopt;
    });
    click("backupNow");
    domiva::messages::setSaveAnswer({});
    QCOMPARE(messages->last(), texts::backupSaved.arg(chosen));
    QCOMPARE(backups::counts(chosen).second, 1);

    // Restoring from a file chosen anywhere, with the same checks.
    spend("300");
    messages->open = chosen;
    click("restoreFile");
    QCOMPARE(messages->last(), texts::restored);
    QCOMPARE(expensesNow(), (QList<QVariantList>{{"חשמל", 10000}}));
    QCOMPARE(list->rowCount(), 3);
  }

  // Rows of the printout tests: every third one long enough to wrap;
  // `opened` counts the times they are read.
  static listing::Printout numberedList(int count, int *opened = nullptr) {
    QList<QStringList> rows;
    for (int row = 1; row <= count; ++row)
      rows << QStringList{QString::number(row), row % 3 ? "שורה" : QStringLiteral("שורה ארוכה ").repeated(12),
                          QString::number(row * 10)};
    listing::Printout list = listing::fromRows(listing::section("רשימה", {{"מספר", 1}, {"פירוט", 3}, {"סכום", 1}}), rows);
    if (opened)
      list.open = [open = list.open, opened] { return ++*opened, open(); };
    return list;
  }

  void aLongListPrintsEveryRowOnceWithItsHeaders() {
    const listing::Printout list = numberedList(130);
    listing::PageModel model;
    QPdfWriter writer(database->folder() + "/pages.pdf");
    const listing::Painted painted = listing::paint(writer, list, {}, &model);
    QVERIFY(painted.finished && model.pages.size() >= 3 && painted.pages == model.pages.size());
    QStringList numbers, expected;
    for (const auto &page : model.pages) {
      QCOMPARE(page.first(), (QStringList{"מספר", "פירוט", "סכום"}));
      for (const QStringList &row : page.mid(1))
        numbers << row[0] + '/' + QString::number(row.size()); // whole, on one page
    }
    for (int row = 1; row <= 130; ++row)
      expected << QString::number(row) + "/3";
    QCOMPARE(numbers, expected);
  }

  void aStoppedPrintLeavesNoFile() {
    const QString path = database->folder() + "/list.pdf";
    QVERIFY(!printing::writePdf(numberedList(400), path, [](int page, int) { return page < 2; }));
    QVERIFY(!QFile::exists(path));
    QVERIFY(files::writeAtomically(path, [](const QString &temporary) {
      QFile older(temporary);
      return older.open(QIODevice::WriteOnly) && older.write("the older file") == 14;
    }));
    QVERIFY(!printing::writePdf(numberedList(400), path, [](int page, int) { return page < 2; }));
    QCOMPARE(test::bytes(path), QByteArray("the older file"));
    QCOMPARE(QDir(database->folder()).entryList(QDir::Files | QDir::Hidden).filter("list.pdf"),
             QStringList{"list.pdf"});
    QVERIFY(printing::writePdf(numberedList(3), path)); // a finished one takes its place
    QVERIFY(test::bytes(path).startsWith("%PDF"));
  }

  void withoutAPrinterTheQuestionComesFirstThenTheDocumentsFolder() {
    printing::setDefaultPrinter([] { return QPrinterInfo(); }); // none installed
    const auto restore = qScopeGuard([] { printing::setDefaultPrinter({}); });
    int opened = 0;
    messages->yes = false;
    printing::print(nullptr, numberedList(10, &opened));
    QCOMPARE(messages->asked, QStringList{texts::noPrinterSavePdf});
    QCOMPARE(opened, 0);

    // Saying yes offers the documents folder, made if missing (owner-only,
    // whatever the umask), and a name from the title and the date; ".pdf" is
    // added, and the place is told.
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
    const mode_t umaskBefore = umask(0);
    printing::print(nullptr, list);
    umask(umaskBefore);
    domiva::messages::setSaveAnswer({});
    qputenv("HOME", home);
    if (!config.isEmpty())
      qputenv("XDG_CONFIG_HOME", config);
    QCOMPARE(offered, database->folder() + "/Documents/דו\u05F4ח שנתי 2026-03-15.pdf");
    QVERIFY(QFileInfo(database->folder() + "/Documents").isDir());
    QCOMPARE(QFile::permissions(database->folder() + "/Documents") & 0x0077, QFileDevice::Permissions());
    QVERIFY(test::bytes(typed + ".pdf").startsWith("%PDF"));
    QCOMPARE(messages->last(), texts::fileSaved.arg(typed + ".pdf"));
  }

  // Every write of the program, whatever the window, goes through the
  // guarded transaction: into a file renamed over while the program runs,
  // none writes, each says why, and the file now at the path is untouched.
  void everyWriteIsRefusedInAReplacedFile_data() { test::everyWrite(); }
  void everyWriteIsRefusedInAReplacedFile() {
    QFETCH(std::function<QString()>, write);
    test::addResident(1, "כהן");
    test::pay(1, "מרץ", "250", QDate(2026, 3, 1));
    spend("100");
    QCOMPARE(setOpeningDebt(test::books(), "2", "500"), QString()); // a debt to remind of
    const QString other = database->folder() + "/other.sqlite";
    QVERIFY(QFile::copy(database->path(), other));
    QVERIFY(files::replace(other, database->path()));
    const QByteArray swappedIn = test::bytes(database->path());
    QCOMPARE(write(), texts::saveFailed.arg(texts::dbReplaced));
    QCOMPARE(test::bytes(database->path()), swappedIn);
    // Our log, beside the other file now, holds nothing a crash could replay onto it.
    QCOMPARE(QFileInfo(database->path() + "-wal").size(), 0);
  }

  // Damage that comes while the program runs is found before a backup:
  // none is made of the damaged file, and the newest good one is named.
  void noBackupIsMadeOfAFileDamagedWhileOpen() {
    const QDateTime now(QDate(2026, 3, 15), QTime(9, 0));
    fillIncoming();
    QCOMPARE(backups::daily(database->path(), now.addDays(-2)), QString());
    const QString good = backups::list(database->path())[0].path;
    QVERIFY(test::overwritePage(database->path(), test::firstPage("incoming")));
    const auto shown = [this](const char *suffix) { return leftToRight(database->path() + suffix); };
    QCOMPARE(test::withoutDetails(backups::daily(database->path(), now)),
             texts::damagedWhileOpen.arg(shown(""), texts::dbDamaged + '\n' +
                                                        texts::restoreAdvice.arg(leftToRight(good), shown(""),
                                                                                 shown("-wal"), shown("-shm"))));
    QCOMPARE(backups::list(database->path()).size(), 1);
  }

  // A backup holding fewer rows than an older one is kept beside it: the
  // fuller one outlives the rotation that would have taken it.
  void aFullerBackupIsNeverRotatedAwayForASmallerOne() {
    const QDateTime first(QDate(2026, 3, 1), QTime(8, 0));
    spend("1");
    QCOMPARE(backups::daily(database->path(), first), QString()); // first of the month: kept anyway
    spend("2");
    QCOMPARE(backups::daily(database->path(), first.addDays(1)), QString()); // the fullest
    test::books().exec("DELETE FROM removals WHERE amount = 200");
    for (int day = 2; day < 12; ++day)
      QCOMPARE(backups::daily(database->path(), first.addDays(day)), QString());
    QStringList kept;
    for (const auto &backup : backups::list(database->path()))
      kept << backup.made.toString("dd");
    QCOMPARE(kept, (QStringList{"12", "11", "10", "09", "08", "07", "06", "05", "04", "03", "02", "01"}));
  }

  // A damaged file's refusal restores the newest backup in its place; the
  // damaged file and the log a crash left beside it are kept aside
  // together. Then books gone from beside their backups are not made anew
  // unasked: declined ("לא" is the default), the ways to restore are
  // offered and the newest brings them back; said yes, new books are made.
  void theRefusalRestoresTheNewestBackup() {
    spend("100");
    QCOMPARE(backups::daily(database->path(), now().addDays(-1)), QString());
    db::close();
    const QString path = database->path();
    QVERIFY(QFile(path).open(QIODevice::WriteOnly | QIODevice::Truncate)); // emptied, as a full disk may leave it
    for (const char *suffix : {"-wal", "-shm"}) {
      QFile left(path + suffix);
      QVERIFY(left.open(QIODevice::WriteOnly));
      left.write(QByteArray(32768, 'w'));
    }
    messages->choice = texts::restoreNewest;
    QString failure;
    bool damaged = false;
    QVERIFY(!showMenu(path, failure, &damaged));
    QVERIFY(damaged);
    QCOMPARE(offerRestore(path, failure), true);
    QCOMPARE(messages->offered, (QList<QStringList>{{texts::restoreNewest, texts::restoreChoose, texts::restoreFromFile,
                                                     texts::closeProgram}}));
    const QString aside = QFileInfo(path).absolutePath() + "/db1-damaged-20260315-120000.sqlite"; // named by now
    QCOMPARE(messages->last(), texts::restoredAfterDamage.arg(leftToRight(aside)));
    QCOMPARE(test::bytes(aside) + test::bytes(aside + "-wal"), QByteArray(32768, 'w'));
    QVERIFY(!QFile::exists(path + "-wal") && !QFile::exists(path + "-shm"));
    database->reopen();
    QCOMPARE(expensesNow(), (QList<QVariantList>{{"חשמל", 10000}}));

    db::close();
    QVERIFY(QFile::remove(path));
    messages->yes = false;
    messages->choice = texts::restoreNewest;
    QVERIFY(!showMenu(path, failure, &damaged));
    QCOMPARE((QStringList{failure, QString::number(damaged), QString::number(QFile::exists(path))} + messages->asked),
             (QStringList{texts::booksMissing.arg(leftToRight(path)), "1", "0",
                          texts::booksMissingNew.arg(leftToRight(path))}));
    QVERIFY(refuseBooks(path, failure, damaged));
    database->reopen();
    QCOMPARE(expensesNow(), (QList<QVariantList>{{"חשמל", 10000}}));
    db::close();
    QVERIFY(QFile::remove(path));
    messages->yes = true;
    QVERIFY(showMenu(path, failure, &damaged));
    QCOMPARE(expensesNow(), QList<QVariantList>());
  }

  // What an interrupted write leaves is cleared once an hour old; a finished
  // write replaces a link at its name instead of writing through it.
  void writesNeverGoThroughALinkAndLeaveNothingBehind() {
    const QString folder = database->folder();
    const QString victim = folder + "/victim.txt";
    QFile(victim).open(QIODevice::WriteOnly);
    QVERIFY(QFile::link(victim, folder + "/list.csv"));
    QString usedFolder;
    QVERIFY(files::writeAtomically(folder + "/list.csv", [&](const QString &temporary) {
      usedFolder = QFileInfo(temporary).absolutePath();
      QFile file(temporary);
      return file.open(QIODevice::WriteOnly) && file.write("a,b\r\n") == 5;
    }));
    QCOMPARE(test::bytes(victim) + '|' + test::bytes(folder + "/list.csv"), QByteArray("|a,b\r\n"));
    QVERIFY(!QFileInfo(folder + "/list.csv").isSymLink() && usedFolder != folder && !QFileInfo::exists(usedFolder));
    QFileDevice::Permissions temporaryFolder;
    QVERIFY(!files::writeAtomically(folder + "/other.csv", [&](const QString &temporary) {
      temporaryFolder = QFile::permissions(QFileInfo(temporary).absolutePath());
      return false;
    }));
    QVERIFY(!(temporaryFolder & 0x0077) && !QFile::exists(folder + "/other.csv")); // owner-only; nothing left

    QVERIFY(test::leftover(folder, ".domiva-writing-old", true) &&
            test::leftover(folder, ".domiva-writing-new", false));
    files::removeLeftovers(folder);
    QVERIFY(!QFileInfo::exists(folder + "/.domiva-writing-old") &&
            QFileInfo::exists(folder + "/.domiva-writing-new/db1.sqlite"));
  }

  // The write-ahead log does not grow without bound: past a few MB, an
  // idle moment folds it back into the file.
  void theLogIsFoldedBackWhenIdle() {
    test::books().exec("PRAGMA wal_autocheckpoint = 0"); // as a reader that never lets it finish would
    {
      db::Transaction transaction(test::books());
      for (int i = 0; i < 5000; ++i)
        test::books().exec("INSERT INTO removals (category, \"Date\", detail, amount) VALUES ('x', '2026-01-01', ?, 1)",
                           {QString(1000, 'x')});
      transaction.commit();
    }
    QVERIFY(QFileInfo(database->path() + "-wal").size() > 4 * 1024 * 1024);
    QVERIFY(db::tidyLog());
    QCOMPARE(QFileInfo(database->path() + "-wal").size(), 0);
    QVERIFY(!db::tidyLog()); // nothing to fold
    QCOMPARE(test::dump("SELECT count(*) FROM removals"), "5000");
  }

  // Ended by the system (a logout), the program closes as on a clean close:
  // one file again, no log left beside it.
  void aProgramEndedByTheSystemClosesCleanly() {
    const QString path = database->path();
    db::close();
    for (const int signal : {SIGTERM, SIGHUP}) {
      QProcess program;
      program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
      program.start(QString::fromUtf8(DOMIVA_BINARY), {"--database", path});
      QVERIFY(program.waitForStarted());
      QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path + "-wal"), 20000);
      ::kill(pid_t(program.processId()), signal);
      QVERIFY(program.waitForFinished(20000));
      QCOMPARE((std::pair{program.exitStatus(), program.exitCode()}), (std::pair{QProcess::NormalExit, 0}));
      QVERIFY(!QFile::exists(path + "-wal") && !QFile::exists(path + "-shm"));
    }
    database->reopen();
  }

  void anUnwritableBackupsFolderIsNamedWithItsReason() {
    QFile blocker(backups::folderFor(database->path()));
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    QCOMPARE(backups::daily(database->path(), now()),
             texts::backupFailed.arg(leftToRight(backups::folderFor(database->path())), texts::causeNoFolder));
  }

  void aReadFailureIsToldNotShownAsNoData() {
    fillIncoming();
    damage(test::firstPage("incoming"));
    test::Prints prints;
    window = openShared<IncomingWindow>();
    const auto *model = control<QTableView>("DataGrid1")->model();
    QCOMPARE((QList<int>{int(messages->shown.size()), model->columnCount(), model->rowCount()}),
             (QList<int>{1, 13, 0})); // the headers stay
    QCOMPARE(test::withoutDetails(messages->shown[0]),
             texts::readFailed.arg(texts::paymentsSubject, texts::causeDamaged));
    click("Command2");
    QCOMPARE(messages->last(), texts::printRefused);
    QVERIFY(prints.tables.isEmpty());
  }

  // Rows that stop on damage part-way are told, never taken for their end.
  void aReadThatStopsPartWayIsTold() {
    fillIncoming();
    damage(test::rows("SELECT max(pageno) FROM dbstat WHERE name = 'incoming' AND pagetype = 'leaf'")[0][0].toInt());
    int read = 0;
    QVERIFY_THROWS_EXCEPTION(db::Error,
                             test::books().each("SELECT detail FROM incoming", {}, [&](const QSqlQuery &) { ++read; }));
    QVERIFY(read > 0); // the rows before the damaged page were read
    // On paper too, the cause in Hebrew, the engine's words below it.
    const listing::Printout paper =
        listing::fromQuery(test::books(), {}, "SELECT detail FROM incoming", {},
                           [](const QSqlQuery &row) { return QStringList{row.value(0).toString()}; });
    const listing::Rows rows = paper.open();
    for (QStringList cells; rows(cells);)
      ;
    QCOMPARE(test::withoutDetails(paper.incomplete()), texts::causeDamaged);
  }

  // --help speaks Hebrew, headings included; so does a command line not understood.
  void helpSpeaksHebrew() {
    QCOMPARE(test::run({"--bogus"}), (std::pair{1, texts::badCommandLine + "\nUnknown option 'bogus'."}));
    const auto [code, said] = test::run({"--help"});
    QCOMPARE(QString::number(code) + said.section('\n', 0, 4),
             "0שימוש: " + QString::fromUtf8(DOMIVA_BINARY) +
                 " [אפשרויות]\nDomiva: הנהלת החשבונות של ועד הבית\n\nאפשרויות:\n  -h, --help          הצגת העזרה הזו.");
  }

  void aNameTheSystemCannotCarryIsRefused() {
    QFile::copy(database->path(), database->folder() + "/plain.sqlite");
    QProcess program;
    program.start("sh", {"-c", QString("\"$0\" --check --database \"$1/$(printf 'caf\\351.sqlite')\""),
                         QString::fromUtf8(DOMIVA_BINARY), database->folder()});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(QString::number(program.exitCode()) + program.readAllStandardOutput() + program.readAllStandardError(),
             "1" + texts::dbCannotOpen.arg(database->folder() + QStringLiteral("/caf\uFFFD.sqlite"), texts::dbBadName) +
                 "\n");
    QCOMPARE(QDir(database->folder()).entryList(QDir::Files).size(), 1); // no new file
  }
};

QTEST_MAIN(BackupsTest)
#include "test_backups.moc"
