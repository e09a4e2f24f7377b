#include "app/startwindow.h"

#include "app/windows.h"
#include "common/grid.h"
#include "backups/backupwindow.h"
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

#include <QDir>
#include <QEvent>

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

} // namespace domiva
