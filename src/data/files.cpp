#include "data/files.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

namespace domiva::files {
namespace {
std::filesystem::path native(const QString &path) {
#ifdef Q_OS_WIN
  return std::filesystem::path(path.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}
} // namespace

bool replace(const QString &from, const QString &to) {
  std::error_code error;
  std::filesystem::rename(native(from), native(to), error);
  return !error;
}

bool writeAtomically(const QString &path, const std::function<bool(const QString &)> &write) {
  QString temporary;
  {
    // Only reserves a free name in the same folder, so the rename stays on one disk.
    QTemporaryFile reserve(QFileInfo(path).absolutePath() + QStringLiteral("/.") + QFileInfo(path).fileName() +
                           QStringLiteral(".XXXXXX"));
    if (!reserve.open())
      return false;
    temporary = reserve.fileName();
    reserve.setAutoRemove(false);
  }
  const bool written = write(temporary) && replace(temporary, path);
  if (!written)
    QFile::remove(temporary);
  return written;
}

} // namespace domiva::files
