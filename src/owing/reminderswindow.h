#pragma once
#include "store/database.h"
#include <QDate>
#include <QList>
#include <QWidget>
#include <memory>

namespace Ui {
class RemindersForm;
}
class QListWidgetItem;

namespace domiva {

// "מכתבי תזכורת": letters to the apartments that owe, in three stages,
// printed as one paper, recorded, and sent on by e-mail or WhatsApp.
class RemindersWindow : public QWidget {
  Q_OBJECT
public:
  explicit RemindersWindow(db::Store store, QWidget *parent = nullptr);
  ~RemindersWindow() override;

  // Opens the window (or brings it up) as at `asAt`, `chosen` ticked.
  static RemindersWindow *openOn(const QDate &asAt, const QList<qint64> &chosen);

private slots:
  void showApartments(); // the date changed: who owes, their debt and last letter
  void chooseByMonths(); // chooseByMonths "בחר"
  void showText();       // the stage changed: its kept text
  void saveText();       // saveText "שמור נוסח"
  void makeLetters();    // makeLetters "הפק מכתבים"
  void openLink(QListWidgetItem *item); // Enter or a double click on a link

private:
  void choose(const QList<qint64> &apartments);

  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::RemindersForm> ui;
};

} // namespace domiva
