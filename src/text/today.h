#pragma once
#include <QDate>
#include <QDateTime>

namespace domiva {
// The one place the program asks for the date and the time, so tests can
// open a window "in January" or let ten minutes pass without waiting.
QDate today();
QDateTime now();
// Pins now() to midday of `date`, one moment that does not move; an
// invalid date returns to the system clock.
void setToday(const QDate &date);
// Pins now() (and so today()) to `moment`; an invalid one lets the clock run.
void setNow(const QDateTime &moment);
} // namespace domiva
