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

} // namespace domiva
