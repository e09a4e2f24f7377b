#include "owing/storywindow.h"

#include "ledger/owing.h"
#include "ledger/people.h"
#include "owing/debtorswindow.h"
#include "owing/reminders.h"
#include "payments/payment.h"
#include "residents/residents.h"
#include "store/building.h"
#include "store/database.h"
#include "store/gridmodel.h"
#include "text/collectiontexts.h"
#include "text/dates.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/opening.h"
#include "ui/printing.h"
#include "ui_storywindow.h"

namespace domiva {

StoryWindow::StoryWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::StoryForm>()),
      m_payments(new GridModel(m_store, this)), m_years(new GridModel(m_store, this)) {
  ui->setupUi(this);
  grid::keepTypedText(this);
  grid::pressWithEnter(this, ui->apartment->lineEdit(), ui->showButton);
  try {
    // Every apartment that has a resident or ever paid.
    m_store.each(QStringLiteral("SELECT apartment FROM neighbors UNION SELECT DISTINCT apartment "
                                "FROM incoming ORDER BY 1"),
                 {}, [&](const QSqlQuery &apartments) { ui->apartment->addItem(apartments.value(0).toString()); });
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::storySubject, e);
  }
  ui->apartment->setCurrentIndex(-1);
  grid::showDates({ui->asOf});
  ui->asOf->setDate(today()); // a seller's settlement asks for another day
  m_payments->setKeyColumn(owing::paymentsRow);
  m_payments->setStatusColumn(owing::paymentsStatus);
  m_payments->setMoneyColumns({owing::paymentsAmount});
  m_payments->setDateColumns({owing::paymentsDate});
  m_payments->sort(owing::paymentsDate); // oldest first
  m_years->setMoneyColumns({std::begin(owing::linesMoney), std::end(owing::linesMoney)});
  m_payments->setPaper(true);
  m_years->setPaper(true);
  grid::bind(ui->paymentsList, m_payments);
  grid::bind(ui->yearsList, m_years);
  connect(ui->apartment, &QComboBox::activated, this, &StoryWindow::showApartment);
  connect(ui->showButton, &QPushButton::clicked, this, &StoryWindow::showApartment); // "הצג"
  connect(ui->asOf, &QDateEdit::dateChanged, this, [this] {
    if (!ui->family->text().isEmpty() || m_years->rowCount() > 0)
      showApartment();
  });
  connect(ui->printButton, &QPushButton::clicked, this, &StoryWindow::printStory); // "הדפס"
  connect(ui->csvButton, &QPushButton::clicked, this, &StoryWindow::saveCsv);      // "שמור כקובץ CSV"
  connect(ui->statementButton, &QPushButton::clicked, this, &StoryWindow::showStatement); // "דף חשבון"
  connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close);           // "יציאה"
}

StoryWindow::~StoryWindow() = default;

StoryWindow *StoryWindow::openOn(qint64 apartment) {
  StoryWindow *window = openShared<StoryWindow>();
  window->ui->apartment->setEditText(QString::number(apartment));
  window->showApartment();
  return window;
}

std::optional<qint64> StoryWindow::chosenApartment() {
  const auto apartment = residents::parseApartment(ui->apartment->currentText());
  const QString refusal = !apartment ? texts::badApartment : apartmentRefusal(m_store, *apartment);
  if (refusal.isEmpty())
    return apartment;
  messages::show(this, refusal);
  return std::nullopt;
}

void StoryWindow::showApartment() {
  if (!datesTyped(this))
    return;
  const auto apartment = chosenApartment();
  if (!apartment)
    return;
  try {
    ui->family->setText(payments::residentName(m_store, QString::number(*apartment)));
    // Who lived there and owned it when, where more than one did.
    QStringList people;
    for (const people::Person &person : people::of(m_store, *apartment))
      people << people::describe(person);
    ui->people->setText(people.size() > 1 ? texts::storyPeople.arg(people.join(QStringLiteral("; "))) : QString());
    m_years->show(owing::linesHeaders(), owing::lines(m_store, *apartment, ui->asOf->date()));
    QStringList letters;
    for (const reminders::Sent &sent : reminders::sent(m_store, *apartment))
      letters << texts::storyLetter.arg(dates::toShort(sent.sent)).arg(sent.stage).arg(sent.person, sent.amount.toPaper());
    ui->letters->setText(letters.isEmpty() ? QString() : texts::storyLetters.arg(letters.join(QStringLiteral("; "))));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::storySubject, e);
    return;
  }
  m_payments->load(owing::paymentsQuery(), {*apartment});
  ui->paymentsList->setColumnHidden(owing::paymentsRow, true);
  if (!grid::checkRead(this, m_payments, texts::storySubject))
    return;
  // Before the building's apartments are counted, neither a resident nor a
  // payment is most likely a typing slip.
  if (building(m_store).apartments <= 0 && ui->family->text().isEmpty() && m_payments->rowCount() == 0)
    messages::show(this, texts::apartmentMissing);
}

void StoryWindow::printStory() {
  if (!datesTyped(this))
    return;
  if (m_payments->rowCount() == 0 && m_years->rowCount() == 0)
    return;
  if (!grid::readForPrinting(this, {m_payments, m_years}, texts::storySubject))
    return;
  listing::Printout story = grid::printout(ui->paymentsList, m_payments,
                                           texts::storyTitle.arg(ui->apartment->currentText(), ui->family->text()));
  listing::Printout years =
      grid::printout(ui->yearsList, m_years, texts::storyYears.arg(dates::toShort(ui->asOf->date())));
  if (!ui->people->text().isEmpty())
    story.layout.intro << ui->people->text();
  years.layout.counted = false;
  story.sections.push_back(years);
  printing::print(this, story);
}

void StoryWindow::showStatement() {
  const auto apartment = chosenApartment();
  if (!apartment)
    return;
  showStatements(this, m_store, ui->asOf->date(), *apartment);
}

void StoryWindow::saveCsv() {
  grid::saveCsv(ui->paymentsList, windowTitle() + QLatin1Char(' ') + ui->apartment->currentText());
}

} // namespace domiva
