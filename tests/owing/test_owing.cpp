// Who owes and for which months, an apartment's story, levies falling due,
// receipts, the general-meeting report and grids saved for spreadsheets, on
// a building made in each test. Every figure is worked out by hand.
#include "testsupport.h"

struct Shares {
  QString amount;
  QList<qint64> dues, shares; // agorot, one a month from January
};

class OwingTest : public test::WindowTest {
  Q_OBJECT

  static qint64 pay(int apartment, const QString &months, const QString &amount, int year = 2026,
                    const QDate &date = QDate(2026, 2, 1)) {
    return test::pay(apartment, months, amount, date, year);
  }
  // The grid's rows as the paper prints them: amounts with two decimals.
  static QList<QStringList> onPaper(QList<QStringList> rows) {
    for (QStringList &row : rows)
      for (const int column : owing::debtorsMoney)
        row[column] += ".00";
    return rows;
  }

private slots:
  // Each month's share follows its dues, and the agorot left over go to the
  // last month, so the shares always sum to the amount.
  void sharesFollowTheDues_data() {
    QTest::addColumn<Shares>("c");
    QTest::newRow("870 over four") << Shares{"870", {25000, 25000, 25000, 25000}, {21750, 21750, 21750, 21750}};
    QTest::newRow("850 over three") << Shares{"850", {25000, 25000, 25000}, {28333, 28333, 28334}};
    QTest::newRow("a raise inside") << Shares{"530", {25000, 28000}, {25000, 28000}};
    QTest::newRow("part of two rates") << Shares{"100", {25000, 28000}, {4716, 5284}}; // 10000 × 250/530 = 4716.98
    QTest::newRow("no dues: equal parts") << Shares{"100", {0, 0, 0}, {3333, 3333, 3334}};
    QTest::newRow("a refund") << Shares{"-100", {25000, 25000, 25000}, {-3333, -3333, -3334}};
    QTest::newRow("one agora over two") << Shares{"0.01", {25000, 25000}, {0, 1}};
  }
  void sharesFollowTheDues() {
    QFETCH(Shares, c);
    matrix::Weights weights{};
    std::copy(c.dues.begin(), c.dues.end(), weights.begin());
    matrix::Cells cells;
    matrix::credit(cells, 0, int(c.dues.size()) - 1, *Money::parse(c.amount), weights);
    QList<qint64> credited;
    for (int m = 0; m <= c.dues.size(); ++m) // and the month after the range stays empty
      credited << cells[m].value_or(-1);
    QCOMPARE(credited, c.shares + QList<qint64>{-1});
  }

  void init() {
    startTest(QDate(2026, 3, 15));
    test::building("6", "250", "1000", QDate(2026, 1, 1), "הרצל 5", "חיפה");
    for (int apartment = 1; apartment <= 5; ++apartment)
      test::addResident(apartment, QStringLiteral("משפחה %1").arg(apartment));
  }
  void cleanup() { endTest(); }

  // Up to March at 250 a month: 1 paid nothing, 2 paid two parts of each
  // month (125 + 100 of 250), 3 paid the year ahead, 4 cancelled its
  // payment, 5 opened owing 750, paid 500 of it as November and December
  // 2025, and paid January; 6 stands empty.
  void debtorsOwnTheirMonths() {
    pay(2, "ינואר-מרץ", "375");
    pay(2, "ינואר-מרץ", "300");
    pay(3, "ינואר-דצמבר", "3000");
    QCOMPARE(payments::cancel(test::books(), pay(4, "ינואר-מרץ", "750"), "טעות", QDate(2026, 3, 1)), QString());
    pay(5, "ינואר", "250");
    QCOMPARE(setOpeningDebt(test::books(), "5", "750"), QString());
    pay(5, "נובמבר-דצמבר", "500", 2025);
    window = openShared<DebtorsWindow>();
    const QString all3 = "ינואר, פברואר, מרץ";
    const QList<QStringList> owing{{"1", "משפחה 1", "3", "750", "0", "750", all3, "0", "0", "750", "0"},
                                   {"2", "משפחה 2", "3", "750", "675", "75", all3, "0", "0", "75", "0"},
                                   {"4", "משפחה 4", "3", "750", "0", "750", all3, "0", "0", "750", "0"},
                                   {"5", "משפחה 5", "3", "750", "250", "500", "פברואר, מרץ", "250", "0", "750", "0"},
                                   {"6", "דירה ריקה", "3", "750", "0", "750", all3, "0", "0", "750", "0"}};
    QCOMPARE(grid("debtorsList"), owing);
    QCOMPARE(control<QLabel>("totals")->text(), texts::debtorsTotals.arg(5).arg("2825", "250", "0"));
    // Apartment 3's months after March are paid ahead: a credit, beside no debt.
    control<QCheckBox>("everyone")->setChecked(true);
    QCOMPARE(grid("debtorsList")[2], (QStringList{"3", "משפחה 3", "3", "750", "750", "0", "", "0", "0", "0", "2250"}));
    control<QCheckBox>("everyone")->setChecked(false);

    // Paper, by Enter on the focused button: headers in words, the rows, the sums.
    test::Prints prints;
    control<QPushButton>("printButton")->setFocus();
    QTest::keyClick(control<QPushButton>("printButton"), Qt::Key_Return);
    QCOMPARE(prints.tables[0],
             (QList<QStringList>{{"דירה", "שם ומשפחה", "חודשים", "לתשלום", "שולם", "פיגור", "חודשים שלא שולמו",
                                  "חוב משנים קודמות", "חוב היטלים", "סה\"כ חוב", "זכות"}} +
              onPaper(owing)));
    QCOMPARE(prints.lines[0], (QStringList{"הרצל 5, חיפה", "הודפס בתאריך 15/03/2026", "חייבים נכון לתאריך 15/03/2026",
                                           "מספר שורות: 5", "סה\"כ לתשלום: 3,750.00", "סה\"כ שולם: 925.00",
                                           "סה\"כ פיגור: 2,825.00", "סה\"כ חוב משנים קודמות: 250.00",
                                           "סה\"כ חוב היטלים: 0.00", "סה\"כ חוב: 3,075.00", "סה\"כ זכות: 0.00"}));

    control<QDateEdit>("asOf")->setDate(QDate(2026, 1, 31)); // a date in January owes one month
    QCOMPARE(grid("debtorsList")[0],
             (QStringList{"1", "משפחה 1", "1", "250", "0", "250", "ינואר", "0", "0", "250", "0"}));
    // Dues raised from March: January and February keep 250.
    QCOMPARE(saveBuilding(test::books(), {"6", "300", "1000", QDate(2026, 1, 1), "הרצל 5", "חיפה", QDate(2026, 3, 1)}),
             QString());
    control<QDateEdit>("asOf")->setDate(QDate(2026, 3, 31));
    QCOMPARE(grid("debtorsList")[0], (QStringList{"1", "משפחה 1", "3", "800", "0", "800", all3, "0", "0", "800", "0"}));
    // Before the books' start nothing is owed but the opening debt; what
    // paid part of it was paid on 01/02/2026, after that day.
    control<QDateEdit>("asOf")->setDate(QDate(2025, 12, 31));
    QCOMPARE(grid("debtorsList"),
             (QList<QStringList>{{"5", "משפחה 5", "0", "0", "0", "0", "", "750", "0", "750", "0"}}));
  }

  // A levy of 1,000 in three monthly instalments from 10/04: each falls due
  // on its own day, not the day after; the agorot that do not divide fall
  // due with the last (333.33, 333.33, 333.34). Who owes and the story
  // agree on what is due by the date.
  void aLevyFallsDueByItsInstalments_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<qint64>("due");
    QTest::newRow("the day before") << QDate(2026, 4, 9) << qint64(0);
    QTest::newRow("the first day") << QDate(2026, 4, 10) << qint64(33333);
    QTest::newRow("before the second") << QDate(2026, 5, 9) << qint64(33333);
    QTest::newRow("the second day") << QDate(2026, 5, 10) << qint64(66666);
    QTest::newRow("the last day") << QDate(2026, 6, 10) << qint64(100000);
  }
  void aLevyFallsDueByItsInstalments() {
    QFETCH(QDate, date);
    QFETCH(qint64, due);
    QCOMPARE(levies::define(test::books(), {"גג", "1000", QDate(2026, 4, 10), "3"}), QString());
    test::pay(1, "", "100", QDate(2026, 4, 1), 0, "גג");
    QCOMPARE(owing::accounts(test::books(), date)[0].levies.agorot(), std::max<qint64>(due - 10000, 0));
    const auto lines = owing::lines(test::books(), 1, date);
    QCOMPARE(*std::find_if(lines.begin(), lines.end(), [](const QVariantList &line) { return line[0] != "2026"; }),
             (QVariantList{texts::levyLine.arg("גג"), 10000, due, due - 10000}));
  }

  // Apartment 1 at 250 a month from January, its payments made on 15/01
  // ("months amount [year]"), as at a date: the arrears, the months listed,
  // the credit and the whole debt tell one story (what a month was paid
  // over its dues covers the earliest month lacking); a payment made after
  // the date does not count.
  void monthsAndAmountsTellOneStory_data() {
    QTest::addColumn<QStringList>("payments");
    QTest::addColumn<QDate>("asOf");
    QTest::addColumn<QStringList>("owes"); // arrears, months, credit, total
    QTest::newRow("January twice") << QStringList{"ינואר 250", "ינואר 250"} << QDate(2026, 2, 28)
                                   << QStringList{"0", "", "0", "0"};
    QTest::newRow("twice, a month early")
        << QStringList{"ינואר 250", "ינואר 250"} << QDate(2026, 1, 31) << QStringList{"0", "", "250", "0"};
    QTest::newRow("twice, March owed") << QStringList{"ינואר 500"} << QDate(2026, 3, 31)
                                       << QStringList{"250", "מרץ", "0", "250"};
    QTest::newRow("part of every month") << QStringList{"ינואר-מרץ 600"} << QDate(2026, 3, 31)
                                         << QStringList{"150", "ינואר, פברואר, מרץ", "0", "150"};
    QTest::newRow("paid after the date") << QStringList{"ינואר 250 2026 15/02/2026"} << QDate(2026, 1, 31)
                                         << QStringList{"250", "ינואר", "0", "250"};
    QTest::newRow("before the books: a credit")
        << QStringList{"דצמבר 250 2025"} << QDate(2026, 1, 31) << QStringList{"250", "ינואר", "250", "250"};
    QTest::newRow("a levy paid ahead") << QStringList{"- 300 0 15/01/2026 גג"} << QDate(2026, 1, 31)
                                       << QStringList{"250", "ינואר", "200", "250"};
  }
  void monthsAndAmountsTellOneStory() {
    QFETCH(QStringList, payments);
    QFETCH(QDate, asOf);
    QFETCH(QStringList, owes);
    for (const QString &payment : payments) {
      const QStringList p = payment.split(' '); // months, amount, year, date, for
      if (p.size() > 4)                         // a levy of 600 in six, 100 due each month from January
        QCOMPARE(levies::define(test::books(), {p[4], "600", QDate(2026, 1, 1), "6"}), QString());
      test::pay(1, p[0] == "-" ? "" : p[0], p[1], QDate::fromString(p.value(3, "15/01/2026"), "dd/MM/yyyy"),
                p.value(2, "2026").toInt(), p.value(4, "ועד הבית"));
    }
    const owing::Account a = owing::accounts(test::books(), asOf)[0];
    QCOMPARE((QStringList{a.arrears.toString(), a.unpaid.join(", "), a.credit.toString(), a.total().toString()}), owes);
  }

  // Fifteen months of a treasurer, each record typed on its day: books from
  // 01/09/2025 at 320; 3 opened owing 1,280 and pays it in two parts, 4
  // opened owing 500; 1 pays 2026 ahead on 08/01; the dues become 350 from
  // March (typed 10/03); a roof levy of 1,200 in three from 15/04; 3 is
  // sold on 15/05 (מזרחי to אלון). Every paper, compared whole.
  void aTreasurersFifteenMonths() {
    const auto on = [](int day, int month, int year) {
      setToday(QDate(year, month, day));
      return today();
    };
    on(1, 9, 2025);
    test::building("4", "320", "0", QDate(2025, 9, 1));
    test::books().exec("DELETE FROM neighbors");
    for (const auto &[apartment, family] : {std::pair{1, "כהן"}, {2, "לוי"}, {3, "מזרחי"}, {4, "פרץ"}})
      test::addResident(apartment, family);
    QCOMPARE(setOpeningDebt(test::books(), "3", "1280") + setOpeningDebt(test::books(), "4", "500"), QString());
    pay(1, "ספטמבר-דצמבר", "1280", 2025, on(5, 9, 2025));
    test::pay(3, "", "640.50", today(), 0, texts::openingDebt);
    pay(2, "ספטמבר", "320", 2025, today());
    test::pay(3, "", "639.50", on(10, 10, 2025), 0, texts::openingDebt);
    pay(4, "ספטמבר-אוקטובר", "640", 2025, today());
    test::recordExpense("חשמל", on(12, 11, 2025), "450.75");
    pay(1, "ינואר-דצמבר", "3840", 2026, on(8, 1, 2026));
    pay(2, "אוקטובר-דצמבר", "960", 2025, today());
    on(10, 3, 2026);
    QCOMPARE(saveBuilding(test::books(), {"4", "350", "0", QDate(2025, 9, 1), "", "", QDate(2026, 3, 1)}), QString());
    pay(2, "ינואר-מרץ", "990", 2026, on(15, 3, 2026)); // 320, 320, 350
    on(1, 4, 2026);
    QCOMPARE(levies::define(test::books(), {"גג", "1200", QDate(2026, 4, 15), "3"}), QString());
    test::pay(4, "", "400", on(20, 4, 2026), 0, "גג");
    on(15, 5, 2026);
    QCOMPARE(residents::update(test::books(), {3, "אלון", "", "", "", ""}), QString());
    pay(3, "אפריל-יוני", "1050", 2026, on(20, 5, 2026));
    on(30, 11, 2026);

    // The annual tables: 2025 charged September to December (1,280); 2026
    // charges 2 × 320 + 10 × 350 = 4,140, and 1's months stay 320 as paid.
    const QStringList none(8), four{"320.00", "320.00", "320.00", "320.00"};
    QCOMPARE(test::table(annual::printout(test::books(), 2025)).mid(1),
             (QList<QStringList>{QStringList{"1", "כהן"} + none + four + QStringList{"1,280.00", "0.00"},
                                 QStringList{"2", "לוי"} + none + four + QStringList{"1,280.00", "0.00"},
                                 QStringList{"3", "אלון"} + none + QStringList(4) + QStringList{"0.00", "1,280.00"},
                                 QStringList{"4", "פרץ"} + none +
                                     QStringList{"320.00", "320.00", "", "", "640.00", "640.00"},
                                 QStringList{"סה\"כ", ""} + none +
                                     QStringList{"960.00", "960.00", "640.00", "640.00", "3,200.00", "1,920.00"}}));
    const QStringList twelve(12, "320.00");
    QCOMPARE(
        test::table(annual::printout(test::books(), 2026)).mid(1),
        (QList<QStringList>{
            QStringList{"1", "כהן"} + twelve + QStringList{"3,840.00", "300.00"},
            QStringList{"2", "לוי", "320.00", "320.00", "350.00"} + QStringList(9) + QStringList{"990.00", "3,150.00"},
            QStringList{"3", "אלון", "", "", "", "350.00", "350.00", "350.00"} + QStringList(6) +
                QStringList{"1,050.00", "3,090.00"},
            QStringList{"4", "פרץ"} + QStringList(12) + QStringList{"0.00", "4,140.00"},
            QStringList{"סה\"כ", "", "640.00", "640.00", "670.00", "670.00", "670.00", "670.00", "320.00", "320.00",
                        "320.00", "320.00", "320.00", "320.00", "5,880.00", "10,680.00"}}));

    // Who owes at 28/02: the payments of 15/03 not yet made; 1 paid all and
    // ahead. At 30/11: 1 is 30 short for March to November, December ahead.
    const auto owes = [](const QDate &date) { return owing::debtorsRows(owing::accounts(test::books(), date), false); };
    const QString janFeb = "ינואר, פברואר", aprNov = "אפריל, מאי, יוני, יולי, אוגוסט, ספטמבר, אוקטובר, נובמבר";
    QCOMPARE(owes(QDate(2026, 2, 28)),
             (QList<QVariantList>{{2, "לוי", 2, 64000, 0, 64000, janFeb, 0, 0, 64000, 0},
                                  {3, "אלון", 2, 64000, 0, 64000, janFeb, 128000, 0, 192000, 0},
                                  {4, "פרץ", 2, 64000, 0, 64000, janFeb, 114000, 0, 178000, 0}}));
    QCOMPARE(owes(QDate(2026, 11, 30)),
             (QList<QVariantList>{
                 {1, "כהן", 11, 379000, 352000, 27000, "מרץ, " + aprNov, 0, 120000, 147000, 32000},
                 {2, "לוי", 11, 379000, 99000, 280000, aprNov, 0, 120000, 400000, 0},
                 {3, "אלון", 11, 379000, 105000, 274000, "ינואר, פברואר, מרץ, יולי, אוגוסט, ספטמבר, אוקטובר, נובמבר",
                  128000, 120000, 522000, 0},
                 {4, "פרץ", 11, 379000, 0, 379000, janFeb + ", מרץ, " + aprNov, 114000, 80000, 573000, 0}}));

    // The stories: 3 for the seller's settlement on 15/05 (the payment of
    // 20/05 not yet made; two levy instalments due), 1 at 30/11.
    QCOMPARE(owing::lines(test::books(), 3, QDate(2026, 5, 15)), (QList<QVariantList>{{"חוב פתיחה", 128000, 128000, 0},
                                                                                      {"2025", 0, 128000, 128000},
                                                                                      {"2026", 0, 169000, 169000},
                                                                                      {"היטל: גג", 0, 80000, 80000},
                                                                                      {"סה\"כ חוב", {}, {}, 377000}}));
    QCOMPARE(owing::lines(test::books(), 1, today()), (QList<QVariantList>{{"2025", 128000, 128000, 0},
                                                                           {"2026", 352000, 379000, 27000},
                                                                           {"שולם מראש", 32000, 0, -32000},
                                                                           {"היטל: גג", 0, 120000, 120000},
                                                                           {"סה\"כ חוב", {}, {}, 147000},
                                                                           {"זכות", {}, {}, -32000}}));

    // The meeting report for 01/09/2025–28/02/2026: the period's money,
    // who owes at its end, no levy yet, and the period's months.
    const listing::Printout report = meeting::printout(test::books(), QDate(2025, 9, 1), QDate(2026, 2, 28));
    QCOMPARE(test::table(report).mid(1), (QList<QStringList>{{"יתרת פתיחה ליום 01/09/2025", "0.00"},
                                                             {"הכנסות", "8,320.00"},
                                                             {"הוצאות", "450.75"},
                                                             {"תוצאת התקופה", "7,869.25"},
                                                             {"יתרת סגירה ליום 28/02/2026", "7,869.25"},
                                                             {"דירות חייבות ליום 28/02/2026", "3"},
                                                             {"פיגורים בשנת 2026", "1,920.00"},
                                                             {"חוב משנים קודמות", "2,420.00"},
                                                             {"חוב היטלים ליום 28/02/2026", "0.00"}}));
    QCOMPARE((QList<std::size_t>{report.sections.size(), report.layout.landscape}), (QList<std::size_t>{3, false}));
    QCOMPARE(test::table(report.sections[2]),
             (QList<QStringList>{
                 {"דירה", "שם ומשפחה", "09/2025", "10/2025", "11/2025", "12/2025", "01/2026", "02/2026", "סה\"כ",
                  "חוב ליום 28/02/2026"},
                 {"1", "כהן", "320.00", "320.00", "320.00", "320.00", "320.00", "320.00", "1,920.00", "0.00"},
                 {"2", "לוי", "320.00", "320.00", "320.00", "320.00", "", "", "1,280.00", "640.00"},
                 {"3", "אלון", "", "", "", "", "", "", "0.00", "1,920.00"},
                 {"4", "פרץ", "320.00", "320.00", "", "", "", "", "640.00", "1,780.00"},
                 {"סה\"כ", "", "960.00", "960.00", "640.00", "640.00", "320.00", "320.00", "3,840.00", "4,340.00"}}));
    // --check agrees with all of it, and --repair keeps what was paid.
    QCOMPARE(consistency::check(test::books()).size(), 0);
    test::books().exec("UPDATE anual_report SET jan = 0 WHERE apartment = 1 AND year = 2026");
    consistency::repair(test::books(), consistency::check(test::books()));
    QCOMPARE(test::rows("SELECT jan, dec FROM anual_report WHERE apartment = 1 AND year = 2026")[0],
             (QVariantList{32000, 32000}));
  }

  // Everything typed on one day, 30/11: six apartments, books from
  // 01/03/2026 at 250 a month, raised to 280 from June; apartment 1 is larger and pays
  // 400 from March; 2 opened owing 500 and paid 250 of it as December
  // 2025; 3 opened owing 1,000; an elevator levy of 1,200 each is due in
  // three instalments from 01/09; 4 paid two of them, 5 paid one that was
  // then cancelled; 6's resident, who paid nothing, is deleted. As at 30/11
  // the months due are March to November.
  void ownDuesADeletedResidentAndALevyPaidBack() {
    setToday(QDate(2026, 11, 30));
    test::building("6", "250", "12,340.50", QDate(2026, 3, 1), "הרצל 5", "חיפה");
    QCOMPARE(
        saveBuilding(test::books(), {"6", "280", "12,340.50", QDate(2026, 3, 1), "הרצל 5", "חיפה", QDate(2026, 6, 1)}),
        QString());
    QCOMPARE(addApartmentDues(test::books(), "1", "03/2026", "400") + setOpeningDebt(test::books(), "2", "500") +
                 setOpeningDebt(test::books(), "3", "1000") +
                 levies::define(test::books(), {"מעלית", "1200", QDate(2026, 9, 1), "3"}),
             QString());
    test::addResident(6, "שש");
    const QDate paid(2026, 3, 5), june(2026, 6, 5);
    pay(1, "מרץ-דצמבר", "4000", 2026, paid);
    pay(2, "דצמבר", "250", 2025, paid); // arrears from before the books
    pay(2, "מרץ-מאי", "750", 2026, paid);
    pay(2, "יוני-ספטמב", "1120", 2026, june);
    pay(3, "מרץ-אוגוסט", "1590", 2026, june); // across the raise: shares follow the dues
    pay(4, "מרץ-נובמבר", "2430", 2026, june);
    test::pay(4, "", "400", QDate(2026, 9, 2), 0, "מעלית");
    test::pay(4, "", "400", QDate(2026, 10, 2), 0, "מעלית");
    const qint64 returned = test::pay(5, "", "400", QDate(2026, 9, 3), 0, "מעלית");
    QCOMPARE(payments::cancel(test::books(), returned, "חזר", QDate(2026, 9, 10)), QString());
    QCOMPARE(residents::removalQuestion(test::books(), 6, today()),
             texts::removeResidentQuestion.arg(6).arg(0).arg("3630"));
    QCOMPARE(residents::remove(test::books(), 6), QString());

    // Who owes: 2,430 of dues from March (3 × 250 + 6 × 280), 3,600 for apartment 1.
    window = openShared<DebtorsWindow>();
    const QString all9 = "מרץ, אפריל, מאי, יוני, יולי, אוגוסט, ספטמבר, אוקטובר, נובמבר";
    QCOMPARE(grid("debtorsList"),
             (QList<QStringList>{
                 {"1", "משפחה 1", "9", "3600", "3600", "0", "", "0", "1200", "1200", "400"}, // December paid ahead
                 {"2", "משפחה 2", "9", "2430", "1870", "560", "אוקטובר, נובמבר", "250", "1200", "2010", "0"},
                 {"3", "משפחה 3", "9", "2430", "1590", "840", "ספטמבר, אוקטובר, נובמבר", "1000", "1200", "3040", "0"},
                 {"4", "משפחה 4", "9", "2430", "2430", "0", "", "0", "400", "400", "0"},
                 {"5", "משפחה 5", "9", "2430", "0", "2430", all9, "0", "1200", "3630", "0"},
                 {"6", "דירה ריקה", "9", "2430", "0", "2430", all9, "0", "1200", "3630", "0"}}));
    QCOMPARE(control<QLabel>("totals")->text(), texts::debtorsTotals.arg(6).arg("6260", "1250", "6400"));
    control<QDateEdit>("asOf")->setDate(QDate(2026, 6, 30));
    QCOMPARE(grid("debtorsList")[2],
             (QStringList{"5", "משפחה 5", "4", "1030", "0", "1030", "מרץ, אפריל, מאי, יוני", "0", "0", "1030", "0"}));
    // In the next year, 2026's unpaid dues are earlier years' debt: 2,710
    // for 5 (750 + 7 × 280), and for 2 the rest of its opening debt and 840.
    control<QDateEdit>("asOf")->setDate(QDate(2027, 1, 31));
    QCOMPARE(grid("debtorsList")[1],
             (QStringList{"2", "משפחה 2", "1", "280", "0", "280", "ינואר", "1090", "1200", "2570", "0"}));
    QCOMPARE(grid("debtorsList")[4],
             (QStringList{"5", "משפחה 5", "1", "280", "0", "280", "ינואר", "2710", "1200", "4190", "0"}));

    // On paper, 3's shares across the raise follow the dues (both saved at
    // one moment), and the levy's collection.
    QCOMPARE(test::table(annual::printout(test::books(), 2026))[3],
             (QStringList{"3", "משפחה 3", "", "", "250.00", "250.00", "250.00", "280.00", "280.00", "280.00", "", "",
                          "", "", "1,590.00", "1,120.00"}));
    QCOMPARE(
        test::table(meeting::printout(test::books(), QDate(2026, 1, 1), QDate(2026, 11, 30)).sections[2]),
        (QList<QStringList>{{"היטל", "חיוב", "נגבה", "יתרה לגבייה"}, {"מעלית", "7,200.00", "800.00", "6,400.00"}}));
    // A levy's receipt names it, with no months and no year.
    const QList<QStringList> receipt = test::table(*payments::receipt(test::books(), 7));
    QCOMPARE(receipt.mid(4, 2), (QList<QStringList>{{"עבור", "היטל: מעלית"}, {"פירוט", ""}}));
    QCOMPARE(receipt.size(), 1 + 8);
    test::recordExpense("מים", QDate(2026, 3, 1), "120.50");
    QCOMPARE(expenses::cancel(test::books(), 1, "כפול", QDate(2026, 3, 3)), QString());
    QCOMPARE(consistency::check(test::books()).size(), 0); // --check agrees with all of it, cancelled rows too
  }

  // The grid's context menu, from the keyboard, saves it as the user sees it.
  void aGridIsSavedAsCsv() {
    pay(2, "ינואר", "250");
    window = openShared<DebtorsWindow>();
    const QString path = database->folder() + "/debtors";
    messages::setSaveAnswer([&](const QString &) { return std::optional<QString>(path); });
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *list = control<QTableView>("debtorsList");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    list->findChild<QMenu *>()->actions().first()->trigger();
    messages::setSaveAnswer({});
    QFile file(path + ".csv");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()).split("\r\n").mid(0, 3),
             (QStringList{"\uFEFFדירה,שם_ומשפחה,חודשים,לתשלום,שולם,פיגור,חודשים_שלא_שולמו,חוב_משנים_קודמות,חוב_היטלים,"
                          "\"סה\"\"כ_חוב\",זכות",
                          "1,משפחה 1,3,750,0,750,\"ינואר, פברואר, מרץ\",0,0,750,0",
                          "2,משפחה 2,3,750,250,500,\"פברואר, מרץ\",0,0,500,0"}));
    QCOMPARE(messages->last(), texts::fileSaved.arg(path + ".csv"));
  }

  // Oldest first across the years, a cancelled one marked; each year's
  // credit, dues and balance (2025, before the books, charged nothing).
  // Double-clicking a payment opens it.
  void anApartmentsStory() {
    pay(2, "ינואר-מרץ", "750", 2026, QDate(2026, 3, 1));
    pay(2, "נובמבר-דצמבר", "500", 2025, QDate(2025, 12, 1));
    QCOMPARE(
        payments::cancel(test::books(), pay(2, "אפריל", "250", 2026, QDate(2026, 3, 2)), "כפול", QDate(2026, 3, 3)),
        QString());
    window = openShared<IncomingWindow>();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *payments = control<QTableView>("DataGrid1");
    const QPoint first = payments->visualRect(payments->model()->index(0, 0)).center();
    QTest::mouseClick(payments->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(payments->viewport(), Qt::LeftButton, {}, first);
    window = sharedWindow<StoryWindow>();
    QVERIFY(window && window->isVisible());
    QCOMPARE(control<QLabel>("family")->text(), QStringLiteral("משפחה 2"));
    QCOMPARE(grid("paymentsList"),
             (QList<QStringList>{
                 {"01/12/2025", "ועד הבית", "", "נובמבר", "דצמבר", "2025", "מזומן", "", "500", "2", ""},
                 {"01/03/2026", "ועד הבית", "", "ינואר", "מרץ", "2026", "מזומן", "", "750", "1", ""},
                 {"02/03/2026", "ועד הבית", "", "אפריל", "אפריל", "2026", "מזומן", "", "250", "3", "מבוטל: כפול"}}));
    QCOMPARE(test::gridHeaders(control<QTableView>("yearsList")->model()),
             (QStringList{"עבור", "זוכה", "לתשלום", "חוב"}));
    QCOMPARE(grid("yearsList"),
             (QList<QStringList>{{"חוב פתיחה", "500", "0", "\u2066-500\u2069"}, // 2025: before the books
                                 {"2026", "750", "750", "0"},
                                 {"סה\"כ חוב", "", "", "0"},
                                 {"זכות", "", "", "\u2066-500\u2069"}}));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(tabsFrom(control<QDateEdit>("asOf")), (QStringList{"showButton", "apartment"})); // one stop each way
    // As at another day: only what was paid by then (01/12/2025, for the months before the books).
    fill({{"asOf", "31/12/2025"}});
    QCOMPARE(grid("yearsList"), (QList<QStringList>{{"חוב פתיחה", "500", "0", "\u2066-500\u2069"},
                                                    {"סה\"כ חוב", "", "", "0"},
                                                    {"זכות", "", "", "\u2066-500\u2069"}}));
    test::Prints prints;
    click("printButton");
    QCOMPARE(prints.tables[0].size(), 1 + 2); // the cancelled one is not on paper
    control<QComboBox>("apartment")->setEditText("99");
    click("showButton");
    QCOMPARE(messages->shown, QStringList{texts::apartmentOutOfRange.arg(99).arg(6)});
  }

  // The receipt keeps its payment's number; a cancelled one says so.
  void aReceiptHoldsItsNumberAndAmount() {
    pay(1, "ינואר-מרץ", "750");
    const qint64 second = pay(2, "ינואר", "250");
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
                                                   {"סכום", "750.00 ש\"ח"},
                                                   {"סכום במילים", "שבע מאות וחמישים שקלים"}}));
    QCOMPARE(prints.lines[1], (QStringList{"הרצל 5, חיפה", "הודפס בתאריך 15/03/2026", "קבלה מס' 1",
                                           "ועד הבית, הרצל 5, חיפה", "", texts::treasurerSignature}));
    QCOMPARE(payments::cancel(test::books(), second, "טעות", QDate(2026, 3, 1)), QString());
    // A cancelled one says so across it, and when and why.
    const listing::PageModel cancelled = test::painted(*payments::receipt(test::books(), second));
    QCOMPARE(cancelled.lines, (QStringList{"קבלה מס' 2", "ועד הבית, הרצל 5, חיפה", "", texts::treasurerSignature,
                                           texts::receiptCancelled}));
    QCOMPARE(cancelled.pages[0].last(), (QStringList{"בוטלה", "בתאריך 01/03/2026, טעות"}));
    QVERIFY(!payments::receipt(test::books(), 99));
  }

  // A period opens with the opening balance (1,000 on 01/01/2026) and all
  // that came and went before it: a row dated on the period's first day is
  // the period's, counted once. The balance window, its printout and the
  // meeting report (on paper too, for the year) agree.
  void aPeriodOpensWithWhatCameBefore_data() {
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("balances"); // opening, closing; on paper
    QTest::newRow("the year") << QDate(2026, 1, 1) << QDate(2026, 12, 31)
                              << QStringList{"1000", "1600", "1,000.00", "1,600.00"};
    QTest::newRow("an expense on the first day")
        << QDate(2026, 2, 1) << QDate(2026, 2, 28) << QStringList{"1750", "1450", "1,750.00", "1,450.00"};
    QTest::newRow("a payment on the first day")
        << QDate(2026, 4, 2) << QDate(2026, 4, 2) << QStringList{"1450", "1700", "1,450.00", "1,700.00"};
    QTest::newRow("from March on") << QDate(2026, 3, 1) << QDate(2026, 12, 31)
                                   << QStringList{"1450", "1600", "1,450.00", "1,600.00"};
    QTest::newRow("May") << QDate(2026, 5, 1) << QDate(2026, 5, 31)
                         << QStringList{"1700", "1600", "1,700.00", "1,600.00"};
    QTest::newRow("into the next year") << QDate(2026, 4, 1) << QDate(2027, 1, 31)
                                        << QStringList{"1450", "1600", "1,450.00", "1,600.00"};
  }
  void aPeriodOpensWithWhatCameBefore() {
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, balances);
    pay(1, "ינואר-מרץ", "750", 2026, QDate(2026, 1, 10));
    pay(2, "ינואר", "250", 2026, QDate(2026, 4, 2));
    test::recordExpense("מים", QDate(2026, 2, 1), "300");
    test::recordExpense("חשמל", QDate(2026, 5, 1), "100");
    const meeting::Figures figures = meeting::figures(test::books(), from, to);
    QCOMPARE((QStringList{figures.opening.toString(), figures.closing().toString()}), balances.mid(0, 2));
    window = openShared<BalanceWindow>();
    control<QDateEdit>("DTPicker1")->setDate(from);
    control<QDateEdit>("DTPicker2")->setDate(to);
    click("Command1");
    QCOMPARE(
        (QStringList{control<QLabel>("Label8")->text(), control<QLabel>("bal")->text(),
                     control<QLabel>("Label11")->text(), control<QLabel>("Label12")->text(),
                     control<QLabel>("label1")->text()}),
        (QStringList{balances[0] + "ש'ח ", balances[1], "סה'כ הכנסות(ש'ח):" + figures.income.toDisplay(),
                     "סה'כ הוצאות(ש'ח):" + figures.expenses.toDisplay(), balance::years(from, to) + " מאזן שנתי "}));
    QCOMPARE(balance::printout(test::books(), from, to, ledger::period(test::books(), from, to)).layout.footer.mid(1),
             (QStringList{"יתרת פתיחה: " + balances[2], "יתרה לסוף התקופה: " + balances[3]}));
    if (QTest::currentDataTag() != QLatin1String("the year"))
      return;
    const listing::PageModel paper = test::painted(meeting::printout(test::books(), from, to));
    QCOMPARE(
        (QList<QStringList>{paper.pages[0][1], paper.pages[0][5]}),
        (QList<QStringList>{{"יתרת פתיחה ליום 01/01/2026", "1,000.00"}, {"יתרת סגירה ליום 31/12/2026", "1,600.00"}}));
    QCOMPARE(paper.lines, (QStringList{"דו\"ח לאסיפה כללית", "לתקופה 01/01/2026 עד 31/12/2026", "הכנסות לפי מטרה",
                                       "סה\"כ הכנסות: 1,000.00", "הוצאות לפי סוג", "סה\"כ הוצאות: 400.00",
                                       "תשלומים לתקופה 01/01/2026 עד 31/12/2026"}));
    QCOMPARE(paper.pages[2],
             (QList<QStringList>{
                 {"סוג הוצאה", "סכום", "חלק מההוצאות"}, {"חשמל", "100.00", "25.0%"}, {"מים", "300.00", "75.0%"}}));
  }
};

QTEST_MAIN(OwingTest)
#include "test_owing.moc"
