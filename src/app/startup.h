#pragma once
#include <QString>

namespace domiva {
// Opens the database at `path` and reads the building's details into the
// program-wide copy. An empty text on success, otherwise the message to show.
QString startUp(const QString &path);
} // namespace domiva
