#include "TdbAccessor.h"

#include <sqlite3.h>

#include "TableEngineError.h"
#include "TdbConnection.h"
#include "TdbTable.h"

TTdbAccessor::TTdbAccessor(TTdbTable& table) : table_(table) {}

TTdbAccessor::TTdbAccessor(TTdbTable& table, const QStringList& columns) : table_(table), columns_(columns) {}

TTdbAccessor::~TTdbAccessor() { Finish(); }

void TTdbAccessor::Finish() {
  sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  atRow_ = false;
}

int TTdbAccessor::First() {
  Finish();
  sqlite3* db = table_.Connection().Handle();
  QStringList quoted;
  for (const QString& column : columns_) quoted << QuoteIdentifier(column);
  const QByteArray sql = table_.SelectSql(QString(), false, QString(), quoted.join(QStringLiteral(", "))).toUtf8();
  if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
    Finish();
    ThrowEngineError(db, QStringLiteral("accessor"));
  }
  return Next();
}

int TTdbAccessor::Next() {
  if (!stmt_) return SQLITE_DONE;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) {
    atRow_ = true;
    return 0;
  }
  sqlite3* db = sqlite3_db_handle(stmt_);
  Finish();
  if (rc != SQLITE_DONE) ThrowEngineError(db, QStringLiteral("accessor"));
  return rc;
}

int TTdbAccessor::FieldIndex(const QString& name) const {
  if (!columns_.isEmpty()) {
    for (qsizetype i = 0; i < columns_.size(); ++i)
      if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
  }
  TTdbField* field = table_.FindField(name);
  return field ? field->Index() : -1;
}

// Column 0 of the statement is the row id.
QVariant TTdbAccessor::Value(int field) const {
  return atRow_ ? ColumnValue(stmt_, field + 1) : QVariant();
}

QString TTdbAccessor::AsString(int field) const {
  if (!atRow_) return QString();
  // Text straight from the row; other kinds as their value reads as text.
  const int column = field + 1;
  return sqlite3_column_type(stmt_, column) == SQLITE_TEXT ? ColumnText(stmt_, column)
                                                           : ColumnValue(stmt_, column).toString();
}

double TTdbAccessor::AsFloat(int field) const { return atRow_ ? sqlite3_column_double(stmt_, field + 1) : 0.0; }
qint64 TTdbAccessor::AsInteger(int field) const { return atRow_ ? sqlite3_column_int64(stmt_, field + 1) : 0; }
bool TTdbAccessor::IsNull(int field) const {
  return !atRow_ || sqlite3_column_type(stmt_, field + 1) == SQLITE_NULL;
}
qint64 TTdbAccessor::RowId() const { return atRow_ ? sqlite3_column_int64(stmt_, 0) : 0; }
