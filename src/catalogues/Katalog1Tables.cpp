#include "Katalog1Tables.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <variant>

#include "TdbConnection.h"

namespace katalog1 {

const QString kCatalog = QStringLiteral("CATALOG");
const QString kCatalogLT = QStringLiteral("CATALOGLT");
const QString kCatalogSet = QStringLiteral("CATALOGSET");
const QString kCatalogGS = QStringLiteral("CATALOGGS");
const QString kCatalogRab = QStringLiteral("CATALOGRAB");
const QString kCatalogWrg = QStringLiteral("CATALOGWRG");
const QString kCatalogVerk = QStringLiteral("CATALOGVERK");
const QString kCatalogIndex = QStringLiteral("CATALOG001");

namespace {
using A = TKatalog1Artikel;
using K = TdbFieldKind;
// The article field a column fills; none for XMLDATA, which is parsed.
using Member = std::variant<std::monostate, QString A::*, double A::*, Currency A::*, quint8 A::*, qint32 A::*, bool A::*>;

struct ArticleColumn {
  QString name;
  K kind;
  int size;
  bool required;
  Member member;
};

// CATALOG in table order.
const ArticleColumn kArticleColumns[] = {
    {QStringLiteral("ID"), K::WideString, 15, true, &A::ID},
    {QStringLiteral("KURZZEILE1"), K::WideString, 40, false, &A::KURZZEILE1},
    {QStringLiteral("KURZZEILE2"), K::WideString, 40, false, &A::KURZZEILE2},
    {QStringLiteral("TEXTKZ"), K::SmallInt, 0, false, &A::TEXTKZ},
    {QStringLiteral("LISTENPREIS"), K::Float, 0, false, &A::LISTENPREIS},
    {QStringLiteral("RABATT"), K::Float, 0, false, &A::RABATT},
    {QStringLiteral("NETTO"), K::Float, 0, false, &A::NETTO},
    {QStringLiteral("PREISKZ"), K::SmallInt, 0, false, &A::PREISKZ},
    {QStringLiteral("PREISEINHEIT"), K::Integer, 0, false, &A::PREISEINHEIT},
    {QStringLiteral("LASTNETTO"), K::Float, 0, false, &A::LASTNETTO},
    {QStringLiteral("LASTNETTOCHANGED"), K::DateTime, 0, false, &A::LASTNETTOCHANGED},
    {QStringLiteral("VKPREIS2"), K::Float, 0, false, &A::VKPREIS2},
    {QStringLiteral("VKPREIS3"), K::Float, 0, false, &A::VKPREIS3},
    {QStringLiteral("VKPREIS4"), K::Float, 0, false, &A::VKPREIS4},
    {QStringLiteral("VKPREIS5"), K::Float, 0, false, &A::VKPREIS5},
    {QStringLiteral("ME"), K::WideString, 10, false, &A::ME},
    {QStringLiteral("MEKALKULATIONSPEZIAL"), K::Boolean, 0, false, &A::MEKALKULATIONSPEZIAL},
    {QStringLiteral("MEKALKULATION"), K::WideString, 10, false, &A::MEKALKULATION},
    {QStringLiteral("MEKALKULATIONUMRECHFAKT"), K::Float, 0, false, &A::MEKALKULATIONUMRECHFAKT},
    {QStringLiteral("OBERFLAECHE"), K::Float, 0, false, &A::OBERFLAECHE},
    {QStringLiteral("VOLUMEN"), K::Float, 0, false, &A::VOLUMEN},
    {QStringLiteral("ABWICKLUNG"), K::Float, 0, false, &A::ABWICKLUNG},
    {QStringLiteral("GEWICHT"), K::Float, 0, false, &A::GEWICHT},
    {QStringLiteral("MATCHCODE"), K::WideString, 15, false, &A::MATCHCODE},
    {QStringLiteral("KATALOGSEITE"), K::WideString, 15, false, &A::KATALOGSEITE},
    {QStringLiteral("RABATTGR"), K::WideString, 4, false, &A::RABATTGR},
    {QStringLiteral("HAUPTWARENGR"), K::WideString, 3, false, &A::HAUPTWARENGR},
    {QStringLiteral("WARENGR"), K::WideString, 10, false, &A::WARENGR},
    {QStringLiteral("KOSTENART"), K::WideString, 20, false, &A::KOSTENART},
    {QStringLiteral("ARBEITSZEIT"), K::Float, 0, false, &A::ARBEITSZEIT},
    {QStringLiteral("ALTERNATIVARTIKELNRERSTELLER"), K::WideString, 13, false, &A::ALTERNATIVARTIKELNRERSTELLER},
    {QStringLiteral("ALTERNATIVARTIKELNR"), K::WideString, 15, false, &A::ALTERNATIVARTIKELNR},
    {QStringLiteral("HERSTELLERNRERSTELLER"), K::WideString, 13, false, &A::HERSTELLERNRERSTELLER},
    {QStringLiteral("HERSTELLERNR"), K::WideString, 35, false, &A::HERSTELLERNR},
    {QStringLiteral("HERSTELLERTYPE"), K::WideString, 35, false, &A::HERSTELLERTYPE},
    {QStringLiteral("REFERENZNRERSTELLER"), K::WideString, 13, false, &A::REFERENZNRERSTELLER},
    {QStringLiteral("REFERENZNR"), K::WideString, 17, false, &A::REFERENZNR},
    {QStringLiteral("EAN"), K::WideString, 18, false, &A::EAN},
    {QStringLiteral("MWSTMERKER"), K::SmallInt, 0, false, &A::MWSTMERKER},
    {QStringLiteral("LAGERMERKER"), K::SmallInt, 0, false, &A::LAGERMERKER},
    {QStringLiteral("VERPACKUNGSMENGE"), K::Integer, 0, false, &A::VERPACKUNGSMENGE},
    {QStringLiteral("LANGTEXTNR"), K::WideString, 15, false, &A::LANGTEXTNR},
    {QStringLiteral("ANBINDNR"), K::WideString, 15, false, &A::ANBINDNR},
    {QStringLiteral("XMLDATA"), K::WideMemo, 0, false, std::monostate{}},
};
constexpr int kArticleColumnCount = int(std::size(kArticleColumns));
constexpr int kXmlData = kArticleColumnCount - 1;

struct FieldLayout {
  const char* name;
  K kind;
  int size;
  bool required;
};
struct IndexLayout {
  const char* name;
  const char* fields;
  int options;
};
struct TableLayout {
  const QString& name;
  std::vector<FieldLayout> fields;  // none for CATALOG, whose columns are above
  std::vector<IndexLayout> indexes;  // the first is the working index
};

const std::vector<TableLayout>& Tables() {
  static const std::vector<TableLayout> tables = {
      {kCatalog,
       {},
       {{"CATALOG001", "ID", ixPrimary},
        {"CATALOG002", "MATCHCODE;NETTO", ixNone},
        {"CATALOG003", "KATALOGSEITE;NETTO", ixNone},
        {"CATALOG004", "RABATTGR;NETTO", ixNone},
        {"CATALOG005", "HAUPTWARENGR;WARENGR;NETTO", ixNone}}},
      {kCatalogLT,
       {{"ID", K::WideString, 15, true}, {"IDTYPE", K::SmallInt, 0, false}, {"LT", K::WideMemo, 0, false}},
       {{"CATALOGLT001", "ID", ixPrimary}}},
      {kCatalogSet,
       {{"ID", K::WideString, 15, true},
        {"IDTYPE", K::SmallInt, 0, false},
        {"MATCHCODE", K::WideString, 15, false},
        {"BESCHREIBUNG", K::WideString, 40, false},
        {"AUFRUFMERKER", K::SmallInt, 0, false},
        {"ARTIKELSET", K::WideString, 15, false},
        {"MENGE", K::Float, 0, false}},
       {{"CATALOGSET001", "ID", ixPrimary}}},
      {kCatalogGS,
       {{"ID", K::WideString, 15, true},
        {"IDTYPE", K::SmallInt, 0, false},
        {"BESCHREIBUNG", K::WideString, 40, false},
        {"DATEINAME", K::WideString, 100, false},
        {"ERWEITERUNG", K::WideString, 5, false}},
       {{"CATALOGGS001", "ID", ixNone}}},
      {kCatalogRab,
       {{"ID", K::WideString, 4, true},
        {"BESCHREIBUNG", K::WideString, 40, false},
        {"RABATT", K::Float, 0, false},
        {"VKZUSCHLAG", K::Float, 0, false}},
       {{"CATALOGRAB001", "ID", ixPrimary}}},
      {kCatalogWrg,
       {{"HAUPTWRG", K::WideString, 3, false},
        {"WRG", K::WideString, 10, false},
        {"ISHAUPTWRG", K::Boolean, 0, false},
        {"BESCHREIBUNG", K::WideString, 40, false}},
       {{"CATALOGWRG001", "HAUPTWRG;WRG", ixPrimary | ixUnique}}},
      {kCatalogVerk,
       {{"BISNETTO", K::Float, 0, false}, {"AUFSCHLAG", K::Float, 0, false}},
       {{"CATALOGVERK001", "BISNETTO", ixPrimary | ixUnique}}},
  };
  return tables;
}

const TableLayout* LayoutOf(const QString& table) {
  for (const TableLayout& layout : Tables())
    if (layout.name.compare(table, Qt::CaseInsensitive) == 0) return &layout;
  return nullptr;
}

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
// Spelled out for compilers without aggregate deduction (clang 14).
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// Fills the article from a row source: XMLDATA first (its load resets the
// object), then every column.
template <class Row>
void FillArticle(const Row& row, TKatalog1Artikel& a, bool withLists = true) {
  if (!withLists || row.IsEmptyText(kXmlData)) {
    a.ClearDetails();
  } else {
    const QString katalog = a.Katalog, zusatz1 = a.Zusatztext1, zusatz2 = a.Zusatztext2;
    if (!a.LoadFromText(row.Text(kXmlData))) a.ClearDetails();
    a.Katalog = katalog, a.Zusatztext1 = zusatz1, a.Zusatztext2 = zusatz2;
  }
  for (int c = 0; c < kXmlData; ++c)
    std::visit(Overloaded{[](std::monostate) {},
                          [&](QString A::*m) { row.ReadText(c, a.*m); },
                          [&](double A::*m) { a.*m = row.Float(c); },
                          [&](Currency A::*m) { a.*m = CurrencyFromDouble(row.Float(c)); },
                          [&](quint8 A::*m) { a.*m = quint8(row.Int(c)); },
                          [&](qint32 A::*m) { a.*m = qint32(row.Int(c)); },
                          [&](bool A::*m) { a.*m = row.Int(c) != 0; }},
               kArticleColumns[c].member);
  a.PREISEINHEIT = std::max(a.PREISEINHEIT, 1);
  a.VERPACKUNGSMENGE = std::max(a.VERPACKUNGSMENGE, 1);
}

class CursorRow {
 public:
  CursorRow(const TTdbTable& t, const ArticleColumnMap& map) : t_(t), map_(map) {}
  QVariant Value(int c) const { return map_[c] < 0 ? QVariant() : t_.CurrentValue(map_[c]); }
  QString Text(int c) const { return Value(c).toString(); }
  bool IsEmptyText(int c) const { return Text(c).isEmpty(); }
  void ReadText(int c, QString& into) const { into = Text(c); }
  double Float(int c) const { return Value(c).toDouble(); }
  qint64 Int(int c) const { return Value(c).toLongLong(); }

 private:
  const TTdbTable& t_;
  const ArticleColumnMap& map_;
};

// Column 0 of a walk is the row id.
class WalkRow {
 public:
  WalkRow(const TdbStatement& s, const ArticleColumnMap& map) : s_(s.Handle()), map_(map) {}
  int At(int c) const { return map_[c] + 1; }
  bool IsEmptyText(int c) const { return map_[c] < 0 || sqlite3_column_bytes16(s_, At(c)) == 0; }
  QString Text(int c) const {
    QString text;
    ReadText(c, text);
    return text;
  }
  // Into the buffer the field already has: an article reused for every row
  // allocates only where a text grows.
  void ReadText(int c, QString& into) const {
    if (map_[c] < 0) return into.resize(0);
    const void* data = sqlite3_column_text16(s_, At(c));
    const qsizetype length = sqlite3_column_bytes16(s_, At(c)) / 2;
    into.resize(length);
    if (length > 0) std::memcpy(into.data(), data, size_t(length) * 2);
  }
  double Float(int c) const { return map_[c] < 0 ? 0.0 : sqlite3_column_double(s_, At(c)); }
  qint64 Int(int c) const { return map_[c] < 0 ? 0 : sqlite3_column_int64(s_, At(c)); }

 private:
  sqlite3_stmt* s_;
  const ArticleColumnMap& map_;
};

// Required texts refuse a null text; an empty one is fine.
QVariant TextValue(const QString& text) { return text.isNull() ? QStringLiteral("") : text; }
}  // namespace

QString WorkingIndexOf(const QString& table) {
  const TableLayout* layout = LayoutOf(table);
  return layout ? QString::fromLatin1(layout->indexes.front().name) : QString();
}

bool DefineTable(TTdbTable& table) {
  const TableLayout* layout = LayoutOf(table.TableName());
  if (!layout) return false;
  TTdbFieldDefs& f = table.FieldDefs();
  if (layout->fields.empty())
    for (const ArticleColumn& c : kArticleColumns) f.Add(c.name, c.kind, c.size, c.required);
  for (const FieldLayout& c : layout->fields) f.Add(QString::fromLatin1(c.name), c.kind, c.size, c.required);
  for (const IndexLayout& i : layout->indexes)
    table.IndexDefs().Add(QString::fromLatin1(i.name), QString::fromLatin1(i.fields), i.options);
  table.SetIndexName(QString::fromLatin1(layout->indexes.front().name));
  return true;
}

int ArticleColumnCount() { return kArticleColumnCount; }
const QString& ArticleColumnName(int column) { return kArticleColumns[column].name; }
int XmlDataColumn() { return kXmlData; }

ArticleColumnMap::ArticleColumnMap(const TTdbTable& table) : fields_(size_t(kArticleColumnCount), -1) {
  for (int c = 0; c < kArticleColumnCount; ++c)
    if (const TTdbField* field = table.FindField(kArticleColumns[c].name)) fields_[size_t(c)] = field->Index();
}

void ReadArticle(const TTdbTable& table, const ArticleColumnMap& map, TKatalog1Artikel& article) {
  FillArticle(CursorRow(table, map), article);
}

void ReadArticle(const TdbStatement& walk, const ArticleColumnMap& map, TKatalog1Artikel& article, bool withLists) {
  FillArticle(WalkRow(walk, map), article, withLists);
}

void WriteArticle(TTdbTable& t, TKatalog1Artikel& a) {
  for (int c = 0; c < kXmlData; ++c) {
    TTdbField& field = t.FieldByName(kArticleColumns[c].name);
    std::visit(Overloaded{[](std::monostate) {},
                          [&](QString A::*m) { field.SetValue(TextValue(a.*m)); },
                          [&](double A::*m) { field.SetValue(a.*m); },
                          [&](Currency A::*m) { field.SetValue(CurrencyToDouble(a.*m)); },
                          [&](quint8 A::*m) { field.SetValue(qint64(a.*m)); },
                          [&](qint32 A::*m) { field.SetValue(qint64(a.*m)); },
                          [&](bool A::*m) { field.SetValue(qint64(a.*m ? 1 : 0)); }},
               kArticleColumns[c].member);
  }
  t.FieldByName(kArticleColumns[kXmlData].name).SetValue(a.HasXMLData() ? a.GetXMLText(false) : QStringLiteral(""));
}

}  // namespace katalog1
