#include "backups/backupwindow.h"

#include "store/backups.h"
#include "store/database.h"
#include "store/files.h"
#include "text/bidi.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/messages.h"
#include "ui_backupwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStandardPaths>

namespace domiva {

BackupWindow::BackupWindow(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::BackupForm>()) {
  ui->setupUi(this);
  ui->backupsList->setColumnCount(4);
  ui->backupsList->setHorizontalHeaderLabels(
      {QStringLiteral("תאריך"), QStringLiteral("גודל"), QStringLiteral("תשלומים"), QStringLiteral("הוצאות")});
  ui->backupsList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ui->backupsList->setSelectionBehavior(QAbstractItemView::SelectRows);
  ui->backupsList->setSelectionMode(QAbstractItemView::SingleSelection);
  ui->backupsList->verticalHeader()->hide();
  ui->backupsList->setTabKeyNavigation(false); // Tab goes on to the buttons
  ui->backupsList->horizontalHeader()->setStretchLastSection(true);
  connect(ui->backupNow, &QPushButton::clicked, this, &BackupWindow::backupNow); // "גבה עכשיו לקובץ…"
  connect(ui->restoreChosen, &QPushButton::clicked, this, &BackupWindow::restoreChosen); // "שחזר את הגיבוי הנבחר"
  connect(ui->restoreFile, &QPushButton::clicked, this, &BackupWindow::restoreFile); // "שחזר מקובץ…"
  connect(ui->exitButton, &QPushButton::clicked, this, &BackupWindow::closeWindow);  // "יציאה"
  load();
}

BackupWindow::~BackupWindow() = default;

void BackupWindow::load() {
  // A server's backups are its administrator's; the window writes a copy.
  if (const QString server = db::server(); !server.isEmpty()) {
    ui->Label2->setText(texts::serverBooksLabel);
    ui->databasePath->setText(db::buildingOf(server) + QStringLiteral(" · ") +
                              leftToRight(db::withoutBuilding(server)));
    ui->Label3->setText(texts::serverBackupsLabel);
    ui->backupsFolder->setText(texts::serverBackups);
    ui->backupsFolder->setWordWrap(true);
    for (QWidget *fileOnly : {static_cast<QWidget *>(ui->backupsList), static_cast<QWidget *>(ui->restoreChosen),
                              static_cast<QWidget *>(ui->restoreFile)})
      fileOnly->hide();
    return;
  }
  const QString database = db::path();
  ui->databasePath->setText(QDir::toNativeSeparators(database));
  ui->backupsFolder->setText(QDir::toNativeSeparators(backups::folderFor(database)));
  const QList<backups::Backup> found = backups::list(database);
  ui->backupsList->setRowCount(int(found.size()));
  for (int row = 0; row < found.size(); ++row) {
    const auto [payments, expenses] = backups::counts(found[row].path);
    // Left-to-right runs kept in their order inside the right-to-left grid.
    const auto isolated = [](const QString &text) { return leftToRight(text); };
    const QStringList cells{isolated(found[row].made.toString(QStringLiteral("dd/MM/yyyy HH:mm"))),
                            isolated(QStringLiteral("%1 MB").arg(found[row].size / 1048576.0, 0, 'f', 1)),
                            QString::number(payments), QString::number(expenses)};
    for (int column = 0; column < cells.size(); ++column) {
      auto *item = new QTableWidgetItem(cells[column]);
      item->setData(Qt::UserRole, found[row].path);
      ui->backupsList->setItem(row, column, item);
    }
  }
  ui->backupsList->resizeColumnsToContents();
}

void BackupWindow::backupNow() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QString books =
      db::server().isEmpty() ? QFileInfo(db::path()).completeBaseName() : db::buildingOf(db::server());
  const QString suggested =
      folder + QLatin1Char('/') + books + QLatin1Char('-') + today().toString(Qt::ISODate) + QStringLiteral(".sqlite");
  const auto target =
      messages::chooseSaveFile(this, texts::backupSaveTitle, suggested, QStringLiteral("SQLite (*.sqlite)"));
  if (!target)
    return;
  const QString failure = backups::write(*target);
  messages::report(this, failure, texts::backupSaved.arg(QDir::toNativeSeparators(*target)));
}

void BackupWindow::restoreChosen() {
  const QList<QTableWidgetItem *> chosen = ui->backupsList->selectedItems();
  if (chosen.isEmpty()) {
    messages::show(this, texts::chooseBackup);
    return;
  }
  restoreFrom(chosen.first()->data(Qt::UserRole).toString(), chosen.first()->text());
}

void BackupWindow::restoreFile() {
  const auto chosen = messages::chooseOpenFile(this, texts::restoreOpenTitle,
                                               QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                               QStringLiteral("SQLite (*.sqlite)"));
  if (chosen)
    restoreFrom(*chosen, files::shown(*chosen));
}

void BackupWindow::restoreFrom(const QString &backup, const QString &made) {
  if (!messages::ask(this, texts::restoreQuestion.arg(made)))
    return;
  // The other windows read the file that is about to be replaced; the menu stays.
  for (QWidget *window : QApplication::topLevelWidgets())
    if (window != this && window->isVisible() && window->objectName() != QLatin1String("start"))
      window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const QString failure = backups::restore(db::path(), backup);
  messages::report(this, failure, texts::restored);
  load();
}

void BackupWindow::closeWindow() { close(); }

} // namespace domiva
