// The payments window driven as a user would: the road of a payment into
// incoming, trans and the annual matrix, cancelling, the duplicate warning,
// the books' check, the payments printout and the annual payments report.
#include "generate.h"
#include "testsupport.h"

class PaymentsTest : public test::WindowTest {
  Q_OBJECT

  QComboBox *combo(const char *name) const { return control<QComboBox>(name); }
  // A whole matrix row: apartment, family, year, the twelve months, total, depth.
  static QVariantList matrix(int apartment, int year) {
    const auto rows = test::rows("SELECT * FROM anual_report WHERE apartment = ? AND year = ?", {apartment, year});
    return rows.isEmpty() ? QVariantList() : rows[0];
  }
  static int sum(const QVariantList &cells) {
    int total = 0;
    for (const QVariant &cell : cells)
      total += cell.toInt();
    return total;
  }

  void openPayments() {
    window = openShared<IncomingWindow>();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
  }

  // Fills the form as a user would and presses "בצע". The year box is left
  // to follow the date unless `year` is given.
  void pay(const QString &apartment, const QString &from, const QString &to, const QString &amount,
           const QString &forText = QStringLiteral("ועד הבית"), const QDate &date = QDate(2026, 3, 15),
           const QString &year = {}) {
    control<QDateEdit>("inputdate")->setDate(date);
    combo("apartment")->setEditText(apartment);
    combo("forcombo")->setEditText(forText);
    combo("from_month")->setEditText(from);
    combo("to_month")->setEditText(to);
    if (!year.isEmpty())
      combo("year")->setEditText(year);
    control<QLineEdit>("amount")->setText(amount);
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
    QCOMPARE(saveBuilding(test::books(), {"12", "250", "0", QDate(2026, 1, 1), "", ""}), QString());
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
    QCOMPARE(control<QDateEdit>("inputdate")->date(), day);
    QCOMPARE(combo("from_month")->currentIndex(), month);
    QCOMPARE(combo("to_month")->currentIndex(), month);
    QCOMPARE(combo("to_month")->itemText(8), QStringLiteral("ספטמב"));
    QCOMPARE(combo("year")->currentText(), QString::number(day.year()));
    QCOMPARE(combo("year")->itemText(0), QString::number(day.year() - 1));
    QCOMPARE(combo("year")->itemText(2), QString::number(day.year() + 1));
    QCOMPARE(control<QLineEdit>("amount")->text(), QStringLiteral("0"));
    QCOMPARE(control<QLineEdit>("family")->text() + combo("forcombo")->currentText() + combo("payment")->currentText() +
                 combo("apartment")->currentText(),
             QString());
    QVERIFY(combo("apartment")->hasFocus());
    // The apartment list in table order: 5 was added before 2.
    QCOMPARE(combo("apartment")->itemText(0), QStringLiteral("5"));
    QCOMPARE(test::gridHeaders(control<QTableView>("DataGrid1")->model()),
             (QStringList{"תאריך_קליטה", "דירה", "עבור", "פירוט", "מחודש", "עד_חודש", "שנה", "סוג_תשלום", "אסמכתא",
                          "סכום", "קבלה", "ביטול"}));
  }

  // The name follows the apartment typed or chosen; typed "1" with 11 and 1
  // listed, then Tab, stays apartment 1, never completed to 11.
  void theApartmentIsTakenAsTyped() {
    test::addResident(11, "אחד עשר");
    test::addResident(1, "אחד");
    openPayments();
    combo("apartment")->setCurrentIndex(1);
    QCOMPARE(control<QLineEdit>("family")->text(), QStringLiteral("לוי"));
    combo("apartment")->setEditText("05");
    QCOMPARE(control<QLineEdit>("family")->text(), QStringLiteral("כהן"));
    combo("apartment")->setEditText("9");
    QCOMPARE(control<QLineEdit>("family")->text(), QString());
    combo("apartment")->setEditText("");
    QTest::keyClicks(combo("apartment"), "1");
    QTest::keyClick(combo("apartment"), Qt::Key_Tab);
    QCOMPARE(combo("apartment")->currentText(), QStringLiteral("1"));
    QCOMPARE(control<QLineEdit>("family")->text(), QStringLiteral("אחד"));
  }

  // Enter in the amount records the payment; Enter on a focused button
  // presses it; Tab leaves the date picker at once.
  void enterRecordsAndPresses() {
    test::Prints prints;
    openPayments();
    combo("apartment")->setEditText("5");
    combo("forcombo")->setEditText("אחר");
    control<QLineEdit>("amount")->setText("1,200");
    QTest::keyClick(control<QLineEdit>("amount"), Qt::Key_Return);
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(test::rows("SELECT amount FROM incoming")[0][0].toInt(), 120000);
    control<QPushButton>("Command2")->setFocus();
    QTest::keyClick(control<QPushButton>("Command2"), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(prints.tables.size(), 1);
    // The date picker is one Tab stop each way; the arrows change its parts.
    QCOMPARE(tabsFrom(control<QDateEdit>("inputdate")), (QStringList{"family", "apartment"}));
  }

  // A date is typed in one go, with or without its slashes.
  // Ctrl+A, then a whole date typed in one go, gives that date (the window
  // opens on 15/03/2026, so each row types another).
  void aDateIsTypedInOneGo_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("digits") << "2142025" << QDate(2025, 4, 21);
    QTest::newRow("slashes") << "21/4/2025" << QDate(2025, 4, 21);
    QTest::newRow("padded with slashes") << "05/01/2026" << QDate(2026, 1, 5);
    QTest::newRow("padded") << "05012026" << QDate(2026, 1, 5);
    QTest::newRow("dots") << "7.2.2026" << QDate(2026, 2, 7);
  }
  void aDateIsTypedInOneGo() {
    QFETCH(QString, typed);
    QFETCH(QDate, expected);
    openPayments();
    auto *date = control<QDateEdit>("inputdate");
    date->setFocus();
    QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(date, typed);
    QCOMPARE(date->date(), expected);
  }

  // A header click sorts by its column, a second reverses, a third returns
  // to the order of recording; a new row is chosen where it sorts. Tab
  // leaves the grid for the next control, Shift+Tab for the one before.
  void headerClicksSortTheGrid() {
    test::addResident(11, "אחד עשר");
    test::addResident(7, "שבע");
    openPayments();
    pay("5", "מרץ", "מרץ", "250");
    pay("2", "מרץ", "מרץ", "100");
    pay("11", "מרץ", "מרץ", "300");
    auto *view = control<QTableView>("DataGrid1");
    const auto clickHeader = [view](int column) {
      QHeaderView *header = view->horizontalHeader();
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, 5));
    };
    const auto apartments = [this] {
      QStringList column;
      for (const QStringList &row : grid())
        column << row[1];
      return column;
    };
    clickHeader(1);
    QCOMPARE(apartments(), (QStringList{"2", "5", "11"}));
    clickHeader(1);
    QCOMPARE(apartments(), (QStringList{"11", "5", "2"}));
    pay("7", "מרץ", "מרץ", "50");
    QCOMPARE(apartments(), (QStringList{"11", "7", "5", "2"}));
    QCOMPARE(view->currentIndex().row(), 1);
    clickHeader(1);
    QCOMPARE(apartments(), (QStringList{"5", "2", "11", "7"}));
    QCOMPARE(tabsFrom(view), (QStringList{"cancelRow", "Command1"}));
  }

  // Amounts are refused by the one money rule (its forms and bounds are the
  // money table's): one row shows the window uses it.
  void refusesBadInputBeforeWriting_data() {
    QTest::addColumn<QStringList>("typed"); // apartment, for, from, to, year, amount
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus"); // empty: the focus stays on the button
    const auto row = [](const char *name, const QStringList &typed, const QString &message, const QString &focus) {
      QTest::newRow(name) << typed << message << focus;
    };
    row("both mandatory empty", {"", "", "מרץ", "מרץ", "2026", "100"}, texts::forRequired, "");
    row("no apartment", {"", "אחר", "מרץ", "מרץ", "2026", "100"}, texts::apartmentRequired, "apartment");
    row("amount text", {"5", "אחר", "מרץ", "מרץ", "2026", "מאה"}, texts::badAmount, "amount");
    row("zero", {"5", "אחר", "מרץ", "מרץ", "2026", "0"}, texts::zeroAmount, "amount");
    row("zero agorot", {"5", "אחר", "מרץ", "מרץ", "2026", "0.00"}, texts::zeroAmount, "amount");
    row("'for' of spaces", {"5", "   ", "מרץ", "מרץ", "2026", "100"}, texts::forRequired, "");
    row("'for' with an override", {"5", "\u202Eאחר", "מרץ", "מרץ", "2026", "100"}, texts::badCharacters.arg("עבור"),
        "");
    row("month not listed", {"5", "אחר", "מרס", "מרץ", "2026", "100"}, texts::badMonth, "from_month");
    row("report spelling", {"5", "אחר", "מרץ", "ספטמבר", "2026", "100"}, texts::badMonth, "to_month");
    row("across the year end", {"5", "אחר", "נובמבר", "פבואר", "2026", "100"}, texts::monthsReversed, "from_month");
    row("year too early", {"5", "אחר", "מרץ", "מרץ", "1999", "100"}, texts::badYear, "year");
    row("year text", {"5", "אחר", "מרץ", "מרץ", "שנה", "100"}, texts::badYear, "year");
    row("apartment text", {"חמש", "אחר", "מרץ", "מרץ", "2026", "100"}, texts::apartmentMissing, "apartment");
    row("beyond the building", {"13", "אחר", "מרץ", "מרץ", "2026", "100"}, texts::apartmentOutOfRange.arg(13).arg(12),
        "apartment");
  }
  void refusesBadInputBeforeWriting() {
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    openPayments();
    control<QPushButton>("Command1")->setFocus();
    pay(typed[0], typed[2], typed[3], typed[5], typed[1], QDate(2026, 3, 15), typed[4]);
    QCOMPARE(messages->shown, QStringList{message});
    QCOMPARE(count("incoming") + count("trans") + count("anual_report"), 0);
    QCOMPARE(control<QLineEdit>("amount")->text(), typed[5]); // kept to be corrected
    QCOMPARE(combo("from_month")->currentText(), typed[2]);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus.isEmpty() ? QStringLiteral("Command1") : focus);
  }

  void aPaymentTakesItsWholeRoad() {
    openPayments();
    combo("apartment")->setCurrentIndex(0);
    control<QLineEdit>("details")->setText("דמי ועד");
    combo("payment")->setCurrentIndex(1);
    control<QLineEdit>("reference")->setText("4711");
    pay("5", "מרץ", "מאי", "300");
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(test::rows("SELECT * FROM incoming"),
             (QList<QVariantList>{
                 {"2026-03-15", 5, "ועד הבית", "דמי ועד", "מרץ", "מאי", "שיק", 30000, 1, 2026, {}, {}, {}, "4711"}}));
    QCOMPARE(test::rows("SELECT inputdate, \"for\", amount, \"Type\", source_table, source_reciept FROM trans"),
             (QList<QVariantList>{{"2026-03-15", "ועד הבית", 30000, "הכנסה", "incoming", 1}}));
    QCOMPARE(matrix(5, 2026),
             (QVariantList{
                 5, "כהן", 2026, {}, {}, 10000, 10000, 10000, {}, {}, {}, {}, {}, {}, {}, 30000, 12 * 25000 - 30000}));
    QCOMPARE(grid(), (QList<QStringList>{{"15/03/2026", "5", "ועד הבית", "דמי ועד", "מרץ", "מאי", "2026", "שיק", "4711",
                                          "300", "1", ""}}));
    // The fields stay for the next payment but its detail, and the new row is chosen.
    QCOMPARE(control<QLineEdit>("details")->text(), QString());
    QCOMPARE(combo("payment")->currentText(), QStringLiteral("שיק"));
    QCOMPARE(control<QTableView>("DataGrid1")->currentIndex().row(), 0);
    QCOMPARE(control<QLabel>("statusLine")->text(), texts::paymentRecorded.arg(1));
    QCOMPARE(test::table(*payments::receipt(test::books(), 1)), (QList<QStringList>{{"פרט", "ערך"},
                                                                                    {"תאריך", "15/03/2026"},
                                                                                    {"דירה", "5"},
                                                                                    {"שם ומשפחה", "כהן"},
                                                                                    {"עבור", "ועד הבית"},
                                                                                    {"פירוט", "דמי ועד"},
                                                                                    {"חודשים", "מרץ עד מאי"},
                                                                                    {"שנה", "2026"},
                                                                                    {"אופן תשלום", "שיק"},
                                                                                    {"אסמכתא", "4711"},
                                                                                    {"סכום", "300.00 ש\"ח"}}));
  }

  void aLongListReachesItsNewestRowAtOnce() {
    {
      db::Transaction transaction(test::books());
      for (int i = 0; i < 10000; ++i)
        test::books().exec(
            "INSERT INTO incoming (inputdate, apartment, amount, year) VALUES ('2026-01-01', 5, ?, 2026)",
            {100 * (i + 1)});
      transaction.commit();
    }
    openPayments();
    auto *view = control<QTableView>("DataGrid1");
    QCOMPARE(view->model()->rowCount(), 10000); // known at once, not fetched by pages
    QCOMPARE(view->currentIndex().row(), 9999); // opened on the newest
    QCOMPARE(view->model()->index(9999, payments::recieptColumn).data().toString(), QStringLiteral("10000"));
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(view->model()->index(view->currentIndex().row(), payments::amountColumn).data().toString(),
             QStringLiteral("1"));
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(view->model()->index(view->currentIndex().row(), payments::amountColumn).data().toString(),
             QStringLiteral("10000"));
    pay("5", "מרץ", "מרץ", "250");
    QCOMPARE(view->currentIndex().row(), 10000);
    QCOMPARE(view->model()->index(10000, payments::recieptColumn).data().toString(), QStringLiteral("10001"));
  }

  // Each row: payments as "from to amount [for]", then the months'
  // cells (agorot) as the matrix must hold them.
  void theMatrixIsTheSumOfThePayments_data() {
    QTest::addColumn<QStringList>("payments");
    QTest::addColumn<QVariantList>("cells");
    const QVariant e; // a month no payment credited
    QTest::newRow("a month in two parts")
        << QStringList{"מרץ מרץ 150", "מרץ מרץ 150"} << QVariantList{e, e, 30000, e, e, e, e, e, e, e, e, e};
    QTest::newRow("'other' credits the months") << QStringList{"ינואר מרץ 750", "פבואר פבואר 100 אחר"}
                                                << QVariantList{25000, 35000, 25000, e, e, e, e, e, e, e, e, e};
    QTest::newRow("thirds: the agora left to the last")
        << QStringList{"ינואר מרץ 100"} << QVariantList{3333, 3333, 3334, e, e, e, e, e, e, e, e, e};
    QTest::newRow("halves exact") << QStringList{"אפריל מאי 125", "יוני יולי 135"}
                                  << QVariantList{e, e, e, 6250, 6250, 6750, 6750, e, e, e, e, e};
    QTest::newRow("a refund subtracts") << QStringList{"דצמבר דצמבר 300", "דצמבר דצמבר -100"}
                                        << QVariantList{e, e, e, e, e, e, e, e, e, e, e, 20000};
  }
  void theMatrixIsTheSumOfThePayments() {
    QFETCH(QStringList, payments);
    QFETCH(QVariantList, cells);
    openPayments();
    for (const QString &payment : payments) {
      const QStringList parts = payment.split(' ');
      pay("5", parts[0], parts[1], parts[2], parts.value(3, "ועד הבית"));
    }
    QCOMPARE(messages->shown, QStringList());
    const QVariantList row = matrix(5, 2026);
    QCOMPARE(row.mid(3, 12), cells);
    QCOMPARE(row[15].toInt(), sum(cells));
    QCOMPARE(row[16].toInt(), 12 * 25000 - sum(cells));
  }

  // The year box follows the entry date until the user sets another year
  // (passing through it with Tab sets nothing), and the year chosen picks
  // the matrix row; after a recording it follows the date again, the
  // detail cleared for the next payment.
  void theYearBoxChoosesTheMatrixRow() {
    openPayments();
    auto *date = control<QDateEdit>("inputdate");
    combo("to_month")->setFocus();
    QTest::keyClick(combo("to_month"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), combo("year"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    date->setDate(QDate(2026, 12, 20));
    QCOMPARE(combo("year")->currentText(), QStringLiteral("2026"));
    combo("year")->setFocus();
    combo("year")->lineEdit()->selectAll();
    QTest::keyClicks(combo("year")->lineEdit(), "2027");
    date->setDate(QDate(2026, 12, 21));
    QCOMPARE(combo("year")->currentText(), QStringLiteral("2027")); // chosen, it stays
    control<QLineEdit>("details")->setText("ינואר הבא");
    pay("2", "ינואר", "ינואר", "250", "ועד הבית", QDate(2026, 12, 21));
    QCOMPARE(matrix(2, 2027).mid(3, 2), (QVariantList{25000, {}}));
    QVERIFY(matrix(2, 2026).isEmpty());
    QCOMPARE(grid()[0][6], QStringLiteral("2027"));
    QCOMPARE(control<QLineEdit>("details")->text(), QString());
    QCOMPARE(combo("year")->currentText(), QStringLiteral("2026")); // recorded, it follows the date again
    QCOMPARE(combo("year")->itemText(0), QStringLiteral("2025"));
    // A typed year beyond the list, and a January entry for last November.
    pay("2", "נובמבר", "דצמבר", "500", "אחר", QDate(2027, 1, 3), "2025");
    QCOMPARE(matrix(2, 2025).mid(13, 2), (QVariantList{25000, 25000}));
    QCOMPARE(matrix(2, 2025)[1], QVariant("לוי"));
  }

  // A levy is defined, charged to every apartment, changed for one, paid
  // through the payments window (apart from the months), and then cannot
  // be deleted.
  void aLevyIsChargedAndPaid() {
    window = openShared<LeviesWindow>();
    control<QLineEdit>("levyName")->setText("גג");
    control<QLineEdit>("levyAmount")->setText("900.50");
    control<QDateEdit>("levyDue")->setDate(QDate(2026, 4, 1));
    control<QLineEdit>("levyInstalments")->setText("3");
    click("addLevy");
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(grid("leviesList"), (QList<QStringList>{{"1", "גג", "01/04/2026", "3", "10806", "0"}}));
    QCOMPARE(grid("chargesList").size(), 12); // every apartment of the building
    control<QLineEdit>("chargeApartment")->setText("5");
    control<QLineEdit>("chargeAmount")->setText("1500");
    click("saveCharge");
    QCOMPARE(grid("chargesList")[4], (QStringList{"5", "1500", "0"}));

    openPayments();
    QCOMPARE(combo("forcombo")->itemText(2), QStringLiteral("גג"));
    test::books().exec("DELETE FROM levy_charges WHERE apartment = 2"); // only those it charges pay it
    pay("2", "מרץ", "מרץ", "100", "גג");
    QCOMPARE(messages->shown, QStringList{texts::levyNotCharged.arg("גג").arg(2)});
    messages->shown.clear();
    pay("5", "מרץ", "מרץ", "500", "גג");
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(test::rows("SELECT from_month, to_month, year, levy FROM incoming"),
             (QList<QVariantList>{{"", "", {}, 1}}));
    QCOMPARE(count("anual_report"), 0); // the months are the dues' alone
    QCOMPARE(grid()[0][2], QStringLiteral("גג"));

    window = sharedWindow<LeviesWindow>();
    messages->yes = true;
    click("deleteLevy");
    QCOMPARE(messages->shown, QStringList{texts::levyHasPayments});
    QCOMPARE(grid("leviesList")[0].mid(4), (QStringList{"10505", "500"})); // 10,806 − 2 × 900.50 + 1,500
  }

  void aLevyIsRefusedBeforeWriting_data() {
    QTest::addColumn<QStringList>("typed"); // name, amount, instalments
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << QStringList{" ", "100", "1"} << texts::levyNameRequired;
    QTest::newRow("the list's own item") << QStringList{"אחר", "100", "1"} << texts::levyNameTaken.arg("אחר");
    QTest::newRow("a name taken") << QStringList{"מעלית", "100", "1"} << texts::levyNameTaken.arg("מעלית");
    QTest::newRow("a negative amount") << QStringList{"גג", "-5", "1"} << texts::negativeLevy;
    QTest::newRow("no amount") << QStringList{"גג", "הרבה", "1"} << texts::badAmount;
    QTest::newRow("no instalments") << QStringList{"גג", "100", "0"} << texts::badInstalments;
  }
  void aLevyIsRefusedBeforeWriting() {
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QCOMPARE(levies::define(test::books(), {"מעלית", "100", QDate(2026, 4, 1), "1"}), QString());
    const auto before = test::rows("SELECT * FROM levies") + test::rows("SELECT * FROM levy_charges");
    QCOMPARE(levies::define(test::books(), {typed[0], typed[1], QDate(2026, 4, 1), typed[2]}), message);
    QCOMPARE(test::rows("SELECT * FROM levies") + test::rows("SELECT * FROM levy_charges"), before);
  }

  // Escape closes an open list first; only the next one closes the window.
  void escapeClosesAnOpenListFirst() {
    test::addResident(12, "שתים עשרה");
    openPayments();
    QComboBox *apartment = combo("apartment");
    apartment->setFocus();
    QTest::keyClicks(apartment->lineEdit(), "1");
    QWidget *list = apartment->completer()->popup();
    QVERIFY(list->isVisible());                        // "12" offered
    QCOMPARE(QApplication::activePopupWidget(), list); // the keys go to it
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(!list->isVisible());
    QVERIFY(window->isVisible());
    QCOMPARE(apartment->currentText(), QStringLiteral("1"));
    QCOMPARE(messages->asked, QStringList());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(messages->asked, QStringList{texts::closeUnrecorded}); // "1" was typed
    QVERIFY(!window->isVisible());
  }

  // Typed and recorded, the window closes without a question.
  void aRecordedPaymentClosesWithoutAQuestion() {
    openPayments();
    QTest::keyClicks(control<QLineEdit>("details"), "March");
    pay("5", "מרץ", "מרץ", "250");
    window->close();
    QCOMPARE(messages->asked, QStringList());
    QVERIFY(!window->isVisible());
  }

  // The same payment within ten minutes is "just now" and asked about
  // (yes records it); a minute later it is not.
  void aRepeatedPaymentIsQuestioned() {
    openPayments();
    setNow(QDateTime(QDate(2026, 3, 15), QTime(10, 0)));
    pay("5", "מאי", "מאי", "250");
    setNow(now().addSecs(600));
    click("Command1");
    QCOMPARE(messages->asked, QStringList{texts::duplicatePayment});
    QCOMPARE(count("incoming"), 2);
    setNow(now().addSecs(601));
    click("Command1");
    QCOMPARE(messages->asked.size(), 1);
    QCOMPARE(count("incoming"), 3);
  }

  // Asked before writing, or not: the same payment again unless the first
  // was cancelled meanwhile or is for another year; an amount more than
  // twice the dues of its months (250 a month here).
  void questionsBeforeWriting_data() {
    QTest::addColumn<QString>("first"); // the amount recorded first, March 2026; empty: none
    QTest::addColumn<bool>("cancelFirst");
    QTest::addColumn<QStringList>("second"); // months from, to, amount, year
    QTest::addColumn<QStringList>("asked");
    const QString large = texts::largePayment.arg("1001", "500");
    QTest::newRow("the same again") << "250" << false << QStringList{"מרץ", "מרץ", "250", "2026"}
                                    << QStringList{texts::duplicatePayment};
    QTest::newRow("another amount") << "250" << false << QStringList{"מרץ", "מרץ", "300", "2026"} << QStringList{};
    QTest::newRow("the first cancelled") << "250" << true << QStringList{"מרץ", "מרץ", "250", "2026"} << QStringList{};
    QTest::newRow("another year") << "250" << false << QStringList{"מרץ", "מרץ", "250", "2025"} << QStringList{};
    QTest::newRow("twice the dues") << "" << false << QStringList{"מרץ", "אפריל", "1000", "2026"} << QStringList{};
    QTest::newRow("past twice the dues") << "" << false << QStringList{"מרץ", "אפריל", "1001", "2026"}
                                         << QStringList{large};
    QTest::newRow("2,800 for one month") << "" << false << QStringList{"מרץ", "מרץ", "2800", "2026"}
                                         << QStringList{texts::largePayment.arg("2800", "250")};
  }
  void questionsBeforeWriting() {
    QFETCH(QString, first);
    QFETCH(bool, cancelFirst);
    QFETCH(QStringList, second);
    QFETCH(QStringList, asked);
    openPayments();
    if (!first.isEmpty())
      pay("5", "מרץ", "מרץ", first, "ועד הבית", QDate(2026, 3, 15), "2026");
    if (cancelFirst)
      cancel(0, QStringLiteral("טעות"));
    messages->asked.clear();
    messages->yes = false;
    pay("5", second[0], second[1], second[2], "ועד הבית", QDate(2026, 3, 15), second[3]);
    QCOMPARE(messages->asked, asked);
    QCOMPARE(count("incoming"), (first.isEmpty() ? 0 : 1) + (asked.isEmpty() ? 1 : 0));
  }

  void savedDetailsTakeEffectAtOnce() {
    openPayments();
    pay("5", "ינואר", "ינואר", "250", "ועד הבית", QDate(2025, 6, 1), "2025");
    pay("5", "ינואר", "ינואר", "250");
    auto *details = openShared<RegisterWindow>();
    details->findChild<QLineEdit *>("Text5")->setText("300");
    details->findChild<QLineEdit *>("Text2")->setText("חולון");
    messages->reply = "04/2026"; // raised from April: January to March keep 250
    QTest::mouseClick(details->findChild<QPushButton *>("Command1"), Qt::LeftButton);
    QCOMPARE(messages->shown, QStringList{texts::detailsSaved});
    QCOMPARE(matrix(5, 2026)[16].toInt(), 3 * 25000 + 9 * 30000 - 25000);
    QCOMPARE(matrix(5, 2025)[16].toInt(), 0 - 25000); // before the books' start, nothing was charged
    pay("2", "אפריל", "אפריל", "300");
    QCOMPARE(matrix(2, 2026)[16].toInt(), 3 * 25000 + 9 * 30000 - 30000);
    // Reopened, the window shows what was saved, so a second save keeps it.
    details->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    details = openShared<RegisterWindow>();
    QCOMPARE(details->findChild<QLineEdit *>("Text5")->text(), QStringLiteral("300"));
    QCOMPARE(details->findChild<QLineEdit *>("Text2")->text(), QStringLiteral("חולון"));
  }

  void cancellingAPaymentUndoesItExactly() {
    test::Prints prints;
    openPayments();
    click("Command2");
    QCOMPARE(prints.tables[0].size(), 1); // the headers alone
    control<QLineEdit>("details")->setText("5 כוכבים");
    pay("5", "מרץ", "מאי", "300");
    const QVariantList before = matrix(5, 2026);
    const auto balanceBefore = test::rows("SELECT \"for\", sum(amount) FROM trans GROUP BY \"for\"");
    pay("5", "אפריל", "אפריל", "120.5", "אחר");
    QVERIFY(matrix(5, 2026) != before);

    cancel(1, QStringLiteral("טעות הקלדה"));
    QCOMPARE(messages->asked.last(), texts::cancelQuestion.arg("קבלה מס' 2, תאריך 15/03/2026, דירה 5, סכום 120.5"));
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(control<QLabel>("statusLine")->text(), texts::rowCancelled.arg(2));
    QCOMPARE(matrix(5, 2026), before);
    QCOMPARE(test::rows("SELECT \"for\", sum(amount) FROM trans GROUP BY \"for\""),
             (QList<QVariantList>{{"אחר", 0}, balanceBefore[0]}));
    QCOMPARE(test::rows("SELECT inputdate, amount, source_reciept FROM trans WHERE rowid = 3")[0],
             (QVariantList{"2026-03-15", -12050, 2}));
    QCOMPARE(ledger::period(test::books(), QDate(2026, 1, 1), QDate(2026, 12, 31)).income.toString(),
             QStringLiteral("300"));
    QCOMPARE(test::rows("SELECT cancelled, cancel_reason FROM incoming WHERE reciept = 2")[0],
             (QVariantList{"2026-03-15", "טעות הקלדה"}));
    // It stays in the grid, greyed with its reason, and out of the printout.
    auto *model = control<QTableView>("DataGrid1")->model();
    QCOMPARE(grid()[1][payments::statusColumn], QStringLiteral("מבוטל: טעות הקלדה"));
    QCOMPARE(model->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
    QCOMPARE(model->index(1, 3).data(Qt::ToolTipRole).toString(), QStringLiteral("מבוטל: טעות הקלדה"));
    QVERIFY(!model->index(0, 0).data(Qt::ForegroundRole).isValid());
    click("Command2");
    QCOMPARE(prints.tables[1], (QList<QStringList>{{"תאריך_קליטה", "דירה", "עבור", "פירוט", "מחודש", "עד_חודש", "שנה",
                                                    "סוג_תשלום", "אסמכתא", "סכום", "קבלה"},
                                                   {"15/03/2026", "5", "ועד הבית", "5 כוכבים", "מרץ", "מאי", "2026", "",
                                                    "", "300", "1"}}));

    // Refused: twice, without a reason, declined, no row chosen.
    cancel(1, QStringLiteral("שוב"));
    QCOMPARE(messages->shown, QStringList{texts::alreadyCancelled});
    QCOMPARE(payments::cancel(test::books(), 2, "שוב", today()), texts::alreadyCancelled);
    QCOMPARE(payments::cancel(test::books(), 99, "אין", today()), texts::rowMissing);
    cancel(0, QStringLiteral("  "));
    QCOMPARE(messages->last(), texts::reasonRequired);
    cancel(0, std::nullopt);
    QCOMPARE(messages->shown.size(), 2);
    control<QTableView>("DataGrid1")->clearSelection();
    click("cancelRow");
    QCOMPARE(messages->last(), texts::chooseRow);
    QCOMPARE(test::rows("SELECT count(cancelled) FROM incoming")[0][0].toInt(), 1);
    QCOMPARE(count("trans"), 3);
  }

  void aFailingWriteLeavesNoTrace() {
    openPayments();
    pay("5", "מרץ", "מרץ", "250");
    const QString refused = test::refuseWrites("anual_report", "UPDATE");
    pay("5", "אפריל", "אפריל", "250");
    cancel(0, QStringLiteral("טעות"));
    QCOMPARE(messages->shown.size(), 2);
    const QString shown = texts::saveFailed.arg(texts::withDetail(texts::causeEngine, refused));
    QCOMPARE(messages->shown, (QStringList{shown, shown}));
    QCOMPARE(count("incoming") + count("trans") + count("anual_report"), 3);
    QCOMPARE(test::rows("SELECT count(cancelled) FROM incoming")[0][0].toInt(), 0);
    QCOMPARE(grid().size(), 1);
  }

  void theBooksCheckFindsAChangedCell() {
    QTemporaryDir dir;
    const QString path = dir.filePath("generated.sqlite");
    QVERIFY(bench::generate(path, 2, 7, 3, 5));
    QString said;
    QTextStream out(&said);
    QCOMPARE(checkBooks(path, false, out), 0);
    QCOMPARE(said, texts::checkPassed + "\n");

    QVERIFY(db::open(path).failure.isEmpty());
    const int year = today().year();
    const auto paid = test::rows("SELECT apartment, mer FROM anual_report WHERE year = ? AND mer > 1 LIMIT 1", {year});
    QCOMPARE(paid.size(), 1);
    const qint64 apartment = paid[0][0].toLongLong();
    test::books().exec("UPDATE anual_report SET mer = 1 WHERE apartment = ? AND year = ?", {apartment, year});
    db::close();
    said.clear();
    QCOMPARE(checkBooks(path, false, out), 1);
    const QString finding = texts::checkMatrixRow.arg(apartment).arg(year).arg(
        texts::checkCell.arg("מרץ", "0.01", Money::fromAgorot(paid[0][1].toLongLong()).toString()));
    QCOMPARE(said, finding + "\n" + texts::checkFailed.arg(1) + "\n");
    said.clear();
    QCOMPARE(checkBooks(path, true, out), 0);
    QCOMPARE(said, finding + "\n" + texts::checkFailed.arg(1) + "\n" + texts::repairWill.arg(1) + "\n" +
                       texts::repairDone + "\n");
    said.clear();
    QCOMPARE(checkBooks(path, false, out), 0);
    QCOMPARE(said, texts::checkPassed + "\n");
    database->reopen();
  }

  void annualReportShowsTheChosenYear() {
    openPayments();
    pay("5", "ינואר", "פבואר", "500");
    pay("2", "מרץ", "מרץ", "250");
    pay("5", "ינואר", "ינואר", "250", "ועד הבית", QDate(2025, 6, 1));
    setToday(QDate(2026, 1, 1));
    test::books().exec("INSERT INTO anual_report (apartment, family, year) VALUES (9, 'ותיק', 1998)");
    window = openShared<AnualReportWindow>();
    QComboBox *year = combo("year");
    QCOMPARE(year->count(), 42); // twenty years each way, and every year stored
    QCOMPARE(year->itemText(0), QStringLiteral("1998"));
    QCOMPARE(year->itemText(1), QStringLiteral("2006"));
    QCOMPARE(year->currentText(), QStringLiteral("2026"));
    auto *model = control<QTableView>("DataGrid1")->model();
    QCOMPARE(test::gridHeaders(model),
             (QStringList{"דירה", "שם_ומשפחה", "ינואר", "פברואר", "מרץ", "אפריל", "מאי", "יוני", "יולי", "אוגוסט",
                          "ספטמבר", "אוקטובר", "נובמבר", "דצמבר", "סהכ", "יתרת_חובה"}));
    const QStringList none(10); // the months no payment credited
    QCOMPARE(test::gridRows(model)[0], (QStringList{"5", "כהן", "250", "250"} + none + QStringList{"500", "2500"}));
    // Typing a year without choosing it changes nothing; choosing reads it,
    // even the year shown.
    year->setCurrentIndex(year->findText("2025"));
    QCOMPARE(test::gridRows(model).size(), 2);
    emit year->activated(year->currentIndex());
    QCOMPARE(test::gridRows(model).size(), 1);
    window = sharedWindow<IncomingWindow>();
    pay("5", "אפריל", "אפריל", "250", "ועד הבית", QDate(2025, 6, 1));
    window = sharedWindow<AnualReportWindow>();
    emit year->activated(year->currentIndex());
    QCOMPARE(test::gridRows(model)[0][5], QStringLiteral("250"));

    // On paper: every apartment of the building (1 to 12) and every other
    // with a row that year, however many the window shows, and the year's
    // totals, amounts as on the residents' papers.
    for (int apartment = 10; apartment < 70; ++apartment)
      test::books().exec("INSERT INTO anual_report (apartment, family, year, jan, total, depth) "
                         "VALUES (?, 'x', 2025, 100, 100, 200)",
                         {apartment});
    test::Prints prints;
    click("Command1");
    QCOMPARE(prints.texts, QStringList{"דו\"ח תשלומים שנתי 2025"});
    const auto table = prints.tables[0];
    QCOMPARE(table.size(), 1 + 69 + 1);
    QCOMPARE(table[0].size(), 16);
    QCOMPARE(table[1], (QStringList{"1", texts::emptyApartment} + QStringList(12) + QStringList{"0.00", "0.00"}));
    const QStringList empty(12);
    QCOMPARE(table[2], (QStringList{"2", "לוי"} + empty + QStringList{"0.00", "0.00"}));
    // 2025 is before the books' start (2026): it charged nothing, so what
    // apartment 5 paid for it stands as a credit of 500; each of the 60
    // added rows paid 1.00 of its 3.00.
    const QStringList april{"", "", "250.00", "", "", "", "", "", "", "", ""};
    QCOMPARE(table[5], (QStringList{"5", "כהן", "250.00"} + april + QStringList{"500.00", "\u2066-500.00\u2069"}));
    QCOMPARE(table.last(), (QStringList{"סה\"כ", "", "310.00"} + april + QStringList{"560.00", "\u2066-380.00\u2069"}));
  }
};

QTEST_MAIN(PaymentsTest)
#include "test_payments.moc"
