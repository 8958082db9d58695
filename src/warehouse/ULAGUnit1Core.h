#pragma once
// The warehouse article database: table LAGER (one row per article, the
// further data as XML) and table LAGERSN (serial numbers), in the warehouse
// data directory. The pricing editor reads it, lists and searches it.
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "LagerServerObj.h"
#include "OwningObjectList.h"
#include "TDBCore.h"

// One row of a warehouse search. A search fills number, description and
// group; the rest is read when the row is shown (Complete then).
struct TDBLagerSearchResult {
  QString LagerArtikelNr, Bezeichnung, Gruppe, Lagerort, Rabattgruppen;
  Currency EKPreis = 0;
  std::array<Currency, 5> Vkp{};
  bool IsNotBestandsArtikel = false;
  QString ME;
  qint32 ViewColor = 0;
  double SummeWareneingangMe = 0, Anfangsbestand = 0;
  bool Complete = false;
};

// The tests of a search: each blank-separated term must occur in the
// upper-cased description, and the group, when given, must match ignoring case.
class TLagerSearchTerms {
 public:
  TLagerSearchTerms(const QString& text, const QString& group);
  bool Matches(const QString& description, const QString& group) const;

 private:
  QStringList terms_;
  QString group_;
};

class TDBLagerSearchResultObjectList : public TOwningObjectList<TDBLagerSearchResult> {
 public:
  // The rows held here that pass the group and term tests, copied into results.
  void Search(const QString& group, const QString& text, TDBLagerSearchResultObjectList& results) const;
};

class IModLagerDBServerObj : public TDatabaseWrapper {
 public:
  explicit IModLagerDBServerObj(TDBLogCallback onLog = {});
  ~IModLagerDBServerObj() override;

  TTdbTable* Lager = nullptr;    // "LAGER", index "001"
  TTdbTable* LagerSN = nullptr;  // "LAGERSN", index "001SN"

  // Opens the warehouse data directory; errors are passed on.
  void Open(const QString& directory, bool readOnly = false);

  // Adds the columns an older LAGER table lacks; 0 when columns were added,
  // -1 when the table was current or on an error.
  int AlterTables() override;

  // Empty for an empty table or on an error.
  QString GetCurrentLagerArtikelNr();
  // -1 for an empty number, an empty table or an error; -2 when the number
  // is not there; 0 when the article was read.
  int GetLagerArtikel(TLagerServerObj& article);
  // Stores the article (its row replaced when the number exists); 0 or -1.
  int SetLagerArtikel(TLagerServerObj& article);

  // Appends a short row for every article that passes the tests.
  void Search(const QString& text, const QString& group, TDBLagerSearchResultObjectList& results,
              bool skipNotStock, bool onlyStockTaking);
  // Reads the rest of a short row; false when its article is gone or on an error.
  bool InitializeSearchResult(TDBLagerSearchResult& row);

  // Shows only the serial numbers of the article in LagerSN.
  void SetVisibleSN(const QString& lagerArtikelNr);

  // One float column of the article's row: 0 when not found; false when not stored.
  double GetFieldByNameFloat(const QString& lagerArtikelNr, const QString& field);
  bool SetFieldByNameFloat(const QString& lagerArtikelNr, const QString& field, double value);

  // Every article once, in number order, read completely into one reused
  // object. True when the database is not open or every article was passed.
  bool ForEachLagerArtikel(const std::function<void(TLagerServerObj&)>& callback);

 protected:
  void CreateTableDefs(TTdbTable& table) override;
  void CreateTables() override;
  void PrepareTables() override;

 private:
  bool LocateArtikel(const QString& lagerArtikelNr);
  void WriteRow(TLagerServerObj& article);

  TLagerServerObj completer_;  // reused by InitializeSearchResult
};
