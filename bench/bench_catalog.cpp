// catalog.getobject: Artikel_GetObject (with long text, surcharge and
//   attached objects) of articles at random places in a material catalogue
//   of 1,000,000 demo articles; the median of single reads.
// catalog.foreach_raw_1m: ForEachArtikel over the same catalogue, each
//   article read as by Artikel_GetObjectShort; the reference is a raw SELECT
//   of the same columns in the same order, each read once.
// The catalogue is made once by the demo maker; BENCH_CATALOG_DIR names a
// directory to keep it in (made there when missing, reused when present).
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchCatalogue.h"
#include "BenchSupport.h"
#include "DemoMaterialCatalogue.h"
#include "Katalog1DB.h"
#include "RawSqlite.h"

namespace {
constexpr int kArticles = 1000000;
constexpr int kRounds = 5;
constexpr int kLookups = 2000;

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString getObject = QStringLiteral("catalog.getobject"), forEach = QStringLiteral("catalog.foreach_raw_1m");
  if (!Selected(getObject) && !Selected(forEach)) return 0;
  QTemporaryDir temporary;
  const QString dir = BenchCatalogueDir(temporary);
  if (!EnsureBenchCatalogue(dir, kArticles)) return 1;
  TKatalog1DB db(LogToStderr);
  db.Open(dir, true);
  const qint64 count = db.Catalog->RecordCount();

  if (Selected(getObject)) {
    QRandomGenerator random(4711);
    std::vector<double> times;
    TKatalog1Artikel article;
    int found = 0;
    for (int i = 0; i < kLookups; ++i) {
      MakeDemoCatalogueArticle(int(random.bounded(count)), article);
      const QString id = article.ID;
      const double start = NowMs();
      article.Clear();
      article.ID = id;
      found += db.Artikel_GetObject(article) == 0 && !article.Langtext.isEmpty();
      times.push_back(NowMs() - start);
    }
    PrintBench(getObject, Median(times), QStringLiteral("ms"));
    std::printf("# %s: %d of %d random articles read with their long text\n", qPrintable(getObject), found, kLookups);
  }
  if (Selected(forEach)) {
    qint64 passed = 0, rows = 0;
    double oursMs = 0;
    BenchAgainst(
        forEach, kRounds,
        [&] {
          oursMs = TimedMs([&] {
            passed = 0;
            db.ForEachArtikel([&](TKatalog1Artikel&) { ++passed; });
          });
          return oursMs;
        },
        [&] { return RawSelectAllMs(dir + QStringLiteral("CATALOG.DAT"), "SELECT * FROM CATALOG ORDER BY ID", rows); });
    std::printf("# %s: %lld articles passed (reference %lld rows), %s ms per 100,000 articles\n", qPrintable(forEach),
                passed, rows, PointNumber(oursMs * 100000.0 / std::max<qint64>(passed, 1), 1).constData());
  }
  return 0;
}
