#pragma once
// Low-level walk over all rows of an open table in its active order, without
// the cursor machinery: one statement stepped from start to end. The walk
// holds a read lock on the file until it ends or the accessor is destroyed.
#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3_stmt;
class TTdbTable;

class TTdbAccessor {
 public:
  explicit TTdbAccessor(TTdbTable& table);
  // Only these columns, numbered from 0 in this order: a walk over the keys
  // of an index reads the index alone, not the rows.
  TTdbAccessor(TTdbTable& table, const QStringList& columns);
  ~TTdbAccessor();
  TTdbAccessor(const TTdbAccessor&) = delete;
  TTdbAccessor& operator=(const TTdbAccessor&) = delete;

  int First();  // 0 when a row was reached
  int Next();   // 0 when a row was reached
  bool AtRow() const { return atRow_; }

  int FieldIndex(const QString& name) const;  // -1 when absent
  QVariant Value(int field) const;
  QString AsString(int field) const;
  double AsFloat(int field) const;
  qint64 AsInteger(int field) const;
  bool IsNull(int field) const;
  qint64 RowId() const;

 private:
  void Finish();

  TTdbTable& table_;
  QStringList columns_;  // empty: every column of the table
  sqlite3_stmt* stmt_ = nullptr;
  bool atRow_ = false;
};
