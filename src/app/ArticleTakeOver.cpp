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

void TArticleTakeOver::Fill(const TTakeOverRow& row, TKSPRDatabaseObj& entry) {
  entry.Clear();
  entry.Katalog = row.katalog;
  entry.ArtikelNr = row.artikelNr;
  entry.Bezeichnung = row.bezeichnung;
  entry.Preis = row.preis;
  entry.Zeit = row.zeit;
  entry.Lohn = row.lohn;
}

void TArticleTakeOver::Take(TTakeOverRow row) {
  if (batchRows_ == 0) {
    TKSPRDatabaseObj single;
    Store(row, single);
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
  std::vector<TTakeOverRow> batch;
  batch.swap(pending_);
  pending_.reserve(size_t(batchRows_));
  TKSPRDatabaseObj entry;
  bool ok = Begin();
  for (size_t i = 0; ok && i < batch.size(); ++i) ok = StoreInBatch(batch[i], entry);
  const bool committed = Commit();
  store_.RefreshTables();  // the rows appended past the cursor
  return committed && ok;
}

// A new article goes in at once; only an existing one is looked at and asked about.
bool TArticleTakeOver::StoreInBatch(const TTakeOverRow& row, TKSPRDatabaseObj& entry) {
  Fill(row, entry);
  switch (store_.AppendNewArtikel(entry)) {
    case TKSPRDatabase::TAppend::Appended:
      ++taken_;
      return true;
    case TKSPRDatabase::TAppend::Exists:
      return Store(row, entry);
    case TKSPRDatabase::TAppend::Failed:
      break;
  }
  failed_ = true;
  return false;
}

// False when the row could not be stored (the store reported it).
bool TArticleTakeOver::Store(const TTakeOverRow& row, TKSPRDatabaseObj& entry) {
  if (!MayStore(row)) return !failed_;
  Fill(row, entry);
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
bool TArticleTakeOver::MayStore(const TTakeOverRow& row) {
  if (!store_.HasArtikel(row.katalog, row.artikelNr)) return true;
  if (overwriteMode_ == omSkipAll) return false;
  if (overwriteMode_ == omOverwriteAll) return true;
  const bool batched = open_;
  if (batched && !Commit()) return false;
  QString name = row.artikelNr + QLatin1Char(' ') + row.bezeichnung;
  if (!row.source.isEmpty()) name += QStringLiteral(" (") + row.source + QLatin1Char(')');
  const int answer = MessageDlg(
      FormatText(Tr("Der Artikel \"%s\" existiert bereits."), {name}) + QLatin1Char('\n') + Tr("Ueberschreiben?"),
      TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbNoToAll, TMsgDlgBtn::mbYesToAll});
  if (batched && !Begin()) return false;
  if (answer == mrNoToAll) overwriteMode_ = omSkipAll;
  if (answer == mrYesToAll) overwriteMode_ = omOverwriteAll;
  return answer == mrYes || answer == mrYesToAll;
}
