#include "ledger/shares.h"

#include "residents/residents.h"
#include "text/money.h"
#include "text/texts.h"

#include <QSqlQuery>

#include <algorithm>
#include <numeric>

namespace domiva::shares {
namespace {
// A whole times a share can pass 64 bits before it is divided.
__extension__ using Wide = __int128;
} // namespace

QList<qint64> split(qint64 whole, const QList<qint64> &weights) {
  if (whole < 0) {
    QList<qint64> parts = split(-whole, weights);
    for (qint64 &part : parts)
      part = -part;
    return parts;
  }
  const Wide sum = std::accumulate(weights.begin(), weights.end(), Wide(0));
  QList<qint64> parts;
  QList<std::pair<qint64, int>> remainders; // the remainder, then the place
  qint64 given = 0;
  for (int i = 0; i < weights.size(); ++i) {
    const Wide product = Wide(whole) * weights[i];
    parts << qint64(product / sum);
    remainders << std::pair{qint64(product % sum), i};
    given += parts.last();
  }
  std::stable_sort(remainders.begin(), remainders.end(),
                   [](const auto &a, const auto &b) { return a.first > b.first; });
  for (qint64 left = whole - given, i = 0; left > 0; --left, ++i)
    ++parts[remainders[i].second];
  return parts;
}

std::optional<Split> byShares(const db::Store &store, const QList<qint64> &apartments, qint64 whole,
                              QString *refusal) {
  const std::map<qint64, qint64> known = read(store);
  Split found;
  QStringList missing;
  for (const qint64 apartment : apartments) {
    const auto share = known.find(apartment);
    found.shares << (share == known.end() ? 0 : share->second);
    if (share == known.end())
      missing << QString::number(apartment);
  }
  if (!missing.isEmpty() || apartments.isEmpty()) {
    *refusal = texts::sharesMissing.arg(missing.join(QStringLiteral(", ")));
    return std::nullopt;
  }
  found.parts = split(whole, found.shares);
  return found;
}

std::map<qint64, qint64> read(const db::Store &store) {
  std::map<qint64, qint64> found;
  store.each(QStringLiteral("SELECT apartment, share FROM apartment_shares"), {},
             [&](const QSqlQuery &rows) { found[rows.value(0).toLongLong()] = rows.value(1).toLongLong(); });
  return found;
}

QString set(const db::Store &store, const QString &apartmentText, const QString &shareText) {
  QString refusal;
  const auto apartment = residents::apartmentOf(store, apartmentText, &refusal);
  if (!apartment)
    return refusal;
  // A share is written as an amount is: at most two decimals, above 0.
  const bool clear = shareText.trimmed().isEmpty();
  const std::optional<Money> typed = clear ? Money() : Money::parse(shareText);
  const qint64 share = typed ? typed->agorot() : -1;
  if (!clear && (share <= 0 || share > 100000000))
    return texts::badShare;
  try {
    db::Transaction transaction(store);
    store.exec(QStringLiteral("DELETE FROM apartment_shares WHERE apartment = ?"), {*apartment});
    if (!clear)
      store.exec(QStringLiteral("INSERT INTO apartment_shares (apartment, share) VALUES (?, ?)"), {*apartment, share});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QString toText(qint64 hundredths) { return Money::fromAgorot(hundredths).toString(); }

} // namespace domiva::shares
