#include "app/startup.h"
#include "app/startwindow.h"
#include "common/messages.h"
#include "data/database.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("domiva"));
  QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
  QApplication::setLayoutDirection(Qt::RightToLeft);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/domiva/icon.svg")));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Domiva: house committee bookkeeping"));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption database(QStringLiteral("database"),
                                    QStringLiteral("The database file (default: %1).").arg(domiva::db::defaultPath()),
                                    QStringLiteral("PATH"));
  parser.addOption(database);
  parser.process(app);

  const QString path = parser.isSet(database) ? parser.value(database) : domiva::db::defaultPath();
  if (const QString failure = domiva::startUp(path); !failure.isEmpty()) {
    domiva::messages::show(nullptr, failure);
    return 1;
  }
  domiva::StartWindow menu;
  menu.show();
  return QApplication::exec();
}
