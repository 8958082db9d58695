// demo.create: the whole demo suite as `suiteadm demo` makes it (150
//   addresses, 2,000 warehouse articles, the pricing tables), in ms.
// demo.warehouse_100k: a demo warehouse of 100,000 articles, as
//   `--warehouse-articles 100000` makes it for the benchmarks, in ms.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchSupport.h"
#include "SuiteTree.h"

namespace {
constexpr int kRuns = 3;

bool Failed(bool ok, const QString& error) {
  if (!ok) std::fprintf(stderr, "%s\n", qPrintable(error));
  return !ok;
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString create = QStringLiteral("demo.create"), large = QStringLiteral("demo.warehouse_100k");
  bool failed = false;
  if (Selected(create))
    PrintBench(create, MedianMs(kRuns, [&] {
                 QTemporaryDir dir;
                 QString error;
                 failed |= Failed(CreateDemoSuite(dir.path(), &error), error);
               }),
               QStringLiteral("ms"));
  if (Selected(large)) {
    QTemporaryDir dir;
    QString error;
    const double start = NowMs();
    failed |= Failed(FillDemoWarehouse(dir.path() + QStringLiteral("/LAGER/"), 100000, &error), error);
    PrintBench(large, NowMs() - start, QStringLiteral("ms"));
  }
  return failed ? 1 : 0;
}
