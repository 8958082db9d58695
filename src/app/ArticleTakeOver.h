#pragma once
// Taking articles over into the article-specific price table: the price the
// user chose, the question for articles already in the table, and, for a
// whole catalogue or warehouse, rows committed in batches with a progress
// window that can stop the run.
#include <QString>
#include <vector>

#include "CurrencyValue.h"

class TKSPRDatabase;
class TKSPRDatabaseObj;
class TLagerServerObj;
class TTakeOverProgress;

// The items of the price choice ("Kein Preis", "Verkaufspreis 1" to 5, "Einkaufspreis").
constexpr int kPriceChoiceCount = 7;
constexpr int kPriceChoicePurchase = 6;

// The price of a warehouse article by the choice; none (or no choice) gives 0.
Currency LagerArtikelPreis(const TLagerServerObj& article, int choice);

// Answer memory of the overwrite question for the rest of one take-over.
enum TOverwriteMode { omAsk = 0, omSkipAll = 1, omOverwriteAll = 2 };

// One article to take over (scale and discount are not taken over). The
// question for an existing one names it by number and description, followed
// by its source in brackets when that is given.
struct TTakeOverRow {
  QString katalog, artikelNr, bezeichnung;
  Currency preis = 0;
  double zeit = 0;
  Currency lohn = 0;
  QString source;
};

// Thrown by the per-article step when the run is to end (the user stopped it,
// or a row could not be stored); not an error: enumerations pass it on.
struct TTakeOverStop {};

class TArticleTakeOver {
 public:
  // overwriteMode: the page's answer memory, which the caller resets per take-over.
  TArticleTakeOver(TKSPRDatabase& store, int& overwriteMode);
  ~TArticleTakeOver();  // commits what is still open
  TArticleTakeOver(const TArticleTakeOver&) = delete;
  TArticleTakeOver& operator=(const TArticleTakeOver&) = delete;

  // From now on articles are gathered and written batchRows at a time, each
  // batch in one commit. The table stays free while the next batch is
  // gathered, so another workstation's write waits at most for one batch.
  // Every article is one step of the progress.
  void UseBatches(TTakeOverProgress* progress, int batchRows);

  // Stores the row unless its article exists and the user (or the answer
  // memory) says to skip it. In batches a failed row or a stop throws
  // TTakeOverStop.
  void Take(TTakeOverRow row);
  // Writes what is gathered; false when a row or the commit failed (reported).
  bool Finish();

  qint64 Taken() const { return taken_; }
  bool Failed() const { return failed_; }

 private:
  static void Fill(const TTakeOverRow& row, TKSPRDatabaseObj& entry);
  bool MayStore(const TTakeOverRow& row);
  bool Store(const TTakeOverRow& row, TKSPRDatabaseObj& entry);
  bool StoreInBatch(const TTakeOverRow& row, TKSPRDatabaseObj& entry);
  bool WriteBatch();
  bool Commit();
  bool Begin();

  TKSPRDatabase& store_;
  int& overwriteMode_;
  TTakeOverProgress* progress_ = nullptr;
  int batchRows_ = 0;  // 0: every row is committed by itself
  std::vector<TTakeOverRow> pending_;
  bool open_ = false;
  qint64 taken_ = 0;
  qint64 committed_ = 0;
  bool failed_ = false;
};
