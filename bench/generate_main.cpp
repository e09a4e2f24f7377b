// domiva_generate PATH [YEARS] [SEED]: a large building's database for trying
// the program and for the benchmarks.
#include "generate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const char *const usage = "usage: domiva_generate PATH [YEARS=30] [SEED=1]\n"
                            "Writes a building's books of YEARS years to PATH, replacing any file there.\n";
  if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
    std::fputs(usage, stdout);
    return 0;
  }
  // A path that looks like an option is a typing slip, not a file to replace.
  if (args.size() < 2 || args[1].startsWith(QLatin1Char('-'))) {
    std::fputs(usage, stderr);
    return 2;
  }
  QElapsedTimer timer;
  timer.start();
  const bool made =
      domiva::bench::generate(args[1], args.size() > 2 ? args[2].toInt() : 30, args.size() > 3 ? args[3].toUInt() : 1u);
  std::printf("%s in %.1f s\n", made ? "made" : "FAILED", timer.elapsed() / 1000.0);
  return made ? 0 : 1;
}
