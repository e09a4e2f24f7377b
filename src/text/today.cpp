#include "text/today.h"

namespace domiva {
namespace {
QDate pinnedDate;
QDateTime pinnedMoment;
} // namespace

QDateTime now() {
  if (pinnedMoment.isValid())
    return pinnedMoment;
  const QDateTime clock = QDateTime::currentDateTime();
  return pinnedDate.isValid() ? QDateTime(pinnedDate, clock.time()) : clock;
}

QDate today() { return now().date(); }

void setToday(const QDate &date) {
  pinnedDate = date;
  pinnedMoment = {};
}

void setNow(const QDateTime &moment) { pinnedMoment = moment; }
} // namespace domiva
