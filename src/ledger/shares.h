#pragma once
#include "store/database.h"
// Costs shared by size: each apartment's share of the building (its floor
// area in square metres or its registered share, kept in hundredths), and
// a whole split by those shares to the agora.
#include <QList>
#include <QString>
#include <map>
#include <optional>

namespace domiva::shares {

// `whole` agorot split in proportion to `weights` (each above 0): each part
// rounded down, then the agorot left over one each to the parts with the
// largest remainders, a tie to the earlier. The parts sum to `whole`
// exactly; a negative whole is split as its opposite, negated.
QList<qint64> split(qint64 whole, const QList<qint64> &weights);

// `whole` split over `apartments`, in their order, by their shares: each
// one's share and part; none, with `refusal` naming those without a share,
// when any has none. Throws db::Error.
struct Split {
  QList<qint64> shares, parts;
};
std::optional<Split> byShares(const db::Store &store, const QList<qint64> &apartments, qint64 whole,
                              QString *refusal);

// Every apartment's share, in hundredths, by apartment. Throws db::Error.
std::map<qint64, qint64> read(const db::Store &store);
// Sets an apartment's share ("85.5"), or with an empty text clears it. An
// empty text, or the refusal and nothing written.
QString set(const db::Store &store, const QString &apartment, const QString &share);
// A share as typed back: "85.5", "12".
QString toText(qint64 hundredths);

} // namespace domiva::shares
