// The annual balance window and its printed report.
#include "testsupport.h"

class ReportsTest : public test::WindowTest {
  Q_OBJECT

  QDateEdit *picker(const char *name) const { return control<QDateEdit>(name); }

  static void pay(const QDate &date, const QString &forText, const QString &amount) {
    test::recordPayment({date, "1", forText, "", "ינואר", "ינואר", "", amount, QString::number(date.year())});
  }
  static void spend(const QDate &date, const QString &category, const QString &amount) {
    test::recordExpense(category, date, amount);
  }

private slots:
  void init() {
    startTest(QDate(2026, 6, 10));
    test::books().exec("UPDATE registery SET openbalance = 80000, opendate = '2027-02-01'");
    database->reopen();
    test::addResident(1, "כהן");
  }
  void cleanup() { endTest(); }

  void opensOnTheCurrentYear() {
    pay(QDate(2026, 1, 1), "ועד הבית", "300");
    pay(QDate(2026, 12, 31), "ועד הבית", "400"); // the last day counts
    pay(QDate(2026, 5, 5), "אחר", "0.10");
    pay(QDate(2025, 12, 31), "ועד הבית", "1000");
    pay(QDate(2027, 1, 1), "ועד הבית", "1000");
    spend(QDate(2026, 3, 3), "חשמל", "0.20");
    spend(QDate(2026, 4, 4), "מעלית", "700.5");
    pay(QDate(2026, 5, 5), "חניה", "500"); // cancelled rows count nowhere
    spend(QDate(2026, 5, 5), "מעלית", "9");
    QCOMPARE(payments::cancel(test::books(), 6, "טעות", QDate(2026, 6, 1)), QString());
    QCOMPARE(expenses::cancel(test::books(), 3, "טעות", QDate(2026, 6, 1)), QString());
    window = openShared<BalanceWindow>();
    QCOMPARE(test::text(grid("DataGrid2") + grid("DataGrid1")), "אחר|0.10\nועד הבית|700.00\nחשמל|0.20\nמעלית|700.50");
    // The opening date shown although it lies after the period.
    QCOMPARE(shows({"label1", "DTPicker1", "DTPicker2", "Label11", "Label12", "Label6", "Label8", "bal"}),
             (QStringList{"2026 מאזן שנתי ", "01/01/2026", "31/12/2026", "סה'כ הכנסות(ש'ח):700.1",
                          "סה'כ הוצאות(ש'ח):700.7", "01/02/2027", "800ש'ח ", "799.4"}));
  }

  // The meeting's paper lists the payments by apartment; the residents'
  // names only when the treasurer ticks them in.
  void theMeetingSeesNamesOnlyWhenAsked() {
    window = openShared<MeetingWindow>();
    QStringList firstRows;
    for (const bool names : {false, true}) {
      control<QCheckBox>("withNames")->setChecked(names);
      click("showButton");
      const auto table = test::table(printing::previewPrintout("meeting")->sections.back());
      firstRows << table[0][1] + ' ' + table[1][1];
    }
    QCOMPARE(firstRows, (QStringList{"01/2026 ", "שם ומשפחה כהן"}));
  }

  // An empty period shows the opening balance and has nothing to print;
  // new dates, rows and saved details count once "הצג" is pressed.
  void onlyShowRecomputes() {
    window = openShared<BalanceWindow>();
    QVERIFY(grid("DataGrid1").isEmpty() && grid("DataGrid2").isEmpty());
    QCOMPARE(shows({"Label11", "Label12", "bal"}), (QStringList{"סה'כ הכנסות(ש'ח):0", "סה'כ הוצאות(ש'ח):0", "800"}));
    click("print");
    QVERIFY(!printing::preview("DataReport2"));

    pay(QDate(2025, 7, 1), "ועד הבית", "250");
    picker("DTPicker1")->setDate(QDate(2025, 1, 1));
    QCOMPARE(shows({"Label11"}), QStringList{"סה'כ הכנסות(ש'ח):0"});
    click("Command1");
    QCOMPARE(grid("DataGrid2"), (QList<QStringList>{{"ועד הבית", "250.00"}}));
    QCOMPARE(shows({"Label11", "bal"}), (QStringList{"סה'כ הכנסות(ש'ח):250", "1050"}));

    QCOMPARE(saveBuilding(test::books(), {"1", "100", "-5000", QDate(2020, 1, 1), "", ""}), QString());
    click("Command1");
    // A negative amount is isolated left to right: its minus stays before
    // the digits; the balance as it stood when the period began.
    QCOMPARE(shows({"Label8", "Label6"}), (QStringList{"\u2066-5000\u2069ש'ח ", "01/01/2025"}));
  }

  // A preview saves its PDF as a direct printout does: in the documents
  // folder under the report's title and the day; the progress box is gone
  // before the message that tells where, so it never covers it.
  void aPreviewSavesItsPdf() {
    pay(QDate(2026, 2, 1), "ועד הבית", "300");
    window = openShared<BalanceWindow>();
    click("print");
    QPrintPreviewDialog *preview = printing::preview("DataReport2");
    QVERIFY(preview);
    const QString path = database->folder() + "/balance.pdf";
    QString suggested;
    messages::setSaveAnswer([&](const QString &offered) { return suggested = offered, std::optional<QString>(path); });
    QStringList told;
    int progressBoxes = 0;
    messages::setSink([&](const QString &text) {
      told << text;
      for (QWidget *widget : QApplication::allWidgets())
        progressBoxes += qobject_cast<QProgressDialog *>(widget) != nullptr;
    });
    preview->findChild<QAction *>("savePdf")->trigger();
    messages::setSaveAnswer({});
    messages = std::make_unique<test::Messages>(); // its sink again
    QCOMPARE(told << QFileInfo(suggested).fileName() << QString::number(progressBoxes),
             (QStringList{texts::fileSaved.arg(QDir::toNativeSeparators(path)), "מאזן שנתי 2026 2026-06-10.pdf", "0"}));
    QVERIFY(test::bytes(path).startsWith("%PDF"));
  }

  void printGroupsByPurposeAndType() {
    QCOMPARE(saveBuilding(test::books(), {"1", "100", "1000", QDate(2026, 1, 1), "", ""}), QString());
    pay(QDate(2026, 2, 1), "ועד הבית", "300");
    pay(QDate(2026, 3, 1), "ועד הבית", "200");
    pay(QDate(2026, 3, 1), "אחר", "50");
    spend(QDate(2026, 3, 2), "אחר", "20"); // the same word as a payment purpose
    spend(QDate(2026, 3, 2), "מים", "530");
    // Cancelled rows leave no line and no amount behind.
    pay(QDate(2026, 3, 1), "חניה", "75");
    spend(QDate(2026, 3, 2), "מים", "99");
    spend(QDate(2026, 3, 2), "גינון", "40"); // its category's only expense
    QCOMPARE(payments::cancel(test::books(), 4, "טעות", QDate(2026, 6, 1)) +
                 expenses::cancel(test::books(), 3, "טעות", QDate(2026, 6, 1)) +
                 expenses::cancel(test::books(), 4, "טעות", QDate(2026, 6, 1)),
             QString());
    // A journal row of no payment (as an old file may hold) is no money of the period's.
    test::books().exec(
        "INSERT INTO trans (inputdate, \"for\", amount, \"Type\") VALUES ('2026-03-01', 'יתום', 999, 'הכנסה')");
    window = openShared<BalanceWindow>();
    click("print");
    QPrintPreviewDialog *preview = printing::preview("DataReport2");
    QVERIFY(preview);
    const listing::Printout *printout = printing::previewPrintout("DataReport2");
    QCOMPARE(QStringList(printout->layout.intro) << printout->layout.footer.first(),
             (QStringList{"בין התאריכים 01/01/2026 עד 31/12/2026", "הכנסות פחות הוצאות: 0.00"}));
    // Income, then expenses, each with its subtotal.
    QCOMPARE(test::text(test::table(*printout)),
             "הכנסות/הוצאות\nתיאור|סכום|סוג\nאחר|50.00|הכנסה\nועד הבית|500.00|הכנסה\n" + texts::incomeSubtotal +
                 "|550.00|\nאחר|20.00|הוצאה\nמים|530.00|הוצאה\n" + texts::expenseSubtotal + "|550.00|");

    // A second print shows its own period and figure; the preview outlives the window.
    picker("DTPicker1")->setDate(QDate(2026, 3, 1));
    click("Command1");
    picker("DTPicker2")->setDate(QDate(2026, 3, 1));
    click("print");
    QCOMPARE(printing::preview("DataReport2"), preview);
    printout = printing::previewPrintout("DataReport2");
    QCOMPARE(printout->layout.intro, QStringList{"בין התאריכים 01/03/2026 עד 01/03/2026"});
    // The lines follow the pickers; the footer the figures shown: 250 - 550.
    // Below it the opening balance carried to 01/03 (1000 + 300 of February)
    // and the end balance, as the window shows them.
    QCOMPARE((QStringList{printout->layout.title, preview->windowTitle()}), QStringList(2, "מאזן שנתי 2026"));
    QCOMPARE(printout->layout.footer + shows({"bal"}),
             (QStringList{"הכנסות פחות הוצאות: \u2066-300.00\u2069", "יתרת פתיחה: 1,300.00",
                          "יתרה לסוף התקופה: 1,000.00", "1000"}));
    QCOMPARE(test::text(test::table(*printout).mid(2)),
             "אחר|50.00|הכנסה\nועד הבית|200.00|הכנסה\n" + texts::incomeSubtotal + "|250.00|");
    window->close();
    QVERIFY(preview->isVisible());
  }
  // The year's budget typed item by item, against what was done by the
  // day: an expense outside the budget shows with none; the dues that
  // cover 6,000.50 + 24,000 less 1,200 of other income over 10 apartments
  // are 28,800.50 / 120 = 240.004, so 241 from the next month (July): 6 ×
  // 250 + 6 × 241 = 2,946 for the year. Refusals write nothing.
  void aBudgetIsSetAgainstWhatWasDone() {
    test::building("10", "250");
    pay(QDate(2026, 1, 5), "ועד הבית", "250");
    pay(QDate(2026, 2, 5), "אחר", "100");
    spend(QDate(2026, 2, 1), "חשמל", "450.75");
    spend(QDate(2026, 3, 1), "גינון", "300");
    window = openShared<BudgetWindow>();
    for (const char *typed : {"הוצאה|חשמל|6,000.50", "הוצאה|ניקיון|24000", "הכנסה|אחר|1200",
                                 "הכנסה|ועד הבית|30000", "הוצאה||5", "הוצאה|חשמל|-5", "הכנסה|אחר|הרבה"}) {
      const QStringList c = QString(typed).split('|');
      control<QComboBox>("kind")->setCurrentText(c[0]);
      fill({{"item", c[1]}, {"amount", c[2]}});
      click("saveItem");
    }
    QCOMPARE(messages->shown, (QStringList{texts::budgetNameRequired, texts::negativeBudget, texts::badAmount}));
    // The isolates that keep a minus before its digits are the papers' own matter.
    const auto plain = [](QString text) { return text.remove(QChar(0x2066)).remove(QChar(0x2069)); };
    const QString table = "הוצאה|גינון|0.00|300.00|300.00\nהוצאה|חשמל|6,000.50|450.75|-5,549.75\n"
                          "הוצאה|ניקיון|24,000.00|0.00|-24,000.00\nהכנסה|אחר|1,200.00|100.00|-1,100.00\n"
                          "הכנסה|ועד הבית|30,000.00|250.00|-29,750.00";
    QCOMPARE(plain(test::text(grid("budgetList"))) + '\n' + shows({"coveringDues"})[0],
             table + "\nדמי ועד שיכסו את התקציב: 241.00 ש\"ח לדירה לחודש");
    test::Prints prints;
    click("printButton");
    const QString sums = "סה\"כ הוצאות||30,000.50|750.75|-29,249.75\nסה\"כ הכנסות||31,200.00|350.00|-30,850.00\n"
                         "הכנסות פחות הוצאות||1,199.50|-400.75|-1,600.25";
    QCOMPARE(plain(test::text(prints.tables.value(0))), "סוג|סעיף|תקציב|ביצוע|הפרש\n" + table + '\n' + sums);
    const listing::Printout meeting = meeting::printout(test::books(), QDate(2026, 1, 1), QDate(2026, 6, 10), false);
    QCOMPARE(meeting.sections.back().layout.title + '\n' + plain(test::text(test::table(meeting.sections.back()).mid(6))),
             "תקציב מול ביצוע 2026\n" + sums);
    click("offerDues");
    QCOMPARE(messages->asked, QStringList{texts::offerDuesQuestion.arg("241.00", "07/2026")});
    QCOMPARE(ledger::Dues::read(test::books()).ofYear(1, 2026).toString(), "2946");
  }

  // Closed through 05/03/2026: each write into the period, its last day
  // included, is refused by the books themselves, on either engine, with
  // nothing written; the others go through. Payment 1 and expense 1 are of
  // 01/03/2026.
  void aClosedPeriodRefusesEveryWriteIntoIt_data() { test::everyWrite(); }
  void aClosedPeriodRefusesEveryWriteIntoIt() {
    QFETCH(std::function<QString()>, write);
    test::building("12", "250");
    test::pay(1, "מרץ", "250", QDate(2026, 3, 1));
    spend(QDate(2026, 3, 1), "חשמל", "100");
    QCOMPARE(setOpeningDebt(test::books(), "2", "500"), QString());
    QCOMPARE(closing::close(test::books(), QDate(2026, 3, 5), QDate(2026, 4, 20)), QString()); // the writes' day
    const QString tag = QTest::currentDataTag();
    const bool intoIt = QStringList{"record an expense", "cancel an expense", "record a payment", "cancel a payment",
                                    "opening debt", "a payment of two parts"}
                            .contains(tag);
    const auto closed = [] {
      QStringList rows;
      for (const char *table : {"incoming", "removals", "trans", "dues", "opening_debts", "levies", "registery"})
        rows << test::dump(QStringLiteral("SELECT * FROM %1").arg(table));
      return rows;
    };
    const QStringList before = closed();
    const QString again = tag == "close a period" ? texts::alreadyClosed.arg("05/03/2026") : QString();
    QCOMPARE(write(), intoIt ? texts::saveFailed.arg(texts::causeClosed) : again);
    if (intoIt)
      QCOMPARE(closed(), before);
  }

  // The window closes the books through a day the meeting approved, refuses
  // what cannot be closed, and reopens the last for a reason. Each paper of
  // the closed quarter prints the same after a correction dated after it.
  void aPeriodIsClosedAndReopened() {
    test::building("12", "250");
    test::addResident(2, "לוי");
    test::pay(1, "ינואר-מרץ", "750", QDate(2026, 3, 1));
    spend(QDate(2026, 2, 1), "ניקיון", "400");
    QCOMPARE(levies::define(test::books(), {"גג", "300", QDate(2026, 3, 1), "1"}) +
                 funds::add(test::books(), "פיקדון", "", ""),
             QString());
    const auto papers = [] {
      QStringList texts;
      const QDate from(2026, 1, 1), to(2026, 3, 31);
      const listing::Printout meeting = meeting::printout(test::books(), from, to, false);
      for (const listing::Printout &section : meeting.sections)
        texts << section.layout.title << test::text(test::table(section));
      const ledger::Period money = ledger::period(test::books(), from, to);
      return texts << test::text(test::table(balance::printout(test::books(), from, to, money)));
    };
    const QStringList atClose = papers();
    window = openShared<ClosingWindow>();
    QStringList states = shows({"closedState"});
    for (const char *typed : {"10/06/2026 10/06/2026", "31/03/2026 31/03/2026", "31/03/2026 11/06/2026",
                              "31/12/2025 20/04/2026", "31/03/2026 20/04/2026", "31/03/2026 20/04/2026"}) {
      const QStringList dates = QString(typed).split(' ');
      fill({{"through", dates[0]}, {"approved", dates[1]}});
      click("closePeriod");
    }
    states << shows({"closedState"});
    QCOMPARE(messages->shown, (QStringList{texts::closeInFuture, texts::approvedBeforeEnd, texts::approvedInFuture,
                                           texts::closeBeforeBooks.arg("01/01/2026"),
                                           texts::periodClosedDone.arg("31/03/2026"),
                                           texts::alreadyClosed.arg("31/03/2026")}));
    // A correction: a refund dated the day after; the March payment itself,
    // the levy's charges, March's dues, a transfer on the last day and the
    // building's figures stay, its address not.
    test::pay(1, "מרץ", "-250", QDate(2026, 4, 1), 2026);
    const QString refused = texts::saveFailed.arg(texts::causeClosed);
    QCOMPARE((QStringList{payments::cancel(test::books(), 1, "טעות", today()),
                          levies::setCharge(test::books(), 1, "2", "100"),
                          addApartmentDues(test::books(), "2", "03/2026", "300"),
                          funds::transfer(test::books(), QDate(2026, 3, 31), texts::runningAccount, "פיקדון", "10", ""),
                          saveBuilding(test::books(), {"12", "250", "100", QDate(2026, 1, 1), "", ""}),
                          saveBuilding(test::books(), {"13", "250", "0", QDate(2026, 1, 1), "", ""}),
                          saveBuilding(test::books(), {"12", "250", "0", QDate(2026, 1, 1), "הרצל 12", ""})}),
             (QStringList{refused, refused, refused, refused, refused, refused, ""}));
    QCOMPARE(papers(), atClose);
    messages->shown.clear();
    messages->reply = QStringLiteral(" ");
    click("reopenPeriod");
    messages->reply = QStringLiteral("תיקון לפני האסיפה");
    click("reopenPeriod");
    states << shows({"closedState"});
    QCOMPARE(messages->shown, (QStringList{texts::reopenReasonRequired, texts::periodReopened.arg("31/03/2026")}));
    QCOMPARE(states, (QStringList{texts::nothingClosed, texts::closedThrough.arg("31/03/2026", "20/04/2026"),
                                  texts::nothingClosed}));
    QCOMPARE(test::text(grid("closingsList")),
             "31/03/2026|20/04/2026|\u206610/06/2026 12:00\u2069|\u206610/06/2026 12:00\u2069|תיקון לפני האסיפה");
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(tabsFrom(control<QDateEdit>("through")) << QString::number(control<QPushButton>("reopenPeriod")->isEnabled()),
             (QStringList{"approved", "closingsList", "0"}));
    QCOMPARE(payments::cancel(test::books(), 1, "טעות", today()), QString());
  }

  // Two funds beside the running account (opening balance 1,000): a levy of
  // 100 an apartment raised for the renovation fund, paid by 1 in February and
  // 2 in April; 150 spent from it in April; 400 moved to a deposit in March;
  // dues of 500 and electricity of 300 in January, the running account's.
  // March to June: the running account opens 1,000 + 500 - 300 = 1,200 and
  // closes 800 after the move; the fund opens 100, takes 100, spends 150,
  // closes 50; the deposit closes 400. Their sums are the books' cash: 1,300
  // opening, 1,250 closing.
  void fundsAddUpToTheCash() {
    test::building("10", "250", "1000");
    window = openShared<FundsWindow>();
    for (const char *typed : {"|x|", "חשבון שוטף||", "קרן שיפוץ|חשבון 612-345678|", "קרן שיפוץ||",
                              "פיקדון|בנק לאומי|31/02/2027", "פיקדון|בנק לאומי|31/12/2027"}) {
      const QStringList c = QString(typed).split('|');
      fill({{"fundName", c[0]}, {"fundKept", c[1]}, {"fundMatures", c[2]}});
      click("addFund");
    }
    QCOMPARE(levies::define(test::books(), {"חזית", "100", QDate(2026, 2, 1), "1", false, "קרן שיפוץ"}), QString());
    test::pay(1, "ינואר-פברואר", "500", QDate(2026, 1, 5));
    test::pay(1, "", "100", QDate(2026, 2, 10), 0, "חזית");
    test::pay(2, "", "100", QDate(2026, 4, 15), 0, "חזית");
    const qint64 mistaken = test::pay(3, "", "100", QDate(2026, 4, 20), 0, "חזית"); // cancelled: counts nowhere
    QCOMPARE(payments::cancel(test::books(), mistaken, "טעות", QDate(2026, 4, 21)), QString());
    spend(QDate(2026, 1, 20), "חשמל", "300");
    for (const char *typed : {"01/03/2026|חשבון שוטף|חשבון שוטף|400", "01/03/2026|חשבון שוטף|פיקדון|0",
                              "01/03/2026|חשבון שוטף|פיקדון|-5", "01/03/2026|חשבון שוטף|פיקדון|400"}) {
      const QStringList c = QString(typed).split('|');
      fill({{"transferDate", c[0]}, {"transferFrom", c[1]}, {"transferTo", c[2]}, {"transferAmount", c[3]},
            {"transferDetail", "הפקדה"}});
      click("addTransfer");
    }
    QCOMPARE(messages->shown,
             (QStringList{texts::fundNameRequired, texts::fundNameTaken.arg("חשבון שוטף"), texts::fundAdded.arg("קרן שיפוץ"),
                          texts::fundNameTaken.arg("קרן שיפוץ"), texts::badMaturity, texts::fundAdded.arg("פיקדון"),
                          texts::sameFund, texts::negativeTransfer, texts::negativeTransfer, texts::transferRecorded}));
    window = openShared<RemovalWindow>();
    fill({{"category", "שיפוץ"}, {"indate", "01/04/2026"}, {"fund", "קרן שיפוץ"}, {"amount", "150"}});
    click("Command1");
    QCOMPARE(test::dump("SELECT amount, fund FROM removals ORDER BY reciept"), "30000|\n15000|1");
    const auto plain = [](QString text) { return text.remove(QChar(0x2066)).remove(QChar(0x2069)); };
    const QString spring = "חשבון שוטף||1,200.00|0.00|0.00|-400.00|800.00\n"
                           "קרן שיפוץ|חשבון 612-345678|100.00|100.00|150.00|0.00|50.00\n"
                           "פיקדון|בנק לאומי פיקדון עד 31/12/2027|0.00|0.00|0.00|400.00|400.00\n"
                           "סה\"כ||1,300.00|100.00|150.00|0.00|1,250.00";
    window = openShared<FundsWindow>();
    fill({{"fromDate", "01/03/2026"}, {"toDate", "30/06/2026"}});
    QCOMPARE(plain(test::text(grid("fundsList"))), spring);
    window = openShared<BalanceWindow>();
    fill({{"DTPicker1", "01/03/2026"}, {"DTPicker2", "30/06/2026"}});
    click("Command1");
    QCOMPARE(plain(test::text(grid("fundsList"))) + '\n' + shows({"Label8", "bal"}).join('|'),
             spring + "\n1300ש'ח |1250");
    // The six-monthly report: January to June, the funds from the books' start.
    const listing::Printout half = meeting::halfYear(test::books(), QDate(2026, 6, 30), false);
    const listing::Printout &fundsPart = half.sections[2];
    QCOMPARE(half.layout.title + '|' + half.layout.intro.join('|') + '\n' + fundsPart.layout.title + '\n' +
                 plain(test::text(test::table(fundsPart))),
             "דו\"ח חצי שנתי|לתקופה 01/01/2026 עד 30/06/2026\nקרנות מ-01/01/2026 עד 30/06/2026\n"
             "קרן|היכן מוחזק|יתרת פתיחה|הכנסות|הוצאות|העברות|יתרת סגירה\n"
             "חשבון שוטף||1,000.00|500.00|300.00|-400.00|800.00\n"
             "קרן שיפוץ|חשבון 612-345678|0.00|200.00|150.00|0.00|50.00\n"
             "פיקדון|בנק לאומי פיקדון עד 31/12/2027|0.00|0.00|0.00|400.00|400.00\n"
             "סה\"כ||1,000.00|700.00|450.00|0.00|1,250.00");
  }
};

QTEST_MAIN(ReportsTest)
#include "test_reports.moc"
