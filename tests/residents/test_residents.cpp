// The residents window driven as a user would: adding, looking up,
// updating and deleting a resident, the refusals, and the residents list.
#include "testsupport.h"

class ResidentsTest : public test::WindowTest {
  Q_OBJECT

  QString mode() const { return static_cast<NeighborsWindow *>(window)->mode(); }
  QList<QStringList> grid() const { return WindowTest::grid("neighborslist"); }
  static QString table() {
    return test::dump("SELECT apartment, family, status, phone1, phone2, email FROM neighbors ORDER BY apartment");
  }
  // Types the apartment and leaves the field with Tab, which looks it up.
  void typeApartment(const QString &text) const {
    fill({{"apartment", text}});
    QTest::keyClick(control<QLineEdit>("apartment"), Qt::Key_Tab);
  }
  void openWindow() {
    window = openShared<NeighborsWindow>();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
  }

private slots:
  void init() { startTest(QDate(2026, 3, 15)); }
  void cleanup() { endTest(); }

  // Idle at first, the grid in apartment order; added, the window goes
  // idle again, Tab having gone from the apartment to the name.
  void addsAResidentAndGoesIdle() {
    test::addResident(12, "לוי");
    test::addResident(3, "כהן");
    openWindow();
    QCOMPARE((QStringList{grid()[0][0], grid()[1][0], mode(), shows({"status"})[0]}),
             (QStringList{"3", "12", "", "בעל הבית"}));
    QVERIFY(!control<QLineEdit>("apartment")->isEnabled() && !control<QPushButton>("updaterecord")->isEnabled());
    click("addnew");
    const QString added = mode() + focused();
    typeApartment("4");
    QCOMPARE(added + ' ' + focused(), QStringLiteral("addapartment family"));
    fill({{"family", "כהן"}, {"phone1", "03-5551234"}});
    control<QComboBox>("status")->setCurrentText("שוכר");
    click("updaterecord");
    QCOMPARE(table(), "3|כהן|בעל הבית|||\n4|כהן|שוכר|03-5551234||\n12|לוי|בעל הבית|||");
    QCOMPARE((QStringList{grid()[1][1], mode(), focused()} + messages->shown + shows({"family", "statusLine"})),
             (QStringList{"כהן", "none", "addnew", "", texts::residentAdded.arg(4)})); // 4 between 3 and 12
    QVERIFY(!control<QLineEdit>("apartment")->isEnabled());
    click("addnew");
    QCOMPARE(shows({"status"}), QStringList{""}); // the next resident's status is chosen anew
  }

  // Apartment 5 is taken; the fields stay for correcting.
  void refusesAnApartmentTakenOrNoNumber_data() {
    QTest::addColumn<QString>("typed");
    for (const char *typed : {"5", "05", " 5", "", "abc", "0", "-3", "2.5"})
      QTest::newRow(typed) << QString::fromLatin1(typed);
  }
  void refusesAnApartmentTakenOrNoNumber() {
    QFETCH(QString, typed);
    const QString message = QStringList{"5", "05", " 5"}.contains(typed) ? texts::apartmentExists : texts::badApartment;
    test::addResident(5, "כהן");
    openWindow();
    click("addnew");
    typeApartment(typed);
    fill({{"family", "לוי"}});
    click("updaterecord");
    QCOMPARE(messages->shown + QStringList{mode()} + shows({"family"}) << table(),
             (QStringList{message, "add", "לוי", "5|כהן|בעל הבית|||"}));
  }

  // Choosing a row shows its resident; while updating, it is the one
  // looked up, ready to save. Looked up by a typed apartment ("07"), an
  // empty name shows as a space and an empty status as the owner's, and
  // are saved so; a number stays left to
  // right in the grid.
  void updateLooksTheResidentUpAndSavesIt() {
    test::books().exec("INSERT INTO neighbors VALUES (7, '', '', '050', '', 'a@b.c')");
    test::addResident(3, "כהן");
    openWindow();
    chooseRow(1, "neighborslist");
    QCOMPARE(shows({"apartment", "family", "status", "phone1", "email"}), (QStringList{"7", "", "", "050", "a@b.c"}));
    QVERIFY(!control<QLineEdit>("family")->isEnabled());
    click("update");
    chooseRow(0, "neighborslist");
    fill({{"phone2", "052"}});
    click("updaterecord");
    QCOMPARE(shows({"statusLine"}), QStringList{texts::residentUpdated.arg(3)});
    click("update");
    typeApartment("07");
    fill({{"phone2", "052"}, {"ownerName", "אלון"}, {"ownerPhone", "052-7654321"}, {"ownerAddress", "הגפן 3, חולון"}});
    click("updaterecord");
    QCOMPARE(table(), "3|כהן|בעל הבית||052|\n7| |בעל הבית|050|052|a@b.c");
    // 7 is let: its owner, shown again when its row is chosen; none for 3, who owns its own.
    QCOMPARE(test::dump("SELECT * FROM owners"), "7|אלון|052-7654321||הגפן 3, חולון");
    chooseRow(1, "neighborslist");
    QStringList owners = shows({"ownerName", "ownerAddress"});
    chooseRow(0, "neighborslist");
    QCOMPARE(owners + shows({"ownerName"}), (QStringList{"אלון", "הגפן 3, חולון", ""}));
    QCOMPARE(messages->shown << mode() << grid()[1][4], (QStringList{"none", "\u2066052\u2069"}));
  }

  // Update or delete without a found resident changes nothing: none found,
  // or found 5 and the text changed without a lookup. From update to add,
  // the looked-up values stay.
  void nothingChangesWithoutAFoundResident() {
    test::addResident(5, "כהן");
    openWindow();
    click("update");
    typeApartment("8");
    fill({{"family", "זר"}});
    click("updaterecord");
    QCOMPARE(messages->shown + QStringList{mode()},
             (QStringList{texts::apartmentMissing, texts::apartmentMissing, "update"}));
    click("delete");
    typeApartment("5");
    fill({{"apartment", "6"}});
    control<QPushButton>("updaterecord")->click(); // keyboard press: the field keeps the focus
    QCOMPARE(messages->shown, QStringList(3, texts::apartmentMissing));
    QCOMPARE(table(), "5|כהן|בעל הבית|||");
    click("update");
    typeApartment("5");
    click("addnew");
    QCOMPARE(shows({"family"}), QStringList{"כהן"});
    click("updaterecord");
    QCOMPARE(messages->last(), texts::apartmentExists);
    fill({{"apartment", "15"}});
    click("updaterecord");
    QCOMPARE(test::dump("SELECT family FROM neighbors WHERE apartment = 15"), "כהן");
  }

  // Deleting a resident whose apartment paid or owes asks first, with the
  // amount; the payments and the debt stay the apartment's.
  void deleteTouchesOnlyTheResidents() {
    test::addResident(5, "כהן");
    test::addResident(6, "לוי");
    QCOMPARE(setOpeningDebt(test::books(), "5", "1400"), QString());
    test::books().exec("INSERT INTO incoming (inputdate, apartment, amount, year) VALUES ('2026-01-01', 5, 100, 2026)");
    test::books().exec("INSERT INTO anual_report (apartment, family, year) VALUES (5, 'כהן', 2026)");
    openWindow();
    click("delete");
    typeApartment("5");
    messages->yes = false;
    click("updaterecord");
    const QString declined = table();
    messages->yes = true;
    click("updaterecord");
    QCOMPARE(messages->asked, QStringList(2, texts::removeResidentQuestion.arg(5).arg(1).arg("1400")));
    QCOMPARE(declined + ';' + table() + ';' + test::text(grid()).section('|', 0, 0),
             "5|כהן|בעל הבית|||\n6|לוי|בעל הבית|||;6|לוי|בעל הבית|||;6");
    QCOMPARE(test::dump("SELECT (SELECT count(*) FROM incoming), family, (SELECT amount FROM opening_debts "
                        "WHERE apartment = 5) FROM anual_report"),
             "1|כהן|140000");
  }

  // A sale or a move keeps whom it replaced, to the day: apartment 1's
  // resident כהן (050), its owner גולן (052) where he lets it; the form as
  // it is after, then the people kept, the resident, the owner, or the refusal.
  void aChangeKeepsWhoLeft_data() {
    test::cases(R"(
sold, the buyer moves in | | 0 | לוי | | both,כהן,050 | לוי,בעל הבית, | |
a landlord's sold, the tenant goes | גולן | 0 | לוי | גולן | occupant,כהן,050;owner,גולן,052 | לוי,בעל הבית, | |
sold, the owner stays a tenant | | 1 | כהן | לוי | owner,כהן,050 | כהן,בעל הבית,050 | לוי, |
a landlord's sold, the tenant stays | גולן | 1 | כהן | לוי | owner,גולן,052 | כהן,בעל הבית,050 | לוי, |
the owner moves out and lets it | | 2 | לוי | | occupant,כהן,050 | לוי,שוכר, | כהן,050 |
a new tenant | גולן | 2 | לוי | גולן | occupant,כהן,050 | לוי,שוכר, | גולן,052 |
refused: the same resident | | 0 | כהן | | | כהן,בעל הבית,050 | | כהן
refused: the same owner | גולן | 1 | כהן | גולן | | כהן,בעל הבית,050 | גולן,052 | גולן
refused: no one comes | | 2 | | | | כהן,בעל הבית,050 | | כהן)");
  }
  void aChangeKeepsWhoLeft() {
    QFETCH(QStringList, c);
    test::books().exec("INSERT INTO neighbors (apartment, family, status, phone1) VALUES (1, 'כהן', 'בעל הבית', '050')");
    if (!c[0].isEmpty())
      test::books().exec("INSERT INTO owners (apartment, name, phone) VALUES (1, ?, '052')", {c[0]});
    const auto phone = [](const QString &name) { return name == "כהן" ? "050" : name == "גולן" ? "052" : ""; };
    residents::Resident after{1, c[2], "בעל הבית", phone(c[2]), "", ""};
    std::tie(after.ownerName, after.ownerPhone) = std::tuple{c[3], QString(phone(c[3]))};
    const QString told = residents::change(test::books(), after, residents::Change(c[1].toInt()), QDate(2026, 2, 15));
    const auto rows = [](const QString &sql) { return test::dump(sql).replace('|', ',').replace('\n', ';'); };
    QCOMPARE((QStringList{told, rows("SELECT role, name, phone FROM former_people ORDER BY id"),
                          rows("SELECT family, status, phone1 FROM neighbors"), rows("SELECT name, phone FROM owners"),
                          test::dump("SELECT DISTINCT until FROM former_people")}),
             (QStringList{c[7].isEmpty() ? "" : texts::changeSameName.arg(c[7]), c[4], c[5], c[6],
                          c[4].isEmpty() ? "" : "2026-02-15"}));
  }

  // Sold on 15/02 through the window: כהן paid January and February, לוי
  // March on his first day, and the levy due on 01/02 is owed. Each paper names whoever was there on its date, and
  // the debt from before the sale says whose it was. A change dated before
  // the last is refused, nothing written.
  void aSaleNamesEachPaperAsAtItsDate() {
    test::building("2", "100");
    test::addResident(1, "כהן");
    test::pay(1, "ינואר-פברואר", "200", QDate(2026, 1, 5));
    QCOMPARE(levies::define(test::books(), {"מעלית", "300", QDate(2026, 2, 1), "1"}), QString());
    openWindow();
    for (const auto &[name, date] : {std::pair{"לוי", "15/02/2026"}, std::pair{"מזרחי", "14/02/2026"}}) {
      click("change");
      typeApartment("1");
      control<QComboBox>("changeKind")->setCurrentIndex(0);
      fill({{"family", name}, {"changeDate", date}});
      click("updaterecord");
    }
    QCOMPARE(messages->shown + shows({"statusLine"}) << table(),
             (QStringList{texts::changeBeforeLast.arg(1).arg("15/02/2026"), texts::changeRecorded.arg(1).arg("15/02/2026"),
                          "1|לוי|בעל הבית|||"}));
    test::pay(1, "מרץ", "100", QDate(2026, 2, 15)); // the buyer's, on his first day
    const QString both = "לוי (עד 14/02/2026: כהן)";
    const QDate asAt(2026, 3, 15);
    const auto debt = owing::debtorsRows(owing::accounts(test::books(), asAt), false)[0];
    QCOMPARE(test::text(QList<QVariantList>{debt}), "1|" + both + "|3|30000|30000|0||0|30000|30000|0|");
    const auto sheet = statements::sheets(test::books(), asAt, {1})[0];
    QStringList lines{sheet.family};
    for (const statements::Line &line : sheet.lines)
      lines << QStringList{dates::toShort(line.date), line.text, line.balance.toPaper()}.join(',');
    QCOMPARE(lines, (QStringList{both, "01/01/2026,דמי ועד ינואר 2026,100.00",
                                 "05/01/2026,תשלום, קבלה 1: ינואר עד פברואר 2026,\u2066-100.00\u2069",
                                 "01/02/2026,דמי ועד פברואר 2026,0.00", "01/02/2026,היטל: מעלית,300.00",
                                 "15/02/2026,מעתה בדירה: לוי, במקום כהן,300.00",
                                 "15/02/2026,תשלום, קבלה 2: מרץ 2026,200.00", "01/03/2026,דמי ועד מרץ 2026,300.00"}));
    window = openShared<AnualReportWindow>();
    QCOMPARE((QStringList{test::table(annual::printout(test::books(), 2026))[1][1], WindowTest::grid("DataGrid1")[0][1],
                          test::table(*payments::receipt(test::books(), 1))[3][1],
                          test::table(*payments::receipt(test::books(), 2))[3][1]}),
             (QStringList{both, both, "כהן", "לוי"}));
    window = StoryWindow::openOn(1);
    QCOMPARE(control<QLabel>("people")->text(),
             "בדירה: כהן (דייר ובעלים) עד 14/02/2026; לוי (דייר ובעלים) מ-15/02/2026");
    const auto payments = WindowTest::grid("paymentsList");
    QCOMPARE((QStringList{payments[0].last(), payments[1].last()}), (QStringList{"כהן", "לוי"}));
  }

  // Nothing to print when empty; then a preview naming the building, the
  // day and the count (reused by the next press and outliving its window,
  // as the balance's is).
  void printShowsTheListInAPreviewOrNothingWhenEmpty() {
    openWindow();
    click("print");
    QVERIFY(!printing::preview("DataReport1"));
    for (int apartment = 60; apartment >= 1; --apartment)
      test::addResident(apartment, QStringLiteral("משפחה %1").arg(apartment));
    test::books().exec("UPDATE neighbors SET phone1 = '+972-3-1', email = 'x@y.z' WHERE apartment = 2");
    test::building("60", "0", "0", QDate(2026, 1, 1), "הרצל 5", "חיפה");
    click("print");
    // The paper's name, not the report's.
    QCOMPARE(printing::preview("DataReport1")->windowTitle(), QStringLiteral("רשימת דיירים"));
    const auto rows = test::table(*printing::previewPrintout("DataReport1"));
    QCOMPARE(QString::number(rows.size()) + '\n' + test::text(rows.mid(0, 3)),
             "61\nדירה|משפחה|סטטוס|טלפון1|טלפון2|אימייל\n1|משפחה 1|בעל הבית|||\n"
             "2|משפחה 2|בעל הבית|\u2066+972-3-1\u2069||\u2066x@y.z\u2069");
    QCOMPARE(test::painted(*printing::previewPrintout("DataReport1")).lines.join('|'),
             "הרצל 5, חיפה|הודפס בתאריך 15/03/2026|רשימת דיירים|מספר שורות: 60");
  }
};

QTEST_MAIN(ResidentsTest)
#include "test_residents.moc"
