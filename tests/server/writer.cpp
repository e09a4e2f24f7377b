// Records payments into a building on a server as fast as it can, as a
// second bookkeeper would: writer ADDRESS COUNT FIRST. Payment k (from
// FIRST) is 1.00 for January from apartment k % 10 + 1. Exits 0 when every
// one was recorded. Or keeps a bank statement, printing what it is told:
// writer ADDRESS --import FILE.
#include "app/startup.h"
#include "bank/import.h"
#include "payments/payment.h"
#include "store/database.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 4)
    return 2;
  QTextStream err(stderr);
  if (const QString failure = domiva::startUp(arguments[1]); !failure.isEmpty()) {
    err << failure << Qt::endl;
    return 1;
  }
  if (arguments[2] == QLatin1String("--import")) {
    QTextStream(stdout)
        << domiva::bank::keep(domiva::db::program(), domiva::bank::readFile(arguments[3]), arguments[3]).message
        << Qt::endl;
    domiva::db::close();
    return 0;
  }
  const int count = arguments[2].toInt(), first = arguments[3].toInt();
  for (int k = first; k < first + count; ++k) {
    const QString apartment = QString::number(k % 10 + 1);
    const auto outcome = domiva::payments::record(
        domiva::db::program(), {QDate(2026, 1, 10), apartment, "ועד הבית", {}, "ינואר", "ינואר", "מזומן", "1", "2026"});
    if (!outcome.ok()) {
      err << outcome.message << Qt::endl;
      return 1;
    }
  }
  domiva::db::close();
  return 0;
}
