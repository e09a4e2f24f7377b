#include "bank/statement.h"

#include "bank/sheet.h"
#include "text/banktexts.h"
#include "text/texts.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <cmath>
#include <map>

namespace domiva::bank {
namespace {

enum class Role { Date, ValueDate, Description, Reference, Debit, Credit, Signed, Balance, Details, Note, Account };

// What each header the banks write means; one a line.
const std::map<QString, Role> &roles() {
  static const std::map<QString, Role> known{{"תאריך", Role::Date},
                                             {"תאריך ביצוע", Role::Date},
                                             {"תאריך תמצית", Role::Date},
                                             {"תאריך ערך", Role::ValueDate},
                                             {"יום ערך", Role::ValueDate},
                                             {"תיאור", Role::Description},
                                             {"תאור", Role::Description},
                                             {"הפעולה", Role::Description},
                                             {"תיאור התנועה", Role::Description},
                                             {"סוג תנועה", Role::Description},
                                             {"תיאור פעולה", Role::Description},
                                             {"תאור פעולה", Role::Description},
                                             {"אסמכתא", Role::Reference},
                                             {"בחובה", Role::Debit},
                                             {"חובה", Role::Debit},
                                             {"חובה(₪)", Role::Debit},
                                             {"בזכות", Role::Credit},
                                             {"זכות", Role::Credit},
                                             {"זכות(₪)", Role::Credit},
                                             {"₪ זכות/חובה", Role::Signed},
                                             {"סכום", Role::Signed},
                                             {"היתרה בש\"ח", Role::Balance},
                                             {"יתרה בש\"ח", Role::Balance},
                                             {"₪ יתרה", Role::Balance},
                                             {"יתרה", Role::Balance},
                                             {"תאור מורחב", Role::Details},
                                             {"פרטים", Role::Details},
                                             {"הערה", Role::Note},
                                             {"חשבון", Role::Account}};
  return known;
}

// The banks' layouts by their headers, in any order and with other columns
// beside them; the fuller of two that both match is the one.
struct Layout {
  QString bank;
  QStringList headers;
  std::map<QString, Role> own = {}; // a named layout's headers, which the banks' words don't cover
};
const QList<Layout> &layouts() {
  static const QList<Layout> known = [] {
    QList<Layout> list;
    for (const QString &line :
         QStringLiteral(R"(לאומי|תאריך,תאריך ערך,תיאור,אסמכתא,בחובה,בזכות,היתרה בש"ח,תאור מורחב,הערה
לאומי|תאריך,תיאור,אסמכתא,בחובה,בזכות,היתרה בש"ח
לאומי|אסמכתא,תאריך,תיאור,סכום,יתרה,קוד,חשבון
הפועלים|תאריך,קוד פעולה,הפעולה,פרטים,אסמכתא,צרור,חובה,זכות,יתרה בש"ח,הערה
הפועלים|תאריך,הפעולה,פרטים,אסמכתא,חובה,זכות,יתרה
דיסקונט|תאריך,יום ערך,תיאור התנועה,₪ זכות/חובה,₪ יתרה
הבינלאומי|תאריך ערך,זכות,חובה,תאור,אסמכתא,תאריך ביצוע
ירושלים|תאריך,תיאור,אסמכתא,חובה,זכות,יתרה
מזרחי טפחות|תאריך,סוג תנועה,חובה,זכות
יהב|תאריך ערך,תיאור פעולה,זכות(₪),חובה(₪)
בנק הדואר|תאריך תמצית,תאור פעולה,זכות,חובה)")
             .split(QLatin1Char('\n')))
      list.append({line.section(QLatin1Char('|'), 0, 0), line.section(QLatin1Char('|'), 1).split(QLatin1Char(','))});
    std::stable_sort(list.begin(), list.end(),
                     [](const Layout &a, const Layout &b) { return a.headers.size() > b.headers.size(); });
    return list;
  }();
  return known;
}

// Leumi's old text export: no header, a line a transaction, its fields
// reference, DDMMYY, the description (in code page 862, visual order), the
// amount and balance signed and zero-padded, a code and the account.
bool isDosExport(const QByteArray &bytes) {
  static const QRegularExpression line(
      QStringLiteral("^\\s*\\d+,\\d{6},[^,]*,[+-]\\d+\\.\\d\\d,[+-]\\d+\\.\\d\\d,\\d*,\\d*\\s*$"));
  bool any = false;
  for (const QByteArray &text : bytes.split('\n')) {
    if (text.trimmed().isEmpty())
      continue;
    if (!line.match(QString::fromLatin1(text)).hasMatch())
      return false;
    any = true;
  }
  return any;
}

Rows dosRows(const QByteArray &bytes) {
  Rows rows{std::find_if(layouts().begin(), layouts().end(), [](const Layout &layout) {
              return layout.headers.contains(QStringLiteral("קוד")); // its own headers, as the file has none
            })->headers};
  for (const QString &text : decode(bytes, true).split(QLatin1Char('\n'))) {
    if (text.trimmed().isEmpty())
      continue;
    QStringList cells = text.trimmed().split(QLatin1Char(','));
    cells[2] = visualToLogical(cells[2]).simplified();
    rows << cells;
  }
  return rows;
}

QString accountAbove(const Rows &rows, int header) {
  static const QRegularExpression account(QStringLiteral("חשבון\\D{0,20}(\\d[\\d\\-/ ]{3,20}\\d)"));
  for (int r = 0; r < header; ++r)
    if (const auto match = account.match(rows[r].join(QLatin1Char(' '))); match.hasMatch())
      return match.captured(1).simplified();
  return {};
}

Statement refused(const QString &why) { return {{}, {}, {}, texts::bankRefused.arg(why)}; }

QString bankNames() {
  QStringList names;
  for (const Layout &layout : layouts())
    if (!names.contains(layout.bank))
      names << layout.bank;
  return names.join(QStringLiteral(", "));
}

// The banks' layouts and those the user named, the fuller first (the
// banks' first of two alike).
QList<Layout> layoutsWith(const QList<Columns> &named) {
  QList<Layout> list = layouts();
  for (const Columns &columns : named) {
    Layout layout{columns.bank, {}};
    for (const auto &[header, role] : {std::pair{columns.date, Role::Date},
                                       {columns.description, Role::Description},
                                       {columns.reference, Role::Reference},
                                       {columns.debit, Role::Debit},
                                       {columns.credit, Role::Credit},
                                       {columns.amount, Role::Signed},
                                       {columns.balance, Role::Balance}})
      if (!header.isEmpty()) {
        layout.headers << headerText(header);
        layout.own.emplace(headerText(header), role);
      }
    list << layout;
  }
  std::stable_sort(list.begin(), list.end(),
                   [](const Layout &a, const Layout &b) { return a.headers.size() > b.headers.size(); });
  return list;
}

Statement fromRows(const Rows &rows, const QList<Columns> &named) {
  // The header row: the first that holds a whole layout's headers.
  const QList<Layout> candidates = layoutsWith(named);
  for (int r = 0; r < rows.size(); ++r) {
    QStringList cells;
    for (const QString &cell : rows[r])
      cells << headerText(cell);
    const auto layout = std::find_if(candidates.begin(), candidates.end(), [&](const Layout &candidate) {
      return std::all_of(candidate.headers.begin(), candidate.headers.end(),
                         [&](const QString &header) { return cells.contains(header); });
    });
    if (layout == candidates.end())
      continue;
    std::map<Role, qsizetype> column;
    for (const QString &header : layout->headers) {
      const auto own = layout->own.find(header);
      if (own != layout->own.end())
        column.emplace(own->second, cells.indexOf(header));
      else if (const auto role = roles().find(header); role != roles().end())
        column.emplace(role->second, cells.indexOf(header));
    }
    if (!column.count(Role::Date)) { // a value date is the only date some banks give
      column[Role::Date] = column[Role::ValueDate];
      column.erase(Role::ValueDate);
    }
    const auto cell = [&column](const QStringList &row, Role role) {
      const auto at = column.find(role);
      return at == column.end() ? QString() : row.value(at->second);
    };
    Statement statement{layout->bank, accountAbove(rows, r), {}, {}};
    for (int at = r + 1; at < rows.size(); ++at) {
      const QStringList &row = rows[at];
      const int number = at + 1;
      const QString date = cell(row, Role::Date), debit = cell(row, Role::Debit), credit = cell(row, Role::Credit),
                    signedAmount = cell(row, Role::Signed);
      const auto day = cellDate(date);
      if (!day) {
        // A line between the transactions (a total, a note) has no date; a
        // date that can't be read beside an amount is a line lost, and refused.
        if (date.isEmpty() || (debit + credit + signedAmount).isEmpty() || !cellAmount(debit + credit + signedAmount))
          continue;
        return refused(texts::bankBadCell.arg(number).arg(texts::bankDateWord, date));
      }
      Line line{number,
                *day,
                {},
                cell(row, Role::Description),
                cell(row, Role::Reference),
                cell(row, Role::Details),
                cell(row, Role::Note),
                {},
                {}};
      if (const QString value = cell(row, Role::ValueDate); !value.isEmpty()) {
        const auto valueDay = cellDate(value);
        if (!valueDay)
          return refused(texts::bankBadCell.arg(number).arg(texts::bankDateWord, value));
        line.valueDate = *valueDay;
      }
      std::optional<Money> amount;
      if (column.count(Role::Signed)) {
        amount = cellAmount(signedAmount);
        if (!amount)
          return refused(texts::bankBadCell.arg(number).arg(texts::bankAmountWord, signedAmount));
      } else {
        const auto out = debit.isEmpty() ? Money() : cellAmount(debit);
        const auto in = credit.isEmpty() ? Money() : cellAmount(credit);
        if (!out || !in)
          return refused(texts::bankBadCell.arg(number).arg(texts::bankAmountWord, out ? credit : debit));
        if (out->agorot() && in->agorot())
          return refused(texts::bankTwoSides.arg(number));
        amount = Money::fromAgorot(std::abs(in->agorot()) - std::abs(out->agorot()));
      }
      if (!amount->agorot())
        continue; // nothing moved
      line.amount = *amount;
      if (const QString balance = cell(row, Role::Balance); !balance.isEmpty()) {
        line.balance = cellAmount(balance);
        if (!line.balance)
          return refused(texts::bankBadCell.arg(number).arg(texts::bankBalanceWord, balance));
      }
      if (statement.account.isEmpty())
        statement.account = cell(row, Role::Account);
      statement.lines << line;
    }
    if (statement.lines.isEmpty())
      return refused(texts::bankNoLines.arg(layout->bank));
    return statement;
  }
  // A table of some columns (a row with three cells or more) may be a
  // statement of a bank not known: its first rows, to name its columns.
  Statement unknown = refused(texts::bankNoHeader.arg(bankNames()));
  const Rows head = rows.mid(0, headRows);
  if (std::any_of(head.begin(), head.end(), [](const QStringList &row) {
        return std::count_if(row.begin(), row.end(), [](const QString &cell) { return !cell.trimmed().isEmpty(); }) >=
               3;
      }))
    unknown.head = head;
  return unknown;
}

} // namespace

QString headerText(QString cell) {
  cell.replace(QStringLiteral("''"), QStringLiteral("\"")).replace(QChar(0x05F4), QLatin1Char('"'));
  return cell.simplified();
}

std::optional<QDate> cellDate(const QString &cell) {
  static const QRegularExpression apart(QStringLiteral("^(\\d{1,2})[/.\\-](\\d{1,2})[/.\\-](\\d{4}|\\d{2})$"));
  static const QRegularExpression digits(QStringLiteral("^(\\d{2})(\\d{2})(\\d{2})$"));
  static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[T ][\\d:.]*)?$"));
  static const QRegularExpression serial(QStringLiteral("^(\\d{5})(?:\\.\\d+)?$"));
  QDate date;
  if (const auto m = apart.match(cell); m.hasMatch())
    date = QDate(m.captured(3).toInt() + (m.captured(3).size() == 2 ? 2000 : 0), m.captured(2).toInt(),
                 m.captured(1).toInt());
  else if (const auto m = digits.match(cell); m.hasMatch())
    date = QDate(2000 + m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
  else if (const auto m = iso.match(cell); m.hasMatch())
    date = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
  else if (const auto m = serial.match(cell); m.hasMatch())
    date = QDate(1899, 12, 30).addDays(m.captured(1).toInt()); // the spreadsheets' day 0
  if (!date.isValid() || date.year() < 1990 || date.year() > 2099)
    return std::nullopt;
  return date;
}

std::optional<Money> cellAmount(const QString &cell) {
  QString text = cell.simplified().remove(QLatin1Char(' '));
  // A minus written after the digits, as some banks print it.
  if (text.endsWith(QLatin1Char('-')) && !text.startsWith(QLatin1Char('-')))
    text = QLatin1Char('-') + text.chopped(1);
  const bool negative = text.startsWith(QLatin1Char('-'));
  if (negative || text.startsWith(QLatin1Char('+')))
    text.remove(0, 1);
  static const QRegularExpression padding(QStringLiteral("^0+(?=\\d)"));
  text.remove(padding);
  auto money = Money::parse(text);
  // A spreadsheet keeps an amount as a binary fraction (1234.5600000000002):
  // taken to the agora when it is one but for that fraction's error, never
  // when it holds a third decimal (1.234, which may be thousands).
  static const QRegularExpression number(QStringLiteral("^\\d{1,10}\\.\\d{7,}$"));
  if (!money && number.match(text).hasMatch()) {
    const double agorot = text.toDouble() * 100;
    if (std::abs(agorot - std::round(agorot)) < 1e-4)
      money = Money::fromAgorot(std::llround(agorot));
  }
  if (!money || money->agorot() < 0)
    return std::nullopt;
  return negative ? Money() - *money : *money;
}

Statement read(const QByteArray &bytes, const QList<Columns> &named) {
  if (bytes.trimmed().isEmpty())
    return refused(texts::bankEmpty);
  if (bytes.size() > maxFileBytes)
    return refused(texts::bankTooLarge.arg((bytes.size() + (1 << 20) - 1) >> 20).arg(maxFileBytes >> 20));
  if (isDosExport(bytes))
    return fromRows(dosRows(bytes), named);
  const Sheet sheet = readSheet(bytes);
  return sheet.failure.isEmpty() ? fromRows(sheet.rows, named) : refused(sheet.failure);
}

Statement readFile(const QString &path, const QList<Columns> &named) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return refused(texts::bankUnreadable);
  if (file.size() > maxFileBytes)
    return refused(texts::bankTooLarge.arg((file.size() + (1 << 20) - 1) >> 20).arg(maxFileBytes >> 20));
  return read(file.readAll(), named);
}

QStringList identities(const Statement &statement) {
  QStringList result;
  QHash<QString, int> seen;
  for (const Line &line : statement.lines) {
    const QString identity = QStringList{statement.account,
                                         line.date.toString(Qt::ISODate),
                                         line.valueDate.toString(Qt::ISODate),
                                         QString::number(line.amount.agorot()),
                                         line.reference,
                                         line.description,
                                         line.details}
                                 .join(QChar(0x1F));
    result << identity + QChar(0x1F) + QString::number(++seen[identity]);
  }
  return result;
}

} // namespace domiva::bank
