// Who owes and for which months, an apartment's story, levies falling due,
// receipts, the general-meeting report and grids saved for spreadsheets, on
// a building made in each test. Every figure is worked out by hand.
#include "testsupport.h"

class OwingTest : public test::WindowTest {
  Q_OBJECT

  static qint64 pay(int apartment, const QString &months, const QString &amount, int year = 2026,
                    const QDate &date = QDate(2026, 2, 1)) {
    return test::pay(apartment, months, amount, date, year);
  }
  static QString lines(qint64 apartment, const QDate &date) {
    return test::text(owing::lines(test::books(), apartment, date));
  }
  static QString owes(const QDate &date) {
    return test::text(owing::debtorsRows(owing::accounts(test::books(), date), false));
  }

private slots:
  // Each month's share follows its dues, and the agorot left over go to the
  // last month, so the shares always sum to the amount: the amount, then
  // each month's dues and share (agorot), from January.
  void sharesFollowTheDues_data() {
    test::cases(R"(
870 over four | 870 | 25000 21750 | 25000 21750 | 25000 21750 | 25000 21750
850 over three | 850 | 25000 28333 | 25000 28333 | 25000 28334
a raise inside | 530 | 25000 25000 | 28000 28000
part of two rates | 100 | 25000 4716 | 28000 5284
no dues: equal parts | 100 | 0 3333 | 0 3333 | 0 3334
a refund | -100 | 25000 -3333 | 25000 -3333 | 25000 -3334
one agora over two | 0.01 | 25000 0 | 25000 1)");
  }
  void sharesFollowTheDues() {
    QFETCH(QStringList, c);
    matrix::Weights weights{};
    QStringList shares;
    for (int m = 1; m < c.size(); ++m) {
      weights[m - 1] = c[m].section(' ', 0, 0).toLongLong();
      shares << c[m].section(' ', 1);
    }
    matrix::Cells cells;
    matrix::credit(cells, 0, int(c.size()) - 2, *Money::parse(c[0]), weights);
    QStringList credited;
    for (int m = 0; m < c.size(); ++m) // and the month after the range stays empty
      credited << QString::number(cells[m].value_or(-1));
    QCOMPARE(credited, shares << "-1");
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
    QCOMPARE(reminders::send(test::books(), {{2}, 1, today(), today(), "<שם>"}).refusal, QString());
    window = openShared<DebtorsWindow>();
    const QString owing = "1|משפחה 1|3|750.00|0.00|750.00|ינואר, פברואר, מרץ|0.00|0.00|750.00|0.00|\n"
                          "2|משפחה 2|3|750.00|675.00|75.00|ינואר, פברואר, מרץ|0.00|0.00|75.00|0.00|שלב 1, 15/03/2026\n"
                          "4|משפחה 4|3|750.00|0.00|750.00|ינואר, פברואר, מרץ|0.00|0.00|750.00|0.00|\n"
                          "5|משפחה 5|3|750.00|250.00|500.00|פברואר, מרץ|250.00|0.00|750.00|0.00|\n"
                          "6|דירה ריקה|3|750.00|0.00|750.00|ינואר, פברואר, מרץ|0.00|0.00|750.00|0.00|";
    QCOMPARE(test::text(grid("debtorsList")), owing);
    QCOMPARE(control<QLabel>("totals")->text(), texts::debtorsTotals.arg(5).arg("2,825.00", "250.00", "0.00"));
    // Apartment 3's months after March are paid ahead: a credit, beside no debt.
    control<QCheckBox>("everyone")->setChecked(true);
    QCOMPARE(grid("debtorsList")[2].join('|'), "3|משפחה 3|3|750.00|750.00|0.00||0.00|0.00|0.00|2,250.00|");
    control<QCheckBox>("everyone")->setChecked(false);
    // The grid's menu, from the keyboard, saves it as the user sees it.
    const QString path = database->folder() + "/debtors";
    messages::setSaveAnswer([&](const QString &) { return std::optional<QString>(path); });
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto *list = control<QTableView>("debtorsList");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    list->findChild<QMenu *>()->actions().first()->trigger();
    messages::setSaveAnswer({});
    QCOMPARE(QString::fromUtf8(test::bytes(path + ".csv")).split("\r\n").mid(0, 3) << messages->last(),
             (QStringList{"\uFEFFדירה,שם ומשפחה,חודשים,לתשלום,שולם,פיגור,חודשים שלא שולמו,חוב משנים קודמות,חוב היטלים,"
                          "\"סה\"\"כ חוב\",זכות,מכתב אחרון",
                          "1,משפחה 1,3,750.00,0.00,750.00,\"ינואר, פברואר, מרץ\",0.00,0.00,750.00,0.00,",
                          "2,משפחה 2,3,750.00,675.00,75.00,\"ינואר, פברואר, מרץ\",0.00,0.00,75.00,0.00,\"שלב 1, 15/03/2026\"",
                          texts::fileSaved.arg(path + ".csv")}));

    // Paper, by Enter on the focused button: headers in words, the rows, the sums.
    test::Prints prints;
    control<QPushButton>("printButton")->setFocus();
    QTest::keyClick(control<QPushButton>("printButton"), Qt::Key_Return);
    QCOMPARE(test::text(prints.tables.value(0)),
             "דירה|שם ומשפחה|חודשים|לתשלום|שולם|פיגור|חודשים שלא שולמו|חוב משנים קודמות|חוב היטלים|סה\"כ חוב|זכות|מכתב אחרון\n" +
                 owing);
    QCOMPARE(prints.lines.value(0).join('|'), "הרצל 5, חיפה|הודפס בתאריך 15/03/2026|חייבים נכון לתאריך 15/03/2026|"
                                        "מספר שורות: 5|סה\"כ לתשלום: 3,750.00|סה\"כ שולם: 925.00|סה\"כ פיגור: "
                                        "2,825.00|סה\"כ חוב משנים קודמות: 250.00|סה\"כ חוב היטלים: 0.00|סה\"כ חוב: "
                                        "3,075.00|סה\"כ זכות: 0.00");

    // A date in January owes one month (a raise's months: the fifteen
    // months'). Before the books' start nothing is owed but the opening
    // debt; what paid part of it was paid on 01/02/2026, after that day.
    QStringList first;
    control<QDateEdit>("asOf")->setDate(QDate(2026, 1, 31));
    first << grid("debtorsList")[0].join('|');
    control<QDateEdit>("asOf")->setDate(QDate(2025, 12, 31));
    first << test::text(grid("debtorsList"));
    QCOMPARE(first, (QStringList{"1|משפחה 1|1|250.00|0.00|250.00|ינואר|0.00|0.00|250.00|0.00|",
                                 "5|משפחה 5|0|0.00|0.00|0.00||750.00|0.00|750.00|0.00|"}));
  }

  // A levy of 1,000 in three monthly instalments from 10/04, 100 paid on
  // 01/04: each falls due on its own day, not the day after; the agorot
  // that do not divide fall due with the last (333.33, 333.33, 333.34). Who
  // owes and the story agree on what is due by the date.
  void aLevyFallsDueByItsInstalments_data() {
    test::cases(R"(
the day before | 09/04/2026 | 0
the first day | 10/04/2026 | 33333
before the second | 09/05/2026 | 33333
the second day | 10/05/2026 | 66666
the last day | 10/06/2026 | 100000)");
  }
  void aLevyFallsDueByItsInstalments() {
    QFETCH(QStringList, c);
    const QDate date = QDate::fromString(c[0], "dd/MM/yyyy");
    const qint64 due = c[1].toLongLong();
    QCOMPARE(levies::define(test::books(), {"גג", "1000", QDate(2026, 4, 10), "3"}), QString());
    test::pay(1, "", "100", QDate(2026, 4, 1), 0, "גג");
    QCOMPARE(owing::accounts(test::books(), date)[0].levies.agorot(), std::max<qint64>(due - 10000, 0));
    const auto lines = owing::lines(test::books(), 1, date);
    QCOMPARE(*std::find_if(lines.begin(), lines.end(), [](const QVariantList &line) { return line[0] != "2026"; }),
             (QVariantList{texts::levyLine.arg("גג"), 10000, due, due - 10000}));
  }

  // Apartment 1 at 250 a month from January, its payments made on 15/01
  // ("months amount [year [date [levy]]]"), as at a date: the arrears, the
  // months listed, the credit and the whole debt tell one story (what a
  // month was paid over its dues covers the earliest month lacking); a
  // payment made after the date does not count.
  void monthsAndAmountsTellOneStory_data() {
    test::cases(R"(
January twice | ינואר 250, ינואר 250 | 28/02/2026 | 0 | | 0 | 0
twice, a month early | ינואר 250, ינואר 250 | 31/01/2026 | 0 | | 250 | 0
twice, March owed | ינואר 500 | 31/03/2026 | 250 | מרץ | 0 | 250
part of every month | ינואר-מרץ 600 | 31/03/2026 | 150 | ינואר, פברואר, מרץ | 0 | 150
paid after the date | ינואר 250 2026 15/02/2026 | 31/01/2026 | 250 | ינואר | 0 | 250
before the books: a credit | דצמבר 250 2025 | 31/01/2026 | 250 | ינואר | 250 | 250
a levy paid ahead | - 300 0 15/01/2026 גג | 31/01/2026 | 250 | ינואר | 200 | 250)");
  }
  void monthsAndAmountsTellOneStory() {
    QFETCH(QStringList, c);
    for (const QString &payment : c[0].split(", ")) {
      const QStringList p = payment.split(' ');
      if (p.size() > 4) // a levy of 600 in six, 100 due each month from January
        QCOMPARE(levies::define(test::books(), {p[4], "600", QDate(2026, 1, 1), "6"}), QString());
      test::pay(1, p[0] == "-" ? "" : p[0], p[1], QDate::fromString(p.value(3, "15/01/2026"), "dd/MM/yyyy"),
                p.value(2, "2026").toInt(), p.value(4, "ועד הבית"));
    }
    const owing::Account a = owing::accounts(test::books(), QDate::fromString(c[1], "dd/MM/yyyy"))[0];
    QCOMPARE((QStringList{a.arrears.toString(), a.unpaid.join(", "), a.credit.toString(), a.total().toString()}),
             c.mid(2));
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
    // Reminders: a friendly word on 01/10 to 2, 3 and 4, a demand to 4 on
    // 01/11; each records the statement's debt of its day (4: 5,380, then 350 more).
    QCOMPARE(reminders::send(test::books(), {{2, 3, 4}, 1, on(1, 10, 2026), {}, texts::friendlyLetter}).refusal, "");
    QCOMPARE(
        reminders::send(test::books(), {{4}, 2, on(1, 11, 2026), QDate(2026, 11, 15), texts::demandLetter}).refusal, "");
    QCOMPARE(test::dump("SELECT apartment, person, stage, amount, sent, deadline FROM reminders ORDER BY id"),
             "2|לוי|1|365000|2026-10-01|\n3|אלון|1|487000|2026-10-01|\n4|פרץ|1|538000|2026-10-01|\n"
             "4|פרץ|2|573000|2026-11-01|2026-11-15");
    on(30, 11, 2026);

    // The annual tables: 2025 charged September to December (1,280); 2026
    // charges 2 × 320 + 10 × 350 = 4,140, and 1's months stay 320 as paid.
    QCOMPARE(test::text(test::table(annual::printout(test::books(), 2025)).mid(1)),
             "1|כהן|||||||||320.00|320.00|320.00|320.00|1,280.00|0.00\n"
             "2|לוי|||||||||320.00|320.00|320.00|320.00|1,280.00|0.00\n"
             "3|אלון|||||||||||||0.00|1,280.00\n"
             "4|פרץ|||||||||320.00|320.00|||640.00|640.00\n"
             "סה\"כ||||||||||960.00|960.00|640.00|640.00|3,200.00|1,920.00");
    QCOMPARE(
        test::text(test::table(annual::printout(test::books(), 2026)).mid(1)),
        "1|כהן|320.00|320.00|320.00|320.00|320.00|320.00|320.00|320.00|320.00|320.00|320.00|320.00|3,840.00|300.00\n"
        "2|לוי|320.00|320.00|350.00||||||||||990.00|3,150.00\n"
        "3|אלון||||350.00|350.00|350.00|||||||1,050.00|3,090.00\n"
        "4|פרץ|||||||||||||0.00|4,140.00\n"
        "סה\"כ||640.00|640.00|670.00|670.00|670.00|670.00|320.00|320.00|320.00|320.00|320.00|320.00|5,880.00|"
        "10,680.00");

    // Who owes at 28/02: the payments of 15/03 not yet made; 1 paid all and
    // ahead. At 30/11: 1 is 30 short for March to November, December ahead.
    QCOMPARE(owes(QDate(2026, 2, 28)), "2|לוי|2|64000|0|64000|ינואר, פברואר|0|0|64000|0|\n"
                                       "3|אלון|2|64000|0|64000|ינואר, פברואר|128000|0|192000|0|\n"
                                       "4|פרץ|2|64000|0|64000|ינואר, פברואר|114000|0|178000|0|");
    const QString aprNov = "אפריל, מאי, יוני, יולי, אוגוסט, ספטמבר, אוקטובר, נובמבר";
    QCOMPARE(owes(QDate(2026, 11, 30)),
             "1|כהן|11|379000|352000|27000|מרץ, " + aprNov + "|0|120000|147000|32000|\n2|לוי|11|379000|99000|280000|" +
                 aprNov +
                 "|0|120000|400000|0|שלב 1, 01/10/2026\n3|אלון|11|379000|105000|274000|ינואר, פברואר, מרץ, יולי, "
                 "אוגוסט, ספטמבר, אוקטובר, נובמבר|128000|120000|522000|0|שלב 1, 01/10/2026\n4|פרץ|11|379000|0|379000|"
                 "ינואר, פברואר, "
                 "מרץ, " +
                 aprNov + "|114000|80000|573000|0|שלב 2, 01/11/2026");

    // The stories: 3 for the seller's settlement on 15/05 (the payment of
    // 20/05 not yet made; two levy instalments due), 1 at 30/11.
    QCOMPARE(lines(3, QDate(2026, 5, 15)), "חוב פתיחה|128000|128000|0\n2025|0|128000|128000\n2026|0|169000|169000\n"
                                           "היטל: גג|0|80000|80000\nסה\"כ חוב|||377000");
    QCOMPARE(lines(1, today()), "2025|128000|128000|0\n2026|352000|379000|27000\nשולם מראש|32000|0|-32000\n"
                                "היטל: גג|0|120000|120000\nסה\"כ חוב|||147000\nזכות|||-32000");

    // The statements close on who owes' debt less its credit, as at the sale
    // and now (1 paid ahead: 2,970 of dues and 800 of the levy less 5,120;
    // now 6,270 in all less 5,120). 4's whole: the oldest charge is paid
    // first, and what is left is aged from its day (01/06 is 182 days old,
    // 01/09 is 90).
    for (const auto &[day, balances] : {std::pair{QDate(2026, 5, 15), "-1350 1500 3770 3230"},
                                        std::pair{today(), "1150 4000 5220 5730"}}) {
      QStringList closing, owed;
      for (const statements::Sheet &sheet : statements::sheets(test::books(), day, {1, 2, 3, 4}))
        closing << sheet.balance().toString();
      for (const owing::Account &account : owing::accounts(test::books(), day))
        owed << (account.total() - account.credit).toString();
      QCOMPARE(closing.join(' ') + " = " + owed.join(' '), balances + QString(" = ") + balances);
    }
    const listing::Printout sheet = statements::printout(statements::sheets(test::books(), today(), {4}));
    QCOMPARE(sheet.layout.title + '|' + sheet.layout.intro.join('|') + '|' + sheet.layout.footer.join('|') + '\n' +
                 test::text(test::table(sheet)) + '\n' + test::text(test::table(sheet.sections[0])),
             "דף חשבון - דירה 4|פרץ|ליום 30/11/2026|יתרה לתשלום ליום 30/11/2026: 5,730.00\n"
             "תאריך|פירוט|חיוב|זיכוי|יתרה\n01/09/2025|חוב פתיחה|500.00||500.00\n"
             "01/09/2025|דמי ועד ספטמבר 2025|320.00||820.00\n01/10/2025|דמי ועד אוקטובר 2025|320.00||1,140.00\n"
             "10/10/2025|תשלום, קבלה 5: ספטמבר עד אוקטובר 2025||640.00|500.00\n"
             "01/11/2025|דמי ועד נובמבר 2025|320.00||820.00\n01/12/2025|דמי ועד דצמבר 2025|320.00||1,140.00\n"
             "01/01/2026|דמי ועד ינואר 2026|320.00||1,460.00\n01/02/2026|דמי ועד פברואר 2026|320.00||1,780.00\n"
             "01/03/2026|דמי ועד מרץ 2026|350.00||2,130.00\n01/04/2026|דמי ועד אפריל 2026|350.00||2,480.00\n"
             "15/04/2026|היטל: גג, תשלום 1 מתוך 3|400.00||2,880.00\n"
             "20/04/2026|תשלום, קבלה 9: היטל: גג||400.00|2,480.00\n"
             "01/05/2026|דמי ועד מאי 2026|350.00||2,830.00\n15/05/2026|היטל: גג, תשלום 2 מתוך 3|400.00||3,230.00\n"
             "01/06/2026|דמי ועד יוני 2026|350.00||3,580.00\n15/06/2026|היטל: גג, תשלום 3 מתוך 3|400.00||3,980.00\n"
             "01/07/2026|דמי ועד יולי 2026|350.00||4,330.00\n01/08/2026|דמי ועד אוגוסט 2026|350.00||4,680.00\n"
             "01/09/2026|דמי ועד ספטמבר 2026|350.00||5,030.00\n01/10/2026|דמי ועד אוקטובר 2026|350.00||5,380.00\n"
             "01/11/2026|דמי ועד נובמבר 2026|350.00||5,730.00\n"
             "עד 30 יום|31-90 יום|91-180 יום|מעל 180 יום|סה\"כ חוב\n350.00|700.00|1,100.00|3,580.00|5,730.00");

    // The meeting report for 01/09/2025–28/02/2026: the period's money,
    // who owes at its end, no levy yet, and the period's months, by apartment.
    const listing::Printout report = meeting::printout(test::books(), QDate(2025, 9, 1), QDate(2026, 2, 28), false);
    QCOMPARE(test::text(test::table(report).mid(1)),
             "יתרת פתיחה ליום 01/09/2025|0.00\nהכנסות|8,320.00\nהוצאות|450.75\nתוצאת התקופה|7,869.25\n"
             "יתרת סגירה ליום 28/02/2026|7,869.25\nדירות חייבות ליום 28/02/2026|3\nפיגורים בשנת 2026|1,920.00\n"
             "חוב משנים קודמות|2,420.00\nחוב היטלים ליום 28/02/2026|0.00");
    QCOMPARE((QList<std::size_t>{report.sections.size(), report.layout.landscape}), (QList<std::size_t>{3, false}));
    QCOMPARE(test::text(test::table(report.sections[2])),
             "דירה|09/2025|10/2025|11/2025|12/2025|01/2026|02/2026|סה\"כ|חוב ליום 28/02/2026\n"
             "1|320.00|320.00|320.00|320.00|320.00|320.00|1,920.00|0.00\n"
             "2|320.00|320.00|320.00|320.00|||1,280.00|640.00\n"
             "3|||||||0.00|1,920.00\n"
             "4|320.00|320.00|||||640.00|1,780.00\n"
             "סה\"כ|960.00|960.00|640.00|640.00|320.00|320.00|3,840.00|4,340.00");
    // 4's claim names the letters before it, in its text and in a table.
    const reminders::Outcome claim = reminders::send(test::books(), {{4}, 3, today(), {}, "<מכתבים>"});
    QCOMPARE(claim.letters.value(0).body + '\n' + test::text(test::table(reminders::printout(claim.letters).sections[0])),
             "01/10/2026 (תזכורת ידידותית), 01/11/2026 (מכתב דרישה)\nתאריך|שלב|נמען|סכום\n"
             "01/10/2026|תזכורת ידידותית|פרץ|5,380.00\n01/11/2026|מכתב דרישה|פרץ|5,730.00");
    // --check agrees with all of it, and --repair keeps what was paid.
    QCOMPARE(consistency::check(test::books()).size(), 0);
    test::books().exec("UPDATE anual_report SET jan = 0 WHERE apartment = 1 AND year = 2026");
    consistency::repair(test::books(), consistency::check(test::books()));
    QCOMPARE(test::dump("SELECT jan, dec FROM anual_report WHERE apartment = 1 AND year = 2026"), "32000|32000");
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
        saveBuilding(test::books(), {"6", "280", "12,340.50", QDate(2026, 3, 1), "הרצל 5", "חיפה", QDate(2026, 6, 1)}) +
            addApartmentDues(test::books(), "1", "03/2026", "400") + setOpeningDebt(test::books(), "2", "500") +
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

    // Who owes: 2,430 of dues from March (3 × 250 + 6 × 280), 3,600 for
    // apartment 1, its December paid ahead.
    window = openShared<DebtorsWindow>();
    const QString all9 = "מרץ, אפריל, מאי, יוני, יולי, אוגוסט, ספטמבר, אוקטובר, נובמבר";
    QCOMPARE(test::text(grid("debtorsList")),
             "1|משפחה 1|9|3,600.00|3,600.00|0.00||0.00|1,200.00|1,200.00|400.00|\n"
             "2|משפחה 2|9|2,430.00|1,870.00|560.00|אוקטובר, נובמבר|250.00|1,200.00|2,010.00|0.00|\n"
             "3|משפחה 3|9|2,430.00|1,590.00|840.00|ספטמבר, אוקטובר, נובמבר|1,000.00|1,200.00|3,040.00|0.00|\n"
             "4|משפחה 4|9|2,430.00|2,430.00|0.00||0.00|400.00|400.00|0.00|\n5|משפחה 5|9|2,430.00|0.00|2,430.00|" +
                 all9 + "|0.00|1,200.00|3,630.00|0.00|\n6|דירה ריקה|9|2,430.00|0.00|2,430.00|" + all9 +
                 "|0.00|1,200.00|3,630.00|0.00|");
    QCOMPARE(control<QLabel>("totals")->text(), texts::debtorsTotals.arg(6).arg("6,260.00", "1,250.00", "6,400.00"));
    // Every debtor's statement, each on a page of its own with its debt by
    // age under it (1 owes the levy less its December paid ahead).
    click("allStatements");
    const listing::Printout &all = *printing::previewPrintout("statement");
    QStringList tables, debts;
    for (const QList<QStringList> &table : test::painted(all).pages)
      tables << table.first().join('|') + ' ' + table.last().last();
    for (const char *debt : {"800.00", "2,010.00", "3,040.00", "400.00", "3,630.00", "3,630.00"})
      debts << texts::statementHeaders + ' ' + debt << texts::agingHeaders + ' ' + debt;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter paper(&pdf);
    QCOMPARE(tables << QString::number(listing::paint(paper, all).pages), debts << "6");
    click("statementButton");
    QCOMPARE(messages->last(), texts::statementChooseRow);
    chooseRow(2, "debtorsList");
    click("statementButton");
    QCOMPARE(printing::preview("statement")->windowTitle(), "דף חשבון - דירה 3");
    // At 30/06; in the next year, 2026's unpaid dues are earlier years' debt:
    // 2,710 for 5 (750 + 7 × 280), and for 2 the rest of its opening debt and 840.
    control<QDateEdit>("asOf")->setDate(QDate(2026, 6, 30));
    QStringList rows{grid("debtorsList")[2].join('|')};
    control<QDateEdit>("asOf")->setDate(QDate(2027, 1, 31));
    rows << grid("debtorsList")[1].join('|') << grid("debtorsList")[4].join('|');
    QCOMPARE(rows, (QStringList{"5|משפחה 5|4|1,030.00|0.00|1,030.00|מרץ, אפריל, מאי, יוני|0.00|0.00|1,030.00|0.00|",
                                "2|משפחה 2|1|280.00|0.00|280.00|ינואר|1,090.00|1,200.00|2,570.00|0.00|",
                                "5|משפחה 5|1|280.00|0.00|280.00|ינואר|2,710.00|1,200.00|4,190.00|0.00|"}));

    // On paper, 3's shares across the raise follow the dues (both saved at
    // one moment). (A levy's collection, a payment cancelled: the small building's year.)
    QCOMPARE(test::table(annual::printout(test::books(), 2026))[3].join('|'),
             "3|משפחה 3|||250.00|250.00|250.00|280.00|280.00|280.00|||||1,590.00|1,120.00");
    // A levy's receipt names it, with no months and no year.
    const QList<QStringList> receipt = test::table(*payments::receipt(test::books(), 7));
    QCOMPARE(test::text(receipt.mid(4, 2)) + QString::number(receipt.size()), "עבור|היטל: מעלית\nפירוט|9");
    test::recordExpense("מים", QDate(2026, 3, 1), "120.50");
    QCOMPARE(expenses::cancel(test::books(), 1, "כפול", QDate(2026, 3, 3)), QString());
    QCOMPARE(consistency::check(test::books()).size(), 0); // --check agrees with all of it, cancelled rows too
  }

  // Reminders from who owes, at 15/03 with January to March due (750): 2
  // paid all; 3 owes a month; 4 pays by standing order and owes its
  // opening debt of 1,000 alone, so "more than 2 months" leaves it out
  // unless ticked. A refusal records nothing; the letters are recorded,
  // printed and linked.
  void remindersInStages() {
    pay(2, "ינואר-מרץ", "750");
    pay(3, "ינואר-פברואר", "500");
    QCOMPARE(setOpeningDebt(test::books(), "4", "1000"), QString());
    test::recordPayment({QDate(2026, 3, 1), "4", "ועד הבית", {}, "ינואר", "מרץ", texts::standingOrder, "750", "2026"});
    for (const auto &[phone, email, refusal] :
         {std::tuple{"050-1234567", "kohen@example.org", QString()}, {"05O-1234567", "", texts::badPhone.arg("05O-1234567")},
          {"", "kohen.example.org", texts::badEmail.arg("kohen.example.org")}, {"", "a@b@c", texts::badEmail.arg("a@b@c")}})
      QCOMPARE(residents::update(test::books(), {1, "משפחה 1", "", phone, "", email}), refusal);
    window = openShared<DebtorsWindow>();
    chooseRow(1, "debtorsList");
    click("remindersButton");
    window = sharedWindow<RemindersWindow>();
    const auto ticked = [this] {
      QStringList rows;
      auto *list = control<QListWidget>("apartments");
      for (int row = 0; row < list->count(); ++row)
        rows << (list->item(row)->checkState() == Qt::Checked ? "+ " : "- ") + list->item(row)->text();
      return rows;
    };
    QCOMPARE(ticked(), (QStringList{"- דירה 1 · משפחה 1 · 750.00", "+ דירה 3 · משפחה 3 · 250.00",
                                    "- דירה 4 · משפחה 4 · 1,000.00", "- דירה 5 · משפחה 5 · 750.00",
                                    "- דירה 6 · דירה ריקה · 750.00"}));
    click("chooseByMonths");
    QCOMPARE(ticked().replaceInStrings(QRegularExpression(" ·.*"), ""),
             (QStringList{"+ דירה 1", "- דירה 3", "- דירה 4", "+ דירה 5", "+ דירה 6"}));
    control<QComboBox>("stage")->setCurrentIndex(1);
    QCOMPARE(control<QPlainTextEdit>("body")->toPlainText(), texts::demandLetter);
    for (const auto &[deadline, body, refusal] :
         {std::tuple{"14/03/2026", texts::demandLetter, texts::letterPastDeadline.arg("14/03/2026")},
          {"29/03/2026", " \n ", texts::letterEmpty}}) {
      fill({{"deadline", deadline}});
      control<QPlainTextEdit>("body")->setPlainText(body);
      click("makeLetters");
      QCOMPARE(messages->last(), refusal);
    }
    QCOMPARE(count("reminders"), 0);
    control<QPlainTextEdit>("body")->setPlainText("<שם>, דירה <דירה>: <חוב> עד <מועד>. <תשלום>");
    fill({{"bank", "הפועלים"}, {"branch", "612"}, {"accountNumber", "345678"}});
    click("saveText");
    QCOMPARE(messages->last(), texts::letterTextSaved);
    click("makeLetters");
    QCOMPARE(messages->last(), texts::lettersRecorded.arg(3));
    QCOMPARE(test::dump("SELECT apartment, person, stage, amount, sent, deadline FROM reminders ORDER BY id"),
             "1|משפחה 1|2|75000|2026-03-15|2026-03-29\n5|משפחה 5|2|75000|2026-03-15|2026-03-29\n"
             "6|דירה ריקה|2|75000|2026-03-15|2026-03-29");
    const listing::Printout &letters = *printing::previewPrintout("letters");
    QCOMPARE(letters.layout.title + '|' + letters.layout.intro.join('|') + '|' + letters.layout.footer.join('|') + '\n' +
                 test::text(test::table(letters)) + '\n' + QString::number(letters.sections.size()),
             "מכתב דרישה|משפחה 1, דירה 1: 750.00 עד 29/03/2026. את התשלום אפשר להעביר לחשבון הוועד: בנק הפועלים, "
             "סניף 612, חשבון 345678, ובהערה לכתוב \"דירה 1\".|סה\"כ חוב ליום 15/03/2026: 750.00\n"
             "תאריך|פירוט|לתשלום\n01/01/2026|דמי ועד ינואר 2026|250.00\n01/02/2026|דמי ועד פברואר 2026|250.00\n"
             "01/03/2026|דמי ועד מרץ 2026|250.00\n2");
    // Links for the one with an address and a phone; Enter opens one.
    QList<QUrl> opened;
    messages::setLinkSink([&](const QUrl &link) { opened << link; });
    auto *links = control<QListWidget>("links");
    const QString text = "שלום משפחה 1, לפי ספרי ועד הבית חוב דירה 1 ליום 15/03/2026 הוא 750.00 ש\"ח. מכתב דרישה";
    QCOMPARE((QStringList{links->item(0)->text(), links->item(1)->text(), QString::number(links->count())}),
             (QStringList{"דירה 1 · kohen@example.org", "דירה 1 · 050-1234567", "2"}));
    links->setFocus();
    links->setCurrentRow(1);
    QTest::keyClick(links, Qt::Key_Return);
    messages::setLinkSink({});
    const auto said = [](const QUrl &link) {
      QStringList parts{link.adjusted(QUrl::RemoveQuery).toString()};
      for (const auto &[name, value] : QUrlQuery(link).queryItems(QUrl::FullyDecoded))
        parts << name + '=' + value;
      return parts.join('|');
    };
    QCOMPARE((QStringList{said(opened.value(0)), said(links->item(0)->data(Qt::UserRole).toUrl())}),
             (QStringList{"https://wa.me/972501234567|text=" + text,
                          "mailto:kohen@example.org|subject=ועד הבית: חוב דירה 1|body=" + text}));
    // A letter for a levy or the opening debt goes to the owner, one for
    // dues to the resident unless the dues are billed to the owner; an
    // apartment left empty still has its owner.
    const auto addressed = [](QList<qint64> apartments) {
      QStringList to;
      for (const reminders::Letter &letter : reminders::send(test::books(), {apartments, 1, today(), today(), "x"}).letters)
        to << letter.person + ' ' + letter.phone;
      return to.join(',');
    };
    QCOMPARE(residents::update(test::books(), {4, "משפחה 4", "", "", "", "", "אלון", "052-7654321"}) +
                 residents::update(test::books(), {5, "משפחה 5", "", "055", "", "", "בעלים 5"}),
             QString());
    QStringList to{addressed({4, 5})};
    QCOMPARE(reminders::saveCollection(test::books(), {"", "", "", true}) + residents::remove(test::books(), 4), "");
    to << addressed({4, 5});
    QCOMPARE(to, (QStringList{"אלון 052-7654321,משפחה 5 055", "אלון 052-7654321,בעלים 5 "}));
    // A levy of 100 in three from 01/01: each instalment on its day, the agorot left over in the last.
    QCOMPARE(levies::define(test::books(), {"גינה", "100", QDate(2026, 1, 1), "3"}), QString());
    QStringList instalments;
    const QList<statements::Sheet> sixth = statements::sheets(test::books(), today(), {6});
    for (const statements::Line &line : sixth[0].lines)
      if (line.text.startsWith("היטל"))
        instalments << dates::toShort(line.date) + ' ' + line.charge.toString();
    QCOMPARE(instalments.join(", "), "01/01/2026 33.33, 01/02/2026 33.33, 01/03/2026 33.34");
    // The story lists the letters.
    StoryWindow::openOn(1);
    window = sharedWindow<StoryWindow>();
    QCOMPARE(control<QLabel>("letters")->text(), "מכתבים שנשלחו: 15/03/2026 שלב 2 למשפחה 1 (750.00)");
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
    // The receipts keep their numbers: the newest, chosen on opening, is
    // cancelled and says so across it, when and why; then the first row's.
    test::Prints prints;
    click("printReceipt");
    chooseRow(0);
    click("printReceipt");
    QCOMPARE(prints.texts + prints.tables[0].last() + prints.tables[1][6] + prints.lines[0],
             (QStringList{"קבלה מס' 3", "קבלה מס' 1", "בוטלה", "בתאריך 03/03/2026, כפול", "חודשים", "ינואר עד מרץ",
                          "הרצל 5, חיפה", "הודפס בתאריך 15/03/2026", "קבלה מס' 3", "ועד הבית, הרצל 5, חיפה", "",
                          texts::treasurerSignature, texts::receiptCancelled}));
    QVERIFY(!payments::receipt(test::books(), 99));
    auto *payments = control<QTableView>("DataGrid1");
    const QPoint first = payments->visualRect(payments->model()->index(0, 0)).center();
    QTest::mouseClick(payments->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(payments->viewport(), Qt::LeftButton, {}, first);
    window = sharedWindow<StoryWindow>();
    QVERIFY(window && window->isVisible());
    QCOMPARE(control<QLabel>("family")->text(), QStringLiteral("משפחה 2"));
    QCOMPARE(test::text(grid("paymentsList")), "01/12/2025|ועד הבית||נובמבר|דצמבר|2025|מזומן||500.00|2||משפחה 2\n"
                                               "01/03/2026|ועד הבית||ינואר|מרץ|2026|מזומן||750.00|1||משפחה 2\n"
                                               "02/03/2026|ועד הבית||אפריל|אפריל|2026|מזומן||250.00|3|מבוטל: כפול|משפחה 2");
    const QString opening =
        "עבור|זוכה|לתשלום|חוב\nחוב פתיחה|500.00|0.00|\u2066-500.00\u2069\n"; // 2025: before the books
    const QString ends = "סה\"כ חוב|||0.00\nזכות|||\u2066-500.00\u2069";
    QCOMPARE(test::gridHeaders(control<QTableView>("yearsList")->model()).join('|') + '\n' +
                 test::text(grid("yearsList")),
             opening + "2026|750.00|750.00|0.00\n" + ends);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(tabsFrom(control<QDateEdit>("asOf")), (QStringList{"showButton", "apartment"})); // one stop each way
    // As at another day: only what was paid by then (01/12/2025, for the months before the books).
    fill({{"asOf", "31/12/2025"}});
    QCOMPARE("עבור|זוכה|לתשלום|חוב\n" + test::text(grid("yearsList")), opening + ends);
    click("printButton");
    QCOMPARE(prints.tables[2].size(), 1 + 2); // the cancelled one is not on paper
    control<QComboBox>("apartment")->setEditText("99");
    click("showButton");
    QCOMPARE(messages->shown, QStringList{texts::apartmentOutOfRange.arg(99).arg(6)});
  }

  // A period opens with the opening balance (1,000 on 01/01/2026) and all
  // that came and went before it: a row dated on the period's first day is
  // the period's, counted once. The balance window, its printout and the
  // meeting report (on paper too, for the year) agree. From, to, the
  // opening and closing balances, the years the window's title names.
  void aPeriodOpensWithWhatCameBefore_data() {
    test::cases(R"(
the year | 01/01/2026 | 31/12/2026 | 1,000.00 | 1,600.00 | 2026
an expense on the first day | 01/02/2026 | 28/02/2026 | 1,750.00 | 1,450.00 | 2026
a payment on the first day | 02/04/2026 | 02/04/2026 | 1,450.00 | 1,700.00 | 2026
from March on | 01/03/2026 | 31/12/2026 | 1,450.00 | 1,600.00 | 2026
May | 01/05/2026 | 31/05/2026 | 1,700.00 | 1,600.00 | 2026
into the next year | 01/04/2026 | 31/01/2027 | 1,450.00 | 1,600.00 | 2026–2027)");
  }
  void aPeriodOpensWithWhatCameBefore() {
    QFETCH(QStringList, c);
    const QDate from = QDate::fromString(c[0], "dd/MM/yyyy"), to = QDate::fromString(c[1], "dd/MM/yyyy");
    const auto shown = [](QString paper) { return paper.remove(',').remove(".00"); };
    pay(1, "ינואר-מרץ", "750", 2026, QDate(2026, 1, 10));
    pay(2, "ינואר", "250", 2026, QDate(2026, 4, 2));
    test::recordExpense("מים", QDate(2026, 2, 1), "300");
    test::recordExpense("חשמל", QDate(2026, 5, 1), "100");
    const meeting::Figures figures = meeting::figures(test::books(), from, to);
    QCOMPARE((QStringList{figures.opening.toPaper(), figures.closing().toPaper()}), c.mid(2, 2));
    window = openShared<BalanceWindow>();
    control<QDateEdit>("DTPicker1")->setDate(from);
    control<QDateEdit>("DTPicker2")->setDate(to);
    click("Command1");
    QCOMPARE(shows({"Label8", "bal", "label1"}), (QStringList{shown(c[2]) + "ש'ח ", shown(c[3]), c[4] + " מאזן שנתי "}));
    QCOMPARE(balance::printout(test::books(), from, to, ledger::period(test::books(), from, to)).layout.footer.mid(1),
             (QStringList{"יתרת פתיחה: " + c[2], "יתרה לסוף התקופה: " + c[3]}));
    if (QTest::currentDataTag() != QLatin1String("the year"))
      return;
    const listing::PageModel paper = test::painted(meeting::printout(test::books(), from, to, false));
    QCOMPARE(test::text({paper.pages[0][1], paper.pages[0][5]}),
             "יתרת פתיחה ליום 01/01/2026|1,000.00\nיתרת סגירה ליום 31/12/2026|1,600.00");
    QCOMPARE(paper.lines.join('|'), "דו\"ח לאסיפה כללית|לתקופה 01/01/2026 עד 31/12/2026|הכנסות לפי מטרה|"
                                    "סה\"כ הכנסות: 1,000.00|הוצאות לפי סוג|סה\"כ הוצאות: 400.00|"
                                    "תשלומים לתקופה 01/01/2026 עד 31/12/2026");
    QCOMPARE(test::text(paper.pages[2]), "סוג הוצאה|סכום|חלק מההוצאות\nחשמל|100.00|25.0%\nמים|300.00|75.0%");
  }
};

QTEST_MAIN(OwingTest)
#include "test_owing.moc"
