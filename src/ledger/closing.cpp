#include "ledger/closing.h"

#include "store/building.h"
#include "text/bidi.h"
#include "text/bylawstexts.h"
#include "text/dates.h"
#include "text/texts.h"
#include "text/today.h"

#include <QSqlQuery>

namespace domiva::closing {

QList<Closing> all(const db::Store &store) {
  QList<Closing> closings;
  store.each(QStringLiteral("SELECT through, approved, closed_at, reopened_at, reopen_reason FROM closings "
                            "ORDER BY id DESC"),
             {}, [&](const QSqlQuery &q) {
               closings << Closing{dates::fromIso(q.value(0).toString()), dates::fromIso(q.value(1).toString()),
                                   dates::momentFromIso(q.value(2).toString()),
                                   dates::momentFromIso(q.value(3).toString()), q.value(4).toString()};
             });
  return closings;
}

std::optional<Closing> inForce(const db::Store &store) {
  std::optional<Closing> found;
  for (const Closing &closing : all(store))
    if (closing.reopenedAt.isNull() && (!found || closing.through > found->through))
      found = closing;
  return found;
}

QString close(const db::Store &store, const QDate &through, const QDate &approved) {
  if (through >= today())
    return texts::closeInFuture;
  if (approved <= through)
    return texts::approvedBeforeEnd;
  if (approved > today())
    return texts::approvedInFuture;
  try {
    if (const QDate start = building(store).openDate; through < start)
      return texts::closeBeforeBooks.arg(dates::toShort(start));
    if (const auto closed = inForce(store); closed && through <= closed->through)
      return texts::alreadyClosed.arg(dates::toShort(closed->through));
    db::Transaction transaction(store);
    store.exec(QStringLiteral("INSERT INTO closings (through, approved, closed_at) VALUES (?, ?, ?)"),
               {dates::toIso(through), dates::toIso(approved), dates::momentToIso(now())});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QString reopen(const db::Store &store, const QString &reason) {
  if (reason.trimmed().isEmpty())
    return texts::reopenReasonRequired;
  try {
    const auto closed = inForce(store);
    if (!closed)
      return texts::nothingClosed;
    db::Transaction transaction(store);
    store.exec(QStringLiteral("UPDATE closings SET reopened_at = ?, reopen_reason = ? WHERE through = ? AND "
                              "reopened_at IS NULL"),
               {dates::momentToIso(now()), reason.trimmed(), dates::toIso(closed->through)});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QStringList headers() {
  return {QStringLiteral("עד תאריך"), QStringLiteral("אושר באסיפה"), QStringLiteral("נסגר"),
          QStringLiteral("נפתח מחדש"), QStringLiteral("סיבת הפתיחה")};
}

QList<QVariantList> rows(const QList<Closing> &closings) {
  QList<QVariantList> shown;
  const auto moment = [](const QDateTime &at) {
    return at.isNull() ? QString() : leftToRight(at.toString(dates::shortFormat() + QStringLiteral(" HH:mm")));
  };
  for (const Closing &closing : closings)
    shown << QVariantList{dates::toShort(closing.through), dates::toShort(closing.approved), moment(closing.closedAt),
                         moment(closing.reopenedAt), closing.reopenReason};
  return shown;
}

} // namespace domiva::closing
