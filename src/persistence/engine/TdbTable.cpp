#include "TdbTable.h"

#include <sqlite3.h>

#include <QRegularExpression>

#include "TableEngineError.h"
#include "TdbConnection.h"
#include "TdbDatabase.h"
#include "TdbSchema.h"

void TTdbTable::Fail(const QString& message) { ThrowEngineError(1, message); }

TTdbTable::TTdbTable(TTdbDatabase* database) { SetDatabase(database); }

TTdbTable::~TTdbTable() {
  try {
    Close();
  } catch (...) {
  }
  if (db_) db_->Unregister(this);
}

void TTdbTable::SetDatabase(TTdbDatabase* database) {
  if (database == db_) return;
  Close();
  if (db_) db_->Unregister(this);
  db_ = database;
  if (db_) db_->Register(this);
}

void TTdbTable::SetTableName(const QString& name) {
  if (Active()) Fail(QStringLiteral("cannot rename the open table %1").arg(tableName_));
  tableName_ = name;
}

void TTdbTable::SetIndexName(const QString& name) {
  if (!Active()) {
    indexName_ = name;
    return;
  }
  const qint64 rowId = RowId();
  const QString previous = indexName_;
  indexName_ = name;
  try {
    ResolveOrder();
  } catch (...) {
    indexName_ = previous;
    throw;
  }
  if (!(rowId && LoadRow(rowId))) DoFirst();
  NotifyReset();
}

// ---- structure

void TTdbTable::RequireDatabase() const {
  if (!db_) Fail(QStringLiteral("table %1 has no database").arg(tableName_));
  if (tableName_.isEmpty()) Fail(QStringLiteral("table name missing"));
}

void TTdbTable::CreateTable() {
  RequireDatabase();
  TdbConnection& c = db_->ConnectionFor(tableName_, true);
  if (TdbSchema::TableExists(c, tableName_)) Fail(QStringLiteral("table %1 already exists").arg(tableName_));
  TdbSchema::Create(c, tableName_, fieldDefs_, indexDefs_);
}

void TTdbTable::AlterTable() {
  RequireDatabase();
  if (Active()) Fail(QStringLiteral("table %1 must be closed to be altered").arg(tableName_));
  TdbSchema::Recreate(db_->ConnectionFor(tableName_), tableName_, fieldDefs_, indexDefs_);
}

void TTdbTable::ReadDefinitions() {
  RequireDatabase();
  TdbSchema::Read(db_->ConnectionFor(tableName_), tableName_, fieldDefs_, indexDefs_);
}

void TTdbTable::EnsureIndex(const QString& name, const QString& fields, int options) {
  RequireDatabase();
  if (Active() && HasIndex(name)) return;
  TdbConnection& c = db_->ConnectionFor(tableName_);
  TdbSchema::AddIndex(c, tableName_, TTdbIndexDef{name, fields, options});
  if (!Active()) return;
  TTdbFieldDefs stored;
  TdbSchema::Read(c, tableName_, stored, openIndexes_);
}

bool TTdbTable::HasIndex(const QString& name) const { return Active() && openIndexes_.IndexOf(name) >= 0; }

void TTdbTable::EmptyTable() {
  RequireDatabase();
  TdbConnection& c = db_->ConnectionFor(tableName_);
  TdbWriteScope tx(c);
  c.Exec(QStringLiteral("DELETE FROM %1").arg(QuoteIdentifier(tableName_)));
  tx.Commit();
  if (Active()) Refresh();
}

bool TTdbTable::GetExists() {
  RequireDatabase();
  if (!db_->TableFileExists(tableName_)) return false;
  return TdbSchema::TableExists(db_->ConnectionFor(tableName_), tableName_);
}

QString TTdbTable::GetTableFileName() const { return db_ ? db_->TableFileName(tableName_) : QString(); }

// ---- opening

void TTdbTable::Open() {
  if (Active()) return;
  RequireDatabase();
  TdbConnection& c = db_->ConnectionFor(tableName_);
  // A file without the table is not this table's file.
  if (!TdbSchema::TableExists(c, tableName_))
    ThrowEngineError(SQLITE_NOTADB, QStringLiteral("table %1 does not exist in %2").arg(tableName_, c.FileName()));
  TdbSchema::Read(c, tableName_, openDefs_, openIndexes_);
  connection_ = &c;
  sqlName_ = QuoteIdentifier(tableName_);
  BuildFields();
  try {
    ResolveOrder();
  } catch (...) {
    connection_ = nullptr;
    fields_.clear();
    throw;
  }
  state_ = TdbState::Browse;
  DoFirst();
  NotifyReset();  // views bound before the open show the rows now
}

void TTdbTable::BuildFields() {
  fields_.clear();
  QStringList columns, sets;
  for (int i = 0; i < openDefs_.Count(); ++i) {
    fields_.push_back(std::make_unique<TTdbField>(*this, i, openDefs_[i]));
    columns << QuoteIdentifier(openDefs_[i].Name);
    sets << QuoteIdentifier(openDefs_[i].Name) + QStringLiteral(" = ?");
  }
  columnList_ = columns.join(QStringLiteral(", "));
  // The statements of every post, made once per open.
  insertStmt_ = updateStmt_ = nullptr;
  insertSql_ = QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                   .arg(sqlName_, columnList_, QStringList(int(fields_.size()), QStringLiteral("?")).join(u','));
  // Edits and deletes touch only the row as it was read: another program's
  // change or delete in between (or a row id reused since) makes them fail
  // instead of overwriting or removing a row nobody here has seen.
  QStringList unchanged;
  for (const QString& column : columns) unchanged << column + QStringLiteral(" IS ?");
  const QString asRead = QStringLiteral("rowid = ? AND ") + unchanged.join(QStringLiteral(" AND "));
  updateSql_ = QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(sqlName_, sets.join(u','), asRead);
  deleteSql_ = QStringLiteral("DELETE FROM %1 WHERE %2").arg(sqlName_, asRead);
}

// Resolved into locals first: an unknown index name must leave the order
// the cursor moves by as it was.
void TTdbTable::ResolveOrder() {
  std::vector<int> columns;
  QStringList asc, desc;
  if (!indexName_.isEmpty()) {
    const int ix = openIndexes_.IndexOf(indexName_);
    if (ix < 0) Fail(QStringLiteral("index %1 not found in table %2").arg(indexName_, tableName_));
    for (const QString& name : openIndexes_[ix].FieldList()) {
      columns.push_back(openDefs_.IndexOf(name));
      asc << QuoteIdentifier(name);
      desc << QuoteIdentifier(name) + QStringLiteral(" DESC");
    }
  }
  // Ties in the index go by row id, so every row has one place.
  orderColumns_ = std::move(columns);
  orderAsc_ = (asc << QStringLiteral("rowid")).join(QStringLiteral(", "));
  orderDesc_ = (desc << QStringLiteral("rowid DESC")).join(QStringLiteral(", "));
}

void TTdbTable::Close() {
  if (!Active()) return;
  while (lockDepth_ > 0) UnlockTable();
  state_ = TdbState::Inactive;
  ClearWindow();
  fields_.clear();
  insertStmt_ = updateStmt_ = nullptr;
  connection_ = nullptr;
  NotifyReset();
}

void TTdbTable::Refresh() {
  RequireActive();
  const qint64 rowId = RowId();
  const bool eof = eof_, bof = bof_;
  if (rowId && LoadRow(rowId)) {
    eof_ = eof;
    bof_ = bof;
  } else {
    DoFirst();
  }
  NotifyReset();
}

TdbConnection& TTdbTable::Connection() const {
  RequireActive();
  return *connection_;
}

void TTdbTable::RequireActive() const {
  if (!connection_) Fail(QStringLiteral("table %1 is not open").arg(tableName_));
}

// ---- changing

void TTdbTable::EnsureWritable() const {
  RequireActive();
  if (readOnly_ || (db_ && db_->ReadOnly())) Fail(QStringLiteral("table %1 is read-only").arg(tableName_));
}

void TTdbTable::Append() {
  EnsureWritable();
  if (state_ != TdbState::Browse) Post();
  if (BeforeScroll) BeforeScroll(*this);
  buffer_ = QVariantList(int(fields_.size()));
  editRowId_ = 0;
  state_ = TdbState::Insert;
}

void TTdbTable::Edit() {
  EnsureWritable();
  if (state_ == TdbState::Edit || state_ == TdbState::Insert) return;
  if (window_.empty()) Fail(QStringLiteral("table %1 has no current row to edit").arg(tableName_));
  buffer_ = window_[pos_].Values(FieldCount());
  editOriginal_ = buffer_;
  editRowId_ = window_[pos_].rowId;
  state_ = TdbState::Edit;
}

void TTdbTable::ExpectUnchanged(int column, const QVariant& shown) {
  if (state_ != TdbState::Edit) Fail(QStringLiteral("table %1 is not in edit mode").arg(tableName_));
  editOriginal_[column] = Fields(column).StoredForm(shown);
}

namespace {
void RequireRowTouched(TdbConnection& c, const QString& table) {
  if (sqlite3_changes(c.Handle()) == 0)
    ThrowEngineError(TdbErrorCode::RowChanged, QStringLiteral("row of %1 changed or deleted since it was read").arg(table));
}
}  // namespace

void TTdbTable::Write() {
  TdbConnection& c = Connection();
  TdbWriteScope tx(c);
  if (state_ == TdbState::Insert) {
    if (!insertStmt_) insertStmt_ = c.Cached(insertSql_);
    TdbStatement q(c.Handle(), insertStmt_);
    q.BindAll(buffer_);
    q.Run();
    editRowId_ = sqlite3_last_insert_rowid(c.Handle());
  } else {
    if (!updateStmt_) updateStmt_ = c.Cached(updateSql_);
    TdbStatement q(c.Handle(), updateStmt_);
    q.BindAll(buffer_);
    q.Bind(int(buffer_.size()) + 1, editRowId_);
    q.BindAll(editOriginal_, int(buffer_.size()) + 2);
    q.Run();
    RequireRowTouched(c, tableName_);
  }
  tx.Commit();
}

void TTdbTable::DeleteAsRead(const Row& row) {
  TdbConnection& c = Connection();
  TdbWriteScope tx(c);
  TdbStatement q = c.Prepare(deleteSql_);
  q.Bind(1, row.rowId);
  q.BindAll(row.Values(FieldCount()), 2);
  q.Run();
  RequireRowTouched(c, tableName_);
  tx.Commit();
}

void TTdbTable::Post() {
  RequireActive();
  if (state_ == TdbState::Browse) return;
  Write();
  const bool inserted = state_ == TdbState::Insert;
  const qint64 rowId = editRowId_;
  state_ = TdbState::Browse;
  // The posted values are what the row now holds (they are kept in stored form),
  // so the cursor stands on it without reading it back.
  SetWindow({Row{rowId, nullptr, 0, std::move(buffer_)}}, 0);
  eof_ = bof_ = false;
  buffer_.clear();
  Notify([&](ITdbTableListener* l) { inserted ? l->RowInserted(rowId) : l->RowChanged(rowId); });
  if (AfterScroll) AfterScroll(*this);
}

void TTdbTable::Cancel() {
  if (state_ != TdbState::Edit && state_ != TdbState::Insert) return;
  state_ = TdbState::Browse;
  buffer_.clear();
}

void TTdbTable::Delete() {
  EnsureWritable();
  if (state_ == TdbState::Insert) return Cancel();
  if (window_.empty()) Fail(QStringLiteral("table %1 has no current row to delete").arg(tableName_));
  state_ = TdbState::Browse;
  const Row row = window_[pos_];
  DeleteAsRead(row);
  // The next row takes its place; at the end, the one before.
  if (!FirstMatching(Beyond(row, true).sql, Beyond(row, true).binds) && !(SetWindow({row}, 0), DoStep(false)))
    ClearWindow();
  eof_ = window_.empty();
  Notify([&](ITdbTableListener* l) { l->RowDeleted(row.rowId); });
  if (AfterScroll) AfterScroll(*this);
}

// ---- fields

TTdbField* TTdbTable::FindField(const QString& name) const {
  if (!Active()) return nullptr;
  // A scan beats hashing for the few columns a table has; callers mostly
  // spell names as defined, so the exact comparison comes first.
  for (const auto& field : fields_)
    if (field->FieldName() == name) return field.get();
  for (const auto& field : fields_)
    if (field->FieldName().compare(name, Qt::CaseInsensitive) == 0) return field.get();
  return nullptr;
}

TTdbField& TTdbTable::FieldByName(const QString& name) const {
  TTdbField* field = FindField(name);
  if (!field) Fail(QStringLiteral("field %1 not found in table %2").arg(name, tableName_));
  return *field;
}

QVariant TTdbTable::CurrentValue(int column) const {
  if (state_ == TdbState::Edit || state_ == TdbState::Insert) return buffer_.value(column);
  return window_.empty() ? QVariant() : window_[pos_].Value(column);
}

void TTdbTable::SetCurrentValue(int column, const QVariant& value) {
  if (state_ != TdbState::Edit && state_ != TdbState::Insert)
    Fail(QStringLiteral("table %1 is not in edit or insert mode").arg(tableName_));
  buffer_[column] = value;
}

// ---- filters

void TTdbTable::SetOnFilterRecord(FilterRecord filter) {
  filterRecord_ = std::move(filter);
  if (Active() && filtered_) Refresh();
}

void TTdbTable::SetFilter(const QString& expression) {
  static const QRegularExpression form(QStringLiteral(R"(^\s*(\w+)\s*=\s*'((?:[^']|'')*)'\s*$)"));
  QString column;
  QVariant value;
  if (!expression.trimmed().isEmpty()) {
    const auto match = form.match(expression);
    if (!match.hasMatch()) Fail(QStringLiteral("filter not understood: %1").arg(expression));
    column = match.captured(1);
    value = match.captured(2).replace(QStringLiteral("''"), QStringLiteral("'"));
  }
  filterText_ = expression;
  ApplyFilter(column, value);
}

void TTdbTable::SetFilterValue(const QString& column, const QVariant& value) {
  filterText_ = column + QStringLiteral(" = '") + value.toString().replace(u'\'', QStringLiteral("''")) + u'\'';
  ApplyFilter(column, value);
}

void TTdbTable::ApplyFilter(const QString& column, const QVariant& value) {
  filterColumn_ = column;
  filterValue_ = value;
  if (Active() && filtered_) Refresh();
}

void TTdbTable::SetFiltered(bool on) {
  filtered_ = on;
  if (Active()) {
    DoFirst();
    NotifyReset();
  }
}

// ---- views and locks

void TTdbTable::EnableControls() {
  if (disableCount_ > 0 && --disableCount_ == 0 && pendingReset_) {
    pendingReset_ = false;
    NotifyReset();
  }
}

void TTdbTable::AddListener(ITdbTableListener* listener) { listeners_.push_back(listener); }
void TTdbTable::RemoveListener(ITdbTableListener* listener) { std::erase(listeners_, listener); }

template <typename F>
void TTdbTable::Notify(F call) {
  if (disableCount_ > 0) {
    pendingReset_ = true;
    return;
  }
  for (ITdbTableListener* l : std::vector<ITdbTableListener*>(listeners_)) call(l);
}

void TTdbTable::NotifyReset() {
  Notify([](ITdbTableListener* l) { l->TableReset(); });
}

void TTdbTable::LockTable(int) {
  Connection().Begin();
  ++lockDepth_;
}

void TTdbTable::UnlockTable(int) {
  if (lockDepth_ == 0) return;
  --lockDepth_;
  Connection().Commit();
}
