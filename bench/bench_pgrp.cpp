// pgrp.load: TKSPreisgruppe::Load with 500 catalogue directories and a file
// of 500 catalogue entries (median of several runs).
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "KSPreisgruppe.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  SetSelection(argc, argv);
  if (!Selected(QStringLiteral("pgrp.load"))) return 0;
  constexpr int kCatalogues = 500;
  QTemporaryDir dir;
  const QString folder = dir.path() + QStringLiteral("/006");
  const QString catalogues = dir.path() + QStringLiteral("/KATALOGE");
  QDir().mkpath(folder);
  TKSPreisgruppe pg;
  pg.LagerAktiv = pg.KatalogAktiv = true;
  for (int i = 0; i < kCatalogues; ++i) {
    const QString name = QStringLiteral("KATALOG%1").arg(i, 4, 10, QLatin1Char('0'));
    QDir().mkpath(catalogues + QLatin1Char('/') + name);
    pg.Kataloge.Add(name, i % 5 + 1);
  }
  if (!pg.Save(QStringLiteral("4711"), folder)) return 1;
  TKSPreisgruppe loaded;
  const double ms = MedianMs(11, [&] { loaded.Load(QStringLiteral("4711"), folder, catalogues); });
  if (loaded.Kataloge.Count() != kCatalogues) return 1;
  PrintBench(QStringLiteral("pgrp.load"), ms, QStringLiteral("ms"));
  return 0;
}
