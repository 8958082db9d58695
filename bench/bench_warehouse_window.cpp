// warehouse.window_open: the warehouse selection window opened on 100,000
//   demo articles until its first rows are shown (offscreen), median of
//   five opens, each with its own database and window.
// warehouse.window_open_mem: how much the resident memory grew for the
//   first of these windows.
#include <QApplication>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchSupport.h"
#include "DemoWarehouse.h"
#include "LagerAnzeigenFrame.h"
#include "LagerArtikelSelectForm1.h"

namespace {
constexpr int kArticles = 100000;
constexpr int kRounds = 5;

// Opens the window and waits until its first row is drawn; the window stays open.
std::unique_ptr<TLagerArtikelSelectForm1> OpenShown(const QString& dir) {
  auto form = TLagerArtikelSelectForm1::Open(dir);
  form->show();
  QApplication::processEvents();
  QTableView* grid = form->Frame->Grid;
  grid->viewport()->repaint();
  if (grid->model()->index(0, 0).data().toString().isEmpty()) std::fprintf(stderr, "no rows shown\n");
  return form;
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString open = QStringLiteral("warehouse.window_open"), memory = QStringLiteral("warehouse.window_open_mem");
  if (!Selected(open) && !Selected(memory)) return 0;
  QTemporaryDir tmp;
  const QString dir = tmp.path() + QStringLiteral("/LAGER/");
  const auto fill = [&](QString* error) { return FillDemoWarehouse(dir, kArticles, error); };
  if (!MakeBenchData(kArticles, "demo articles", fill)) return 1;

  const double before = ResidentMb();
  auto first = OpenShown(dir);
  const double grown = ResidentMb() - before;
  first.reset();
  std::vector<double> times;
  for (int round = 0; round < kRounds; ++round) {
    const double start = NowMs();
    auto form = OpenShown(dir);
    times.push_back(NowMs() - start);
  }
  if (Selected(open)) PrintBench(open, Median(times), QStringLiteral("ms"));
  if (Selected(memory)) PrintBench(memory, grown, QStringLiteral("MB"));
  return 0;
}
