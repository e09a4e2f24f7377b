// Who owes and for which months, an apartment's story, receipts, the
// general-meeting report and grids saved for spreadsheets, on a building
// made in each test.
#include "testsupport.h"

class OwingTest : public test::WindowTest {
  Q_OBJECT

  static qint64 pay(int apartment, const QString &from, const QString &to, const QString &amount, int year = 2026,
                    const QDate &date = QDate(2026, 2, 1)) {
    return test::recordPayment(
        {date, QString::number(apartment), "ועד הבית", "", from, to, "מזומן", amount, QString::number(year)});
  }

private slots:
  // A payment's shares over its months: each month's share follows its
  // dues, in agorot, and the agorot left over go to the last month, so the
  // shares always sum to the amount. Figures worked out by hand.
  void sharesFollowTheDues_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QList<qint64>>("dues"); // agorot, one per month from January
    QTest::addColumn<QList<qint64>>("shares");
    QTest::newRow("870 over four equal months")
        << "870" << QList<qint64>{25000, 25000, 25000, 25000} << QList<qint64>{21750, 21750, 21750, 21750};
    QTest::newRow("850 over three") << "850" << QList<qint64>{25000, 25000, 25000}
                                    << QList<qint64>{28333, 28333, 28334};
    QTest::newRow("a raise inside the range") << "530" << QList<qint64>{25000, 28000} << QList<qint64>{25000, 28000};
    QTest::newRow("a part of two rates") << "100" << QList<qint64>{25000, 28000}
                                         << QList<qint64>{4716, 5284}; // 10000 × 250/530 = 4716.98
    QTest::newRow("no dues: equal parts") << "100" << QList<qint64>{0, 0, 0} << QList<qint64>{3333, 3333, 3334};
    QTest::newRow("a refund") << "-100" << QList<qint64>{25000, 25000, 25000} << QList<qint64>{-3333, -3333, -3334};
    QTest::newRow("one agora over two") << "0.01" << QList<qint64>{25000, 25000} << QList<qint64>{0, 1};
  }
  void sharesFollowTheDues() {
    QFETCH(QString, amount);
    QFETCH(QList<qint64>, dues);
    QFETCH(QList<qint64>, shares);
    matrix::Weights weights{};
    std::copy(dues.begin(), dues.end(), weights.begin());
    matrix::Cells cells;
    matrix::credit(cells, 0, int(dues.size()) - 1, *Money::parse(amount), weights);
    QList<qint64> credited;
    for (int m = 0; m < dues.size(); ++m)
      credited << cells[m].value_or(-999999);
    QCOMPARE(credited, shares);
    QVERIFY(!cells[dues.size()]); // the months after the range stay empty
  }

  void init() {
    startTest(QDate(2026, 3, 15));
    QCOMPARE(saveBuilding(test::books(), {"6", "250", "1000", QDate(2026, 1, 1), "הרצל 5", "חיפה"}), QString());
    for (int apartment = 1; apartment <= 5; ++apartment)
      test::addResident(apartment, QStringLiteral("משפחה %1").arg(apartment));
  }
  void cleanup() { endTest(); }

  // The books start in January 2026; up to March at 250 a month: 1 paid
  // nothing, 2 paid in two parts, 3 paid the whole year ahead, 4 cancelled
  // its payment, 5 opened owing 750, paid 500 of it as November and
  // December 2025, and paid January; 6 stands empty.
  void debtorsOwnTheirMonths() {
    pay(2, "ינואר", "מרץ", "375");
    pay(2, "ינואר", "מרץ", "375");
    pay(3, "ינואר", "דצמבר", "3000");
    const qint64 cancelled = pay(4, "ינואר", "מרץ", "750");
    QCOMPARE(payments::cancel(test::books(), cancelled, "טעות", QDate(2026, 3, 1)), QString());
    pay(5, "ינואר", "ינואר", "250");
    QCOMPARE(setOpeningDebt(test::books(), "5", "750"), QString());
    pay(5, "נובמבר", "דצמבר", "500", 2025);
    window = openShared<DebtorsWindow>();
    const QList<QStringList> owing{{"1", "משפחה 1", "3", "750", "0", "750", "ינואר, פברואר, מרץ", "0", "0"},
                                   {"4", "משפחה 4", "3", "750", "0", "750", "ינואר, פברואר, מרץ", "0", "0"},
                                   {"5", "משפחה 5", "3", "750", "250", "500", "פברואר, מרץ", "250", "0"},
                                   {"6", "דירה ריקה", "3", "750", "0", "750", "ינואר, פברואר, מרץ", "0", "0"}};
    QCOMPARE(grid("debtorsList"), owing);
    QCOMPARE(control<QLabel>("totals")->text(), texts::debtorsTotals.arg(4).arg("2750", "250", "0"));
    // Apartment 3's months after March are paid ahead: only three of them count yet.
    const QList<owing::Account> accounts = owing::accounts(test::books(), QDate(2026, 3, 15));
    const auto three = std::find_if(accounts.begin(), accounts.end(), [](const auto &a) { return a.apartment == 3; });
    QCOMPARE((QList<qint64>{three->due.agorot(), three->paid.agorot()}), (QList<qint64>{75000, 75000}));

    control<QCheckBox>("everyone")->setChecked(true);
    QCOMPARE(grid("debtorsList").size(), 6);
    QCOMPARE(grid("debtorsList")[2], (QStringList{"3", "משפחה 3", "3", "750", "750", "0", "", "0", "0"}));
    control<QCheckBox>("everyone")->setChecked(false);

    // Paper, by Enter on the focused button: the date in the title, the
    // building, the rows and their sums.
    test::Prints prints;
    control<QPushButton>("printButton")->setFocus();
    QTest::keyClick(control<QPushButton>("printButton"), Qt::Key_Return);
    // On paper, headers in words and amounts with two decimals.
    QCOMPARE(prints.tables[0],
             (QList<QStringList>{
                 {"דירה", "שם ומשפחה", "חודשים", "לתשלום", "שולם", "פיגור", "חודשים שלא שולמו", "חוב משנים קודמות",
                  "חוב היטלים"},
                 {"1", "משפחה 1", "3", "750.00", "0.00", "750.00", "ינואר, פברואר, מרץ", "0.00", "0.00"},
                 {"4", "משפחה 4", "3", "750.00", "0.00", "750.00", "ינואר, פברואר, מרץ", "0.00", "0.00"},
                 {"5", "משפחה 5", "3", "750.00", "250.00", "500.00", "פברואר, מרץ", "250.00", "0.00"},
                 {"6", "דירה ריקה", "3", "750.00", "0.00", "750.00", "ינואר, פברואר, מרץ", "0.00", "0.00"}}));
    QCOMPARE(prints.lines[0],
             (QStringList{"הרצל 5, חיפה", "הודפס בתאריך 15/03/2026", "חייבים נכון לתאריך 15/03/2026", "מספר שורות: 4",
                          "סה\"כ לתשלום: 3,000.00", "סה\"כ שולם: 250.00", "סה\"כ פיגור: 2,750.00",
                          "סה\"כ חוב משנים קודמות: 250.00", "סה\"כ חוב היטלים: 0.00"}));

    // A date in January owes one month.
    control<QDateEdit>("asOf")->setDate(QDate(2026, 1, 31));
    QCOMPARE(grid("debtorsList")[0], (QStringList{"1", "משפחה 1", "1", "250", "0", "250", "ינואר", "0", "0"}));
    // Dues raised from March: January and February keep 250.
    QCOMPARE(saveBuilding(test::books(), {"6", "300", "1000", QDate(2026, 1, 1), "הרצל 5", "חיפה", QDate(2026, 3, 1)}),
             QString());
    control<QDateEdit>("asOf")->setDate(QDate(2026, 3, 31));
    QCOMPARE(grid("debtorsList")[0],
             (QStringList{"1", "משפחה 1", "3", "800", "0", "800", "ינואר, פברואר, מרץ", "0", "0"}));
    // Before the books' start nothing is owed: only the opening debt, less what paid it.
    control<QDateEdit>("asOf")->setDate(QDate(2025, 12, 31));
    QCOMPARE(grid("debtorsList"), (QList<QStringList>{{"5", "משפחה 5", "0", "0", "0", "0", "", "250", "0"}}));
  }

  // A treasurer's year, every figure worked out by hand. Six apartments;
  // the books start on 01/03/2026 at 250 a month, raised to 280 from June;
  // apartment 1 is larger and pays 400 from March; 2 opened owing 500 and
  // paid 250 of it as December 2025; 3 opened owing 1,000; an elevator levy
  // of 1,200 each is due in three instalments from 01/09; 4 paid two of
  // them, 5 paid one that was then cancelled; 6's resident, who paid
  // nothing, is deleted. As at 30/11 the months due are March to November.
  void aTreasurersYear() {
    setToday(QDate(2026, 11, 30));
    QCOMPARE(saveBuilding(test::books(), {"6", "250", "12,340.50", QDate(2026, 3, 1), "הרצל 5", "חיפה"}), QString());
    QCOMPARE(
        saveBuilding(test::books(), {"6", "280", "12,340.50", QDate(2026, 3, 1), "הרצל 5", "חיפה", QDate(2026, 6, 1)}),
        QString());
    QCOMPARE(addApartmentDues(test::books(), "1", "03/2026", "400"), QString());
    QCOMPARE(setOpeningDebt(test::books(), "2", "500"), QString());
    QCOMPARE(setOpeningDebt(test::books(), "3", "1000"), QString());
    QCOMPARE(levies::define(test::books(), {"מעלית", "1200", QDate(2026, 9, 1), "3"}), QString());
    test::addResident(6, "שש");
    const QDate paid(2026, 3, 5);
    pay(1, "מרץ", "דצמבר", "4000", 2026, paid);
    pay(2, "דצמבר", "דצמבר", "250", 2025, paid); // arrears from before the books
    pay(2, "מרץ", "מאי", "750", 2026, paid);
    pay(2, "יוני", "ספטמב", "1120", 2026, QDate(2026, 6, 5));
    pay(3, "מרץ", "אוגוסט", "1590", 2026, QDate(2026, 6, 5)); // across the raise: shares follow the dues
    pay(4, "מרץ", "נובמבר", "2430", 2026, QDate(2026, 6, 5));
    const auto levy = [](int apartment, const QDate &date) {
      return test::recordPayment({date, QString::number(apartment), "מעלית", "", "", "", "שיק", "400", ""});
    };
    levy(4, QDate(2026, 9, 2));
    levy(4, QDate(2026, 10, 2));
    QCOMPARE(payments::cancel(test::books(), levy(5, QDate(2026, 9, 3)), "חזר", QDate(2026, 9, 10)), QString());
    QCOMPARE(residents::removalQuestion(test::books(), 6, today()),
             texts::removeResidentQuestion.arg(6).arg(0).arg("3630"));
    QCOMPARE(residents::remove(test::books(), 6), QString());

    // Who owes: 2,430 of dues from March (3 × 250 + 6 × 280), 3,600 for apartment 1.
    window = openShared<DebtorsWindow>();
    const QString all9 = "מרץ, אפריל, מאי, יוני, יולי, אוגוסט, ספטמבר, אוקטובר, נובמבר";
    QCOMPARE(
        grid("debtorsList"),
        (QList<QStringList>{{"1", "משפחה 1", "9", "3600", "3600", "0", "", "0", "1200"},
                            {"2", "משפחה 2", "9", "2430", "1870", "560", "אוקטובר, נובמבר", "250", "1200"},
                            {"3", "משפחה 3", "9", "2430", "1590", "840", "ספטמבר, אוקטובר, נובמבר", "1000", "1200"},
                            {"4", "משפחה 4", "9", "2430", "2430", "0", "", "0", "400"},
                            {"5", "משפחה 5", "9", "2430", "0", "2430", all9, "0", "1200"},
                            {"6", "דירה ריקה", "9", "2430", "0", "2430", all9, "0", "1200"}}));
    QCOMPARE(control<QLabel>("totals")->text(), texts::debtorsTotals.arg(6).arg("6260", "1250", "6400"));
    // Before the raise, those who paid at their rate owe nothing; June owes 280.
    control<QDateEdit>("asOf")->setDate(QDate(2026, 5, 31));
    QCOMPARE(grid("debtorsList")[0], (QStringList{"2", "משפחה 2", "3", "750", "750", "0", "", "250", "0"}));
    control<QDateEdit>("asOf")->setDate(QDate(2026, 6, 30));
    QCOMPARE(grid("debtorsList")[2],
             (QStringList{"5", "משפחה 5", "4", "1030", "0", "1030", "מרץ, אפריל, מאי, יוני", "0", "0"}));

    // In the next year, 2026's unpaid dues are earlier years' debt: 2,710
    // for 5 (750 + 7 × 280), and for 2 the rest of its opening debt and 840.
    control<QDateEdit>("asOf")->setDate(QDate(2027, 1, 31));
    QCOMPARE(grid("debtorsList")[1], (QStringList{"2", "משפחה 2", "1", "280", "0", "280", "ינואר", "1090", "1200"}));
    QCOMPARE(grid("debtorsList")[4], (QStringList{"5", "משפחה 5", "1", "280", "0", "280", "ינואר", "2710", "1200"}));

    // The story of apartment 2: its opening debt, the year before the books,
    // this year's dues (750 + 7 × 280) and the levy due by today.
    StoryWindow::openOn(2);
    window = sharedWindow<StoryWindow>();
    QCOMPARE(grid("yearsList"), (QList<QStringList>{{"חוב פתיחה", "0", "500", "500"},
                                                    {"2025", "250", "0", "\u2066-250\u2069"},
                                                    {"2026", "1870", "2710", "840"},
                                                    {"היטל: מעלית", "0", "1200", "1200"}}));

    // The annual table on paper: every apartment, the year's totals and
    // debts (dues from March; 5 and 6 paid nothing and owe the year's 2,710).
    const QList<QStringList> year = test::table(annual::printout(test::books(), 2026));
    QCOMPARE(year.size(), 1 + 6 + 1);
    QCOMPARE(year[3], (QStringList{"3", "משפחה 3", "", "", "250.00", "250.00", "250.00", "280.00", "280.00", "280.00",
                                   "", "", "", "", "1,590.00", "1,120.00"}));
    QCOMPARE(year[6], (QStringList{"6", "דירה ריקה"} + QStringList(12) + QStringList{"0.00", "2,710.00"}));
    QCOMPARE(year.last(), (QStringList{"סה\"כ", "", "", "", "1,150.00", "1,150.00", "1,150.00", "1,240.00", "1,240.00",
                                       "1,240.00", "960.00", "680.00", "680.00", "400.00", "9,890.00", "7,660.00"}));

    // The meeting report: the year's money, who owes, and the levy.
    const meeting::Figures figures = meeting::figures(test::books(), QDate(2026, 1, 1), QDate(2026, 11, 30));
    QCOMPARE(figures.opening, Money::parse("12340.50"));
    QCOMPARE(figures.income, Money::fromShekels(4000 + 250 + 750 + 1120 + 1590 + 2430 + 800));
    QCOMPARE(figures.debtors.debtors, 6);
    QCOMPARE(figures.debtors.levies, Money::fromShekels(6400));
    const listing::Printout report = meeting::printout(test::books(), QDate(2026, 1, 1), QDate(2026, 11, 30));
    QCOMPARE(test::table(report.sections[2]), (QList<QStringList>{{"היטל", "חיוב", "נגבה", "יתרה לגבייה"},
                                                                  {"מעלית", "7,200.00", "800.00", "6,400.00"}}));

    // A levy's receipt names it; the months and year are not its own.
    const QList<QStringList> receipt = test::table(*payments::receipt(test::books(), 7));
    QCOMPARE(receipt[4], (QStringList{"עבור", "היטל: מעלית"}));
    QCOMPARE(receipt.size(), 1 + 7);
    // --check agrees with all of it.
    QCOMPARE(consistency::check(test::books()).size(), 0);
  }

  // The grid's context menu saves it as the user sees it.
  void aGridIsSavedAsCsv() {
    pay(2, "ינואר", "ינואר", "250");
    window = openShared<DebtorsWindow>();
    const QString path = database->folder() + "/debtors";
    messages::setSaveAnswer([&](const QString &) { return std::optional<QString>(path); });
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *list = control<QTableView>("debtorsList");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier); // the context menu, from the keyboard
    list->findChild<QMenu *>()->actions().first()->trigger();
    messages::setSaveAnswer({});
    QFile file(path + ".csv");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF")); // spreadsheets read it as UTF-8
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    QCOMPARE(lines[0], "דירה,שם_ומשפחה,חודשים,לתשלום,שולם,פיגור,חודשים_שלא_שולמו,חוב_משנים_קודמות,חוב_היטלים");
    QCOMPARE(lines[2], "2,משפחה 2,3,750,250,500,\"פברואר, מרץ\",0,0");
    QCOMPARE(messages->last(), texts::fileSaved.arg(path + ".csv"));
  }

  // Oldest first across the years, a cancelled one marked; each year's
  // credit, dues and balance (2025, before the books, charged nothing).
  // Double-clicking a payment opens it.
  void anApartmentsStory() {
    pay(2, "ינואר", "מרץ", "750", 2026, QDate(2026, 3, 1));
    pay(2, "נובמבר", "דצמבר", "500", 2025, QDate(2025, 12, 1));
    const qint64 cancelled = pay(2, "אפריל", "אפריל", "250", 2026, QDate(2026, 3, 2));
    QCOMPARE(payments::cancel(test::books(), cancelled, "כפול", QDate(2026, 3, 3)), QString());
    window = openShared<IncomingWindow>();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *payments = control<QTableView>("DataGrid1");
    const QPoint first = payments->visualRect(payments->model()->index(0, 0)).center();
    QTest::mouseClick(payments->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(payments->viewport(), Qt::LeftButton, {}, first);
    window = sharedWindow<StoryWindow>();
    QVERIFY(window && window->isVisible());
    QCOMPARE(control<QLabel>("family")->text(), QStringLiteral("משפחה 2"));
    QList<QStringList> story = grid("paymentsList");
    QCOMPARE(story.size(), 3);
    QCOMPARE(story[0],
             (QStringList{"01/12/2025", "ועד הבית", "", "נובמבר", "דצמבר", "2025", "מזומן", "", "500", "2", ""}));
    QCOMPARE(story[1][owing::paymentsReciept], QStringLiteral("1"));
    QCOMPARE(story[2][owing::paymentsStatus], QStringLiteral("מבוטל: כפול"));
    QCOMPARE(test::gridHeaders(control<QTableView>("yearsList")->model()),
             (QStringList{"עבור", "זוכה", "לתשלום", "חוב"}));
    QCOMPARE(grid("yearsList"),
             (QList<QStringList>{{"2025", "500", "0", "\u2066-500\u2069"}, {"2026", "750", "3000", "2250"}}));
    test::Prints prints;
    click("printButton");
    QCOMPARE(prints.tables[0].size(), 1 + 2); // the cancelled one is not on paper
    control<QComboBox>("apartment")->setEditText("99");
    click("showButton");
    QCOMPARE(messages->shown, QStringList{texts::apartmentOutOfRange.arg(99).arg(6)});
  }

  // The receipt keeps its payment's number; a cancelled one says so.
  void aReceiptHoldsItsNumberAndAmount() {
    pay(1, "ינואר", "מרץ", "750");
    const qint64 second = pay(2, "ינואר", "ינואר", "250");
    window = openShared<IncomingWindow>();
    test::Prints prints;
    click("printReceipt"); // the newest payment is chosen after opening
    chooseRow(0);
    click("printReceipt");
    QCOMPARE(prints.texts, (QStringList{"קבלה מס' 2", "קבלה מס' 1"}));
    QCOMPARE(prints.tables[1], (QList<QStringList>{{"פרט", "ערך"},
                                                   {"תאריך", "01/02/2026"},
                                                   {"דירה", "1"},
                                                   {"שם ומשפחה", "משפחה 1"},
                                                   {"עבור", "ועד הבית"},
                                                   {"פירוט", ""},
                                                   {"חודשים", "ינואר עד מרץ"},
                                                   {"שנה", "2026"},
                                                   {"אופן תשלום", "מזומן"},
                                                   {"סכום", "750.00 ש\"ח"}}));
    QCOMPARE(prints.lines[1],
             (QStringList{"הרצל 5, חיפה", "הודפס בתאריך 15/03/2026", "קבלה מס' 1", "", texts::treasurerSignature}));
    QCOMPARE(payments::cancel(test::books(), second, "טעות", QDate(2026, 3, 1)), QString());
    QCOMPARE(test::painted(*payments::receipt(test::books(), second)).lines,
             (QStringList{"קבלה מס' 2", "", texts::treasurerSignature, texts::receiptCancelled}));
    QVERIFY(!payments::receipt(test::books(), 99));
  }

  // The meeting report on paper: the year's balances in paper form and the
  // expenses' table.
  void theMeetingReportPrintsTheYear() {
    pay(1, "ינואר", "מרץ", "750", 2026, QDate(2026, 1, 10));
    pay(2, "ינואר", "ינואר", "250", 2026, QDate(2026, 4, 2));
    test::recordExpense("מים", QDate(2026, 2, 1), "300");
    test::recordExpense("חשמל", QDate(2026, 5, 1), "100");
    const listing::PageModel paper =
        test::painted(meeting::printout(test::books(), QDate(2026, 1, 1), QDate(2026, 12, 31)));
    QCOMPARE(paper.pages[0][1], (QStringList{"יתרת פתיחה ליום 01/01/2026", "1,000.00"}));
    QCOMPARE(paper.pages[0][5], (QStringList{"יתרת סגירה ליום 31/12/2026", "1,600.00"}));
    QCOMPARE(paper.lines, (QStringList{"דו\"ח לאסיפה כללית", "לתקופה 01/01/2026 עד 31/12/2026", "הכנסות לפי מטרה",
                                       "סה\"כ הכנסות: 1,000.00", "הוצאות לפי סוג", "סה\"כ הוצאות: 400.00",
                                       "דו\"ח תשלומים שנתי 2026"}));
    QCOMPARE(paper.pages[2],
             (QList<QStringList>{
                 {"סוג הוצאה", "סכום", "חלק מההוצאות"}, {"חשמל", "100.00", "25.0%"}, {"מים", "300.00", "75.0%"}}));
  }

  // A period opens with the opening balance and all that came and went from
  // the opening date to the day before it: a row dated on the period's first
  // day is the period's, counted once. (Opening balance 1000 on 01/01/2026.)
  // The balance window, its printout and the meeting report agree.
  void aPeriodOpensWithWhatCameBefore_data() {
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("balances"); // opening, closing
    QTest::newRow("the year") << QDate(2026, 1, 1) << QDate(2026, 12, 31) << QStringList{"1000", "1600"};
    QTest::newRow("an expense on the first day")
        << QDate(2026, 2, 1) << QDate(2026, 2, 28) << QStringList{"1750", "1450"};
    QTest::newRow("a payment on the first day")
        << QDate(2026, 4, 2) << QDate(2026, 4, 2) << QStringList{"1450", "1700"};
    QTest::newRow("from March on") << QDate(2026, 3, 1) << QDate(2026, 12, 31) << QStringList{"1450", "1600"};
    QTest::newRow("May") << QDate(2026, 5, 1) << QDate(2026, 5, 31) << QStringList{"1700", "1600"};
    QTest::newRow("into the next year") << QDate(2026, 4, 1) << QDate(2027, 1, 31) << QStringList{"1450", "1600"};
  }
  void aPeriodOpensWithWhatCameBefore() {
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, balances);
    const QString &opening = balances[0], &closing = balances[1];
    pay(1, "ינואר", "מרץ", "750", 2026, QDate(2026, 1, 10));
    pay(2, "ינואר", "ינואר", "250", 2026, QDate(2026, 4, 2));
    test::recordExpense("מים", QDate(2026, 2, 1), "300");
    test::recordExpense("חשמל", QDate(2026, 5, 1), "100");
    const meeting::Figures figures = meeting::figures(test::books(), from, to);
    QCOMPARE(figures.opening.toString(), opening);
    QCOMPARE(figures.closing().toString(), closing);
    window = openShared<BalanceWindow>();
    control<QDateEdit>("DTPicker1")->setDate(from);
    control<QDateEdit>("DTPicker2")->setDate(to);
    click("Command1");
    QCOMPARE(control<QLabel>("Label8")->text(), opening + "ש'ח ");
    QCOMPARE(control<QLabel>("bal")->text(), closing);
    QCOMPARE(control<QLabel>("Label11")->text(), "סה'כ הכנסות(ש'ח):" + figures.income.toDisplay());
    QCOMPARE(control<QLabel>("Label12")->text(), "סה'כ הוצאות(ש'ח):" + figures.expenses.toDisplay());
    QCOMPARE(control<QLabel>("label1")->text(), balance::years(from, to) + " מאזן שנתי ");
    QCOMPARE(balance::printout(test::books(), from, to, ledger::period(test::books(), from, to)).layout.footer.mid(1),
             (QStringList{"יתרת פתיחה: " + opening, "יתרה לסוף התקופה: " + closing}));
  }
};

QTEST_MAIN(OwingTest)
#include "test_owing.moc"
