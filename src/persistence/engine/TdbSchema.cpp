#include "TdbSchema.h"

#include "TableEngineError.h"
#include "TdbConnection.h"

namespace {
const QString kFieldsTable = QStringLiteral("_TDB_FIELDS");
const QString kIndexTable = QStringLiteral("_TDB_INDEXES");

void EnsureMetaTables(TdbConnection& c) {
  c.Exec(QStringLiteral("CREATE TABLE IF NOT EXISTS _TDB_FIELDS(TBL TEXT NOT NULL, POS INTEGER NOT NULL, "
                        "NAME TEXT NOT NULL, KIND INTEGER NOT NULL, SIZE INTEGER, REQ INTEGER)"));
  c.Exec(QStringLiteral("CREATE TABLE IF NOT EXISTS _TDB_INDEXES(TBL TEXT NOT NULL, POS INTEGER NOT NULL, "
                        "NAME TEXT NOT NULL, FIELDS TEXT NOT NULL, OPTS INTEGER)"));
}

QString IndexSqlName(const QString& table, const QString& index) {
  return QuoteIdentifier(table + QStringLiteral("__") + index);
}

QString CreateTableSql(const QString& sqlName, const TTdbFieldDefs& fields) {
  QStringList columns;
  for (const TTdbFieldDef& f : fields.Items())
    columns << QuoteIdentifier(f.Name) + QLatin1Char(' ') + SqlTypeOf(f.Kind) +
                   (f.Required ? QStringLiteral(" NOT NULL") : QString());
  return QStringLiteral("CREATE TABLE %1(%2)").arg(sqlName, columns.join(QStringLiteral(", ")));
}

void CreateIndexes(TdbConnection& c, const QString& table, const TTdbIndexDefs& indexes) {
  for (const TTdbIndexDef& ix : indexes.Items()) {
    QStringList cols;
    for (const QString& f : ix.FieldList()) cols << QuoteIdentifier(f);
    c.Exec(QStringLiteral("CREATE %1INDEX %2 ON %3(%4)")
               .arg(ix.IsUnique() ? QStringLiteral("UNIQUE ") : QString(), IndexSqlName(table, ix.Name),
                    QuoteIdentifier(table), cols.join(QStringLiteral(", "))));
  }
}

void DeleteDefs(TdbConnection& c, const QString& table) {
  for (const QString& meta : {kFieldsTable, kIndexTable}) {
    TdbStatement del = c.Prepare(QStringLiteral("DELETE FROM %1 WHERE TBL = ?").arg(meta));
    del.Bind(1, table);
    del.Run();
  }
}

void WriteDefs(TdbConnection& c, const QString& table, const TTdbFieldDefs& fields, const TTdbIndexDefs& indexes) {
  DeleteDefs(c, table);
  for (int i = 0; i < fields.Count(); ++i) {
    TdbStatement ins = c.Prepare(QStringLiteral("INSERT INTO _TDB_FIELDS VALUES(?,?,?,?,?,?)"));
    ins.BindAll({table, i, fields[i].Name, int(fields[i].Kind), fields[i].Size, fields[i].Required});
    ins.Run();
  }
  for (int i = 0; i < indexes.Count(); ++i) {
    TdbStatement ins = c.Prepare(QStringLiteral("INSERT INTO _TDB_INDEXES VALUES(?,?,?,?,?)"));
    ins.BindAll({table, i, indexes[i].Name, indexes[i].Fields, indexes[i].Options});
    ins.Run();
  }
}

void CheckDefs(const QString& table, const TTdbFieldDefs& fields, const TTdbIndexDefs& indexes) {
  if (fields.Count() == 0) ThrowEngineError(1, QStringLiteral("table %1 has no field definitions").arg(table));
  for (const TTdbIndexDef& ix : indexes.Items())
    for (const QString& f : ix.FieldList())
      if (fields.IndexOf(f) < 0)
        ThrowEngineError(1, QStringLiteral("index %1 of table %2: unknown field %3").arg(ix.Name, table, f));
}

QStringList ActualColumns(TdbConnection& c, const QString& table) {
  QStringList names;
  TdbStatement info = c.Prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
  info.Bind(1, table);
  while (info.Step()) names << info.Text(0);
  return names;
}

// The named definitions, then every column of the table they do not name:
// another program (a newer version) may have added and filled it.
TTdbFieldDefs WithColumnsKept(TdbConnection& c, const QString& table, const TTdbFieldDefs& named) {
  TTdbFieldDefs stored;
  TTdbIndexDefs storedIndexes;
  TdbSchema::Read(c, table, stored, storedIndexes);
  TTdbFieldDefs all = named;
  for (const TTdbFieldDef& f : stored.Items())
    if (all.IndexOf(f.Name) < 0) all.Add(f.Name, f.Kind, f.Size, f.Required);
  return all;
}
}  // namespace

namespace TdbSchema {
bool IsInternalTable(const QString& name) {
  return name.startsWith(QStringLiteral("_TDB_"), Qt::CaseInsensitive) || name.startsWith(QStringLiteral("sqlite_"));
}

bool TableExists(TdbConnection& c, const QString& table) {
  TdbStatement q = c.Prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name = ? COLLATE NOCASE"));
  q.Bind(1, table);
  return q.Step();
}

QStringList TableNames(TdbConnection& c) {
  QStringList names;
  TdbStatement q = c.Prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"));
  while (q.Step())
    if (!IsInternalTable(q.Text(0))) names << q.Text(0);
  return names;
}

void Create(TdbConnection& c, const QString& table, const TTdbFieldDefs& fields, const TTdbIndexDefs& indexes) {
  CheckDefs(table, fields, indexes);
  TdbWriteScope tx(c);
  EnsureMetaTables(c);
  c.Exec(CreateTableSql(QuoteIdentifier(table), fields));
  CreateIndexes(c, table, indexes);
  WriteDefs(c, table, fields, indexes);
  tx.Commit();
}

void Recreate(TdbConnection& c, const QString& table, const TTdbFieldDefs& named, const TTdbIndexDefs& indexes) {
  TdbWriteScope tx(c);
  EnsureMetaTables(c);
  const QStringList old = ActualColumns(c, table);
  const TTdbFieldDefs fields = WithColumnsKept(c, table, named);
  CheckDefs(table, fields, indexes);  // an index may name a kept column
  QStringList common;
  for (const TTdbFieldDef& f : fields.Items())
    if (old.contains(f.Name, Qt::CaseInsensitive)) common << QuoteIdentifier(f.Name);
  const QString temp = table + QStringLiteral("__ALTER");
  c.Exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(QuoteIdentifier(temp)));
  c.Exec(CreateTableSql(QuoteIdentifier(temp), fields));
  const QString cols = common.join(QStringLiteral(", "));
  c.Exec(QStringLiteral("INSERT INTO %1(rowid%2) SELECT rowid%2 FROM %3")
             .arg(QuoteIdentifier(temp), cols.isEmpty() ? QString() : QStringLiteral(", ") + cols, QuoteIdentifier(table)));
  c.Exec(QStringLiteral("DROP TABLE %1").arg(QuoteIdentifier(table)));
  c.Exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(QuoteIdentifier(temp), QuoteIdentifier(table)));
  CreateIndexes(c, table, indexes);
  WriteDefs(c, table, fields, indexes);
  tx.Commit();
}

bool AddIndex(TdbConnection& c, const QString& table, const TTdbIndexDef& index) {
  TdbWriteScope tx(c);  // read and write under one lock: two programs may try at once
  EnsureMetaTables(c);
  TTdbFieldDefs fields;
  TTdbIndexDefs indexes;
  Read(c, table, fields, indexes);
  if (indexes.IndexOf(index.Name) >= 0) return false;
  indexes.Add(index.Name, index.Fields, index.Options);
  CheckDefs(table, fields, indexes);
  TTdbIndexDefs added;
  added.Add(index.Name, index.Fields, index.Options);
  CreateIndexes(c, table, added);
  TdbStatement ins = c.Prepare(QStringLiteral("INSERT INTO _TDB_INDEXES VALUES(?,?,?,?,?)"));
  ins.BindAll({table, indexes.Count() - 1, index.Name, index.Fields, index.Options});
  ins.Run();
  tx.Commit();
  return true;
}

void Read(TdbConnection& c, const QString& table, TTdbFieldDefs& fields, TTdbIndexDefs& indexes) {
  fields.Clear();
  indexes.Clear();
  const bool hasMeta = TableExists(c, kFieldsTable) && TableExists(c, kIndexTable);
  if (hasMeta) {
    TdbStatement q = c.Prepare(QStringLiteral("SELECT NAME, KIND, SIZE, REQ FROM _TDB_FIELDS WHERE TBL = ? COLLATE NOCASE ORDER BY POS"));
    q.Bind(1, table);
    while (q.Step()) {
      const int kind = int(q.Int64(1));
      fields.Add(q.Text(0), IsKnownFieldKind(kind) ? TdbFieldKind(kind) : TdbFieldKind::WideString, int(q.Int64(2)),
                 q.Int64(3) != 0);
    }
  }
  for (const QString& name : ActualColumns(c, table))
    if (fields.IndexOf(name) < 0) fields.Add(name, TdbFieldKind::WideMemo);
  if (!hasMeta) return;
  TdbStatement q = c.Prepare(QStringLiteral("SELECT NAME, FIELDS, OPTS FROM _TDB_INDEXES WHERE TBL = ? COLLATE NOCASE ORDER BY POS"));
  q.Bind(1, table);
  while (q.Step()) indexes.Add(q.Text(0), q.Text(1), int(q.Int64(2)));
}
}  // namespace TdbSchema
