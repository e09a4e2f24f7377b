#include "app/startwindow.h"

#include "app/windows.h"
#include "backups/backupwindow.h"
#include "building/registerwindow.h"
#include "expenses/removalwindow.h"
#include "payments/incomingwindow.h"
#include "reports/anualreportwindow.h"
#include "reports/balancewindow.h"
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
  connect(ui->Command1, &QPushButton::clicked, this, &StartWindow::Command1_Click);
  connect(ui->Command2, &QPushButton::clicked, this, &StartWindow::Command2_Click);
  connect(ui->Command3, &QPushButton::clicked, this, &StartWindow::Command3_Click);
  connect(ui->Command4, &QPushButton::clicked, this, &StartWindow::Command4_Click);
  connect(ui->Command5, &QPushButton::clicked, this, &StartWindow::Command5_Click);
  connect(ui->Command6, &QPushButton::clicked, this, &StartWindow::Command6_Click);
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
  ui->buildingLine->setText(buildingLine(building()));
  const QString file = QDir::toNativeSeparators(db::path());
  ui->buildingLine->setToolTip(file);
  setToolTip(file);
}

void StartWindow::Command1_Click() { openShared<NeighborsWindow>(); }
void StartWindow::Command2_Click() { openShared<IncomingWindow>(); }
void StartWindow::Command3_Click() { openShared<RemovalWindow>(); }
void StartWindow::Command4_Click() { openShared<BalanceWindow>(); }
void StartWindow::Command5_Click() { openShared<RegisterWindow>(); }
void StartWindow::Command6_Click() { openShared<AnualReportWindow>(); }

} // namespace domiva
