// kat.window_open: the article selection window opened on a material
//   catalogue of 1,000,000 demo articles until the first rows of its page
//   are shown (offscreen), median of five opens, each with its own pool.
// kat.window_open_mem: how much the resident memory grew for the first
//   of these windows.
// The catalogue is made once by the demo maker; BENCH_CATALOG_DIR names a
// directory to keep it in (made there when missing, reused when present).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchSupport.h"
#include "DemoMaterialCatalogue.h"
#include "KatalogDBPool.h"
#include "KatalogTypes.h"
#include "KatalogViewFrame.h"
#include "TypeUnit.h"
#include "UKAT.h"
#include "UKAT2ArtikelAuswahlForm1.h"

namespace {
constexpr int kArticles = 1000000;
constexpr int kRounds = 5;
const QString kKatalog = QStringLiteral("DATANORM_SHK");

double ResidentMB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
  return 0;
}

// The catalogue area: the kept catalogue's parent, else a temporary one.
QString CatalogueArea(QTemporaryDir& temporary) {
  const QString kept = qEnvironmentVariable("BENCH_CATALOG_DIR");
  if (kept.isEmpty()) return temporary.path() + u'/';
  return QFileInfo(kept).absolutePath() + u'/';
}

QString CatalogueName() {
  const QString kept = qEnvironmentVariable("BENCH_CATALOG_DIR");
  return kept.isEmpty() ? kKatalog : QFileInfo(kept).fileName();
}

bool EnsureCatalogue(const QString& dir) {
  if (!QFileInfo::exists(dir + QStringLiteral("CATALOG.DAT"))) {
    const double start = NowMs();
    QString error;
    if (!FillDemoMaterialCatalogue(dir, kArticles, &error)) {
      std::fprintf(stderr, "%s\n", qPrintable(error));
      return false;
    }
    std::printf("# %d catalogue articles made in %s ms\n", kArticles, PointNumber(NowMs() - start, 0).constData());
  }
  // The pool takes the kind from SUPPLIER.INI.
  return TUKATKatalogTypeHelper::GetCatalogType(dir) == katalogtyp::Datanorm &&
         TUKATKatalogTypeHelper::WriteCatalogInfo(dir, QStringLiteral("Demo SHK"), katalogtyp::Datanorm);
}

struct Shown {
  std::unique_ptr<TKatalogDBPool> pool;
  std::unique_ptr<TUKAT2ArtikelAuswahlForm1> form;
};

// Opens the window with the catalogue's page and waits until its first row is drawn.
Shown OpenShown(const QString& area, const QString& katalog) {
  Shown shown;
  shown.pool = std::make_unique<TKatalogDBPool>(area, area + QStringLiteral("NOLAGER/"), TDBLogCallback());
  shown.form = std::make_unique<TUKAT2ArtikelAuswahlForm1>(*shown.pool, QString());
  if (!shown.form->OpenKatalog(katalog)) std::fprintf(stderr, "catalogue not opened\n");
  shown.form->show();
  QApplication::processEvents();
  QTableView* grid = shown.form->CurrentView()->Grid;
  grid->viewport()->repaint();
  if (grid->model()->index(0, 0).data().toString().isEmpty()) std::fprintf(stderr, "no rows shown\n");
  return shown;
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString open = QStringLiteral("kat.window_open"), memory = QStringLiteral("kat.window_open_mem");
  if (!Selected(open) && !Selected(memory)) return 0;
  QTemporaryDir temporary;
  const QString area = CatalogueArea(temporary);
  const QString katalog = CatalogueName();
  if (!EnsureCatalogue(area + katalog + u'/')) return 1;

  const double before = ResidentMB();
  Shown first = OpenShown(area, katalog);
  const double grown = ResidentMB() - before;
  first.form.reset();
  first.pool.reset();
  std::vector<double> times;
  for (int round = 0; round < kRounds; ++round) {
    const double start = NowMs();
    Shown shown = OpenShown(area, katalog);
    times.push_back(NowMs() - start);
  }
  if (Selected(open)) PrintBench(open, Median(times), QStringLiteral("ms"));
  if (Selected(memory)) PrintBench(memory, grown, QStringLiteral("MB"));
  return 0;
}
