#pragma once
// A table known as a fixed list of columns in table order, with an enum Col
// counting them, and readers of its current row by that enum: from the
// cursor (fields looked up once) or from a walk (indexes looked up once). A
// column an old table lacks reads as empty.
#include <QString>
#include <array>
#include <cstddef>

#include "TdbAccessor.h"
#include "TdbTable.h"

struct TableColumn {
  QString name;
  TdbFieldKind kind;
  int size;
  bool required;
};

template <const auto& Columns, class Col>
class ColumnCursorRow {
  static constexpr std::size_t kCount = std::size(Columns);

 public:
  explicit ColumnCursorRow(const TTdbTable& t) {
    for (std::size_t i = 0; i < kCount; ++i) fields_[i] = t.FindField(Columns[i].name);
  }
  QString Text(Col c) const { return fields_[c] ? fields_[c]->AsString() : QString(); }
  double Float(Col c) const { return fields_[c] ? fields_[c]->AsFloat() : 0.0; }
  qint64 Int(Col c) const { return fields_[c] ? fields_[c]->AsInteger() : 0; }
  TTdbField* Field(Col c) const { return fields_[c]; }

 private:
  std::array<TTdbField*, kCount> fields_{};
};

template <const auto& Columns, class Col>
class ColumnWalkRow {
  static constexpr std::size_t kCount = std::size(Columns);

 public:
  explicit ColumnWalkRow(const TTdbAccessor& a) : a_(a) {
    for (std::size_t i = 0; i < kCount; ++i) index_[i] = a.FieldIndex(Columns[i].name);
  }
  QString Text(Col c) const { return index_[c] < 0 ? QString() : a_.AsString(index_[c]); }
  double Float(Col c) const { return index_[c] < 0 ? 0.0 : a_.AsFloat(index_[c]); }
  qint64 Int(Col c) const { return index_[c] < 0 ? 0 : a_.AsInteger(index_[c]); }

 private:
  const TTdbAccessor& a_;
  std::array<int, kCount> index_{};
};

// Adds columns[added] to defs, when missing, behind the nearest earlier
// column defs has: a later column of an old table keeps the table order. Not
// required: the rows written before have no value for it. True when added.
template <std::size_t N>
bool AddMissingColumn(TTdbFieldDefs& defs, const TableColumn (&columns)[N], int added) {
  if (defs.IndexOf(columns[added].name) >= 0) return false;
  const TableColumn& c = columns[added];
  defs.Add(c.name, c.kind, c.size, false);
  int behind = -1;
  for (int p = added - 1; p >= 0 && behind < 0; --p) behind = defs.IndexOf(columns[p].name);
  defs.MoveFieldDef(defs.Count() - 1, behind + 1);
  return true;
}

// Every column, for a table about to be created.
template <std::size_t N>
void AddColumns(TTdbFieldDefs& defs, const TableColumn (&columns)[N]) {
  for (const TableColumn& c : columns) defs.Add(c.name, c.kind, c.size, c.required);
}
