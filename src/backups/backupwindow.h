#pragma once
#include <QWidget>
#include <memory>

namespace Ui {
class BackupForm;
}

namespace domiva {

// "גיבוי ושחזור": the backups of the open file, a backup now to a file of
// the user's choice, and restoring a chosen backup or any file chosen.
class BackupWindow : public QWidget {
  Q_OBJECT
public:
  explicit BackupWindow(QWidget *parent = nullptr);
  ~BackupWindow() override;

private slots:
  void backupNow();     // backupNow "גבה עכשיו לקובץ…"
  void restoreChosen(); // restoreChosen "שחזר את הגיבוי הנבחר"
  void restoreFile();   // restoreFile "שחזר מקובץ…"
  void closeWindow();   // exitButton "יציאה"

private:
  void load();
  void restoreFrom(const QString &backup, const QString &made);
  std::unique_ptr<Ui::BackupForm> ui;
};

} // namespace domiva
