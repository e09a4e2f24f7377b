#include "app/startwindow.h"

#include "app/windows.h"
#include "common/grid.h"
#include "app/startup.h"
#include "backups/backups.h"
#include "backups/backupwindow.h"
#include "common/messages.h"
#include "building/registerwindow.h"
#include "expenses/removalwindow.h"
#include "owing/debtorswindow.h"
#include "owing/storywindow.h"
#include "payments/incomingwindow.h"
#include "reports/anualreportwindow.h"
#include "reports/balancewindow.h"
#include "reports/meetingwindow.h"
#include "residents/neighborswindow.h"
#include "data/building.h"
#include "data/database.h"
#include "ui_startwindow.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFontDatabase>
#include <QThreadPool>
#include <fontconfig/fontconfig.h>

// The icon lives in the windows library, which is static: register it by hand.
static void loadResources() { Q_INIT_RESOURCE(resources); }

namespace domiva {

StartWindow::StartWindow(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::start>()) {
  loadResources();
  ui->setupUi(this);
  grid::pressWithEnter(this, nullptr, nullptr); // Enter opens the focused button's window
  // Each button opens its window, or brings the open one to the front.
  connect(ui->Command1, &QPushButton::clicked, this, [] { openShared<NeighborsWindow>(); });
  connect(ui->Command2, &QPushButton::clicked, this, [] { openShared<IncomingWindow>(); });
  connect(ui->Command3, &QPushButton::clicked, this, [] { openShared<RemovalWindow>(); });
  connect(ui->Command4, &QPushButton::clicked, this, [] { openShared<BalanceWindow>(); });
  connect(ui->Command5, &QPushButton::clicked, this, [] { openShared<RegisterWindow>(); });
  connect(ui->Command6, &QPushButton::clicked, this, [] { openShared<AnualReportWindow>(); });
  connect(ui->debtorsButton, &QPushButton::clicked, this, [] { openShared<DebtorsWindow>(); });
  connect(ui->storyButton, &QPushButton::clicked, this, [] { openShared<StoryWindow>(); });
  connect(ui->meetingButton, &QPushButton::clicked, this, [] { openShared<MeetingWindow>(); });
  connect(ui->Command7, &QPushButton::clicked, this, [] { openShared<BackupWindow>(); });
}

StartWindow::~StartWindow() = default;

bool StartWindow::event(QEvent *event) {
  // Coming back to the menu shows the details as last saved.
  if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
    showBuilding();
  return QWidget::event(event);
}

void StartWindow::showBuilding() {
  ui->buildingLine->setText(buildingLine(building()));
  const QString file = QDir::toNativeSeparators(db::path());
  ui->buildingLine->setToolTip(file);
  setToolTip(file);
}

namespace {
void finishStart(const QString &path) {
  if (const db::Opened file = db::checked(); !file.failure.isEmpty()) {
    for (QWidget *window : QApplication::topLevelWidgets())
      window->close();
    messages::show(nullptr, refusal(path, file));
    QCoreApplication::exit(1);
    return;
  }
  // A failed backup is told, but the books stay usable.
  if (const QString failure = backups::daily(path, QDateTime::currentDateTime()); !failure.isEmpty())
    messages::show(nullptr, failure);
}
} // namespace

FontsAhead::FontsAhead() : m_reading([] { FcInit(); }) {}

FontsAhead::~FontsAhead() { m_reading.join(); }

std::unique_ptr<StartWindow> showMenu(const QString &path, QString &failure) {
  // Qt's own list of the fonts comes next; it is made on the other core
  // while the menu is built.
  QThreadPool::globalInstance()->start([] { QFontDatabase::families(); });
  auto menu = std::make_unique<StartWindow>();
  menu->show();
  QString notice;
  failure = startUp(path, &notice, db::Check::Later);
  if (!failure.isEmpty())
    return nullptr;
  menu->showBuilding();
  if (!notice.isEmpty())
    messages::tell(nullptr, notice);
  db::checkBehind([path] { finishStart(path); });
  return menu;
}

} // namespace domiva
