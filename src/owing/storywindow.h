#pragma once
#include "store/database.h"
#include <QWidget>
#include <memory>
#include <optional>

namespace Ui {
class StoryForm;
}

namespace domiva {
class GridModel;

// "כרטסת דירה": every payment of one apartment, oldest first, and its years.
class StoryWindow : public QWidget {
  Q_OBJECT
public:
  explicit StoryWindow(db::Store store, QWidget *parent = nullptr);
  ~StoryWindow() override;

  // Opens the window (or brings it up) on `apartment`.
  static StoryWindow *openOn(qint64 apartment);

private slots:
  void showApartment(); // showButton "הצג", or Enter in the apartment box
  void printStory();    // printButton "הדפס"
  void saveCsv();       // csvButton "שמור כקובץ CSV"
  void showStatement(); // statementButton "דף חשבון"

private:
  // The apartment typed, or none after saying why it is not one of the building's.
  std::optional<qint64> chosenApartment();

  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::StoryForm> ui;
  GridModel *m_payments;
  GridModel *m_years;
};

} // namespace domiva
