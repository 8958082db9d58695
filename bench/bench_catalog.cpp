// catalog.getobject: Artikel_GetObject (with long text, surcharge and
//   attached objects) of articles at random places in a material catalogue
//   of 1,000,000 demo articles; the median of single reads.
// catalog.foreach_raw_1m: ForEachArtikel over the same catalogue, each
//   article read as by Artikel_GetObjectShort; the reference is a raw SELECT
//   of the same columns in the same order, each read once.
// The catalogue is made once by the demo maker; BENCH_CATALOG_DIR names a
// directory to keep it in (made there when missing, reused when present).
#include <QCoreApplication>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

#include "BenchSupport.h"
#include "DemoMaterialCatalogue.h"
#include "Katalog1DB.h"

namespace {
constexpr int kArticles = 1000000;
constexpr int kRounds = 5;
constexpr int kLookups = 2000;

// Every column of every row, texts as texts, numbers as numbers.
double RawSelectMs(const QString& file, qint64& rows) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  const double start = NowMs();
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db, "SELECT * FROM CATALOG ORDER BY ID", -1, &s, nullptr);
  const int columns = sqlite3_column_count(s);
  qsizetype chars = 0;
  double sum = 0;
  rows = 0;
  while (sqlite3_step(s) == SQLITE_ROW) {
    ++rows;
    for (int c = 0; c < columns; ++c) {
      if (sqlite3_column_type(s, c) == SQLITE_TEXT)
        chars += QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(s, c)),
                                    sqlite3_column_bytes16(s, c) / 2)
                     .size();
      else
        sum += sqlite3_column_double(s, c);
    }
  }
  sqlite3_finalize(s);
  const double ms = NowMs() - start;
  sqlite3_close(db);
  if (chars < 0 || sum < -1e300) std::printf("impossible\n");
  return ms;
}

// The catalogue directory: kept where BENCH_CATALOG_DIR says, else temporary.
QString CatalogueDir(QTemporaryDir& temporary) {
  const QString kept = qEnvironmentVariable("BENCH_CATALOG_DIR");
  return kept.isEmpty() ? temporary.path() + QStringLiteral("/DATANORM_SHK/") : kept + u'/';
}

bool EnsureCatalogue(const QString& dir) {
  if (QFileInfo::exists(dir + QStringLiteral("CATALOG.DAT"))) return true;
  const double start = NowMs();
  QString error;
  if (!FillDemoMaterialCatalogue(dir, kArticles, &error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return false;
  }
  std::printf("# %d catalogue articles made in %s ms\n", kArticles, PointNumber(NowMs() - start, 0).constData());
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString getObject = QStringLiteral("catalog.getobject"), forEach = QStringLiteral("catalog.foreach_raw_1m");
  if (!Selected(getObject) && !Selected(forEach)) return 0;
  QTemporaryDir temporary;
  const QString dir = CatalogueDir(temporary);
  if (!EnsureCatalogue(dir)) return 1;
  TKatalog1DB db([](const std::exception*, const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); });
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
          const double start = NowMs();
          passed = 0;
          db.ForEachArtikel([&](TKatalog1Artikel&) { ++passed; });
          oursMs = NowMs() - start;
          return oursMs;
        },
        [&] { return RawSelectMs(dir + QStringLiteral("CATALOG.DAT"), rows); });
    std::printf("# %s: %lld articles passed (reference %lld rows), %s ms per 100,000 articles\n", qPrintable(forEach),
                passed, rows, PointNumber(oursMs * 100000.0 / std::max<qint64>(passed, 1), 1).constData());
  }
  return 0;
}
