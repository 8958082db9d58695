#pragma once
// A material catalogue: seven tables in the catalogue's own directory. The
// pricing editor reads articles from it; the writers serve the demo data
// and the tests.
#include <QString>
#include <functional>

#include "Katalog1Artikel.h"
#include "TDBCore.h"

class TKatalog1DB : public TDatabaseWrapper {
 public:
  explicit TKatalog1DB(TDBLogCallback onLog = {});
  ~TKatalog1DB() override;

  TTdbTable* Catalog = nullptr;      // the articles, working index CATALOG001
  TTdbTable* CatalogLT = nullptr;    // long texts
  TTdbTable* CatalogSet = nullptr;   // article sets
  TTdbTable* CatalogGS = nullptr;    // attached objects, several per key
  TTdbTable* CatalogRab = nullptr;   // discount groups
  TTdbTable* CatalogWrg = nullptr;   // product groups
  TTdbTable* CatalogVerk = nullptr;  // surcharge by net-price band

  // Opens the catalogue directory; errors are passed on.
  void Open(const QString& directory, bool readOnly = false) { OpenDir(directory, false, readOnly); }

  // No older layout is known: nothing to add.
  int AlterTables() override { return -1; }

  // Empty when the table has no records.
  QString Artikel_GetCurrentObjID();
  // Exact search of the article number; false for an empty one.
  bool SeekObj(const QString& id);
  // Back to CATALOG001, then on the first article number at or after the text.
  bool Artikel_FindNextObj(const QString& text);
  // -1: empty table (the article is reset); 1: the article's number is not
  // there; 0: the row was read (an empty number takes the current row's).
  int Artikel_GetObjectShort(TKatalog1Artikel& article);
  // As above, and on success also the long text, the sales surcharge and the attached objects.
  int Artikel_GetObject(TKatalog1Artikel& article);

  // The lookups give the neutral result when nothing is found or the engine fails.
  QString Langtext_GetLangtext(const QString& langtextNr);
  double Rabatt_GetVerkaufszuschlag(const QString& rabattgruppe);
  // The surcharge of the first band whose upper bound is at least the net price.
  double Verkauf_GetAufschlag(double netto);
  void AnbindObj_GetAllAnbindObj(const QString& anbindNr, TKatalog1AnbindObjObjectList& list);

  // Every article once, in the active index's order, read as by
  // Artikel_GetObjectShort into one reused article. True when the database
  // is not open or every article was passed. Without lists the XMLDATA
  // lists stay empty (and cost nothing).
  bool ForEachArtikel(const std::function<void(TKatalog1Artikel&)>& callback, bool withLists = true);

  // Stores the article's row (replacing one with the same number), its long
  // text under LANGTEXTNR and its attached objects under ANBINDNR.
  bool Artikel_SetObject(TKatalog1Artikel& article);
  // Stores the articles next() fills until it returns false, committing every
  // batchRows articles together. On an error the batches before it stay.
  bool Artikel_SetObjectsBatched(const std::function<bool(TKatalog1Artikel&)>& next, int batchRows = kBatchRows);
  bool Rabatt_SetGruppe(const QString& id, const QString& beschreibung, double rabatt, double vkZuschlag);
  bool Verkauf_SetAufschlag(double bisNetto, double aufschlag);
  bool Warengruppe_Set(const QString& hauptWrg, const QString& wrg, bool isHauptWrg, const QString& beschreibung);

  static constexpr int kBatchRows = 4000;

 protected:
  void CreateTableDefs(TTdbTable& table) override;
  void CreateTables() override;
  void PrepareTables() override;

 private:
  TTdbTable* AddTable(const QString& name);
  QString CurrentID() const;
  // Stores the articles next() hands out until it gives none.
  bool StoreBatched(const std::function<TKatalog1Artikel*()>& next, int batchRows);
  void StoreArtikel(TKatalog1Artikel& article);
  void StoreLangtext(const QString& langtextNr, const QString& text);
  void StoreAnbindObjekte(const QString& anbindNr, const TKatalog1AnbindObjObjectList& list);
  // Edits the row with that key, or appends one.
  void EditOrAppend(TTdbTable& table, const QString& column, const QVariant& key);
};
