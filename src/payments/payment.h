#pragma once
#include "data/money.h"

#include <QDate>
#include <QString>

namespace domiva::payments {

// The payments grid: every payment, headers from the aliases.
QString listQuery();
inline constexpr int dateColumn = 0;
inline constexpr int amountColumn = 7;

// A payment as the payments window holds it when "בצע" is pressed.
struct PaymentInput {
  QDate inputDate;
  QString apartment;
  QString forText;
  QString detail;
  QString fromMonth;
  QString toMonth;
  QString payment;
  QString amount;
};

// The field to give the focus to after a refusal.
enum class Field { None, Apartment, FromMonth, ToMonth, Amount };

struct Outcome {
  QString message; // empty when the payment was recorded
  Field focus = Field::None;
  bool ok() const { return message.isEmpty(); }
};

// Checks the payment, then writes its incoming and trans rows and credits
// the months of the apartment's matrix row for the entry date's year, all in
// one transaction. `monthlyPay` is the dues read at start-up.
Outcome record(const PaymentInput &input, qint64 monthlyPay);

// The name of the apartment's resident, or an empty text.
QString residentName(const QString &apartmentText);


} // namespace domiva::payments
