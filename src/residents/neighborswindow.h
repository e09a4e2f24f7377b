#pragma once
#include "residents/residents.h"
#include "store/database.h"
#include <QWidget>
#include <memory>
#include <optional>

namespace Ui {
class NeighborsForm;
}

namespace domiva {
class GridModel;

// "דיירים": the residents in apartment order, changed in two steps: an
// action button opens the fields, "עדכן" carries the action out.
class NeighborsWindow : public QWidget {
  Q_OBJECT
public:
  explicit NeighborsWindow(db::Store store, QWidget *parent = nullptr);
  ~NeighborsWindow() override;

  QString mode() const { return m_mode; }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
  void startAdding();   // "הוסף דייר": open the fields to add
  void startUpdating(); // "עדכן דייר": open the fields to update
  void startDeleting(); // "מחק דייר": open the fields to delete
  void startChanging(); // "מכירה / מעבר": open the fields for who comes, on a date
  void carryOut();      // "עדכן": carry the chosen action out
  void printList();     // "הדפס": the printed residents list
  void closeWindow();   // "יציאה": close the window

private:
  void lookUpApartment();
  void enable(bool dated = false); // dated: a sale or a move, with its kind and day
  void disable();
  void showRow(int row);                 // a row chosen in the grid: its resident in the fields
  void showOwner(const residents::Resident &resident);
  bool confirmRemoval(qint64 apartment); // asks when the apartment has payments or owes

  db::Store m_store; // the books this window reads and writes

  std::unique_ptr<Ui::NeighborsForm> ui;
  GridModel *m_list = nullptr;
  QString m_mode;
  // The apartment that the last successful lookup found: update and delete
  // act on it alone.
  std::optional<qint64> m_found;
};

} // namespace domiva
