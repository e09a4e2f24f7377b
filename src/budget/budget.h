#pragma once
#include "printing/listwriter.h"
#include "store/database.h"
#include "text/money.h"
// The year's budget the meeting approves, by expense type and by what
// income is for, set against what was spent and collected.
#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>
#include <optional>

namespace domiva::budget {

enum class Kind { Expense, Income };

struct Line {
  Kind kind;
  QString name;
  Money budget, actual; // actual: from 1 January to the day asked, cancelled rows left out
};

// The year's lines, expenses then income, each by name: every budgeted
// name and every other with money from 1 January to `through`. Throws db::Error.
QList<Line> lines(const db::Store &store, int year, const QDate &through);
// The lines as the window shows them: kind, name, budget, actual and the
// difference (actual less budget), money in agorot; and their headers.
QList<QVariantList> rows(const QList<Line> &lines);
QStringList headers();
inline constexpr int moneyColumns[] = {2, 3, 4};

// Sets the year's budget for `name` ("הוצאה" or "הכנסה" as `kind`); an
// amount of 0 removes it. An empty text, or the refusal and nothing written.
QString set(const db::Store &store, int year, const QString &kind, const QString &name, const QString &amount);

// The monthly dues per apartment that cover the year's budgeted expenses
// less its budgeted income other than the dues, rounded up to a whole
// shekel; none when there is nothing to cover. Throws db::Error.
std::optional<Money> coveringDues(const db::Store &store, int year);

// "תקציב מול ביצוע" of the year through `through`, each kind with its sums. Throws db::Error.
listing::Printout printout(const db::Store &store, int year, const QDate &through);

} // namespace domiva::budget
