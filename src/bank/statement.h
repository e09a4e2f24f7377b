#pragma once
// A bank's statement read from the file the bank gave: its lines with their
// dates and amounts to the agora, the bank it came from and the account.
// The layouts of the Israeli banks are known by their headers, wherever in
// the file those stand; nothing is guessed from a column's place.
#include "text/money.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace domiva::bank {

struct Line {
  int row = 0; // the file's row it was read from, 1 the first
  QDate date, valueDate;
  QString description, reference, details, note;
  Money amount; // a credit positive, a debit negative
  std::optional<Money> balance;
};

struct Statement {
  QString bank, account;
  QList<Line> lines;
  QString failure; // why nothing was read: then no lines
  // A table of no layout known: its first rows, for the user to name its columns.
  QList<QStringList> head = {};
};

// The columns the user named for a bank whose layout the program does not
// know, each by the header the file gives it (empty: the file has none);
// the amount in one signed column, or split into debit and credit.
struct Columns {
  QString bank, date, description, reference, debit, credit, amount, balance;
};

// The largest statement file read: years of a large building's account are
// far below it.
inline constexpr qint64 maxFileBytes = 20 * 1024 * 1024;

// Read by the banks' layouts, and by those the user named.
Statement read(const QByteArray &bytes, const QList<Columns> &named = {});
Statement readFile(const QString &path, const QList<Columns> &named = {});
// How the headers are compared: one kind of quote, single spaces.
QString headerText(QString cell);
// The first rows a file of no known layout shows the user.
inline constexpr int headRows = 30;

// Each line's identity, the same whichever file it is read from: its
// account, dates, amount, reference and words; a second line alike in all
// of them within one file is told from the first by its count.
QStringList identities(const Statement &statement);

// A cell as a date: DD/MM/YY, DD/MM/YYYY, DD.MM.YYYY, DDMMYY, or a
// spreadsheet's day number; and as an amount: "1,234.56", signed or
// zero-padded ("+000001000.00"), a spreadsheet's number to the agora.
std::optional<QDate> cellDate(const QString &cell);
std::optional<Money> cellAmount(const QString &cell);

} // namespace domiva::bank
