#include "Katalog2DB.h"

#include <utility>

#include "ColumnRows.h"
#include "TypeUnit.h"

const QString TKatalog2DB::kTable = QStringLiteral("SCATALOG");
const QString TKatalog2DB::kIndexID = QStringLiteral("SCATALOG001");
const QString TKatalog2DB::kIndexGroup = QStringLiteral("SCATALOG002");
const QString TKatalog2DB::kIndexEK = QStringLiteral("SCATALOG003");
const QString TKatalog2DB::kIndexEAN = QStringLiteral("SCATALOG001EAN");

namespace {
using K = TdbFieldKind;

// The SCATALOG columns in table order.
const TableColumn kColumns[] = {
    {QStringLiteral("ID"), K::WideString, 50, true},
    {QStringLiteral("EAN"), K::WideString, 20, false},
    {QStringLiteral("DESCRIPTION"), K::WideString, 255, false},
    {QStringLiteral("ME"), K::WideString, 10, false},
    {QStringLiteral("MINDBESTMENGE"), K::Float, 0, false},
    {QStringLiteral("EK"), K::Float, 0, false},
    {QStringLiteral("MWSTSATZ"), K::SmallInt, 0, false},
    {QStringLiteral("RABATT"), K::Float, 0, false},
    {QStringLiteral("INFO"), K::WideString, 255, false},
    {QStringLiteral("VORAETIG"), K::Float, 0, false},
    {QStringLiteral("CREATED"), K::DateTime, 0, true},
    {QStringLiteral("CREATEDBY"), K::WideString, 20, false},
    {QStringLiteral("CHANGED"), K::DateTime, 0, true},
    {QStringLiteral("CHANGEDBY"), K::WideString, 20, false},
    {QStringLiteral("RABATTGRUPPE"), K::WideString, 20, false},
    {QStringLiteral("VKZUSCHLAG"), K::Float, 0, false},
    {QStringLiteral("VKPREIS2"), K::Float, 0, false},
    {QStringLiteral("VKPREIS3"), K::Float, 0, false},
    {QStringLiteral("VKPREIS4"), K::Float, 0, false},
    {QStringLiteral("VKPREIS5"), K::Float, 0, false},
    {QStringLiteral("GEWICHT"), K::Float, 0, false},
    {QStringLiteral("OBERFLAECHE"), K::Float, 0, false},
    {QStringLiteral("ABWICKLUNG"), K::Float, 0, false},
    {QStringLiteral("VOLUMEN"), K::Float, 0, false},
    {QStringLiteral("UMRECHNUNGSFAKTOR"), K::Float, 0, false},
    {QStringLiteral("ARBEITSZEIT"), K::Float, 0, false},
    {QStringLiteral("LOHN"), K::Float, 0, false},
    {QStringLiteral("BESTELLMENGE"), K::Float, 0, false},
    {QStringLiteral("KURZTEXT"), K::WideMemo, 0, false},
    {QStringLiteral("LANGTEXT"), K::WideMemo, 0, false},
    {QStringLiteral("PREISEINHEIT"), K::Integer, 0, false},
    {QStringLiteral("VERPACKUNGSMENGE"), K::Integer, 0, false},
    {QStringLiteral("MEKALKULATIONSPEZIAL"), K::Boolean, 0, false},
    {QStringLiteral("MEKALKULATION"), K::WideString, 10, false},
    {QStringLiteral("MEKALKULATIONUMRECHFAKT"), K::Float, 0, false},
    {QStringLiteral("XMLDATA"), K::WideMemo, 0, false},
    {QStringLiteral("WARENGR"), K::WideString, 20, false},
};
constexpr int kColumnCount = int(std::size(kColumns));
enum Col {
  cID, cEAN, cDescription, cME, cMindBestMenge, cEK, cMwSt, cRabatt, cInfo, cVoraetig, cCreated, cCreatedBy,
  cChanged, cChangedBy, cRabattGruppe, cVKZuschlag, cVKPreis2, cVKPreis3, cVKPreis4, cVKPreis5, cGewicht,
  cOberflaeche, cAbwicklung, cVolumen, cUmrechnungsfaktor, cArbeitszeit, cLohn, cBestellmenge, cKurzText,
  cLangText, cPreisEinheit, cVerpackungsmenge, cMEKalkSpezial, cMEKalk, cMEKalkFakt, cXml, cWarenGr,
};
static_assert(cWarenGr + 1 == kColumnCount);

// Older tables end before MWSTSATZ or somewhere after it.
constexpr int kFirstAddedLater = cMwSt;

const QString& Name(Col c) { return kColumns[c].name; }

using CursorRow = ColumnCursorRow<kColumns, Col>;
using WalkRow = ColumnWalkRow<kColumns, Col>;

using A = TKatalog2Artikel;
// The columns that hold one field as it is, read and written alike.
const std::pair<Col, QString A::*> kPlainTexts[] = {
    {cDescription, &A::Description}, {cME, &A::ME}, {cInfo, &A::Info}, {cCreatedBy, &A::CreatedBy},
    {cChangedBy, &A::ChangedBy}, {cRabattGruppe, &A::RabattGruppe}, {cKurzText, &A::KurzText},
    {cLangText, &A::LangText}, {cMEKalk, &A::MEKalkulation}, {cWarenGr, &A::Warengruppe},
};
const std::pair<Col, double A::*> kPlainNumbers[] = {
    {cMindBestMenge, &A::MindBestMenge}, {cEK, &A::EK}, {cRabatt, &A::Rabatt}, {cVoraetig, &A::Voraetig},
    {cCreated, &A::Created}, {cChanged, &A::Changed}, {cVKZuschlag, &A::VKZuschlag}, {cGewicht, &A::Gewicht},
    {cOberflaeche, &A::Oberflaeche}, {cAbwicklung, &A::Abwicklung}, {cVolumen, &A::Volumen},
    {cUmrechnungsfaktor, &A::Umrechnungsfaktor}, {cArbeitszeit, &A::Arbeitszeit},
    {cBestellmenge, &A::Bestellmenge}, {cMEKalkFakt, &A::MEKalkulationUmrechFakt},
};

qint32 AtLeastOne(qint64 value) { return value < 1 ? 1 : qint32(std::min<qint64>(value, INT32_MAX)); }

// The whole row. XMLDATA first: loading it resets the article. Most rows
// carry no images, so their document is not parsed at all.
template <class Row>
void ReadArticle(const Row& r, TKatalog2Artikel& a, bool withEAN) {
  const QString keptEAN = a.EAN;
  const QString xml = r.Text(cXml);
  if (!xml.contains(QLatin1String("<img")) || !a.LoadFromText(xml)) a.Clear();
  a.ID = r.Text(cID);
  a.EAN = withEAN ? r.Text(cEAN) : keptEAN;
  for (const auto& [c, m] : kPlainTexts) a.*m = r.Text(c);
  for (const auto& [c, m] : kPlainNumbers) a.*m = r.Float(c);
  a.MwStSatz = quint8(r.Int(cMwSt));
  for (int p = 1; p < 5; ++p) a.VKPreis[size_t(p)] = CurrencyFromDouble(r.Float(Col(cVKPreis2 + p - 1)));
  a.Lohn = CurrencyFromDouble(r.Float(cLohn));
  a.PreisEinheit = AtLeastOne(r.Int(cPreisEinheit));
  a.Verpackungsmenge = AtLeastOne(r.Int(cVerpackungsmenge));
  a.MEKalkulationSpezial = r.Int(cMEKalkSpezial) != 0;
}

// Columns an old table lacks are left out; required texts refuse a null text.
void SetText(const CursorRow& r, Col c, const QString& value) {
  if (TTdbField* f = r.Field(c)) f->SetAsString(value.isNull() ? QStringLiteral("") : value);
}
void SetFloat(const CursorRow& r, Col c, double value) {
  if (TTdbField* f = r.Field(c)) f->SetAsFloat(value);
}
void SetInt(const CursorRow& r, Col c, qint64 value) {
  if (TTdbField* f = r.Field(c)) f->SetAsInteger(value);
}

void WriteArticle(const CursorRow& r, TKatalog2Artikel& a) {
  const TLagerDateTime now = LagerNow();
  SetText(r, cEAN, a.EAN);
  for (const auto& [c, m] : kPlainTexts) SetText(r, c, a.*m);
  for (const auto& [c, m] : kPlainNumbers) SetFloat(r, c, a.*m);
  // A row without its creation or change time gets the time of writing.
  if (a.Created == 0) SetFloat(r, cCreated, now);
  if (a.Changed == 0) SetFloat(r, cChanged, now);
  SetInt(r, cMwSt, a.MwStSatz);
  for (int p = 1; p < 5; ++p) SetFloat(r, Col(cVKPreis2 + p - 1), CurrencyToDouble(a.VKPreis[size_t(p)]));
  SetFloat(r, cLohn, CurrencyToDouble(a.Lohn));
  SetInt(r, cPreisEinheit, a.PreisEinheit);
  SetInt(r, cVerpackungsmenge, a.Verpackungsmenge);
  SetInt(r, cMEKalkSpezial, a.MEKalkulationSpezial ? 1 : 0);
  SetText(r, cXml, a.GetXMLText(true));
}

// Upper-cased, then XML-escaped: search terms and row texts alike.
QString SearchForm(const QString& text) { return XMLEscape(text.toUpper()); }

// Switches the active index for a lookup and back to the caller's afterwards.
class IndexSwitch {
 public:
  IndexSwitch(TTdbTable& table, const QString& index) : table_(table), previous_(table.IndexName()) {
    if (index.compare(previous_, Qt::CaseInsensitive) != 0) table_.SetIndexName(index);
  }
  ~IndexSwitch() {
    try {
      if (table_.IndexName() != previous_) table_.SetIndexName(previous_);
    } catch (...) {
      // The lookup's own error is the one reported.
    }
  }
  IndexSwitch(const IndexSwitch&) = delete;
  IndexSwitch& operator=(const IndexSwitch&) = delete;

 private:
  TTdbTable& table_;
  const QString previous_;
};
}  // namespace

TKatalog2DB::TKatalog2DB(TDBLogCallback onLog) : TDatabaseWrapper(std::move(onLog)) { InitTables(); }

TKatalog2DB::~TKatalog2DB() = default;

void TKatalog2DB::CreateTables() {
  auto table = std::make_unique<TTdbTable>(Database.get());
  table->SetTableName(kTable);
  table->SetIndexName(kIndexID);
  table->SetOnFilterRecord([this](const TTdbTable& t) { return PassesSearchTerms(t); });
  SCatalog = Tables.Add(std::move(table));
}

void TKatalog2DB::CreateTableDefs(TTdbTable& table) {
  if (table.TableName().compare(kTable, Qt::CaseInsensitive) != 0) return;
  AddColumns(table.FieldDefs(), kColumns);
  table.IndexDefs().Add(kIndexID, Name(cID), ixPrimary | ixUnique);
  table.IndexDefs().Add(kIndexGroup, Name(cWarenGr), ixNone);
  table.IndexDefs().Add(kIndexEK, Name(cEK), ixNone);
  table.SetIndexName(kIndexID);
}

void TKatalog2DB::PrepareTables() { SCatalog->SetIndexName(kIndexID); }

void TKatalog2DB::Open(const QString& directory, bool readOnly) { OpenDir(directory, false, readOnly); }

const TSystemEinstellungen& TKatalog2DB::PriceSettings() const {
  static const TSystemEinstellungen defaults;
  if (Settings) return *Settings;
  const TSystemEinstellungen* process = SystemEinstellungen();
  return process ? *process : defaults;
}

int TKatalog2DB::AlterTables() {
  const auto addLaterColumns = [](TTdbFieldDefs& f) {
    bool changed = false;
    for (int added = kFirstAddedLater; added < kColumnCount; ++added)
      changed = AddMissingColumn(f, kColumns, added) || changed;
    return changed;
  };
  const Restructured done = RestructureTable(*SCatalog, QStringLiteral("AlterTables"), addLaterColumns);
  return done == Restructured::Altered ? 0 : -1;
}

QString TKatalog2DB::GetCurrentObjID() {
  return Guarded(*SCatalog, QStringLiteral("GetCurrentObjID"), QString(), [&] {
    return SCatalog->IsEmpty() ? QString() : SCatalog->FieldByName(Name(cID)).AsString();
  });
}

bool TKatalog2DB::SeekObj(const QString& id) {
  return Guarded(*SCatalog, QStringLiteral("SeekObj"), false, [&] { return SCatalog->Locate(Name(cID), id); });
}

bool TKatalog2DB::FindNextObj(const QString& text) {
  if (text.isEmpty()) return false;
  return Guarded(*SCatalog, QStringLiteral("FindNextObj"), false, [&] {
    // The nearest number, also while the view is sorted by another index.
    const IndexSwitch byNumber(*SCatalog, kIndexID);
    SCatalog->FindNearest({text});
    return !SCatalog->IsEmpty();
  });
}

bool TKatalog2DB::EnsureEANIndex() {
  return Guarded(*SCatalog, QStringLiteral("EnsureEANIndex"), false, [&] {
    if (SCatalog->HasIndex(kIndexEAN)) return true;
    if (Database->ReadOnly()) return false;
    SCatalog->EnsureIndex(kIndexEAN, Name(cEAN), ixNone);
    return true;
  });
}

QString TKatalog2DB::GetIDByEAN(const QString& ean) {
  if (ean.isEmpty()) return QString();  // rows without an EAN are no match
  const bool indexed = EnsureEANIndex();
  return Guarded(*SCatalog, QStringLiteral("GetIDByEAN"), QString(), [&] {
    TTdbControlsDisabled still(*SCatalog);
    if (!indexed) return SCatalog->Locate(Name(cEAN), ean) ? GetCurrentObjID() : QString();
    const IndexSwitch byEAN(*SCatalog, kIndexEAN);
    return SCatalog->FindKey({ean}) ? SCatalog->FieldByName(Name(cID)).AsString() : QString();
  });
}

int TKatalog2DB::GetObject(TKatalog2Artikel& article) {
  return Guarded(*SCatalog, QStringLiteral("GetObject"), -1, [&] {
    if (SCatalog->IsEmpty()) {
      article.Clear();
      return -1;
    }
    TTdbControlsDisabled still(*SCatalog);
    const QString current = SCatalog->FieldByName(Name(cID)).AsString();
    if (article.ID.isEmpty()) article.ID = current;
    if (article.ID != current && !SCatalog->Locate(Name(cID), article.ID)) return 1;
    ReadArticle(CursorRow(*SCatalog), article, false);
    article.DeriveVKPreis1(PriceSettings());
    return 0;
  });
}

bool TKatalog2DB::GetObjectShortData(TSearchtextResultKatalog2& row) {
  return Guarded(*SCatalog, QStringLiteral("GetObjectShortData"), false, [&] {
    TTdbControlsDisabled still(*SCatalog);
    if (!SCatalog->Locate(Name(cID), row.ID)) return false;
    const CursorRow r(*SCatalog);
    const TSystemEinstellungen& settings = PriceSettings();
    row.Description = r.Text(cDescription);
    row.NettoEK = Katalog2NettoEK(r.Float(cEK), r.Float(cRabatt), settings);
    row.VKPreis[0] = Katalog2VKPreis1(row.NettoEK, r.Float(cVKZuschlag), 0, false, settings);
    for (int p = 1; p < 5; ++p) row.VKPreis[size_t(p)] = CurrencyFromDouble(r.Float(Col(cVKPreis2 + p - 1)));
    row.ME = r.Text(cME);
    return true;
  });
}

void TKatalog2DB::SetSearchTerms(const QString& text) {
  searchTerms_.clear();
  for (const QString& term : text.split(u' ', Qt::SkipEmptyParts)) searchTerms_.append(SearchForm(term));
  Guarded(*SCatalog, QStringLiteral("SetSearchTerms"), 0, [&] {
    if (SCatalog->Active() && SCatalog->Filtered()) SCatalog->SetFiltered(true);  // shows the new selection
    return 0;
  });
}

bool TKatalog2DB::PassesSearchTerms(const TTdbTable& table) const {
  if (searchTerms_.isEmpty()) return true;
  const TTdbField* id = table.FindField(Name(cID));
  const TTdbField* description = table.FindField(Name(cDescription));
  const TTdbField* info = table.FindField(Name(cInfo));
  const QString idText = SearchForm(id ? id->AsString() : QString());
  const QString text = SearchForm((description ? description->AsString() : QString()) + u' ' +
                                  (info ? info->AsString() : QString()));
  for (const QString& term : searchTerms_)
    if (!idText.contains(term) && !text.contains(term)) return false;
  return true;
}

bool TKatalog2DB::ForEachArtikel(const std::function<void(TKatalog2Artikel&)>& callback) {
  if (!Opened) return true;
  return Guarded(*SCatalog, QStringLiteral("ForEachArtikel"), false, [&] {
    const TSystemEinstellungen& settings = PriceSettings();
    TKatalog2Artikel article;
    TTdbAccessor rows(*SCatalog);
    const WalkRow row(rows);
    for (int rc = rows.First(); rc == 0; rc = rows.Next()) {
      ReadArticle(row, article, true);
      article.DeriveVKPreis1(settings);
      callback(article);
    }
    return true;
  });
}

namespace {
// False, nothing written, for an article without number.
bool StoreArticle(TTdbTable& table, const CursorRow& row, TKatalog2Artikel& article) {
  if (article.ID.isEmpty()) return false;
  if (table.Locate(Name(cID), article.ID)) {
    table.Edit();
  } else {
    table.Append();
    SetText(row, cID, article.ID);
  }
  WriteArticle(row, article);
  table.Post();
  return true;
}
}  // namespace

int TKatalog2DB::SetObject(TKatalog2Artikel& article) {
  return Guarded(*SCatalog, QStringLiteral("SetObject"), -1, [&] {
    TTdbControlsDisabled still(*SCatalog);
    return StoreArticle(*SCatalog, CursorRow(*SCatalog), article) ? 0 : -1;
  });
}

bool TKatalog2DB::SetObjectsBatched(const std::function<bool(TKatalog2Artikel&)>& next, int batchRows) {
  TTdbControlsDisabled still(*SCatalog);  // views follow the result, not every row
  const bool done = Guarded(*SCatalog, QStringLiteral("SetObject"), false, [&] {
    const CursorRow row(*SCatalog);
    TKatalog2Artikel article;
    int inBatch = 0;
    bool stored = true;
    Database->StartTransaction();
    try {
      while (stored) {
        article.Clear();
        if (!next(article)) break;
        stored = StoreArticle(*SCatalog, row, article);
        if (++inBatch < batchRows) continue;
        Database->Commit();
        inBatch = 0;
        Database->StartTransaction();
      }
    } catch (...) {
      SCatalog->Cancel();  // the failed row must not be posted by the next move
      Database->Rollback();
      throw;
    }
    stored ? Database->Commit() : Database->Rollback();
    return stored;
  });
  RefreshTables();
  return done;
}
