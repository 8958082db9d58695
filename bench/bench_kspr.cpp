// kspr.take_catalog: the article-price page's whole-catalogue take-over
//   ("Kompletten Materialkatalog", price "Verkaufspreis 1") of a material
//   catalogue of 100,000 demo articles into an empty table, through the
//   catalogue pool and the article selection window as the main window sets
//   them up, the catalogue key given instead of the choice dialog; against
//   prepared INSERTs of the same rows in one transaction. Every round takes
//   over into a new address's table.
// kspr.page_open: the page loading an address with 100,000 article rows
//   until the grid's first rows and the first row's scale are shown
//   (offscreen), median of five.
// The catalogue is made once by the demo maker; BENCH_CATALOG100K_DIR names a
// directory to keep it in (made there when missing, reused when present).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

#include "ArticlePricePage.h"
#include "BenchCatalogue.h"
#include "DBGrid.h"
#include "KSPRDatabase.h"
#include "KatalogDBClipBoardMergeObj.h"
#include "KatalogDBPool.h"
#include "KatalogTypes.h"
#include "RawSqlite.h"
#include "ScriptedDialogs.h"
#include "SuiteTree.h"
#include "TypeUnit.h"
#include "UKAT.h"
#include "UKAT2ArtikelAuswahlForm1.h"

namespace {
constexpr int kArticles = 100000;
constexpr int kRounds = 5;
constexpr int kPriceChoice = 1;  // "Verkaufspreis 1"

struct Row {
  QString katalog, artikelNr, bezeichnung;
  double preis, zeit;
};

QString CatalogueDir(const QTemporaryDir& temporary) {
  const QString kept = qEnvironmentVariable("BENCH_CATALOG100K_DIR");
  return kept.isEmpty() ? temporary.path() + QStringLiteral("/DATANORM_SHK/") : QFileInfo(kept).absoluteFilePath() + u'/';
}

// The pool takes the kind from SUPPLIER.INI.
bool EnsureCatalogue(const QString& dir) {
  return EnsureBenchCatalogue(dir, kArticles) && TUKATKatalogTypeHelper::GetCatalogType(dir) == katalogtyp::Datanorm &&
         TUKATKatalogTypeHelper::WriteCatalogInfo(dir, QStringLiteral("Demo SHK"), katalogtyp::Datanorm);
}

double RawInsert(const QString& path, const std::vector<Row>& rows, const QString& xml) {
  return RawInsertKspMs(path, qint64(rows.size()), [&](qint64 i, RawKspRow& row) {
    const Row& r = rows[size_t(i)];
    row = {r.katalog, r.artikelNr, r.bezeichnung, r.preis, 0, r.zeit, 0, xml};
  });
}

// The catalogue's rows as the take-over writes them, the price as listed.
std::vector<Row> ReadRows(TUKAT2ArtikelAuswahlForm1& form, const QString& katalog, double& ms) {
  std::vector<Row> rows;
  rows.reserve(kArticles);
  const double start = NowMs();
  form.ForEachArticle(katalog, [&rows](TKatalogDBClipBoardMergeObj& record) {
    rows.push_back({record.Katalog, record.ArtikelNr, record.Beschreibung,
                    CurrencyToDouble(record.VKPreis[kPriceChoice - 1]), record.Arbeitszeit});
  });
  ms = NowMs() - start;
  return rows;
}

// The sources as the main window sets them, the choice dialog answered with the key.
void UseCatalogue(TArticlePricePage& page, TUKAT2ArtikelAuswahlForm1& form, const QString& katalog) {
  page.cbImpPreis->setCurrentIndex(kPriceChoice);
  page.Sources.ChooseKatalog = [katalog](QString& chosen) {
    chosen = katalog;
    return true;
  };
  page.Sources.ForEachArticle = [&form](const QString& chosen, const TMergeObjCallback& callback) {
    return form.ForEachArticle(chosen, callback);
  };
}

// The page on the address's new, empty list.
void ShowNewList(TArticlePricePage& page, const QString& address) {
  page.Reset();  // as the window does before it loads another address
  page.Load(address);
  page.Button7Click();
  QApplication::processEvents();
}

void BenchTakeCatalog(TArticlePricePage& page, TUKAT2ArtikelAuswahlForm1& form, const QString& katalog) {
  const QString name = QStringLiteral("kspr.take_catalog");
  double readMs = 0;
  const std::vector<Row> rows = ReadRows(form, katalog, readMs);
  std::printf("# reading the %zu catalogue articles alone: %s ms\n", rows.size(), PointNumber(readMs, 0).constData());
  const QString xml = TKSPRDatabaseObj().GetXMLText(false);
  int round = 0, rawRound = 0;  // every run writes a file of its own
  qint64 taken = 0;
  QTemporaryDir rawDir;
  BenchAgainst(
      name, kRounds,
      [&] {
        ShowNewList(page, QStringLiteral("K%1").arg(++round));
        const double start = NowMs();
        page.OnArtAddClick(101);
        const double ms = NowMs() - start;
        QApplication::processEvents();
        taken = page.KSPRDB->Table->RecordCount();
        return ms;
      },
      [&] { return RawInsert(rawDir.filePath(QStringLiteral("%1.db").arg(++rawRound)), rows, xml); });
  if (taken != qint64(rows.size())) std::fprintf(stderr, "%s: %lld rows taken over\n", qPrintable(name), taken);
}

// Loads the address's list into the shown page until the grid's rows are
// painted and the first row's scale is on show.
void BenchPageOpen(QWidget& sheet, TArticlePricePage& page, const QString& address) {
  std::vector<double> times;
  for (int round = 0; round < kRounds; ++round) {
    page.Reset();
    sheet.hide();
    QApplication::processEvents();
    const double start = NowMs();
    page.Load(address);
    sheet.show();
    QApplication::processEvents();
    page.DBGrid2->viewport()->repaint();
    times.push_back(NowMs() - start);
    if (page.KSPRDB->Table->RecordCount() != kArticles || page.KSPRObj.ArtikelNr.isEmpty() ||
        page.DBGrid2->model()->index(0, 1).data().toString().isEmpty())
      std::fprintf(stderr, "kspr.page_open: the list is not shown\n");
  }
  PrintBench(QStringLiteral("kspr.page_open"), Median(times), QStringLiteral("ms"));
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetSelection(argc, argv);
  const QString take = QStringLiteral("kspr.take_catalog"), open = QStringLiteral("kspr.page_open");
  if (!Selected(take) && !Selected(open)) return 0;
  // Nothing may wait for a person: every dialog is answered and listed.
  auto* dialogs = new ScriptedDialogs;
  SetDialogs(std::unique_ptr<IDialogs>(dialogs));
  QTemporaryDir suiteDir, catalogueTemp;
  QString error;
  const QString catalogueDir = CatalogueDir(catalogueTemp);
  if (!CreateDemoSuite(suiteDir.path(), &error, 10, 10, 10) ||
      !InitSystemFor(suiteDir.path() + QStringLiteral("/BIN/MOD00100"), 1) ||
      !LoadSystem(QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QString(), false) ||
      !EnsureCatalogue(catalogueDir)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  const QString area = QDir(catalogueDir).absolutePath();
  const QString parent = QFileInfo(area).absolutePath() + u'/';
  const QString katalog = QFileInfo(area).fileName();
  {
    TKatalogDBPool pool(parent, parent + QStringLiteral("NOLAGER/"), TDBLogCallback());
    TUKAT2ArtikelAuswahlForm1 form(pool, QString());
    QWidget sheet;
    sheet.resize(1000, 400);
    auto* page = new TArticlePricePage(&sheet);
    sheet.show();
    QApplication::processEvents();
    UseCatalogue(*page, form, katalog);
    if (Selected(take)) BenchTakeCatalog(*page, form, katalog);
    if (Selected(open)) {
      if (!Selected(take)) {  // a list for the page to show
        ShowNewList(*page, QStringLiteral("K1"));
        page->OnArtAddClick(101);
      }
      BenchPageOpen(sheet, *page, QStringLiteral("K1"));
    }
    page->Reset();
    delete page;
  }
  for (const ShownDialog& shown : dialogs->shown) std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(shown.text));
  return 0;
}
