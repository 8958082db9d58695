// artpage.take_over_warehouse_100k: the whole-warehouse take-over of the
//   article-price page ("Kompletten Lagerkatalog") of 100,000 demo articles
//   into an empty table, through the warehouse window's enumeration, against
//   ksp.bulk_set's raw reference (prepared INSERTs of 100,000 rows in one
//   transaction). Every round takes over into a new address's table.
// artpage.take_over_warehouse_100k_repaints: how often the grid was told to
//   show the table anew during one take-over (model resets and row signals)
//   and how often its rows were painted: a handful, not one per article.
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

#include "ArticlePricePage.h"
#include "BenchSupport.h"
#include "DBGrid.h"
#include "KSPRDatabase.h"
#include "LagerArtikelSelectForm1.h"
#include "PathUtils.h"
#include "RawSqlite.h"
#include "ScriptedDialogs.h"
#include "SuiteTree.h"
#include "TypeUnit.h"

namespace {
const int kArticles = qEnvironmentVariableIntValue("ARTPAGE_ARTICLES") > 0 ? qEnvironmentVariableIntValue("ARTPAGE_ARTICLES") : 100000;
constexpr int kRounds = 5;

class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
};

// The rows the take-over writes, the same for every article: what the raw
// reference inserts.
double RawInsert(const QString& path) {
  TKSPRDatabaseObj entry;
  const QString xml = entry.GetXMLText(false);
  return RawInsertKspMs(path, kArticles, [&](qint64 i, RawKspRow& row) {
    row = {QStringLiteral("LAGER"), QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')),
           QStringLiteral("Kupferrohr %1 mm hart").arg(i % 54), 12.5 + double(i % 100), 0, 30, 58, xml};
  });
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString name = QStringLiteral("artpage.take_over_warehouse_100k");
  if (!Selected(name)) return 0;
  // Nothing may wait for a person: every dialog is answered and listed.
  auto* dialogs = new ScriptedDialogs;
  SetDialogs(std::unique_ptr<IDialogs>(dialogs));
  QTemporaryDir dir;
  QString error;
  const double fillStart = NowMs();
  if (!CreateDemoSuite(dir.path(), &error, 10, kArticles, 10) ||
      !InitSystemFor(dir.path() + QStringLiteral("/BIN/MOD00100"), 1) ||
      !LoadSystem(QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QString(), false)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  std::printf("# demo suite with %d warehouse articles made in %s ms\n", kArticles,
              PointNumber(NowMs() - fillStart, 0).constData());
  const QString lagerDir = NormalizePath(SystemEinstellungen()->AreaDir(TAreaDir::Lager), true);

  QWidget sheet;
  sheet.resize(1000, 400);
  auto* page = new TArticlePricePage(&sheet);
  page->cbImpPreis->setCurrentIndex(1);
  page->Sources.ForEachLagerArtikel = [&](const std::function<void(TLagerServerObj&)>& callback) {
    return LagerArtikelSelectForm(lagerDir).ForEachLagerArtikel(callback);
  };
  sheet.show();
  QApplication::processEvents();
  PaintCounter paints;
  page->DBGrid2->viewport()->installEventFilter(&paints);
  int gridSignals = 0;
  QAbstractItemModel* model = page->DBGrid2->model();
  QObject::connect(model, &QAbstractItemModel::modelReset, [&] { ++gridSignals; });
  QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] { ++gridSignals; });
  QObject::connect(model, &QAbstractItemModel::dataChanged, [&] { ++gridSignals; });

  // What reading the warehouse alone costs, for the share of the take-over.
  double readMs = 0;
  for (int i = 0; i < 2; ++i) {
    const double start = NowMs();
    LagerArtikelSelectForm(lagerDir).ForEachLagerArtikel([](TLagerServerObj&) {});
    readMs = NowMs() - start;
  }
  std::printf("# reading the %d warehouse articles alone: %s ms\n", kArticles, PointNumber(readMs, 0).constData());

  int round = 0, rawRound = 0, rows = 0, firstSignals = -1, firstPaints = -1;  // a file per raw run
  QTemporaryDir rawDir;
  BenchAgainst(
      name, kRounds,
      [&] {
        page->Reset();  // as the window does before it loads another address
        page->Load(QStringLiteral("B%1").arg(++round));
        page->Button7Click();  // an empty list
        QApplication::processEvents();
        gridSignals = 0;
        paints.paints = 0;
        const double start = NowMs();
        page->OnArtAddClick(103);
        const double ms = NowMs() - start;
        QApplication::processEvents();
        if (firstSignals < 0) firstSignals = gridSignals, firstPaints = paints.paints;
        rows = int(page->KSPRDB->Table->RecordCount());
        return ms;
      },
      [&] { return RawInsert(rawDir.filePath(QStringLiteral("%1.db").arg(++rawRound))); });
  std::printf("# %s: %d rows in the table after a take-over\n", qPrintable(name), rows);
  std::printf("BENCH %s_repaints %d count\n", qPrintable(name), firstSignals + firstPaints);
  std::printf("# grid signals %d, row paints %d during the first take-over\n", firstSignals, firstPaints);
  for (const ShownDialog& shown : dialogs->shown)
    std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(shown.text));
  page->Reset();
  delete page;
  FreeLagerArtikelSelectForm();
  return 0;
}
