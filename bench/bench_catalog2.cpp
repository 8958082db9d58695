// catalog2.foreach_600k: ForEachArtikel over the 600,000 articles of the demo
//   supplier catalogue, each read completely (columns, images, sales price 1);
//   the reference is a raw SELECT of the same columns in the same order, each
//   read once.
// catalog2.getobject: GetObject of an article at a random position, median.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <sqlite3.h>

#include "BenchSupport.h"
#include "DemoSupplierCatalogue.h"
#include "Katalog2DB.h"

namespace {
constexpr int kArticles = 600000;
constexpr int kRounds = 5;
constexpr int kLookups = 2000;

class Raw {
 public:
  explicit Raw(const QString& file) { sqlite3_open_v2(file.toUtf8().constData(), &db_, SQLITE_OPEN_READONLY, nullptr); }
  ~Raw() { sqlite3_close(db_); }
  double SelectAllMs() {
    const double start = NowMs();
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db_, "SELECT * FROM SCATALOG ORDER BY ID", -1, &s, nullptr);
    const int columns = sqlite3_column_count(s);
    qsizetype chars = 0;
    double sum = 0;
    while (sqlite3_step(s) == SQLITE_ROW)
      for (int c = 0; c < columns; ++c) {
        if (sqlite3_column_type(s, c) == SQLITE_TEXT)
          chars += QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(s, c)),
                                      sqlite3_column_bytes16(s, c) / 2)
                       .size();
        else
          sum += sqlite3_column_double(s, c);
      }
    sqlite3_finalize(s);
    if (chars < 0 || sum < -1) std::printf("impossible\n");
    return NowMs() - start;
  }

 private:
  sqlite3* db_ = nullptr;
};
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString forEach = QStringLiteral("catalog2.foreach_600k"), getObject = QStringLiteral("catalog2.getobject");
  if (!Selected(forEach) && !Selected(getObject)) return 0;
  QTemporaryDir dir;
  const QString catalogueDir = dir.path() + QStringLiteral("/LIEFERANT_MEIER/");
  const double fillStart = NowMs();
  QString error;
  if (!FillDemoSupplierCatalogue(catalogueDir, kArticles, &error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  std::printf("# %d articles written in %s ms\n", kArticles, PointNumber(NowMs() - fillStart, 0).constData());
  TKatalog2DB db([](const std::exception*, const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); });
  db.Open(catalogueDir, true);

  if (Selected(forEach)) {
    Raw raw(catalogueDir + QStringLiteral("SCATALOG.DAT"));
    int passed = 0;
    BenchAgainst(
        forEach, kRounds,
        [&] {
          const double start = NowMs();
          passed = 0;
          db.ForEachArtikel([&](TKatalog2Artikel&) { ++passed; });
          return NowMs() - start;
        },
        [&] { return raw.SelectAllMs(); });
    std::printf("# %s: %d articles passed\n", qPrintable(forEach), passed);
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
