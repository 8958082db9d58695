// app.startup: from starting MOD00100 on the demo suite to its first shown window (median).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "SuiteTree.h"

namespace {
double OneStart(const QString& program) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("SUITE_REPORT_SHOWN"), QStringLiteral("1"));
  process.setProcessEnvironment(env);
  const double start = NowMs();
  process.start(program, {QStringLiteral("DEMO"), QStringLiteral("ADMIN")});
  bool shown = false;
  while (!shown && process.waitForReadyRead(10000)) shown = process.readAll().contains("shown");
  const double elapsed = NowMs() - start;
  process.waitForFinished(10000);
  return shown ? elapsed : -1;
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  if (!Selected(QStringLiteral("app.startup"))) return 0;
  QTemporaryDir dir;
  QString error;
  if (!CreateDemoSuite(dir.path(), &error)) {
    std::fprintf(stderr, "app.startup: %s\n", qPrintable(error));
    return 1;
  }
  const QString program = dir.path() + QStringLiteral("/BIN/MOD00100");
  QFile::copy(QStringLiteral(MOD00100_EXE), program);
  QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
  std::vector<double> times;
  for (int i = 0; i < 10; ++i) {
    const double ms = OneStart(program);
    if (ms < 0) {
      std::fprintf(stderr, "app.startup: the window was not shown\n");
      return 1;
    }
    times.push_back(ms);
  }
  PrintBench(QStringLiteral("app.startup"), Median(times), QStringLiteral("ms"));
  return 0;
}
