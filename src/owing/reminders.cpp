#include "owing/reminders.h"

#include "ledger/dues.h"
#include "ledger/owing.h"
#include "printing/printouts.h"
#include "printing/reportstyle.h"
#include "text/collectiontexts.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/banktexts.h"
#include "text/texts.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QUrlQuery>

namespace domiva::reminders {

QString stageName(int stage) { return texts::stageNames.split(QLatin1Char('|')).value(stage - 1); }

QString letterText(const db::Store &store, int stage) {
  QString kept;
  store.each(QStringLiteral("SELECT body FROM letter_texts WHERE stage = ?"), {stage},
             [&](const QSqlQuery &row) { kept = row.value(0).toString(); });
  if (!kept.isEmpty())
    return kept;
  return stage == 1 ? texts::friendlyLetter : stage == 2 ? texts::demandLetter : texts::claimLetter;
}

namespace {
const QString bodyField = QStringLiteral("נוסח המכתב");

// Each line of a text kept as typed; empty when all may be stored.
QString checkBody(const QString &body) {
  if (body.trimmed().isEmpty())
    return texts::letterEmpty;
  for (const QString &line : body.split(QLatin1Char('\n')))
    if (const QString refusal = input::checkTexts({{bodyField, line}}); !refusal.isEmpty())
      return refusal;
  return {};
}

QString howToPay(const Collection &account, qint64 apartment) {
  return account.account.trimmed().isEmpty() ? texts::howToPayTreasurer.arg(apartment)
                                             : texts::howToPayBank.arg(account.bank, account.branch, account.account)
                                                   .arg(apartment);
}
} // namespace

QString saveLetterText(const db::Store &store, int stage, const QString &body) {
  if (stage < 1 || stage > stages)
    return texts::letterBadStage;
  if (const QString refusal = checkBody(body); !refusal.isEmpty())
    return refusal;
  try {
    db::Transaction transaction(store);
    store.exec(QStringLiteral("DELETE FROM letter_texts WHERE stage = ?"), {stage});
    store.exec(QStringLiteral("INSERT INTO letter_texts (stage, body) VALUES (?, ?)"), {stage, body});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

Collection collection(const db::Store &store) {
  Collection found;
  store.each(QStringLiteral("SELECT bank, branch, account, dues_to FROM collection"), {}, [&](const QSqlQuery &row) {
    found = {row.value(0).toString(), row.value(1).toString(), row.value(2).toString(),
             row.value(3).toString() == QStringLiteral("owner")};
  });
  return found;
}

QString saveCollection(const db::Store &store, const Collection &collection) {
  if (const QString refusal = input::checkTexts({{texts::bankNameField, collection.bank},
                                                 {QStringLiteral("סניף"), collection.branch},
                                                 {QStringLiteral("חשבון"), collection.account}});
      !refusal.isEmpty())
    return refusal;
  try {
    db::Transaction transaction(store);
    store.exec(QStringLiteral("DELETE FROM collection"));
    store.exec(QStringLiteral("INSERT INTO collection (id, bank, branch, account, dues_to) VALUES (1, ?, ?, ?, ?)"),
               {collection.bank.trimmed(), collection.branch.trimmed(), collection.account.trimmed(),
                QString::fromLatin1(collection.duesToOwner ? "owner" : "occupant")});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

namespace {
Sent sentOf(const QSqlQuery &row) {
  return {dates::fromIso(row.value(1).toString()), row.value(2).toInt(), row.value(3).toString(),
          Money::fromAgorot(row.value(4).toLongLong())};
}
} // namespace

QList<Sent> sent(const db::Store &store, qint64 apartment) {
  QList<Sent> found;
  store.each(QStringLiteral("SELECT apartment, sent, stage, person, amount FROM reminders WHERE apartment = ? "
                            "ORDER BY sent, id"),
             {apartment}, [&](const QSqlQuery &row) { found << sentOf(row); });
  return found;
}

QHash<qint64, Sent> lastSent(const db::Store &store) {
  QHash<qint64, Sent> found;
  store.each(QStringLiteral("SELECT apartment, sent, stage, person, amount FROM reminders ORDER BY sent, id"), {},
             [&](const QSqlQuery &row) { found.insert(row.value(0).toLongLong(), sentOf(row)); });
  return found;
}

Outcome send(const db::Store &store, const Request &request) {
  if (request.stage < 1 || request.stage > stages)
    return {texts::letterBadStage, {}};
  if (request.apartments.isEmpty())
    return {texts::letterNoneChosen, {}};
  if (const QString refusal = checkBody(request.body); !refusal.isEmpty())
    return {refusal, {}};
  if (request.stage == 2 && request.deadline < request.sent)
    return {texts::letterPastDeadline.arg(dates::toShort(request.deadline)), {}};
  Outcome outcome;
  try {
    const Collection account = collection(store);
    for (const statements::Sheet &sheet : statements::sheets(store, request.sent, request.apartments)) {
      if (sheet.balance().agorot() <= 0)
        return {texts::letterNoDebt.arg(sheet.apartment).arg(dates::toShort(request.sent)), {}};
      Letter letter{sheet.apartment, {}, {}, {}, request.stage, request.deadline, {}, sheet,
                    sent(store, sheet.apartment)};
      // The owner's, when the dues are billed to the owner or the debt holds a levy or the opening debt.
      const bool owners = account.duesToOwner ||
                          std::ranges::any_of(sheet.unpaid, [](const statements::Line &line) { return !line.dues; });
      // An apartment without a resident still has its owner.
      store.each(QStringLiteral("SELECT coalesce(n.family, ''), coalesce(nullif(n.phone1, ''), n.phone2, ''), "
                                "coalesce(n.email, ''), coalesce(o.name, ''), coalesce(o.phone, ''), "
                                "coalesce(o.email, '') FROM (SELECT CAST(? AS INTEGER) AS apartment) a "
                                "LEFT JOIN neighbors n ON n.apartment = a.apartment "
                                "LEFT JOIN owners o ON o.apartment = a.apartment"),
                 {sheet.apartment}, [&](const QSqlQuery &row) {
                   const int from = owners && !row.value(3).toString().isEmpty() ? 3 : 0;
                   letter.person = row.value(from).toString();
                   letter.phone = row.value(from + 1).toString();
                   letter.email = row.value(from + 2).toString();
                 });
      if (letter.person.isEmpty())
        letter.person = texts::emptyApartment;
      QStringList before;
      for (const Sent &s : letter.before)
        before << texts::letterSent.arg(dates::toShort(s.sent), stageName(s.stage));
      letter.body = QString(request.body)
                        .replace(QStringLiteral("<שם>"), letter.person)
                        .replace(QStringLiteral("<דירה>"), QString::number(sheet.apartment))
                        .replace(QStringLiteral("<חוב>"), sheet.balance().toPaper())
                        .replace(QStringLiteral("<ליום>"), dates::toShort(request.sent))
                        .replace(QStringLiteral("<מועד>"), dates::toShort(request.deadline))
                        .replace(QStringLiteral("<תשלום>"), howToPay(account, sheet.apartment))
                        .replace(QStringLiteral("<מכתבים>"),
                                 before.isEmpty() ? texts::noLettersYet : before.join(QStringLiteral(", ")));
      outcome.letters << letter;
    }
    db::Transaction transaction(store);
    for (const Letter &letter : outcome.letters)
      store.exec(QStringLiteral("INSERT INTO reminders (apartment, person, stage, amount, sent, deadline) "
                                "VALUES (?, ?, ?, ?, ?, ?)"),
                 {letter.apartment, letter.person, letter.stage, letter.sheet.balance().agorot(),
                  dates::toIso(request.sent), request.stage == 2 ? dates::toIso(request.deadline) : QVariant()});
    transaction.commit();
  } catch (const db::Error &e) {
    return {db::saveFailure(e), {}};
  }
  return outcome;
}

listing::Printout printout(const QList<Letter> &letters) {
  listing::Printout paper;
  const QStringList headers = texts::letterDebtHeaders.split(QLatin1Char('|'));
  const QStringList sentHeaders = texts::lettersSentHeaders.split(QLatin1Char('|'));
  for (const Letter &letter : letters) {
    const QString asAt = dates::toShort(letter.sheet.asAt);
    listing::Layout layout =
        listing::section(stageName(letter.stage), {{headers[0], 2}, {headers[1], 5}, {headers[2], 2}});
    layout.intro = letter.body.split(QLatin1Char('\n'));
    layout.introStyle.font = reportFont(QStringLiteral("Arial"), 12);
    layout.introAlignment = Qt::AlignRight;
    layout.footer << texts::letterTotal.arg(asAt, letter.sheet.balance().toPaper());
    QList<QStringList> rows;
    for (const statements::Line &line : letter.sheet.unpaid)
      rows << QStringList{dates::toShort(line.date), line.text, line.charge.toPaper()};
    listing::addPage(paper, listing::fromRows(layout, rows));
    if (letter.stage == 3 && !letter.before.isEmpty()) {
      QList<QStringList> sentRows;
      for (const Sent &s : letter.before)
        sentRows << QStringList{dates::toShort(s.sent), stageName(s.stage), s.person, s.amount.toPaper()};
      paper.sections.push_back(listing::fromRows(
          listing::section(texts::lettersSentTitle,
                           {{sentHeaders[0], 2}, {sentHeaders[1], 4}, {sentHeaders[2], 3}, {sentHeaders[3], 2}}),
          sentRows));
    }
  }
  return paper;
}

QString shortText(const Letter &letter) {
  return texts::letterShort.arg(letter.person)
      .arg(letter.apartment)
      .arg(dates::toShort(letter.sheet.asAt), letter.sheet.balance().toPaper(),
           stageName(letter.stage));
}

QUrl mailLink(const Letter &letter) {
  if (letter.email.isEmpty())
    return {};
  QUrl link(QStringLiteral("mailto:") + letter.email);
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("subject"), texts::mailSubject.arg(letter.apartment));
  query.addQueryItem(QStringLiteral("body"), shortText(letter));
  link.setQuery(query);
  return link;
}

QUrl whatsappLink(const Letter &letter) {
  QString digits = letter.phone;
  digits.remove(QRegularExpression(QStringLiteral("[^0-9]")));
  if (digits.isEmpty())
    return {};
  if (digits.startsWith(QLatin1Char('0'))) // a number within Israel
    digits = QStringLiteral("972") + digits.mid(1);
  QUrl link(QStringLiteral("https://wa.me/") + digits);
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("text"), shortText(letter));
  link.setQuery(query);
  return link;
}

QList<qint64> owingMonths(const db::Store &store, const QDate &asAt, int months) {
  const ledger::Dues dues = ledger::Dues::read(store);
  // Whose latest payment by the date was by standing order.
  QHash<qint64, bool> standing;
  store.each(QStringLiteral("SELECT apartment, payment FROM incoming WHERE cancelled IS NULL AND inputdate <= ? "
                            "ORDER BY inputdate, reciept"),
             {dates::toIso(asAt)}, [&](const QSqlQuery &row) {
               standing.insert(row.value(0).toLongLong(), row.value(1).toString() == texts::standingOrder);
             });
  QList<qint64> chosen;
  for (const owing::Account &account : owing::accounts(store, asAt)) {
    const qint64 month = dues.inForce(account.apartment, ledger::monthIndex(asAt)).agorot();
    if (account.total().agorot() > month * months && !(standing.value(account.apartment) && account.arrears.agorot() == 0))
      chosen << account.apartment;
  }
  return chosen;
}

} // namespace domiva::reminders
