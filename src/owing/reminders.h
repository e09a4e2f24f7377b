#pragma once
// Reminder letters in three stages (a friendly word, a formal demand with a
// deadline, a summary for a claim with the superintendent), the texts the
// treasurer keeps for them, and the record of every letter sent. Their
// figures are the apartment's statement's.
#include "ledger/statement.h"
#include "printing/listwriter.h"
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QUrl>

namespace domiva::reminders {

inline constexpr int stages = 3; // numbered from 1
inline constexpr int deadlineDays = 14;
QString stageName(int stage);

// The stage's text: the treasurer's kept one, else the program's. Throws db::Error.
QString letterText(const db::Store &store, int stage);
// Empty on success, else why nothing was kept.
QString saveLetterText(const db::Store &store, int stage, const QString &body);

// The committee's account, named in the letters as how to pay, and who is
// billed for the dues: the resident (the default) or the owner. Levies and
// the opening debt are the owner's: a letter for a debt holding them goes
// to the owner.
struct Collection {
  QString bank, branch, account;
  bool duesToOwner = false;
};
Collection collection(const db::Store &store); // throws db::Error
QString saveCollection(const db::Store &store, const Collection &collection);

struct Sent {
  QDate sent;
  int stage = 0;
  QString person;
  Money amount;
};
// An apartment's letters, oldest first; the last of each apartment's. Throw db::Error.
QList<Sent> sent(const db::Store &store, qint64 apartment);
QHash<qint64, Sent> lastSent(const db::Store &store);

struct Request {
  QList<qint64> apartments;
  int stage = 1;
  QDate sent;     // the letters' date, and the date their debt is as at
  QDate deadline; // the demand's
  QString body;   // the text, its <names> not yet put in
};
struct Letter {
  qint64 apartment = 0;
  QString person, phone, email;
  int stage = 1;
  QDate deadline;
  QString body; // its names put in
  statements::Sheet sheet;
  QList<Sent> before; // the letters sent to the apartment before this one
};
struct Outcome {
  QString refusal; // empty when every letter was recorded
  QList<Letter> letters;
};
// Checks the request, then records every letter in one transaction; on a
// refusal nothing is recorded.
Outcome send(const db::Store &store, const Request &request);

// The letters on paper, each from a page of its own.
listing::Printout printout(const QList<Letter> &letters);
// The letter in a line, and the links that carry it: an e-mail to the
// apartment's address, a WhatsApp message to its phone; empty without one.
QString shortText(const Letter &letter);
QUrl mailLink(const Letter &letter);
QUrl whatsappLink(const Letter &letter);

// The apartments owing more than `months` months of their dues as at
// `asAt`, leaving out those paying by standing order whose dues are met.
// Throws db::Error.
QList<qint64> owingMonths(const db::Store &store, const QDate &asAt, int months);

} // namespace domiva::reminders
