// The payments window driven as a user would: the road of a payment into
// incoming, trans and the annual matrix, cancelling, the questions before
// writing, levies, the books' check and the annual payments report.
#include "generate.h"
#include "testsupport.h"

struct Refusal {
  QStringList typed; // apartment, for, from, to, year, amount
  QString message, focus;
};

class PaymentsTest : public test::WindowTest {
  Q_OBJECT

  QComboBox *combo(const char *name) const { return control<QComboBox>(name); }
  // A whole matrix row: apartment, family, year, the twelve months, total, depth.
  static QVariantList matrix(int apartment, int year) {
    const auto rows = test::rows("SELECT * FROM anual_report WHERE apartment = ? AND year = ?", {apartment, year});
    return rows.isEmpty() ? QVariantList() : rows[0];
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

  void opensWithTodayAndTheCurrentMonth_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("month");
    QTest::newRow("March") << QDate(2026, 3, 15) << "מרץ";
    QTest::newRow("January") << QDate(2027, 1, 1) << "ינואר";
    QTest::newRow("December") << QDate(2026, 12, 31) << "דצמבר";
  }
  void opensWithTodayAndTheCurrentMonth() {
    QFETCH(QDate, day);
    QFETCH(QString, month);
    setToday(day);
    openPayments();
    const QString year = QString::number(day.year());
    QCOMPARE(
        shows({"inputdate", "from_month", "to_month", "year", "amount", "family", "forcombo", "payment", "apartment"}),
        (QStringList{day.toString("dd/MM/yyyy"), month, month, year, "0", "", "", "", ""}));
    QCOMPARE((QStringList{combo("year")->itemText(0), combo("year")->itemText(2), focused()}),
             (QStringList{QString::number(day.year() - 1), QString::number(day.year() + 1), "apartment"}));
    QCOMPARE(combo("apartment")->itemText(0), QStringLiteral("5")); // in table order: 5 was added before 2
    QCOMPARE(test::gridHeaders(control<QTableView>("DataGrid1")->model()),
             (QStringList{"תאריך_קליטה", "דירה", "עבור", "פירוט", "מחודש", "עד_חודש", "שנה", "סוג_תשלום", "אסמכתא",
                          "סכום", "קבלה", "ביטול"}));
  }

  // The name follows the apartment typed or chosen; typed "1" with 11 and 1
  // listed, then Tab, stays apartment 1, never completed to 11. Enter in
  // the amount records; Enter on a focused button presses it; the date box
  // is one Tab stop each way.
  void theApartmentIsTakenAsTypedAndEnterRecords() {
    test::addResident(11, "אחד עשר");
    test::addResident(1, "אחד");
    openPayments();
    combo("apartment")->setCurrentIndex(1);
    QCOMPARE(shows({"family"}), QStringList{"לוי"});
    fill({{"apartment", "05"}});
    QCOMPARE(shows({"family"}), QStringList{"כהן"});
    fill({{"apartment", "9"}});
    QCOMPARE(shows({"family"}), QStringList{""});
    fill({{"apartment", ""}});
    QTest::keyClicks(combo("apartment"), "1");
    QTest::keyClick(combo("apartment"), Qt::Key_Tab);
    QCOMPARE(shows({"apartment", "family"}), (QStringList{"1", "אחד"}));

    test::Prints prints;
    fill({{"forcombo", "אחר"}, {"amount", "1,200"}});
    QTest::keyClick(control<QLineEdit>("amount"), Qt::Key_Return);
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(test::rows("SELECT apartment, amount FROM incoming"), (QList<QVariantList>{{1, 120000}}));
    control<QPushButton>("Command2")->setFocus();
    QTest::keyClick(control<QPushButton>("Command2"), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(prints.tables.size(), 1);
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
    const auto sortedBy = [this, view](int column) {
      QHeaderView *header = view->horizontalHeader();
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, 5));
      QStringList apartments;
      for (const QStringList &row : grid())
        apartments << row[1];
      return apartments;
    };
    QCOMPARE(sortedBy(1), (QStringList{"2", "5", "11"}));
    QCOMPARE(sortedBy(1), (QStringList{"11", "5", "2"}));
    pay("7", "מרץ", "מרץ", "50");
    QCOMPARE(view->currentIndex().row(), 1); // 11, 7, 5, 2
    QCOMPARE(sortedBy(1), (QStringList{"5", "2", "11", "7"}));
    QCOMPARE(tabsFrom(view), (QStringList{"cancelRow", "Command1"}));
  }

  // Refused before anything is written, the fields kept to be corrected and
  // the focus on the field to correct (amounts by the one money rule).
  void refusesBadInputBeforeWriting_data() {
    QTest::addColumn<Refusal>("c");
    const auto row = [](const char *name, const QStringList &typed, const QString &message, const QString &focus) {
      QTest::newRow(name) << Refusal{typed, message, focus};
    };
    row("both mandatory empty", {"", "", "מרץ", "מרץ", "2026", "100"}, texts::forRequired, "Command1");
    row("no apartment", {"", "אחר", "מרץ", "מרץ", "2026", "100"}, texts::apartmentRequired, "apartment");
    row("amount text", {"5", "אחר", "מרץ", "מרץ", "2026", "מאה"}, texts::badAmount, "amount");
    row("zero", {"5", "אחר", "מרץ", "מרץ", "2026", "0"}, texts::zeroAmount, "amount");
    row("zero agorot", {"5", "אחר", "מרץ", "מרץ", "2026", "0.00"}, texts::zeroAmount, "amount");
    row("'for' with a direction mark", {"5", "אחר\u200F", "מרץ", "מרץ", "2026", "100"},
        texts::badCharacters.arg("עבור"), "Command1");
    row("'for' of spaces", {"5", "   ", "מרץ", "מרץ", "2026", "100"}, texts::forRequired, "Command1");
    row("'for' with an override", {"5", "\u202Eאחר", "מרץ", "מרץ", "2026", "100"}, texts::badCharacters.arg("עבור"),
        "Command1");
    row("month not listed", {"5", "אחר", "מרס", "מרץ", "2026", "100"}, texts::badMonth, "from_month");
    row("across the year end", {"5", "אחר", "נובמבר", "פבואר", "2026", "100"}, texts::monthsReversed, "from_month");
    row("year too early", {"5", "אחר", "מרץ", "מרץ", "1999", "100"}, texts::badYear, "year");
    row("year text", {"5", "אחר", "מרץ", "מרץ", "שנה", "100"}, texts::badYear, "year");
    row("apartment text", {"חמש", "אחר", "מרץ", "מרץ", "2026", "100"}, texts::apartmentMissing, "apartment");
    row("beyond the building", {"13", "אחר", "מרץ", "מרץ", "2026", "100"}, texts::apartmentOutOfRange.arg(13).arg(12),
        "apartment");
  }
  void refusesBadInputBeforeWriting() {
    QFETCH(Refusal, c);
    openPayments();
    control<QPushButton>("Command1")->setFocus();
    pay(c.typed[0], c.typed[2], c.typed[3], c.typed[5], c.typed[1], "15/03/2026", c.typed[4]);
    QCOMPARE(messages->shown, QStringList{c.message});
    QCOMPARE(count("incoming") + count("trans") + count("anual_report"), 0);
    QCOMPARE(shows({"amount", "from_month"}) << focused(), (QStringList{c.typed[5], c.typed[2], c.focus}));
  }

  // Into incoming, the journal and the matrix; the grid, the status line
  // and the receipt. An amount under a shekel is an amount.
  void aPaymentTakesItsWholeRoad() {
    openPayments();
    fill({{"details", "דמי ועד"}, {"reference", "4711"}});
    combo("payment")->setCurrentIndex(1);
    pay("5", "מרץ", "מאי", "300");
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(test::rows("SELECT * FROM incoming"), (QList<QVariantList>{{"2026-03-15",
                                                                         5,
                                                                         "ועד הבית",
                                                                         "דמי ועד",
                                                                         "מרץ",
                                                                         "מאי",
                                                                         "שיק",
                                                                         30000,
                                                                         1,
                                                                         2026,
                                                                         {},
                                                                         {},
                                                                         {},
                                                                         "4711",
                                                                         "2026-03-15T12:00:00"}}));
    QCOMPARE(test::rows("SELECT inputdate, \"for\", amount, \"Type\", source_table, source_reciept FROM trans"),
             (QList<QVariantList>{{"2026-03-15", "ועד הבית", 30000, "הכנסה", "incoming", 1}}));
    QCOMPARE(matrix(5, 2026),
             (QVariantList{
                 5, "כהן", 2026, {}, {}, 10000, 10000, 10000, {}, {}, {}, {}, {}, {}, {}, 30000, 12 * 25000 - 30000}));
    QCOMPARE(grid(), (QList<QStringList>{{"15/03/2026", "5", "ועד הבית", "דמי ועד", "מרץ", "מאי", "2026", "שיק", "4711",
                                          "300", "1", ""}}));
    // The fields stay for the next payment but its detail, and the new row is chosen.
    QCOMPARE(shows({"details", "payment", "statusLine"}), (QStringList{"", "שיק", texts::paymentRecorded.arg(1)}));
    QCOMPARE(control<QTableView>("DataGrid1")->currentIndex().row(), 0);
    QCOMPARE(test::table(*payments::receipt(test::books(), 1)),
             (QList<QStringList>{{"פרט", "ערך"},
                                 {"תאריך", "15/03/2026"},
                                 {"דירה", "5"},
                                 {"שם ומשפחה", "כהן"},
                                 {"עבור", "ועד הבית"},
                                 {"פירוט", "דמי ועד"},
                                 {"חודשים", "מרץ עד מאי"},
                                 {"שנה", "2026"},
                                 {"אופן תשלום", "שיק"},
                                 {"אסמכתא", "4711"},
                                 {"סכום", "300.00 ש\"ח"},
                                 {"סכום במילים", "שלוש מאות שקלים"}}));
    pay("2", "יוני", "יוני", "0.10");
    QCOMPARE(test::rows("SELECT amount FROM incoming WHERE reciept = 2"), (QList<QVariantList>{{10}}));
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
    const auto current = [view](int column) {
      return view->model()->index(view->currentIndex().row(), column).data().toString();
    };
    // Known at once, not fetched by pages, and opened on the newest.
    QCOMPARE((QStringList{QString::number(view->model()->rowCount()), current(payments::recieptColumn)}),
             (QStringList{"10000", "10000"}));
    QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(current(payments::amountColumn), QStringLiteral("1"));
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(current(payments::amountColumn), QStringLiteral("10000"));
    pay("5", "מרץ", "מרץ", "250");
    QCOMPARE((QList<int>{view->currentIndex().row(), current(payments::recieptColumn).toInt()}),
             (QList<int>{10000, 10001}));
  }

  // Payments as "from to amount [for]", then the months' cells (agorot) as
  // the matrix must hold them, their total and the year's debt.
  void theMatrixIsTheSumOfThePayments_data() {
    QTest::addColumn<QStringList>("payments");
    QTest::addColumn<QVariantList>("cells");
    const QVariant e; // a month no payment credited
    QTest::newRow("a month in two parts")
        << QStringList{"מרץ מרץ 150", "מרץ מרץ 150"} << QVariantList{e, e, 30000, e, e, e, e, e, e, e, e, e, 30000};
    QTest::newRow("'other' credits the months") << QStringList{"ינואר מרץ 750", "פבואר פבואר 100 אחר"}
                                                << QVariantList{25000, 35000, 25000, e, e, e, e, e, e, e, e, e, 85000};
    QTest::newRow("thirds: the agora left to the last")
        << QStringList{"ינואר מרץ 100"} << QVariantList{3333, 3333, 3334, e, e, e, e, e, e, e, e, e, 10000};
    QTest::newRow("halves exact") << QStringList{"אפריל מאי 125", "יוני יולי 135"}
                                  << QVariantList{e, e, e, 6250, 6250, 6750, 6750, e, e, e, e, e, 26000};
    QTest::newRow("months as usually spelled")
        << QStringList{"פברואר ספטמבר 800"}
        << QVariantList{e, 10000, 10000, 10000, 10000, 10000, 10000, 10000, 10000, e, e, e, 80000};
    QTest::newRow("a refund subtracts") << QStringList{"דצמבר דצמבר 300", "דצמבר דצמבר -100"}
                                        << QVariantList{e, e, e, e, e, e, e, e, e, e, e, 20000, 20000};
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
    QCOMPARE(matrix(5, 2026).mid(3), cells + QVariantList{12 * 25000 - cells.last().toInt()});
    QCOMPARE(consistency::check(test::books()).size(), 0); // stored as the lists' items, as --check reads them
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
    QCOMPARE(shows({"year"}), QStringList{"2026"});
    combo("year")->setFocus();
    combo("year")->lineEdit()->selectAll();
    QTest::keyClicks(combo("year")->lineEdit(), "2027");
    fill({{"inputdate", "21/12/2026"}, {"details", "ינואר הבא"}});
    QCOMPARE(shows({"year"}), QStringList{"2027"}); // chosen, it stays
    pay("2", "ינואר", "ינואר", "250", "ועד הבית", "21/12/2026");
    QCOMPARE(matrix(2, 2027).mid(3, 2), (QVariantList{25000, {}}));
    QVERIFY(matrix(2, 2026).isEmpty());
    QCOMPARE(grid()[0][6], QStringLiteral("2027"));
    // Recorded, it follows the date again.
    QCOMPARE(shows({"details", "year"}) << combo("year")->itemText(0), (QStringList{"", "2026", "2025"}));
    // A typed year beyond the list, and a January entry for last November:
    // before the books' start (2026), it pays the opening debt, no month.
    pay("2", "נובמבר", "דצמבר", "500", "אחר", "03/01/2027", "2025");
    QCOMPARE(matrix(2, 2025).mid(1), (QVariantList{"לוי", 2025} + QVariantList(12) + QVariantList{0, 0}));
    QCOMPARE(owing::lines(test::books(), 2, QDate(2027, 1, 3))[0], (QVariantList{"חוב פתיחה", 50000, 0, -50000}));
    // Nor does the meeting report show such months as paid.
    test::pay(5, "נובמבר-דצמבר", "500", QDate(2025, 12, 20), 2025);
    QCOMPARE(test::table(meeting::payments(test::books(), QDate(2025, 11, 1), QDate(2025, 12, 31)))[5].mid(2, 3),
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
    QCOMPARE(grid("leviesList"), (QList<QStringList>{{"1", "גג", "01/04/2026", "3", "10806", "0"}}));
    QCOMPARE(grid("chargesList").size(), 12); // every apartment of the building
    fill({{"chargeApartment", "5"}, {"chargeAmount", "1500"}});
    click("saveCharge");
    QCOMPARE(grid("chargesList")[4], (QStringList{"5", "1500", "0"}));

    openPayments();
    QCOMPARE(combo("forcombo")->itemText(3), QStringLiteral("גג"));     // after the opening debt
    test::books().exec("DELETE FROM levy_charges WHERE apartment = 2"); // only those it charges pay it
    pay("2", "מרץ", "מרץ", "100", "גג");
    pay("5", "מרץ", "מרץ", "500", "גג "); // a space after the name is the levy still
    QCOMPARE(messages->shown, QStringList{texts::levyNotCharged.arg("גג").arg(2)});
    QCOMPARE(test::rows("SELECT from_month, to_month, year, levy FROM incoming"),
             (QList<QVariantList>{{"", "", {}, 1}}));
    QCOMPARE(count("anual_report"), 0); // the months are the dues' alone
    QCOMPARE(grid()[0][2], QStringLiteral("גג"));

    window = sharedWindow<LeviesWindow>();
    click("deleteLevy");
    QCOMPARE(messages->last(), texts::levyHasPayments);
    QCOMPARE(grid("leviesList")[0].mid(4), (QStringList{"10505", "500"})); // 10,806 − 2 × 900.50 + 1,500
  }

  // Refused with nothing written; an amount under a shekel is taken.
  void aLevyIsRefusedBeforeWriting_data() {
    QTest::addColumn<QStringList>("typed"); // name, amount, instalments
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << QStringList{" ", "100", "1"} << texts::levyNameRequired;
    QTest::newRow("an isolate") << QStringList{"גג\u2069", "100", "1"} << texts::badCharacters.arg("שם ההיטל");
    QTest::newRow("the list's own item") << QStringList{"אחר", "100", "1"} << texts::levyNameTaken.arg("אחר");
    QTest::newRow("a name taken") << QStringList{"מעלית", "100", "1"} << texts::levyNameTaken.arg("מעלית");
    QTest::newRow("the opening debt") << QStringList{"חוב פתיחה", "100", "1"} << texts::levyNameTaken.arg("חוב פתיחה");
    QTest::newRow("a negative amount") << QStringList{"גג", "-5", "1"} << texts::negativeLevy;
    QTest::newRow("no amount") << QStringList{"גג", "הרבה", "1"} << texts::badAmount;
    QTest::newRow("no instalments") << QStringList{"גג", "100", "0"} << texts::badInstalments;
    QTest::newRow("ten agorot") << QStringList{"גג", "0.10", "1"} << QString();
  }
  void aLevyIsRefusedBeforeWriting() {
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QCOMPARE(levies::define(test::books(), {"מעלית", "100", QDate(2026, 4, 1), "1"}), QString());
    const auto before = test::rows("SELECT * FROM levies") + test::rows("SELECT * FROM levy_charges");
    QCOMPARE(levies::define(test::books(), {typed[0], typed[1], QDate(2026, 4, 1), typed[2]}), message);
    QCOMPARE(count("levy_charges"), message.isEmpty() ? 24 : 12);
    if (!message.isEmpty())
      QCOMPARE(test::rows("SELECT * FROM levies") + test::rows("SELECT * FROM levy_charges"), before);
  }

  // "חוב פתיחה" pays the opening debt and no month, whatever the month
  // boxes hold: nothing asked of its size (1,280 owed, no dues before the
  // books), no matrix row, a receipt without months; the story shows it paid.
  void theOpeningDebtIsPaidAsSuch() {
    QCOMPARE(setOpeningDebt(test::books(), "5", "1280"), QString());
    openPayments();
    pay("5", "ינואר", "ינואר", "640.50", texts::openingDebt);
    pay("5", "מרץ", "מאי", "639.50", texts::openingDebt);
    QCOMPARE(messages->asked + messages->shown, QStringList());
    QCOMPARE(test::rows("SELECT from_month, to_month, year, levy, \"for\" FROM incoming"),
             QList<QVariantList>(2, {"", "", {}, {}, "חוב פתיחה"}));
    QCOMPARE(count("anual_report"), 0);
    QCOMPARE(owing::lines(test::books(), 5, today())[0], (QVariantList{"חוב פתיחה", 128000, 128000, 0}));
    QCOMPARE(test::table(*payments::receipt(test::books(), 1)),
             (QList<QStringList>{{"פרט", "ערך"},
                                 {"תאריך", "15/03/2026"},
                                 {"דירה", "5"},
                                 {"שם ומשפחה", "כהן"},
                                 {"עבור", "חוב פתיחה"},
                                 {"פירוט", ""},
                                 {"אופן תשלום", ""},
                                 {"סכום", "640.50 ש\"ח"},
                                 {"סכום במילים", "שש מאות וארבעים שקלים וחמישים אגורות"}}));
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
    QVERIFY(list->isVisible());                        // "12" offered
    QCOMPARE(QApplication::activePopupWidget(), list); // the keys go to it
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(!list->isVisible() && window->isVisible());
    QCOMPARE(shows({"apartment"}) + messages->asked, QStringList{"1"});
    // A list dropped down, from the keyboard, closes alone too.
    combo("payment")->setFocus();
    QTest::keyClick(combo("payment"), Qt::Key_Down, Qt::AltModifier);
    QVERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QVERIFY(!QApplication::activePopupWidget() && window->isVisible());
    QCOMPARE(messages->asked, QStringList());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(messages->asked, QStringList{texts::closeUnrecorded});
    QVERIFY(!window->isVisible());
    openPayments();
    QTest::keyClicks(control<QLineEdit>("details"), "March");
    pay("5", "מרץ", "מרץ", "250");
    window->close();
    QCOMPARE(messages->asked.size(), 1);
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
  // twice the dues of its months (250 a month here). Declined, nothing is written.
  void questionsBeforeWriting_data() {
    QTest::addColumn<QString>("first");      // the amount recorded first, March 2026; empty: none; "-": cancelled
    QTest::addColumn<QStringList>("second"); // months from, to, amount, year
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("the same again") << "250" << QStringList{"מרץ", "מרץ", "250", "2026"}
                                    << QStringList{texts::duplicatePayment};
    QTest::newRow("another amount") << "250" << QStringList{"מרץ", "מרץ", "300", "2026"} << QStringList{};
    QTest::newRow("the first cancelled") << "-250" << QStringList{"מרץ", "מרץ", "250", "2026"} << QStringList{};
    QTest::newRow("another year") << "250" << QStringList{"מרץ", "מרץ", "250", "2025"} << QStringList{};
    QTest::newRow("twice the dues") << "" << QStringList{"מרץ", "אפריל", "1000", "2026"} << QStringList{};
    QTest::newRow("past twice the dues") << "" << QStringList{"מרץ", "אפריל", "1001", "2026"}
                                         << QStringList{texts::largePayment.arg("1001", "500")};
    QTest::newRow("before the books: no dues") << "" << QStringList{"נובמבר", "דצמבר", "1001", "2025"} << QStringList{};
    QTest::newRow("2,800 for one month") << "" << QStringList{"מרץ", "מרץ", "2800", "2026"}
                                         << QStringList{texts::largePayment.arg("2800", "250")};
  }
  void questionsBeforeWriting() {
    QFETCH(QString, first);
    QFETCH(QStringList, second);
    QFETCH(QStringList, asked);
    openPayments();
    if (!first.isEmpty())
      pay("5", "מרץ", "מרץ", first.mid(first.startsWith('-')), "ועד הבית", "15/03/2026", "2026");
    if (first.startsWith('-'))
      cancel(0, QStringLiteral("טעות"));
    messages->asked.clear();
    messages->yes = false;
    pay("5", second[0], second[1], second[2], "ועד הבית", "15/03/2026", second[3]);
    QCOMPARE(messages->asked, asked);
    QCOMPARE(count("incoming"), (first.isEmpty() ? 0 : 1) + (asked.isEmpty() ? 1 : 0));
  }

  // Raised from April: January to March keep 250, and the window reopened
  // shows what was saved.
  void savedDetailsTakeEffectAtOnce() {
    openPayments();
    pay("5", "ינואר", "ינואר", "250", "ועד הבית", "01/06/2025", "2025");
    pay("5", "ינואר", "ינואר", "250");
    window = openShared<RegisterWindow>();
    fill({{"Text5", "300"}, {"Text2", "חולון"}});
    messages->reply = "04/2026";
    click("Command1");
    QCOMPARE(messages->shown, QStringList{texts::detailsSaved});
    QCOMPARE(matrix(5, 2026)[16].toInt(), 3 * 25000 + 9 * 30000 - 25000);
    QCOMPARE(matrix(5, 2025).mid(15), (QVariantList{0, 0})); // before the books' start: the opening debt's
    window = sharedWindow<IncomingWindow>();
    pay("2", "אפריל", "אפריל", "300");
    QCOMPARE(matrix(2, 2026)[16].toInt(), 3 * 25000 + 9 * 30000 - 30000);
    sharedWindow<RegisterWindow>()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window = openShared<RegisterWindow>();
    QCOMPARE(shows({"Text5", "Text2"}), (QStringList{"300", "חולון"}));
  }

  void cancellingAPaymentUndoesItExactly() {
    test::Prints prints;
    openPayments();
    click("Command2");
    QCOMPARE(prints.tables[0].size(), 1); // the headers alone
    fill({{"details", "5 כוכבים"}});
    pay("5", "מרץ", "מאי", "300");
    const QVariantList before = matrix(5, 2026);
    const auto balanceBefore = test::rows("SELECT \"for\", sum(amount) FROM trans GROUP BY \"for\"");
    pay("5", "אפריל", "אפריל", "120.5", "אחר");
    QVERIFY(matrix(5, 2026) != before);

    cancel(1, QStringLiteral("טעות הקלדה"));
    QCOMPARE(messages->asked,
             QStringList{texts::cancelQuestion.arg("קבלה מס' 2, תאריך 15/03/2026, דירה 5, סכום 120.5")});
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(shows({"statusLine"}), QStringList{texts::rowCancelled.arg(2)});
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
    QCOMPARE(test::rows("SELECT count(cancelled), (SELECT count(*) FROM trans) FROM incoming")[0],
             (QVariantList{1, 3}));
  }

  void aFailingWriteLeavesNoTrace() {
    openPayments();
    pay("5", "מרץ", "מרץ", "250");
    const QString refused = test::refuseWrites("anual_report", "UPDATE");
    pay("5", "אפריל", "אפריל", "250");
    cancel(0, QStringLiteral("טעות"));
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
    const auto check = [&](bool repair) {
      said.clear();
      return checkBooks(path, repair, out);
    };
    QCOMPARE(check(false), 0);
    QCOMPARE(said, texts::checkPassed + "\n");
    QVERIFY(db::open(path).failure.isEmpty());
    const int year = today().year();
    const auto paid = test::rows("SELECT apartment, mer FROM anual_report WHERE year = ? AND mer > 1 LIMIT 1", {year});
    test::books().exec("UPDATE anual_report SET mer = 1 WHERE apartment = ? AND year = ?", {paid[0][0], year});
    db::close();
    QCOMPARE(check(false), 1);
    const QString finding =
        texts::checkMatrixRow.arg(paid[0][0].toLongLong())
            .arg(year)
            .arg(texts::checkCell.arg("מרץ", "0.01", Money::fromAgorot(paid[0][1].toLongLong()).toString())) +
        "\n" + texts::checkFailed.arg(1) + "\n";
    QCOMPARE(said, finding);
    QCOMPARE(check(true), 0);
    QCOMPARE(said, finding + texts::repairWill.arg(1) + "\n" + texts::repairDone + "\n");
    QCOMPARE(check(false), 0);
    QCOMPARE(said, texts::checkPassed + "\n");
    database->reopen();
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
    QCOMPARE(test::gridHeaders(model),
             (QStringList{"דירה", "שם_ומשפחה", "ינואר", "פברואר", "מרץ", "אפריל", "מאי", "יוני", "יולי", "אוגוסט",
                          "ספטמבר", "אוקטובר", "נובמבר", "דצמבר", "סהכ", "יתרת_חובה"}));
    QCOMPARE(test::gridRows(model)[0], (QStringList{"5", "כהן", "250", "250"} + QStringList(10) +
                                        QStringList{"500", "2500"})); // ten months no payment credited
    // Typing a year without choosing it changes nothing; choosing reads it,
    // even the year shown.
    year->setCurrentIndex(year->findText("2025"));
    QCOMPARE(test::gridRows(model).size(), 2);
    emit year->activated(year->currentIndex());
    QCOMPARE(test::gridRows(model).size(), 1);
    window = sharedWindow<IncomingWindow>();
    pay("5", "אפריל", "אפריל", "250", "ועד הבית", "01/06/2025");
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
    QCOMPARE((QList<qsizetype>{table.size(), table[0].size()}), (QList<qsizetype>{1 + 69 + 1, 16}));
    const QStringList empty(12);
    QCOMPARE(table.mid(1, 2),
             (QList<QStringList>{QStringList{"1", texts::emptyApartment} + empty + QStringList{"0.00", "3,000.00"},
                                 QStringList{"2", "לוי"} + empty + QStringList{"0.00", "3,000.00"}}));
    // Apartment 5 paid 500 of 2025's 3,000; each of the 60 added rows paid
    // 1.00 of its 3.00; the eight others of the building owe the year.
    const QStringList april{"", "", "250.00", "", "", "", "", "", "", "", ""};
    QCOMPARE(table[5], (QStringList{"5", "כהן", "250.00"} + april + QStringList{"500.00", "2,500.00"}));
    QCOMPARE(table.last(), (QStringList{"סה\"כ", "", "310.00"} + april + QStringList{"560.00", "26,620.00"}));
  }
};

QTEST_MAIN(PaymentsTest)
#include "test_payments.moc"
