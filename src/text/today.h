#pragma once
#include <QDate>
#include <QDateTime>

namespace domiva {
// The one place the program asks for the date and the time, so tests can
// open a window "in January" or let ten minutes pass without waiting.
QDate today();
QDateTime now();
// Pins today() to `date` (now() keeps the clock's time on that day); an
// invalid date returns to the system clock.
void setToday(const QDate &date);
// Pins now() (and so today()) to `moment`; an invalid one lets the clock run.
void setNow(const QDateTime &moment);
} // namespace domiva
