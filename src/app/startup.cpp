#include "app/startup.h"

#include "ledger/consistency.h"
#include "store/backups.h"
#include "store/building.h"
#include "store/database.h"
#include "text/texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

namespace domiva {

void installHebrew(QCoreApplication &app) {
  QLocale::setDefault(QLocale(QLocale::Hebrew, QLocale::Israel));
  auto *translator = new QTranslator(&app);
  if (translator->load(QLocale(QLocale::Hebrew), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(translator);
}

QString refusal(const QString &path, const db::Opened &opened) {
  if (db::isServer(path))
    return texts::dbCannotOpen.arg(db::shownAddress(path), opened.failure);
  QString reason = opened.failure;
  if (opened.damaged)
    reason += QLatin1Char('\n') + backups::restoreAdvice(path);
  return texts::dbCannotOpen.arg(path, reason);
}

QString startUp(const QString &path, db::Opened *result, db::Check check) {
  const db::Opened opened = openBooks(path, check);
  if (result)
    *result = opened;
  return opened.failure.isEmpty() ? QString() : refusal(path, opened);
}

int checkBooks(const QString &path, bool repair, QTextStream &out) {
  // Checking only reads: the file is opened to read only, and so can be read-only itself.
  if (const db::Opened opened = openBooks(path, db::Check::Now, repair ? db::Access::ReadWrite : db::Access::ReadOnly);
      !opened.failure.isEmpty()) {
    out << texts::plain(refusal(path, opened)) << Qt::endl;
    return 1;
  }
  int status = 0;
  try {
    QList<consistency::Finding> findings = consistency::check(db::program());
    for (const auto &finding : std::as_const(findings))
      out << finding.text << '\n';
    if (findings.isEmpty()) {
      out << texts::checkPassed << '\n';
    } else {
      out << texts::checkFailed.arg(findings.size()) << '\n';
      status = 1;
      const auto rows = std::count_if(findings.begin(), findings.end(), [](const auto &f) { return f.matrixRow; });
      if (repair && rows > 0) {
        out << texts::repairWill.arg(rows) << Qt::endl;
        consistency::repair(db::program(), findings);
        out << texts::repairDone << '\n';
        findings = consistency::check(db::program());
        status = findings.isEmpty() ? 0 : 1;
      }
      if (repair && !findings.isEmpty())
        out << texts::repairNotJournal << '\n';
    }
  } catch (const db::Error &e) {
    out << texts::plain(texts::dbEngineError.arg(db::explain(e))) << '\n';
    status = 1;
  }
  out.flush();
  db::close();
  return status;
}

int copyBooks(const QString &from, const QString &to, QTextStream &out) {
  if (const db::Opened opened = db::open(from, db::Check::Now, db::Access::ReadOnly); !opened.failure.isEmpty()) {
    out << texts::plain(refusal(from, opened)) << Qt::endl;
    return 1;
  }
  const QString failure = db::copyBooks(to);
  db::close();
  if (!failure.isEmpty()) {
    out << texts::plain(failure) << Qt::endl;
    return 1;
  }
  out << texts::plain(texts::copied.arg(db::isServer(to) ? db::shownAddress(to) : to)) << Qt::endl;
  // The copy is checked as --check checks books.
  return checkBooks(to, false, out);
}

} // namespace domiva
