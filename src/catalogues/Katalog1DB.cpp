#include "Katalog1DB.h"

#include "Katalog1Tables.h"
#include "TdbConnection.h"

#include <utility>

using namespace katalog1;

namespace {
const QString cID = QStringLiteral("ID");

// A cached statement on the table's file; %1 stands for the table.
TdbStatement Query(const TTdbTable& table, const QString& sql) {
  TdbConnection& c = table.Connection();
  return TdbStatement(c.Handle(), c.Cached(sql.arg(QuoteIdentifier(table.TableName()))));
}

// The first row whose column holds the key; 0 when there is none.
qint64 RowIdOf(const TTdbTable& table, const QString& column, const QVariant& key) {
  TdbStatement q = Query(table, QStringLiteral("SELECT rowid FROM %1 WHERE ") + QuoteIdentifier(column) +
                                    QStringLiteral(" IS ? LIMIT 1"));
  q.Bind(1, key);
  return q.Step() ? q.Int64(0) : 0;
}

// A lookup that fails inside the engine gives the neutral result, silently.
template <class T, class Lookup>
T Quietly(T neutral, Lookup&& lookup) {
  try {
    return lookup();
  } catch (const std::exception&) {
    return neutral;
  }
}

void CancelEdit(TTdbTable& table) {
  if (table.State() == TdbState::Edit || table.State() == TdbState::Insert) table.Cancel();
}

void SetText(TTdbTable& table, const char* column, const QString& value) {
  table.FieldByName(QString::fromLatin1(column)).SetValue(value.isNull() ? QStringLiteral("") : value);
}
}  // namespace

TKatalog1DB::TKatalog1DB(TDBLogCallback onLog) : TDatabaseWrapper(std::move(onLog)) { InitTables(); }

TKatalog1DB::~TKatalog1DB() = default;

// ---- tables ----

TTdbTable* TKatalog1DB::AddTable(const QString& name) {
  auto table = std::make_unique<TTdbTable>(Database.get());
  table->SetTableName(name);
  table->SetIndexName(WorkingIndexOf(name));
  return Tables.Add(std::move(table));
}

void TKatalog1DB::CreateTables() {
  Catalog = AddTable(kCatalog);
  CatalogLT = AddTable(kCatalogLT);
  CatalogSet = AddTable(kCatalogSet);
  CatalogGS = AddTable(kCatalogGS);
  CatalogRab = AddTable(kCatalogRab);
  CatalogWrg = AddTable(kCatalogWrg);
  CatalogVerk = AddTable(kCatalogVerk);
}

void TKatalog1DB::CreateTableDefs(TTdbTable& table) { DefineTable(table); }

void TKatalog1DB::PrepareTables() {
  for (TTdbTable& table : Tables) table.SetIndexName(WorkingIndexOf(table.TableName()));
}

// ---- reading ----

QString TKatalog1DB::CurrentID() const { return Catalog->IsEmpty() ? QString() : Catalog->FieldByName(cID).AsString(); }

QString TKatalog1DB::Artikel_GetCurrentObjID() {
  return Guarded(*Catalog, QStringLiteral("Artikel_GetCurrentObjID"), QString(), [&] { return CurrentID(); });
}

bool TKatalog1DB::SeekObj(const QString& id) {
  if (id.isEmpty()) return false;
  // By number whatever index is active, so another sort order cannot find a match code instead.
  return Guarded(*Catalog, QStringLiteral("SeekObj"), false, [&] { return Catalog->Locate(cID, id); });
}

bool TKatalog1DB::Artikel_FindNextObj(const QString& text) {
  if (text.isEmpty()) return false;
  return Guarded(*Catalog, QStringLiteral("Artikel_FindNextObj"), false, [&] {
    if (Catalog->IndexName() != kCatalogIndex) Catalog->SetIndexName(kCatalogIndex);
    Catalog->FindNearest({text});
    return true;
  });
}

int TKatalog1DB::Artikel_GetObjectShort(TKatalog1Artikel& article) {
  return Guarded(*Catalog, QStringLiteral("Artikel_GetObjectShort"), -1, [&] {
    if (Catalog->IsEmpty()) {
      article.Clear();
      return -1;
    }
    const QString current = CurrentID();
    if (article.ID.isEmpty()) article.ID = current;
    if (current != article.ID && !Catalog->Locate(cID, article.ID)) return 1;
    ReadArticle(*Catalog, ArticleColumnMap(*Catalog), article);
    return 0;
  });
}

int TKatalog1DB::Artikel_GetObject(TKatalog1Artikel& article) {
  const int result = Artikel_GetObjectShort(article);
  if (result != 0) return result;
  article.Langtext = Langtext_GetLangtext(article.LANGTEXTNR);
  article.Verkaufszuschlag = 0;
  if (!article.RABATTGR.isEmpty()) article.Verkaufszuschlag = Rabatt_GetVerkaufszuschlag(article.RABATTGR);
  if (article.Verkaufszuschlag == 0) article.Verkaufszuschlag = Verkauf_GetAufschlag(CurrencyToDouble(article.NETTO));
  AnbindObj_GetAllAnbindObj(article.ANBINDNR, article.AnbindObjekte);
  return 0;
}

QString TKatalog1DB::Langtext_GetLangtext(const QString& langtextNr) {
  if (langtextNr.isEmpty()) return QString();
  return Quietly(QString(), [&] {
    // A long text kept in several rows reads as one, in row order.
    TdbStatement q = Query(*CatalogLT, QStringLiteral("SELECT LT FROM %1 WHERE ID IS ? ORDER BY rowid"));
    q.Bind(1, langtextNr);
    QStringList parts;
    while (q.Step()) parts << q.Text(0);
    return parts.join(QStringLiteral("\r\n"));
  });
}

double TKatalog1DB::Rabatt_GetVerkaufszuschlag(const QString& rabattgruppe) {
  return Quietly(0.0, [&] {
    TdbStatement q = Query(*CatalogRab, QStringLiteral("SELECT VKZUSCHLAG FROM %1 WHERE ID IS ? LIMIT 1"));
    q.Bind(1, rabattgruppe.isNull() ? QStringLiteral("") : rabattgruppe);
    return q.Step() ? q.Double(0) : 0.0;
  });
}

double TKatalog1DB::Verkauf_GetAufschlag(double netto) {
  if (!(netto > 0)) return 0;
  return Quietly(0.0, [&] {
    TdbStatement q = Query(*CatalogVerk, QStringLiteral("SELECT AUFSCHLAG FROM %1 WHERE BISNETTO >= ? ORDER BY BISNETTO LIMIT 1"));
    q.Bind(1, netto);
    return q.Step() ? q.Double(0) : 0.0;
  });
}

void TKatalog1DB::AnbindObj_GetAllAnbindObj(const QString& anbindNr, TKatalog1AnbindObjObjectList& list) {
  list.Clear();
  if (anbindNr.isEmpty()) return;
  Quietly(0, [&] {
    TdbStatement q = Query(*CatalogGS, QStringLiteral("SELECT ID, IDTYPE, BESCHREIBUNG, DATEINAME, ERWEITERUNG FROM %1 WHERE ID IS ? ORDER BY rowid"));
    q.Bind(1, anbindNr);
    while (q.Step()) {
      TKatalog1AnbindObj* o = list.Add(std::make_unique<TKatalog1AnbindObj>());
      o->ID = q.Text(0);
      o->IDTYPE = quint8(q.Int64(1));
      o->Beschreibung = q.Text(2);
      o->Dateiname = q.Text(3);
      o->Erweiterung = q.Text(4);
    }
    return 0;
  });
}

bool TKatalog1DB::ForEachArtikel(const std::function<void(TKatalog1Artikel&)>& callback, bool withLists) {
  if (!Opened) return true;
  return Guarded(*Catalog, QStringLiteral("ForEachArtikel"), false, [&] {
    TKatalog1Artikel article;
    const ArticleColumnMap map(*Catalog);
    TdbStatement walk = Catalog->Connection().Prepare(Catalog->SelectSql(QString(), false, QString()));
    while (walk.Step()) {
      ReadArticle(walk, map, article, withLists);
      callback(article);
    }
    return true;
  });
}

// ---- writing ----

void TKatalog1DB::EditOrAppend(TTdbTable& table, const QString& column, const QVariant& key) {
  const qint64 rowId = RowIdOf(table, column, key);
  if (rowId != 0 && table.GotoRowId(rowId)) {
    table.Edit();
  } else {
    table.Append();
    table.FieldByName(column).SetValue(key);
  }
}

void TKatalog1DB::StoreLangtext(const QString& langtextNr, const QString& text) {
  EditOrAppend(*CatalogLT, cID, langtextNr);
  CatalogLT->FieldByName(QStringLiteral("IDTYPE")).SetAsInteger(0);
  SetText(*CatalogLT, "LT", text);
  CatalogLT->Post();
}

void TKatalog1DB::StoreAnbindObjekte(const QString& anbindNr, const TKatalog1AnbindObjObjectList& list) {
  for (qint64 rowId; (rowId = RowIdOf(*CatalogGS, cID, anbindNr)) != 0 && CatalogGS->GotoRowId(rowId);)
    CatalogGS->Delete();
  for (const TKatalog1AnbindObj& o : list) {
    CatalogGS->Append();
    SetText(*CatalogGS, "ID", anbindNr);
    CatalogGS->FieldByName(QStringLiteral("IDTYPE")).SetAsInteger(o.IDTYPE);
    SetText(*CatalogGS, "BESCHREIBUNG", o.Beschreibung);
    SetText(*CatalogGS, "DATEINAME", o.Dateiname);
    SetText(*CatalogGS, "ERWEITERUNG", o.Erweiterung);
    CatalogGS->Post();
  }
}

void TKatalog1DB::StoreArtikel(TKatalog1Artikel& article) {
  if (article.ID.isEmpty()) throw Exception(QStringLiteral("article without a number"));
  EditOrAppend(*Catalog, cID, article.ID);
  WriteArticle(*Catalog, article);
  Catalog->Post();
  if (!article.LANGTEXTNR.isEmpty()) StoreLangtext(article.LANGTEXTNR, article.Langtext);
  if (!article.ANBINDNR.isEmpty()) StoreAnbindObjekte(article.ANBINDNR, article.AnbindObjekte);
}

bool TKatalog1DB::Artikel_SetObject(TKatalog1Artikel& article) {
  bool given = false;
  return StoreBatched([&]() -> TKatalog1Artikel* { return std::exchange(given, true) ? nullptr : &article; }, 1);
}

bool TKatalog1DB::Artikel_SetObjectsBatched(const std::function<bool(TKatalog1Artikel&)>& next, int batchRows) {
  TKatalog1Artikel article;
  return StoreBatched(
      [&]() -> TKatalog1Artikel* {
        article.Clear();
        return next(article) ? &article : nullptr;
      },
      batchRows);
}

bool TKatalog1DB::StoreBatched(const std::function<TKatalog1Artikel*()>& next, int batchRows) {
  TTdbControlsDisabled still(*Catalog);
  const bool done = Guarded(*Catalog, QStringLiteral("Artikel_SetObject"), false, [&] {
    try {
      Database->StartTransaction();
      for (int inBatch = 0;;) {
        TKatalog1Artikel* article = next();
        if (!article) break;
        StoreArtikel(*article);
        if (++inBatch < batchRows) continue;
        Database->Commit();
        inBatch = 0;
        Database->StartTransaction();
      }
      Database->Commit();
      return true;
    } catch (...) {
      for (TTdbTable& table : Tables) CancelEdit(table);
      if (Database->InTransaction()) Database->Rollback();
      throw;
    }
  });
  RefreshTables();
  return done;
}

bool TKatalog1DB::Rabatt_SetGruppe(const QString& id, const QString& beschreibung, double rabatt, double vkZuschlag) {
  return Guarded(*CatalogRab, QStringLiteral("Rabatt_SetGruppe"), false, [&] {
    EditOrAppend(*CatalogRab, cID, id);
    SetText(*CatalogRab, "BESCHREIBUNG", beschreibung);
    CatalogRab->FieldByName(QStringLiteral("RABATT")).SetAsFloat(rabatt);
    CatalogRab->FieldByName(QStringLiteral("VKZUSCHLAG")).SetAsFloat(vkZuschlag);
    CatalogRab->Post();
    return true;
  });
}

bool TKatalog1DB::Verkauf_SetAufschlag(double bisNetto, double aufschlag) {
  return Guarded(*CatalogVerk, QStringLiteral("Verkauf_SetAufschlag"), false, [&] {
    EditOrAppend(*CatalogVerk, QStringLiteral("BISNETTO"), bisNetto);
    CatalogVerk->FieldByName(QStringLiteral("AUFSCHLAG")).SetAsFloat(aufschlag);
    CatalogVerk->Post();
    return true;
  });
}

bool TKatalog1DB::Warengruppe_Set(const QString& hauptWrg, const QString& wrg, bool isHauptWrg,
                                  const QString& beschreibung) {
  return Guarded(*CatalogWrg, QStringLiteral("Warengruppe_Set"), false, [&] {
    if (CatalogWrg->Locate(QStringLiteral("HAUPTWRG;WRG"), {hauptWrg, wrg})) {
      CatalogWrg->Edit();
    } else {
      CatalogWrg->Append();
      SetText(*CatalogWrg, "HAUPTWRG", hauptWrg);
      SetText(*CatalogWrg, "WRG", wrg);
    }
    CatalogWrg->FieldByName(QStringLiteral("ISHAUPTWRG")).SetAsBoolean(isHauptWrg);
    SetText(*CatalogWrg, "BESCHREIBUNG", beschreibung);
    CatalogWrg->Post();
    return true;
  });
}
