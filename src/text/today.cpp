#include "text/today.h"

namespace domiva {
namespace {
QDateTime pinned;
} // namespace

QDateTime now() { return pinned.isValid() ? pinned : QDateTime::currentDateTime(); }

QDate today() { return now().date(); }

// Midday: a pinned day is one moment, far from both of its edges.
void setToday(const QDate &date) { pinned = date.isValid() ? QDateTime(date, QTime(12, 0)) : QDateTime(); }

void setNow(const QDateTime &moment) { pinned = moment; }
} // namespace domiva
