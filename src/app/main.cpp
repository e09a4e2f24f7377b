#include "app/startup.h"
#include "app/startwindow.h"
#include "common/messages.h"
#include "data/database.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTextStream>
#include <algorithm>
#include <memory>

namespace {
// The options that print and exit need no display.
bool consoleOnly(int argc, char *argv[]) {
  return std::any_of(argv + 1, argv + argc, [](const char *argument) {
    const QByteArray option(argument);
    return option == "--check" || option == "--repair" || option == "--help" || option == "-h" ||
           option == "--version" || option == "-v";
  });
}
} // namespace

int main(int argc, char *argv[]) {
  std::unique_ptr<QCoreApplication> app;
  if (consoleOnly(argc, argv)) {
    app = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    app = std::make_unique<QApplication>(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/domiva/icon.svg")));
  }
  QCoreApplication::setApplicationName(QStringLiteral("domiva"));
  QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Domiva: house committee bookkeeping"));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption database(QStringLiteral("database"),
                                    QStringLiteral("The database file (default: %1).").arg(domiva::db::defaultPath()),
                                    QStringLiteral("PATH"));
  const QCommandLineOption check(QStringLiteral("check"),
                                 QStringLiteral("Check that the annual matrix and the journal agree with the "
                                                "payments and expenses; exit 0 when they do, 1 otherwise."));
  const QCommandLineOption repair(QStringLiteral("repair"),
                                  QStringLiteral("Like --check, then rebuild the matrix rows that differ."));
  parser.addOptions({database, check, repair});
  parser.process(*app);

  const QString path = parser.isSet(database) ? parser.value(database) : domiva::db::defaultPath();
  if (parser.isSet(check) || parser.isSet(repair)) {
    QTextStream out(stdout);
    return domiva::checkBooks(path, parser.isSet(repair), out);
  }
  if (const QString failure = domiva::startUp(path); !failure.isEmpty()) {
    domiva::messages::show(nullptr, failure);
    return 1;
  }
  domiva::StartWindow menu;
  menu.show();
  return QCoreApplication::exec();
}
