#include "text/money.h"

#include "text/bidi.h"

#include <QRegularExpression>

namespace domiva {

std::optional<Money> Money::parse(const QString &text) {
  // What people type around an amount: a shekel sign or its letters before
  // or after it, and commas between thousands ("1,200", "₪ 300", "300 ש"ח").
  static const QRegularExpression currency(QStringLiteral("^\\s*(?:₪|ש\"ח|ש״ח)?\\s*(.*?)\\s*(?:₪|ש\"ח|ש״ח)?\\s*$"));
  static const QRegularExpression thousands(QStringLiteral("^-?\\d{1,3}(?:,\\d{3})+(?:\\.\\d*)?$"));
  QString plain = currency.match(text).captured(1);
  if (thousands.match(plain).hasMatch())
    plain.remove(QLatin1Char(','));
  // Up to 13 whole digits keeps every sum far inside 64 bits.
  static const QRegularExpression form(QStringLiteral("^(-?)(\\d{1,13})(?:\\.(\\d{1,2}))?$"));
  const auto match = form.match(plain);
  if (!match.hasMatch())
    return std::nullopt;
  qint64 agorot = match.captured(2).toLongLong() * 100;
  QString fraction = match.captured(3);
  if (!fraction.isEmpty())
    agorot += fraction.leftJustified(2, QLatin1Char('0')).toLongLong();
  return Money(match.captured(1).isEmpty() ? agorot : -agorot);
}

QString Money::toString() const {
  const qint64 magnitude = m_agorot < 0 ? -m_agorot : m_agorot;
  QString text = QString::number(magnitude / 100);
  if (const qint64 cents = magnitude % 100) {
    text += QLatin1Char('.') + QString::number(cents).rightJustified(2, QLatin1Char('0'));
    if (text.endsWith(QLatin1Char('0')))
      text.chop(1);
  }
  return m_agorot < 0 ? QLatin1Char('-') + text : text;
}

QString Money::toDisplay() const { return m_agorot < 0 ? leftToRight(toString()) : toString(); }

QString Money::toPaper() const {
  const qint64 magnitude = m_agorot < 0 ? -m_agorot : m_agorot;
  QString whole = QString::number(magnitude / 100);
  for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
    whole.insert(at, QLatin1Char(','));
  const QString text = whole + QLatin1Char('.') + QString::number(magnitude % 100).rightJustified(2, QLatin1Char('0'));
  return m_agorot < 0 ? leftToRight(QLatin1Char('-') + text) : text;
}

namespace {
// A number's word groups below a thousand, of a masculine noun (shekels)
// or a feminine one (agorot, and the hundreds' own count).
QStringList below1000(int n, bool feminine) {
  static const char *const unitsM[] = {"", "אחד", "שניים", "שלושה", "ארבעה", "חמישה", "שישה", "שבעה", "שמונה", "תשעה"};
  static const char *const unitsF[] = {"", "אחת", "שתיים", "שלוש", "ארבע", "חמש", "שש", "שבע", "שמונה", "תשע"};
  static const char *const teensM[] = {"עשרה",      "אחד עשר",  "שנים עשר", "שלושה עשר", "ארבעה עשר",
                                       "חמישה עשר", "שישה עשר", "שבעה עשר", "שמונה עשר", "תשעה עשר"};
  static const char *const teensF[] = {"עשר",      "אחת עשרה", "שתים עשרה", "שלוש עשרה",  "ארבע עשרה",
                                       "חמש עשרה", "שש עשרה",  "שבע עשרה",  "שמונה עשרה", "תשע עשרה"};
  static const char *const tens[] = {"",       "",      "עשרים", "שלושים", "ארבעים",
                                     "חמישים", "שישים", "שבעים", "שמונים", "תשעים"};
  static const char *const hundreds[] = {"",         "מאה",     "מאתיים",   "שלוש מאות",  "ארבע מאות",
                                         "חמש מאות", "שש מאות", "שבע מאות", "שמונה מאות", "תשע מאות"};
  QStringList groups;
  if (n >= 100)
    groups << QString::fromUtf8(hundreds[n / 100]);
  const int rest = n % 100;
  if (rest >= 10 && rest < 20)
    groups << QString::fromUtf8((feminine ? teensF : teensM)[rest - 10]);
  else {
    if (rest >= 20)
      groups << QString::fromUtf8(tens[rest / 10]);
    if (rest % 10)
      groups << QString::fromUtf8((feminine ? unitsF : unitsM)[rest % 10]);
  }
  return groups;
}

// Groups read as one number: "and" before the last.
QString joined(QStringList groups) {
  if (groups.size() > 1)
    groups.last().prepend(QStringLiteral("ו"));
  return groups.join(QLatin1Char(' '));
}

// The groups of a whole number of shekels: millions, thousands, the rest.
QStringList groupsOf(qint64 n) {
  QStringList groups;
  if (const qint64 millions = n / 1000000; millions > 0)
    groups << (millions == 1 ? QStringLiteral("מיליון")
                             : (millions == 2 ? QStringLiteral("שני") : joined(below1000(int(millions), false))) +
                                   QStringLiteral(" מיליון"));
  static const char *const fewThousands[] = {"",           "אלף",       "אלפיים",     "שלושת אלפים", "ארבעת אלפים",
                                             "חמשת אלפים", "ששת אלפים", "שבעת אלפים", "שמונת אלפים", "תשעת אלפים",
                                             "עשרת אלפים"};
  if (const int thousands = int(n / 1000 % 1000); thousands > 0)
    groups << (thousands <= 10 ? QString::fromUtf8(fewThousands[thousands])
                               : joined(below1000(thousands, false)) + QStringLiteral(" אלף"));
  return groups + below1000(int(n % 1000), false);
}

} // namespace

QString Money::inWords() const {
  const qint64 whole = std::abs(m_agorot) / 100;
  const int agorot = int(std::abs(m_agorot) % 100);
  QStringList parts;
  if (whole == 1)
    parts << QStringLiteral("שקל אחד");
  else if (whole == 2)
    parts << QStringLiteral("שני שקלים");
  else if (whole > 0 || agorot == 0)
    parts << (whole == 0 ? QStringLiteral("אפס") : joined(groupsOf(whole))) + QStringLiteral(" שקלים");
  if (agorot == 1)
    parts << QStringLiteral("אגורה אחת");
  else if (agorot == 2)
    parts << QStringLiteral("שתי אגורות");
  else if (agorot > 0)
    parts << joined(below1000(agorot, true)) + QStringLiteral(" אגורות");
  return (m_agorot < 0 ? QStringLiteral("מינוס ") : QString()) + joined(parts);
}

} // namespace domiva
