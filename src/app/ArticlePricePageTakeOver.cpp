// The take-overs of the article-price page: from the catalogues and the
// warehouse, picked articles or all of them.
#include "ArticlePricePage.h"

#include <QApplication>

#include "ArticleTakeOver.h"
#include "DBGrid.h"
#include "LagerServerObj.h"
#include "TakeOverProgress.h"
#include "KatalogDBClipBoard.h"
#include "KatalogDBClipBoardMergeObj.h"
#include "KSPRDatabase.h"
#include "Msgdlg.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
// Material and ELDANORM catalogues list their prices net: with gross sales
// prices set in the system settings, the VAT of the article is added.
constexpr int kMaterialCatalogue = 1;
constexpr int kEldanormCatalogue = 2;
const QString kWarehouseKey = QStringLiteral("LAGER");

Currency KatalogArtikelPreis(const TKatalogDBClipBoardMergeObj& record, int choice) {
  Currency price = 0;
  if (choice >= 1 && choice <= 5) price = record.VKPreis[size_t(choice - 1)];
  if (choice == kPriceChoicePurchase) price = record.EKPreis;
  const TSystemEinstellungen* system = SystemEinstellungen();
  const bool net = record.KatalogTyp == kMaterialCatalogue || record.KatalogTyp == kEldanormCatalogue;
  if (!net || !system || !system->ArtikelVKPreisIsBrutto) return price;
  const double gross = CurrencyToDouble(price) * (1 + system->GetMwSt(record.MwStSatz) / 100);
  return CurrencyFromDouble(system->RoundCurrency(gross));
}
}  // namespace

void TArticlePricePage::AddKatalogArtikel(TArticleTakeOver& run, const TKatalogDBClipBoardMergeObj& record,
                                          const QString& source) {
  run.Take({.katalog = record.Katalog,
            .artikelNr = record.ArtikelNr,
            .bezeichnung = record.Beschreibung,
            .preis = KatalogArtikelPreis(record, PriceChoice()),
            .zeit = record.Arbeitszeit,
            .source = source});
}

void TArticlePricePage::TakeKatalogArtikel(bool whole) {
  if (whole) {
    QString katalog;
    if (!Sources.ChooseKatalog || !Sources.ForEachArticle || !Sources.ChooseKatalog(katalog)) return;
    RunWholeTakeOver([this, katalog](TArticleTakeOver& run) {
      Sources.ForEachArticle(katalog, [this, &run](TKatalogDBClipBoardMergeObj& record) {
        AddKatalogArtikel(run, record, record.Katalog);
      });
    });
    return;
  }
  if (!Sources.SelectKatalogArtikel) return;
  TKatalogDBClipBoard clipboard;
  Sources.SelectKatalogArtikel(clipboard, Tr("Katalogartikel importieren"));
  RunSelectionTakeOver([this, &clipboard](TArticleTakeOver& run) {
    // One article's error is shown; the others still come.
    for (int i = 0; i < clipboard.Count(); ++i) {
      try {
        const std::unique_ptr<TKatalogDBClipBoardMergeObj> record = clipboard.GetMergeObj(i);
        AddKatalogArtikel(run, *record, QString());
      } catch (const std::exception& e) {
        MessageDlg(ReportException::Of(e).message, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
      }
    }
  });
}

void TArticlePricePage::OnArtAddClick(int tag) {
  if (!TableOpen()) return;
  OverwriteMode = omAsk;
  if (tag == 100 || tag == 101) TakeKatalogArtikel(tag == 101);
  if (tag == 102 || tag == 103) TakeLagerArtikel(tag == 103);
}

void TArticlePricePage::AddLagerArtikel(TArticleTakeOver& run, const TLagerServerObj& article, const QString& source) {
  run.Take({.katalog = kWarehouseKey,
            .artikelNr = article.LagerArtikelNr,
            .bezeichnung = article.Bezeichnung,
            .preis = LagerArtikelPreis(article, PriceChoice()),
            .zeit = article.Az,
            .lohn = article.L,
            .source = source});
}

void TArticlePricePage::TakeLagerArtikel(bool whole) {
  if (whole) {
    if (!Sources.ForEachLagerArtikel) return;
    RunWholeTakeOver([this](TArticleTakeOver& run) {
      const QString source = Tr("Lager");
      Sources.ForEachLagerArtikel([this, &run, &source](TLagerServerObj& article) {
        AddLagerArtikel(run, article, source);
      });
    });
    return;
  }
  if (!Sources.SelectLagerArtikel) return;
  TLagerServerObjObjectList chosen;
  if (!Sources.SelectLagerArtikel(chosen)) return;
  RunSelectionTakeOver([this, &chosen](TArticleTakeOver& run) {
    for (const TLagerServerObj& article : chosen)
      AddLagerArtikel(run, article, QString());
  });
}

// The scale of the row left goes back first; the row shown afterwards is
// where the last article was stored.
void TArticlePricePage::RunSelectionTakeOver(const std::function<void(TArticleTakeOver&)>& run) {
  LeaveCurrentArtikel();
  {
    const TQuietScroll quiet(quiet_);
    TArticleTakeOver takeOver(*KSPRDB, OverwriteMode);
    run(takeOver);
  }
  ShowCurrentArtikel();
}

// The scale of the row left goes back first; the views follow once at the
// end, not per article; a stop keeps what was taken and says how much.
void TArticlePricePage::RunWholeTakeOver(const std::function<void(TArticleTakeOver&)>& run) {
  LeaveCurrentArtikel();
  const TQuietScroll quiet(quiet_);
  TArticleTakeOver takeOver(*KSPRDB, OverwriteMode);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bool stopped = false;
  {
    TTdbControlsDisabled still(*KSPRDB->Table);
    TTakeOverProgress progress(DBGrid2->window());
    Progress = &progress;
    try {
      takeOver.UseBatches(&progress, BatchRows);
      run(takeOver);
    } catch (const TTakeOverStop&) {
      stopped = true;
    } catch (const std::exception& e) {  // a source that cannot be read
      MessageDlg(ReportException::Of(e).message, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
      stopped = true;
    }
    takeOver.Finish();
    stopped = stopped || progress.Cancelled();
    Progress = nullptr;
  }
  QApplication::restoreOverrideCursor();
  EndTakeOver();
  if (stopped && !takeOver.Failed())
    MessageDlgFmt(Tr("Die Uebernahme wurde abgebrochen. %d Artikel wurden uebernommen."), {takeOver.Taken()},
                  TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
}

void TArticlePricePage::EndTakeOver() {
  try {
    const TQuietScroll quiet(quiet_);
    KSPRDB->Table->First();
  } catch (const std::exception& e) {
    KSPRDB->LogError(e, QStringLiteral("First"));
  }
  ShowCurrentArtikel();
}
