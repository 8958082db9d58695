#include "ULAGUnit1Core.h"

#include "ColumnRows.h"

namespace {
const QString kLager = QStringLiteral("LAGER");
const QString kLagerIndex = QStringLiteral("001");
const QString kSN = QStringLiteral("LAGERSN");
const QString kSNIndex = QStringLiteral("001SN");
const QString kSNByArticle = QStringLiteral("002SN");

using K = TdbFieldKind;

// The LAGER columns in table order; the indexes below follow it.
const TableColumn kColumns[] = {
    {QStringLiteral("LagerArtikelNr"), K::WideString, 20, true},
    {QStringLiteral("EAN"), K::WideString, 20, false},
    {QStringLiteral("AlternativArtikelNr"), K::WideString, 20, true},
    {QStringLiteral("Katalog"), K::WideString, 20, true},
    {QStringLiteral("Bezeichnung"), K::WideString, 81, true},
    {QStringLiteral("BuchungsBestand"), K::Float, 0, false},
    {QStringLiteral("SummeWareneingangMe"), K::Float, 0, false},
    {QStringLiteral("Gruppe"), K::WideString, 20, false},
    {QStringLiteral("Lagerort"), K::WideString, 20, false},
    {QStringLiteral("Inventurartikel"), K::Boolean, 0, false},
    {QStringLiteral("Anfangsbestand"), K::Float, 0, false},
    {QStringLiteral("InventurErfassung"), K::Float, 0, false},
    {QStringLiteral("Inventurdifferenz"), K::Float, 0, false},
    {QStringLiteral("Rabattgruppen"), K::WideString, 20, false},
    {QStringLiteral("ME"), K::WideString, 20, false},
    {QStringLiteral("DEinstandsPreisbildung"), K::Boolean, 0, false},
    {QStringLiteral("PREISEINHEIT"), K::Integer, 0, false},
    {QStringLiteral("EKPreis"), K::Float, 0, false},
    {QStringLiteral("VKZuschlag"), K::Float, 0, false},
    {QStringLiteral("MwStSatz"), K::Integer, 0, false},
    {QStringLiteral("SNPflicht"), K::Boolean, 0, false},
    {QStringLiteral("STKL"), K::WideString, 50, false},
    {QStringLiteral("VIEWCOLOR"), K::Integer, 0, false},
    {QStringLiteral("ISNOTBESTANDSARTIKEL"), K::Boolean, 0, false},
    {QStringLiteral("XMLDATA"), K::WideMemo, 0, false},
};
constexpr int kColumnCount = int(std::size(kColumns));
enum Col {
  cNr, cEAN, cAltNr, cKatalog, cBez, cBuchungsBestand, cWareneingang, cGruppe, cLagerort, cInventurartikel,
  cAnfangsbestand, cInventurErfassung, cInventurdifferenz, cRabattgruppen, cME, cDEinstand, cPreiseinheit,
  cEKPreis, cVKZuschlag, cMwSt, cSNPflicht, cSTKL, cViewColor, cNotStock, cXml,
};
static_assert(cXml + 1 == kColumnCount);

// The columns an older LAGER table may lack.
const Col kAddedLater[] = {cEAN, cAltNr, cPreiseinheit, cEKPreis, cSTKL, cViewColor, cNotStock};

const QString& Name(Col c) { return kColumns[c].name; }

using CursorRow = ColumnCursorRow<kColumns, Col>;
using WalkRow = ColumnWalkRow<kColumns, Col>;

// The whole article: XMLDATA first (it resets the object), then the columns.
template <class Row>
void ReadArticle(const Row& r, TLagerServerObj& a) {
  if (!a.LoadFromText(r.Text(cXml))) a.Clear();
  a.LagerArtikelNr = r.Text(cNr);
  a.EAN = r.Text(cEAN);
  a.AlternativArtikelNr = r.Text(cAltNr);
  a.Katalog = r.Text(cKatalog);
  a.Bezeichnung = r.Text(cBez);
  a.BuchungsBestand = r.Float(cBuchungsBestand);
  a.SummeWareneingangMe = r.Float(cWareneingang);
  a.Gruppe = r.Text(cGruppe);
  a.Lagerort = r.Text(cLagerort);
  a.Inventurartikel = r.Int(cInventurartikel) != 0;
  a.Anfangsbestand = r.Float(cAnfangsbestand);
  a.InventurErfassung = r.Float(cInventurErfassung);
  a.Inventurdifferenz = r.Float(cInventurdifferenz);
  a.Rabattgruppen = r.Text(cRabattgruppen);
  a.ME = r.Text(cME);
  a.DEinstandsPreisbildung = r.Int(cDEinstand) != 0;
  a.EKPreis = CurrencyFromDouble(r.Float(cEKPreis));
  a.VKZuschlag = r.Float(cVKZuschlag);
  a.MwStSatz = quint8(r.Int(cMwSt));
  a.SNPflicht = r.Int(cSNPflicht) != 0;
  a.STKL = r.Text(cSTKL);
  a.ViewColor = qint32(r.Int(cViewColor));
  a.IsNotBestandsArtikel = r.Int(cNotStock) != 0;
}

// Required text columns refuse a null text; an empty one is fine.
void SetText(TTdbTable& t, Col c, const QString& value) {
  t.FieldByName(Name(c)).SetAsString(value.isNull() ? QStringLiteral("") : value);
}
void SetFloat(TTdbTable& t, Col c, double value) { t.FieldByName(Name(c)).SetAsFloat(value); }
void SetInt(TTdbTable& t, Col c, qint64 value) { t.FieldByName(Name(c)).SetAsInteger(value); }
void SetBool(TTdbTable& t, Col c, bool value) { t.FieldByName(Name(c)).SetAsBoolean(value); }

void FillShortRow(TDBLagerSearchResult& row, const QString& nr, const QString& description, const QString& group) {
  row.LagerArtikelNr = nr;
  row.Bezeichnung = description;
  row.Gruppe = group;
}
}  // namespace

// ---- search terms ----

TLagerSearchTerms::TLagerSearchTerms(const QString& text, const QString& group)
    : terms_(text.toUpper().split(u' ', Qt::SkipEmptyParts)), group_(group) {}

bool TLagerSearchTerms::Matches(const QString& description, const QString& group) const {
  if (!group_.isEmpty() && group.compare(group_, Qt::CaseInsensitive) != 0) return false;
  if (terms_.isEmpty()) return true;
  const QString upper = description.toUpper();
  for (const QString& term : terms_)
    if (!upper.contains(term)) return false;
  return true;
}

void TDBLagerSearchResultObjectList::Search(const QString& group, const QString& text,
                                            TDBLagerSearchResultObjectList& results) const {
  const TLagerSearchTerms terms(text, group);
  for (const TDBLagerSearchResult& row : *this)
    if (terms.Matches(row.Bezeichnung, row.Gruppe)) results.Add(std::make_unique<TDBLagerSearchResult>(row));
}

// ---- database ----

IModLagerDBServerObj::IModLagerDBServerObj(TDBLogCallback onLog) : TDatabaseWrapper(std::move(onLog)) {
  InitTables();
}

IModLagerDBServerObj::~IModLagerDBServerObj() = default;

void IModLagerDBServerObj::CreateTables() {
  auto lager = std::make_unique<TTdbTable>(Database.get());
  lager->SetTableName(kLager);
  lager->SetIndexName(kLagerIndex);
  Lager = Tables.Add(std::move(lager));
  auto sn = std::make_unique<TTdbTable>(Database.get());
  sn->SetTableName(kSN);
  sn->SetIndexName(kSNIndex);
  LagerSN = Tables.Add(std::move(sn));
}

void IModLagerDBServerObj::CreateTableDefs(TTdbTable& table) {
  if (table.TableName().compare(kLager, Qt::CaseInsensitive) == 0) {
    AddColumns(table.FieldDefs(), kColumns);
    table.IndexDefs().Add(kLagerIndex, Name(cNr), ixUnique);
    table.SetIndexName(kLagerIndex);
  } else if (table.TableName().compare(kSN, Qt::CaseInsensitive) == 0) {
    TTdbFieldDefs& f = table.FieldDefs();
    f.Add(QStringLiteral("SN"), K::WideString, 100, true);
    f.Add(Name(cNr), K::WideString, 20, true);
    f.Add(QStringLiteral("INFO"), K::WideString, 255, false);
    f.Add(QStringLiteral("ZUGANG"), K::DateTime, 0, false);
    f.Add(QStringLiteral("LIEFERANT"), K::WideString, 20, false);
    f.Add(QStringLiteral("RESAUFTRAGSNR"), K::WideString, 50, false);
    f.Add(QStringLiteral("RESAUFTRAGSTYP"), K::Integer, 0, false);
    table.IndexDefs().Add(kSNIndex, QStringLiteral("SN"), ixNone);
    table.IndexDefs().Add(kSNByArticle, Name(cNr), ixNone);
    table.SetIndexName(kSNIndex);
  }
}

void IModLagerDBServerObj::PrepareTables() {
  Lager->SetIndexName(kLagerIndex);
  LagerSN->SetIndexName(kSNIndex);
}

void IModLagerDBServerObj::Open(const QString& directory, bool readOnly) { OpenDir(directory, false, readOnly); }

int IModLagerDBServerObj::AlterTables() {
  const auto addLaterColumns = [](TTdbFieldDefs& f) {
    bool changed = false;
    for (const Col added : kAddedLater) changed = AddMissingColumn(f, kColumns, added) || changed;
    return changed;
  };
  const Restructured done = RestructureTable(*Lager, QStringLiteral("AlterTables"), addLaterColumns);
  return done == Restructured::Altered ? 0 : -1;
}

bool IModLagerDBServerObj::LocateArtikel(const QString& lagerArtikelNr) {
  if (Lager->RowId() != 0 && Lager->FieldByName(Name(cNr)).AsString() == lagerArtikelNr) return true;
  return Lager->Locate(Name(cNr), lagerArtikelNr);
}

QString IModLagerDBServerObj::GetCurrentLagerArtikelNr() {
  return Guarded(*Lager, QStringLiteral("GetCurrentLagerArtikelNr"), QString(), [&] {
    return Lager->IsEmpty() ? QString() : Lager->FieldByName(Name(cNr)).AsString();
  });
}

int IModLagerDBServerObj::GetLagerArtikel(TLagerServerObj& article) {
  return Guarded(*Lager, QStringLiteral("GetLagerArtikel"), -1, [&] {
    if (article.LagerArtikelNr.isEmpty() || Lager->IsEmpty()) return -1;
    TTdbControlsDisabled still(*Lager);
    if (!LocateArtikel(article.LagerArtikelNr)) return -2;
    ReadArticle(CursorRow(*Lager), article);
    return 0;
  });
}

void IModLagerDBServerObj::WriteRow(TLagerServerObj& a) {
  TTdbTable& t = *Lager;
  SetText(t, cEAN, a.EAN);
  SetText(t, cAltNr, a.AlternativArtikelNr);
  SetText(t, cKatalog, a.Katalog);
  SetText(t, cBez, a.Bezeichnung);
  SetFloat(t, cBuchungsBestand, a.BuchungsBestand);
  SetFloat(t, cWareneingang, a.SummeWareneingangMe);
  SetText(t, cGruppe, a.Gruppe);
  SetText(t, cLagerort, a.Lagerort);
  SetBool(t, cInventurartikel, a.Inventurartikel);
  SetFloat(t, cAnfangsbestand, a.Anfangsbestand);
  SetFloat(t, cInventurErfassung, a.InventurErfassung);
  SetFloat(t, cInventurdifferenz, a.Inventurdifferenz);
  SetText(t, cRabattgruppen, a.Rabattgruppen);
  SetText(t, cME, a.ME);
  SetBool(t, cDEinstand, a.DEinstandsPreisbildung);
  SetInt(t, cPreiseinheit, a.Pe);
  SetFloat(t, cEKPreis, CurrencyToDouble(a.EKPreis));
  SetFloat(t, cVKZuschlag, a.VKZuschlag);
  SetInt(t, cMwSt, a.MwStSatz);
  SetBool(t, cSNPflicht, a.SNPflicht);
  SetText(t, cSTKL, a.STKL);
  SetInt(t, cViewColor, a.ViewColor);
  SetBool(t, cNotStock, a.IsNotBestandsArtikel);
  SetText(t, cXml, a.GetXMLText(true));
}

int IModLagerDBServerObj::SetLagerArtikel(TLagerServerObj& article) {
  return Guarded(*Lager, QStringLiteral("SetLagerArtikel"), -1, [&] {
    if (article.LagerArtikelNr.isEmpty()) return -1;
    TTdbControlsDisabled still(*Lager);
    if (LocateArtikel(article.LagerArtikelNr)) {
      Lager->Edit();
    } else {
      Lager->Append();
      SetText(*Lager, cNr, article.LagerArtikelNr);
    }
    WriteRow(article);
    Lager->Post();
    return 0;
  });
}

// ---- searching ----

void IModLagerDBServerObj::Search(const QString& text, const QString& group, TDBLagerSearchResultObjectList& results,
                                  bool skipNotStock, bool onlyStockTaking) {
  Guarded(*Lager, QStringLiteral("Search"), 0, [&] {
    const TLagerSearchTerms terms(text, group);
    TTdbAccessor rows(*Lager);
    const int nr = rows.FieldIndex(Name(cNr)), bez = rows.FieldIndex(Name(cBez)),
              gruppe = rows.FieldIndex(Name(cGruppe)), inventur = rows.FieldIndex(Name(cInventurartikel)),
              notStock = rows.FieldIndex(Name(cNotStock));
    for (int rc = rows.First(); rc == 0; rc = rows.Next()) {
      if (onlyStockTaking && rows.AsInteger(inventur) == 0) continue;
      if (skipNotStock && notStock >= 0 && rows.AsInteger(notStock) != 0) continue;
      const QString groupText = rows.AsString(gruppe);
      const QString description = rows.AsString(bez);
      if (!terms.Matches(description, groupText)) continue;
      FillShortRow(*results.Add(std::make_unique<TDBLagerSearchResult>()), rows.AsString(nr), description, groupText);
    }
    return 0;
  });
}

bool IModLagerDBServerObj::InitializeSearchResult(TDBLagerSearchResult& row) {
  if (row.Complete) return true;
  return Guarded(*Lager, QStringLiteral("InitializeSearchResult"), false, [&] {
    TTdbControlsDisabled still(*Lager);
    if (!LocateArtikel(row.LagerArtikelNr)) return false;
    TLagerServerObj& a = completer_;
    ReadArticle(CursorRow(*Lager), a);
    FillShortRow(row, a.LagerArtikelNr, a.Bezeichnung, a.Gruppe);
    row.Lagerort = a.Lagerort;
    row.Rabattgruppen = a.Rabattgruppen;
    row.EKPreis = a.EKPreis;
    row.Vkp = a.Vkp;
    row.IsNotBestandsArtikel = a.IsNotBestandsArtikel;
    row.ViewColor = a.ViewColor;
    row.ME = a.ME;
    row.SummeWareneingangMe = a.SummeWareneingangMe;
    row.Anfangsbestand = a.Anfangsbestand;
    row.Complete = true;
    return true;
  });
}

void IModLagerDBServerObj::SetVisibleSN(const QString& lagerArtikelNr) {
  Guarded(*Lager, QStringLiteral("SetVisibleSN"), 0, [&] {
    LagerSN->SetIndexName(kSNIndex);
    // The number is handed over as a value: a quote in it cannot change the filter.
    LagerSN->SetFilterValue(Name(cNr), lagerArtikelNr);
    LagerSN->SetFiltered(true);
    return 0;
  });
}

double IModLagerDBServerObj::GetFieldByNameFloat(const QString& lagerArtikelNr, const QString& field) {
  return Guarded(*Lager, QStringLiteral("GetFieldByNameFloat"), 0.0, [&] {
    TTdbControlsDisabled still(*Lager);
    return LocateArtikel(lagerArtikelNr) ? Lager->FieldByName(field).AsFloat() : 0.0;
  });
}

bool IModLagerDBServerObj::SetFieldByNameFloat(const QString& lagerArtikelNr, const QString& field, double value) {
  return Guarded(*Lager, QStringLiteral("SetFieldByNameFloat"), false, [&] {
    TTdbControlsDisabled still(*Lager);
    if (!LocateArtikel(lagerArtikelNr)) return false;
    Lager->Edit();
    Lager->FieldByName(field).SetAsFloat(value);
    Lager->Post();
    return true;
  });
}

bool IModLagerDBServerObj::ForEachLagerArtikel(const std::function<void(TLagerServerObj&)>& callback) {
  if (!Opened) return true;
  return Guarded(*Lager, QStringLiteral("ForEachLagerArtikel"), false, [&] {
    TLagerServerObj article;
    TTdbAccessor rows(*Lager);
    const WalkRow row(rows);
    for (int rc = rows.First(); rc == 0; rc = rows.Next()) {
      ReadArticle(row, article);
      callback(article);
    }
    return true;
  });
}
