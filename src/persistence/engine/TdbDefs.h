#pragma once
// Column and index definitions of a table, as the callers give them and as
// they are kept in the table's file.
#include <QString>
#include <QStringList>
#include <vector>

// Column kinds by their engine codes.
enum class TdbFieldKind : int {
  AnsiString = 1,
  SmallInt = 2,
  Float = 4,
  Integer = 5,
  Boolean = 6,
  Blob = 12,
  DateTime = 15,
  WideString = 16,
  WideMemo = 17,
};

bool IsKnownFieldKind(int code);
// The SQLite column type a kind is stored as.
QString SqlTypeOf(TdbFieldKind kind);

struct TTdbFieldDef {
  QString Name;
  TdbFieldKind Kind = TdbFieldKind::WideString;
  int Size = 0;
  bool Required = false;
  bool operator==(const TTdbFieldDef&) const = default;
};

class TTdbFieldDefs {
 public:
  void Add(const QString& name, TdbFieldKind kind, int size = 0, bool required = false);
  int IndexOf(const QString& name) const;  // case-insensitive; -1 when absent
  // Moves the definition at from to position to (both 0-based).
  void MoveFieldDef(int from, int to);
  void Clear() { defs_.clear(); }
  int Count() const { return int(defs_.size()); }
  const TTdbFieldDef& operator[](int i) const { return defs_.at(size_t(i)); }
  const std::vector<TTdbFieldDef>& Items() const { return defs_; }
  bool operator==(const TTdbFieldDefs&) const = default;

 private:
  std::vector<TTdbFieldDef> defs_;
};

enum TdbIndexOption : int { ixNone = 0, ixPrimary = 1, ixUnique = 2 };

struct TTdbIndexDef {
  QString Name;
  QString Fields;  // joined by semicolons
  int Options = ixNone;
  QStringList FieldList() const;
  bool IsUnique() const { return (Options & ixUnique) != 0; }
  bool operator==(const TTdbIndexDef&) const = default;
};

class TTdbIndexDefs {
 public:
  void Add(const QString& name, const QString& fields, int options = ixNone);
  int IndexOf(const QString& name) const;
  void Clear() { defs_.clear(); }
  int Count() const { return int(defs_.size()); }
  const TTdbIndexDef& operator[](int i) const { return defs_.at(size_t(i)); }
  const std::vector<TTdbIndexDef>& Items() const { return defs_; }
  bool operator==(const TTdbIndexDefs&) const = default;

 private:
  std::vector<TTdbIndexDef> defs_;
};

// Splits "A;B" into trimmed names.
QStringList SplitFieldNames(const QString& fields);
