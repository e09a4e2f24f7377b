#include "text/input.h"

#include "text/texts.h"

namespace domiva::input {

std::optional<Money> amount(const QString &text) {
  const auto parsed = Money::parse(text);
  if (!parsed || parsed->agorot() > maxAgorot || parsed->agorot() < -maxAgorot)
    return std::nullopt;
  return parsed;
}

QString amountRefusal(const QString &text) { return Money::parse(text) ? texts::amountTooLarge : texts::badAmount; }

std::optional<Money> nonNegative(const QString &text, const QString &notAmount, const QString &negative,
                                 QString *refusal) {
  const auto parsed = Money::parse(text);
  if (!parsed)
    *refusal = notAmount;
  else if (parsed->agorot() < 0)
    *refusal = negative;
  else if (parsed->agorot() > maxAgorot)
    *refusal = texts::amountTooLarge;
  else
    return parsed;
  return std::nullopt;
}

bool hidden(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 0x200B && u <= 0x200F) || (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069) || u == 0x061C ||
         u == 0xFEFF;
}

QString checkTexts(std::initializer_list<std::pair<QString, QString>> fields) {
  for (const auto &[name, text] : fields)
    for (const QChar c : text)
      if (c == QChar(0) || c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
          c == QChar::ParagraphSeparator || hidden(c))
        return texts::badCharacters.arg(name);
  return {};
}

} // namespace domiva::input
