// The store and its helpers: the schema a new file gets, the refusals of
// files that are not ours, money, months and the building's details.
#include "testsupport.h"

class StoreTest : public QObject {
  Q_OBJECT

  static QFileDevice::Permissions others() {
    return QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
           QFile::ExeOther;
  }

private slots:
  void init() { setToday(QDate(2026, 3, 15)); }
  void cleanup() {
    db::close(); // a test that failed half-way leaves no file open for the next
    setToday({});
  }

  // An amount typed, its agorot, as shown, and as the residents' papers
  // print it (a negative one isolated left to right), which reads back as the same
  // amount; a text that is no amount; typed, within 9,999,999.99 either way.
  void moneyParsesAndFormats() {
    const QString cases = QStringLiteral(R"(150|15000|150|150.00
150.5|15050|150.5|150.50
-20.25|-2025|-20.25|-20.25
 700 |70000|700|700.00
12.50|1250|12.5|12.50
0.01|1|0.01|0.01
-0|0|0|0.00
1,200|120000|1200|1,200.00
1,200.50|120050|1200.5|1,200.50
-1,234,567|-123456700|-1234567|-1,234,567.00
₪ 300|30000|300|300.00
1,000ש״ח|100000|1000|1,000.00
9,999,999.99|999999999|9999999.99|9,999,999.99
-9999999.99|-999999999|-9999999.99|-9,999,999.99)");
    for (const QString &line : cases.split('\n')) {
      const QStringList c = line.split('|');
      const auto money = Money::parse(c[0]);
      QVERIFY2(money && input::amount(c[0]) == money, qPrintable(c[0]));
      QCOMPARE((QStringList{QString::number(money->agorot()), money->toString(), texts::plain(money->toPaper())}),
               c.mid(1));
      QCOMPARE(Money::parse(texts::plain(money->toPaper())), money);
    }
    QCOMPARE(Money::parse("-1,234,567")->toPaper() + Money::parse("300 ש\"ח")->toPaper(),
             "\u2066-1,234,567.00\u2069300.00");
    for (const char *bad : {"", " ", "abc", "1,5", "1.234", "1.", ".5", "--1", "1e3", "12 3", "99999999999999", "1,20",
                            "12,00,000", "₪", "₪ 1.234"})
      QVERIFY2(!Money::parse(QString::fromUtf8(bad)), bad);
    for (const char *tooLarge : {"10,000,000.00", "-10000000"})
      QCOMPARE(input::amount(tooLarge) ? QString() : input::amountRefusal(tooLarge), texts::amountTooLarge);
  }

  // A receipt's amount in words: shekels counted in the masculine, agorot
  // in the feminine, "and" before the last part. One case a line.
  void amountsAreSaidInWords() {
    const QString cases = QStringLiteral(R"(0|אפס שקלים
0.01|אגורה אחת
0.02|שתי אגורות
0.15|חמש עשרה אגורות
0.21|עשרים ואחת אגורות
1.50|שקל אחד וחמישים אגורות
2|שני שקלים
12|שנים עשר שקלים
21|עשרים ואחד שקלים
105|מאה וחמישה שקלים
120|מאה ועשרים שקלים
250|מאתיים וחמישים שקלים
640.50|שש מאות וארבעים שקלים וחמישים אגורות
1005|אלף וחמישה שקלים
1300|אלף ושלוש מאות שקלים
2000|אלפיים שקלים
3840|שלושת אלפים שמונה מאות וארבעים שקלים
11000|אחד עשר אלף שקלים
123456.78|מאה עשרים ושלושה אלף ארבע מאות חמישים ושישה שקלים ושבעים ושמונה אגורות
1000000|מיליון שקלים
2500000|שני מיליון וחמש מאות אלף שקלים
9999999.99|תשעה מיליון תשע מאות תשעים ותשעה אלף תשע מאות תשעים ותשעה שקלים ותשעים ותשע אגורות
-25.50|מינוס עשרים וחמישה שקלים וחמישים אגורות)");
    for (const QString &line : cases.split('\n')) {
      const QStringList c = line.split('|');
      QCOMPARE(Money::parse(c[0])->inWords(), c[1]);
    }
  }

  // A value is quoted only when it must be, its quotes doubled; the
  // screen's direction marks stay out of the file; formulas are kept text.
  void csvQuotesWhatItMust() {
    // What a spreadsheet would run stays text; negative amounts stay numbers.
    const QList<std::pair<QString, QString>> cases{
        {"ועד הבית", "ועד הבית"}, {"1,200", "\"1,200\""}, {"דו\"ח", "\"דו\"\"ח\""}, {"שורה\nשנייה", "\"שורה\nשנייה\""},
        {"a\rb", "\"a\rb\""}, {"", ""}, {"\u2066-300\u2069", "-300"}, {"=1+2", "'=1+2"},
        {"=SUM(A1,A2)", "\"'=SUM(A1,A2)\""}, {"@SUM(A1)", "'@SUM(A1)"}, {"+972-3-5551234", "'+972-3-5551234"},
        {"-2+3", "'-2+3"}, {"\tx", "'\tx"}, {"\rx", "\"'\rx\""}, {"-25.5", "-25.5"},
        {"\u2066-1,200.50\u2069", "\"-1,200.50\""}};
    QStringList fields, expected; // compared whole: a wrong field is named by its place
    for (const auto &[value, field] : cases)
      fields << csv::field(value), expected << field;
    QCOMPARE(fields, expected);
  }

  // Receipt numbers are never handed out twice, even after the last row
  // goes; a null text is stored as empty text, as the older program stored it.
  void schemaKeepsTheKeys() {
    test::TempDatabase database;
    const QString insert = "INSERT INTO incoming (inputdate, apartment, amount) VALUES ('2026-01-01', 5, 100)";
    for (const QString &sql : {insert, QStringLiteral("DELETE FROM incoming"), insert})
      test::books().exec(sql);
    test::books().exec("INSERT INTO neighbors (apartment, family, phone1) VALUES (?, ?, ?)", {1, QString(), ""});
    QCOMPARE(test::dump("SELECT reciept, family, phone1 FROM incoming, neighbors"), "2||");
  }

  // A store beside the program's reads the same books but never writes
  // them; the program's own transactions do not nest.
  void onlyTheProgramsStoreIsWritten() {
    test::TempDatabase database;
    const auto refusal = [](const std::function<void()> &write) {
      try {
        write();
      } catch (const db::Error &e) {
        return e.text();
      }
      return QString();
    };
    db::readOnly(database.path(), "beside", [&](QSqlDatabase &connection) {
      const db::Store beside(connection.connectionName());
      QCOMPARE(beside.one("SELECT count(*) FROM category").value(0).toInt(), 8);
      QCOMPARE(refusal([&] { beside.exec("INSERT INTO supplyer VALUES ('x')"); }), texts::causeReadOnly);
    });
    db::Transaction outer(test::books());
    QCOMPARE(refusal([] { db::Transaction inner(test::books()); }), texts::nestedTransaction);
  }

  // Each cause of a refused start-up gets its own message, and the file is
  // left as it was, byte for byte (a damaged page: the menu's test, which
  // checks behind the menu).
  void startUpNamesTheCause_data() {
    test::cases({{"newer version", "newer", texts::dbTooNew},
                 {"not a database", "text", texts::dbNotSqlite},
                 {"another program's database", "foreign", texts::dbNotOurs},
                 {"used by another program", "locked", texts::dbLocked},
                 {"empty file", "empty", texts::dbTooShort.arg(0)},
                 {"shorter than a header", "short", texts::dbTooShort.arg(50)}});
  }
  void startUpNamesTheCause() {
    QFETCH(QStringList, c);
    const QString kind = c[0], message = c[1];
    QTemporaryDir dir;
    const QString path = dir.filePath("books.sqlite");
    if (kind == "text" || kind == "empty" || kind == "short") {
      QFile notes(path);
      QVERIFY(notes.open(QIODevice::WriteOnly));
      notes.write(kind == "text"
                      ? QByteArray(4096, 'x')
                      : QByteArray("SQLite format 3\0", 16).leftJustified(kind == "short" ? 50 : 0, 'x', true));
    } else if (kind == "foreign") {
      QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE");
      other.setDatabaseName(path);
      QVERIFY(other.open());
      test::books().exec("CREATE TABLE t (x)");
    } else {
      QVERIFY(db::open(path).failure.isEmpty());
      if (kind == "newer")
        test::books().exec(QStringLiteral("PRAGMA user_version = %1").arg(db::schemaVersion + 1));
    }
    const bool damaged = kind == "empty" || kind == "short";
    db::close();
    QSqlDatabase holder;
    if (kind == "locked") {
      db::setBusyWait(200);
      holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
      holder.setDatabaseName(path);
      QVERIFY(holder.open());
      QVERIFY(QSqlQuery(holder).exec("BEGIN EXCLUSIVE"));
    }
    const QByteArray before = test::bytes(path);
    const QFile::Permissions mode = QFile::permissions(path);
    const db::Opened opened = db::open(path);
    QCOMPARE(test::withoutDetails(opened.failure), message);
    QCOMPARE(opened.damaged, damaged);
    QVERIFY(!QSqlDatabase::database(QSqlDatabase::defaultConnection, false).isOpen());
    if (kind == "locked") {
      QVERIFY(opened.failure != message); // SQLite's words below ours
      QSqlQuery(holder).exec("ROLLBACK");
      holder.close();
      holder = QSqlDatabase();
      QSqlDatabase::removeDatabase("holder");
      db::setBusyWait(5000);
    }
    QCOMPARE(test::bytes(path), before);
    QCOMPARE(QFile::permissions(path), mode); // a file refused is not even made private
  }

  void theStoreKeepsItsFilesPrivate() {
    QTemporaryDir dir;
    const mode_t old = umask(0);
    const QString path = dir.filePath("a/b/db1.sqlite");
    const db::Opened opened = db::open(path);
    umask(old);
    QVERIFY(opened.failure.isEmpty() && opened.notice.isEmpty());
    test::books().exec("INSERT INTO supplyer VALUES ('x')");
    for (const QString &made : {dir.filePath("a"), dir.filePath("a/b"), path, path + "-wal", path + "-shm"})
      QVERIFY2(!(QFile::permissions(made) & others()), qPrintable(made));
    db::close();
    QVERIFY(!QFile::exists(path + "-wal")); // one file again after a clean close

    // A file others can read is tightened, and the user told once.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadGroup | QFile::ReadOther);
    QCOMPARE(db::open(path).notice, texts::permissionsTightened.arg(leftToRight(path)));
    for (const QString &made : {path, path + "-wal", path + "-shm"}) // the log made while it was checked too
      QVERIFY2(!(QFile::permissions(made) & others()), qPrintable(made));
    db::close();
    QVERIFY(db::open(path).notice.isEmpty());
    db::close();
  }

  // A write of ours waits for another program's writer, then says who
  // holds the file, SQLite's words below ours, and writes nothing. (That a
  // reader never blocks a writer is the log's, whose mode the start pins.)
  void aWriteHeldUpByAnotherSaysWho() {
    test::TempDatabase database;
    if (test::onServer())
      QSKIP("a file's writers; a server's are its own");
    db::setBusyWait(300);
    {
      QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
      other.setDatabaseName(database.path());
      QVERIFY(other.open());
      QSqlQuery write(other);
      QVERIFY(write.exec("BEGIN IMMEDIATE"));
      const QString failure = expenses::record(test::books(), {"חשמל", QDate(2026, 1, 1), "", "", "", "10"}).message;
      QCOMPARE(test::withoutDetails(failure), texts::saveFailed.arg(texts::causeBusy));
      QVERIFY(failure != texts::saveFailed.arg(texts::causeBusy));
      QVERIFY(write.exec("ROLLBACK"));
      QCOMPARE(test::dump("SELECT count(*) FROM removals"), "0");
    }
    QSqlDatabase::removeDatabase("other");
    db::setBusyWait(5000);
  }

  // A file of version 1, as the program wrote it before payments had a year
  // and rows could be cancelled: two payments of one apartment (the second
  // replacing January, as then), one expense, and their journal rows.
  static void makeVersion1(const QString &path) {
    // The journal's rows of one day and purpose in another order than their payments'.
    makeFile(path, 1,
             {"UPDATE registery SET monthly_pay = 280, openbalance = 1234, opendate = '2025-01-01'",
              "INSERT INTO neighbors (apartment, family) VALUES (5, 'כהן')",
              "INSERT INTO incoming VALUES ('2025-12-20', 5, 'ועד הבית', '', 'ינואר', 'ינואר', 'מזומן', 25000, NULL), "
              "('2025-12-20', 5, 'ועד הבית', '', 'ינואר', 'פבואר', 'מזומן', 20000, NULL)",
              "INSERT INTO removals VALUES ('חשמל', '2025-12-22', 'שיק', '', '', 81240, NULL)",
              "INSERT INTO trans VALUES ('2025-12-20', 'ועד הבית', 20000, 'הכנסה'), "
              "('2025-12-20', 'ועד הבית', 25000, 'הכנסה'), ('2025-12-22', 'חשמל', 81240, 'הוצאה')",
              "INSERT INTO anual_report (apartment, family, year, jan, feb, total, depth) "
              "VALUES (5, 'כהן', 2025, 100, 100, 200, 2800)"});
  }
  // A file as an older program left it: the schema of `version`, then `sql`.
  static void makeFile(const QString &path, int version, const QStringList &sql) {
    {
      QSqlDatabase file = QSqlDatabase::addDatabase("QSQLITE");
      file.setDatabaseName(path);
      QVERIFY(file.open());
      if (version)
        db::upgrade(test::books(), 0, version);
      for (const QString &statement : sql)
        test::books().exec(statement);
    }
    db::close();
  }

  void aVersion1FileIsMigratedKeepingEveryRow() {
    QTemporaryDir dir;
    const QString path = dir.filePath("old.sqlite");
    makeVersion1(path);
    QVERIFY(db::open(path).failure.isEmpty());
    QCOMPARE(test::rows("PRAGMA user_version")[0][0].toInt(), db::schemaVersion);
    // The file as it was is kept first, as a backup.
    const auto kept = backups::list(path);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(backups::counts(kept[0].path), (std::pair<qint64, qint64>{2, 1}));
    db::readOnly(kept[0].path, "version", [](QSqlDatabase &backup) {
      QSqlQuery version(backup);
      QVERIFY(version.exec("PRAGMA user_version") && version.next());
      QCOMPARE(version.value(0).toInt(), 1);
    });
    QCOMPARE(test::dump("SELECT * FROM incoming") + '\n' + test::dump("SELECT * FROM removals"),
             "2025-12-20|5|ועד הבית||ינואר|ינואר|מזומן|25000|1|2025||||||\n"
             "2025-12-20|5|ועד הבית||ינואר|פבואר|מזומן|20000|2|2025||||||\nחשמל|2025-12-22|שיק|||81240|1|||");
    // Each journal row linked to its payment by date, purpose and amount;
    // amounts in agorot; the dues each year was charged, then today's, make
    // the schedule; the matrix is left as it was (in agorot).
    QCOMPARE(test::dump("SELECT amount, source_table, source_reciept FROM trans ORDER BY rowid") + ';' +
                 test::dump("SELECT monthly_pay, openbalance FROM registery") + ';' +
                 test::dump("SELECT year, month, amount, apartment FROM dues ORDER BY year") + ';' +
                 test::dump("SELECT jan, feb, total, depth FROM anual_report"),
             "20000|incoming|2\n25000|incoming|1\n81240|removals|1;28000|123400;2025|1|25000|\n2026|1|28000|;"
             "10000|10000|20000|280000");
    // The check tells the matrix from its rebuild, shares following the
    // dues and the debt the year's dues.
    const auto findings = consistency::check(test::books());
    QCOMPARE(findings.size(), 1);
    QCOMPARE(findings[0].text,
             texts::checkMatrixRow.arg(5).arg(2025).arg(texts::checkCell.arg("ינואר", "100", "350") + "; " +
                                                        texts::checkCell.arg(texts::checkTotal, "200", "450") + "; " +
                                                        texts::checkCell.arg(texts::checkDepth, "2800", "2550")));
    db::close();
    // --check says so and fails; --repair rebuilds the row; then it passes.
    QString said;
    QTextStream out(&said);
    const QString finding = findings[0].text + '\n' + texts::checkFailed.arg(1) + '\n';
    QList<int> ended;
    for (const bool repair : {false, true, false})
      ended << checkBooks(path, repair, out);
    QCOMPARE(ended, (QList<int>{1, 0, 0}));
    QCOMPARE(said, finding + finding + texts::repairWill.arg(1) + '\n' + texts::repairDone + '\n' + texts::checkPassed +
                       '\n');
  }

  // --check only reads: a file it would have to change is refused as it is.
  void checkingOnlyReads_data() {
    test::cases({{"version 1", "version 1", texts::dbNeedsUpgrade},
                 {"empty file", "empty", texts::dbTooShort.arg(0) + "\n" + texts::noBackup},
                 {"no file", "missing", texts::dbMissing},
                 {"a write cut short", "journal", texts::dbInterrupted}});
  }
  void checkingOnlyReads() {
    QFETCH(QStringList, c);
    const QString kind = c[0], reason = c[1];
    QTemporaryDir dir;
    const QString path = dir.filePath("books.sqlite");
    if (kind == "version 1" || kind == "journal")
      makeVersion1(path);
    else if (kind == "empty")
      QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    QFile journal(path + "-journal"); // what a killed upgrade leaves
    if (kind == "journal")
      QVERIFY(journal.open(QIODevice::WriteOnly) && journal.write(QByteArray(512, 'j')) == 512 && journal.flush());
    const QByteArray before = test::bytes(path);
    QString said;
    QTextStream out(&said);
    QCOMPARE(checkBooks(path, false, out), 1);
    QCOMPARE(said, texts::dbCannotOpen.arg(path, reason) + "\n");
    QCOMPARE(test::bytes(path), before);
    const QStringList left = kind == "missing"   ? QStringList()
                             : kind == "journal" ? QStringList{"books.sqlite", "books.sqlite-journal"}
                                                 : QStringList{"books.sqlite"};
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), left);
  }

  // A file of version 4, books from 09/2025 at 320, where apartment 3's
  // opening debt of 700 was paid the old way, as August 2025, beside
  // September: opened, August leaves the matrix (total 320, debt 1,280 −
  // 320 = 960) and pays the opening debt; the payments stay as typed.
  void anOldPaymentBeforeTheBooksPaysTheOpeningDebt() {
    QTemporaryDir dir;
    const QString path = dir.filePath("old.sqlite");
    makeFile(path, 4,
             {"UPDATE registery SET monthly_pay = 32000, opendate = '2025-09-01', apartments = 4",
              "INSERT INTO dues (year, month, amount) VALUES (2025, 9, 32000)",
              "INSERT INTO opening_debts VALUES (3, 70000)",
              "INSERT INTO incoming (inputdate, apartment, \"for\", from_month, to_month, amount, year) VALUES "
              "('2025-09-05', 3, 'ועד הבית', 'אוגוסט', 'אוגוסט', 70000, 2025), "
              "('2025-09-05', 3, 'ועד הבית', 'ספטמב', 'ספטמב', 32000, 2025)",
              "INSERT INTO trans VALUES ('2025-09-05', 'ועד הבית', 70000, 'הכנסה', 'incoming', 1), "
              "('2025-09-05', 'ועד הבית', 32000, 'הכנסה', 'incoming', 2)",
              "INSERT INTO anual_report (apartment, family, year, aug, sep, total, depth) "
              "VALUES (3, '', 2025, 70000, 32000, 102000, 26000)"});
    QVERIFY(db::open(path).failure.isEmpty());
    QCOMPARE(backups::list(path).size() + consistency::check(test::books()).size(), 1);
    QCOMPARE(test::dump("SELECT aug, sep, total, depth, (SELECT count(*) || ' ' || sum(amount) FROM incoming WHERE "
                        "year = 2025) FROM anual_report"),
             "|32000|32000|96000|2 102000");
    QCOMPARE(test::text(owing::lines(test::books(), 3, QDate(2025, 12, 31))),
             "חוב פתיחה|70000|70000|0\n2025|32000|128000|96000\nסה\"כ חוב|||96000");
    db::close();
  }

  void aFailedMigrationLeavesTheFileAsItWas() {
    QTemporaryDir dir;
    const QString path = dir.filePath("old.sqlite");
    makeVersion1(path);
    // A column the migration adds is there already: its step fails midway.
    makeFile(path, 0, {"ALTER TABLE removals ADD COLUMN cancelled TEXT"});
    const QByteArray before = test::bytes(path);
    QCOMPARE(test::withoutDetails(db::open(path).failure), texts::dbUpgradeFailed);
    QCOMPARE(test::bytes(path), before);
    QVERIFY(!QFile::exists(path + "-journal"));
  }

  // The grid model keeps Qt's rules for a model through loading, sorting
  // and reloading, keyed (read by window) or not; a printout of it taken
  // while its window closes ends instead of reading freed memory.
  void theGridModelKeepsTheModelRules_data() { test::cases({{"read by window", "keyed"}, {"read at once"}}); }
  void theGridModelKeepsTheModelRules() {
    QFETCH(QStringList, c); // keyed, or not
    test::TempDatabase database;
    for (int i = 0; i < 600; ++i)
      test::recordExpense(i % 2 ? "חשמל" : "מים", QDate(2026, 1, 1).addDays(i % 300), QString::number(i + 1));
    auto *model = new GridModel(test::books());
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model->setMoneyColumns({expenses::amountColumn});
    model->setStatusColumn(expenses::statusColumn);
    if (!c.isEmpty())
      model->setKeyColumn(expenses::recieptColumn);
    const auto cell = [model](int row, int column) { return model->index(row, column).data().toString(); };
    QVERIFY(model->load(expenses::listQuery()));
    QStringList seen{QString::number(model->rowCount())};
    model->sort(expenses::amountColumn, Qt::DescendingOrder);
    seen << cell(0, expenses::amountColumn) << cell(599, expenses::amountColumn);
    test::recordExpense("גינון", QDate(2026, 2, 1), "1000");
    QVERIFY(model->reload());
    seen << cell(0, expenses::categoryColumn);
    model->sort(-1);
    QCOMPARE(seen << cell(600, expenses::amountColumn), (QStringList{"600", "600.00", "1.00", "גינון", "1,000.00"}));

    const auto rows = model->printedRows();
    QStringList cells;
    QVERIFY(rows(cells));
    delete model;
    QVERIFY(!rows(cells));
  }

  void buildingReadsDefaultsForMissingValues() {
    test::TempDatabase database;
    test::books().exec("DELETE FROM registery");
    QCOMPARE(readBuilding(test::books()).openDate, QDate(2026, 1, 1));
    QCOMPARE(test::dump("SELECT count(*) FROM registery"), "0"); // reading writes nothing

    test::books().exec("INSERT INTO registery VALUES (0, 0, 0, '', '', '')");
    // An older file may hold an empty text where a number belongs; a server's column can't.
    test::books().exec(QStringLiteral("UPDATE registery SET apartments = NULL, monthly_pay = %1, openbalance = -250, "
                                      "opendate = NULL, street = NULL, city = 'חיפה'")
                           .arg(test::onServer() ? "NULL" : "''"));
    const Building details = readBuilding(test::books());
    QCOMPARE((QVariantList{details.apartments, details.monthlyPay.agorot(), details.openBalance.agorot(),
                           details.openDate, details.street, details.city}),
             (QVariantList{0, 0, -250, QDate(2026, 1, 1), "", "חיפה"}));
  }

  // A save that fails half-way (here the matrix's debts) changes nothing:
  // neither the details in the file nor the program's copy.
  void aFailedSaveOfTheDetailsChangesNothing() {
    test::TempDatabase database;
    QCOMPARE(saveBuilding(test::books(), {"12", "250", "0", QDate(2026, 1, 1), "הרצל 1", "חולון"}), QString());
    test::addResident(1, "כהן");
    test::recordPayment({QDate(2026, 3, 1), "1", "ועד הבית", "", "מרץ", "מרץ", "מזומן", "250", "2026"});
    const QString refused = test::refuseWrites("anual_report", "UPDATE");
    const auto before = test::rows("SELECT * FROM registery") + test::rows("SELECT * FROM anual_report");
    QCOMPARE(saveBuilding(test::books(), {"12", "280", "0", QDate(2026, 1, 1), "הרצל 1", "חולון"}),
             texts::saveFailed.arg(texts::withDetail(texts::causeEngine, refused)));
    QCOMPARE(test::rows("SELECT * FROM registery") + test::rows("SELECT * FROM anual_report"), before);
    QCOMPARE(building(test::books()).monthlyPay, Money::fromShekels(250));
  }

  // `message` empty: the details are written and become the program's.
  // Apartments, opening balance, dues, city, and the refusal.
  void buildingSaveChecksTheNumbers_data() {
    const QString city = texts::badCharacters.arg("עיר");
    test::cases({{"apartments not a number", "abc", "0", "100", "חולון", texts::badApartments},
                 {"apartments negative", "-1", "0", "100", "חולון", texts::badApartments},
                 {"apartments past a thousand", "1001", "0", "100", "חולון", texts::badApartments},
                 {"a direction mark in the city", "12", "0", "100", "חולון\u200F", city},
                 {"balance fraction", "12", "10.555", "100", "חולון", texts::badOpenBalance},
                 {"monthly negative", "12", "0", "-5", "חולון", texts::badMonthlyPay},
                 {"balance past the largest", "12", "-10000000", "100", "חולון", texts::amountTooLarge},
                 {"a line break in the city", "12", "0", "100", "חו\nלון", city},
                 {"a NUL in the city", "12", "0", "100", QString("חו") + QChar(0) + "לון", city},
                 {"saved", " 24", "-250", "3000", "חולון", ""}});
  }
  void buildingSaveChecksTheNumbers() {
    QFETCH(QStringList, c);
    const QString message = c[4];
    test::TempDatabase database;
    QCOMPARE(saveBuilding(test::books(), {c[0], c[2], c[1], QDate(2025, 6, 1), "", c[3]}), message);
    QCOMPARE(test::dump("SELECT * FROM registery") + '|' + building(test::books()).monthlyPay.toString(),
             message.isEmpty() ? "24|300000|-25000|2025-06-01||חולון|3000" : "0|0|0|2026-01-01|||0");
  }
};

QTEST_GUILESS_MAIN(StoreTest)
#include "test_store.moc"
