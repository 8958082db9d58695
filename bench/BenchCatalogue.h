#pragma once
// The material catalogue of the catalogue benchmarks: made once by the demo
// maker; BENCH_CATALOG_DIR names a directory to keep it in (made there when
// missing, reused when present).
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchSupport.h"
#include "DemoMaterialCatalogue.h"

// The catalogue directory: kept where BENCH_CATALOG_DIR says, else temporary.
inline QString BenchCatalogueDir(const QTemporaryDir& temporary) {
  const QString kept = qEnvironmentVariable("BENCH_CATALOG_DIR");
  return kept.isEmpty() ? temporary.path() + QStringLiteral("/DATANORM_SHK/") : kept + u'/';
}

inline bool EnsureBenchCatalogue(const QString& dir, int articles) {
  if (QFileInfo::exists(dir + QStringLiteral("CATALOG.DAT"))) return true;
  return MakeBenchData(articles, "catalogue articles",
                       [&](QString* error) { return FillDemoMaterialCatalogue(dir, articles, error); });
}
