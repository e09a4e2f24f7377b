#pragma once
// What a user may type into the books: amounts within bounds, and texts
// free of what would hide or bend what is stored.
#include "text/money.h"

#include <QString>
#include <initializer_list>
#include <optional>
#include <utility>

namespace domiva::input {

// The largest amount typed anywhere, either sign: 9,999,999.99 ₪.
inline constexpr qint64 maxAgorot = 999'999'999;

// An amount as typed (see Money::parse), within ±maxAgorot; else nothing.
std::optional<Money> amount(const QString &text);
// The message for a text that is no amount: too large, or not a number.
QString amountRefusal(const QString &text);
// An amount as typed that may not be below 0 (dues, a levy): the amount, or
// nothing with `refusal` set to `notAmount`, `negative`, or the bound's.
std::optional<Money> nonNegative(const QString &text, const QString &notAmount, const QString &negative,
                                 QString *refusal);

// A character that cannot be seen yet bends or hides how a text reads:
// the bidi embeddings, overrides and isolates, the direction marks (LRM,
// RLM, ALM), the zero-width joiners and spaces, the byte-order mark.
bool hidden(QChar c);

// Empty when every field may be stored; else the message naming the first
// that may not: one holding a NUL, a line break or a hidden character
// (above), which would make a stored text read otherwise than it was
// typed, or two texts that look alike differ. Each pair is the field's name
// as the window shows it, then its text.
QString checkTexts(std::initializer_list<std::pair<QString, QString>> fields);

} // namespace domiva::input
