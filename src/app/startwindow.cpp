#include "app/startwindow.h"

#include "app/startup.h"
#include "backups/backupwindow.h"
#include "bank/statementwindow.h"
#include "budget/budgetwindow.h"
#include "building/registerwindow.h"
#include "expenses/removalwindow.h"
#include "levies/levieswindow.h"
#include "owing/debtorswindow.h"
#include "owing/storywindow.h"
#include "payments/incomingwindow.h"
#include "reports/anualreportwindow.h"
#include "reports/balancewindow.h"
#include "reports/meetingwindow.h"
#include "residents/neighborswindow.h"
#include "store/backups.h"
#include "store/building.h"
#include "store/database.h"
#include "store/files.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/opening.h"
#include "yearend/closingwindow.h"
#include "yearend/fundswindow.h"
#include "ui_startwindow.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStandardPaths>
#include <QTextStream>
#include <QThreadPool>
#include <QTimer>
#include <fontconfig/fontconfig.h>
#include <future>

// The icon lives in the windows library, which is static: register it by hand.
static void loadResources() { Q_INIT_RESOURCE(resources); }

namespace domiva {

StartWindow::StartWindow(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::start>()) {
  loadResources();
  ui->setupUi(this);
  grid::pressWithEnter(this, nullptr, nullptr); // Enter opens the focused button's window
  // Each button opens its window, or brings the open one to the front.
  connect(ui->Command1, &QPushButton::clicked, this, [] { openShared<NeighborsWindow>(); }); // "דיירי הבניין"
  connect(ui->Command2, &QPushButton::clicked, this, [] { openShared<IncomingWindow>(); }); // "תשלומי דיירים"
  connect(ui->Command3, &QPushButton::clicked, this, [] { openShared<RemovalWindow>(); }); // "הוצאות הבניין"
  connect(ui->Command4, &QPushButton::clicked, this, [] { openShared<BalanceWindow>(); });  // "מאזן שנתי"
  connect(ui->Command5, &QPushButton::clicked, this, [] { openShared<RegisterWindow>(); }); // "רישום פרטים"
  connect(ui->Command6, &QPushButton::clicked, this, [] { openShared<AnualReportWindow>(); }); // "דו"ח תשלומים שנתי"
  connect(ui->debtorsButton, &QPushButton::clicked, this, [] { openShared<DebtorsWindow>(); }); // "חייבים"
  connect(ui->storyButton, &QPushButton::clicked, this, [] { openShared<StoryWindow>(); });     // "כרטסת דירה"
  connect(ui->meetingButton, &QPushButton::clicked, this, [] { openShared<MeetingWindow>(); }); // "דו"ח לאסיפה כללית"
  connect(ui->leviesButton, &QPushButton::clicked, this, [] { openShared<LeviesWindow>(); }); // "היטלים"
  connect(ui->budgetButton, &QPushButton::clicked, this, [] { openShared<BudgetWindow>(); }); // "תקציב"
  connect(ui->closingButton, &QPushButton::clicked, this, [] { openShared<ClosingWindow>(); }); // "סגירת תקופה"
  connect(ui->fundsButton, &QPushButton::clicked, this, [] { openShared<FundsWindow>(); });     // "קרנות"
  connect(ui->statementButton, &QPushButton::clicked, this, [] { openShared<StatementWindow>(); }); // "דף חשבון בנק"
  connect(ui->Command7, &QPushButton::clicked, this, [] { openShared<BackupWindow>(); }); // "גיבוי ושחזור"
}

StartWindow::~StartWindow() = default;

bool StartWindow::event(QEvent *event) {
  // Coming back to the menu shows the details as last saved.
  if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
    showBuilding();
  return QWidget::event(event);
}

void StartWindow::showBuilding() {
  // Books whose details were never saved start there: the menu says so, on that button.
  const Building details = building(db::program());
  const bool fresh = buildingLine(details).isEmpty() && details.apartments == 0 && details.monthlyPay == Money();
  ui->buildingLine->setText(fresh ? texts::firstSteps : buildingLine(details));
  if (fresh)
    ui->Command5->setFocus();
  // Books on a server are one building of many there: the title names it.
  const QString building = db::buildingOf(db::server());
  setWindowTitle(building.isEmpty() ? QStringLiteral("Domiva") : QStringLiteral("Domiva – ") + building);
  const QString file = db::path().isEmpty() ? db::server() : QDir::toNativeSeparators(db::path());
  ui->buildingLine->setToolTip(file);
  setToolTip(file);
}

namespace {
// The day's backup, made on a thread of its own after the file's check.
std::future<QString> dailyBackup;

void finishStart(const QString &path) {
  if (const db::Opened file = db::checked(); !file.failure.isEmpty()) {
    for (QWidget *window : QApplication::topLevelWidgets())
      window->close();
    QCoreApplication::exit(refuseBooks(path, refusal(path, file), file.damaged) ? restartStatus : 1);
    return;
  } else if (!file.notice.isEmpty()) {
    messages::tell(nullptr, file.notice);
  }
  dailyBackup = std::async(std::launch::async, [path] {
    QString failure = backups::daily(path, now());
    // A failed backup is told, but the books stay usable.
    if (!failure.isEmpty())
      QMetaObject::invokeMethod(
          QCoreApplication::instance(), [failure] { messages::show(nullptr, failure); }, Qt::QueuedConnection);
    return failure;
  });
}
} // namespace

void waitForBackup() {
  if (dailyBackup.valid())
    dailyBackup.wait();
}

void openStory(qint64 apartment) { StoryWindow::openOn(apartment); }

bool refuseBooks(const QString &path, const QString &refusal, bool damaged) {
  if (damaged)
    return offerRestore(path, refusal);
  messages::show(nullptr, refusal);
  return false;
}

void closeBooks(bool endedBySystem) {
  const QString path = db::path();
  // Nothing more of books refused at start; a whole file is checked again
  // for damage that came while the program ran (a server keeps its own).
  if (!path.isEmpty() && db::checked().failure.isEmpty()) {
    bool damaged = false;
    const QString finding = db::checkFile(path, &damaged);
    // Else the first day's work is kept that day.
    const QString told = damaged ? backups::damagedNow(path, finding) : backups::firstWithRows(path, now());
    // On the console when the system ends the program: a box would hold up a logout.
    if (damaged && !endedBySystem)
      messages::show(nullptr, told);
    else if (!told.isEmpty())
      QTextStream(stderr) << texts::plain(told) << Qt::endl;
  }
  db::close();
}

bool offerRestore(const QString &path, const QString &refusal) {
  const QString filter = QStringLiteral("SQLite (*.sqlite)");
  for (;;) {
    const QList<backups::Backup> all = backups::list(path);
    QStringList buttons;
    if (!all.isEmpty())
      buttons << texts::restoreNewest << texts::restoreChoose;
    buttons << texts::restoreFromFile << texts::closeProgram;
    const QString chosen = buttons.value(messages::choose(nullptr, refusal, buttons));
    std::optional<QString> backup;
    if (chosen == texts::restoreNewest)
      backup = all.first().path;
    else if (chosen == texts::restoreChoose)
      backup = messages::chooseOpenFile(nullptr, texts::restoreOpenTitle, backups::folderFor(path), filter);
    else if (chosen == texts::restoreFromFile)
      backup = messages::chooseOpenFile(nullptr, texts::restoreOpenTitle,
                                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), filter);
    else
      return false;
    if (!backup)
      continue;
    QString aside;
    if (const QString failure = backups::restore(path, *backup, &aside); !failure.isEmpty()) {
      messages::show(nullptr, failure);
      continue;
    }
    messages::tell(nullptr, texts::restoredAfterDamage.arg(files::shown(aside)));
    return true;
  }
}

FontsAhead::FontsAhead() : m_reading([] { FcInit(); }) {}

FontsAhead::~FontsAhead() { m_reading.join(); }

std::unique_ptr<StartWindow> showMenu(const QString &path, QString &failure, bool *damaged) {
  // Qt's own list of the fonts comes next; it is made on the other core
  // while the menu is built.
  QThreadPool::globalInstance()->start([] { QFontDatabase::families(); });
  auto menu = std::make_unique<StartWindow>();
  menu->show();
  // Books missing where their backups stand were lost or moved, not never
  // made: new, empty books only when the user says so, else a restore.
  if (!db::isServer(path) && !QFileInfo::exists(path) && !backups::list(path).isEmpty() &&
      !messages::ask(nullptr, texts::booksMissingNew.arg(files::shown(path)))) {
    failure = texts::booksMissing.arg(files::shown(path));
    if (damaged)
      *damaged = true; // offered the ways to restore
    return nullptr;
  }
  db::Opened opened;
  failure = startUp(path, &opened, db::Check::Later);
  if (damaged)
    *damaged = opened.damaged;
  if (!failure.isEmpty())
    return nullptr;
  menu->showBuilding();
  if (!opened.notice.isEmpty())
    messages::tell(nullptr, opened.notice);
  db::checkBehind([path] { finishStart(path); });
  // The write-ahead log is folded back into the file while the user is idle.
  auto *tidy = new QTimer(menu.get());
  QObject::connect(tidy, &QTimer::timeout, [] { db::tidyLog(); });
  tidy->start(30000);
  return menu;
}

} // namespace domiva
