#include "app/buildingchooser.h"
#include "app/startup.h"
#include "app/startwindow.h"
#include "store/backups.h"
#include "store/database.h"
#include "text/texts.h"
#include "ui/messages.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QSettings>
#include <QSocketNotifier>
#include <QTextStream>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {
// Ended by the system (a logout, a shutdown: SIGTERM, SIGHUP, or Ctrl+C),
// the program closes as on a clean close: the event loop ends, and main
// folds the log back into the file. The handler only writes a byte.
int signalPipe[2] = {-1, -1};
bool endedBySignal = false;
void closeOnSignals() {
#ifdef Q_OS_UNIX
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
    return;
  auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, [notifier] {
    notifier->setEnabled(false);
    endedBySignal = true;
    char byte;
    [[maybe_unused]] const auto read = ::read(signalPipe[1], &byte, 1);
    QCoreApplication::exit(0);
  });
  struct sigaction action = {};
  action.sa_handler = [](int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
  };
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGHUP, SIGINT})
    ::sigaction(signal, &action, nullptr);
#endif
}

// The arguments as text, and those that text can't carry back to the
// bytes the system gave (a name that is not UTF-8 would open another file).
std::pair<QStringList, QStringList> decoded(int argc, char *argv[]) {
  QStringList texts, lossy;
  for (int i = 0; i < argc; ++i) {
    const QByteArray raw(argv[i]);
    texts << QFile::decodeName(raw);
    if (QFile::encodeName(texts.last()) != raw)
      lossy << texts.last();
  }
  return {texts, lossy};
}
} // namespace

int main(int argc, char *argv[]) {
  // The command line, read once. --help speaks Hebrew: the options are
  // ours, and so are the headings.
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Domiva: הנהלת החשבונות של ועד הבית"));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("הצגת העזרה הזו."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("הצגת הגרסה."));
  parser.addOption(help);
  parser.addOption(version);
  const QCommandLineOption database(
      QStringLiteral("database"),
      QStringLiteral("קובץ הנתונים (ברירת המחדל: %1), או שרת: postgresql://משתמש@שרת:פורט/בסיס-נתונים, "
                     "ואחריו ?building=שם לבניין מסוים.")
          .arg(domiva::db::defaultPath()),
      QStringLiteral("PATH"));
  const QCommandLineOption remember(QStringLiteral("remember"),
                                    QStringLiteral("שמירת בסיס הנתונים שנבחר (--database, בלי סיסמה) לכל הפעלה מעתה."));
  const QCommandLineOption copyTo(QStringLiteral("copy-to"),
                                  QStringLiteral("העתקת ספרי הבניין כולם אל TARGET (קובץ חדש או בניין בשרת), "
                                                 "ובדיקת העותק; יוצא ב-0 כשהעותק תקין."),
                                  QStringLiteral("TARGET"));
  const QCommandLineOption check(QStringLiteral("check"),
                                 QStringLiteral("בדיקה שהטבלה השנתית והיומן תואמים את התשלומים וההוצאות, בלי לשנות "
                                                "דבר; יוצא ב-0 כשהם תואמים, אחרת ב-1."));
  const QCommandLineOption repair(QStringLiteral("repair"),
                                  QStringLiteral("כמו --check, ואחר כך בנייה מחדש של שורות הטבלה השנתית השונות."));
  const QCommandLineOption backup(QStringLiteral("backup"), QStringLiteral("כתיבת גיבוי של הקובץ אל FILE, ויציאה."),
                                  QStringLiteral("FILE"));
  parser.addOptions({database, remember, check, repair, backup, copyTo});
  const auto [arguments, lossy] = decoded(argc, argv);
  const bool parsed = parser.parse(arguments);
  std::optional<domiva::FontsAhead> fonts;
  std::unique_ptr<QCoreApplication> app;
  // What prints and exits needs no display.
  if (!parsed || parser.isSet(help) || parser.isSet(version) || parser.isSet(check) || parser.isSet(repair) ||
      parser.isSet(backup) || parser.isSet(copyTo)) {
    app = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    fonts.emplace();
    app = std::make_unique<QApplication>(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    domiva::installHebrew(*app);
    domiva::db::setWaitShown([](bool waiting) {
      if (waiting)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
      else
        QGuiApplication::restoreOverrideCursor();
    });
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/domiva/icon.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("domiva")); // the menu entry it was started from
  }
  QCoreApplication::setApplicationName(QStringLiteral("domiva"));
  QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));

  const bool console = qobject_cast<QApplication *>(app.get()) == nullptr;
  QTextStream out(stdout);
  const auto refuse = [&](const QString &text) {
    if (console)
      QTextStream(stderr) << domiva::texts::plain(text) << Qt::endl;
    else
      domiva::messages::show(nullptr, text);
    return 1;
  };
  if (!parsed)
    return refuse(domiva::texts::withDetail(domiva::texts::badCommandLine, parser.errorText()));
  if (parser.isSet(help)) {
    QTextStream(stdout) << parser.helpText()
                               .replace(QStringLiteral("Usage:"), QStringLiteral("שימוש:"))
                               .replace(QStringLiteral("[options]"), QStringLiteral("[אפשרויות]"))
                               .replace(QStringLiteral("Options:"), QStringLiteral("אפשרויות:"));
    return 0;
  }
  if (parser.isSet(version)) {
    QTextStream(stdout) << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
                        << Qt::endl;
    return 0;
  }
  // The books: --database, else the choice saved with --remember, else the default file.
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("domiva"), QStringLiteral("domiva"));
  QString path = settings.value(QStringLiteral("database"), domiva::db::defaultPath()).toString();
  if (parser.isSet(database)) {
    path = parser.value(database);
    if (lossy.contains(path) || lossy.contains(QStringLiteral("--database=") + path))
      return refuse(domiva::texts::dbCannotOpen.arg(path, domiva::texts::dbBadName));
  }
  if (parser.isSet(remember))
    settings.setValue(QStringLiteral("database"), domiva::db::isServer(path) ? QUrl(path).toString(QUrl::RemovePassword)
                                                                             : QFileInfo(path).absoluteFilePath());
  if (domiva::db::isServer(path) && domiva::db::buildingOf(path).isEmpty()) {
    if (console)
      return refuse(domiva::texts::nameTheBuilding);
    domiva::BuildingChooser chooser(path);
    if (chooser.exec() != QDialog::Accepted)
      return 0;
    path = chooser.chosen();
  }
  if (parser.isSet(copyTo))
    return domiva::copyBooks(path, parser.value(copyTo), out);
  if (parser.isSet(check) || parser.isSet(repair))
    return domiva::checkBooks(path, parser.isSet(repair), out);
  if (parser.isSet(backup)) {
    // "--backup --database FILE" would write a backup named "--database".
    if (parser.value(backup).startsWith(QLatin1Char('-')))
      return refuse(domiva::texts::backupTargetIsOption.arg(parser.value(backup)));
    if (const QString failure = domiva::startUp(path); !failure.isEmpty())
      return refuse(failure);
    const QString failure = domiva::backups::write(parser.value(backup));
    out << domiva::texts::plain(failure.isEmpty() ? domiva::texts::backupSaved.arg(parser.value(backup)) : failure)
        << Qt::endl;
    domiva::db::close();
    return failure.isEmpty() ? 0 : 1;
  }
  closeOnSignals();
  for (;;) {
    QString failure;
    bool damaged = false;
    auto menu = domiva::showMenu(path, failure, &damaged);
    if (!menu) {
      if (domiva::refuseBooks(path, failure, damaged))
        continue;
      return 1;
    }
    const int status = QCoreApplication::exec();
    // The closed windows go first, and their queries with them, so the file
    // can be left as one file.
    menu.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    domiva::waitForBackup();
    if (status == domiva::restartStatus) {
      domiva::db::close();
      continue;
    }
    domiva::closeBooks(endedBySignal);
    return status;
  }
}
