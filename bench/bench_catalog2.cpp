// catalog2.foreach_600k: ForEachArtikel over the 600,000 articles of the demo
//   supplier catalogue, each read completely (columns, images, sales price 1);
//   the reference is a raw SELECT of the same columns in the same order, each
//   read once.
// catalog2.getobject: GetObject of an article at a random position, median.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

#include "BenchSupport.h"
#include "DemoSupplierCatalogue.h"
#include "Katalog2DB.h"
#include "RawSqlite.h"

namespace {
constexpr int kArticles = 600000;
constexpr int kRounds = 5;
constexpr int kLookups = 2000;

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString forEach = QStringLiteral("catalog2.foreach_600k"), getObject = QStringLiteral("catalog2.getobject");
  if (!Selected(forEach) && !Selected(getObject)) return 0;
  QTemporaryDir dir;
  const QString catalogueDir = dir.path() + QStringLiteral("/LIEFERANT_MEIER/");
  if (!MakeBenchData(kArticles, "articles",
                     [&](QString* error) { return FillDemoSupplierCatalogue(catalogueDir, kArticles, error); }))
    return 1;
  TKatalog2DB db(LogToStderr);
  db.Open(catalogueDir, true);

  if (Selected(forEach)) {
    const auto walk = [&] {
      qint64 passed = 0;
      db.ForEachArtikel([&](TKatalog2Artikel&) { ++passed; });
      return passed;
    };
    BenchWalkAgainstRaw(forEach, kRounds, walk, catalogueDir + QStringLiteral("SCATALOG.DAT"),
                        "SELECT * FROM SCATALOG ORDER BY ID");
  }
  if (Selected(getObject)) {
    std::mt19937 random(4711);
    TKatalog2Artikel probe;
    std::vector<QString> ids;
    for (int i = 0; i < kLookups; ++i) {
      MakeDemoSupplierArticle(int(random() % kArticles), probe);
      ids.push_back(probe.ID);
    }
    std::vector<double> times;
    int missing = 0;
    TKatalog2Artikel article;
    for (const QString& id : ids) {
      const double start = NowMs();
      article.ID = id;
      missing += db.GetObject(article) != 0;
      times.push_back(NowMs() - start);
    }
    PrintBench(getObject, Median(times), QStringLiteral("ms"));
    std::printf("# %s: %d lookups, %d missing\n", qPrintable(getObject), kLookups, missing);
  }
  return 0;
}
