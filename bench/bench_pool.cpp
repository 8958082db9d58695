// pool.open: making the catalogue pool over 200 catalogue directories (each
//   with its SUPPLIER.INI) and the warehouse, and opening one supplier catalogue.
// catalog.foreach_1m: the whole-catalogue enumeration of a material
//   catalogue of 1,000,000 demo articles, one transfer record per article;
//   the reference is a raw SELECT of the same columns in the same order.
//   The catalogue is kept where BENCH_CATALOG_DIR says (BenchCatalogue.h).
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchCatalogue.h"
#include "BenchSupport.h"
#include "Katalog1DB.h"
#include "KatalogMergeEnumeration.h"
#include "RawSqlite.h"
#include "Katalog2DB.h"
#include "KatalogDBPool.h"
#include "UKAT.h"
#include "ULAGUnit1Core.h"

namespace {
constexpr int kDirectories = 200;
constexpr int kRuns = 9;
constexpr int kArticles = 1000000;
constexpr int kRounds = 5;
const QString kOpened = QStringLiteral("KATALOG_000");  // a supplier catalogue


bool MakeArea(const QString& area, const QString& lager) {
  for (int i = 0; i < kDirectories; ++i) {
    TUKATKatalogAuswahlItem item;
    item.Katalog = QStringLiteral("KATALOG_%1").arg(i, 3, 10, QLatin1Char('0'));
    item.KatalogTyp = std::uint8_t(i % 3);
    item.Beschreibung = QStringLiteral("Katalog %1").arg(i);
    item.Lieferant.Nr = QStringLiteral("%1_01").arg(70000 + i);
    const QString dir = area + item.Katalog;
    if (!QDir().mkpath(dir) || !item.WriteToDirectory(dir)) return false;
  }
  // The tables exist, as in a suite in use.
  IModLagerDBServerObj warehouse(LogToStderr);
  warehouse.Open(lager);
  TKatalog2DB supplier(LogToStderr);
  supplier.Open(area + kOpened);
  TKatalog2Artikel article;
  article.ID = QStringLiteral("M-1");
  return warehouse.Opened && supplier.SetObject(article) == 0;
}

void BenchPoolOpen(const QString& name) {
  QTemporaryDir dir;
  const QString area = dir.path() + QStringLiteral("/KATALOGE/"), lager = dir.path() + QStringLiteral("/LAGER/");
  if (!MakeArea(area, lager)) return;
  int items = 0;
  bool opened = true;
  const double ms = MedianMs(kRuns, [&] {
    TKatalogDBPool pool(area, lager, LogToStderr);
    items = pool.Items.Count();
    opened = opened && pool.GetDBByName(kOpened, false) != nullptr;
  });
  if (!opened) return;
  PrintBench(name, ms, QStringLiteral("ms"));
  std::printf("# %s: %d pool items\n", qPrintable(name), items);
}

void BenchForEachMergeObj(const QString& name) {
  QTemporaryDir temporary;
  const QString dir = BenchCatalogueDir(temporary);
  if (!EnsureBenchCatalogue(dir, kArticles)) return;
  TKatalog1DB db(LogToStderr);
  db.Open(dir, true);
  qint64 passed = 0, rows = 0;
  Currency sum = 0;
  double oursMs = 0;
  BenchAgainst(
      name, kRounds,
      [&] {
        oursMs = TimedMs([&] {
          passed = 0;
          ForEachMergeObj(db, QStringLiteral("DATANORM_SHK"), [&](TKatalogDBClipBoardMergeObj& r) {
            ++passed;
            sum += r.VKPreis[0];
          });
        });
        return oursMs;
      },
      [&] { return RawSelectAllMs(dir + QStringLiteral("CATALOG.DAT"), "SELECT * FROM CATALOG ORDER BY ID", rows); });
  std::printf("# %s: %lld records (reference %lld rows), %s ms per 100,000 articles\n", qPrintable(name), passed, rows,
              PointNumber(oursMs * 100000.0 / double(std::max<qint64>(passed, 1)), 1).constData());
  if (sum < 0) std::printf("impossible\n");
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString poolOpen = QStringLiteral("pool.open"), forEach = QStringLiteral("catalog.foreach_1m");
  if (Selected(poolOpen)) BenchPoolOpen(poolOpen);
  if (Selected(forEach)) BenchForEachMergeObj(forEach);
  return 0;
}
