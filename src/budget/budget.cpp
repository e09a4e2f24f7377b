#include "budget/budget.h"

#include "printing/printouts.h"
#include "printing/reportstyle.h"
#include "reports/balance.h"
#include "store/building.h"
#include "text/bylawstexts.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/texts.h"

#include <QSqlQuery>

#include <map>

namespace domiva::budget {
namespace {
QString kindText(Kind kind) { return kind == Kind::Expense ? texts::expense : texts::income; }
QString kindKey(Kind kind) { return kind == Kind::Expense ? QStringLiteral("expense") : QStringLiteral("income"); }
} // namespace

QList<Line> lines(const db::Store &store, int year, const QDate &through) {
  std::map<std::pair<Kind, QString>, Line> found;
  const auto line = [&](Kind kind, const QString &name) -> Line & {
    Line &at = found[{kind, name}];
    at.kind = kind;
    at.name = name;
    return at;
  };
  store.each(QStringLiteral("SELECT kind, name, amount FROM budgets WHERE year = ?"), {year},
             [&](const QSqlQuery &rows) {
               const Kind kind = rows.value(0).toString() == kindKey(Kind::Expense) ? Kind::Expense : Kind::Income;
               line(kind, rows.value(1).toString()).budget = Money::fromAgorot(rows.value(2).toLongLong());
             });
  const QVariantList period{dates::toIso(QDate(year, 1, 1)), dates::toIso(std::min(through, QDate(year, 12, 31)))};
  for (const Kind kind : {Kind::Expense, Kind::Income})
    store.each(kind == Kind::Expense ? balance::expenseQuery() : balance::incomeQuery(), period,
               [&](const QSqlQuery &rows) {
                 line(kind, rows.value(0).toString()).actual = Money::fromAgorot(rows.value(1).toLongLong());
               });
  QList<Line> all;
  for (const auto &[key, value] : found)
    all << value;
  return all;
}

QList<QVariantList> rows(const QList<Line> &lines) {
  QList<QVariantList> shown;
  for (const Line &line : lines)
    shown << QVariantList{kindText(line.kind), line.name, line.budget.agorot(), line.actual.agorot(),
                          (line.actual - line.budget).agorot()};
  return shown;
}

QStringList headers() {
  return {QStringLiteral("סוג"), QStringLiteral("סעיף"), QStringLiteral("תקציב"), QStringLiteral("ביצוע"),
          QStringLiteral("הפרש")};
}

QString set(const db::Store &store, int year, const QString &kind, const QString &nameText, const QString &amountText) {
  if (kind != texts::expense && kind != texts::income)
    return texts::budgetKindRequired;
  const QString name = nameText.trimmed();
  if (name.isEmpty())
    return texts::budgetNameRequired;
  if (const QString refusal = input::checkTexts({{texts::budgetNameField, name}}); !refusal.isEmpty())
    return refusal;
  QString refusal;
  const auto amount = input::nonNegative(amountText, texts::badAmount, texts::negativeBudget, &refusal);
  if (!amount)
    return refusal;
  const QString key = kindKey(kind == texts::expense ? Kind::Expense : Kind::Income);
  try {
    db::Transaction transaction(store);
    store.exec(QStringLiteral("DELETE FROM budgets WHERE year = ? AND kind = ? AND name = ?"), {year, key, name});
    if (amount->agorot() > 0)
      store.exec(QStringLiteral("INSERT INTO budgets (year, kind, name, amount) VALUES (?, ?, ?, ?)"),
                 {year, key, name, amount->agorot()});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

std::optional<Money> coveringDues(const db::Store &store, int year) {
  const QSqlQuery sums = store.one(
      QStringLiteral("SELECT coalesce(sum(CASE WHEN kind = 'expense' THEN amount ELSE -amount END), 0) FROM budgets "
                     "WHERE year = ? AND NOT (kind = 'income' AND name = ?)"),
      {year, texts::houseCommittee});
  const qint64 need = sums.value(0).toLongLong(), months = building(store).apartments * 12;
  if (need <= 0 || months <= 0)
    return std::nullopt;
  const qint64 shekel = 100, perMonth = (need + months * shekel - 1) / (months * shekel) * shekel;
  return Money::fromAgorot(perMonth);
}

listing::Printout printout(const db::Store &store, int year, const QDate &through) {
  listing::Layout layout;
  layout.title = texts::budgetTitle.arg(year);
  const QDate to = std::min(through, QDate(year, 12, 31));
  layout.intro << texts::budgetPeriod.arg(dates::toShort(QDate(year, 1, 1)), dates::toShort(to));
  const QStringList names = headers();
  for (int c = 0; c < names.size(); ++c)
    layout.columns << listing::Column{names[c], c == 1 ? 3 : 2};
  QList<QStringList> printed;
  Money sums[2][2]; // by kind: budget, actual
  for (const Line &line : lines(store, year, through)) {
    printed << QStringList{kindText(line.kind), line.name, line.budget.toPaper(), line.actual.toPaper(),
                           (line.actual - line.budget).toPaper()};
    sums[int(line.kind)][0] += line.budget;
    sums[int(line.kind)][1] += line.actual;
  }
  for (const Kind kind : {Kind::Expense, Kind::Income}) {
    const Money *sum = sums[int(kind)];
    printed << QStringList{kind == Kind::Expense ? texts::expenseSubtotal : texts::incomeSubtotal, QString(),
                           sum[0].toPaper(), sum[1].toPaper(), (sum[1] - sum[0]).toPaper()};
  }
  const Money budgeted = sums[1][0] - sums[0][0], actual = sums[1][1] - sums[0][1];
  printed << QStringList{texts::budgetResult, QString(), budgeted.toPaper(), actual.toPaper(),
                         (actual - budgeted).toPaper()};
  return listing::fromRows(layout, printed);
}

} // namespace domiva::budget
