#include "data/journal.h"

#include "data/database.h"
#include "data/dates.h"

namespace domiva::journal {

void add(const QString &forText, Money amount, const QDate &date, const QString &type) {
  db::exec(QStringLiteral("INSERT INTO trans (\"for\", amount, inputdate, \"Type\") VALUES (?, ?, ?, ?)"),
           {forText, amount.agorot(), dates::toIso(date), type});
}

} // namespace domiva::journal
