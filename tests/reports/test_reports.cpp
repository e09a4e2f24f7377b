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

  // The balance window's year. Opened on the current year, an empty one
  // shows the opening balance (shown although the books start after the
  // period) and has nothing to print. New rows, dates and saved details
  // count once "הצג" is pressed: the year's first and last days, not the
  // days around it; cancelled rows, and a journal row of no payment (as an
  // old file may hold), nowhere. On paper, income by purpose, then expenses
  // by category, each with its subtotal ("אחר" both); the lines follow the
  // pickers, the footer the figures shown; a second print reuses the
  // preview, which outlives the window and saves its PDF as a direct
  // printout does, the progress box gone before the message that tells where.
  void theBalanceCountsWhatIsShown() {
    window = openShared<BalanceWindow>();
    QVERIFY(grid("DataGrid1").isEmpty() && grid("DataGrid2").isEmpty());
    const QList<const char *> labels{"label1",  "DTPicker1", "DTPicker2", "Label11",
                                     "Label12", "Label6",    "Label8",    "bal"};
    QCOMPARE(shows(labels), (QStringList{"2026 מאזן שנתי ", "01/01/2026", "31/12/2026", "סה'כ הכנסות(ש'ח):0",
                                         "סה'כ הוצאות(ש'ח):0", "01/02/2027", "800ש'ח ", "800"}));
    click("print");
    QVERIFY(!printing::preview("DataReport2"));
    pay(QDate(2026, 1, 1), "ועד הבית", "300");
    pay(QDate(2026, 12, 31), "ועד הבית", "400");
    pay(QDate(2026, 5, 5), "אחר", "0.10");
    pay(QDate(2025, 12, 31), "ועד הבית", "1000");
    pay(QDate(2027, 1, 1), "ועד הבית", "1000");
    pay(QDate(2026, 5, 5), "חניה", "500"); // 6, cancelled
    spend(QDate(2026, 3, 3), "חשמל", "0.20");
    spend(QDate(2026, 4, 4), "מעלית", "700.5");
    spend(QDate(2026, 5, 5), "מעלית", "9"); // 3, cancelled
    spend(QDate(2026, 3, 2), "אחר", "20");
    spend(QDate(2026, 3, 2), "גינון", "40"); // 5, cancelled: its category's only expense
    QCOMPARE(payments::cancel(test::books(), 6, "טעות", QDate(2026, 6, 1)) +
                 expenses::cancel(test::books(), 3, "טעות", QDate(2026, 6, 1)) +
                 expenses::cancel(test::books(), 5, "טעות", QDate(2026, 6, 1)),
             QString());
    test::books().exec(
        "INSERT INTO trans (inputdate, \"for\", amount, \"Type\") VALUES ('2026-03-01', 'יתום', 999, 'הכנסה')");
    QCOMPARE(shows({"Label11"}), QStringList{"סה'כ הכנסות(ש'ח):0"});
    click("Command1");
    QCOMPARE(test::text(grid("DataGrid2") + grid("DataGrid1")),
             "אחר|0.10\nועד הבית|700.00\nאחר|20.00\nחשמל|0.20\nמעלית|700.50");
    QCOMPARE(shows(labels).mid(3),
             (QStringList{"סה'כ הכנסות(ש'ח):700.1", "סה'כ הוצאות(ש'ח):720.7", "01/02/2027", "800ש'ח ", "779.4"}));
    click("print");
    QPrintPreviewDialog *preview = printing::preview("DataReport2");
    const listing::Printout *printout = printing::previewPrintout("DataReport2");
    QCOMPARE((QStringList{printout->layout.title, preview->windowTitle()} + printout->layout.intro +
              printout->layout.footer),
             (QStringList{"מאזן שנתי 2026", "מאזן שנתי 2026", "בין התאריכים 01/01/2026 עד 31/12/2026",
                          "הכנסות פחות הוצאות: \u2066-20.60\u2069", "יתרת פתיחה: 800.00", "יתרה לסוף התקופה: 779.40"}));
    QCOMPARE(test::text(test::table(*printout)),
             "הכנסות/הוצאות\nתיאור|סכום|סוג\nאחר|0.10|הכנסה\nועד הבית|700.00|הכנסה\n" + texts::incomeSubtotal +
                 "|700.10|\nאחר|20.00|הוצאה\nחשמל|0.20|הוצאה\nמעלית|700.50|הוצאה\n" + texts::expenseSubtotal +
                 "|720.70|");

    // From 01/03 on, books from 2020 at −5,000: the opening carries the
    // 1,000 and 300 paid before it (−3,700), its minus isolated before the
    // digits; the period holds 400.10 in and 720.70 out. Printed for
    // 01/03–02/03 alone: the lines of those days, the footer as shown.
    QCOMPARE(saveBuilding(test::books(), {"1", "100", "-5000", QDate(2020, 1, 1), "", ""}), QString());
    picker("DTPicker1")->setDate(QDate(2026, 3, 1));
    const QStringList before = shows({"Label8", "Label6"});
    click("Command1");
    QCOMPARE(before + shows({"Label8", "Label6", "Label11", "bal"}),
             (QStringList{"800ש'ח ", "01/02/2027", "\u2066-3700\u2069ש'ח ", "01/03/2026", "סה'כ הכנסות(ש'ח):400.1",
                          "\u2066-4020.6\u2069"}));
    picker("DTPicker2")->setDate(QDate(2026, 3, 2));
    click("print");
    QCOMPARE(printing::preview("DataReport2"), preview);
    printout = printing::previewPrintout("DataReport2");
    QCOMPARE(printout->layout.intro + printout->layout.footer + test::text(test::table(*printout).mid(2)).split('\n'),
             (QStringList{"בין התאריכים 01/03/2026 עד 02/03/2026", "הכנסות פחות הוצאות: \u2066-320.60\u2069",
                          "יתרת פתיחה: \u2066-3,700.00\u2069", "יתרה לסוף התקופה: \u2066-4,020.60\u2069",
                          "אחר|20.00|הוצאה", texts::expenseSubtotal + "|20.00|"}));
    window->close();
    QVERIFY(preview->isVisible());
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
    const QString table = "הוצאה|גינון|0.00|300.00|300.00\nהוצאה|חשמל|6,000.50|450.75|-5,549.75\n"
                          "הוצאה|ניקיון|24,000.00|0.00|-24,000.00\nהכנסה|אחר|1,200.00|100.00|-1,100.00\n"
                          "הכנסה|ועד הבית|30,000.00|250.00|-29,750.00";
    QCOMPARE(texts::plain(test::text(grid("budgetList"))) + '\n' + shows({"coveringDues"})[0],
             table + "\nדמי ועד שיכסו את התקציב: 241.00 ש\"ח לדירה לחודש");
    test::Prints prints;
    click("printButton");
    const QString sums = "סה\"כ הוצאות||30,000.50|750.75|-29,249.75\nסה\"כ הכנסות||31,200.00|350.00|-30,850.00\n"
                         "הכנסות פחות הוצאות||1,199.50|-400.75|-1,600.25";
    QCOMPARE(texts::plain(test::text(prints.tables.value(0))), "סוג|סעיף|תקציב|ביצוע|הפרש\n" + table + '\n' + sums);
    const listing::Printout meeting = meeting::printout(test::books(), QDate(2026, 1, 1), QDate(2026, 6, 10), false);
    QCOMPARE(meeting.sections.back().layout.title + '\n' +
                 texts::plain(test::text(test::table(meeting.sections.back()).mid(6))),
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

  // A small building's year, worked by hand: 4 apartments at 200 a month,
  // 2,000 opening; floor areas 60/80/100/160 of 400 share a facade levy of
  // 1,000.01 raised for the renovation fund: 150.00, 200.00, 250.00, and
  // 400.01 to the largest remainder; a budget; 1,000 moved to a deposit. In
  // the first half, dues of 3,000 and 800.01 of the levy come in; cleaning of
  // 1,200 leaves the running account and 700 of renovation the fund. The half
  // is closed once approved; apartment 2's payment, found to be 4's, is
  // corrected after it, and every paper of the half prints the same.
  void aSmallBuildingsYear() {
    setToday(QDate(2026, 9, 15));
    test::building("4", "200", "2000");
    for (const auto &[apartment, family] : {std::pair{2, "לוי"}, {3, "מזרחי"}, {4, "פרץ"}})
      test::addResident(apartment, family);
    window = openShared<FundsWindow>();
    for (const char *typed : {"|x|", "חשבון שוטף||", "קרן שיפוץ|חשבון 612-345678|", "קרן שיפוץ||",
                              "פיקדון|בנק לאומי|31/02/2027", "פיקדון|בנק לאומי|31/12/2027"}) {
      const QStringList c = QString(typed).split('|');
      fill({{"fundName", c[0]}, {"fundKept", c[1]}, {"fundMatures", c[2]}});
      click("addFund");
    }
    for (const char *typed : {"חשבון שוטף|1000", "פיקדון|0", "פיקדון|-5", "פיקדון|1000"}) {
      const QStringList c = QString(typed).split('|');
      fill({{"transferDate", "01/02/2026"}, {"transferFrom", "חשבון שוטף"}, {"transferTo", c[0]},
            {"transferAmount", c[1]}, {"transferDetail", "הפקדה"}});
      click("addTransfer");
    }
    QCOMPARE(messages->shown,
             (QStringList{texts::fundNameRequired, texts::fundNameTaken.arg("חשבון שוטף"), texts::fundAdded.arg("קרן שיפוץ"),
                          texts::fundNameTaken.arg("קרן שיפוץ"), texts::badMaturity, texts::fundAdded.arg("פיקדון"),
                          texts::sameFund, texts::negativeTransfer, texts::negativeTransfer, texts::transferRecorded}));
    window = openShared<LeviesWindow>();
    for (const char *typed : {"1 60", "2 80", "3 100", "4 160"})
      fill({{"chargeApartment", QString(typed).section(' ', 0, 0)}, {"shareValue", QString(typed).section(' ', 1)}}),
          click("saveShare");
    fill({{"levyName", "חזית"}, {"levyAmount", "1,000.01"}, {"levyDue", "01/03/2026"}, {"levyInstalments", "1"},
          {"levyFund", "קרן שיפוץ"}});
    control<QCheckBox>("levyByShares")->setChecked(true);
    click("addLevy");
    QCOMPARE(test::text(grid("chargesList")), "1|60|150.00|0.00\n2|80|200.00|0.00\n3|100|250.00|0.00\n4|160|400.01|0.00");
    QCOMPARE(budget::set(test::books(), 2026, texts::expense, "ניקיון", "2400") +
                 budget::set(test::books(), 2026, texts::income, texts::houseCommittee, "9600"),
             QString());
    test::pay(1, "ינואר-יוני", "1200", QDate(2026, 1, 5));
    const qint64 mistaken = test::pay(2, "ינואר-מרץ", "600", QDate(2026, 2, 5));
    test::pay(3, "ינואר-יוני", "1200", QDate(2026, 3, 10));
    test::pay(3, "", "250", QDate(2026, 3, 10), 0, "חזית");
    test::pay(4, "", "400.01", QDate(2026, 4, 15), 0, "חזית");
    test::pay(1, "", "150", QDate(2026, 5, 20), 0, "חזית");
    const qint64 cancelled = test::pay(2, "", "200", QDate(2026, 6, 10), 0, "חזית"); // counts nowhere
    QCOMPARE(payments::cancel(test::books(), cancelled, "טעות", QDate(2026, 6, 10)), QString());
    spend(QDate(2026, 6, 30), "ניקיון", "1200");
    window = openShared<RemovalWindow>();
    fill({{"category", "שיפוץ"}, {"indate", "15/05/2026"}, {"fund", "קרן שיפוץ"}, {"amount", "700"}});
    click("Command1");

    // The six-monthly report: the overview, the funds, the levy and the budget.
    const auto half = [&] {
      const listing::Printout report = meeting::halfYear(test::books(), QDate(2026, 6, 30), false);
      QStringList parts{report.layout.title, texts::plain(test::text(test::table(report)))};
      for (const listing::Printout &section : report.sections)
        parts << section.layout.title << texts::plain(test::text(test::table(section)));
      return parts;
    };
    const QStringList atClose = half();
    QCOMPARE((QStringList{atClose[0], atClose[1], atClose[6], atClose[7], atClose[9], atClose[12], atClose[13]}),
             (QStringList{"דו\"ח חצי שנתי",
                          "סעיף|סכום\nיתרת פתיחה ליום 01/01/2026|2,000.00\nהכנסות|3,800.01\nהוצאות|1,900.00\n"
                          "תוצאת התקופה|1,900.01\nיתרת סגירה ליום 30/06/2026|3,900.01\nדירות חייבות ליום 30/06/2026|2\n"
                          "פיגורים בשנת 2026|1,800.00\nחוב משנים קודמות|0.00\nחוב היטלים ליום 30/06/2026|200.00",
                          "קרנות מ-01/01/2026 עד 30/06/2026",
                          "קרן|היכן מוחזק|יתרת פתיחה|הכנסות|הוצאות|העברות|יתרת סגירה\n"
                          "חשבון שוטף||2,000.00|3,000.00|1,200.00|-1,000.00|2,800.00\n"
                          "קרן שיפוץ|חשבון 612-345678|0.00|800.01|700.00|0.00|100.01\n"
                          "פיקדון|בנק לאומי פיקדון עד 31/12/2027|0.00|0.00|0.00|1,000.00|1,000.00\n"
                          "סה\"כ||2,000.00|3,800.01|1,900.00|0.00|3,900.01",
                          "היטל|חיוב|נגבה|יתרה לגבייה\nחזית|1,000.01|800.01|200.00", "תקציב מול ביצוע 2026",
                          "סוג|סעיף|תקציב|ביצוע|הפרש\nהוצאה|ניקיון|2,400.00|1,200.00|-1,200.00\n"
                          "הוצאה|שיפוץ|0.00|700.00|700.00\nהכנסה|ועד הבית|9,600.00|3,000.00|-6,600.00\n"
                          "הכנסה|חזית|0.00|800.01|800.01\nסה\"כ הוצאות||2,400.00|1,900.00|-500.00\n"
                          "סה\"כ הכנסות||9,600.00|3,800.01|-5,799.99\nהכנסות פחות הוצאות||7,200.00|1,900.01|-5,299.99"}));

    // Closed through 30/06 once approved on 20/07, after what cannot be.
    messages->shown.clear();
    window = openShared<ClosingWindow>();
    QStringList states = shows({"closedState"});
    for (const char *typed : {"15/09/2026 15/09/2026", "30/06/2026 30/06/2026", "30/06/2026 16/09/2026",
                              "31/12/2025 20/07/2026", "30/06/2026 20/07/2026", "30/06/2026 20/07/2026"}) {
      fill({{"through", QString(typed).section(' ', 0, 0)}, {"approved", QString(typed).section(' ', 1)}});
      click("closePeriod");
    }
    states << shows({"closedState"});
    QCOMPARE(messages->shown, (QStringList{texts::closeInFuture, texts::approvedBeforeEnd, texts::approvedInFuture,
                                           texts::closeBeforeBooks.arg("01/01/2026"),
                                           texts::periodClosedDone.arg("30/06/2026"),
                                           texts::alreadyClosed.arg("30/06/2026")}));
    // The correction, dated the day after; the payment itself, the levy's
    // charges, June's dues, a transfer on the last day and the building's
    // figures stay, its address not.
    test::pay(2, "ינואר-מרץ", "-600", QDate(2026, 7, 1));
    test::pay(4, "ינואר-מרץ", "600", QDate(2026, 7, 1));
    const QString refused = texts::saveFailed.arg(texts::causeClosed);
    QCOMPARE((QStringList{payments::cancel(test::books(), mistaken, "טעות", today()),
                          levies::setCharge(test::books(), 1, "2", "100"),
                          addApartmentDues(test::books(), "2", "06/2026", "300"),
                          funds::transfer(test::books(), QDate(2026, 6, 30), texts::runningAccount, "פיקדון", "10", ""),
                          saveBuilding(test::books(), {"4", "200", "100", QDate(2026, 1, 1), "", ""}),
                          saveBuilding(test::books(), {"5", "200", "2000", QDate(2026, 1, 1), "", ""}),
                          saveBuilding(test::books(), {"4", "200", "2000", QDate(2026, 1, 1), "הרצל 12", ""})}),
             (QStringList{refused, refused, refused, refused, refused, refused, ""}));
    QCOMPARE(half(), atClose);
    // The funds after the half open where it closed.
    window = openShared<BalanceWindow>();
    fill({{"DTPicker1", "01/07/2026"}, {"DTPicker2", "15/09/2026"}});
    click("Command1");
    QCOMPARE(texts::plain(test::text(grid("fundsList"))) + '\n' + shows({"Label8", "bal"}).join('|'),
             "חשבון שוטף||2,800.00|0.00|0.00|0.00|2,800.00\n"
             "קרן שיפוץ|חשבון 612-345678|100.01|0.00|0.00|0.00|100.01\n"
             "פיקדון|בנק לאומי פיקדון עד 31/12/2027|1,000.00|0.00|0.00|0.00|1,000.00\n"
             "סה\"כ||3,900.01|0.00|0.00|0.00|3,900.01\n3900.01ש'ח |3900.01");

    // Reopened for a reason, recorded; then the payment itself may go.
    window = sharedWindow<ClosingWindow>();
    messages->shown.clear();
    for (const char *reason : {" ", "תיקון לפני האסיפה"})
      messages->reply = QString::fromUtf8(reason), click("reopenPeriod");
    states << shows({"closedState"});
    QCOMPARE(messages->shown, (QStringList{texts::reopenReasonRequired, texts::periodReopened.arg("30/06/2026")}));
    QCOMPARE(states, (QStringList{texts::nothingClosed, texts::closedThrough.arg("30/06/2026", "20/07/2026"),
                                  texts::nothingClosed}));
    QCOMPARE(test::text(grid("closingsList")),
             "30/06/2026|20/07/2026|\u206615/09/2026 12:00\u2069|\u206615/09/2026 12:00\u2069|תיקון לפני האסיפה");
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(tabsFrom(control<QDateEdit>("through")) << QString::number(control<QPushButton>("reopenPeriod")->isEnabled()),
             (QStringList{"approved", "closingsList", "0"}));
    QCOMPARE(payments::cancel(test::books(), mistaken, "טעות", today()), QString());
  }
};

QTEST_MAIN(ReportsTest)
#include "test_reports.moc"
