// The catalogue take-overs of the article-price page.
#include "ArticlePricePage.h"

#include "ArticleTakeOver.h"
#include "KatalogDBClipBoard.h"
#include "KatalogDBClipBoardMergeObj.h"
#include "Msgdlg.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
// Material and ELDANORM catalogues list their prices net: with gross sales
// prices set in the system settings, the VAT of the article is added.
constexpr int kMaterialCatalogue = 1;
constexpr int kEldanormCatalogue = 2;

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
                                          const QString& name) {
  TKSPRDatabaseObj entry;
  entry.Katalog = record.Katalog;
  entry.ArtikelNr = record.ArtikelNr;
  entry.Bezeichnung = record.Beschreibung;
  entry.Preis = KatalogArtikelPreis(record, PriceChoice());
  entry.Zeit = record.Arbeitszeit;
  run.Take(entry, name);
}

void TArticlePricePage::TakeKatalogArtikel(bool whole) {
  if (whole) {
    QString katalog;
    if (!Sources.ChooseKatalog || !Sources.ForEachArticle || !Sources.ChooseKatalog(katalog)) return;
    RunWholeTakeOver([this, katalog](TArticleTakeOver& run) {
      Sources.ForEachArticle(katalog, [this, &run](TKatalogDBClipBoardMergeObj& record) {
        AddKatalogArtikel(run, record,
                          record.ArtikelNr + QLatin1Char(' ') + record.Beschreibung + QStringLiteral(" (") +
                              record.Katalog + QLatin1Char(')'));
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
        AddKatalogArtikel(run, *record, record->ArtikelNr + QLatin1Char(' ') + record->Beschreibung);
      } catch (const std::exception& e) {
        MessageDlg(ReportException::Of(e).message, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
      }
    }
  });
}
