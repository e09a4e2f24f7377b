#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

namespace domiva {

// An exact amount of shekels, held as whole agorot. The database stores the
// agorot as INTEGER, so sums are exact to the agora.
class Money {
public:
  constexpr Money() = default;
  static constexpr Money fromAgorot(qint64 agorot) { return Money(agorot); }
  static constexpr Money fromShekels(qint64 shekels) { return Money(shekels * 100); }

  // "150", "150.5", "-20.25", blanks around allowed; at most two decimals.
  // Commas between thousands and a shekel sign are allowed ("1,200.50",
  // "₪ 300", "300 ש"ח"). Anything else (empty, letters, "1,5", "1.234") is
  // no amount.
  static std::optional<Money> parse(const QString &text);

  constexpr qint64 agorot() const { return m_agorot; }
  // Plain decimal form: 700, 700.5, -25, never "-0".
  QString toString() const;
  // The same for right-to-left text: a negative amount kept left to right
  // in Unicode isolates, so its minus stays before the digits.
  QString toDisplay() const;
  // On papers for the residents: thousands separated, two decimals
  // ("1,050.00", "-25.50"), isolated as toDisplay() is.
  QString toPaper() const;
  // In Hebrew words, as a receipt says it: "שש מאות וארבעים שקלים וחמישים
  // אגורות", "שקל אחד", "שתי אגורות".
  QString inWords() const;

  constexpr Money operator+(Money o) const { return Money(m_agorot + o.m_agorot); }
  constexpr Money operator-(Money o) const { return Money(m_agorot - o.m_agorot); }
  constexpr Money &operator+=(Money o) {
    m_agorot += o.m_agorot;
    return *this;
  }
  constexpr Money &operator-=(Money o) {
    m_agorot -= o.m_agorot;
    return *this;
  }
  constexpr bool operator==(const Money &) const = default;

private:
  constexpr explicit Money(qint64 agorot) : m_agorot(agorot) {}
  qint64 m_agorot = 0;
};

} // namespace domiva
