#include "building/registerwindow.h"

#include "building/details.h"
#include "store/building.h"
#include "text/texts.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui_registerwindow.h"

namespace domiva {

RegisterWindow::RegisterWindow(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::RegisterForm>()) {
  ui->setupUi(this);
  grid::showDates({ui->DTPicker1});
  grid::pressWithEnter(this, ui->Text5, ui->Command1);
  setObjectName(QStringLiteral("register")); // a C++ keyword cannot name it in the form
  connect(ui->Command1, &QPushButton::clicked, this, &RegisterWindow::saveDetails);
  load();
}

RegisterWindow::~RegisterWindow() = default;

void RegisterWindow::load() {
  // The program-wide copy, which every save replaces.
  const Building &details = building();
  ui->Text1->setText(details.street);
  ui->Text2->setText(details.city);
  ui->Text3->setText(QString::number(details.apartments));
  ui->Text4->setText(QString::number(details.openBalance));
  ui->Text5->setText(QString::number(details.monthlyPay));
  ui->DTPicker1->setDate(details.openDate);
}

void RegisterWindow::saveDetails() {
  const QString failure = saveBuilding({ui->Text3->text(), ui->Text5->text(), ui->Text4->text(), ui->DTPicker1->date(),
                                        ui->Text1->text(), ui->Text2->text()});
  messages::report(this, failure, texts::detailsSaved);
}

} // namespace domiva
