#pragma once
// Cancelling the row chosen in a payments or expenses grid.
#include <QString>
#include <functional>

class QTableView;
class QWidget;

namespace domiva {
class GridModel;

namespace cancelling {

// Where the confirmation finds the row's date, its apartment or category,
// and its amount; `whoLabel` names the second ("דירה %1", or "%1" alone).
struct Summary {
  int numberColumn; // the receipt's number as the user knows it
  int dateColumn;
  int whoColumn;
  QString whoLabel;
  int amountColumn;
  // The amount of the whole receipt the row is on, when it may hold several rows.
  std::function<QString(qint64 key)> receiptAmount = {};
};

// Adds "בטל רשומה" to the grid's context menu, running `action` on it.
void addMenuAction(QTableView *view, const std::function<void()> &action);

// Asks to cancel the grid's chosen row, showing its receipt number, date,
// apartment or category and amount, and for a reason; then runs `cancel`
// with the receipt number and the reason and reloads the grid. Every
// refusal is shown as a message.
void cancelChosenRow(QWidget *window, QTableView *view, GridModel *model, const Summary &summary,
                     const std::function<QString(qint64 reciept, const QString &reason)> &cancel);

} // namespace cancelling
} // namespace domiva
