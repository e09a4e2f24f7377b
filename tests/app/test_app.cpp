// The program's shell: start-up, the menu and its windows, what every
// window shares (typed text kept, menus closed with their window, the
// engine's words under a message's details), and the building's details
// with the dues schedule and the opening debts.
#include "testsupport.h"

class AppTest : public test::WindowTest {
  Q_OBJECT

  // Lets closed windows be deleted, as the event loop does between clicks.
  static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  // The windows the tables open, by the names their rows give.
  static QWidget *open(const QString &name) {
    static const QHash<QString, std::function<QWidget *()>> windows{
        {"payments", openShared<IncomingWindow>},     {"expenses", openShared<RemovalWindow>},
        {"residents", openShared<NeighborsWindow>},   {"balance", openShared<BalanceWindow>},
        {"annual report", openShared<AnualReportWindow>}, {"debtors", openShared<DebtorsWindow>},
        {"story", openShared<StoryWindow>},           {"meeting", openShared<MeetingWindow>},
        {"details", openShared<RegisterWindow>},      {"levies", openShared<LeviesWindow>}};
    return windows.value(name)();
  }
  static QStringList visible() {
    QStringList names;
    for (QWidget *top : QApplication::topLevelWidgets())
      if (top->isVisible())
        names << top->objectName();
    return names;
  }

private slots:
  void init() { startTest(QDate(2026, 3, 15)); }
  void cleanup() { endTest(); }

  void startUpNamesThePathWhenItFails() {
    QFile blocker(database->folder() + "/file");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    const QString path = database->folder() + "/file/db1.sqlite";
    QCOMPARE(startUp(path), texts::dbCannotOpen.arg(path, texts::dbCannotCreateFolder));
    database->reopen();
  }

  // The menu shows before the file's check has ended. A resident and a
  // supplier typed meanwhile wait for its verdict: a damaged file takes
  // neither and closes the menu with the refusal, unchanged and without a
  // backup; a whole one takes both, is switched to its log and gets the
  // day's backup.
  void theMenuShowsBeforeTheFileIsChecked_data() { test::cases({{"whole file"}, {"damaged page", "damaged"}}); }
  void theMenuShowsBeforeTheFileIsChecked() {
    QFETCH(QStringList, c);
    const bool damaged = !c.isEmpty();
    const QString path = database->folder() + "/checked.sqlite";
    QCOMPARE(startUp(path), QString());
    test::building("12", "250", "0", QDate(2026, 1, 1), "הרצל 12", "חולון");
    const int page = test::firstPage("incoming");
    db::close();
    if (damaged)
      QVERIFY(test::overwritePage(path, page));
    const QByteArray before = test::bytes(path);
    QString failure;
    auto menu = showMenu(path, failure);
    QVERIFY2(menu && menu->isVisible(), qPrintable(failure));
    window = menu.get();
    QCOMPARE(shows({"buildingLine"}), QStringList{"הרצל 12, חולון"});
    click("Command2"); // a window open on the file while it is checked
    click("Command1");
    window = sharedWindow<NeighborsWindow>();
    click("addnew");
    fill({{"apartment", "4"}, {"family", "כהן"}});
    click("updaterecord");
    window = menu.get();
    click("Command3");
    window = sharedWindow<RemovalWindow>();
    fill({{"supplyer", "גנן"}});
    click("Command4");
    window = nullptr;
    if (damaged) {
      QTRY_COMPARE(messages->shown.size(), 3);
      const QString refused = texts::saveFailed.arg(texts::dbDamaged);
      QCOMPARE(test::withoutDetails(messages->shown.join('\n')),
               refused + '\n' + refused + '\n' +
                   texts::dbCannotOpen.arg(path, texts::dbDamaged + "\n" + texts::noBackup));
      QCOMPARE(messages->offered, (QList<QStringList>{{texts::restoreFromFile, texts::closeProgram}})); // no backup
      QVERIFY(!menu->isVisible());
      menu.reset();
      db::close();
      QCOMPARE(test::bytes(path), before);
      // The refusal ended the program's loop, which a test does not run:
      // run one, so the next loop (a message box's) is not ended at once.
      QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
      QCoreApplication::exec();
    } else {
      QTRY_COMPARE(backups::list(path).size(), 1);
      QCOMPARE(messages->shown, (QStringList{texts::supplierAdded}));
      QCOMPARE(test::dump("SELECT family, (SELECT supplyer FROM supplyer) FROM neighbors") + '|' +
                   test::dump("PRAGMA journal_mode"),
               "כהן|גנן|wal");
      menu.reset();
      db::close();
    }
    QCOMPARE(backups::list(path).size(), damaged ? 0 : 1);
    database->reopen();
  }

  // The engine's own words go under a message box's details, never its
  // text; a question has "לא" chosen, so that a hasty Enter loses nothing.
  void theEnginesWordsGoUnderTheDetails() {
    QStringList shown;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
      for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(top); box && box->isVisible()) {
          shown << box->text() << box->detailedText();
          QTest::keyClick(box, Qt::Key_Return);
        }
    });
    reader.start(10);
    messages.reset(); // the real message box
    messages::show(nullptr, texts::saveFailed.arg(texts::withDetail(texts::causeFull, "database or disk is full")));
    QCOMPARE(messages::ask(nullptr, texts::closeUnrecorded), false);
    QCOMPARE(shown, (QStringList{"השמירה נכשלה ודבר לא נרשם:\nהדיסק מלא.", "database or disk is full",
                                 texts::closeUnrecorded, ""}));
  }

  // New books: the menu says where to start, on that button, until the
  // details are saved. Each button opens its one window, by Enter or a
  // click; Escape closes a window and the next opening loads a new one;
  // closing the menu leaves the windows running, windows of their own.
  void menuButtonsOpenOneWindowEach() {
    auto *menu = new StartWindow;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->show();
    window = menu;
    QVERIFY(QTest::qWaitForWindowActive(menu));
    QCOMPARE(shows({"buildingLine"}) << focused(), (QStringList{texts::firstSteps, "Command5"}));
    test::building("12", "250", "0", QDate(2026, 1, 1), "הרצל 12", "חולון");
    menu->showBuilding();
    QCOMPARE(shows({"buildingLine"}) << menu->toolTip(),
             (QStringList{"הרצל 12, חולון", QDir::toNativeSeparators(database->path())}));
    for (const QString &pair :
         QStringLiteral("Command1 neighbors,Command2 incoming,Command3 removal,Command4 balance,"
                        "Command5 register,Command6 anualreport,debtorsButton debtors,storyButton "
                        "story,meetingButton meeting,leviesButton levies,budgetButton budget,closingButton closing,fundsButton funds,"
                        "statementButton statement,Command7 backups")
             .split(',')) {
      const QByteArray name = pair.section(' ', 0, 0).toLatin1();
      const QString opened = pair.section(' ', 1);
      control<QPushButton>(name)->setFocus();
      QTest::keyClick(control<QPushButton>(name), Qt::Key_Return); // Enter on the focused button opens it...
      const int byEnter = int(visible().count(opened));
      click(name); // ...and a click brings up the same one
      QCOMPARE(byEnter * 10 + visible().count(opened), 11);
    }
    QPointer<NeighborsWindow> first = sharedWindow<NeighborsWindow>();
    first->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(first));
    QTest::keyClick(first->findChild<QWidget *>("addnew"), Qt::Key_Escape);
    QVERIFY(!first->isVisible());
    click("Command1");
    settle();
    QVERIFY(!first && sharedWindow<NeighborsWindow>()->isVisible());
    menu->close();
    settle();
    QPointer<RemovalWindow> expenses = sharedWindow<RemovalWindow>();
    QVERIFY(expenses && expenses->isVisible() && !expenses->parentWidget());
  }

  // A window closed (as the window manager closes it) while its grid's
  // context menu is open takes the menu with it. The menu opens with the
  // mouse and from the keyboard (Shift+F10), with the grid's actions.
  void aWindowClosesUnderItsOpenMenu_data() { // the window, its grid, the menu's actions
    test::cases({{"payments", "DataGrid1", texts::cancelRow, texts::saveCsv},
                 {"expenses", "DataGrid1", texts::cancelRow, texts::saveCsv},
                 {"residents", "neighborslist", texts::saveCsv},
                 {"balance", "DataGrid1", texts::saveCsv},
                 {"annual report", "DataGrid1", texts::saveCsv}});
  }
  void aWindowClosesUnderItsOpenMenu() {
    QFETCH(QStringList, c);
    const QStringList actions = c.mid(1);
    QPointer<QWidget> opened = open(QTest::currentDataTag());
    QVERIFY(QTest::qWaitForWindowActive(opened));
    auto *view = opened->findChild<QTableView *>(c[0]);
    const auto menuText = [view] {
      QStringList texts;
      for (QMenu *menu : view->findChildren<QMenu *>())
        for (const QAction *action : menu->actions())
          texts << action->text();
      return texts;
    };
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(menuText(), actions);
    view->findChild<QMenu *>()->close();
    settle();
    // A right click, as a user opens it; then the window closes under it.
    QContextMenuEvent click(QContextMenuEvent::Mouse, view->viewport()->rect().center(),
                            view->viewport()->mapToGlobal(view->viewport()->rect().center()));
    QApplication::sendEvent(view->viewport(), &click);
    QPointer<QMenu> menu = view->findChild<QMenu *>();
    QVERIFY(menu && menu->isVisible());
    QCOMPARE(menuText(), actions);
    opened->close();
    settle();
    QVERIFY(!opened && !menu);
  }

  // Tabbed into, a whole date typed as keys over the one shown is that date
  // in every date box, however the month shown differs (a day, or a day
  // and month, take the rest from it); one that does not exist is refused
  // when the box is left, kept as typed, and the box keeps its date.
  void aDateTypedWholeIsTheDateTyped_data() {
    QTest::addColumn<QStringList>("c"); // the window, its box; shown before, typed, the date then (none: refused)
    const QString boxes = "payments inputdate,expenses indate,balance DTPicker1,balance DTPicker2,debtors asOf,"
                          "story asOf,meeting fromDate,meeting toDate,details DTPicker1,levies levyDue";
    // The last is 11/2 or 1/12.
    const QString typings =
        "28/02/2025 30/04/2025 30/04/2025,28/02/2025 31/03/2025 31/03/2025,30/04/2025 31/01/2025 "
        "31/01/2025,15/02/2025 29/03/2025 29/03/2025,15/02/2025 29/02/2024 29/02/2024,15/02/2025 "
        "29/02/2025,15/02/2025 31/04/2025,15/03/2026 2142025 21/04/2025,15/03/2026 05012026 "
        "05/01/2026,15/03/2026 7.2.2026 07/02/2026,28/02/2025 15 15/02/2025,28/02/2025 30,28/02/2025 "
        "31/3 31/03/2025,15/03/2026 1122026";
    for (const QString &box : boxes.split(','))
      for (const QString &typing : typings.split(','))
        QTest::addRow("%s, %s", qPrintable(box), qPrintable(typing)) << box.split(' ') + (typing.split(' ') << "");
  }
  void aDateTypedWholeIsTheDateTyped() {
    QFETCH(QStringList, c);
    const QString box = c[1];
    const QStringList typing = c.mid(2, 3);
    window = open(c[0]);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *date = control<DateBox>(qPrintable(box));
    fill({{qPrintable(box), typing[0]}});
    date->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(date, typing[1]);
    QTest::keyClick(date, Qt::Key_Tab);
    const bool refused = typing[2].isEmpty();
    const QStringList expected =
        refused ? QStringList{typing[1], typing[0], texts::badTypedDate.arg(leftToRight(typing[1]))}
                : QStringList{typing[2], typing[2]};
    QCOMPARE((QStringList{date->typed(), date->date().toString("dd/MM/yyyy")} + messages->shown), expected);
    if (refused && box == "inputdate") { // and nothing is recorded on a date not typed
      fill({{"apartment", "1"}, {"forcombo", "אחר"}, {"amount", "100"}});
      click("Command1");
      QCOMPARE(QStringList{messages->last()} << focused(), (QStringList{expected.last(), "inputdate"}));
      QCOMPARE(count("incoming"), 0);
    }
  }

  // A window holding typed, unrecorded text asks before it closes (by its
  // close box, Escape or its exit button alike); declined, it stays with
  // the text.
  void typedTextIsNotDroppedSilently_data() { // the window, the field typed in
    test::cases(R"(
payments | payments | details
expenses | expenses | details
building details | details | Text1
levies | levies | levyName
a date typed | levies | levyDue)");
  }
  void typedTextIsNotDroppedSilently() {
    QFETCH(QStringList, c);
    const QString field = c[1];
    QPointer<QWidget> opened = open(c[0]);
    opened->close(); // nothing typed: no question
    QVERIFY(!opened->isVisible() && messages->asked.isEmpty());
    window = opened = open(c[0]);
    QVERIFY(QTest::qWaitForWindowActive(opened));
    auto *typed = opened->findChild<QWidget *>(field);
    typed->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(typed, "12");
    messages->yes = false;
    QTest::keyClick(typed, Qt::Key_Escape);
    QVERIFY(opened->isVisible());
    QCOMPARE(typed->findChild<QLineEdit *>() ? typed->findChild<QLineEdit *>()->text() : shows({qPrintable(field)})[0],
             QStringLiteral("12"));
    messages->yes = true;
    opened->close();
    QVERIFY(messages->asked == QStringList(2, texts::closeUnrecorded) && !opened->isVisible());
  }

  // The details as saved last; refused, the fields stay and nothing is
  // written; saved, they are the program's at once, and changed dues hold
  // from the month asked for (from an earlier month, replacing a later change).
  void detailsShowWhatWasSavedLast() {
    test::books().exec("UPDATE registery SET apartments = 12, monthly_pay = 25000, openbalance = -25050, "
                       "opendate = '2025-07-01', street = 'הרצל', city = 'חולון'");
    database->reopen();
    messages->reply = "06/2026"; // the month the new dues hold from
    window = openShared<RegisterWindow>();
    QCOMPARE(shows({"Text1", "Text3", "Text4", "DTPicker1"}), (QStringList{"הרצל", "12", "-250.5", "01/07/2025"}));
    fill({{"Text3", "שתים עשרה"}});
    click("Command1");
    QCOMPARE(messages->shown + shows({"Text3"}) << test::dump("SELECT apartments FROM registery"),
             (QStringList{texts::badApartments, "שתים עשרה", "12"}));
    fill({{"Text3", "12"}, {"Text2", ""}, {"Text5", "3000"}, {"DTPicker1", "31/01/2026"}});
    click("Command1");
    QCOMPARE(messages->asked + messages->shown,
             (QStringList{texts::duesFromQuestion, texts::badApartments, texts::detailsSaved}));
    const auto schedule = [] { return test::dump("SELECT year, month, amount, apartment FROM dues ORDER BY year"); };
    QCOMPARE(test::dump("SELECT * FROM registery") + ';' + schedule() + ';' +
                 building(test::books()).monthlyPay.toString(),
             "12|300000|-25050|2026-01-31|הרצל|;2025|7|25000|\n2026|6|300000|;3000");
    window->close();
    settle();
    window = openShared<RegisterWindow>();
    QCOMPARE(shows({"Text5", "DTPicker1"}), (QStringList{"3000", "31/01/2026"}));
    fill({{"Text5", "320"}});
    messages->reply = "04/2026";
    click("Command1");
    QCOMPARE(schedule(), "2025|7|25000|\n2026|4|32000|");
  }

  // The dues schedule and the opening debts, kept in the details window:
  // an apartment's own dues from a month, a row removed only before it
  // starts, refusals that write nothing and keep what was typed.
  void detailsKeepTheScheduleAndOpeningDebts_data() { // apartment, month, amount, the refusal
    test::cases({{"added", "3", "05/2026", "300.50", ""},
                 {"beyond the building", "13", "05/2026", "300", texts::apartmentOutOfRange.arg(13).arg(12)},
                 {"no month", "3", "13/2026", "300", texts::badDuesMonth},
                 {"negative dues", "3", "05/2026", "-1", texts::badMonthlyPay}});
  }
  void detailsKeepTheScheduleAndOpeningDebts() {
    QFETCH(QStringList, c);
    const QString message = c.takeLast();
    test::building("12", "250");
    window = openShared<RegisterWindow>();
    auto *schedule = control<QTableView>("duesList");
    fill({{"duesApartment", c[0]}, {"duesMonth", c[1]}, {"duesAmount", c[2]}});
    click("addDues");
    const auto shown = [this] { return test::text(grid("duesList")); };
    const QString building = "01/2026|כל הדירות|250.00";
    if (!message.isEmpty()) {
      QCOMPARE(messages->shown + shows({"duesAmount"}) << shown(), (QStringList{message, c[2], building}));
      return;
    }
    QCOMPARE(messages->shown + shows({"duesAmount"}) << focused() << shown(),
             (QStringList{"", "duesApartment", building + "\n05/2026|3|300.50"}));
    // A row that has started stays; one that starts after this month goes.
    schedule->setCurrentIndex(schedule->model()->index(0, 1));
    click("removeDues");
    QCOMPARE(messages->last(), texts::duesRowStarted);
    schedule->setCurrentIndex(schedule->model()->index(1, 1));
    click("removeDues");
    QCOMPARE(shown(), building);
    fill({{"openingApartment", "2"}, {"openingAmount", "1,200.50"}});
    click("saveOpening");
    QCOMPARE(test::text(grid("openingList")) + ';' + test::dump("SELECT apartment, amount FROM opening_debts"),
             "2|1,200.50;2|120050");
    // The building's raise to 300 from 09/2026 removed before it starts: the
    // dues are 250 again, and 300 typed again is a change once more.
    QCOMPARE(saveBuilding(test::books(), {"12", "300", "0", QDate(2026, 1, 1), "", "", QDate(2026, 9, 1)}), QString());
    QCOMPARE(removeDues(test::books(), test::rows("SELECT rowid FROM dues WHERE month = 9")[0][0].toLongLong()),
             QString());
    QCOMPARE(domiva::building(test::books()).monthlyPay.toString(), QStringLiteral("250"));
    QVERIFY(changesDues(test::books(), {"12", "300", "0", QDate(2026, 1, 1), "", ""}));
  }

  // A monthly 1,000.01 split from 06/2026 by shares of 60, 90 and 150:
  // 200.002, 300.003 and 500.005, the agora over to 3. Apartment 3's year:
  // five months of 250 and seven of 500.01. Refused while 3 has no share.
  void theDuesAreSplitByShares() {
    test::building("3", "250");
    QCOMPARE(shares::set(test::books(), "1", "60") + shares::set(test::books(), "2", "90"), QString());
    window = openShared<RegisterWindow>();
    for (const char *share : {"", "150"}) {
      if (share[0])
        QCOMPARE(shares::set(test::books(), "3", share), QString());
      fill({{"duesMonth", "06/2026"}, {"duesAmount", "1,000.01"}});
      click("addDuesByShares");
    }
    QCOMPARE(messages->shown, QStringList{texts::sharesMissing.arg("3")});
    QCOMPARE(test::text(grid("duesList")), "01/2026|כל הדירות|250.00\n06/2026|1|200.00\n06/2026|2|300.00\n"
                                           "06/2026|3|500.01");
    QCOMPARE(ledger::Dues::read(test::books()).ofYear(3, 2026).toString(), "4750.07");
  }
};

QTEST_MAIN(AppTest)
#include "test_app.moc"
