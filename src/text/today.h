#pragma once
#include <QDate>

namespace domiva {
// The one place the program asks for today's date, so tests can open a
// window "in January".
QDate today();
// Pins today() to `date`; an invalid date returns to the system clock.
void setToday(const QDate &date);
} // namespace domiva
