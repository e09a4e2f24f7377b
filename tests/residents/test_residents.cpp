// The residents window driven as a user would: action button, type, Tab out
// of the apartment, "עדכן"; and the printed residents list.
#include "testsupport.h"

class ResidentsTest : public test::WindowTest {
  Q_OBJECT

  QString mode() const { return static_cast<NeighborsWindow *>(window)->mode(); }
  QLineEdit *field(const char *name) const { return control<QLineEdit>(name); }
  QComboBox *status() const { return control<QComboBox>("status"); }
  QList<QStringList> grid() const { return WindowTest::grid("neighborslist"); }
  QList<QVariantList> table() const {
    return test::rows("SELECT apartment, family, status, phone1, phone2, email FROM neighbors ORDER BY rowid");
  }

  // Types the apartment and leaves the field with Tab, which looks it up.
  void typeApartment(const QString &text) const {
    field("apartment")->setText(text);
    QTest::keyClick(field("apartment"), Qt::Key_Tab);
  }

  void openWindow() {
    window = openShared<NeighborsWindow>();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
  }

private slots:
  void init() { startTest(QDate(2026, 3, 15)); }
  void cleanup() { endTest(); }

  void opensIdleWithTheGridInApartmentOrder() {
    test::addResident(12, "לוי");
    test::addResident(3, "כהן");
    openWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("דיירים"));
    QCOMPARE(test::gridHeaders(control<QTableView>("neighborslist")->model()),
             (QStringList{"דירה", "משפחה", "סטאטוס", "טלפון1", "טלפון2", "אימייל"}));
    QCOMPARE(grid()[0][0], QStringLiteral("3"));
    QCOMPARE(grid()[1][0], QStringLiteral("12"));
    QVERIFY(!field("apartment")->isEnabled());
    QVERIFY(!control<QPushButton>("updaterecord")->isEnabled());
    QCOMPARE(status()->currentText(), QStringLiteral("בעל הבית"));
    QCOMPARE(status()->itemText(0), QStringLiteral("שוכר"));
    QVERIFY(control<QTableView>("neighborslist")->editTriggers() == QAbstractItemView::NoEditTriggers);
  }

  void addsAResidentAndGoesIdle() {
    test::addResident(9, "לוי");
    openWindow();
    click("addnew");
    QCOMPARE(mode(), QStringLiteral("add"));
    QVERIFY(field("apartment")->hasFocus());
    typeApartment("4");
    QVERIFY(field("family")->hasFocus()); // Tab goes from the apartment to the name
    field("family")->setText("כהן");
    status()->setCurrentText("שוכר");
    field("phone1")->setText("03-5551234");
    click("updaterecord");
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(
        test::rows("SELECT apartment, family, status, phone1, phone2, email FROM neighbors WHERE apartment = 4")[0],
        (QVariantList{4, "כהן", "שוכר", "03-5551234", "", ""}));
    QCOMPARE(grid()[0][1], QStringLiteral("כהן")); // apartment 4 before 9
    QCOMPARE(mode(), QStringLiteral("none"));
    QVERIFY(!field("apartment")->isEnabled());
    QCOMPARE(field("family")->text(), QString());
    QCOMPARE(control<QLabel>("statusLine")->text(), texts::residentAdded.arg(4));
    QVERIFY(control<QPushButton>("addnew")->hasFocus());
    click("addnew");
    QCOMPARE(status()->currentText(), QString()); // the next resident's status is chosen anew
  }

  // Apartment 5 is taken; the fields stay for correcting.
  void refusesAnApartmentTakenOrNoNumber_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    for (const char *taken : {"5", "05", " 5"})
      QTest::newRow(taken) << QString::fromLatin1(taken) << texts::apartmentExists;
    for (const char *bad : {"", "abc", "0", "-3", "2.5"})
      QTest::newRow(bad) << QString::fromLatin1(bad) << texts::badApartment;
  }
  void refusesAnApartmentTakenOrNoNumber() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    test::addResident(5, "כהן");
    openWindow();
    click("addnew");
    typeApartment(typed);
    field("family")->setText("לוי");
    click("updaterecord");
    QCOMPARE(messages->shown, QStringList{message});
    QCOMPARE(mode(), QStringLiteral("add"));
    QCOMPARE(field("family")->text(), QStringLiteral("לוי"));
    QCOMPARE(table().size(), 1);
  }

  // Choosing a row shows its resident; while updating, it is the one
  // looked up, ready to save.
  void choosingARowShowsItsResident() {
    test::books().exec("INSERT INTO neighbors VALUES (7, 'לוי', 'שוכר', '050', '', 'a@b.c')");
    test::addResident(3, "כהן");
    openWindow();
    chooseRow(1, "neighborslist");
    QCOMPARE(QStringList({field("apartment")->text(), field("family")->text(), status()->currentText(),
                          field("phone1")->text(), field("email")->text()}),
             (QStringList{"7", "לוי", "שוכר", "050", "a@b.c"}));
    QVERIFY(!field("family")->isEnabled());
    click("update");
    chooseRow(0, "neighborslist");
    QCOMPARE(field("family")->text(), QStringLiteral("כהן"));
    field("phone2")->setText("052");
    click("updaterecord");
    QCOMPARE(
        test::rows("SELECT apartment, family, status, phone1, phone2, email FROM neighbors WHERE apartment = 3")[0],
        (QVariantList{3, "כהן", "בעל הבית", "", "052", ""}));
    QCOMPARE(control<QLabel>("statusLine")->text(), texts::residentUpdated.arg(3));
  }

  void updateLooksTheResidentUpAndSavesIt() {
    test::books().exec("INSERT INTO neighbors VALUES (7, '', '', '050', '', 'a@b.c')");
    openWindow();
    click("update");
    typeApartment("07");
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(field("family")->text(), QStringLiteral(" "));
    QCOMPARE(status()->currentText(), QStringLiteral("בעל הבית"));
    QCOMPARE(field("phone1")->text(), QStringLiteral("050"));
    QCOMPARE(field("email")->text(), QStringLiteral("a@b.c"));
    field("phone2")->setText("052");
    click("updaterecord");
    QCOMPARE(table()[0], (QVariantList{7, " ", "בעל הבית", "050", "052", "a@b.c"}));
    QCOMPARE(mode(), QStringLiteral("none"));
    QCOMPARE(grid()[0][4], QStringLiteral("\u2066052\u2069")); // left to right inside the grid's text
  }

  void updateOrDeleteWithoutAFoundResidentChangesNothing() {
    test::addResident(5, "כהן");
    openWindow();
    click("update");
    typeApartment("8");
    QCOMPARE(messages->shown, QStringList{texts::apartmentMissing});
    QCOMPARE(mode(), QStringLiteral("update"));
    field("family")->setText("זר");
    click("updaterecord");
    QCOMPARE(messages->shown.last(), texts::apartmentMissing);

    // Found 5, then the text changed without a lookup: still nothing.
    messages->shown.clear();
    click("delete");
    typeApartment("5");
    QCOMPARE(messages->shown, QStringList());
    field("apartment")->setText("6");
    control<QPushButton>("updaterecord")->click(); // keyboard press: the field keeps the focus
    QCOMPARE(messages->shown, QStringList{texts::apartmentMissing});
    QCOMPARE(table().size(), 1);
    QCOMPARE(table()[0][1], QStringLiteral("כהן"));
  }

  // Deleting a resident whose apartment paid or owes asks first, with the
  // amount; the payments and the debt stay the apartment's.
  void deleteTouchesOnlyTheResidents() {
    test::addResident(5, "כהן");
    test::addResident(6, "לוי");
    QCOMPARE(setOpeningDebt(test::books(), "5", "1400"), QString());
    test::books().exec("INSERT INTO incoming (inputdate, apartment, amount) VALUES ('2026-01-01', 5, 100)");
    test::books().exec("INSERT INTO anual_report (apartment, family, year) VALUES (5, 'כהן', 2026)");
    openWindow();
    click("delete");
    typeApartment("5");
    messages->yes = false;
    click("updaterecord");
    const QString question = texts::removeResidentQuestion.arg(5).arg(1).arg("1400");
    QCOMPARE(messages->asked, QStringList{question});
    QCOMPARE(table().size(), 2);
    messages->yes = true;
    click("updaterecord");
    QCOMPARE(messages->asked, (QStringList{question, question}));
    QCOMPARE(table().size(), 1);
    QCOMPARE(grid().size(), 1);
    QCOMPARE(grid()[0][0], QStringLiteral("6"));
    QCOMPARE(test::rows("SELECT count(*) FROM incoming")[0][0].toInt(), 1);
    QCOMPARE(test::rows("SELECT family FROM anual_report")[0][0].toString(), QStringLiteral("כהן"));
    QCOMPARE(test::rows("SELECT apartment, amount FROM opening_debts"), (QList<QVariantList>{{5, 140000}}));
  }

  void switchingFromUpdateToAddKeepsTheLookedUpValues() {
    test::addResident(5, "כהן");
    openWindow();
    click("update");
    typeApartment("5");
    click("addnew");
    QCOMPARE(field("family")->text(), QStringLiteral("כהן"));
    click("updaterecord");
    QCOMPARE(messages->shown, QStringList{texts::apartmentExists});
    field("apartment")->setText("15");
    click("updaterecord");
    QCOMPARE(test::rows("SELECT family FROM neighbors WHERE apartment = 15")[0][0].toString(), QStringLiteral("כהן"));
  }

  void printShowsTheListInAPreviewOrNothingWhenEmpty() {
    openWindow();
    click("print");
    QVERIFY(!printing::preview("DataReport1"));

    for (int apartment = 60; apartment >= 1; --apartment)
      test::addResident(apartment, QStringLiteral("משפחה %1").arg(apartment));
    test::books().exec("UPDATE neighbors SET phone1 = '+972-3-1', email = 'x@y.z' WHERE apartment = 2");
    test::books().exec("UPDATE registery SET street = 'הרצל 5', city = 'חיפה'");
    setBuilding(test::books(), readBuilding(test::books()));
    click("print");
    QPrintPreviewDialog *preview = printing::preview("DataReport1");
    QVERIFY(preview);
    QCOMPARE(preview->windowTitle(), QStringLiteral("DataReport1"));
    const auto rows = test::table(*printing::previewPrintout("DataReport1"));
    QCOMPARE(rows.size(), 61);
    QCOMPARE(rows[0], (QStringList{"דירה", "משפחה", "סטטוס", "טלפון1", "טלפון2", "אימייל"}));
    QCOMPARE(rows[1], (QStringList{"1", "משפחה 1", "בעל הבית", "", "", ""}));
    QCOMPARE(rows[2], (QStringList{"2", "משפחה 2", "בעל הבית", "\u2066+972-3-1\u2069", "", "\u2066x@y.z\u2069"}));
    // The paper names the building and the day, and ends with the count.
    QCOMPARE(test::painted(*printing::previewPrintout("DataReport1")).lines,
             (QStringList{"הרצל 5, חיפה", "הודפס בתאריך 15/03/2026", "רשימת דיירים", "מספר שורות: 60"}));

    // The next press reuses the window, which outlives the residents window.
    test::addResident(61, "חדש");
    click("print");
    QCOMPARE(printing::preview("DataReport1"), preview);
    window->close();
    QVERIFY(preview->isVisible());
    QCOMPARE(test::table(*printing::previewPrintout("DataReport1")).size(), 62);
  }
};

QTEST_MAIN(ResidentsTest)
#include "test_residents.moc"
