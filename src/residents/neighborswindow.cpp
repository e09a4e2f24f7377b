#include "residents/neighborswindow.h"

#include "residents/residents.h"
#include "residents/residentsreport.h"
#include "store/database.h"
#include "store/gridmodel.h"
#include "text/collectiontexts.h"
#include "text/dates.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/printing.h"
#include "ui/typed.h"
#include "ui_neighborswindow.h"

#include <QFocusEvent>

namespace domiva {

NeighborsWindow::NeighborsWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::NeighborsForm>()),
      m_list(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::keepTypedText(this);
  grid::pressWithEnter(this, ui->email, ui->updaterecord);
  ui->delete_->setObjectName(QStringLiteral("delete")); // a C++ keyword cannot name the member
  ui->status->setCurrentText(texts::owner);
  ui->changeKind->addItems(texts::changeKinds);
  ui->changeKind->setCurrentIndex(-1);
  ui->changeDate->setDate(today());
  m_list->setLeftToRightColumns({3, 4, 5});
  m_list->load(residents::listQuery());
  grid::bind(ui->neighborslist, m_list);
  grid::checkRead(this, m_list, texts::residentsSubject);
  ui->apartment->installEventFilter(this);
  connect(ui->addnew, &QPushButton::clicked, this, &NeighborsWindow::startAdding);    // "הוסף דייר"
  connect(ui->update, &QPushButton::clicked, this, &NeighborsWindow::startUpdating);  // "עדכן דייר"
  connect(ui->delete_, &QPushButton::clicked, this, &NeighborsWindow::startDeleting); // "מחק דייר"
  connect(ui->change, &QPushButton::clicked, this, &NeighborsWindow::startChanging); // "מכירה / מעבר"
  connect(ui->updaterecord, &QPushButton::clicked, this, &NeighborsWindow::carryOut); // "עדכן"
  connect(ui->print, &QPushButton::clicked, this, &NeighborsWindow::printList);       // "הדפס"
  connect(ui->exit, &QPushButton::clicked, this, &NeighborsWindow::closeWindow);      // "יציאה"
  connect(ui->neighborslist->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex &current) { showRow(current.row()); });
  typed::watch(this);
}

NeighborsWindow::~NeighborsWindow() = default;

bool NeighborsWindow::eventFilter(QObject *watched, QEvent *event) {
  if (watched == ui->apartment && event->type() == QEvent::FocusOut) {
    // Switching windows or a message box popping up is not leaving the field.
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      lookUpApartment();
  }
  return QWidget::eventFilter(watched, event);
}

void NeighborsWindow::enable(bool dated) {
  for (QWidget *field :
       {static_cast<QWidget *>(ui->apartment), static_cast<QWidget *>(ui->family), static_cast<QWidget *>(ui->status),
        static_cast<QWidget *>(ui->phone1), static_cast<QWidget *>(ui->phone2), static_cast<QWidget *>(ui->email),
        static_cast<QWidget *>(ui->ownerName), static_cast<QWidget *>(ui->ownerPhone),
        static_cast<QWidget *>(ui->ownerEmail), static_cast<QWidget *>(ui->ownerAddress),
        static_cast<QWidget *>(ui->updaterecord)})
    field->setEnabled(true);
  for (QWidget *field : {static_cast<QWidget *>(ui->changeKind), static_cast<QWidget *>(ui->changeDate)})
    field->setEnabled(dated);
  ui->apartment->setFocus(Qt::OtherFocusReason);
}

void NeighborsWindow::disable() {
  // Idle first, so the focus leaving the apartment field looks nothing up.
  m_mode = QStringLiteral("none");
  m_found.reset();
  ui->addnew->setFocus(Qt::OtherFocusReason);
  for (QLineEdit *field : {ui->apartment, ui->family, ui->phone1, ui->phone2, ui->email, ui->ownerName, ui->ownerPhone,
                           ui->ownerEmail, ui->ownerAddress}) {
    field->setEnabled(false);
    field->clear();
  }
  ui->status->setEnabled(false); // keeps its text for the next resident
  ui->changeKind->setEnabled(false);
  ui->changeKind->setCurrentIndex(-1);
  ui->changeDate->setEnabled(false);
  ui->updaterecord->setEnabled(false);
}

void NeighborsWindow::showRow(int row) {
  // While typing a new resident the fields are the user's own.
  if (row < 0 || m_mode == QLatin1String("add"))
    return;
  const auto value = [&](int column) { return m_list->index(row, column).data(Qt::EditRole).toString(); };
  ui->apartment->setText(value(0));
  if (m_mode == QLatin1String("update") || m_mode == QLatin1String("delete") || m_mode == QLatin1String("change")) {
    lookUpApartment(); // the found resident, ready to update or delete
    return;
  }
  ui->family->setText(value(1));
  ui->status->setCurrentText(value(2));
  ui->phone1->setText(value(3));
  ui->phone2->setText(value(4));
  ui->email->setText(value(5));
  try {
    showOwner(residents::find(m_store, value(0).toLongLong()).value_or(residents::Resident{}));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::residentsSubject, e);
  }
}

void NeighborsWindow::showOwner(const residents::Resident &resident) {
  ui->ownerName->setText(resident.ownerName);
  ui->ownerPhone->setText(resident.ownerPhone);
  ui->ownerEmail->setText(resident.ownerEmail);
  ui->ownerAddress->setText(resident.ownerAddress);
}

void NeighborsWindow::startAdding() {
  // From idle, a new resident's status is chosen, never carried over from
  // the last one; from a lookup, what it found stays to be added.
  if (m_mode == QLatin1String("none")) {
    ui->status->setCurrentIndex(-1);
    ui->status->setEditText(QString());
  }
  enable();
  m_mode = QStringLiteral("add");
}

void NeighborsWindow::startUpdating() {
  enable();
  m_mode = QStringLiteral("update");
}

void NeighborsWindow::startDeleting() {
  enable();
  m_mode = QStringLiteral("delete");
}

void NeighborsWindow::startChanging() {
  enable(true);
  m_mode = QStringLiteral("change");
}

void NeighborsWindow::lookUpApartment() {
  if (m_mode != QLatin1String("update") && m_mode != QLatin1String("delete") && m_mode != QLatin1String("change"))
    return;
  m_found.reset();
  std::optional<residents::Resident> resident;
  if (const auto apartment = residents::parseApartment(ui->apartment->text())) {
    try {
      resident = residents::find(m_store, *apartment);
    } catch (const db::Error &e) {
      messages::show(this, texts::dbEngineError.arg(e.text()));
      return;
    }
  }
  if (!resident) {
    messages::show(this, texts::apartmentMissing);
    return;
  }
  m_found = resident->apartment;
  ui->family->setText(resident->family.isEmpty() ? QStringLiteral(" ") : resident->family);
  ui->status->setCurrentText(resident->status.isEmpty() ? texts::owner : resident->status);
  ui->phone1->setText(resident->phone1);
  ui->phone2->setText(resident->phone2);
  ui->email->setText(resident->email);
  showOwner(*resident);
}

void NeighborsWindow::carryOut() {
  const auto apartment = residents::parseApartment(ui->apartment->text());
  residents::Resident resident{apartment.value_or(0), ui->family->text(),      ui->status->currentText(),
                               ui->phone1->text(),    ui->phone2->text(),      ui->email->text(),
                               ui->ownerName->text(), ui->ownerPhone->text(),  ui->ownerEmail->text(),
                               ui->ownerAddress->text()};
  QString failure;
  if (m_mode == QLatin1String("add")) {
    failure = apartment ? residents::add(m_store, resident) : texts::badApartment;
  } else if (m_mode == QLatin1String("update") || m_mode == QLatin1String("delete") ||
             m_mode == QLatin1String("change")) {
    // Only the apartment that the lookup found and the field still shows.
    if (!m_found || apartment != m_found)
      failure = texts::apartmentMissing;
    else if (m_mode == QLatin1String("change"))
      failure = ui->changeKind->currentIndex() < 0
                    ? texts::changeNoKind
                    : residents::change(m_store, resident, residents::Change(ui->changeKind->currentIndex()),
                                        ui->changeDate->date());
    else if (m_mode == QLatin1String("update"))
      failure = residents::update(m_store, resident);
    else if (confirmRemoval(*m_found))
      failure = residents::remove(m_store, *m_found);
    else
      return;
  } else {
    return;
  }
  if (!failure.isEmpty()) {
    messages::show(this, failure);
    return;
  }
  typed::recorded(this);
  const QString done = m_mode == QLatin1String("add")      ? texts::residentAdded.arg(resident.apartment)
                       : m_mode == QLatin1String("update") ? texts::residentUpdated.arg(resident.apartment)
                       : m_mode == QLatin1String("change")
                           ? texts::changeRecorded.arg(resident.apartment).arg(dates::toShort(ui->changeDate->date()))
                           : texts::residentRemoved.arg(resident.apartment);
  ui->statusLine->setText(done);
  disable();
  m_list->reload();
  grid::checkRead(this, m_list, texts::residentsSubject);
}

bool NeighborsWindow::confirmRemoval(qint64 apartment) {
  try {
    const QString question = residents::removalQuestion(m_store, apartment, today());
    return question.isEmpty() || messages::ask(this, question);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::residentsSubject, e);
    return false;
  }
}

void NeighborsWindow::printList() {
  try {
    const listing::Printout printout = residents::listPrintout(m_store);
    if (printout.rowCount > 0)
      printing::showPreview(QStringLiteral("DataReport1"), printout);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::residentsSubject, e);
  }
}

void NeighborsWindow::closeWindow() { close(); }

} // namespace domiva
