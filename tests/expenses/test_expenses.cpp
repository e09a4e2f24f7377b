// The expenses window driven as a user would: recording expenses and
// suppliers, and the expenses printout.
#include "testsupport.h"

class ExpensesTest : public test::WindowTest {
  Q_OBJECT

  QComboBox *combo(const char *name) const { return control<QComboBox>(name); }
  void reopenWindow() {
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window = openShared<RemovalWindow>();
  }

  void enter(const QString &category, const QString &amount, const QString &supplier = {},
             const QString &details = {}) {
    fill({{"category", category}, {"supplyer", supplier}, {"details", details}, {"amount", amount}});
  }

private slots:
  void init() { startTest(QDate(2026, 5, 20)); }
  void cleanup() { endTest(); }

  // Today and the two lists (suppliers' repeats listed as they stand, or
  // none); an expense into removals and the journal; the fields stay, so a
  // second press records it again; the status line names the new one
  // wherever the grid's order puts it; ten agorot are an amount.
  void recordsAnExpenseWithItsJournalRow() {
    test::books().exec("INSERT INTO supplyer VALUES ('חשמלאי'), ('אינסטלטור'), ('חשמלאי')");
    window = openShared<RemovalWindow>();
    QCOMPARE((QStringList{shows({"indate", "category"})} << combo("category")->itemText(0)
                                                         << combo("supplyer")->itemText(2)),
             (QStringList{"20/05/2026", "", "ניקיון", "חשמלאי"}));
    QCOMPARE((QList<int>{combo("category")->count(), combo("supplyer")->count()}), (QList<int>{8, 3}));
    enter("שיפוץ", "150");
    click("Command1");
    QCOMPARE(messages->shown, QStringList());
    QCOMPARE(test::dump("SELECT * FROM removals") + '\n' +
                 test::dump("SELECT inputdate, \"for\", amount, \"Type\", source_table, source_reciept FROM trans") +
                 '\n' + test::text(grid()),
             "שיפוץ|2026-05-20||||15000|1|||\n2026-05-20|שיפוץ|15000|הוצאה|removals|1\nשיפוץ|20/05/2026||||150.00|");
    QCOMPARE(shows({"statusLine", "category"}), (QStringList{texts::expenseRecorded.arg(1), "שיפוץ"}));
    click("Command1");
    QCOMPARE((QList<int>{count("removals"), count("trans"), int(grid().size())}), (QList<int>{2, 2, 2}));
    control<QTableView>("DataGrid1")->sortByColumn(expenses::amountColumn, Qt::DescendingOrder);
    QStringList status;
    for (const char *amount : {"0.10", "900"}) {
      enter("שיפוץ", amount);
      click("Command1");
      status << shows({"statusLine"});
    }
    QCOMPARE(status, (QStringList{texts::expenseRecorded.arg(3), texts::expenseRecorded.arg(4)}));
    QCOMPARE(test::dump("SELECT amount FROM removals WHERE reciept = 3"), "10");
    test::books().exec("DELETE FROM category");
    test::books().exec("DELETE FROM supplyer");
    reopenWindow();
    QCOMPARE(combo("category")->count() + combo("supplyer")->count() + messages->shown.size(), 0);
  }

  // Amounts are refused by the one money rule (its forms and bounds are the
  // money table's): one row shows the window uses it.
  void refusesBeforeWriting_data() { // category, amount; the refusal and the field to correct
    test::cases(
        {{"no category", "", "100", texts::categoryRequired, "category"},
         {"no category, no amount", "", "", texts::categoryRequired, "category"},
         {"amount text", "חשמל", "מאה", texts::badAmount, "amount"},
         {"category of spaces", "   ", "100", texts::categoryRequired, "category"},
         {"zero", "חשמל", "0.00", texts::zeroExpense, "amount"},
         {"category with an embedding", "חש\u202Aמל", "100", texts::badCharacters.arg("סוג הוצאה"), "Command1"}});
  }
  void refusesBeforeWriting() {
    QFETCH(QStringList, c);
    window = openShared<RemovalWindow>();
    enter(c[0], c[1], "ספק", "פרטים");
    click("Command1");
    QCOMPARE(messages->shown + shows({"amount", "details"}) << window->focusWidget()->objectName(),
             (QStringList{c[2], c[1], "פרטים", c[3]}));
    QCOMPARE(count("removals") + count("trans"), 0);
  }

  void aFailingJournalWriteLeavesNoExpense() {
    const QString refused = test::refuseWrites("trans", "INSERT");
    window = openShared<RemovalWindow>();
    enter("חשמל", "812.40");
    click("Command1");
    QCOMPARE(messages->shown, QStringList{texts::saveFailed.arg(texts::withDetail(texts::causeEngine, refused))});
    QCOMPARE(count("removals"), 0);
  }

  // "+" adds what the box holds to the list at once, once: pressed again, or
  // for a name already listed, it adds nothing; an empty box is refused.
  void plusAddsTheSupplierOnce_data() { // typed; told at the first press, at the second; listed
    test::cases({{"a name, twice", "גנן", texts::supplierAdded, texts::supplierExists, "גנן"},
                 {"with spaces around", " גנן ", texts::supplierAdded, texts::supplierExists, "גנן"},
                 {"blanks", "  ", texts::supplierEmpty, texts::supplierEmpty}});
  }
  void plusAddsTheSupplierOnce() {
    QFETCH(QStringList, c);
    const QStringList listed = c.mid(3);
    window = openShared<RemovalWindow>();
    fill({{"supplyer", c[0]}});
    click("Command4");
    click("Command4");
    QCOMPARE(messages->shown, c.mid(1, 2));
    QCOMPARE(combo("supplyer")->count() ? QStringList{combo("supplyer")->itemText(0)} : QStringList(), listed);
    reopenWindow();
    QCOMPARE(expenses::suppliers(test::books()), listed);
  }

  void cancellingAnExpenseUndoesIt() {
    test::Prints prints;
    window = openShared<RemovalWindow>();
    enter("ניקיון", "100", "5 כוכבים");
    click("Command1");
    enter("חשמל", "812.4", "חברת החשמל", "חשבון");
    combo("payby")->setCurrentIndex(1);
    click("Command1");
    const auto journalBefore = test::rows("SELECT \"for\", sum(amount) FROM trans GROUP BY \"for\" ORDER BY 1");
    enter("מעלית", "2300");
    click("Command1");

    chooseRow(2);
    messages->reply = QStringLiteral("נרשם פעמיים");
    click("cancelRow");
    QCOMPARE(messages->asked + messages->shown,
             QStringList{texts::cancelQuestion.arg("קבלה מס' 3, תאריך 20/05/2026, מעלית, סכום 2,300.00")});
    QCOMPARE(test::dump("SELECT cancelled, cancel_reason FROM removals WHERE reciept = 3"), "2026-05-20|נרשם פעמיים");
    QCOMPARE(test::rows("SELECT \"for\", sum(amount) FROM trans GROUP BY \"for\" HAVING sum(amount) <> 0 ORDER BY 1"),
             journalBefore);
    QCOMPARE(grid()[2][6], QStringLiteral("מבוטל: נרשם פעמיים"));
    chooseRow(2);
    click("cancelRow");
    QCOMPARE(messages->shown, QStringList{texts::alreadyCancelled});

    // The printout: every expense not cancelled, without the status and receipt.
    click("Command2");
    QCOMPARE(test::text(prints.tables[0]),
             "סוג_הוצאה|תאריך|אופן_התשלום|פירוט|ספק|סכום\n"
             "ניקיון|20/05/2026|||5 כוכבים|100\nחשמל|20/05/2026|שיק|חשבון|חברת החשמל|812.4");
    // It ends with the count and the sum of what it lists.
    QCOMPARE(prints.lines[0].join('|'), "הודפס בתאריך 20/05/2026|רשימת הוצאות הבניין|מספר שורות: 2|סה\"כ סכום: 912.4");
  }
  // An expense holds its scanned invoices, a PDF or a picture by their
  // first bytes and no larger than 10 MB, each opened in the desktop's
  // viewer as it was attached; the period's expenses without one, the
  // cancelled left out, are a paper of their own.
  void anExpenseKeepsItsDocuments() {
    test::recordExpense("חשמל", QDate(2026, 3, 1), "100");
    test::recordExpense("מים", QDate(2026, 3, 5), "50.5");
    test::recordExpense("גינון", QDate(2026, 3, 6), "30");
    QCOMPARE(expenses::cancel(test::books(), 3, "טעות", QDate(2026, 3, 7)), QString());
    const QString folder = database->folder() + '/';
    const QList<std::pair<QString, QByteArray>> files{{"notes.txt", "%PDF lookalike"},
                                                      {"big.pdf", "%PDF-" + QByteArray(10 * 1024 * 1024, 'x')},
                                                      {"invoice.pdf", "%PDF-1.4 the invoice"},
                                                      {"scan.jpg", "\xff\xd8\xff\xe0 a photo"}};
    for (const auto &[name, content] : files) {
      QFile file(folder + name);
      QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    window = openShared<RemovalWindow>();
    QList<QUrl> opened;
    messages::setLinkSink([&](const QUrl &link) { opened << link; });
    chooseRow(0); // the electricity, listed first as recorded
    for (const char *name : {"notes.txt", "big.pdf", "gone.pdf", "invoice.pdf", "scan.jpg"}) {
      messages->open = folder + name;
      click("attachDocument");
    }
    click("openDocuments");
    chooseRow(1); // the water, which has none
    click("openDocuments");
    messages::setLinkSink({});
    QCOMPARE(messages->shown,
             (QStringList{texts::documentNotAllowed, texts::documentTooLarge.arg(10),
                          texts::documentUnreadable.arg("No such file or directory"), texts::noDocuments.arg(2)}));
    QStringList read;
    for (const QUrl &link : opened)
      read << QFileInfo(link.toLocalFile()).fileName() + ':' + test::bytes(link.toLocalFile());
    QCOMPARE(read, (QStringList{"invoice.pdf:%PDF-1.4 the invoice", "scan.jpg:\xff\xd8\xff\xe0 a photo"}));
    QCOMPARE(test::dump("SELECT expense, name FROM expense_documents"), "1|invoice.pdf\n1|scan.jpg");
    window = openShared<BalanceWindow>();
    fill({{"DTPicker1", "01/03/2026"}, {"DTPicker2", "31/03/2026"}});
    test::Prints prints;
    click("withoutDocuments");
    QCOMPARE(test::text(prints.tables.value(0)), "קבלה|תאריך|סוג הוצאה|ספק|סכום\n2|05/03/2026|מים||50.50");
    // The owner's inspection pack: the book, and its documents beside it.
    messages::setSaveAnswer([&](const QString &) { return folder + "pack.csv"; });
    click("inspectionPack");
    messages::setSaveAnswer({});
    const QString documents = folder + "pack - מסמכים/";
    QCOMPARE(test::bytes(folder + "pack.csv") + test::bytes(documents + "הוצאה 1 (2) scan.jpg"),
             "\xEF\xBB\xBF" + QString("תאריך,סוג,עבור / סוג הוצאה,דירה / ספק,פירוט,סכום,קבלה,מסמכים\r\n"
                     "01/03/2026,הוצאה,חשמל,,,100,1,הוצאה 1 (1) invoice.pdf; הוצאה 1 (2) scan.jpg\r\n"
                     "05/03/2026,הוצאה,מים,,,50.5,2,\r\n")
                     .toUtf8() +
                 "\xff\xd8\xff\xe0 a photo");
    QCOMPARE(messages->last(), texts::packWritten.arg(folder + "pack.csv").arg(2).arg("pack - מסמכים"));
  }
};

QTEST_MAIN(ExpensesTest)
#include "test_expenses.moc"
