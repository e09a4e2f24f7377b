#include "owing/reminderswindow.h"

#include "ledger/owing.h"
#include "owing/reminders.h"
#include "text/collectiontexts.h"
#include "text/dates.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/datebox.h"
#include "ui/grid.h"
#include "ui/messages.h"
#include "ui/opening.h"
#include "ui/printing.h"
#include "ui_reminderswindow.h"

namespace domiva {

RemindersWindow::RemindersWindow(db::Store store, QWidget *parent)
    : QWidget(parent), m_store(std::move(store)), ui(std::make_unique<Ui::RemindersForm>()) {
  ui->setupUi(this);
  for (int stage = 1; stage <= reminders::stages; ++stage)
    ui->stage->addItem(texts::stageLine.arg(stage).arg(reminders::stageName(stage)));
  grid::showDates({ui->asOf, ui->deadline});
  ui->asOf->setDate(today());
  ui->deadline->setDate(today().addDays(reminders::deadlineDays));
  try {
    const reminders::Collection collection = reminders::collection(m_store);
    ui->bank->setText(collection.bank);
    ui->branch->setText(collection.branch);
    ui->accountNumber->setText(collection.account);
    ui->duesToOwner->setChecked(collection.duesToOwner);
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::remindersSubject, e);
  }
  showText();
  showApartments();
  connect(ui->asOf, &QDateEdit::dateChanged, this, [this](const QDate &date) {
    ui->deadline->setDate(date.addDays(reminders::deadlineDays));
    showApartments();
  });
  connect(ui->stage, &QComboBox::currentIndexChanged, this, &RemindersWindow::showText);
  connect(ui->chooseByMonths, &QPushButton::clicked, this, &RemindersWindow::chooseByMonths); // "בחר"
  connect(ui->saveText, &QPushButton::clicked, this, &RemindersWindow::saveText);             // "שמור נוסח"
  connect(ui->makeLetters, &QPushButton::clicked, this, &RemindersWindow::makeLetters);       // "הפק מכתבים"
  connect(ui->links, &QListWidget::itemActivated, this, &RemindersWindow::openLink);
  connect(ui->exitButton, &QPushButton::clicked, this, &QWidget::close); // "יציאה"
}

RemindersWindow::~RemindersWindow() = default;

RemindersWindow *RemindersWindow::openOn(const QDate &asAt, const QList<qint64> &chosen) {
  RemindersWindow *window = openShared<RemindersWindow>();
  window->ui->asOf->setDate(asAt);
  window->choose(chosen);
  return window;
}

void RemindersWindow::showApartments() {
  ui->apartments->clear();
  try {
    const QHash<qint64, reminders::Sent> last = reminders::lastSent(m_store);
    for (const owing::Account &account : owing::accounts(m_store, ui->asOf->date())) {
      if (!account.owes())
        continue;
      QStringList parts{texts::apartmentNumber.arg(account.apartment),
                        account.family.isEmpty() ? texts::emptyApartment : account.family,
                        account.total().toPaper()};
      if (const auto sent = last.constFind(account.apartment); sent != last.cend())
        parts << texts::lastLetter.arg(sent->stage).arg(dates::toShort(sent->sent));
      auto *item = new QListWidgetItem(parts.join(QStringLiteral(" · ")), ui->apartments);
      item->setData(Qt::UserRole, account.apartment);
      item->setCheckState(Qt::Unchecked);
    }
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::remindersSubject, e);
  }
}

void RemindersWindow::choose(const QList<qint64> &apartments) {
  for (int row = 0; row < ui->apartments->count(); ++row) {
    QListWidgetItem *item = ui->apartments->item(row);
    item->setCheckState(apartments.contains(item->data(Qt::UserRole).toLongLong()) ? Qt::Checked : Qt::Unchecked);
  }
}

void RemindersWindow::chooseByMonths() {
  if (!datesTyped(this))
    return;
  try {
    choose(reminders::owingMonths(m_store, ui->asOf->date(), ui->months->value()));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::remindersSubject, e);
  }
}

void RemindersWindow::showText() {
  try {
    ui->body->setPlainText(reminders::letterText(m_store, ui->stage->currentIndex() + 1));
  } catch (const db::Error &e) {
    messages::readFailed(this, texts::remindersSubject, e);
  }
  ui->deadline->setEnabled(ui->stage->currentIndex() == 1); // the demand's alone
}

void RemindersWindow::saveText() {
  QString refusal = reminders::saveLetterText(m_store, ui->stage->currentIndex() + 1, ui->body->toPlainText());
  if (refusal.isEmpty())
    refusal = reminders::saveCollection(
        m_store, {ui->bank->text(), ui->branch->text(), ui->accountNumber->text(), ui->duesToOwner->isChecked()});
  messages::show(this, refusal.isEmpty() ? texts::letterTextSaved : refusal);
}

void RemindersWindow::makeLetters() {
  if (!datesTyped(this))
    return;
  QList<qint64> chosen;
  for (int row = 0; row < ui->apartments->count(); ++row)
    if (ui->apartments->item(row)->checkState() == Qt::Checked)
      chosen << ui->apartments->item(row)->data(Qt::UserRole).toLongLong();
  const reminders::Outcome outcome =
      reminders::send(m_store, {chosen, ui->stage->currentIndex() + 1, ui->asOf->date(), ui->deadline->date(),
                                ui->body->toPlainText()});
  if (!outcome.refusal.isEmpty()) {
    messages::show(this, outcome.refusal);
    return;
  }
  ui->links->clear();
  for (const reminders::Letter &letter : outcome.letters)
    for (const QUrl &link : {reminders::mailLink(letter), reminders::whatsappLink(letter)})
      if (!link.isEmpty()) {
        auto *item = new QListWidgetItem(texts::apartmentNumber.arg(letter.apartment) + QStringLiteral(" · ") +
                                             (link.scheme() == QStringLiteral("mailto") ? letter.email : letter.phone),
                                         ui->links);
        item->setData(Qt::UserRole, link);
      }
  showApartments();
  choose(chosen);
  printing::showPreview(QStringLiteral("letters"), reminders::printout(outcome.letters), windowTitle());
  messages::tell(this, texts::lettersRecorded.arg(outcome.letters.size()));
}

void RemindersWindow::openLink(QListWidgetItem *item) { messages::openLink(item->data(Qt::UserRole).toUrl()); }

} // namespace domiva
