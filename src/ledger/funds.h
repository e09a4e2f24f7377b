#pragma once
#include "printing/listwriter.h"
#include "store/database.h"
#include "text/money.h"

#include <QDate>
#include <optional>

// Money kept apart: a renovation fund, a deposit. A levy raises money for
// its fund and an expense is paid from one; what names none is the running
// account's, the building's opening balance with it. A transfer moves money
// between two in one entry. The funds' closings sum to the books' cash.
namespace domiva::funds {

struct Fund {
  qint64 id = 0; // 0: the running account
  QString name, kept;
  QDate matures; // a deposit's; null for none
};

// The running account, then each fund in the order it was added.
QList<Fund> all(const db::Store &store);
// The fund of that name (the running account's too); nothing, with
// `refusal` set, for a name no fund has.
std::optional<qint64> idOf(const db::Store &store, const QString &name, QString *refusal);
// Adds a fund: its name, where its money is kept, a deposit's maturity
// typed whole or left empty. A refusal in Hebrew, or empty.
QString add(const db::Store &store, const QString &name, const QString &kept, const QString &matures);
// Moves `amount` from one fund to another on `date`: one entry.
QString transfer(const db::Store &store, const QDate &date, const QString &from, const QString &to,
                 const QString &amount, const QString &detail);

// A fund over a period: its opening (by the books' opening rule), what
// came in and went out, what was moved in less moved out, its closing.
struct Balance {
  Fund fund;
  Money opening, in, out, moved;
  Money closing() const { return opening + in - out + moved; }
};
// Throws db::Error when it cannot be read.
QList<Balance> balances(const db::Store &store, const QDate &from, const QDate &to);
// Whether the books keep any fund beside the running account.
bool any(const db::Store &store);

QStringList headers();
QList<QVariantList> rows(const QList<Balance> &balances); // the sums last
inline constexpr int moneyColumns[] = {2, 3, 4, 5, 6};
// "קרנות": the period's funds, each where it is kept; their sum the cash.
listing::Printout printout(const db::Store &store, const QDate &from, const QDate &to);

} // namespace domiva::funds
