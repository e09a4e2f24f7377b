// Bank statements read from every layout the banks export, each file's
// whole reading (its bank, account and every line) or its refusal written
// out by hand in data/bank/readings.txt; the cells' dates and amounts.
#include "testsupport.h"

class BankTest : public test::WindowTest {
  Q_OBJECT

  static QString path(const QString &file) { return QStringLiteral(DOMIVA_TEST_DATA "/bank/") + file; }
  // A reading as text: the bank and account, then a line each: its row,
  // dates, words, amount and balance in agorot.
  static QString reading(const bank::Statement &statement) {
    if (!statement.failure.isEmpty())
      return texts::plain(statement.failure);
    QList<QStringList> rows{{statement.bank, statement.account}};
    for (const bank::Line &line : statement.lines)
      rows << QStringList{QString::number(line.row),
                          dates::toIso(line.date),
                          dates::toIso(line.valueDate),
                          line.description,
                          line.reference,
                          line.details,
                          line.note,
                          QString::number(line.amount.agorot()),
                          line.balance ? QString::number(line.balance->agorot()) : QString()};
    return test::text(rows);
  }

private slots:
  void init() { startTest(QDate(2026, 3, 15)); }
  void cleanup() { endTest(); }

  // A block a file: its name, then its reading; blocks apart by an empty line.
  void eachLayoutIsReadWhole_data() {
    QTest::addColumn<QString>("expected");
    for (const QString &block : QString::fromUtf8(test::bytes(path("readings.txt"))).split("\n\n"))
      QTest::newRow(qPrintable(block.section('\n', 0, 0))) << block.section('\n', 1).trimmed();
  }
  void eachLayoutIsReadWhole() {
    QFETCH(QString, expected);
    QCOMPARE(reading(bank::readFile(path(QTest::currentDataTag()))), expected);
  }

  // A cell read as a date and as an amount (agorot); "-" where it is none.
  void cellsAreReadExactly_data() {
    test::cases(R"(
day, month, year | 05/01/2026 | 2026-01-05 | -
one digit each | 5/1/2026 | 2026-01-05 | -
two-digit year | 03/02/25 | 2025-02-03 | -
dots | 07.06.2026 | 2026-06-07 | -
digits alone | 050126 | 2026-01-05 | 5012600
a spreadsheet's day | 46082 | 2026-03-01 | 4608200
a day that is not | 31/02/2026 | - | -
a month that is not | 01/13/2026 | - | -
too early | 01/01/1989 | - | -
thousands | 1,234.56 | - | 123456
padded and signed | +000001000.00 | - | 100000
padded debit | -000000012.50 | - | -1250
a spreadsheet's fraction | 1234.5600000000002 | - | 123456
ten agorot | 0.1 | - | 10
minus after | 100- | - | -10000
a shekel sign | ₪ 1,050.00 | - | 105000
a third decimal | 1.234 | - | -
a third decimal, long | 12.3450000001 | - | -
commas astray | 1,2,3 | - | -
words | הרבה | - | -
empty | | - | -)");
  }
  void cellsAreReadExactly() {
    QFETCH(QStringList, c);
    const auto date = bank::cellDate(c[0]);
    const auto amount = bank::cellAmount(c[0]);
    QCOMPARE((QStringList{date ? dates::toIso(*date) : "-", amount ? QString::number(amount->agorot()) : "-"}),
             c.mid(1));
  }

  // Each line kept once, the same line whichever file it is read from: the
  // file again adds nothing, an overlapping one only its new lines; two
  // alike in one file are two, another account's line is another; an
  // import that adds nothing leaves no statement.
  // A refusal, or a write that fails half-way, keeps nothing.
  void aStatementIsKeptOnce() {
    setNow(QDateTime(QDate(2026, 3, 15), QTime(9, 30)));
    const bank::Statement leumi = bank::readFile(path("leumi.xls"));
    bank::Statement later = leumi;
    later.lines = later.lines.mid(2);
    bank::Statement more = later;
    more.lines << more.lines.last();
    more.lines.last().date = QDate(2026, 1, 20);
    QStringList told;
    for (const bank::Statement &statement : {leumi, leumi, later, more, bank::readFile(path("notes.txt"))})
      told << texts::plain(bank::keep(test::books(), statement, "/home/גזבר/" + leumi.bank + ".xls").message);
    QCOMPARE(told.mid(0, 4), (QStringList{texts::bankKept.arg(5).arg(0), texts::bankAllIn.arg(5),
                                          texts::bankAllIn.arg(3), texts::bankKept.arg(1).arg(3)}));
    QCOMPARE(told[4], texts::plain(bank::readFile(path("notes.txt")).failure));
    bank::Statement other = leumi;
    other.account = "12-345-000000";
    QVERIFY(!bank::identities(leumi).contains(bank::identities(other)[0]));
    // (A server's numbers go on past a rollback: the statements are told by their dates.)
    QCOMPARE(test::dump("SELECT file, bank, account, first_date, last_date, lines, added, imported FROM "
                        "bank_statements ORDER BY id"),
             "לאומי.xls|לאומי|12-345-678901|2026-01-05|2026-01-12|5|5|2026-03-15T09:30:00\n"
             "לאומי.xls|לאומי|12-345-678901|2026-01-10|2026-01-20|4|1|2026-03-15T09:30:00");
    QCOMPARE(test::dump("SELECT s.last_date, l.inputdate, l.value_date, l.amount, l.balance FROM bank_lines l JOIN "
                        "bank_statements s ON s.id = l.statement ORDER BY l.id"),
             "2026-01-12|2026-01-05|2026-01-05|35000|1035000\n2026-01-12|2026-01-06|2026-01-06|-1250|1033750\n"
             "2026-01-12|2026-01-10|2026-01-11|-120000|913750\n2026-01-12|2026-01-12|2026-01-12|35000|948750\n"
             "2026-01-12|2026-01-12|2026-01-12|35000|983750\n2026-01-20|2026-01-20|2026-01-12|35000|983750");
    const QString refused = test::refuseWrites("bank_lines", "INSERT");
    more.lines.last().amount = Money::fromShekels(1);
    QCOMPARE(bank::keep(test::books(), more, "x.csv").message,
             texts::saveFailed.arg(texts::withDetail(texts::causeEngine, refused)));
    QCOMPARE(test::dump("SELECT count(*), (SELECT count(*) FROM bank_lines) FROM bank_statements"), "2|6");
  }

  // The payer and the apartment a line's words name.
  void aLineNamesItsPayer_data() {
    test::cases(R"(
an account beside the name | העברה מאת: כהן משה 12-345-678901 | חשבון 12-345-678901 | 0
a name after "מאת" | העברה מאת: כהן משה | שם כהן משה | 0
a name before "עבור" | העב' מאת לוי רות עבור ועד | שם לוי רות | 0
a name and an apartment | מאת פרץ דנה דירה 4 | שם פרץ דנה | 4
an apartment alone | הפקדה דירה מס' 12 | | 12
neither | עמלת ערוץ 2026 | | 0
too many digits for an apartment | דירה 12345 | | 0)");
  }
  void aLineNamesItsPayer() {
    QFETCH(QStringList, c);
    QCOMPARE((QStringList{bank::payer(c[0]), QString::number(bank::apartmentNamed(c[0]))}), c.mid(1));
  }

  // A credit recorded as payments: never more than it holds, while its
  // payments stand (a cancelled one frees it), never a debit; its payer is
  // then proposed: sure for one apartment, not for two.
  void aLineIsRecordedNoMoreThanItHolds() {
    test::building("12", "350");
    bank::keep(test::books(), bank::readFile(path("leumi.xls")), "leumi.xls");
    const auto pay = [](qint64 line, int apartment, const QString &amount) {
      return payments::record(test::books(), {QDate(2026, 1, 5), QString::number(apartment), "ועד הבית", "", "ינואר",
                                              "ינואר", "העברה בנקאית", amount, "2026", "1001", line})
          .message;
    };
    const auto proposed = [](qint64 line) {
      const bank::Proposal proposal = bank::propose(test::books(), line);
      QStringList apartments;
      for (const qint64 apartment : proposal.apartments)
        apartments << QString::number(apartment);
      return apartments.join(',') + (proposal.sure ? " sure" : "");
    };
    QStringList told{proposed(1), pay(1, 5, "350"), proposed(1), pay(1, 5, "0.01"), pay(2, 5, "12.50")};
    QCOMPARE(payments::cancel(test::books(), 1, "טעות", today()), QString());
    told << pay(1, 6, "350") << pay(4, 2, "200") << pay(4, 3, "150") << pay(5, 2, "200") << proposed(5)
         << pay(5, 2, "-10");
    // A debit as expenses, as payments are: a fee of 12.50.
    for (const auto &[line, amount] : {std::pair{2, "12.50"}, {2, "0.01"}, {3, "-1"}, {4, "1"}})
      told << expenses::record(test::books(), {"אחר", QDate(2026, 1, 6), "", "", "", amount, line}).message;
    QCOMPARE(told, (QStringList{"", "", "5 sure", texts::bankLineRecorded.arg("350.00", "350.00"),
                                texts::bankDebitNotPayment, "", "", "", "", "2,3", texts::bankPartNotPositive, "",
                                texts::bankLineRecorded.arg("12.50", "12.50"), texts::bankPartNotPositive,
                                texts::bankCreditNotExpense}));
    QCOMPARE(test::dump("SELECT line, source_table, source_reciept, amount FROM bank_records ORDER BY source_table, "
                        "source_reciept") +
                 '\n' + test::dump("SELECT payer, apartment FROM bank_payers ORDER BY payer, apartment"),
             "1|incoming|1|35000\n1|incoming|2|35000\n4|incoming|3|20000\n4|incoming|4|15000\n5|incoming|5|20000\n"
             "2|removals|1|1250\n"
             "שם כהן משה|5\nשם כהן משה|6\nשם לוי רות|2\nשם לוי רות|3");
    QCOMPARE(test::dump("SELECT count(*), (SELECT count(*) FROM removals) FROM incoming"), "5|1");
  }

  // What a credit of apartment 5 is proposed to pay, at 350 a month from
  // January 2026: the months it paid before (the dues' payment of 15/01),
  // then what else it owes ("levy", "opening", "raise": 400 from April),
  // the amount and the date.
  void aCreditPaysTheOldestDebtFirst_data() {
    test::cases(R"(
nothing paid: two months | - | - | 700 | 15/03/2026 | ועד הבית|ינואר|פבואר|2026
less than a month: one | - | - | 100 | 15/03/2026 | ועד הבית|ינואר|ינואר|2026
the unpaid then ahead | ינואר | - | 1050 | 15/03/2026 | ועד הבית|פבואר|אפריל|2026
a month paid in part is unpaid | ינואר-פבואר:500 | - | 350 | 15/03/2026 | ועד הבית|ינואר|ינואר|2026
a levy due | ינואר-מרץ | levy | 300 | 15/03/2026 | גג|||
the opening debt | ינואר-מרץ | opening | 300 | 15/03/2026 | חוב פתיחה|||
all paid: ahead | ינואר-מרץ | - | 700 | 15/03/2026 | ועד הבית|אפריל|מאי|2026
ahead across a raise | ינואר-מרץ | raise | 750 | 15/03/2026 | ועד הבית|אפריל|אפריל|2026
ahead into the next year | ינואר-דצמבר | - | 350 | 20/12/2026 | ועד הבית|ינואר|ינואר|2027)");
  }
  void aCreditPaysTheOldestDebtFirst() {
    QFETCH(QStringList, c);
    setToday(QDate(2026, 1, 15));
    test::building("12", "350");
    if (c[1] == "levy")
      QCOMPARE(levies::define(test::books(), {"גג", "300", QDate(2026, 3, 1), "1"}), QString());
    if (c[1] == "opening")
      QCOMPARE(setOpeningDebt(test::books(), "5", "300"), QString());
    if (c[1] == "raise")
      QCOMPARE(addApartmentDues(test::books(), "5", "04/2026", "400"), QString());
    if (c[0] != "-") {
      const QString range = c[0].section(':', 0, 0);
      const int count = range.contains('-') ? months::indexOfTyped(range.section('-', 1)) + 1 : 1;
      test::pay(5, range, c[0].contains(':') ? c[0].section(':', 1) : QString::number(350 * count), QDate(2026, 1, 15));
    }
    const bank::Purpose purpose =
        bank::purposeFor(test::books(), 5, *Money::parse(c[2]), QDate::fromString(c[3], "dd/MM/yyyy"));
    QCOMPARE((QStringList{purpose.forText, purpose.fromMonth, purpose.toMonth, purpose.year}).join('|'),
             c.mid(4).join('|'));
  }

  // The review as a treasurer works it: a file chosen and kept, its lines
  // with their proposals; a line recorded as the form holds it (Enter in
  // the amount), an expense proposed for a bank's fee, one refused and left
  // waiting; a payer matched once is sure the next time, and recorded with
  // the rest of the sure ones in one press, for the month after the paid one.
  void aStatementIsReviewedAndRecorded() {
    test::building("12", "350");
    window = openShared<StatementWindow>();
    messages->open = path("notes.txt");
    click("importButton");
    messages->open = path("leumi.xls");
    click("importButton");
    QCOMPARE(messages->shown, QStringList{bank::readFile(path("notes.txt")).failure});
    QCOMPARE(test::text(grid("linesList")) + '\n' + shows({"statusLine", "lineAmount", "lineFor"}).join('|'),
             "05/01/2026|העברה|העברה מאת: כהן משה|1001|350.00|0.00||ממתין\n"
             "06/01/2026|עמלה||0|\u2066-12.50\u2069|0.00|עמלות בנק|ממתין\n"
             "10/01/2026|הוראת קבע|חברת חשמל|2002|\u2066-1,200.00\u2069|0.00||ממתין\n"
             "12/01/2026|העברה|העברה מאת: לוי רות|1003|350.00|0.00||ממתין\n"
             "12/01/2026|העברה|העברה מאת: לוי רות|1003|350.00|0.00||ממתין\n" +
                 texts::bankKept.arg(5).arg(0) + "|350|ועד הבית");
    // A credit's form walks past the expense's fields.
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(tabsFrom(control<QLineEdit>("lineYear")), (QStringList{"lineAmount", "lineTo"}));
    fill({{"lineApartment", "5"}, {"lineFrom", "ינואר"}, {"lineTo", "ינואר"}, {"lineYear", "2026"}});
    QTest::keyClick(control<QLineEdit>("lineAmount"), Qt::Key_Return);
    QStringList chosen{shows({"lineCategory", "lineAmount"}).join('|')}; // the fee, next
    click("acceptLine");
    chosen << shows({"lineCategory", "lineAmount"}).join('|'); // the standing order: no category
    click("acceptLine");
    chooseRow(3, "linesList");
    fill({{"lineApartment", "2"}, {"lineFrom", "ינואר"}, {"lineTo", "ינואר"}, {"lineYear", "2026"}});
    click("acceptLine");
    chosen << test::text({grid("linesList")[4]}) << shows({"statusLine"});
    click("acceptSure");
    QCOMPARE(chosen << shows({"statusLine"}) << messages->shown.mid(1),
             (QStringList{"עמלות בנק|12.5", "|1200", "12/01/2026|העברה|העברה מאת: לוי רות|1003|350.00|0.00|דירה 2|בטוח",
                          texts::bankAccepted.arg(1), texts::bankAccepted.arg(1), texts::categoryRequired}));
    QCOMPARE(test::dump("SELECT inputdate, apartment, \"for\", detail, from_month, to_month, payment, amount, year, "
                        "reference FROM incoming") +
                 '\n' + test::dump("SELECT category, \"Date\", payby, detail, supplyer, amount FROM removals"),
             "2026-01-05|5|ועד הבית|העברה|ינואר|ינואר|העברה בנקאית|35000|2026|1001\n"
             "2026-01-12|2|ועד הבית|העברה|ינואר|ינואר|העברה בנקאית|35000|2026|1003\n"
             "2026-01-12|2|ועד הבית|העברה|פבואר|פבואר|העברה בנקאית|35000|2026|1003\n"
             "עמלות בנק|2026-01-06|העברה בנקאית|עמלה||1250");
    QStringList states;
    for (const QStringList &row : grid("linesList"))
      states << row[7];
    QCOMPARE(states, (QStringList{"נרשם", "נרשם", "ממתין", "נרשם", "נרשם"}));
    click("importButton"); // the same file again
    QCOMPARE(messages->last(), texts::bankAllIn.arg(5));
    // The statements kept: one, though chosen twice.
    QCOMPARE(test::text(grid("statementsList")),
             "leumi.xls|לאומי|\u206612-345-678901\u2069|05/01/2026|12/01/2026|5|5|\u206615/03/2026 12:00\u2069");
  }

  // The books against the bank, the books opened at 10,000 where the bank
  // stood: 350 and the fee of 12.50 recorded from their lines, 50 for water
  // on 08/01 and 100 paid in cash on 12/01 the books' alone. On 12/01 the
  // bank holds 9,837.50, the books 10,387.50: the standing order of 1,200
  // and two transfers of 350 are the bank's alone (−500), the water and
  // the cash the books' (50); nothing is left unexplained, nor on 11/01.
  // A bank not known: asked first (no: nothing kept), its columns named in
  // a dialog and checked there, kept for the bank, the file then read by
  // them; the next file of that bank is read unasked.
  void aStatementOfAnUnknownBankIsReadByColumnsNamedOnce() {
    window = openShared<StatementWindow>();
    messages->open = path("unknown.csv");
    messages->yes = false;
    click("importButton");
    QCOMPARE(messages->asked, QStringList{texts::bankUnknownLayout});
    QVERIFY(!window->findChild<QDialog *>());
    messages->yes = true;
    click("importButton");
    QCOMPARE(shows({"headerRow"}) << QString::number(control<QComboBox>("dateColumn")->count())
                                  << control<QComboBox>("amountColumn")->itemText(4),
             (QStringList{"2: יום | פירוט הפעולה | מספר | סכום התנועה | יתרה לאחר", "6", "סכום התנועה"}));
    QStringList refusals;
    for (const QList<std::pair<const char *, QString>> &choice : QList<QList<std::pair<const char *, QString>>>{
             {},
             {{"bankName", "בנק השכונה"}, {"dateColumn", "יום"}, {"descriptionColumn", "פירוט הפעולה"}},
             {{"amountColumn", "סכום התנועה"}, {"debitColumn", "מספר"}},
             {{"debitColumn", ""}, {"referenceColumn", "מספר"}, {"balanceColumn", "סכום התנועה"}},
             {{"balanceColumn", "יתרה לאחר"}}}) {
      fill(choice);
      click("keepButton");
      refusals << (messages->shown.isEmpty() ? QString() : messages->shown.takeLast());
    }
    QCOMPARE(refusals, (QStringList{texts::bankColumnsNoBank, texts::bankColumnsRequired, texts::bankColumnsAmountTwice,
                                    texts::bankColumnsTwice.arg("סכום התנועה"), QString()}));
    QCOMPARE(test::dump("SELECT * FROM bank_layouts") + '\n' +
                 test::dump("SELECT inputdate, description, reference, amount, balance FROM bank_lines") + '\n' +
                 shows({"statusLine"}).join('|'),
             "בנק השכונה|יום|פירוט הפעולה|מספר|||סכום התנועה|יתרה לאחר\n"
             "2026-02-03|העברה מאת ישראלי דנה|501|28000|1028000\n2026-02-05|חברת הניקיון|502|-45050|982950\n" +
                 texts::bankKept.arg(2).arg(0));
    click("importButton");
    QCOMPARE(messages->asked.size(), 2);
    QCOMPARE(messages->shown, QStringList{texts::bankAllIn.arg(2)});
    // Named again, the bank's columns are the new ones alone.
    QCOMPARE(bank::nameColumns(test::books(), {"בנק השכונה", "יום", "פירוט הפעולה", "", "", "", "סכום התנועה", ""}),
             QString());
    QCOMPARE(test::dump("SELECT bank, reference, balance FROM bank_layouts"), "בנק השכונה||");
  }

  // A line set aside (a reason asked; none, or a blank one, sets nothing)
  // waits no more and can't be recorded until brought back, unasked.
  void aLineSetAsideWaitsNoMore() {
    test::building("12", "350");
    bank::keep(test::books(), bank::readFile(path("leumi.xls")), "leumi.xls");
    window = openShared<StatementWindow>();
    chooseRow(1, "linesList");
    QStringList seen;
    for (const std::optional<QString> &reason :
         {std::optional<QString>(), std::optional<QString>("  "), std::optional<QString>("הועבר לפיקדון")}) {
      messages->reply = reason;
      click("setAside");
      seen << grid("linesList")[1].mid(6).join('|');
    }
    click("acceptLine");
    QCOMPARE(seen << QString::number(messages->asked.size()) << messages->shown << shows({"statusLine"})
                  << QString::number(count("removals")),
             (QStringList{"עמלות בנק|ממתין", "עמלות בנק|ממתין", "|בצד: הועבר לפיקדון", "3", texts::reasonRequired,
                          texts::bankLineAside, texts::bankAsideSet, "0"}));
    QCOMPARE(messages->asked[0],
             texts::bankAsideQuestion.arg("אסמכתא 0, תאריך 06/01/2026, עמלה, סכום \u2066-12.50\u2069"));
    // Nor through the expense's own road.
    QCOMPARE(expenses::record(test::books(), {"עמלות בנק", QDate(2026, 1, 6), "", "", "", "12.50", 2}).message,
             texts::bankLineAside);
    click("setAside");
    QCOMPARE(QStringList{grid("linesList")[1].mid(6).join('|')} << shows({"statusLine"})
                                                                << QString::number(messages->asked.size()),
             (QStringList{"עמלות בנק|ממתין", texts::bankAsideCleared, "3"}));
  }

  void theBooksAreSetAgainstTheBank() {
    test::building("12", "350", "10000");
    bank::keep(test::books(), bank::readFile(path("leumi.xls")), "leumi.xls");
    QVERIFY(payments::record(test::books(), {QDate(2026, 1, 5), "5", "ועד הבית", "", "ינואר", "ינואר", "העברה בנקאית",
                                             "350", "2026", "1001", 1})
                .ok());
    QCOMPARE(expenses::record(test::books(), {"עמלות בנק", QDate(2026, 1, 6), "", "", "", "12.50", 2}).message,
             QString());
    test::recordExpense("מים", QDate(2026, 1, 8), "50");
    test::pay(3, "ינואר", "100", QDate(2026, 1, 12));
    window = openShared<StatementWindow>();
    QStringList shown = shows({"reconcileDate"}); // the statement's last day
    fill({{"reconcileDate", "11/01/2026"}});
    click("reconcileButton");
    const bank::Reconciliation before = bank::reconcile(test::books(), QDate(2026, 1, 11));
    shown << test::text(test::table(*printing::previewPrintout("reconcile")).mid(1, 2));
    fill({{"reconcileDate", "12/01/2026"}});
    click("reconcileButton");
    const listing::Printout &paper = *printing::previewPrintout("reconcile");
    QCOMPARE(
        shown << test::text(test::table(paper).mid(1)) << test::text(test::table(paper.sections[0]))
              << test::text(test::table(paper.sections[1])) << before.unexplained()->toString(),
        (QStringList{"12/01/2026", "יתרה לפי הבנק ליום 11/01/2026|9,137.50\nיתרה לפי הספרים ליום 11/01/2026|10,287.50",
                     "יתרה לפי הבנק ליום 12/01/2026|9,837.50\nיתרה לפי הספרים ליום 12/01/2026|10,387.50\n"
                     "הפרש (בנק פחות ספרים)|\u2066-550.00\u2069\nבבנק ולא בספרים|\u2066-500.00\u2069\n"
                     "בספרים ולא בבנק|50.00\nהפרש שאינו מוסבר|0.00",
                     "תאריך|פירוט|סכום\n10/01/2026|הוראת קבע חברת חשמל|\u2066-1,200.00\u2069\n"
                     "12/01/2026|העברה העברה מאת: לוי רות|350.00\n12/01/2026|העברה העברה מאת: לוי רות|350.00",
                     "תאריך|פירוט|סכום\n08/01/2026|הוצאה, מים|\u2066-50.00\u2069\n"
                     "12/01/2026|תשלום, דירה 3, ועד הבית|100.00",
                     "0"}));
  }
};

QTEST_MAIN(BankTest)
#include "test_bank.moc"
