// The payments window driven as a user would: the road of a payment into
// incoming, trans and the annual matrix, cancelling, the questions before
// writing, levies and the annual payments report.
#include "testsupport.h"

class PaymentsTest : public test::WindowTest {
  Q_OBJECT

  QComboBox *combo(const char *name) const { return control<QComboBox>(name); }
  // A whole matrix row: apartment, family, year, the twelve months, total, depth.
  static QString matrix(int apartment, int year) {
    return test::dump("SELECT * FROM anual_report WHERE apartment = ? AND year = ?", {apartment, year});
  }
  void openPayments() {
    window = openShared<IncomingWindow>();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
  }
  // Fills the form as a user would and presses "בצע"; the year box follows
  // the date unless `year` is given.
  void pay(const QString &apartment, const QString &from, const QString &to, const QString &amount,
           const QString &forText = QStringLiteral("ועד הבית"), const QString &date = "15/03/2026",
           const QString &year = {}) {
    fill(
        {{"inputdate", date}, {"apartment", apartment}, {"forcombo", forText}, {"from_month", from}, {"to_month", to}});
    if (!year.isEmpty())
      fill({{"year", year}});
    fill({{"amount", amount}});
    click("Command1");
  }
  // Chooses grid row `row`, presses "בטל רשומה" and gives `reason`.
  void cancel(int row, const std::optional<QString> &reason) {
    chooseRow(row);
    messages->reply = reason;
    click("cancelRow");
  }

private slots:
  void init() {
    startTest(QDate(2026, 3, 15));
    test::building("12", "250");
    test::addResident(5, "כהן");
    test::addResident(2, "לוי");
  }
  void cleanup() { endTest(); }

  // The day opened on; the date, the months, the year and its neighbours shown.
  void opensWithTodayAndTheCurrentMonth_data() {
    test::cases(R"(
March | 15/03/2026 | מרץ | 2026 | 2025 | 2027
January | 01/01/2027 | ינואר | 2027 | 2026 | 2028
December | 31/12/2026 | דצמבר | 2026 | 2025 | 2027)");
  }
  void opensWithTodayAndTheCurrentMonth() {
    QFETCH(QStringList, c);
    setToday(QDate::fromString(c[0], "dd/MM/yyyy"));
    openPayments();
    QCOMPARE(
        shows({"inputdate", "from_month", "to_month", "year", "amount", "family", "forcombo", "payment", "apartment"})
            << combo("year")->itemText(0) << combo("year")->itemText(2) << focused() << combo("apartment")->itemText(0),
        (QStringList{c[0], c[1], c[1], c[2], "0", "", "", "", "", c[3], c[4], "apartment", "5"})); // 5 added first
    QCOMPARE(test::gridHeaders(control<QTableView>("DataGrid1")->model()).join('|'),
             "תאריך_קליטה|דירה|עבור|פירוט|מחודש|עד_חודש|שנה|סוג_תשלום|אסמכתא|סכום|קבלה|ביטול|שורה");
  }

  // The name follows the apartment typed or chosen; typed "1" with 11 and 1
  // listed, then Tab, stays apartment 1, never completed to 11. Enter in
  // the amount records (a focused button pressed by Enter: the debtors'
  // print, every window's); the date box is one Tab stop each way.
  void theApartmentIsTakenAsTypedAndEnterRecords() {
    test::addResident(11, "אחד עשר");
    test::addResident(1, "אחד");
    openPayments();
    QStringList names;
    combo("apartment")->setCurrentIndex(1);
    names << shows({"family"});
    for (const char *typed : {"05", "9"}) {
      fill({{"apartment", typed}});
      names << shows({"family"});
    }
    fill({{"apartment", ""}});
    QTest::keyClicks(combo("apartment"), "1");
    QTest::keyClick(combo("apartment"), Qt::Key_Tab);
    QCOMPARE(names + shows({"apartment", "family"}), (QStringList{"לוי", "כהן", "", "1", "אחד"}));

    fill({{"forcombo", "אחר"}, {"amount", "1,200"}});
    QTest::keyClick(control<QLineEdit>("amount"), Qt::Key_Return);
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(test::dump("SELECT apartment, amount FROM incoming"), "1|120000");
    QCOMPARE(tabsFrom(control<QDateEdit>("inputdate")), (QStringList{"family", "apartment"}));
  }

  // A header click sorts by its column, a second reverses, a third returns
  // to the order of recording; a new row is chosen where it sorts. Tab
  // leaves the grid for the next control, Shift+Tab for the one before.
  void headerClicksSortTheGrid() {
    test::addResident(11, "אחד עשר");
    test::addResident(7, "שבע");
    openPayments();
    for (const char *apartment : {"5", "2", "11"})
      pay(apartment, "מרץ", "מרץ", "100");
    auto *view = control<QTableView>("DataGrid1");
    QStringList orders;
    const auto sortByApartment = [&] {
      QHeaderView *header = view->horizontalHeader();
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(1) + header->sectionSize(1) / 2, 5));
      QStringList apartments;
      for (const QStringList &row : grid())
        apartments << row[1];
      orders << apartments.join(',');
    };
    sortByApartment();
    sortByApartment();
    pay("7", "מרץ", "מרץ", "50");
    orders << QString::number(view->currentIndex().row()); // 11, 7, 5, 2
    sortByApartment();
    QCOMPARE(orders, (QStringList{"2,5,11", "11,5,2", "1", "5,2,11,7"}));
    QCOMPARE(tabsFrom(view), (QStringList{"cancelRow", "addPart"}));
  }

  // Refused before anything is written, the fields kept to be corrected and
  // the focus on the field to correct (amounts by the one money rule).
  void refusesBadInputBeforeWriting_data() { // apartment/for/from/to/year/amount; the refusal, the focus
    const QString characters = texts::badCharacters.arg("עבור");
    test::cases({{"both mandatory empty", "//מרץ/מרץ/2026/100", texts::forRequired, "Command1"},
                 {"no apartment", "/אחר/מרץ/מרץ/2026/100", texts::apartmentRequired, "apartment"},
                 {"amount text", "5/אחר/מרץ/מרץ/2026/מאה", texts::badAmount, "amount"},
                 {"zero", "5/אחר/מרץ/מרץ/2026/0", texts::zeroAmount, "amount"},
                 {"zero agorot", "5/אחר/מרץ/מרץ/2026/0.00", texts::zeroAmount, "amount"},
                 {"'for' with a direction mark", "5/אחר\u200F/מרץ/מרץ/2026/100", characters, "Command1"},
                 {"'for' of spaces", "5/   /מרץ/מרץ/2026/100", texts::forRequired, "Command1"},
                 {"'for' with an override", "5/\u202Eאחר/מרץ/מרץ/2026/100", characters, "Command1"},
                 {"month not listed", "5/אחר/מרס/מרץ/2026/100", texts::badMonth, "from_month"},
                 {"across the end of the last year", "5/אחר/נובמבר/פבואר/2100/100", texts::badYear, "year"},
                 {"year too early", "5/אחר/מרץ/מרץ/1999/100", texts::badYear, "year"},
                 {"year text", "5/אחר/מרץ/מרץ/שנה/100", texts::badYear, "year"},
                 {"apartment text", "חמש/אחר/מרץ/מרץ/2026/100", texts::apartmentMissing, "apartment"},
                 {"beyond the building", "13/אחר/מרץ/מרץ/2026/100", texts::apartmentOutOfRange.arg(13).arg(12),
                  "apartment"}});
  }
  void refusesBadInputBeforeWriting() {
    QFETCH(QStringList, c);
    const QStringList typed = c[0].split('/');
    openPayments();
    control<QPushButton>("Command1")->setFocus();
    pay(typed[0], typed[2], typed[3], typed[5], typed[1], "15/03/2026", typed[4]);
    QCOMPARE(messages->shown, QStringList{c[1]});
    QCOMPARE(count("incoming") + count("trans") + count("anual_report"), 0);
    QCOMPARE(shows({"amount", "from_month"}) << focused(), (QStringList{typed[5], typed[2], c[2]}));
  }

  // Into incoming, the journal and the matrix; the grid, the status line
  // and the receipt. An amount under a shekel is an amount.
  void aPaymentTakesItsWholeRoad() {
    openPayments();
    fill({{"details", "דמי ועד"}, {"reference", "4711"}});
    combo("payment")->setCurrentIndex(1);
    pay("5", "מרץ", "מאי", "300");
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(test::dump("SELECT * FROM incoming"),
             "2026-03-15|5|ועד הבית|דמי ועד|מרץ|מאי|שיק|30000|1|2026||||4711|2026-03-15T12:00:00|");
    QCOMPARE(test::dump("SELECT inputdate, \"for\", amount, \"Type\", source_table, source_reciept FROM trans"),
             "2026-03-15|ועד הבית|30000|הכנסה|incoming|1");
    QCOMPARE(matrix(5, 2026), "5|כהן|2026|||10000|10000|10000||||||||30000|270000");
    QCOMPARE(test::text(grid()), "15/03/2026|5|ועד הבית|דמי ועד|מרץ|מאי|2026|שיק|4711|300.00|1|");
    // The fields stay for the next payment but its detail, and the new row is chosen.
    QCOMPARE(shows({"details", "payment", "statusLine"}), (QStringList{"", "שיק", texts::paymentRecorded.arg(1)}));
    QCOMPARE(control<QTableView>("DataGrid1")->currentIndex().row(), 0);
    QCOMPARE(test::text(test::table(*payments::receipt(test::books(), 1))),
             "פרט|ערך\nתאריך|15/03/2026\nדירה|5\nשם ומשפחה|כהן\nעבור|ועד הבית\nפירוט|דמי ועד\nחודשים|מרץ עד מאי\n"
             "שנה|2026\nאופן תשלום|שיק\nאסמכתא|4711\nסכום|300.00 ש\"ח\nסכום במילים|שלוש מאות שקלים");
    pay("2", "יוני", "יוני", "0.10");
    QCOMPARE(test::dump("SELECT amount FROM incoming WHERE reciept = 2"), "10");
  }

  // Payments as "from to amount [for]", then the months' cells (agorot) as
  // the matrix must hold them, and their total.
  void theMatrixIsTheSumOfThePayments_data() {
    test::cases(R"(
a month in two parts | מרץ מרץ 150, מרץ מרץ 150 | | | 30000 | | | | | | | | | | 30000
'other' credits the months | ינואר מרץ 750, פבואר פבואר 100 אחר | 25000 | 35000 | 25000 | | | | | | | | | | 85000
thirds: the agora left to the last | ינואר מרץ 100 | 3333 | 3333 | 3334 | | | | | | | | | | 10000
halves exact | אפריל מאי 125, יוני יולי 135 | | | | 6250 | 6250 | 6750 | 6750 | | | | | | 26000
months as usually spelled | פברואר ספטמבר 800 | | 10000 | 10000 | 10000 | 10000 | 10000 | 10000 | 10000 | 10000 | | | | 80000
a refund subtracts | דצמבר דצמבר 300, דצמבר דצמבר -100 | | | | | | | | | | | | 20000 | 20000)");
  }
  void theMatrixIsTheSumOfThePayments() {
    QFETCH(QStringList, c);
    openPayments();
    for (const QString &payment : c[0].split(", ")) {
      const QStringList parts = payment.split(' ');
      pay("5", parts[0], parts[1], parts[2], parts.value(3, "ועד הבית"));
    }
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(matrix(5, 2026), "5|כהן|2026|" + c.mid(1).join('|') + '|' + QString::number(300000 - c.last().toInt()));
    QCOMPARE(consistency::check(test::books()).size(), 0); // stored as the lists' items, as --check reads them
  }

  // Months from November to January run across the year's end: a row for
  // each year, one receipt, the amount shared by the dues in force (300
  // from January 2027 in the second), the agorot left to the later year.
  void aPaymentAcrossTheYearsEndIsSplit_data() {
    test::cases(R"(
dues alike | דצמבר | פבואר | 750 | 250 | דצמבר,דצמבר,2026,25000,;ינואר,פבואר,2027,50000,1 | 2026,25000,275000;2027,50000,250000
a raise in January | דצמבר | פבואר | 850 | 300 | דצמבר,דצמבר,2026,25000,;ינואר,פבואר,2027,60000,1 | 2026,25000,275000;2027,60000,300000
agorot to the later year | נובמבר | ינואר | 100 | 250 | נובמבר,דצמבר,2026,6666,;ינואר,ינואר,2027,3334,1 | 2026,6666,293334;2027,3334,296666)");
  }
  void aPaymentAcrossTheYearsEndIsSplit() {
    QFETCH(QStringList, c);
    test::books().exec("INSERT INTO dues (year, month, amount) VALUES (2027, 1, ?)", {c[3].toInt() * 100});
    openPayments();
    pay("5", c[0], c[1], c[2], "ועד הבית", "20/12/2026");
    QCOMPARE(messages->shown + shows({"statusLine"}), QStringList{texts::paymentRecorded.arg(1)});
    QCOMPARE(test::dump("SELECT from_month, to_month, year, amount, part_of FROM incoming") + ';' +
                 test::dump("SELECT year, total, depth FROM anual_report WHERE apartment = 5 ORDER BY year"),
             QString(c[4] + '/' + c[5]).replace(',', '|').replace(';', '\n').replace('/', ';'));
    QCOMPARE(test::dump("SELECT count(*), sum(amount) FROM trans"), "2|" + QString::number(c[2].toInt() * 100));
  }

  // Dues and a levy paid in one transfer: the first part held ("הוסף חלק
  // לקבלה"), the second typed, one receipt of both with the form's method
  // and reference, its total on paper; cancelling either row cancels the
  // receipt. A part is checked as it is held; parts of two apartments are refused.
  void aPaymentOfSeveralPartsIsOneReceipt() {
    QCOMPARE(levies::define(test::books(), {"גג", "300", QDate(2026, 4, 1), "1"}), QString());
    openPayments();
    fill({{"apartment", "5"}, {"forcombo", "ועד הבית"}, {"from_month", "מרץ"}, {"to_month", "מאי"}, {"amount", "0"}});
    click("addPart");
    fill({{"amount", "750"}});
    click("addPart");
    QCOMPARE(messages->shown + shows({"partsLine", "forcombo", "amount"}),
             (QStringList{texts::zeroAmount, "ועד הבית מרץ עד מאי 2026 750.00", "", "0"}));
    fill({{"forcombo", "גג"}, {"payment", "העברה בנקאית"}, {"reference", "99"}});
    pay("5", "מרץ", "מאי", "300", "גג");
    QCOMPARE(test::dump("SELECT reciept, from_month, year, amount, payment, reference, part_of FROM incoming"),
             "1|מרץ|2026|75000|העברה בנקאית|99|\n2|||30000|העברה בנקאית|99|1");
    QCOMPARE(shows({"statusLine", "partsLine"}) << grid()[0][10] << grid()[1][10],
             (QStringList{texts::paymentRecorded.arg(1), "", "1", "1"}));
    QCOMPARE(test::text(test::table(*payments::receipt(test::books(), 2))),
             "פרט|ערך\nתאריך|15/03/2026\nדירה|5\nשם ומשפחה|כהן\nעבור|ועד הבית, מרץ עד מאי 2026: 750.00 ש\"ח\n"
             "עבור|היטל: גג: 300.00 ש\"ח\nפירוט|\nאופן תשלום|העברה בנקאית\nאסמכתא|99\nסכום|1,050.00 ש\"ח\n"
             "סכום במילים|אלף וחמישים שקלים");
    cancel(1, QStringLiteral("טעות"));
    QCOMPARE(messages->asked + shows({"statusLine"}),
             (QStringList{texts::cancelQuestion.arg("קבלה מס' 1, תאריך 15/03/2026, דירה 5, סכום 1,050.00"),
                          texts::rowCancelled.arg(1)}));
    QCOMPARE(test::dump("SELECT count(cancelled), (SELECT sum(amount) FROM trans), (SELECT total FROM anual_report) "
                        "FROM incoming"),
             "2|0|0");
    messages->shown.clear();
    pay("5", "מרץ", "מרץ", "250");
    fill({{"amount", "100"}});
    click("addPart");
    pay("2", "מרץ", "מרץ", "250");
    QCOMPARE(messages->shown + shows({"partsLine"}),
             (QStringList{texts::partsOfOneApartment, "ועד הבית מרץ 2026 100.00"}));
    click("clearParts"); // the part dropped, the payment is apartment 2's alone
    pay("2", "מרץ", "מרץ", "250");
    QCOMPARE(test::dump("SELECT apartment, amount, part_of FROM incoming WHERE reciept > 3"), "2|25000|");
  }

  // "הוראות הקבע של החודש": last month's payments by standing order, not
  // cancelled, again for this month's date (its last day at most) and the
  // months after those they paid (one across the year's end taken whole);
  // one already recorded this month, in cash, or of the month before is
  // left out (moc reads a quote in a raw string as one: ש''ח). Declined, nothing is
  // written; confirmed, all are, and a second press finds none.
  void theMonthsStandingOrdersAreRecordedInOneGo_data() {
    test::cases(R"(
march | 15/03/2026 | 10/02/2026/5/ועד הבית/פבואר/פבואר/2026/250/הוראת קבע; 28/02/2026/2/ועד הבית/ינואר/פבואר/2026/500/הוראת קבע; 20/02/2026/2/חוב פתיחה////100/הוראת קבע; 15/02/2026/5/ועד הבית/מרץ/מרץ/2026/250/מזומן; 31/01/2026/5/ועד הבית/ינואר/ינואר/2026/250/הוראת קבע; 05/03/2026/2/חוב פתיחה////100/הוראת קבע | מרץ 2026 | דירה 5, ועד הבית מרץ 2026, 250.00 ש''ח; דירה 2, ועד הבית מרץ עד אפריל 2026, 500.00 ש''ח | 2026-03-10,5,מרץ,מרץ,2026,25000;2026-03-28,2,מרץ,אפריל,2026,50000 | נרשמו תשלומים, קבלות מס' 7, 8
the year's end | 31/01/2027 | 31/12/2026/5/ועד הבית/דצמבר/דצמבר/2026/250/הוראת קבע; 15/12/2026/2/ועד הבית/אוקטובר/נובמבר/2026/500/הוראת קבע; 20/12/2026/3/ועד הבית/דצמבר/ינואר/2026/500/הוראת קבע; 01/12/2026/5/ועד הבית/ינואר/ינואר/2027/300/בוטל | ינואר 2027 | דירה 2, ועד הבית דצמבר 2026 עד ינואר 2027, 500.00 ש''ח; דירה 3, ועד הבית פברואר עד מרץ 2027, 500.00 ש''ח; דירה 5, ועד הבית ינואר 2027, 250.00 ש''ח | 2027-01-15,2,דצמבר,דצמבר,2026,25000;2027-01-15,2,ינואר,ינואר,2027,25000;2027-01-20,3,פבואר,מרץ,2027,50000;2027-01-31,5,ינואר,ינואר,2027,25000 | נרשמו תשלומים, קבלות מס' 6, 8, 9
february: the last day at most | 10/02/2026 | 31/01/2026/5/ועד הבית/ינואר/ינואר/2026/250/הוראת קבע | פברואר 2026 | דירה 5, ועד הבית פברואר 2026, 250.00 ש''ח | 2026-02-28,5,פבואר,פבואר,2026,25000 | נרשם תשלום, קבלה מס' 2)");
  }
  void theMonthsStandingOrdersAreRecordedInOneGo() {
    QFETCH(QStringList, c);
    for (const QString &earlier : c[1].split("; ")) {
      const QStringList f = earlier.split('/');
      const QDate date(f[2].toInt(), f[1].toInt(), f[0].toInt());
      const qint64 reciept = test::recordPayment(
          {date, f[3], f[4], "", f[5], f[6], f[9] == "בוטל" ? texts::standingOrder : f[9], f[8], f[7]});
      if (f[9] == "בוטל")
        QCOMPARE(payments::cancel(test::books(), reciept, "טעות", date), QString());
    }
    const int before = count("incoming");
    setToday(QDate::fromString(c[0], "dd/MM/yyyy"));
    openPayments();
    messages->yes = false;
    click("standingOrders");
    QCOMPARE(count("incoming"), before);
    messages->yes = true;
    click("standingOrders");
    QCOMPARE(messages->asked,
             QStringList(2, texts::standingOrdersQuestion.arg(c[2], c[3].replace("; ", "\n").replace("''", "\""))));
    QCOMPARE(test::dump("SELECT inputdate, apartment, from_month, to_month, year, amount, payment FROM incoming "
                        "WHERE reciept > ?",
                        {before}),
             c[4].replace(',', '|').replace(';', "|הוראת קבע\n") + "|הוראת קבע");
    QCOMPARE(shows({"statusLine"}), QStringList{c[5]});
    const int recorded = count("incoming");
    click("standingOrders");
    QCOMPARE(messages->shown, QStringList{texts::noStandingOrders});
    QCOMPARE(count("incoming"), recorded);
  }

  // The year box follows the entry date until the user sets another year
  // (passing through it with Tab sets nothing), and the year chosen picks
  // the matrix row; after a recording it follows the date again, the
  // detail cleared for the next payment.
  void theYearBoxChoosesTheMatrixRow() {
    openPayments();
    combo("to_month")->setFocus();
    QTest::keyClick(combo("to_month"), Qt::Key_Tab);
    QCOMPARE(focused(), QStringLiteral("year"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    fill({{"inputdate", "20/12/2026"}});
    QStringList years = shows({"year"});
    combo("year")->setFocus();
    combo("year")->lineEdit()->selectAll();
    QTest::keyClicks(combo("year")->lineEdit(), "2027");
    fill({{"inputdate", "21/12/2026"}, {"details", "ינואר הבא"}});
    years << shows({"year"}); // chosen, it stays
    pay("2", "ינואר", "ינואר", "250", "ועד הבית", "21/12/2026");
    // Recorded, it follows the date again.
    QCOMPARE(years + shows({"details", "year"}) << combo("year")->itemText(0) << grid()[0][6],
             (QStringList{"2026", "2027", "", "2026", "2025", "2027"}));
    QCOMPARE(matrix(2, 2027) + ';' + matrix(2, 2026), "2|לוי|2027|25000||||||||||||25000|275000;");
    // A typed year beyond the list, and a January entry for last November:
    // before the books' start (2026), it pays the opening debt, no month.
    pay("2", "נובמבר", "דצמבר", "500", "אחר", "03/01/2027", "2025");
    QCOMPARE(matrix(2, 2025), "2|לוי|2025|||||||||||||0|0");
    QCOMPARE(owing::lines(test::books(), 2, QDate(2027, 1, 3))[0], (QVariantList{"חוב פתיחה", 50000, 0, -50000}));
    // Nor does the meeting report show such months as paid.
    test::pay(5, "נובמבר-דצמבר", "500", QDate(2025, 12, 20), 2025);
    QCOMPARE(test::table(meeting::payments(test::books(), QDate(2025, 11, 1), QDate(2025, 12, 31), false))[5].mid(1, 3),
             (QStringList{"", "", "0.00"}));
  }

  // A levy is defined, charged to every apartment, changed for one, paid
  // through the payments window (apart from the months), and then cannot
  // be deleted.
  void aLevyIsChargedAndPaid() {
    window = openShared<LeviesWindow>();
    fill({{"levyName", "גג"}, {"levyAmount", "900.50"}, {"levyDue", "01/04/2026"}, {"levyInstalments", "3"}});
    click("addLevy");
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(test::text(grid("leviesList")), "גג|01/04/2026|3|10,806.00|0.00");
    QCOMPARE(grid("chargesList").size(), 12); // every apartment of the building
    fill({{"chargeApartment", "5"}, {"chargeAmount", "1500"}});
    click("saveCharge");
    QCOMPARE(grid("chargesList")[4], (QStringList{"5", "", "1,500.00", "0.00"}));

    openPayments();
    QCOMPARE(combo("forcombo")->itemText(3), QStringLiteral("גג"));     // after the opening debt
    test::books().exec("DELETE FROM levy_charges WHERE apartment = 2"); // only those it charges pay it
    pay("2", "מרץ", "מרץ", "100", "גג");
    pay("5", "מרץ", "מרץ", "500", "גג "); // a space after the name is the levy still
    QCOMPARE(messages->shown, QStringList{texts::levyNotCharged.arg("גג").arg(2)});
    QCOMPARE(test::dump("SELECT from_month, to_month, year, levy FROM incoming"), "|||1");
    QCOMPARE(count("anual_report"), 0); // the months are the dues' alone
    QCOMPARE(grid()[0][2], QStringLiteral("גג"));

    window = sharedWindow<LeviesWindow>();
    click("deleteLevy");
    QCOMPARE(messages->last(), texts::levyHasPayments);
    QCOMPARE(grid("leviesList")[0].mid(3), (QStringList{"10,505.00", "500.00"})); // 10,806 − 2 × 900.50 + 1,500
    // Paid by an apartment it no longer charges (as an older file may hold):
    // collected all the same, on the screen and the meeting's paper alike.
    test::books().exec("DELETE FROM levy_charges WHERE apartment = 5");
    QCOMPARE(test::table(meeting::printout(test::books(), QDate(2026, 1, 1), QDate(2026, 12, 31), false).sections[2])[1],
             (QStringList{"גג", "9,005.00", "500.00", "8,505.00"}));
  }

  // A whole split by shares: rounded down, the agorot left one each to the
  // largest remainders, a tie to the earlier; the whole, then the shares
  // and the parts, worked by hand.
  void aWholeIsSplitByShares_data() {
    test::cases(R"(
thirds: the tie to the first | 100000 | 1 1 1 | 33334 33333 33333
floor areas: the agora to the largest remainder | 1000000 | 8550 10000 12025 | 279640 327065 393295
a refund alike | -100000 | 1 1 1 | -33334 -33333 -33333
nothing | 0 | 5 7 | 0 0
one apartment | 12345 | 777 | 12345
past 64 bits before dividing | 9000000000000 | 100000000 1 | 8999999910000 90000)");
  }
  void aWholeIsSplitByShares() {
    QFETCH(QStringList, c);
    QList<qint64> weights;
    for (const QString &weight : c[1].split(' '))
      weights << weight.toLongLong();
    QStringList parts;
    for (const qint64 part : shares::split(c[0].toLongLong(), weights))
      parts << QString::number(part);
    QCOMPARE(parts.join(' '), c[2]);
  }

  // Shares typed in the levies window, a levy of 10,000 split by them:
  // 1-6 own 80 and 7-12 own 120.5 of 1,203; 80 comes to 665.004 and 120.5
  // to 1,001.662, leaving 4 agorot, to 1-4 (the larger remainder). An apartment
  // without a share refuses the split; the paper states the rule.
  void aLevyIsSplitByShares() {
    window = openShared<LeviesWindow>();
    for (const char *bad : {"0", "-3", "שמונים", "1.234", ""})
      fill({{"chargeApartment", bad[0] ? "1" : "13"}, {"shareValue", bad}}), click("saveShare");
    for (int apartment = 1; apartment <= 11; ++apartment)
      fill({{"chargeApartment", QString::number(apartment)}, {"shareValue", apartment <= 6 ? "80" : "120.5"}}),
          click("saveShare");
    fill({{"levyName", "חזית"}, {"levyAmount", "10,000"}, {"levyDue", "01/05/2026"}, {"levyInstalments", "2"}});
    control<QCheckBox>("levyByShares")->setChecked(true);
    click("addLevy");
    QStringList labels{control<QLabel>("amountLabel")->text()};
    QCOMPARE(count("levies") + count("levy_charges"), 0);
    fill({{"chargeApartment", "12"}, {"shareValue", "120.50"}});
    click("saveShare");
    click("addLevy");
    labels << control<QLabel>("amountLabel")->text();
    QCOMPARE(labels, (QStringList{"סך ההיטל לבניין:", "סכום לדירה:"})); // the box cleared once recorded
    QCOMPARE(messages->shown, (QStringList(4, texts::badShare) << texts::apartmentOutOfRange.arg(13).arg(12)
                                                               << texts::sharesMissing.arg("12")));
    QCOMPARE(test::text(grid("chargesList")),
             "1|80|665.01|0.00\n2|80|665.01|0.00\n3|80|665.01|0.00\n4|80|665.01|0.00\n5|80|665.00|0.00\n"
             "6|80|665.00|0.00\n7|120.5|1,001.66|0.00\n8|120.5|1,001.66|0.00\n9|120.5|1,001.66|0.00\n"
             "10|120.5|1,001.66|0.00\n11|120.5|1,001.66|0.00\n12|120.5|1,001.66|0.00");
    // The paper keeps the shares the levy was split by.
    fill({{"chargeApartment", "1"}, {"shareValue", "90"}});
    click("saveShare");
    test::Prints prints;
    click("printLevy");
    QCOMPARE(prints.texts, QStringList{"היטל: חזית"});
    QCOMPARE(prints.lines[0].mid(2, 2),
             (QStringList{"מועד התשלום הראשון: 01/05/2026, מספר תשלומים חודשיים: 2",
                          "חלוקה לפי חלק הדירה: 10,000.00 ש\"ח לפי 1203 חלקים. כל דירה חייבת בסכום כפול חלקה חלקי "
                          "סך החלקים, מעוגל כלפי מטה לאגורה; האגורות שנותרו ניתנו אחת לדירה, לפי השארית הגדולה, "
                          "ובשוויון לדירה שמספרה נמוך"}));
    QCOMPARE(prints.tables[0].first() + prints.tables[0][1] + prints.tables[0].last() << grid("chargesList")[0][1],
             (QStringList{"דירה", "חלק", "חיוב", "שולם", "1", "80", "665.01", "0.00", "סה\"כ", "", "10,000.00", "0.00",
                          "90"}));
  }

  // Refused with nothing written; an amount under a shekel is taken.
  void aLevyIsRefusedBeforeWriting_data() { // name, amount, instalments; the refusal
    test::cases({{"no name", " ", "100", "1", texts::levyNameRequired},
                 {"an isolate", "גג\u2069", "100", "1", texts::badCharacters.arg("שם ההיטל")},
                 {"the list's own item", "אחר", "100", "1", texts::levyNameTaken.arg("אחר")},
                 {"a levy's", "מעלית", "100", "1", texts::levyNameTaken.arg("מעלית")},
                 {"the opening debt", "חוב פתיחה", "100", "1", texts::levyNameTaken.arg("חוב פתיחה")},
                 {"a negative amount", "גג", "-5", "1", texts::negativeLevy},
                 {"no amount", "גג", "הרבה", "1", texts::badAmount},
                 {"no instalments", "גג", "100", "0", texts::badInstalments},
                 {"ten agorot", "גג", "0.10", "1", ""}});
  }
  void aLevyIsRefusedBeforeWriting() {
    QFETCH(QStringList, c);
    const QString message = c.takeLast();
    QCOMPARE(levies::define(test::books(), {"מעלית", "100", QDate(2026, 4, 1), "1"}), QString());
    const auto stored = [] { return test::dump("SELECT * FROM levies") + test::dump("SELECT * FROM levy_charges"); };
    const QString before = stored();
    QCOMPARE(levies::define(test::books(), {c[0], c[1], QDate(2026, 4, 1), c[2]}), message);
    QCOMPARE(count("levy_charges"), message.isEmpty() ? 24 : 12);
    if (!message.isEmpty())
      QCOMPARE(stored(), before);
  }

  // "חוב פתיחה" pays the opening debt and no month, whatever the month
  // boxes hold: nothing asked of its size (1,280 owed, no dues before the
  // books), no matrix row; the story shows it paid.
  void theOpeningDebtIsPaidAsSuch() {
    QCOMPARE(setOpeningDebt(test::books(), "5", "1280"), QString());
    openPayments();
    pay("5", "ינואר", "ינואר", "640.50", texts::openingDebt);
    pay("5", "מרץ", "מאי", "639.50", texts::openingDebt);
    QCOMPARE(messages->asked + messages->shown, QStringList());
    QCOMPARE(test::dump("SELECT from_month, to_month, year, levy, \"for\" FROM incoming"),
             "||||חוב פתיחה\n||||חוב פתיחה");
    QCOMPARE(count("anual_report"), 0);
    QCOMPARE(owing::lines(test::books(), 5, today())[0], (QVariantList{"חוב פתיחה", 128000, 128000, 0}));
  }

  // Escape closes an open list first; only the next one closes the window,
  // asking since "1" was typed. Typed and recorded, it closes unasked.
  void escapeClosesAnOpenListFirst() {
    test::addResident(12, "שתים עשרה");
    openPayments();
    QComboBox *apartment = combo("apartment");
    apartment->setFocus();
    QTest::keyClicks(apartment->lineEdit(), "1");
    QWidget *list = apartment->completer()->popup();
    QVERIFY(list->isVisible() && QApplication::activePopupWidget() == list); // "12" offered, the keys go to it
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(!list->isVisible() && window->isVisible());
    QCOMPARE(shows({"apartment"}) + messages->asked, QStringList{"1"});
    // A list dropped down, from the keyboard, closes alone too.
    combo("payment")->setFocus();
    QTest::keyClick(combo("payment"), Qt::Key_Down, Qt::AltModifier);
    QVERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QVERIFY(!QApplication::activePopupWidget() && window->isVisible() && messages->asked.isEmpty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(messages->asked, QStringList{texts::closeUnrecorded});
    QVERIFY(!window->isVisible());
    openPayments();
    QTest::keyClicks(control<QLineEdit>("details"), "March");
    pay("5", "מרץ", "מרץ", "250");
    window->close();
    QVERIFY(messages->asked.size() == 1 && !window->isVisible());
  }

  // Asked before writing, or not: the same payment again within ten minutes
  // ("just now") unless the first was cancelled meanwhile or is for another
  // year; an amount more than twice the dues of its months (250 a month
  // here). Declined, nothing is written; said yes, it is. The amount
  // recorded first, March 2026 (none; "-": cancelled); the second [seconds
  // after]; what is asked.
  void questionsBeforeWriting_data() {
    test::cases({{"the same again", "250", "מרץ מרץ 250 2026", texts::duplicatePayment},
                 {"ten minutes after", "250", "מרץ מרץ 250 2026 600", texts::duplicatePayment},
                 {"a second past ten minutes", "250", "מרץ מרץ 250 2026 601", ""},
                 {"another amount", "250", "מרץ מרץ 300 2026", ""},
                 {"the first cancelled", "-250", "מרץ מרץ 250 2026", ""},
                 {"another year", "250", "מרץ מרץ 250 2025", ""},
                 {"twice the dues", "", "מרץ אפריל 1000 2026", ""},
                 {"past twice the dues", "", "מרץ אפריל 1001 2026", texts::largePayment.arg("1001", "500")},
                 {"before the books: no dues", "", "נובמבר דצמבר 1001 2025", ""},
                 {"2,800 for one month", "", "מרץ מרץ 2800 2026", texts::largePayment.arg("2800", "250")},
                 {"across the year's end, four months", "", "נובמבר פבואר 2001 2026",
                  texts::largePayment.arg("2001", "1000")}});
  }
  void questionsBeforeWriting() {
    QFETCH(QStringList, c);
    const QString first = c[0];
    const QStringList second = c[1].split(' '), asked = c[2].isEmpty() ? QStringList() : QStringList{c[2]};
    openPayments();
    if (!first.isEmpty())
      pay("5", "מרץ", "מרץ", first.mid(first.startsWith('-')), "ועד הבית", "15/03/2026", "2026");
    if (first.startsWith('-'))
      cancel(0, QStringLiteral("טעות"));
    messages->asked.clear();
    messages->yes = false;
    setNow(now().addSecs(second.value(4).toInt()));
    pay("5", second[0], second[1], second[2], "ועד הבית", "15/03/2026", second[3]);
    QCOMPARE(messages->asked, asked);
    QCOMPARE(count("incoming"), (first.isEmpty() ? 0 : 1) + (asked.isEmpty() ? 1 : 0));
    messages->yes = true; // said yes, it is written: a receipt more (one across the year's end is two rows)
    click("Command1");
    QCOMPARE(test::dump("SELECT count(*) FROM incoming WHERE part_of IS NULL").toInt(),
             (first.isEmpty() ? 0 : 1) + (asked.isEmpty() ? 2 : 1));
  }

  void cancellingAPaymentUndoesItExactly() {
    test::Prints prints;
    openPayments();
    click("Command2");
    QCOMPARE(prints.tables[0].size(), 1); // the headers alone
    fill({{"details", "5 כוכבים"}});
    pay("5", "מרץ", "מאי", "300");
    const QString before = matrix(5, 2026);
    pay("5", "אפריל", "אפריל", "120.5", "אחר");
    QVERIFY(matrix(5, 2026) != before);

    cancel(1, QStringLiteral("טעות הקלדה"));
    QCOMPARE(messages->asked,
             QStringList{texts::cancelQuestion.arg("קבלה מס' 2, תאריך 15/03/2026, דירה 5, סכום 120.50")});
    QCOMPARE(messages->shown + shows({"statusLine"}), QStringList{texts::rowCancelled.arg(2)});
    QCOMPARE(matrix(5, 2026), before);
    // The journal takes it back on the day it was cancelled; the period's income is as before.
    QCOMPARE(test::dump("SELECT \"for\", sum(amount) FROM trans GROUP BY \"for\"") + '\n' +
                 test::dump("SELECT inputdate, amount, source_reciept FROM trans WHERE rowid = 3") + '\n' +
                 test::dump("SELECT cancelled, cancel_reason FROM incoming WHERE reciept = 2"),
             "אחר|0\nועד הבית|30000\n2026-03-15|-12050|2\n2026-03-15|טעות הקלדה");
    QCOMPARE(ledger::period(test::books(), QDate(2026, 1, 1), QDate(2026, 12, 31)).income.toString(),
             QStringLiteral("300"));
    // It stays in the grid, greyed with its reason, and out of the printout.
    auto *model = control<QTableView>("DataGrid1")->model();
    QCOMPARE((QStringList{grid()[1][payments::statusColumn], model->index(1, 3).data(Qt::ToolTipRole).toString()}),
             QStringList(2, "מבוטל: טעות הקלדה"));
    QCOMPARE(model->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
    QVERIFY(!model->index(0, 0).data(Qt::ForegroundRole).isValid());
    click("Command2");
    QCOMPARE(test::text(prints.tables[1]), "תאריך_קליטה|דירה|עבור|פירוט|מחודש|עד_חודש|שנה|סוג_תשלום|אסמכתא|סכום|קבלה\n"
                                           "15/03/2026|5|ועד הבית|5 כוכבים|מרץ|מאי|2026|||300|1");

    // Refused: twice (before the reason is asked), without a reason,
    // declined, no row chosen.
    cancel(1, QStringLiteral("שוב"));
    QCOMPARE(messages->shown, QStringList{texts::alreadyCancelled});
    QCOMPARE(messages->asked.size(), 1);
    QCOMPARE(payments::cancel(test::books(), 2, "שוב", today()), texts::alreadyCancelled);
    QCOMPARE(payments::cancel(test::books(), 99, "אין", today()), texts::rowMissing);
    cancel(0, QStringLiteral("  "));
    QCOMPARE(messages->last(), texts::reasonRequired);
    cancel(0, std::nullopt);
    QCOMPARE(messages->shown.size(), 2);
    control<QTableView>("DataGrid1")->clearSelection();
    click("cancelRow");
    QCOMPARE(messages->last(), texts::chooseRow);
    QCOMPARE(test::dump("SELECT count(cancelled), (SELECT count(*) FROM trans) FROM incoming"), "1|3");
  }

  void aFailingWriteLeavesNoTrace() {
    openPayments();
    pay("5", "מרץ", "מרץ", "250");
    const QString refused = test::refuseWrites("anual_report", "UPDATE");
    pay("5", "אפריל", "אפריל", "250");
    cancel(0, QStringLiteral("טעות"));
    // Several payments at once: the first written, the second failing, neither stays.
    const QString several = payments::record(test::books(),
                                             {{today(), "5", texts::openingDebt, "", "", "", "", "100", ""},
                                              {today(), "5", "ועד הבית", "", "מאי", "מאי", "", "250", "2026"}},
                                             payments::Receipts::EachOwn)
                                .message;
    const QString shown = texts::saveFailed.arg(texts::withDetail(texts::causeEngine, refused));
    QCOMPARE(messages->shown << several, (QStringList{shown, shown, shown}));
    QCOMPARE(test::dump("SELECT count(*), count(cancelled), (SELECT count(*) FROM trans), (SELECT count(*) FROM "
                        "anual_report) FROM incoming"),
             "1|0|1|1");
    QCOMPARE(grid().size(), 1);
  }

  void annualReportShowsTheChosenYear() {
    test::building("12", "250", "0", QDate(2025, 1, 1));
    openPayments();
    pay("5", "ינואר", "פבואר", "500");
    pay("2", "מרץ", "מרץ", "250");
    pay("5", "ינואר", "ינואר", "250", "ועד הבית", "01/06/2025");
    setToday(QDate(2026, 1, 1));
    test::books().exec("INSERT INTO anual_report (apartment, family, year) VALUES (9, 'ותיק', 1998)");
    window = openShared<AnualReportWindow>();
    QComboBox *year = combo("year");
    // Twenty years each way, and every year stored.
    QCOMPARE((QStringList{QString::number(year->count()), year->itemText(0), year->itemText(1), year->currentText()}),
             (QStringList{"42", "1998", "2006", "2026"}));
    auto *model = control<QTableView>("DataGrid1")->model();
    QCOMPARE(test::gridHeaders(model).join('|'), "דירה|שם_ומשפחה|ינואר|פברואר|מרץ|אפריל|מאי|יוני|יולי|אוגוסט|"
                                                 "ספטמבר|אוקטובר|נובמבר|דצמבר|סהכ|יתרת_חובה");
    QCOMPARE(test::gridRows(model)[1].join('|'), "5|כהן|250.00|250.00|||||||||||500.00|2,500.00"); // ten months unpaid
    // Typing a year without choosing it changes nothing; choosing reads it,
    // even the year shown.
    QList<qsizetype> shown;
    year->setCurrentIndex(year->findText("2025"));
    shown << test::gridRows(model).size();
    emit year->activated(year->currentIndex());
    shown << test::gridRows(model).size();
    window = sharedWindow<IncomingWindow>();
    pay("5", "אפריל", "אפריל", "250", "ועד הבית", "01/06/2025");
    window = sharedWindow<AnualReportWindow>();
    emit year->activated(year->currentIndex());
    QCOMPARE(shown, (QList<qsizetype>{2, 1}));
    QCOMPARE(test::gridRows(model)[0][5], QStringLiteral("250.00"));

    // On paper: every apartment of the building (1 to 12), though the
    // window shows two, and every other with a row that year (20, which
    // paid 1.00 of its 3.00), and the year's totals, amounts as on the
    // residents' papers. 5 paid 500 of 2025's 3,000; the eleven others of
    // the building owe the year.
    test::books().exec(
        "INSERT INTO anual_report (apartment, family, year, jan, total, depth) VALUES (20, 'x', 2025, 100, 100, 200)");
    test::Prints prints;
    click("Command1");
    QCOMPARE(prints.texts, QStringList{"דו\"ח תשלומים שנתי 2025"});
    const auto table = prints.tables[0];
    QCOMPARE((QList<qsizetype>{table.size(), table[0].size()}), (QList<qsizetype>{1 + 13 + 1, 16}));
    QCOMPARE(test::text({table[1], table[2], table[5], table[13], table.last()}),
             "1|" + texts::emptyApartment +
                 "|||||||||||||0.00|3,000.00\n2|לוי|||||||||||||0.00|3,000.00\n"
                 "5|כהן|250.00|||250.00|||||||||500.00|2,500.00\n20|x|1.00||||||||||||1.00|2.00\n"
                 "סה\"כ||251.00|||250.00|||||||||501.00|35,502.00");
  }
};

QTEST_MAIN(PaymentsTest)
#include "test_payments.moc"
