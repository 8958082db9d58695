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
  batchRows_ = std::max(batchRows, 1);
  pending_.reserve(size_t(batchRows_));
}

void TArticleTakeOver::Fill(const Pending& row, TKSPRDatabaseObj& entry) {
  entry.Clear();
  entry.Katalog = row.katalog;
  entry.ArtikelNr = row.artikelNr;
  entry.Bezeichnung = row.bezeichnung;
  entry.Preis = row.preis;
  entry.Zeit = row.zeit;
  entry.Lohn = row.lohn;
}

void TArticleTakeOver::Take(const TKSPRDatabaseObj& entry, const QString& name) {
  Pending row{entry.Katalog, entry.ArtikelNr, entry.Bezeichnung, name, entry.Preis, entry.Zeit, entry.Lohn};
  if (batchRows_ == 0) {
    TKSPRDatabaseObj single;
    Fill(row, single);
    Store(single, name);
    return;
  }
  if (progress_ && !progress_->Step(taken_ + qint64(pending_.size()))) throw TTakeOverStop{};
  pending_.push_back(std::move(row));
  if (int(pending_.size()) >= batchRows_ && !WriteBatch()) throw TTakeOverStop{};
}

bool TArticleTakeOver::Finish() { return WriteBatch(); }

// One transaction per batch; the question for an existing article ends it
// first, so that no other workstation waits for the table while the user thinks.
bool TArticleTakeOver::WriteBatch() {
  if (pending_.empty()) return !failed_;
  std::vector<Pending> batch;
  batch.swap(pending_);
  pending_.reserve(size_t(batchRows_));
  TKSPRDatabaseObj entry;
  bool ok = Begin();
  for (size_t i = 0; ok && i < batch.size(); ++i) {
    Fill(batch[i], entry);
    ok = Store(entry, batch[i].name);
  }
  return Commit() && ok;
}

// False when the row could not be stored (the store reported it).
bool TArticleTakeOver::Store(TKSPRDatabaseObj& entry, const QString& name) {
  if (!MayStore(entry.Katalog, entry.ArtikelNr, name)) return !failed_;
  if (!store_.SetArtikel(&entry)) {
    failed_ = true;
    return false;
  }
  ++taken_;
  return true;
}

bool TArticleTakeOver::Begin() {
  if (open_) return true;
  try {
    store_.Database->StartTransaction();
    open_ = true;
    return true;
  } catch (const std::exception& e) {
    store_.LogError(e, QStringLiteral("SetArtikel"));
    failed_ = true;
    return false;
  }
}

bool TArticleTakeOver::Commit() {
  if (!open_) return true;
  open_ = false;
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

// The rows of the open batch count: the table's own connection sees them.
bool TArticleTakeOver::MayStore(const QString& katalog, const QString& artikelNr, const QString& name) {
  if (!store_.HasArtikel(katalog, artikelNr)) return true;
  if (overwriteMode_ == omSkipAll) return false;
  if (overwriteMode_ == omOverwriteAll) return true;
  const bool batched = open_;
  if (batched && !Commit()) return false;
  const int answer = MessageDlg(
      FormatText(Tr("Der Artikel \"%s\" existiert bereits."), {name}) + QLatin1Char('\n') + Tr("Ueberschreiben?"),
      TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbNoToAll, TMsgDlgBtn::mbYesToAll});
  if (batched && !Begin()) return false;
  if (answer == mrNoToAll) overwriteMode_ = omSkipAll;
  if (answer == mrYesToAll) overwriteMode_ = omOverwriteAll;
  return answer == mrYes || answer == mrYesToAll;
}
