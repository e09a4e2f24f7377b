#include "app/startup.h"

#include "common/texts.h"
#include "data/building.h"
#include "data/database.h"

namespace domiva {

QString startUp(const QString &path) {
  QString reason = db::open(path);
  if (reason.isEmpty()) {
    try {
      setBuilding(readBuilding());
    } catch (const db::Error &e) {
      db::close();
      reason = texts::dbEngineError.arg(e.text());
    }
  }
  return reason.isEmpty() ? reason : texts::dbCannotOpen.arg(path, reason);
}

} // namespace domiva
