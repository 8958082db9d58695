#include "Katalog2DB.h"

#include "TdbAccessor.h"
#include "TypeUnit.h"

const QString TKatalog2DB::kTable = QStringLiteral("SCATALOG");
const QString TKatalog2DB::kIndexID = QStringLiteral("SCATALOG001");
const QString TKatalog2DB::kIndexGroup = QStringLiteral("SCATALOG002");
const QString TKatalog2DB::kIndexEK = QStringLiteral("SCATALOG003");
const QString TKatalog2DB::kIndexEAN = QStringLiteral("SCATALOG001EAN");

namespace {
struct Column {
  QString name;
  TdbFieldKind kind;
  int size;
  bool required;
};
using K = TdbFieldKind;

// The SCATALOG columns in table order.
const Column kColumns[] = {
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

// Values of the current row by column, from the cursor or from a walk; a
// column an old table lacks reads as empty.
class CursorRow {
 public:
  explicit CursorRow(const TTdbTable& t) {
    for (int i = 0; i < kColumnCount; ++i) fields_[i] = t.FindField(kColumns[i].name);
  }
  QString Text(Col c) const { return fields_[c] ? fields_[c]->AsString() : QString(); }
  double Float(Col c) const { return fields_[c] ? fields_[c]->AsFloat() : 0.0; }
  qint64 Int(Col c) const { return fields_[c] ? fields_[c]->AsInteger() : 0; }
  TTdbField* Field(Col c) const { return fields_[c]; }

 private:
  std::array<TTdbField*, kColumnCount> fields_{};
};

class WalkRow {
 public:
  explicit WalkRow(const TTdbAccessor& a) : a_(a) {
    for (int i = 0; i < kColumnCount; ++i) index_[i] = a.FieldIndex(kColumns[i].name);
  }
  QString Text(Col c) const { return index_[c] < 0 ? QString() : a_.AsString(index_[c]); }
  double Float(Col c) const { return index_[c] < 0 ? 0.0 : a_.AsFloat(index_[c]); }
  qint64 Int(Col c) const { return index_[c] < 0 ? 0 : a_.AsInteger(index_[c]); }

 private:
  const TTdbAccessor& a_;
  std::array<int, kColumnCount> index_{};
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
  a.Description = r.Text(cDescription);
  a.ME = r.Text(cME);
  a.MindBestMenge = r.Float(cMindBestMenge);
  a.EK = r.Float(cEK);
  a.MwStSatz = quint8(r.Int(cMwSt));
  a.Rabatt = r.Float(cRabatt);
  a.Info = r.Text(cInfo);
  a.Voraetig = r.Float(cVoraetig);
  a.Created = r.Float(cCreated);
  a.CreatedBy = r.Text(cCreatedBy);
  a.Changed = r.Float(cChanged);
  a.ChangedBy = r.Text(cChangedBy);
  a.RabattGruppe = r.Text(cRabattGruppe);
  a.VKZuschlag = r.Float(cVKZuschlag);
  for (int p = 1; p < 5; ++p) a.VKPreis[size_t(p)] = CurrencyFromDouble(r.Float(Col(cVKPreis2 + p - 1)));
  a.Gewicht = r.Float(cGewicht);
  a.Oberflaeche = r.Float(cOberflaeche);
  a.Abwicklung = r.Float(cAbwicklung);
  a.Volumen = r.Float(cVolumen);
  a.Umrechnungsfaktor = r.Float(cUmrechnungsfaktor);
  a.Arbeitszeit = r.Float(cArbeitszeit);
  a.Lohn = CurrencyFromDouble(r.Float(cLohn));
  a.Bestellmenge = r.Float(cBestellmenge);
  a.KurzText = r.Text(cKurzText);
  a.LangText = r.Text(cLangText);
  a.PreisEinheit = AtLeastOne(r.Int(cPreisEinheit));
  a.Verpackungsmenge = AtLeastOne(r.Int(cVerpackungsmenge));
  a.MEKalkulationSpezial = r.Int(cMEKalkSpezial) != 0;
  a.MEKalkulation = r.Text(cMEKalk);
  a.MEKalkulationUmrechFakt = r.Float(cMEKalkFakt);
  a.Warengruppe = r.Text(cWarenGr);
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
  SetText(r, cDescription, a.Description);
  SetText(r, cME, a.ME);
  SetFloat(r, cMindBestMenge, a.MindBestMenge);
  SetFloat(r, cEK, a.EK);
  SetInt(r, cMwSt, a.MwStSatz);
  SetFloat(r, cRabatt, a.Rabatt);
  SetText(r, cInfo, a.Info);
  SetFloat(r, cVoraetig, a.Voraetig);
  SetFloat(r, cCreated, a.Created != 0 ? a.Created : now);
  SetText(r, cCreatedBy, a.CreatedBy);
  SetFloat(r, cChanged, a.Changed != 0 ? a.Changed : now);
  SetText(r, cChangedBy, a.ChangedBy);
  SetText(r, cRabattGruppe, a.RabattGruppe);
  SetFloat(r, cVKZuschlag, a.VKZuschlag);
  for (int p = 1; p < 5; ++p) SetFloat(r, Col(cVKPreis2 + p - 1), CurrencyToDouble(a.VKPreis[size_t(p)]));
  SetFloat(r, cGewicht, a.Gewicht);
  SetFloat(r, cOberflaeche, a.Oberflaeche);
  SetFloat(r, cAbwicklung, a.Abwicklung);
  SetFloat(r, cVolumen, a.Volumen);
  SetFloat(r, cUmrechnungsfaktor, a.Umrechnungsfaktor);
  SetFloat(r, cArbeitszeit, a.Arbeitszeit);
  SetFloat(r, cLohn, CurrencyToDouble(a.Lohn));
  SetFloat(r, cBestellmenge, a.Bestellmenge);
  SetText(r, cKurzText, a.KurzText);
  SetText(r, cLangText, a.LangText);
  SetInt(r, cPreisEinheit, a.PreisEinheit);
  SetInt(r, cVerpackungsmenge, a.Verpackungsmenge);
  SetInt(r, cMEKalkSpezial, a.MEKalkulationSpezial ? 1 : 0);
  SetText(r, cMEKalk, a.MEKalkulation);
  SetFloat(r, cMEKalkFakt, a.MEKalkulationUmrechFakt);
  SetText(r, cXml, a.GetXMLText(true));
  SetText(r, cWarenGr, a.Warengruppe);
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
  for (const Column& c : kColumns) table.FieldDefs().Add(c.name, c.kind, c.size, c.required);
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
  return Guarded(*SCatalog, QStringLiteral("AlterTables"), -1, [&] {
    // The table is open again afterwards when it was before, also after a failure.
    struct Reopen {
      TTdbTable& table;
      const bool wasOpen = table.Active();
      ~Reopen() {
        try {
          if (wasOpen) table.Open();
        } catch (...) {
          // The restructuring's own error is the one reported.
        }
      }
    } reopen{*SCatalog};
    SCatalog->Close();
    SCatalog->ReadDefinitions();
    TTdbFieldDefs& f = SCatalog->FieldDefs();
    bool changed = false;
    for (int added = kFirstAddedLater; added < kColumnCount; ++added) {
      if (f.IndexOf(kColumns[added].name) >= 0) continue;
      // Not required: the rows written before have no value for it.
      const Column& c = kColumns[added];
      f.Add(c.name, c.kind, c.size, false);
      // Behind its predecessor in the table order.
      int behind = -1;
      for (int p = added - 1; p >= 0 && behind < 0; --p) behind = f.IndexOf(kColumns[p].name);
      f.MoveFieldDef(f.Count() - 1, behind + 1);
      changed = true;
    }
    if (changed) SCatalog->AlterTable();
    return changed ? 0 : -1;
  });
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
