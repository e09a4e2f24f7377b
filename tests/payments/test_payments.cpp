// The payments window driven as a user would, the road of a payment into
// incoming, trans and the annual matrix, the payments printout, and the
// annual payments report window.
#include "app/windows.h"
#include "common/texts.h"
#include "common/today.h"
#include "data/building.h"
#include "data/database.h"
#include "payments/incomingwindow.h"
#include "reports/anualreportwindow.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace domiva;

class PaymentsTest : public test::WindowTest {
  Q_OBJECT

  QComboBox *combo(const char *name) const { return control<QComboBox>(name); }
  // A whole matrix row: apartment, family, year, the twelve months, total, depth.
  QVariantList matrix(int apartment, int year) const {
    const auto rows = test::rows("SELECT * FROM anual_report WHERE apartment = ? AND year = ?", {apartment, year});
    return rows.isEmpty() ? QVariantList() : rows[0];
  }

  void openPayments() {
    window = openShared<IncomingWindow>();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
  }

  // Fills the form as a user would and presses "בצע".
  void pay(const QString &apartment, const QString &from, const QString &to, const QString &amount,
           const QString &forText = QStringLiteral("ועד הבית"), const QDate &date = QDate(2026, 3, 15)) {
    control<QDateEdit>("inputdate")->setDate(date);
    combo("apartment")->setEditText(apartment);
    combo("forcombo")->setEditText(forText);
    combo("from_month")->setEditText(from);
    combo("to_month")->setEditText(to);
    control<QLineEdit>("amount")->setText(amount);
    click("Command1");
  }

private slots:
  void init() {
    startTest(QDate(2026, 3, 15));
    db::exec("UPDATE registery SET monthly_pay = 250");
    database->reopen();
    test::addResident(5, "כהן");
    test::addResident(2, "לוי");
  }
  void cleanup() { endTest(); }

  void opensWithTodayAndTheCurrentMonth_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("month");
    QTest::newRow("March") << QDate(2026, 3, 15) << 2;
    QTest::newRow("January") << QDate(2027, 1, 1) << 0;
    QTest::newRow("December") << QDate(2026, 12, 31) << 11;
  }
  void opensWithTodayAndTheCurrentMonth() {
    QFETCH(QDate, day);
    QFETCH(int, month);
    setToday(day);
    openPayments();
    QCOMPARE(window->windowTitle(), QStringLiteral("תשלומי דיירים"));
    QCOMPARE(control<QDateEdit>("inputdate")->date(), day);
    QCOMPARE(combo("from_month")->currentIndex(), month);
    QCOMPARE(combo("to_month")->currentIndex(), month);
    QCOMPARE(combo("from_month")->count(), 12);
    QCOMPARE(combo("from_month")->itemText(1), QStringLiteral("פבואר"));
    QCOMPARE(combo("to_month")->itemText(8), QStringLiteral("ספטמב"));
    QCOMPARE(control<QLineEdit>("amount")->text(), QStringLiteral("0"));
    QCOMPARE(control<QLineEdit>("family")->text(), QString());
    QCOMPARE(combo("forcombo")->currentText(), QString());
    QCOMPARE(combo("payment")->currentText(), QString());
    QCOMPARE(combo("apartment")->currentText(), QString());
    QVERIFY(combo("apartment")->hasFocus());
    // The apartment list in table order: 5 was added before 2.
    QCOMPARE(combo("apartment")->itemText(0), QStringLiteral("5"));
    QCOMPARE(combo("apartment")->itemText(1), QStringLiteral("2"));
    QCOMPARE(test::gridHeaders(control<QTableView>("DataGrid1")->model()),
             (QStringList{"תאריך_קליטה", "דירה", "עבור", "פירוט", "מחודש", "עד_חודש", "סוג_תשלום", "סכום", "קבלה"}));
  }

  void theNameFollowsTheApartment() {
    openPayments();
    combo("apartment")->setCurrentIndex(1);
    QCOMPARE(control<QLineEdit>("family")->text(), QStringLiteral("לוי"));
    combo("apartment")->setEditText("05");
    QCOMPARE(control<QLineEdit>("family")->text(), QStringLiteral("כהן"));
    combo("apartment")->setEditText("9");
    QCOMPARE(control<QLineEdit>("family")->text(), QString());
  }

  void mandatoryFieldsComeFirst() {
    openPayments();
    control<QLineEdit>("amount")->setFocus();
    click("Command1");
    QCOMPARE(messages->shown, QStringList{texts::forRequired});
    combo("forcombo")->setEditText("ועד הבית");
    control<QLineEdit>("amount")->setFocus();
    click("Command1");
    QCOMPARE(messages->shown.last(), texts::apartmentRequired);
    QVERIFY(combo("apartment")->hasFocus());
    QCOMPARE(count("incoming") + count("trans") + count("anual_report"), 0);
  }

  void refusesBadInputBeforeWriting_data() {
    QTest::addColumn<QString>("apartment");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty amount") << "5" << "מרץ" << "מרץ" << "" << texts::badAmount;
    QTest::newRow("amount text") << "5" << "מרץ" << "מרץ" << "מאה" << texts::badAmount;
    QTest::newRow("three decimals") << "5" << "מרץ" << "מרץ" << "10.125" << texts::badAmount;
    QTest::newRow("month not listed") << "5" << "מרס" << "מרץ" << "100" << texts::badMonth;
    QTest::newRow("report spelling") << "5" << "מרץ" << "ספטמבר" << "100" << texts::badMonth;
    QTest::newRow("across the year end") << "5" << "נובמבר" << "פבואר" << "100" << texts::monthsReversed;
    QTest::newRow("apartment text") << "חמש" << "מרץ" << "מרץ" << "100" << texts::apartmentMissing;
    QTest::newRow("no resident") << "9" << "מרץ" << "מרץ" << "100" << texts::apartmentMissing;
  }
  void refusesBadInputBeforeWriting() {
    QFETCH(QString, apartment);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, amount);
    QFETCH(QString, message);
    openPayments();
    pay(apartment, from, to, amount);
    QCOMPARE(messages->shown, QStringList{message});
    QCOMPARE(count("incoming") + count("trans") + count("anual_report"), 0);
    QCOMPARE(control<QLineEdit>("amount")->text(), amount); // kept to be corrected
    QCOMPARE(combo("from_month")->currentText(), from);
  }

  void aPaymentTakesItsWholeRoad() {
    openPayments();
    combo("apartment")->setCurrentIndex(0);
    control<QLineEdit>("details")->setText("דמי ועד");
    combo("payment")->setCurrentIndex(1);
    pay("5", "מרץ", "מאי", "300");
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(test::rows("SELECT * FROM incoming"),
             (QList<QVariantList>{{"2026-03-15", 5, "ועד הבית", "דמי ועד", "מרץ", "מאי", "שיק", 30000, 1}}));
    QCOMPARE(test::rows("SELECT * FROM trans"), (QList<QVariantList>{{"2026-03-15", "ועד הבית", 30000, "הכנסה"}}));
    QCOMPARE(matrix(5, 2026), (QVariantList{5, "כהן", 2026, {}, {}, 100, 100, 100, {}, {}, {}, {}, {}, {}, {},
                                            300, 12 * 250 - 300}));
    QCOMPARE(grid().size(), 1);
    QCOMPARE(grid()[0][0], QStringLiteral("15/03/2026"));
    QCOMPARE(grid()[0][7], QStringLiteral("300"));
    // The fields stay; pressing again records the same payment again.
    QCOMPARE(control<QLineEdit>("details")->text(), QStringLiteral("דמי ועד"));
    click("Command1");
    QCOMPARE(count("incoming"), 2);
    QCOMPARE(count("trans"), 2);
    QCOMPARE(count("anual_report"), 1);
    QCOMPARE(matrix(5, 2026)[15].toInt(), 300);
  }

  void sharesAreRoundedAndReplaceEarlierOnes() {
    openPayments();
    pay("5", "ינואר", "מרץ", "100");
    QCOMPARE(matrix(5, 2026).mid(3, 3), (QVariantList{33, 33, 33}));
    QCOMPARE(matrix(5, 2026)[15].toInt(), 99);
    QCOMPARE(test::rows("SELECT amount FROM incoming")[0][0].toInt(), 10000);

    pay("5", "ינואר", "ינואר", "100"); // replaces January's 33
    pay("5", "אפריל", "מאי", "125");
    pay("5", "יוני", "יולי", "135");
    pay("5", "אוגוסט", "אוגוסט", "0"); // no longer empty: counts 0
    const QVariantList row = matrix(5, 2026);
    QCOMPARE(row.mid(3, 12), (QVariantList{100, 33, 33, 62, 62, 68, 68, 0, {}, {}, {}, {}}));
    QCOMPARE(row[15].toInt(), 100 + 33 + 33 + 62 + 62 + 68 + 68);
    QCOMPARE(row[16].toInt(), 3000 - row[15].toInt());
    QCOMPARE(count("incoming"), 5);
  }

  void theEntryDatesYearTakesTheMonths() {
    openPayments();
    pay("2", "נובמבר", "דצמבר", "500", "אחר", QDate(2027, 1, 3));
    QVERIFY(matrix(2, 2026).isEmpty());
    const QVariantList row = matrix(2, 2027);
    QCOMPARE(row.mid(13, 2), (QVariantList{250, 250}));
    QCOMPARE(row[1], QVariant("לוי"));
    pay("2", "ינואר", "ינואר", "250", "ועד הבית", QDate(2026, 12, 1));
    QCOMPARE(count("anual_report"), 2);
  }

  void overpaymentLeavesANegativeDebtWithoutOverflow() {
    db::exec("UPDATE registery SET monthly_pay = 3000");
    database->reopen();
    openPayments();
    pay("5", "ינואר", "דצמבר", "360000");
    QCOMPARE(matrix(5, 2026)[15].toLongLong(), 360000);
    QCOMPARE(matrix(5, 2026)[16].toLongLong(), 36000 - 360000);
  }

  void duesChangedDuringTheRunWaitForTheNextStart() {
    openPayments();
    QCOMPARE(saveBuilding({"10", "999", "0", QDate(2026, 1, 1), "", ""}), QString());
    pay("5", "ינואר", "ינואר", "250");
    QCOMPARE(matrix(5, 2026)[16].toInt(), 12 * 250 - 250);
  }

  void aFailingWriteLeavesNoTrace() {
    db::exec("CREATE TRIGGER refuse BEFORE UPDATE ON anual_report BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    openPayments();
    pay("5", "מרץ", "מרץ", "250");
    QCOMPARE(messages->shown.size(), 1);
    QVERIFY(messages->shown[0].contains("disk full"));
    QCOMPARE(count("incoming") + count("trans") + count("anual_report"), 0);
    QVERIFY(grid().isEmpty());
  }

  void printsEveryPaymentAsATable() {
    test::Prints prints;
    openPayments();
    click("Command2");
    QCOMPARE(prints.tables.size(), 1);
    QCOMPARE(prints.tables[0].size(), 1); // the headers alone
    QVERIFY(prints.texts[0].startsWith(QStringLiteral("רשימת תשלומי דיירים")));

    control<QLineEdit>("details")->setText("5 כוכבים");
    pay("5", "מרץ", "מרץ", "100.5", "אחר");
    pay("2", "מרץ", "מרץ", "250");
    click("Command2");
    const auto table = prints.tables[1];
    QCOMPARE(table.size(), 3);
    QCOMPARE(table[0], (QStringList{"תאריך_קליטה", "דירה", "עבור", "פירוט", "מחודש", "עד_חודש", "סוג_תשלום", "סכום", "קבלה"}));
    QCOMPARE(table[1], (QStringList{"15/03/2026", "5", "אחר", "5 כוכבים", "מרץ", "מרץ", "", "100.5", "1"}));
    QCOMPARE(table[2][8], QStringLiteral("2"));
    QCOMPARE(count("incoming"), 2); // printing writes nothing
  }

  void annualReportShowsTheChosenYear() {
    openPayments();
    pay("5", "ינואר", "פבואר", "500");
    pay("2", "מרץ", "מרץ", "250");
    pay("5", "ינואר", "ינואר", "250", "ועד הבית", QDate(2025, 6, 1));
    setToday(QDate(2026, 1, 1));
    window = openShared<AnualReportWindow>();
    QComboBox *year = combo("year");
    QCOMPARE(year->count(), 41);
    QCOMPARE(year->itemText(0), QStringLiteral("2006"));
    QCOMPARE(year->itemText(40), QStringLiteral("2046"));
    QCOMPARE(year->currentText(), QStringLiteral("2026"));
    auto *model = control<QTableView>("DataGrid1")->model();
    QCOMPARE(test::gridHeaders(model), (QStringList{"דירה", "שם_ומשפחה", "ינואר", "פברואר", "מרץ", "אפריל", "מאי",
                                                    "יוני", "יולי", "אוגוסט", "ספטמבר", "אוקטובר", "נובמבר",
                                                    "דצמבר", "סהכ", "יתרת_חובה"}));
    auto rows = test::gridRows(model);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].mid(0, 5), (QStringList{"5", "כהן", "250", "250", ""}));
    QCOMPARE(rows[0].mid(14), (QStringList{"500", "2500"}));

    // Typing a year without choosing it changes nothing; choosing reads it.
    year->setCurrentIndex(year->findText("2025"));
    QCOMPARE(test::gridRows(model).size(), 2);
    year->activated(year->currentIndex());
    QCOMPARE(test::gridRows(model).size(), 1);
    year->setCurrentIndex(year->findText("2030"));
    year->activated(year->currentIndex());
    QCOMPARE(test::gridRows(model).size(), 0);
    QCOMPARE(model->columnCount(), 16);

    // Choosing the year shown again rereads it.
    year->setCurrentIndex(year->findText("2026"));
    year->activated(year->currentIndex());
    window = sharedWindow<IncomingWindow>();
    pay("2", "אפריל", "אפריל", "250");
    window = sharedWindow<AnualReportWindow>();
    year->activated(year->currentIndex());
    QCOMPARE(test::gridRows(model)[1].mid(4, 2), (QStringList{"250", "250"}));

    test::Prints prints;
    click("Command1");
    QCOMPARE(prints.images.size(), 1);
    QCOMPARE(prints.images[0].size(), window->size() * window->devicePixelRatio());
  }
};

QTEST_MAIN(PaymentsTest)
#include "test_payments.moc"
