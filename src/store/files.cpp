#include "store/files.h"

#include "text/bidi.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryDir>
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

constexpr auto ownerOnlyFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
} // namespace

QString shown(const QString &path) { return leftToRight(QDir::toNativeSeparators(path)); }

bool diskFull(const QString &path) {
  const QStorageInfo disk(QFileInfo(path).absolutePath());
  return disk.isValid() && disk.bytesAvailable() < 64 * 1024;
}

bool makeFolders(const QString &folder) {
  QStringList missing;
  for (QString current = QDir::cleanPath(folder); !QFileInfo::exists(current);
       current = QFileInfo(current).absolutePath()) {
    missing.prepend(current);
    if (QFileInfo(current).absolutePath() == current)
      break;
  }
  // Made owner-only from the start, then set exactly, since the umask may
  // take bits away but never add them.
  for (const QString &path : std::as_const(missing))
    if (!QDir().mkdir(path, ownerOnlyFolder) || !QFile::setPermissions(path, ownerOnlyFolder))
      return false;
  return QFileInfo(folder).isDir();
}

bool replace(const QString &from, const QString &to) {
  std::error_code error;
  std::filesystem::rename(native(from), native(to), error);
  return !error;
}

bool placeNew(const QString &from, const QString &to) {
  // QFile::rename refuses a target that exists, in one step where the
  // system can (renameat2 with RENAME_NOREPLACE, or a hard link).
  return QFile::rename(from, to);
}

bool writeAtomically(const QString &path, const std::function<bool(const QString &)> &write) {
  const QFileInfo target(path);
  // mkdtemp makes the folder owner-only and new; inside it the name can't be raced.
  QTemporaryDir folder(target.absolutePath() + QLatin1Char('/') + QLatin1String(leftoverPrefix) +
                       QStringLiteral("XXXXXX"));
  if (!folder.isValid())
    return false;
  const QString temporary = folder.filePath(target.fileName());
  return write(temporary) && replace(temporary, target.absoluteFilePath());
}

// The file system's own clock, which stamps the leftovers' times: a share's
// server, or a clock set apart from it, may not agree with ours.
static QDateTime fileSystemNow(const QString &folder) {
  const QTemporaryDir probe(folder + QLatin1Char('/') + QLatin1String(leftoverPrefix) + QStringLiteral("XXXXXX"));
  return probe.isValid() ? QFileInfo(probe.path()).lastModified() : QDateTime::currentDateTime();
}

void removeLeftovers(const QString &folder) {
  const QDateTime hourAgo = fileSystemNow(folder).addSecs(-3600);
  const QDir dir(folder);
  for (const QFileInfo &left : dir.entryInfoList({QLatin1String(leftoverPrefix) + QLatin1Char('*')},
                                                 QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
    if (left.lastModified() < hourAgo && !left.isSymLink())
      QDir(left.absoluteFilePath()).removeRecursively();
}

} // namespace domiva::files
