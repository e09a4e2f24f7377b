// Start-up, the menu's one-window-per-screen rule and the building details window.
#include "testsupport.h"

class AppTest : public QObject {
  Q_OBJECT

  static QPushButton *button(QWidget *window, const char *name) { return window->findChild<QPushButton *>(name); }
  static QLineEdit *field(QWidget *window, const char *name) { return window->findChild<QLineEdit *>(name); }

  // Lets closed windows be deleted, as the event loop does between clicks.
  static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

private slots:
  void init() { setToday(QDate(2026, 3, 15)); }
  void cleanup() {
    for (QWidget *window : QApplication::topLevelWidgets()) {
      typed::recorded(window); // what a test typed goes without a question
      window->close();
    }
    settle();
    setToday({});
  }

  void startUpReadsTheBuildingOnce() {
    test::TempDatabase database;
    test::books().exec("UPDATE registery SET apartments = 24, monthly_pay = 3000, openbalance = -250, "
                       "opendate = '2025-07-01', street = 'הרצל 12', city = 'חולון'");
    database.reopen();
    QCOMPARE(building(test::books()).monthlyPay.agorot(), 3000);
    QCOMPARE(building(test::books()).openBalance.agorot(), -250);
    QCOMPARE(building(test::books()).openDate, QDate(2025, 7, 1));
    QCOMPARE(building(test::books()).street, QStringLiteral("הרצל 12"));
    test::books().exec("UPDATE registery SET monthly_pay = 10");
    QCOMPARE(building(test::books()).monthlyPay.agorot(), 3000); // read once, at start-up
  }

  void startUpNamesThePathWhenItFails() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = dir.filePath("file/db1.sqlite");
    const QString failure = startUp(path);
    QCOMPARE(failure, texts::dbCannotOpen.arg(path, texts::dbCannotCreateFolder));
  }

  // The menu shows before the file's check has ended. A damaged file then
  // closes it with the refusal, unchanged and without a backup; a whole one
  // is switched to its log and gets the day's backup.
  void theMenuShowsBeforeTheFileIsChecked_data() {
    QTest::addColumn<bool>("damaged");
    QTest::newRow("whole file") << false;
    QTest::newRow("damaged page") << true;
  }
  void theMenuShowsBeforeTheFileIsChecked() {
    QFETCH(bool, damaged);
    QTemporaryDir dir;
    const QString path = dir.filePath("db1.sqlite");
    QCOMPARE(startUp(path), QString());
    QCOMPARE(saveBuilding(test::books(), {"12", "250", "0", QDate(2026, 1, 1), "הרצל 12", "חולון"}), QString());
    const int page = test::firstPage("incoming");
    db::close();
    if (damaged)
      QVERIFY(test::overwritePage(path, page));
    const auto contents = [&] {
      QFile file(path);
      return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = contents();
    test::Messages messages;
    QString failure;
    auto menu = showMenu(path, failure);
    QVERIFY2(menu, qPrintable(failure));
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->findChild<QLabel *>("buildingLine")->text(), QStringLiteral("הרצל 12, חולון"));
    button(menu.get(), "Command2")->click(); // a window open on the file while it is checked
    // A resident and a supplier typed while the check runs wait for its
    // verdict: a damaged file takes neither.
    button(menu.get(), "Command1")->click();
    auto *residents = sharedWindow<NeighborsWindow>().data();
    button(residents, "addnew")->click();
    field(residents, "apartment")->setText("4");
    field(residents, "family")->setText("כהן");
    button(residents, "updaterecord")->click();
    button(menu.get(), "Command3")->click();
    auto *expenses = sharedWindow<RemovalWindow>().data();
    expenses->findChild<QComboBox *>("supplyer")->setEditText("גנן");
    button(expenses, "Command4")->click();
    if (damaged) {
      QTRY_COMPARE(messages.shown.size(), 3);
      QCOMPARE(test::withoutDetails(messages.shown[0]), texts::saveFailed.arg(texts::dbDamaged));
      QCOMPARE(messages.shown[1], messages.shown[0]);
      QCOMPARE(messages.offered, (QList<QStringList>{{texts::restoreFromFile, texts::closeProgram}})); // no backup yet
      QCOMPARE(test::withoutDetails(messages.last()),
               texts::dbCannotOpen.arg(path, texts::dbDamaged + "\n" + texts::noBackup));
      QVERIFY(!menu->isVisible());
      menu.reset();
      db::close();
      QCOMPARE(contents(), before);
      // The refusal ended the program's loop, which a test does not run:
      // run one, so the next loop (a message box's) is not ended at once.
      QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
      QCoreApplication::exec();
    } else {
      QTRY_COMPARE(backups::list(path).size(), 1);
      QCOMPARE(messages.shown, (QStringList{texts::supplierAdded}));
      QCOMPARE(test::rows("SELECT family FROM neighbors"), (QList<QVariantList>{{"כהן"}}));
      QCOMPARE(test::rows("PRAGMA journal_mode")[0][0].toString(), QStringLiteral("wal"));
      menu.reset();
      db::close();
    }
    QCOMPARE(backups::list(path).size(), damaged ? 0 : 1);
  }

  // The engine's own words go under a message box's details, never its text.
  void theEnginesWordsGoUnderTheDetails() {
    QString text, details;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
      for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(top); box && box->isVisible()) {
          text = box->text();
          details = box->detailedText();
          box->accept();
        }
    });
    reader.start(10);
    messages::show(nullptr, texts::saveFailed.arg(texts::withDetail(texts::causeFull, "database or disk is full")));
    QCOMPARE(text, QStringLiteral("השמירה נכשלה ודבר לא נרשם:\nהדיסק מלא."));
    QCOMPARE(details, QStringLiteral("database or disk is full"));
  }

  // New books: the menu says where to start, on that button, until the
  // details are saved; then it names the building.
  void newBooksSayWhereToStart() {
    test::TempDatabase database;
    StartWindow menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowActive(&menu));
    QCOMPARE(menu.findChild<QLabel *>("buildingLine")->text(), texts::firstSteps);
    QCOMPARE(QApplication::focusWidget(), button(&menu, "Command5"));
    QCOMPARE(saveBuilding(test::books(), {"12", "250", "0", QDate(2026, 1, 1), "הרצל 12", "חולון"}), QString());
    menu.showBuilding();
    QCOMPARE(menu.findChild<QLabel *>("buildingLine")->text(), QStringLiteral("הרצל 12, חולון"));
  }

  // Each button opens its one window, by Enter or a click; Escape closes
  // a window and the next opening loads a new one; closing the menu leaves
  // the windows running, windows of their own.
  void menuButtonsOpenOneWindowEach() {
    test::TempDatabase database;
    QCOMPARE(saveBuilding(test::books(), {"12", "250", "0", QDate(2026, 1, 1), "הרצל 12", "חולון"}), QString());
    auto *menu = new StartWindow;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->show();
    QCOMPARE(menu->findChild<QLabel *>("buildingLine")->text(), QStringLiteral("הרצל 12, חולון"));
    QCOMPARE(menu->toolTip(), QDir::toNativeSeparators(database.path()));
    const QList<std::pair<const char *, QString>> buttons{
        {"Command1", "neighbors"},    {"Command2", "incoming"}, {"Command3", "removal"},
        {"Command4", "balance"},      {"Command5", "register"}, {"Command6", "anualreport"},
        {"debtorsButton", "debtors"}, {"storyButton", "story"}, {"meetingButton", "meeting"},
        {"leviesButton", "levies"},   {"Command7", "backups"}};
    for (const auto &[name, window] : buttons) {
      const auto shown = [window = window] {
        int count = 0;
        for (QWidget *top : QApplication::topLevelWidgets())
          count += top->isVisible() && top->objectName() == window;
        return count;
      };
      button(menu, name)->setFocus();
      QTest::keyClick(button(menu, name), Qt::Key_Return); // Enter on the focused button opens it...
      QCOMPARE(shown(), 1);
      QTest::mouseClick(button(menu, name), Qt::LeftButton); // ...and a click brings up the same one
      QCOMPARE(shown(), 1);
    }
    QPointer<NeighborsWindow> first = sharedWindow<NeighborsWindow>();
    first->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(first));
    QTest::keyClick(first->findChild<QWidget *>("addnew"), Qt::Key_Escape);
    QVERIFY(!first->isVisible());
    QTest::mouseClick(button(menu, "Command1"), Qt::LeftButton);
    settle();
    QVERIFY(!first);
    QVERIFY(sharedWindow<NeighborsWindow>()->isVisible());
    menu->close();
    settle();
    QPointer<RemovalWindow> expenses = sharedWindow<RemovalWindow>();
    QVERIFY(expenses && expenses->isVisible());
    QVERIFY(!expenses->parentWidget());
  }

  // A window closed (as the window manager closes it) while its grid's
  // context menu is open takes the menu with it. The menu opens with the
  // mouse and from the keyboard (Shift+F10), with the grid's actions.
  void aWindowClosesUnderItsOpenMenu_data() {
    QTest::addColumn<std::function<QWidget *()>>("open");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("actions");
    const QStringList save{texts::saveCsv}, saveOrCancel{texts::cancelRow, texts::saveCsv};
    QTest::newRow("payments") << std::function<QWidget *()>([] { return openShared<IncomingWindow>(); }) << "DataGrid1"
                              << saveOrCancel;
    QTest::newRow("expenses") << std::function<QWidget *()>([] { return openShared<RemovalWindow>(); }) << "DataGrid1"
                              << saveOrCancel;
    QTest::newRow("residents") << std::function<QWidget *()>([] { return openShared<NeighborsWindow>(); })
                               << "neighborslist" << save;
    QTest::newRow("balance") << std::function<QWidget *()>([] { return openShared<BalanceWindow>(); }) << "DataGrid1"
                             << save;
    QTest::newRow("annual report") << std::function<QWidget *()>([] { return openShared<AnualReportWindow>(); })
                                   << "DataGrid1" << save;
  }
  void aWindowClosesUnderItsOpenMenu() {
    QFETCH(std::function<QWidget *()>, open);
    QFETCH(QString, grid);
    QFETCH(QStringList, actions);
    test::TempDatabase database;
    QPointer<QWidget> window = open();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *view = window->findChild<QTableView *>(grid);
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
    window->close();
    settle();
    QVERIFY(!window);
    QVERIFY(!menu);
  }

  // A window holding typed, unrecorded text asks before it closes (by its
  // close box, Escape or its exit button alike); declined, it stays with
  // the text.
  void typedTextIsNotDroppedSilently_data() {
    QTest::addColumn<std::function<QWidget *()>>("open");
    QTest::addColumn<QString>("field");
    QTest::newRow("payments") << std::function<QWidget *()>([] { return openShared<IncomingWindow>(); }) << "details";
    QTest::newRow("expenses") << std::function<QWidget *()>([] { return openShared<RemovalWindow>(); }) << "details";
    QTest::newRow("building details") << std::function<QWidget *()>([] { return openShared<RegisterWindow>(); })
                                      << "Text1";
    QTest::newRow("levies") << std::function<QWidget *()>([] { return openShared<LeviesWindow>(); }) << "levyName";
  }
  void typedTextIsNotDroppedSilently() {
    QFETCH(std::function<QWidget *()>, open);
    QFETCH(QString, field);
    test::TempDatabase database;
    test::Messages messages;
    QPointer<QWidget> window = open();
    window->close(); // nothing typed: no question
    QVERIFY(!window->isVisible());
    window = open();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClicks(window->findChild<QLineEdit *>(field), "abc");
    messages.yes = false;
    QTest::keyClick(window->findChild<QLineEdit *>(field), Qt::Key_Escape);
    QCOMPARE(messages.asked, QStringList{texts::closeUnrecorded});
    QVERIFY(window->isVisible());
    QCOMPARE(window->findChild<QLineEdit *>(field)->text(), QStringLiteral("abc"));
    messages.yes = true;
    window->close();
    QCOMPARE(messages.asked, (QStringList{texts::closeUnrecorded, texts::closeUnrecorded}));
    QVERIFY(!window->isVisible());
  }

  void qtSpeaksHebrew() {
    const QLocale before;
    installHebrew(*QCoreApplication::instance());
    QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&כן"));
    QCOMPARE(QLocale().name(), QStringLiteral("he_IL"));
    QLocale::setDefault(before);
  }

  void detailsShowWhatWasSavedLast() {
    test::TempDatabase database;
    test::books().exec("UPDATE registery SET apartments = 12, monthly_pay = 25000, openbalance = -25050, "
                       "opendate = '2025-07-01', street = 'הרצל', city = 'חולון'");
    database.reopen();
    test::Messages messages;
    messages.reply = "06/2026"; // the month the new dues hold from
    auto *window = openShared<RegisterWindow>();
    QCOMPARE(window->objectName(), QStringLiteral("register"));
    QCOMPARE(field(window, "Text1")->text(), QStringLiteral("הרצל"));
    QCOMPARE(field(window, "Text3")->text(), QStringLiteral("12"));
    QCOMPARE(field(window, "Text4")->text(), QStringLiteral("-250.5"));
    QCOMPARE(window->findChild<QDateEdit *>("DTPicker1")->date(), QDate(2025, 7, 1));

    // Refused, the fields stay for correcting and nothing is written.
    field(window, "Text3")->setText("שתים עשרה");
    QTest::mouseClick(button(window, "Command1"), Qt::LeftButton);
    QCOMPARE(messages.shown, QStringList{texts::badApartments});
    QCOMPARE(field(window, "Text3")->text(), QStringLiteral("שתים עשרה"));
    QCOMPARE(test::rows("SELECT apartments FROM registery")[0][0].toInt(), 12);
    messages.shown.clear();
    field(window, "Text3")->setText("12");
    field(window, "Text2")->setText(QString());
    field(window, "Text5")->setText("3000");
    window->findChild<QDateEdit *>("DTPicker1")->setDate(QDate(2026, 1, 31));
    QTest::mouseClick(button(window, "Command1"), Qt::LeftButton);
    QCOMPARE(messages.asked, QStringList{texts::duesFromQuestion});
    QCOMPARE(messages.shown, QStringList{texts::detailsSaved});
    QCOMPARE(test::rows("SELECT * FROM registery")[0], (QVariantList{12, 300000, -25050, "2026-01-31", "הרצל", ""}));
    QCOMPARE(test::rows("SELECT year, month, amount, apartment FROM dues ORDER BY year, month"),
             (QList<QVariantList>{{2025, 7, 25000, {}}, {2026, 6, 300000, {}}}));
    QCOMPARE(building(test::books()).monthlyPay.agorot(), 300000);
    window->close();
    settle();
    window = openShared<RegisterWindow>();
    QCOMPARE(field(window, "Text5")->text(), QStringLiteral("3000"));
    QCOMPARE(window->findChild<QDateEdit *>("DTPicker1")->date(), QDate(2026, 1, 31));
    // Changed again from an earlier month: from it on, the new dues replace the later change.
    field(window, "Text5")->setText("320");
    messages.reply = "04/2026";
    QTest::mouseClick(button(window, "Command1"), Qt::LeftButton);
    QCOMPARE(test::rows("SELECT year, month, amount, apartment FROM dues ORDER BY year, month"),
             (QList<QVariantList>{{2025, 7, 25000, {}}, {2026, 4, 32000, {}}}));
  }

  // The dues schedule and the opening debts, kept in the details window:
  // an apartment's own dues from a month, a row removed only before it
  // starts, refusals that write nothing and keep what was typed.
  void detailsKeepTheScheduleAndOpeningDebts_data() {
    QTest::addColumn<QStringList>("typed"); // apartment, month, amount
    QTest::addColumn<QString>("message");
    QTest::newRow("added") << QStringList{"3", "05/2026", "300.50"} << QString();
    QTest::newRow("beyond the building") << QStringList{"13", "05/2026", "300"}
                                         << texts::apartmentOutOfRange.arg(13).arg(12);
    QTest::newRow("no month") << QStringList{"3", "13/2026", "300"} << texts::badDuesMonth;
    QTest::newRow("negative dues") << QStringList{"3", "05/2026", "-1"} << texts::badMonthlyPay;
  }
  void detailsKeepTheScheduleAndOpeningDebts() {
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    test::TempDatabase database;
    QCOMPARE(saveBuilding(test::books(), {"12", "250", "0", QDate(2026, 1, 1), "הרצל 12", "חולון"}), QString());
    test::Messages messages;
    auto *window = openShared<RegisterWindow>();
    auto *schedule = window->findChild<QTableView *>("duesList");
    field(window, "duesApartment")->setText(typed[0]);
    field(window, "duesMonth")->setText(typed[1]);
    field(window, "duesAmount")->setText(typed[2]);
    QTest::mouseClick(button(window, "addDues"), Qt::LeftButton);
    QCOMPARE(messages.shown, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(field(window, "duesAmount")->text(), message.isEmpty() ? QString() : typed[2]);
    if (message.isEmpty()) // ready for the next row
      QCOMPARE(window->focusWidget(), field(window, "duesApartment"));
    const QStringList building{"01/2026", "כל הדירות", "250"};
    const auto shown = [&] {
      QList<QStringList> rows;
      for (const QStringList &row : test::gridRows(schedule->model()))
        rows << row.mid(1);
      return rows;
    };
    if (!message.isEmpty()) {
      QCOMPARE(shown(), QList<QStringList>{building});
      return;
    }
    QCOMPARE(shown(), (QList<QStringList>{building, {"05/2026", "3", "300.5"}}));
    // A row that has started stays; one that starts after this month goes.
    schedule->setCurrentIndex(schedule->model()->index(0, 1));
    QTest::mouseClick(button(window, "removeDues"), Qt::LeftButton);
    QCOMPARE(messages.last(), texts::duesRowStarted);
    schedule->setCurrentIndex(schedule->model()->index(1, 1));
    QTest::mouseClick(button(window, "removeDues"), Qt::LeftButton);
    QCOMPARE(shown(), QList<QStringList>{building});

    field(window, "openingApartment")->setText("2");
    field(window, "openingAmount")->setText("1,200.50");
    QTest::mouseClick(button(window, "saveOpening"), Qt::LeftButton);
    QCOMPARE(test::gridRows(window->findChild<QTableView *>("openingList")->model()),
             (QList<QStringList>{{"2", "1200.5"}}));
    QCOMPARE(test::rows("SELECT apartment, amount FROM opening_debts"), (QList<QVariantList>{{2, 120050}}));
  }
};

QTEST_MAIN(AppTest)
#include "test_app.moc"
