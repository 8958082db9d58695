#pragma once
// The seven tables of a material catalogue: their definitions, and how a
// CATALOG row and a TKatalog1Artikel map onto each other.
#include <QString>
#include <array>
#include <vector>

#include "Katalog1Artikel.h"
#include "TdbTable.h"

class TdbStatement;

namespace katalog1 {

extern const QString kCatalog, kCatalogLT, kCatalogSet, kCatalogGS, kCatalogRab, kCatalogWrg, kCatalogVerk;
extern const QString kCatalogIndex;  // "CATALOG001", the working index of the articles

// The working index of each table, by table name; empty for other names.
QString WorkingIndexOf(const QString& table);
// Adds the columns and indexes of one of the seven tables and sets its
// working index; false for any other table.
bool DefineTable(TTdbTable& table);

// The CATALOG columns in table order.
int ArticleColumnCount();
const QString& ArticleColumnName(int column);
int XmlDataColumn();

// Where each article column stands in an open table (-1 when an older table lacks it).
class ArticleColumnMap {
 public:
  explicit ArticleColumnMap(const TTdbTable& table);
  int operator[](int column) const { return fields_[size_t(column)]; }

 private:
  std::vector<int> fields_;
};

// Reads the cursor's current row into the article: every column, the
// XMLDATA lists, price unit and packing quantity at least 1; the long text,
// the surcharge and the attached objects emptied. The catalogue key and
// the further texts stay.
void ReadArticle(const TTdbTable& table, const ArticleColumnMap& map, TKatalog1Artikel& article);
// The same from a walk's current row; the column map is on the walk's table,
// whose statement puts the row id first. Texts reuse the article's buffers.
// Without lists the XMLDATA is not read: the lists stay empty.
void ReadArticle(const TdbStatement& walk, const ArticleColumnMap& map, TKatalog1Artikel& article,
                 bool withLists = true);

// Sets every column of the row being appended or edited; XMLDATA stays
// empty when the article's lists are.
void WriteArticle(TTdbTable& table, TKatalog1Artikel& article);

}  // namespace katalog1
