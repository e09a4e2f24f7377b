// Opens every window over a small demo building and saves a picture of each,
// and the printouts as PDF, into the folder given: for looking at what the
// user sees. Run under xvfb-run (or offscreen); not a test.
#include "app/startup.h"
#include "app/startwindow.h"
#include "backups/backupwindow.h"
#include "bank/columnsdialog.h"
#include "bank/import.h"
#include "bank/reconcile.h"
#include "bank/statementwindow.h"
#include "budget/budget.h"
#include "budget/budgetwindow.h"
#include "building/details.h"
#include "building/registerwindow.h"
#include "expenses/expense.h"
#include "expenses/removalwindow.h"
#include "ledger/closing.h"
#include "ledger/funds.h"
#include "ledger/period.h"
#include "ledger/shares.h"
#include "ledger/statement.h"
#include "levies/levieswindow.h"
#include "levies/levy.h"
#include "owing/debtorswindow.h"
#include "owing/reminders.h"
#include "owing/reminderswindow.h"
#include "owing/storywindow.h"
#include "payments/incomingwindow.h"
#include "payments/payment.h"
#include "payments/receipt.h"
#include "printing/reportstyle.h"
#include "reports/anualreportwindow.h"
#include "reports/balance.h"
#include "reports/balancewindow.h"
#include "reports/meeting.h"
#include "reports/meetingwindow.h"
#include "residents/neighborswindow.h"
#include "residents/residents.h"
#include "residents/residentsreport.h"
#include "store/backups.h"
#include "store/building.h"
#include "store/database.h"
#include "text/bylawstexts.h"
#include "text/texts.h"
#include "ui/messages.h"
#include "ui/opening.h"
#include "ui/printing.h"
#include "yearend/closingwindow.h"
#include "yearend/fundswindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace domiva;

namespace {
void fill(int residentsCount) {
  const QStringList names{"כהן", "לוי", "מזרחי", "פרץ", "ביטון", "דהן", "אברהם", "פרידמן", "מלכה", "אזולאי"};
  for (int a = 1; a <= residentsCount; ++a)
    residents::add(db::program(),
                   {a, QStringLiteral("משפחת ") + names[a % names.size()], a % 3 ? "בעל הבית" : "שוכר",
                    QStringLiteral("03-555%1").arg(a, 4, 10, QLatin1Char('0')), a % 2 ? "" : "050-1234567",
                    a % 4 ? "" : QStringLiteral("family%1@example.com").arg(a)});
  const int year = QDate::currentDate().year();
  // Dues raised from June, a larger apartment's own, two opening debts and a levy.
  saveBuilding(db::program(), {"24", "280", "-1500", QDate(year, 1, 1), "הרצל 12", "תל אביב", QDate(year, 6, 1)});
  addApartmentDues(db::program(), "1", QStringLiteral("01/%1").arg(year), "400");
  setOpeningDebt(db::program(), "4", "750");
  setOpeningDebt(db::program(), "9", "1200.50");
  levies::define(db::program(), {"שיפוץ המעלית", "1200", QDate(year, 9, 1), "3"});
  levies::define(db::program(), {"צביעת חדר המדרגות", "350", QDate(year, 11, 1), "1"});
  // The facade by floor area: 24 apartments of 70 to 115 square metres.
  for (int apartment = 1; apartment <= 24; ++apartment)
    shares::set(db::program(), QString::number(apartment), QString::number(70 + apartment % 4 * 15));
  levies::define(db::program(), {"שיפוץ החזית", "60000", QDate(year, 12, 1), "6", true});
  for (int a = 2; a <= 6; ++a)
    payments::record(db::program(),
                     {QDate(year, 9, a), QString::number(a), "שיפוץ המעלית", "", "", "", "שיק", "400", ""});
  for (int a = 1; a <= 8; ++a)
    payments::record(db::program(), {QDate(year, 3, a), QString::number(a), "ועד הבית", "", "ינואר", "מרץ", "מזומן",
                                     "750", QString::number(year)});
  payments::record(db::program(), {QDate(year, 4, 2), "3", "אחר", "שיפוץ לובי", "אפריל", "אפריל", "שיק", "1200.5",
                                   QString::number(year)});
  expenses::addSupplier(db::program(), "חברת החשמל");
  expenses::addSupplier(db::program(), "5 כוכבים ניקיון");
  expenses::record(db::program(), {"חשמל", QDate(year, 2, 10), "שיק", "חשבון דו-חודשי", "חברת החשמל", "812.40"});
  expenses::record(db::program(), {"ניקיון", QDate(year, 3, 1), "מזומן", "", "5 כוכבים ניקיון", "100"});
  expenses::record(db::program(), {"מעלית", QDate(year, 5, 20), "שיק", "טיפול שנתי", "", "2300"});
}

// At the size the window opens in, then filling the screen as maximized
// (without a window manager, by its size).
template <class W> void shoot(const QString &folder, const QString &name) {
  W *window = openShared<W>();
  QTest::qWait(300);
  window->grab().save(folder + "/" + name + ".png");
  window->resize(window->screen()->availableGeometry().size());
  QTest::qWait(300);
  window->grab().save(folder + "/" + name + "-max.png");
  window->close();
}
} // namespace

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setLayoutDirection(Qt::RightToLeft);
  installHebrew(app);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  QDir().mkpath(folder);
  QFile::remove(folder + "/demo.sqlite");
  if (!startUp(folder + "/demo.sqlite").isEmpty())
    return 1;
  saveBuilding(db::program(), {"24", "250", "-1500", QDate(QDate::currentDate().year(), 1, 1), "הרצל 12", "תל אביב"});
  fill(24);

  StartWindow menu;
  menu.show();
  QTest::qWait(300);
  menu.grab().save(folder + "/start.png");
  shoot<RegisterWindow>(folder, "register");
  shoot<NeighborsWindow>(folder, "neighbors");
  {
    // A sale being typed: the buyer in the fields, the kind and the day below.
    auto *residents = openShared<NeighborsWindow>();
    residents->activateWindow();
    (void)QTest::qWaitForWindowActive(residents);
    QTest::mouseClick(residents->findChild<QPushButton *>("change"), Qt::LeftButton);
    residents->findChild<QLineEdit *>("apartment")->setFocus();
    residents->findChild<QLineEdit *>("apartment")->setText("5");
    QTest::keyClick(residents->findChild<QLineEdit *>("apartment"), Qt::Key_Tab);
    residents->findChild<QLineEdit *>("family")->setText("משפחת אברהמי");
    residents->findChild<QLineEdit *>("phone1")->setText("052-7770005");
    residents->findChild<QComboBox *>("changeKind")->setCurrentIndex(0);
    residents->findChild<QDateEdit *>("changeDate")->setDate(QDate(QDate::currentDate().year(), 3, 15));
    QTest::qWait(300);
    residents->grab().save(folder + "/neighbors-sale.png");
    residents->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  shoot<IncomingWindow>(folder, "incoming");
  {
    // A first part held for the receipt, the second being typed.
    auto *incoming = openShared<IncomingWindow>();
    const auto set = [incoming](const char *name, const QString &text) {
      auto *box = incoming->findChild<QComboBox *>(name);
      box ? box->setEditText(text) : incoming->findChild<QLineEdit *>(name)->setText(text);
    };
    set("apartment", "5");
    set("forcombo", "ועד הבית");
    set("amount", "840");
    QTest::mouseClick(incoming->findChild<QPushButton *>("addPart"), Qt::LeftButton);
    set("forcombo", "שיפוץ המעלית");
    set("amount", "400");
    QTest::qWait(300);
    incoming->grab().save(folder + "/incoming-parts.png");
    incoming->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  shoot<RemovalWindow>(folder, "removal");

  // Cancelling a row as the user does: the confirmation is pictured while it
  // waits for its answer, then given a reason.
  for (const char *name : {"incoming", "removal"}) {
    QWidget *window = name == QByteArray("incoming") ? static_cast<QWidget *>(openShared<IncomingWindow>())
                                                     : static_cast<QWidget *>(openShared<RemovalWindow>());
    auto *grid = window->findChild<QTableView *>("DataGrid1");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, 0)).center());
    QTimer::singleShot(400, [&] {
      auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
      if (!dialog)
        return;
      dialog->setTextValue(QStringLiteral("נרשם פעמיים בטעות"));
      dialog->grab().save(folder + "/" + name + "-cancel-question.png");
      dialog->accept();
    });
    QTest::mouseClick(window->findChild<QPushButton *>("cancelRow"), Qt::LeftButton);
    QTest::qWait(300);
    window->grab().save(folder + "/" + name + "-cancelled.png");
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  shoot<BalanceWindow>(folder, "balance");
  shoot<AnualReportWindow>(folder, "anualreport");
  backups::daily(db::path(), QDateTime::currentDateTime().addDays(-3));
  backups::daily(db::path(), QDateTime::currentDateTime());
  shoot<BackupWindow>(folder, "backups");
  shoot<DebtorsWindow>(folder, "debtors");
  {
    // Two letters recorded before, so who owes shows them, then the window with three ticked.
    const QDate day(QDate::currentDate().year(), 10, 1);
    reminders::saveCollection(db::program(), {"הפועלים", "612", "345678"});
    reminders::send(db::program(), {{1, 2}, 1, day, day, reminders::letterText(db::program(), 1)});
    auto *letters = RemindersWindow::openOn(QDate(day.year(), 11, 30), {1, 2, 5});
    letters->findChild<QComboBox *>("stage")->setCurrentIndex(1);
    QTest::qWait(300);
    letters->grab().save(folder + "/reminders.png");
    messages::setSink([](const QString &) {}); // "נרשמו 3 מכתבים"
    QTest::mouseClick(letters->findChild<QPushButton *>("makeLetters"), Qt::LeftButton);
    messages::setSink({});
    printing::writePdf(*printing::previewPrintout("letters"), folder + "/letters.pdf");
    QTest::qWait(300);
    letters->grab().save(folder + "/reminders-sent.png");
    letters->close();
    if (auto *preview = printing::preview("letters"))
      preview->close();
  }
  StoryWindow::openOn(3);
  StoryWindow::openOn(4); // with an apartment's lines to read
  shoot<StoryWindow>(folder, "story");
  shoot<MeetingWindow>(folder, "meeting");
  shoot<LeviesWindow>(folder, "levies");
  for (const char *line : {"הוצאה|חשמל|9000", "הוצאה|ניקיון|36000", "הוצאה|מעלית|12000", "הכנסה|ועד הבית|80640"}) {
    const QStringList item = QString::fromUtf8(line).split('|');
    budget::set(db::program(), QDate::currentDate().year(), item[0], item[1], item[2]);
  }
  shoot<BudgetWindow>(folder, "budget");

  // A month's statement: one payer already matched once, so sure; the
  // rest waiting for the treasurer's word.
  {
    const int y = QDate::currentDate().year();
    qint64 balance = 2000000; // the bank's, after each line
    const auto line = [&balance](int row, const QDate &date, const QString &words, const QString &details,
                                 const QString &reference, qint64 agorot) {
      balance += agorot;
      return bank::Line{
          row, date, {}, words, reference, details, {}, Money::fromAgorot(agorot), Money::fromAgorot(balance)};
    };
    bank::keep(db::program(),
               {"לאומי",
                "12-345-678901",
                {line(14, QDate(y, 9, 1), "העברה", "העברה מאת: כהן משה", "1001", 28000),
                 line(15, QDate(y, 10, 1), "העברה", "העברה מאת: כהן משה", "1002", 28000),
                 line(16, QDate(y, 10, 2), "העברה", "מאת לוי רות דירה 9", "1003", 56000),
                 line(17, QDate(y, 10, 3), "עמלת ערוץ ישיר", "", "0", -1250),
                 line(18, QDate(y, 10, 5), "הוראת קבע", "חברת החשמל", "2002", -81240),
                 line(19, QDate(y, 10, 7), "הפקדת שיקים", "", "77", 168000)},
                {}},
               "leumi.xls");
    payments::record(db::program(), {QDate(y, 9, 1), "2", "ועד הבית", "העברה", "ספטמב", "ספטמב", "העברה בנקאית", "280",
                                     QString::number(y), "1001", 1});
  }
  shoot<StatementWindow>(folder, "statement");
  {
    // A statement of a bank not known, its columns being named.
    ColumnsDialog naming(db::program(), {{"דף תנועות - חשבון 55-1234"},
                                         {"יום", "פירוט הפעולה", "מספר", "סכום התנועה", "יתרה לאחר"},
                                         {"03/02/2026", "העברה מאת ישראלי דנה", "501", "280.00", "10280.00"}});
    naming.findChild<QLineEdit *>("bankName")->setText("בנק השכונה");
    naming.findChild<QComboBox *>("dateColumn")->setCurrentIndex(1);
    naming.findChild<QComboBox *>("descriptionColumn")->setCurrentIndex(2);
    naming.findChild<QComboBox *>("amountColumn")->setCurrentIndex(4);
    naming.show();
    QTest::qWait(300);
    naming.grab().save(folder + "/columns.png");
  }
  printing::writePdf(bank::printout(bank::reconcile(db::program(), QDate(QDate::currentDate().year(), 10, 7))),
                     folder + "/reconcile.pdf");

  const int year = QDate::currentDate().year();
  printing::writePdf(residents::listPrintout(db::program()), folder + "/residents.pdf");
  printing::writePdf(levies::printout(db::program(), 3), folder + "/levy.pdf");
  printing::writePdf(budget::printout(db::program(), year, QDate(year, 12, 31)), folder + "/budget.pdf");
  printing::writePdf(balance::printout(db::program(), QDate(year, 1, 1), QDate(year, 12, 31),
                                       ledger::period(db::program(), QDate(year, 1, 1), QDate(year, 12, 31))),
                     folder + "/balance.pdf");
  printing::setSink([&](const listing::Printout &l) { printing::writePdf(l, folder + "/list.pdf"); });
  for (const char *name : {"incoming", "removal"}) {
    QWidget *window = name == QByteArray("incoming") ? static_cast<QWidget *>(openShared<IncomingWindow>())
                                                     : static_cast<QWidget *>(openShared<RemovalWindow>());
    QTest::mouseClick(window->findChild<QPushButton *>("Command2"), Qt::LeftButton);
    QFile::rename(folder + "/list.pdf", folder + "/" + name + ".pdf");
    window->close();
  }
  auto *annual = openShared<AnualReportWindow>();
  QTest::qWait(200);
  QTest::mouseClick(annual->findChild<QPushButton *>("Command1"), Qt::LeftButton);
  QFile::rename(folder + "/list.pdf", folder + "/anualreport.pdf");
  annual->close();
  for (const char *name : {"debtors", "story"}) {
    QWidget *window = name == QByteArray("debtors") ? static_cast<QWidget *>(openShared<DebtorsWindow>())
                                                    : static_cast<QWidget *>(StoryWindow::openOn(3));
    QTest::mouseClick(window->findChild<QPushButton *>("printButton"), Qt::LeftButton);
    QFile::rename(folder + "/list.pdf", folder + "/" + name + ".pdf");
    window->close();
  }
  printing::setSink({});
  printing::writePdf(*payments::receipt(db::program(), 3), folder + "/receipt.pdf");
  printing::writePdf(*payments::receipt(db::program(), 2), folder + "/receipt-cancelled.pdf");
  // Dues and a levy in one transfer: one receipt of two parts.
  const payments::Outcome parts =
      payments::record(db::program(),
                       {{QDate(year, 10, 1), "5", "ועד הבית", "", "אוקטובר", "דצמבר", "העברה בנקאית", "840",
                         QString::number(year), "555"},
                        {QDate(year, 10, 1), "5", "שיפוץ המעלית", "", "", "", "העברה בנקאית", "400", "", "555"}},
                       payments::Receipts::One);
  printing::writePdf(*payments::receipt(db::program(), parts.reciept()), folder + "/receipt-parts.pdf");
  printing::writePdf(meeting::printout(db::program(), QDate(year, 1, 1), QDate(year, 12, 31), false), folder + "/meeting.pdf");
  printing::writePdf(statements::printout(statements::ofDebtors(db::program(), QDate(year, 11, 30))),
                     folder + "/statements.pdf");
  // A renovation fund and a deposit: money moved into each, one expense paid from the fund.
  funds::add(db::program(), "קרן שיפוץ", "חשבון 612-345678", "");
  funds::add(db::program(), "פיקדון", "בנק לאומי", QStringLiteral("31/12/%1").arg(year + 1));
  funds::transfer(db::program(), QDate(year, 3, 1), texts::runningAccount, "קרן שיפוץ", "5000", "הפרשה");
  funds::transfer(db::program(), QDate(year, 3, 1), texts::runningAccount, "פיקדון", "10000", "הפקדה");
  expenses::record(db::program(), {"שיפוץ", QDate(year, 5, 4), "העברה בנקאית", "צביעת חדר מדרגות", "", "1800", 0,
                                   "קרן שיפוץ"});
  shoot<FundsWindow>(folder, "funds");
  shoot<RemovalWindow>(folder, "removal-fund");
  shoot<BalanceWindow>(folder, "balance-funds");
  printing::writePdf(meeting::halfYear(db::program(), QDate(year, 6, 30), false), folder + "/halfyear.pdf");
  // The first half-year closed once the meeting approved it, last of all:
  // nothing dated in it is written after.
  closing::close(db::program(), QDate(year, 6, 30), QDate(year, 7, 20));
  shoot<ClosingWindow>(folder, "closing");

  // Two refused start-ups, as the user sees them: a damaged file and one
  // that another program holds.
  const QString demo = db::path();
  db::close();
  const QString damaged = folder + "/damaged.sqlite";
  QFile::remove(damaged);
  QFile::copy(demo, damaged);
  {
    QFile file(damaged);
    file.open(QIODevice::ReadWrite);
    file.seek(4 * 4096);
    file.write(QByteArray(8 * 4096, 'Z'));
  }
  const auto showMessage = [&](const QString &text, const QString &name) {
    QTimer::singleShot(300, [&] {
      if (QWidget *box = QApplication::activeModalWidget()) {
        box->grab().save(folder + "/" + name + ".png");
        box->close();
      }
    });
    messages::show(nullptr, text);
  };
  showMessage(startUp(damaged), "startup-damaged");
  QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
  holder.setDatabaseName(demo);
  holder.open();
  QSqlQuery(holder).exec("BEGIN EXCLUSIVE");
  db::setBusyWait(100);
  showMessage(startUp(demo), "startup-locked");
  return 0;
}
