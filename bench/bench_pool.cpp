// pool.open: making the catalogue pool over 200 catalogue directories (each
//   with its SUPPLIER.INI) and the warehouse, and opening one supplier catalogue.
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchSupport.h"
#include "Katalog2DB.h"
#include "KatalogDBPool.h"
#include "UKAT.h"
#include "ULAGUnit1Core.h"

namespace {
constexpr int kDirectories = 200;
constexpr int kRuns = 9;
const QString kOpened = QStringLiteral("KATALOG_000");  // a supplier catalogue

void Log(const std::exception*, const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); }

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
  IModLagerDBServerObj warehouse(Log);
  warehouse.Open(lager);
  TKatalog2DB supplier(Log);
  supplier.Open(area + kOpened);
  TKatalog2Artikel article;
  article.ID = QStringLiteral("M-1");
  return warehouse.Opened && supplier.SetObject(article) == 0;
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString name = QStringLiteral("pool.open");
  if (!Selected(name)) return 0;
  QTemporaryDir dir;
  const QString area = dir.path() + QStringLiteral("/KATALOGE/"), lager = dir.path() + QStringLiteral("/LAGER/");
  if (!MakeArea(area, lager)) return 1;
  int items = 0;
  bool opened = true;
  const double ms = MedianMs(kRuns, [&] {
    TKatalogDBPool pool(area, lager, Log);
    items = pool.Items.Count();
    opened = opened && pool.GetDBByName(kOpened, false) != nullptr;
  });
  if (!opened) return 1;
  PrintBench(name, ms, QStringLiteral("ms"));
  std::printf("# %s: %d pool items\n", qPrintable(name), items);
  return 0;
}
