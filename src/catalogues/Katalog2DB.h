#pragma once
// A supplier catalogue: one table SCATALOG (marker file SCATALOG.DAT) in the
// catalogue's directory. Reads articles, delivers the short rows of search
// results, filters by search terms and walks the whole catalogue.
#include <QString>
#include <QStringList>
#include <functional>

#include "Katalog2Artikel.h"
#include "TDBCore.h"

class TSystemEinstellungen;

class TKatalog2DB : public TDatabaseWrapper {
 public:
  explicit TKatalog2DB(TDBLogCallback onLog = {});
  ~TKatalog2DB() override;

  static const QString kTable;     // "SCATALOG"
  static const QString kIndexID;   // "SCATALOG001", the working index
  static const QString kIndexGroup;  // "SCATALOG002"
  static const QString kIndexEK;   // "SCATALOG003"
  static const QString kIndexEAN;  // "SCATALOG001EAN", made by the first EAN lookup

  TTdbTable* SCatalog = nullptr;
  // Prices are derived with these; null: the process-wide system settings.
  const TSystemEinstellungen* Settings = nullptr;

  // Opens the catalogue directory; errors are passed on.
  void Open(const QString& directory, bool readOnly = false);

  // Adds the columns an older table lacks (from MWSTSATZ on), keeping the
  // rows; 0 when columns were added, -1 when the table was current or on an error.
  int AlterTables() override;

  // Empty for an empty table or on an error.
  QString GetCurrentObjID();
  // Positions on the article with exactly this number.
  bool SeekObj(const QString& id);
  // Positions on the first article whose number is at or after the text,
  // whichever index is active; false for an empty text or table.
  bool FindNextObj(const QString& text);
  // The article number of the first article with this EAN; empty when there
  // is none. Makes the EAN index when the file lacks it (unless read-only);
  // the active index stays the one the caller had.
  QString GetIDByEAN(const QString& ean);
  // -1 empty table (the article is reset), 1 not found, 0 loaded. An empty
  // ID takes the current row's. Every column but EAN is read: the article's
  // EAN stays as the caller set it.
  int GetObject(TKatalog2Artikel& article);
  // Fills the short row of the row's article number; false when it is gone.
  bool GetObjectShortData(TSearchtextResultKatalog2& row);

  // The terms of the record filter (blank-separated); they apply while
  // SCatalog is filtered. A row passes when every term occurs in its ID or in
  // its DESCRIPTION, a blank and INFO, compared upper-cased and XML-escaped.
  void SetSearchTerms(const QString& text);
  const QStringList& SearchTerms() const { return searchTerms_; }

  // Makes the index "SCATALOG001EAN" unless the table has it; false when it
  // is missing and cannot be made (read-only) or on an error.
  bool EnsureEANIndex();

  // Every article once, in the order of the active index, unfiltered, read
  // completely (EAN too) into one reused article; the caller sets the
  // catalogue key. True when the database is not open or every article was passed.
  bool ForEachArtikel(const std::function<void(TKatalog2Artikel&)>& callback);

  // Stores the article (its row replaced when the number exists); 0, or -1
  // for an article without number or on an error.
  int SetObject(TKatalog2Artikel& article);
  // Stores the articles next() fills (until it returns false), committed in
  // batches of batchRows; an error or an article without number ends it with
  // false and undoes the batch it happened in.
  bool SetObjectsBatched(const std::function<bool(TKatalog2Artikel&)>& next, int batchRows = 2000);

 protected:
  void CreateTableDefs(TTdbTable& table) override;
  void CreateTables() override;
  void PrepareTables() override;

 private:
  const TSystemEinstellungen& PriceSettings() const;
  bool PassesSearchTerms(const TTdbTable& table) const;

  QStringList searchTerms_;
};
