#include "DBAdress.h"

#include "DBAdressSearch.h"
#include "TdbAccessor.h"

namespace {
const QString kTable = QStringLiteral("ADDRESS");
const QString kIndex = QStringLiteral("ADDRESSID");

// Column names.
const QString cID = QStringLiteral("ID");
const QString cDisplay = QStringLiteral("DISPLAYTXT");
const QString cAddrGrp = QStringLiteral("ADDRGRP");
const QString cCreated = QStringLiteral("CREATED");
const QString cCreatedBy = QStringLiteral("CREATEDBY");
const QString cChanged = QStringLiteral("CHANGED");
const QString cChangedBy = QStringLiteral("CHANGEDBY");
const QString cForward = QStringLiteral("IDFORWARD");
const QString cWv = QStringLiteral("WV");
const QString cWvTxt = QStringLiteral("WVTXT");
const QString cWvUser = QStringLiteral("WVUSER");
const QString cXml = QStringLiteral("XMLDATA");
const QString cCharact = QStringLiteral("CHARACT");

// Required text columns refuse a null text; an empty one is fine.
void SetText(TTdbTable& table, const QString& column, const QString& value) {
  table.FieldByName(column).SetAsString(value.isNull() ? QStringLiteral("") : value);
}

QString Text(TTdbTable& table, const QString& column) { return table.FieldByName(column).AsString(); }
double Days(TTdbTable& table, const QString& column) { return table.FieldByName(column).AsFloat(); }

// The columns a search reads, by their index in the table.
struct SearchColumns {
  int id, display, wvTxt, charact, xml, addrGrp, wv;
  explicit SearchColumns(const TTdbAccessor& a)
      : id(a.FieldIndex(cID)), display(a.FieldIndex(cDisplay)), wvTxt(a.FieldIndex(cWvTxt)),
        charact(a.FieldIndex(cCharact)), xml(a.FieldIndex(cXml)), addrGrp(a.FieldIndex(cAddrGrp)),
        wv(a.FieldIndex(cWv)) {}
};

// An absent column (an old table without WV...) reads as empty.
QString TextAt(const TTdbAccessor& a, int column) { return column < 0 ? QString() : a.AsString(column); }

void AddHit(TDBAdressSearchResultObjectList& results, const TTdbAccessor& rows, const SearchColumns& c, qint32 recNo) {
  auto* hit = results.Add(std::make_unique<TDBAdressSearchResult>());
  *hit = {recNo, rows.AsString(c.id), rows.AsString(c.display), rows.AsString(c.addrGrp),
          c.wv < 0 ? 0.0 : rows.AsFloat(c.wv)};
}
}  // namespace

TDBAdress::TDBAdress(TDBLogCallback onLog) : TDatabaseWrapper(std::move(onLog)) { InitTables(); }

TDBAdress::~TDBAdress() = default;

void TDBAdress::CreateTables() {
  auto table = std::make_unique<TTdbTable>(Database.get());
  table->SetTableName(kTable);
  table->SetIndexName(kIndex);
  Table = Tables.Add(std::move(table));
}

void TDBAdress::CreateTableDefs(TTdbTable& table) {
  if (table.TableName().compare(kTable, Qt::CaseInsensitive) != 0) return;
  TTdbFieldDefs& f = table.FieldDefs();
  f.Add(cID, TdbFieldKind::WideString, 20, true);
  f.Add(cDisplay, TdbFieldKind::WideString, 255, true);
  f.Add(cAddrGrp, TdbFieldKind::WideString, 50, true);
  f.Add(cCreated, TdbFieldKind::DateTime, 0, true);
  f.Add(cCreatedBy, TdbFieldKind::WideString, 20, false);
  f.Add(cChanged, TdbFieldKind::DateTime, 0, true);
  f.Add(cChangedBy, TdbFieldKind::WideString, 20, false);
  f.Add(cForward, TdbFieldKind::WideString, 20, true);
  f.Add(cWv, TdbFieldKind::DateTime, 0, false);
  f.Add(cWvTxt, TdbFieldKind::WideString, 40, false);
  f.Add(cWvUser, TdbFieldKind::WideString, 20, false);
  f.Add(cXml, TdbFieldKind::WideMemo, 0, false);
  f.Add(cCharact, TdbFieldKind::WideMemo, 0, false);
  table.IndexDefs().Add(kIndex, cID, ixUnique);
  table.SetIndexName(kIndex);
}

void TDBAdress::PrepareTables() { Table->SetIndexName(kIndex); }

void TDBAdress::Open(const QString& addressDir) { OpenDir(addressDir, false, false); }

int TDBAdress::AlterTables() {
  const auto addLaterColumns = [](TTdbFieldDefs& f) {
    const struct {
      const QString& name;
      TdbFieldKind kind;
      int size;
    } added[] = {{cWv, TdbFieldKind::DateTime, 0}, {cWvTxt, TdbFieldKind::WideString, 40},
                 {cWvUser, TdbFieldKind::WideString, 20}};
    bool changed = false;
    for (const auto& column : added) {
      if (f.IndexOf(column.name) >= 0) continue;
      f.Add(column.name, column.kind, column.size, false);
      // New columns stand before XMLDATA.
      if (const int xml = f.IndexOf(cXml); xml > 0) f.MoveFieldDef(f.Count() - 1, xml);
      changed = true;
    }
    return changed;
  };
  return RestructureTable(*Table, QStringLiteral("AlterTables"), addLaterColumns) == Restructured::Failed ? -1 : 0;
}

// ---- records ----

bool TDBAdress::PositionOn(const QString& id) {
  if (Table->RowId() != 0 && Text(*Table, cID) == id) return true;
  return Table->Locate(cID, id);
}

void TDBAdress::ReadRow(TCustomerAddress& a) {
  a.LoadFromText(Text(*Table, cXml));
  a.Id = Text(*Table, cID);
  a.AddrGrp = Text(*Table, cAddrGrp);
  a.Cr = Days(*Table, cCreated);
  a.CrBy = Text(*Table, cCreatedBy);
  a.Ch = Days(*Table, cChanged);
  a.ChBy = Text(*Table, cChangedBy);
  a.At = Text(*Table, cDisplay);
  a.Kz = TCustomerAddress::SplitLines(Text(*Table, cCharact));
  a.IdWeiterl = Text(*Table, cForward);
  if (Table->FindField(cWv)) {
    a.Wv = Days(*Table, cWv);
    a.WvTxt = Text(*Table, cWvTxt);
    a.WvUser = Text(*Table, cWvUser);
  }
}

void TDBAdress::WriteRow(TCustomerAddress& a) {
  Table->FieldByName(cChanged).SetAsFloat(a.Ch);
  SetText(*Table, cChangedBy, a.ChBy);
  SetText(*Table, cAddrGrp, a.AddrGrp);
  SetText(*Table, cDisplay, a.At.isEmpty() ? a.BuildDisplayText() : a.At);
  SetText(*Table, cCharact, a.Kz.join(QStringLiteral("\r\n")));
  SetText(*Table, cForward, a.IdWeiterl);
  Table->FieldByName(cWv).SetAsFloat(a.Wv);
  SetText(*Table, cWvTxt, a.WvTxt);
  SetText(*Table, cWvUser, a.WvUser);
  // The whole record, so that the free-text search finds what only the
  // columns hold too (the address group, the display text).
  SetText(*Table, cXml, a.GetXMLText(true));
}

void TDBAdress::StartNewRow(const TCustomerAddress& address) {
  Table->Append();
  SetText(*Table, cID, address.Id);
  Table->FieldByName(cCreated).SetAsFloat(address.Cr);
  SetText(*Table, cCreatedBy, address.CrBy);
}

int TDBAdress::SetCustomer(TCustomerAddress& address) {
  return Guarded(*Table, QStringLiteral("SetCustomer"), -1, [&] {
    address.Id = address.Id.toUpper();
    if (PositionOn(address.Id))
      Table->Edit();
    else
      StartNewRow(address);
    WriteRow(address);
    Table->Post();
    return 0;
  });
}

int TDBAdress::AppendCustomer(TCustomerAddress& address) {
  return Guarded(*Table, QStringLiteral("AppendCustomer"), -1, [&] {
    address.Id = address.Id.toUpper();
    StartNewRow(address);
    WriteRow(address);
    Table->Post();
    return 0;
  });
}

int TDBAdress::GetCustomer(const QString& id, TCustomerAddress& address) {
  return Guarded(*Table, QStringLiteral("GetCustomer"), -1, [&] {
    if (!PositionOn(id.toUpper())) return 1;
    ReadRow(address);
    return 0;
  });
}

QString TDBAdress::GetCurrentID() {
  return Guarded(*Table, QStringLiteral("GetCurrentID"), QString(), [&] { return Text(*Table, cID); });
}

void TDBAdress::FindID(const QString& id) {
  Guarded(*Table, QStringLiteral("FindID"), 0, [&] {
    Table->FindNearest({id});
    return 0;
  });
}

qint32 TDBAdress::GetCustomerRecNo(const QString& id) {
  return Guarded(*Table, QStringLiteral("GetCustomerRecNo"), 0, [&] {
    if (id.isEmpty())
      Table->First();
    else if (!Table->Locate(cID, id))
      return 0;
    return qint32(Table->RecordNo());
  });
}

TDBLock TDBAdress::LockDB(const QString& user) { return LockDBInternal(user, nullptr); }

// ---- searching ----

QString TDBAdress::NormalizePlain(QStringView text) {
  return AddressSearch::Folded(text, AddressSearch::Form::Plain);
}

QString TDBAdress::NormalizeEscaped(QStringView text) {
  return AddressSearch::Folded(text, AddressSearch::Form::Escaped);
}

void TDBAdress::FindAddress(const QString& text, TDBAdressSearchResultObjectList& results) {
  Guarded(*Table, QStringLiteral("FindAddress"), 0, [&] {
    AddressSearch::Matcher matcher(text);
    if (matcher.IsEmpty()) return 0;
    {
      TTdbAccessor rows(*Table);
      const SearchColumns c(rows);
      qint32 recNo = 0;
      for (int rc = rows.First(); rc == 0; rc = rows.Next()) {
        ++recNo;
        if (matcher.Matches(rows.AsString(c.id), rows.AsString(c.display), TextAt(rows, c.wvTxt),
                            TextAt(rows, c.charact), TextAt(rows, c.xml)))
          AddHit(results, rows, c, recNo);
      }
    }
    // Callers expect the cursor after the last row, as a walk with the cursor would leave it.
    Table->Last();
    Table->Next();
    return 0;
  });
}

void TDBAdress::FindAddressByAddrGrp(const QString& group, TDBAdressSearchResultObjectList& results) {
  Guarded(*Table, QStringLiteral("FindAddressByAddrGrp"), 0, [&] {
    if (group.isEmpty()) return 0;
    TTdbAccessor rows(*Table);
    const SearchColumns c(rows);
    qint32 recNo = 0;
    for (int rc = rows.First(); rc == 0; rc = rows.Next()) {
      ++recNo;
      if (rows.AsString(c.addrGrp).compare(group, Qt::CaseInsensitive) == 0) AddHit(results, rows, c, recNo);
    }
    return 0;
  });
}
