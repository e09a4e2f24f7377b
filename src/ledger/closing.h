#pragma once
#include "store/database.h"

#include <QDate>
#include <QDateTime>
#include <optional>

// Periods closed once the general meeting approved their accounts: no
// payment, expense or charge dated in one changes while it stays closed.
// The books refuse such a write themselves, whatever makes it.
namespace domiva::closing {

struct Closing {
  QDate through, approved; // the period's last day, and the meeting's
  QDateTime closedAt, reopenedAt;
  QString reopenReason;
};

// Every closing, the latest first, the reopened ones with their reason.
QList<Closing> all(const db::Store &store);
// The closing in force: the latest not reopened.
std::optional<Closing> inForce(const db::Store &store);
// Closes the books through `through`, as approved on `approved`; a
// refusal in Hebrew, or empty.
QString close(const db::Store &store, const QDate &through, const QDate &approved);
// Reopens the closing in force, for `reason`; a refusal, or empty.
QString reopen(const db::Store &store, const QString &reason);

QStringList headers();
QList<QVariantList> rows(const QList<Closing> &closings);

} // namespace domiva::closing
