#include "app/buildingchooser.h"

#include "store/database.h"
#include "text/texts.h"
#include "ui/messages.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace domiva {

BuildingChooser::BuildingChooser(const QString &address, QWidget *parent) : QDialog(parent), m_address(address) {
  setObjectName(QStringLiteral("BuildingChooser"));
  setWindowTitle(texts::chooseBuilding);
  auto *layout = new QVBoxLayout(this);
  auto *label = new QLabel(texts::chooseBuildingLabel, this);
  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("buildingList"));
  label->setBuddy(m_list);
  m_empty = new QLabel(texts::noBuildings, this);
  m_empty->setWordWrap(true);
  auto *buttons = new QDialogButtonBox(this);
  m_open = buttons->addButton(texts::openBuilding, QDialogButtonBox::AcceptRole);
  m_open->setObjectName(QStringLiteral("openBuilding"));
  auto *add = buttons->addButton(texts::newBuilding, QDialogButtonBox::ActionRole);
  add->setObjectName(QStringLiteral("addBuilding"));
  auto *close = buttons->addButton(texts::closeProgram, QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("closeChooser"));
  layout->addWidget(label);
  layout->addWidget(m_list);
  layout->addWidget(m_empty);
  layout->addWidget(buttons);
  connect(m_open, &QPushButton::clicked, this, &BuildingChooser::openChosen); // "פתח"
  connect(add, &QPushButton::clicked, this, &BuildingChooser::addBuilding);   // "בניין חדש…"
  connect(close, &QPushButton::clicked, this, &QDialog::reject);              // "סגור את התוכנה"
  connect(m_list, &QListWidget::itemActivated, this, &BuildingChooser::openChosen);
  resize(380, 320);
  listBuildings();
}

void BuildingChooser::listBuildings(const QString &selected) {
  QString failure;
  const QStringList names = db::buildings(m_address, failure);
  m_list->clear();
  m_list->addItems(names);
  const auto found = m_list->findItems(selected, Qt::MatchExactly);
  m_list->setCurrentRow(found.isEmpty() ? 0 : m_list->row(found.first()));
  m_empty->setVisible(names.isEmpty() && failure.isEmpty()); // a server that did not answer is not an empty one
  m_open->setEnabled(!names.isEmpty());
  m_list->setFocus();
  if (!failure.isEmpty())
    messages::show(this, failure);
}

void BuildingChooser::openChosen() {
  if (const QListWidgetItem *item = m_list->currentItem()) {
    m_chosen = db::withBuilding(m_address, item->text());
    accept();
  }
}

void BuildingChooser::addBuilding() {
  const auto name = messages::askText(this, texts::newBuildingName, texts::addBuilding);
  if (!name)
    return;
  // Its books are made when it is first opened, here at once.
  if (const QString failure = db::addBuilding(m_address, *name); !failure.isEmpty()) {
    messages::show(this, failure);
    return;
  }
  m_chosen = db::withBuilding(m_address, name->trimmed());
  accept();
}

} // namespace domiva
