#include "KSPRDatabase.h"

#include <sqlite3.h>

#include "Msgdlg.h"
#include "NumberText.h"
#include "SuiteException.h"
#include "TdbConnection.h"
#include "Translation.h"

namespace {
const QString kTable = QStringLiteral("KSP");
const QString kIndex = QStringLiteral("INDEX");

// Column names.
const QString cKatalog = QStringLiteral("KATALOG");
const QString cArtikelNr = QStringLiteral("ARTIKELNR");
const QString cBezeichnung = QStringLiteral("BEZEICHNUNG");
const QString cPreis = QStringLiteral("PREIS");
const QString cRabatt = QStringLiteral("RABATT");
const QString cZeit = QStringLiteral("ZEIT");
const QString cLohn = QStringLiteral("LOHN");
const QString cXml = QStringLiteral("XMLDATA");

// Keys compare by value: an empty text is stored as empty, never as null.
QString NonNull(const QString& text) { return text.isNull() ? QStringLiteral("") : text; }

QString Text(const TTdbTable& table, const QString& column) { return table.FieldByName(column).AsString(); }
}  // namespace

// The XML of an entry without scale holds no number: the same text for
// every such entry, made once (a whole-catalogue take-over writes it per row).
static const QString& EmptyScaleXml() {
  static const QString text = TKSPRDatabaseObj().GetXMLText(false);
  return text;
}

static QString ScaleXml(TKSPRDatabaseObj& entry) {
  return entry.Mengenstaffel.Count() == 0 ? EmptyScaleXml() : entry.GetXMLText(false);
}

// ---- the entry object ----

TKSPRDatabaseObj::TKSPRDatabaseObj() = default;

void TKSPRDatabaseObj::Clear() {
  Katalog.clear();
  ArtikelNr.clear();
  Bezeichnung.clear();
  Preis = 0;
  Rabatt = 0;
  Zeit = 0;
  Lohn = 0;
  Mengenstaffel.Clear();
}

void TKSPRDatabaseObj::StartElement(const QString&, const QString&, const QString& qName,
                                    const SaxAttributes& attributes) {
  // An "mrp" counts wherever it stands.
  if (qName != u"mrp") return;
  TFloatFloatFloat* scale = Mengenstaffel.Add(0, 0, 0);
  ReadFloatAttr(attributes, u"menge", scale->First, 0);
  ReadFloatAttr(attributes, u"rabatt", scale->Second, 0);
  ReadFloatAttr(attributes, u"preis", scale->Third, 0);
}

void TKSPRDatabaseObj::Characters(QStringView) {}

void TKSPRDatabaseObj::EndElement(const QString&, const QString&, const QString&) {}

void TKSPRDatabaseObj::WriteXML(bool) {
  WriteLine(u"<kspxmldata>");
  if (Mengenstaffel.Count() > 0) {
    WriteLine(u"  <mrplist>");
    for (const TFloatFloatFloat& scale : Mengenstaffel)
      WriteFormatLine(QStringLiteral("    <mrp menge=\"%s\" rabatt=\"%s\" preis=\"%s\" />"),
                      {FormatGeneralNumber(scale.First), FormatGeneralNumber(scale.Second),
                       FormatGeneralNumber(scale.Third)});
    WriteLine(u"  </mrplist>");
  }
  WriteLine(u"</kspxmldata>");
}

// ---- the table ----

TKSPRDatabase::TKSPRDatabase(TDBLogCallback onLog) : TDatabaseWrapper(std::move(onLog)) { InitTables(); }

void TKSPRDatabase::CreateTableDefs(TTdbTable& table) {
  if (table.TableName().compare(kTable, Qt::CaseInsensitive) != 0) return;
  TTdbFieldDefs& f = table.FieldDefs();
  f.Add(cKatalog, TdbFieldKind::WideString, 50);
  f.Add(cArtikelNr, TdbFieldKind::WideString, 50);
  f.Add(cBezeichnung, TdbFieldKind::WideString, 255);
  f.Add(cPreis, TdbFieldKind::Float);
  f.Add(cRabatt, TdbFieldKind::Float);
  f.Add(cZeit, TdbFieldKind::Float);
  f.Add(cLohn, TdbFieldKind::Float);
  f.Add(cXml, TdbFieldKind::WideMemo);
  table.IndexDefs().Add(kIndex, cKatalog + QLatin1Char(';') + cArtikelNr, ixPrimary | ixUnique);
  table.SetIndexName(kIndex);
}

void TKSPRDatabase::CreateTables() {
  auto table = std::make_unique<TTdbTable>(Database.get());
  table->SetTableName(kTable);
  table->SetIndexName(kIndex);
  Table = Tables.Add(std::move(table));
}

void TKSPRDatabase::PrepareTables() { Table->SetIndexName(kIndex); }

bool TKSPRDatabase::HasRows() const { return Table->Active() && !Table->IsEmpty(); }

void TKSPRDatabase::WriteCurrentRow(TKSPRDatabaseObj& entry) {
  Table->FieldByName(cKatalog).SetAsString(NonNull(entry.Katalog));
  Table->FieldByName(cArtikelNr).SetAsString(NonNull(entry.ArtikelNr));
  Table->FieldByName(cBezeichnung).SetAsString(NonNull(entry.Bezeichnung));
  Table->FieldByName(cPreis).SetAsFloat(CurrencyToDouble(entry.Preis));
  Table->FieldByName(cRabatt).SetAsFloat(entry.Rabatt);
  Table->FieldByName(cZeit).SetAsFloat(entry.Zeit);
  Table->FieldByName(cLohn).SetAsFloat(CurrencyToDouble(entry.Lohn));
  Table->FieldByName(cXml).SetAsString(ScaleXml(entry));
}

void TKSPRDatabase::ReadCurrentRow(TKSPRDatabaseObj& entry) {
  // Empties the entry and reads the scale; a broken scale is reported there,
  // keeps what was read before the fault, and the columns still count.
  entry.LoadFromText(Text(*Table, cXml));
  entry.Katalog = Text(*Table, cKatalog);
  entry.ArtikelNr = Text(*Table, cArtikelNr);
  entry.Bezeichnung = Text(*Table, cBezeichnung);
  entry.Preis = CurrencyFromDouble(Table->FieldByName(cPreis).AsFloat());
  entry.Rabatt = Table->FieldByName(cRabatt).AsFloat();
  entry.Zeit = Table->FieldByName(cZeit).AsFloat();
  entry.Lohn = CurrencyFromDouble(Table->FieldByName(cLohn).AsFloat());
}

qint64 TKSPRDatabase::RowIdOf(const QString& katalog, const QString& artikelNr) {
  // One indexed query: FindKey re-reads the current row when the pair is new,
  // which a whole-catalogue take-over would pay once per article.
  static const QString sql = QStringLiteral("SELECT rowid FROM %1 WHERE %2 IS ? AND %3 IS ? LIMIT 1")
                                 .arg(QuoteIdentifier(kTable), QuoteIdentifier(cKatalog), QuoteIdentifier(cArtikelNr));
  TdbConnection& c = Table->Connection();
  TdbStatement q(c.Handle(), c.Cached(sql));
  q.Bind(1, NonNull(katalog));
  q.Bind(2, NonNull(artikelNr));
  return q.Step() ? q.Int64(0) : 0;
}

void TKSPRDatabase::StoreArtikel(TKSPRDatabaseObj& entry) {
  const qint64 rowId = RowIdOf(entry.Katalog, entry.ArtikelNr);
  if (rowId != 0 && Table->GotoRowId(rowId))
    Table->Edit();
  else
    Table->Append();
  WriteCurrentRow(entry);
  Table->Post();
}

// The values stored as the cursor's fields store them.
bool TKSPRDatabase::InsertIfNew(TKSPRDatabaseObj& entry) {
  static const QString sql =
      QStringLiteral("INSERT INTO %1(%2,%3,%4,%5,%6,%7,%8,%9) VALUES(?,?,?,?,?,?,?,?) ON CONFLICT DO NOTHING")
          .arg(QuoteIdentifier(kTable), QuoteIdentifier(cKatalog), QuoteIdentifier(cArtikelNr),
               QuoteIdentifier(cBezeichnung), QuoteIdentifier(cPreis), QuoteIdentifier(cRabatt), QuoteIdentifier(cZeit),
               QuoteIdentifier(cLohn), QuoteIdentifier(cXml));
  TdbConnection& c = Table->Connection();
  TdbWriteScope tx(c);
  TdbStatement q(c.Handle(), c.Cached(sql));
  q.BindText(1, NonNull(entry.Katalog));
  q.BindText(2, NonNull(entry.ArtikelNr));
  q.BindText(3, NonNull(entry.Bezeichnung));
  q.BindDouble(4, CurrencyToDouble(entry.Preis));
  q.BindDouble(5, entry.Rabatt);
  q.BindDouble(6, entry.Zeit);
  q.BindDouble(7, CurrencyToDouble(entry.Lohn));
  q.BindText(8, ScaleXml(entry));
  q.Run();
  const bool inserted = sqlite3_changes(c.Handle()) > 0;
  tx.Commit();
  return inserted;
}

TKSPRDatabase::TAppend TKSPRDatabase::AppendNewArtikel(TKSPRDatabaseObj& entry) {
  return Guarded(*Table, QStringLiteral("SetArtikel"), TAppend::Failed,
                 [&] { return InsertIfNew(entry) ? TAppend::Appended : TAppend::Exists; });
}

bool TKSPRDatabase::SetArtikel(TKSPRDatabaseObj* entry) {
  if (!entry) return false;
  return Guarded(*Table, QStringLiteral("SetArtikel"), false, [&] {
    StoreArtikel(*entry);
    return true;
  });
}

bool TKSPRDatabase::SetArtikelBatched(const std::function<bool(TKSPRDatabaseObj&)>& next, int batchRows) {
  TTdbControlsDisabled still(*Table);  // views follow the result, not every row
  qint64 stored = 0;
  qint64 inBatch = 0;
  TKSPRDatabaseObj entry;
  const bool done = Guarded(*Table, QStringLiteral("SetArtikel"), false, [&] {
    try {
      Database->StartTransaction();
      for (;;) {
        entry.Clear();
        if (!next(entry)) break;
        if (!InsertIfNew(entry)) StoreArtikel(entry);
        if (++inBatch < batchRows) continue;
        Database->Commit();
        stored += inBatch;
        inBatch = 0;
        Database->StartTransaction();
      }
      Database->Commit();
      return true;
    } catch (const std::exception& e) {
      throw Exception(ReportException::Of(e).message + QLatin1Char('\n') + EndFailedBatch(stored));
    }
  });
  RefreshTables();
  return done;
}

QString TKSPRDatabase::EndFailedBatch(qint64 storedEntries) {
  try {
    Table->Cancel();  // the failed row must not be posted by the next move
    Database->Rollback();
  } catch (const std::exception& e) {
    return ReportException::Of(e).message;
  }
  return Tr("Gespeichert sind die ersten %1 Eintraege; der Eintrag mit dem Fehler und die folgenden nicht.")
      .arg(storedEntries);
}

bool TKSPRDatabase::HasArtikel(const QString& katalog, const QString& artikelNr) {
  return Guarded(*Table, QStringLiteral("SeekArtikel"), false, [&] { return RowIdOf(katalog, artikelNr) != 0; });
}

bool TKSPRDatabase::SeekArtikel(const QString& katalog, const QString& artikelNr) {
  return Guarded(*Table, QStringLiteral("SeekArtikel"), false,
                 [&] { return Table->FindKey({NonNull(katalog), NonNull(artikelNr)}); });
}

bool TKSPRDatabase::GetCurrentArtikel(QString& katalog, QString& artikelNr) {
  return Guarded(*Table, QStringLiteral("GetCurrentArtikel"), false, [&] {
    if (!HasRows()) return false;
    katalog = Text(*Table, cKatalog);
    artikelNr = Text(*Table, cArtikelNr);
    return true;
  });
}

bool TKSPRDatabase::GetCurrentMengenstaffel(TKSPRDatabaseObj* entry) {
  if (!entry) return false;
  return Guarded(*Table, QStringLiteral("GetCurrentMengenstaffel"), false, [&] {
    if (!HasRows()) return false;
    ReadCurrentRow(*entry);
    return true;
  });
}

bool TKSPRDatabase::SetCurrentMengenstaffel(TKSPRDatabaseObj* entry) {
  if (!entry) return false;
  return Guarded(*Table, QStringLiteral("SetCurrentMengenstaffel"), false, [&] {
    if (!HasRows()) return false;
    const bool same = Text(*Table, cKatalog).compare(entry->Katalog, Qt::CaseInsensitive) == 0 &&
                      Text(*Table, cArtikelNr).compare(entry->ArtikelNr, Qt::CaseInsensitive) == 0;
    if (!same) return false;
    Table->Edit();
    Table->FieldByName(cXml).SetAsString(entry->GetXMLText(false));
    Table->Post();
    return true;
  });
}

bool TKSPRDatabase::DeleteCurrentArtikel() {
  return Guarded(*Table, QStringLiteral("DeleteCurrentArtikel"), false, [&] {
    if (!HasRows()) return false;
    Table->Delete();
    return true;
  });
}

int TKSPRDatabase::AlterTables() {
  const auto addLaterColumns = [](TTdbFieldDefs& f) {
    bool changed = false;
    if (f.IndexOf(cRabatt) < 0) {
      f.Add(cRabatt, TdbFieldKind::Float);
      // The discount stands before the working time.
      if (const int zeit = f.IndexOf(cZeit); zeit > 0) f.MoveFieldDef(f.Count() - 1, zeit);
      changed = true;
    }
    if (f.IndexOf(cXml) < 0) {
      f.Add(cXml, TdbFieldKind::WideMemo);
      changed = true;
    }
    return changed;
  };
  return RestructureTable(*Table, QStringLiteral("AlterTables"), addLaterColumns) == Restructured::Failed ? -1 : 0;
}
