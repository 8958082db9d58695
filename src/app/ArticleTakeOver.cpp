#include "ArticleTakeOver.h"

#include "Format.h"
#include "KSPRDatabase.h"
#include "LagerServerObj.h"
#include "Msgdlg.h"
#include "TakeOverProgress.h"
#include "Translation.h"

Currency LagerArtikelPreis(const TLagerServerObj& article, int choice) {
  if (choice >= 1 && choice <= 5) return article.Vkp[size_t(choice - 1)];
  if (choice == kPriceChoicePurchase) return article.EKPreis;
  return 0;
}

TArticleTakeOver::TArticleTakeOver(TKSPRDatabase& store, int& overwriteMode)
    : store_(store), overwriteMode_(overwriteMode) {}

TArticleTakeOver::~TArticleTakeOver() { Finish(); }

void TArticleTakeOver::UseBatches(TTakeOverProgress* progress, int batchRows) {
  progress_ = progress;
  batchRows_ = batchRows;
  Begin();
}

void TArticleTakeOver::Begin() {
  if (batchRows_ <= 0 || open_) return;
  try {
    store_.Database->StartTransaction();
    open_ = true;
  } catch (const std::exception& e) {
    store_.LogError(e, QStringLiteral("SetArtikel"));
    failed_ = true;
    throw TTakeOverStop{};
  }
}

bool TArticleTakeOver::Commit() {
  if (!open_) return true;
  open_ = false;
  inBatch_ = 0;
  try {
    store_.Database->Commit();
    committed_ = taken_;
    return true;
  } catch (const std::exception& e) {
    // What was not committed is not stored: the count says so.
    taken_ = committed_;
    failed_ = true;
    try {
      store_.Database->Rollback();
    } catch (...) {
      // The commit's error is the one reported.
    }
    store_.LogError(e, QStringLiteral("SetArtikel"));
    return false;
  }
}

bool TArticleTakeOver::Finish() { return Commit(); }

void TArticleTakeOver::Take(TKSPRDatabaseObj& entry, const QString& name) {
  if (progress_ && !progress_->Step(taken_)) throw TTakeOverStop{};
  if (!MayStore(entry.Katalog, entry.ArtikelNr, name)) return;
  if (!store_.SetArtikel(&entry)) {  // reported by the store
    failed_ = true;
    if (batchRows_ > 0) throw TTakeOverStop{};
    return;
  }
  ++taken_;
  if (open_ && ++inBatch_ >= batchRows_) {
    if (!Commit()) throw TTakeOverStop{};
    Begin();
  }
}

// The rows of the open batch count: the table's own connection sees them.
bool TArticleTakeOver::MayStore(const QString& katalog, const QString& artikelNr, const QString& name) {
  if (!store_.SeekArtikel(katalog, artikelNr)) return true;
  if (overwriteMode_ == omSkipAll) return false;
  if (overwriteMode_ == omOverwriteAll) return true;
  // No other workstation waits for the table while the user thinks.
  const bool batched = open_;
  if (batched && !Commit()) throw TTakeOverStop{};
  const int answer =
      MessageDlg(FormatText(Tr("Der Artikel \"%s\" existiert bereits."), {name}) + QLatin1Char('\n') + Tr("Ueberschreiben?"),
                 TMsgDlgType::mtConfirmation,
                 {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbNoToAll, TMsgDlgBtn::mbYesToAll});
  if (batched) Begin();
  if (answer == mrNoToAll) overwriteMode_ = omSkipAll;
  if (answer == mrYesToAll) overwriteMode_ = omOverwriteAll;
  return answer == mrYes || answer == mrYesToAll;
}
