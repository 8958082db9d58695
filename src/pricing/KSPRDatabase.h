#pragma once
// The article-specific prices of one customer (or of the standard table): one
// row per catalogue and article number with price, discount, working time,
// labour price and the article's quantity scale as XML, in a one-file
// database per address.
#include <QString>
#include <functional>

#include "CmnCustomObjectLists.h"
#include "CurrencyValue.h"
#include "DBXMLCore.h"
#include "TDBCore.h"

// One article's entry as it moves between the table and the editor.
class TKSPRDatabaseObj : public TDBXMLCoreObject {
 public:
  TKSPRDatabaseObj();

  QString Katalog;
  QString ArtikelNr;
  QString Bezeichnung;
  Currency Preis = 0;
  double Rabatt = 0;
  double Zeit = 0;
  Currency Lohn = 0;
  // Per entry: quantity from which it applies, discount in percent, price.
  TFloatFloatFloatObjectList Mengenstaffel;

  void Clear() override;

 protected:
  void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override;
  void Characters(QStringView text) override;
  void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) override;
  void WriteXML(bool flag) override;
};

class TKSPRDatabase : public TDatabaseWrapper {
 public:
  explicit TKSPRDatabase(TDBLogCallback onLog = {});

  TTdbTable* Table = nullptr;  // "KSP", the grid's table

  // Replaces the row of the entry's catalogue and article number, or appends one.
  bool SetArtikel(TKSPRDatabaseObj* entry);
  // Stores the entries next() fills until it returns false, committing every
  // batchRows rows together (a whole catalogue costs a few writes to disk,
  // not one per article). On an error the batches before it stay stored and
  // the failing one is undone; the report says how many entries are stored.
  bool SetArtikelBatched(const std::function<bool(TKSPRDatabaseObj&)>& next, int batchRows = kBatchRows);
  // The bulk path: a row for the entry unless its pair has one already
  // (Exists, nothing written); the index check and the insert are one step.
  // The cursor does not follow: RefreshTables() once after the bulk work.
  enum class TAppend { Appended, Exists, Failed };  // Failed: reported
  TAppend AppendNewArtikel(TKSPRDatabaseObj& entry);
  // Whether the exact, case-sensitive pair has a row; the cursor stays (a
  // take-over asks this per article).
  bool HasArtikel(const QString& katalog, const QString& artikelNr);
  // Exact, case-sensitive pair.
  bool SeekArtikel(const QString& katalog, const QString& artikelNr);
  bool GetCurrentArtikel(QString& katalog, QString& artikelNr);
  bool GetCurrentMengenstaffel(TKSPRDatabaseObj* entry);
  // Writes only the scale, and only when the current row is the entry's (ignoring case).
  bool SetCurrentMengenstaffel(TKSPRDatabaseObj* entry);
  bool DeleteCurrentArtikel();
  void Close() { CloseDatabase(); }

  // Adds RABATT (before ZEIT) and XMLDATA (at the end) to older tables, keeping the rows.
  int AlterTables() override;

  static constexpr int kBatchRows = 4000;

 protected:
  void CreateTableDefs(TTdbTable& table) override;
  void CreateTables() override;
  void PrepareTables() override;

 private:
  // The row of the exact pair; 0 when there is none.
  qint64 RowIdOf(const QString& katalog, const QString& artikelNr);
  void StoreArtikel(TKSPRDatabaseObj& entry);
  bool InsertIfNew(TKSPRDatabaseObj& entry);
  void WriteCurrentRow(TKSPRDatabaseObj& entry);
  void ReadCurrentRow(TKSPRDatabaseObj& entry);
  bool HasRows() const;
  // Ends a batch that failed; what the report adds about what is stored.
  QString EndFailedBatch(qint64 storedEntries);
};
