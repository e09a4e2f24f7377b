// What only books on a server have: buildings side by side, a role that
// may only read, two bookkeepers writing at once, and moving a building's
// books between a file and a server. Runs with DOMIVA_TEST_SERVER naming
// the throwaway cluster's database.
#include "testsupport.h"
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QString server = qEnvironmentVariable("DOMIVA_TEST_SERVER");

// The same building as `address`, reached as another role.
QString as(const QString &address, const QString &role) {
  QUrl url(address);
  url.setUserName(role);
  return url.toString();
}

const auto program = test::run;

// Every table of the books in the order they were made, its rows in an
// order that does not depend on the engine: its columns in their order,
// not a server's rowid.
QList<QList<QVariantList>> everything() {
  QList<QList<QVariantList>> all;
  for (const auto &row : test::rows(test::onServer()
                                        ? "SELECT relname FROM pg_class WHERE relkind = 'r' AND relname <> 'books_version' "
                                          "AND relnamespace = (SELECT oid FROM pg_namespace WHERE nspname = "
                                          "current_schema()) ORDER BY oid"
                                        : "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                          "'sqlite%' ORDER BY rowid")) {
    const QString table = row[0].toString();
    const QSqlRecord record = test::books().exec(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(table)).record();
    QStringList columns;
    for (int c = 0; c < record.count(); ++c)
      if (record.fieldName(c) != "rowid")
        columns << '"' + record.fieldName(c) + '"';
    all << test::rows(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1").arg(columns.join(','), table));
  }
  return all;
}

// A stand-in for the server's socket, in a thread of its own: passes
// everything through, and can cut the connection at the next COMMIT,
// before the server has it or after the server took it but before its
// answer comes back; and can refuse new connections, as a server gone.
class Proxy : public QThread {
public:
  enum Cut { None, BeforeCommit, AfterCommit };
  std::atomic<int> cut = None;
  std::atomic<bool> refuse = false;
  QTemporaryDir folder;
  QSemaphore listening;
  Proxy() {
    start();
    listening.acquire();
  }
  ~Proxy() override {
    quit();
    wait();
  }
  // `books`, reached through this stand-in.
  QString through(const QString &books) const {
    return QString(books).replace(QRegularExpression("host=[^&]*"), "host=" + folder.path());
  }

protected:
  void run() override {
    QLocalServer local;
    const QString target = QUrlQuery(QUrl(server)).queryItemValue("host") + "/.s.PGSQL.5432";
    local.listen(folder.filePath(".s.PGSQL.5432"));
    connect(&local, &QLocalServer::newConnection, [&] {
      while (QLocalSocket *client = local.nextPendingConnection()) {
        auto *upstream = new QLocalSocket(client);
        upstream->connectToServer(target);
        if (refuse || !upstream->waitForConnected(5000)) {
          client->abort();
          continue;
        }
        const auto answerDropped = std::make_shared<bool>(false);
        connect(client, &QLocalSocket::readyRead, [=, this] {
          const QByteArray sent = client->readAll();
          if (sent.contains("COMMIT") && cut != None) {
            *answerDropped = cut.exchange(None) == AfterCommit;
            if (!*answerDropped) {
              upstream->abort();
              client->abort();
              return;
            }
          }
          upstream->write(sent);
        });
        connect(upstream, &QLocalSocket::readyRead, [=] {
          if (!*answerDropped)
            client->write(upstream->readAll());
          else
            client->abort();
        });
        connect(client, &QLocalSocket::disconnected, upstream, &QLocalSocket::disconnectFromServer);
        connect(upstream, &QLocalSocket::disconnected, client, &QLocalSocket::disconnectFromServer);
      }
    });
    listening.release();
    exec();
  }
};

void someBooks() {
  test::building("10", "250", "0", QDate(2026, 1, 1), "הרצל 12", "חולון");
  test::addResident(1, "כהן");
  test::addResident(2, "לוי");
  test::pay(1, "ינואר-מרץ", "750", QDate(2026, 1, 5));
  const qint64 cancelled = test::pay(2, "פבואר", "250", QDate(2026, 2, 5));
  QCOMPARE(payments::cancel(test::books(), cancelled, "טעות", QDate(2026, 2, 6)), QString());
  test::recordExpense("חשמל", QDate(2026, 1, 20), "812.40");
  QCOMPARE(levies::define(test::books(), {"שיפוץ", "1000", QDate(2026, 3, 1), "2"}), QString());
  QTemporaryFile invoice; // its bytes, a zero among them, go with the books
  QVERIFY(invoice.open() && invoice.write(QByteArray("%PDF-1.4\0\xff", 10)) == 10 && invoice.flush());
  QCOMPARE(documents::attach(test::books(), 1, invoice.fileName()), QString());
}

// A new building's books, filled by `fill` and closed; their address.
QString madeBooks(const std::function<void()> &fill) {
  test::TempDatabase books;
  fill();
  return books.path();
}
} // namespace

class ServerTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() {
    QVERIFY2(!server.isEmpty(), "DOMIVA_TEST_SERVER names no server");
    setToday(QDate(2026, 6, 1));
    // The buildings named here, left by an earlier run on the same server.
    db::readOnly(server, "clean", [](QSqlDatabase &connection) {
      for (const QString &name : {QStringLiteral("הרצל 12"), QString(30, QChar(0x05d0)), QStringLiteral("older"),
                                  QStringLiteral("גני תקווה 3")})
        QSqlQuery(connection).exec(QStringLiteral("DROP SCHEMA IF EXISTS \"%1\" CASCADE").arg(name));
    });
  }

  // "בחר בניין": a building chosen from the list (in name order), or a new
  // one added, whose rows are its own; a server that does not answer is
  // told, not shown as empty.
  void buildingsAreApartAndChosen() {
    const QString first = db::buildingOf(madeBooks(someBooks));
    test::Messages messages;
    {
      BuildingChooser chooser(server);
      auto *list = chooser.findChild<QListWidget *>("buildingList");
      QStringList names;
      for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
      QVERIFY(std::is_sorted(names.begin(), names.end()) && names.count(first) == 1);
      list->setCurrentItem(list->findItems(first, Qt::MatchExactly).first());
      chooser.findChild<QPushButton *>("openBuilding")->click();
      QCOMPARE((std::pair{chooser.result(), chooser.chosen()}),
               (std::pair{int(QDialog::Accepted), db::withBuilding(server, first)}));
    }
    {
      BuildingChooser chooser(server);
      messages.reply = " גני תקווה 3 ";
      chooser.findChild<QPushButton *>("addBuilding")->click();
      QCOMPARE(messages.asked, QStringList{texts::newBuildingName});
      QCOMPARE(chooser.chosen(), db::withBuilding(server, "גני תקווה 3"));
      QCOMPARE(db::open(chooser.chosen()).failure, QString()); // made as any new building is
      // The menu names the building it is open on.
      StartWindow menu;
      menu.showBuilding();
      QCOMPARE(menu.windowTitle(), QStringLiteral("Domiva – גני תקווה 3"));
      db::close();
    }
    QCOMPARE(messages.shown, QStringList());
    BuildingChooser unanswered(QString(server).replace("/books?", "/none?"));
    QCOMPARE(test::withoutDetails(messages.shown.join('\n')), texts::serverUnreachable);
    QCOMPARE(unanswered.findChild<QListWidget *>("buildingList")->count(), 0);
    const auto labels = unanswered.findChildren<QLabel *>();
    QVERIFY(std::none_of(labels.begin(), labels.end(),
                         [](QLabel *l) { return l->text() == texts::noBuildings && !l->isHidden(); }));
  }

  void addingABuilding_data() { // the name, the refusal
    const QString bad = texts::badBuildingName;
    test::cases({{"hebrew, a space", "הרצל 12", ""}, {"taken", "הרצל 12", texts::buildingExists.arg("הרצל 12")},
                 {"blank", "  ", bad}, {"a quote", "a\"b", bad}, {"the server's own", "pg_books", bad},
                 {"31 letters", QString(31, QChar(0x05d0)), bad}, {"past 63 bytes", QString(22, QChar(0x20ac)), bad},
                 {"an override", "abc\u202Edef", bad}, {"an isolate", "abc\u2067def", bad},
                 {"30 letters", QString(30, QChar(0x05d0)), ""}});
  }

  // A new building is made empty, and its books when it is first opened.
  void addingABuilding() {
    QFETCH(QStringList, c);
    const QString name = c[0], refusal = c[1];
    QCOMPARE(db::addBuilding(server, name), refusal);
    if (!refusal.isEmpty())
      return;
    QCOMPARE(db::open(db::withBuilding(server, name)).failure, QString());
    QCOMPARE(test::dump("SELECT version, (SELECT count(*) FROM category) FROM books_version"),
             QString::number(db::schemaVersion) + "|8");
    db::close();
    QString failure;
    QVERIFY(db::buildings(server, failure).contains(name));
  }

  void openingIsRefused_data() {
    const QString building = db::withBuilding(server, "x");
    test::cases({{"no building", db::withBuilding(server, "אין כזה"), texts::noSuchBuilding.arg("אין כזה")},
                 {"no building named", server, texts::nameTheBuilding},
                 {"no database", QString(building).replace("/books?", "/none?"), texts::serverUnreachable},
                 {"no role", as(building, "nobody"), texts::serverUnreachable},
                 {"no address", "postgresql://x@h?building=x", texts::serverBadAddress}});
  }

  // Each with its own message (the server's words on the lines below).
  void openingIsRefused() {
    QFETCH(QStringList, c);
    QCOMPARE(test::withoutDetails(db::open(c[0]).failure), c[1]);
    QCOMPARE(db::program().database().isOpen(), false);
  }

  // Books newer than the program are refused; older ones are brought up
  // to date in one transaction, their schedule written.
  void versionsOnTheServer() {
    const QString address = madeBooks(
        [] { test::books().exec(QStringLiteral("UPDATE books_version SET version = %1").arg(db::schemaVersion + 1)); });
    QCOMPARE(db::open(address).failure, texts::serverTooNew);

    const QString older = db::withBuilding(server, "older");
    QCOMPARE(db::addBuilding(server, "older"), QString());
    db::readOnly(older, "older", [](QSqlDatabase &connection) {
      QVERIFY(connection.isOpen());
      const db::Store made = db::Store::beingMade(connection.connectionName());
      made.exec("BEGIN");
      db::upgrade(made, 0, 2);
      made.exec("UPDATE registery SET monthly_pay = 280, opendate = '2025-01-01'");
      made.exec("INSERT INTO anual_report (apartment, year, jan, total, depth) VALUES (1, 2025, 250, 250, 2750)");
      made.exec("COMMIT");
    });
    // Only a role that may write brings it up to date.
    QCOMPARE(db::open(as(older, "auditor")).failure, texts::serverNeedsUpgrade);
    QCOMPARE(db::open(older, db::Check::Now, db::Access::ReadOnly).failure, texts::serverNeedsUpgrade);
    QCOMPARE(db::open(older).failure, QString());
    QCOMPARE(test::dump("SELECT version FROM books_version"), QString::number(db::schemaVersion));
    // Shekels become agorot; the schedule is what the year's row was made with.
    QCOMPARE(test::dump("SELECT total, depth FROM anual_report") + ';' +
                 test::dump("SELECT year, month, amount FROM dues ORDER BY year"),
             "25000|275000;2025|1|25000\n2026|1|28000");
    db::close();
  }

  // A role that may only read sees every row, and each kind of write is
  // refused in Hebrew with nothing written; reading goes on.
  void aReaderIsRefusedEveryWrite_data() { test::everyWrite(); }
  void aReaderIsRefusedEveryWrite() {
    QFETCH(std::function<QString()>, write);
    QList<QList<QVariantList>> before;
    const QString address = madeBooks([&] {
      someBooks();
      before = everything();
    });
    QCOMPARE(db::open(as(address, "auditor")).failure, QString());
    QCOMPARE(everything(), before);
    QCOMPARE(write(), texts::saveFailed.arg(texts::serverReadOnly));
    QCOMPARE(everything(), before);
    QCOMPARE(owing::accounts(db::program(), QDate(2026, 6, 1)).size(), 10);
    QCOMPARE(statements::ofDebtors(db::program(), QDate(2026, 6, 1)).size(), 10); // statements print
    db::close();
  }

  // Two bookkeepers record 1,000 payments each over the same ten
  // apartments at once: every one is kept, no receipt number repeats, and
  // each matrix row holds all of its apartment's.
  void twoWritersAtOnce() {
    const QString address = madeBooks([] { test::building("10", "250"); });
    // The first bookkeeper's list, open while the others write.
    QCOMPARE(db::open(address).failure, QString());
    GridModel list(db::program());
    QVERIFY(list.load(payments::listQuery()));
    QCOMPARE(list.rowCount(), 0);
    QProcess first, second;
    first.start(QStringLiteral(DOMIVA_WRITER), {address, "1000", "0"});
    second.start(QStringLiteral(DOMIVA_WRITER), {address, "1000", "1000"});
    QVERIFY(first.waitForFinished(100000) && second.waitForFinished(100000));
    QCOMPARE(first.readAllStandardError() + second.readAllStandardError(), QByteArray());
    QCOMPARE((std::pair{first.exitCode(), second.exitCode()}), (std::pair{0, 0}));
    // Their payments are in it when it is read again.
    QVERIFY(list.reload());
    QCOMPARE(list.rowCount(), 2000);
    db::close();

    QCOMPARE(program({"--database", address, "--check"}),
             (std::pair{0, QStringLiteral("הנתונים תקינים: הטבלה השנתית והיומן תואמים את התשלומים וההוצאות.")}));
    QCOMPARE(db::open(address).failure, QString());
    QCOMPARE(test::dump("SELECT count(*), count(DISTINCT reciept), min(reciept), max(reciept) FROM incoming"),
             "2000|2000|1|2000");
    // 200 payments of 1.00 each for every apartment's January.
    QCOMPARE(test::dump("SELECT count(*), min(apartment), max(apartment) FROM anual_report WHERE year = 2026 AND jan = "
                        "20000 AND total = 20000"),
             "10|1|10");
    db::close();
  }

  // Two bookkeepers import one statement at once: one keeps its lines, the
  // other is told they are in; each line is kept once.
  void twoImportOneStatement() {
    const QString address = madeBooks([] {});
    const QString file = QStringLiteral(DOMIVA_TEST_DATA "/bank/leumi.xls");
    QProcess first, second;
    first.start(QStringLiteral(DOMIVA_WRITER), {address, "--import", file});
    second.start(QStringLiteral(DOMIVA_WRITER), {address, "--import", file});
    QVERIFY(first.waitForFinished(60000) && second.waitForFinished(60000));
    QStringList told{QString::fromUtf8(first.readAllStandardOutput()).trimmed(),
                     QString::fromUtf8(second.readAllStandardOutput()).trimmed()};
    told.sort();
    QCOMPARE(told, (QStringList{texts::bankAllIn.arg(5), texts::bankKept.arg(5).arg(0)}));
    QCOMPARE(db::open(address).failure, QString());
    QCOMPARE(test::dump("SELECT count(*), (SELECT count(DISTINCT identity) FROM bank_lines), (SELECT count(*) FROM "
                        "bank_statements) FROM bank_lines"),
             "5|5|1");
    db::close();
  }

  // A write waits for another bookkeeper's (the building's lock); one that
  // waits too long is refused, and nothing of it is kept.
  void aWriterWaitsForTheOther() {
    test::TempDatabase books;
    db::setBusyWait(300);
    db::readOnly(books.path(), "other", [&](QSqlDatabase &other) {
      QSqlQuery hold(other);
      QVERIFY(hold.exec("BEGIN"));
      // Free at once: the writes that made the books let it go when they ended.
      QVERIFY(hold.exec("SELECT pg_try_advisory_xact_lock(1685024105, hashtext(current_schema()))") && hold.next());
      QCOMPARE(hold.value(0).toBool(), true);
      QCOMPARE(test::withoutDetails(residents::add(test::books(), {3, "מזרחי", "שוכר", "", "", ""})),
               texts::saveFailed.arg(texts::causeServerBusy));
      QVERIFY(hold.exec("COMMIT"));
      QCOMPARE(test::rows("SELECT count(*) FROM neighbors")[0][0].toInt(), 0);
      QCOMPARE(residents::add(test::books(), {3, "מזרחי", "שוכר", "", "", ""}), QString());
      QVERIFY(hold.exec("SELECT pg_try_advisory_lock(1685024105, hashtext(current_schema()))") && hold.next());
      QCOMPARE(hold.value(0).toBool(), true); // and so did this one
    });
    db::setBusyWait(5000);
  }

  // A connection cut at a COMMIT: before the server had it, nothing is
  // recorded and the user is told so; after, the payment is recorded and
  // told as recorded, so that it is not typed again; when the server can't
  // be asked again, the user is told that it may have been.
  void aCutCommitIsToldAsItEnded_data() { // where the line is cut, whether the server is gone; told; kept, receipt
    test::cases({{"before the server had it", "before", "", texts::saveFailed.arg(texts::causeServer), "0 0"},
                 {"after the server took it", "after", "", "", "1 1"},
                 {"the server gone", "after", "gone", texts::commitUnknownText, "1 0"}});
  }
  void aCutCommitIsToldAsItEnded() {
    QFETCH(QStringList, c);
    const QString address = madeBooks([] { test::building("10", "250"); });
    Proxy proxy;
    QCOMPARE(db::open(proxy.through(address)).failure, QString());
    proxy.cut = c[0] == "before" ? Proxy::BeforeCommit : Proxy::AfterCommit;
    proxy.refuse = c[1] == "gone";
    const auto outcome =
        payments::record(db::program(), {QDate(2026, 5, 1), "1", "ועד הבית", "", "מאי", "מאי", "מזומן", "250", "2026"});
    QCOMPARE(test::withoutDetails(outcome.message), c[2]);
    db::close();
    QCOMPARE(db::open(address).failure, QString());
    QCOMPARE(test::dump("SELECT count(*) FROM incoming") + ' ' + QString::number(outcome.reciept()), c[3]);
    db::close();
  }

  // A lost connection is told once, however many reads meet it while the
  // server is away, and is made again when the server is back.
  void aLostConnectionIsToldOnceAndMadeAgain() {
    Proxy proxy;
    QCOMPARE(db::open(proxy.through(madeBooks(someBooks))).failure, QString());
    test::Messages messages;
    QPointer<IncomingWindow> window = openShared<IncomingWindow>();
    auto *apartment = window->findChild<QComboBox *>("apartment");
    proxy.refuse = true;
    const QString ours = test::dump("SELECT pg_backend_pid()");
    db::readOnly(server, "end",
                 [&](QSqlDatabase &other) { QSqlQuery(other).exec("SELECT pg_terminate_backend(" + ours + ")"); });
    for (const char *typed : {"1", "12", "2"})
      apartment->setEditText(typed);
    QCOMPARE(test::withoutDetails(messages.shown.join('\n')),
             texts::readFailed.arg(texts::residentsSubject, texts::causeServer));
    proxy.refuse = false;
    apartment->setEditText("1");
    QCOMPARE(window->findChild<QLineEdit *>("family")->text() + QString::number(messages.shown.size()), "כהן1");
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    db::close();
  }

  // Every kind of write whose COMMIT's answer was lost is told as it
  // ended: recorded.
  void everyWriteCutAfterItsCommitIsRecorded_data() { test::everyWrite(); }
  void everyWriteCutAfterItsCommitIsRecorded() {
    QFETCH(std::function<QString()>, write);
    const QString address = madeBooks([&] {
      someBooks();
      test::recordExpense("מים", QDate(2026, 1, 2), "10");
    });
    Proxy proxy;
    QCOMPARE(db::open(proxy.through(address)).failure, QString());
    proxy.cut = Proxy::AfterCommit;
    QCOMPARE(write(), QString());
    QCOMPARE(int(proxy.cut), int(Proxy::None)); // the cut was made
    db::close();
  }

  // --check finds a matrix row changed behind the program and --repair
  // rebuilds it, on a building as on a file; --remember keeps the books
  // named for the starts that name none, never a password.
  void checkingRepairingRemembering() {
    const QString address = madeBooks([&] {
      someBooks();
      test::books().exec("UPDATE anual_report SET jan = 0 WHERE apartment = 1 AND year = 2026");
    });
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QUrl withPassword(address);
    withPassword.setPassword("secret");
    QCOMPARE(program({"--database", withPassword.toString(), "--remember", "--check"}).first, 1);
    QCOMPARE(program({"--repair"}).first, 0);
    QCOMPARE(program({"--check"}), (std::pair{0, texts::checkPassed}));
    const QByteArray saved = test::bytes(home.filePath("domiva/domiva.conf"));
    qunsetenv("XDG_CONFIG_HOME");
    QVERIFY(saved.contains("building=") && !saved.contains("secret"));
    QCOMPARE(db::open(address).failure, QString());
    // 750.00 for January to March at dues of 250.00.
    QCOMPARE(test::dump("SELECT jan, feb, mer, total FROM anual_report WHERE apartment = 1 AND year = 2026"),
             "25000|25000|25000|75000");
    db::close();
  }

  // On a server the backups window says whose the backups are, and its
  // button writes the building's books to a file.
  void theBackupsWindowCopiesTheBuilding() {
    test::TempDatabase books;
    someBooks();
    const auto rows = everything();
    test::Messages messages;
    auto *window = openShared<BackupWindow>();
    QCOMPARE(window->findChild<QLabel *>("backupsFolder")->text(), texts::serverBackups);
    QVERIFY(!window->findChild<QWidget *>("restoreChosen")->isVisible());
    QTemporaryDir dir;
    const QString chosen = dir.filePath("copy.sqlite");
    const QString suggested = db::buildingOf(books.path()) + "-2026-06-01.sqlite";
    messages::setSaveAnswer([&](const QString &offered) {
      return offered.endsWith("/" + suggested) ? std::optional<QString>(chosen) : std::nullopt;
    });
    window->findChild<QPushButton *>("backupNow")->click();
    messages::setSaveAnswer({});
    QCOMPARE(messages.shown, QStringList{texts::backupSaved.arg(chosen)});
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    db::close();
    QCOMPARE(db::open(chosen).failure, QString());
    QCOMPARE(everything(), rows);
  }

  // A building's books go from a file to a server and back whole: every
  // row, the receipt numbers still to come, and a check that passes.
  void movingABuilding() {
    QTemporaryDir dir;
    const QString file = dir.filePath("herzl.sqlite");
    const QString back = dir.filePath("back.sqlite");
    const QString there = db::withBuilding(server, QStringLiteral("moved-%1").arg(QCoreApplication::applicationPid()));
    QCOMPARE(db::open(file).failure, QString());
    someBooks();
    // The last receipt's row is gone: its number is still never given again.
    test::pay(1, "", "500", QDate(2026, 3, 5), 0, "שיפוץ");
    test::books().exec("DELETE FROM incoming WHERE reciept = 3");
    test::books().exec("DELETE FROM trans WHERE source_table = 'incoming' AND source_reciept = 3");
    // A bank line recorded as a payment: a row in each of the bank's tables.
    bank::keep(test::books(),
               {"לאומי", "1", {{2, QDate(2026, 3, 1), {}, "מאת לוי רות", "", "", "", Money::fromShekels(250), {}}}, {}},
               "x.csv");
    QCOMPARE(payments::record(test::books(), {QDate(2026, 3, 1), "2", "ועד הבית", "", "מרץ", "מרץ", "העברה בנקאית",
                                              "250", "2026", "", 1})
                 .reciept(),
             4);
    // January closed: a copy writes the closing after the rows it guards.
    QCOMPARE(closing::close(test::books(), QDate(2026, 1, 31), QDate(2026, 2, 10)), QString());
    const auto rows = everything();
    db::close();

    const QString passed = texts::checkPassed;
    QCOMPARE(program({"--database", file, "--copy-to", there}),
             (std::pair{0, texts::copied.arg(db::shownAddress(there)) + "\n" + passed}));
    QCOMPARE(program({"--database", file, "--copy-to", there}).second,
             texts::copyFailed.arg(texts::copyTargetNotEmpty));
    QVERIFY(test::leftover(dir.path(), ".domiva-writing-cut", true)); // a copy cut short before
    QCOMPARE(program({"--database", there, "--copy-to", back}),
             (std::pair{0, texts::copied.arg(back) + "\n" + passed}));
    QVERIFY(!QFileInfo::exists(dir.filePath(".domiva-writing-cut")));
    // A role that may only read takes a copy too, the numbers to come with it.
    const QString readers = dir.filePath("readers.sqlite");
    QCOMPARE(program({"--database", as(there, "auditor"), "--copy-to", readers}),
             (std::pair{0, texts::copied.arg(readers) + "\n" + passed}));
    // --backup of a building writes the same copy.
    const QString backup = dir.filePath("backup.sqlite");
    QCOMPARE(program({"--database", there, "--backup", backup}), (std::pair{0, texts::backupSaved.arg(backup)}));
    QCOMPARE(program({"--backup", "--database", there}), (std::pair{1, texts::backupTargetIsOption.arg("--database")}));
    for (const QString &books : {there, back, backup, readers}) {
      QCOMPARE(db::open(books).failure, QString());
      QCOMPARE(everything(), rows);
      QCOMPARE(test::pay(2, "מרץ", "250", QDate(2026, 3, 6)), 5);
      db::close();
    }
  }
};

QTEST_MAIN(ServerTest)
#include "test_server.moc"
