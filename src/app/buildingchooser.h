#pragma once
#include <QDialog>
#include <QString>

class QListWidget;
class QPushButton;
class QLabel;

namespace domiva {

// "בחר בניין": the buildings whose books are on a server, to open one; an
// administrator adds one here.
class BuildingChooser : public QDialog {
  Q_OBJECT
public:
  explicit BuildingChooser(const QString &address, QWidget *parent = nullptr);
  // The server's address naming the building chosen, once accepted.
  QString chosen() const { return m_chosen; }

private:
  void listBuildings(const QString &selected = {});
  void openChosen();
  void addBuilding();

  QString m_address;
  QString m_chosen;
  QLabel *m_empty;
  QListWidget *m_list;
  QPushButton *m_open;
};

} // namespace domiva
