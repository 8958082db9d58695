#pragma once
// A table object is a cursor over one engine table. It never loads the
// table: it moves with keyed queries on the active index and keeps only a
// small read-ahead window of rows.
#include <QDateTime>
#include <QHash>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

#include "TdbDefs.h"

class TTdbDatabase;
class TdbConnection;
struct sqlite3_stmt;
struct TdbRowPage;
class TTdbTable;

enum class TdbState { Inactive, Browse, Edit, Insert };

// One column of the current row.
class TTdbField {
 public:
  TTdbField(TTdbTable& table, int index, const TTdbFieldDef& def) : table_(table), index_(index), def_(def) {}
  const QString& FieldName() const { return def_.Name; }
  TdbFieldKind Kind() const { return def_.Kind; }
  int Size() const { return def_.Size; }
  int Index() const { return index_; }

  QVariant Value() const;
  // The value as this column stores it (so keys and searches compare alike).
  QVariant StoredForm(const QVariant& value) const;
  void SetValue(const QVariant& value);
  bool IsNull() const { return Value().isNull(); }
  void Clear() { SetValue(QVariant()); }
  QString AsString() const;
  void SetAsString(const QString& value);
  double AsFloat() const { return Value().toDouble(); }
  void SetAsFloat(double value) { SetValue(value); }
  qint64 AsInteger() const { return Value().toLongLong(); }
  void SetAsInteger(qint64 value) { SetValue(value); }
  bool AsBoolean() const { return Value().toLongLong() != 0; }
  void SetAsBoolean(bool value) { SetValue(qint64(value ? 1 : 0)); }
  QDateTime AsDateTime() const { return DateTimeOf(Value()); }
  // A stored date-time value as a date and time.
  static QDateTime DateTimeOf(const QVariant& stored);
  void SetAsDateTime(const QDateTime& value);

 private:
  TTdbTable& table_;
  int index_;
  TTdbFieldDef def_;
};

// What a data-aware view follows.
class ITdbTableListener {
 public:
  virtual ~ITdbTableListener() = default;
  virtual void TableReset() = 0;  // anything may have changed
  virtual void RowChanged(qint64 rowId) = 0;
  virtual void RowInserted(qint64 rowId) = 0;
  virtual void RowDeleted(qint64 rowId) = 0;
};

class TTdbTable {
 public:
  using Event = std::function<void(TTdbTable&)>;
  using FilterRecord = std::function<bool(const TTdbTable&)>;

  explicit TTdbTable(TTdbDatabase* database = nullptr);
  ~TTdbTable();
  TTdbTable(const TTdbTable&) = delete;
  TTdbTable& operator=(const TTdbTable&) = delete;

  // Setup.
  TTdbDatabase* Database() const { return db_; }
  void SetDatabase(TTdbDatabase* database);
  QString TableName() const { return tableName_; }
  void SetTableName(const QString& name);
  QString IndexName() const { return indexName_; }
  void SetIndexName(const QString& name);  // may be switched while open; keeps the current row
  int TableLevel() const { return tableLevel_; }
  void SetTableLevel(int level) { tableLevel_ = level; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on) { readOnly_ = on; }
  bool Exclusive() const { return exclusive_; }
  void SetExclusive(bool on) { exclusive_ = on; }
  TTdbFieldDefs& FieldDefs() { return fieldDefs_; }
  TTdbIndexDefs& IndexDefs() { return indexDefs_; }
  // Replaces the definitions above by those stored with the table.
  void ReadDefinitions();

  // Structure.
  void CreateTable();
  void AlterTable();  // to the current definitions, keeping every row
  void EmptyTable();
  // Adds the index unless the table has one of that name; no rebuild, the
  // rows stay where they are. Also while open: the index can be chosen then.
  void EnsureIndex(const QString& name, const QString& fields, int options);
  bool HasIndex(const QString& name) const;  // of the open table
  bool GetExists();
  QString GetTableFileName() const;

  // Opening.
  void Open();
  void Close();
  bool Active() const { return state_ != TdbState::Inactive; }
  void SetActive(bool on) { on ? Open() : Close(); }
  void Refresh();
  TdbState State() const { return state_; }

  // Moving.
  void First();
  void Last();
  void Next();
  void Prior();
  void MoveBy(int distance);
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const { return window_.empty(); }
  qint64 RecordCount();
  qint64 RecordNo();  // 1-based position in the active order; 0 without a row
  void SetRecordNo(qint64 recordNo);
  qint64 RowId() const;  // of the current row; 0 without one
  bool GotoRowId(qint64 rowId);
  bool Locate(const QString& fields, const QVariantList& values);
  bool Locate(const QString& field, const QVariant& value) { return Locate(field, QVariantList{value}); }
  bool FindKey(const QVariantList& values);
  void FindNearest(const QVariantList& values);

  // Changing.
  void Append();
  void Insert() { Append(); }
  void Edit();
  // In an edit: the post succeeds only while the column still holds the value
  // a view showed, not just the value the cursor read later.
  void ExpectUnchanged(int column, const QVariant& shown);
  void Post();
  void Cancel();
  void Delete();

  // Fields.
  int FieldCount() const { return int(fields_.size()); }
  TTdbField& Fields(int index) { return *fields_.at(size_t(index)); }
  TTdbField* FindField(const QString& name) const;
  TTdbField& FieldByName(const QString& name) const;

  // Filters, active while Filtered is on: a predicate and an expression "Field = 'value'".
  void SetOnFilterRecord(FilterRecord filter);
  void SetFilter(const QString& expression);
  // The same filter with the value as it is, never parsed from a text.
  void SetFilterValue(const QString& column, const QVariant& value);
  QString Filter() const { return filterText_; }
  void SetFiltered(bool on);
  bool Filtered() const { return filtered_; }

  // Events and views.
  Event BeforeScroll;
  Event AfterScroll;
  void DisableControls() { ++disableCount_; }
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }
  void AddListener(ITdbTableListener* listener);
  void RemoveListener(ITdbTableListener* listener);

  // Whole-table lock (kind 0): holds the write lock of the table's file until unlocked.
  void LockTable(int kind = 0);
  void UnlockTable(int kind = 0);

  // For the fields, the accessor and the database.
  QVariant CurrentValue(int column) const;
  void SetCurrentValue(int column, const QVariant& value);
  TdbConnection& Connection() const;
  // Every column after the row id, or only the given ones (quoted, comma-separated).
  QString SelectSql(const QString& where, bool descending, const QString& tail,
                    const QString& columns = QString()) const;
  void DetachDatabase() { Close(); db_ = nullptr; }

 private:
  // A row of the window. Fetched rows point into their page, whose cells
  // become values only when read; rows the cursor makes itself (after a
  // post) carry their values.
  struct Row {
    qint64 rowId = 0;
    std::shared_ptr<const TdbRowPage> page;
    int index = 0;
    QVariantList values;

    QVariant Value(int column) const;
    bool IsNull(int column) const;
    QVariantList Values(int columns) const;
  };
  struct KeyCondition {
    QString sql;
    QVariantList binds;
  };

  void RequireActive() const;
  [[noreturn]] static void Fail(const QString& message);
  void RequireDatabase() const;
  bool DoFirst();
  bool DoLast();
  bool DoStep(bool forward);
  bool FirstMatching(const QString& condition, const QVariantList& binds);
  void SetWindow(std::vector<Row> rows, size_t pos);
  void BuildFields();
  void ResolveOrder();
  QString FilterWhere() const;
  QString Where(const QString& condition) const;
  KeyCondition Beyond(const Row& row, bool after) const;
  KeyCondition RowValueBeyond(const Row& row, bool after) const;
  bool KeyHasNull(const Row& row) const;
  std::vector<Row> FetchAfter(const Row& row, int limit);
  std::vector<Row> FetchBefore(const Row& row, int limit);
  std::vector<Row> Fetch(const QString& condition, const QVariantList& binds, bool descending, int limit,
                         qint64 offset = 0);
  bool LoadRow(qint64 rowId);
  bool StepRaw(bool forward);
  bool PassesFilter() const;
  void ApplyFilter(const QString& column, const QVariant& value);
  bool SkipFiltered(bool forward);
  void ClearWindow();
  void Scroll(const std::function<void()>& move);
  void NotifyReset();
  template <typename F>
  void Notify(F call);
  void EnsureWritable() const;
  void Write();
  void DeleteAsRead(const Row& row);

  TTdbDatabase* db_ = nullptr;
  QString tableName_;
  QString indexName_;
  int tableLevel_ = 4;
  bool readOnly_ = false;
  bool exclusive_ = false;
  TTdbFieldDefs fieldDefs_;
  TTdbIndexDefs indexDefs_;

  TdbConnection* connection_ = nullptr;
  TTdbFieldDefs openDefs_;
  TTdbIndexDefs openIndexes_;
  std::vector<std::unique_ptr<TTdbField>> fields_;
  QString sqlName_;
  QString columnList_;
  QString insertSql_;
  QString updateSql_;
  QString deleteSql_;
  sqlite3_stmt* insertStmt_ = nullptr;  // owned by the connection's cache, kept while open
  sqlite3_stmt* updateStmt_ = nullptr;
  int pageSize_ = 0;                // read-ahead of sequential steps; grows while they go on
  int pageDirection_ = 0;
  std::vector<int> orderColumns_;
  QString orderAsc_;
  QString orderDesc_;

  TdbState state_ = TdbState::Inactive;
  std::vector<Row> window_;
  size_t pos_ = 0;
  bool eof_ = true;
  bool bof_ = true;
  QVariantList buffer_;
  QVariantList editOriginal_;  // the row as it was read when the edit began
  qint64 editRowId_ = 0;

  bool filtered_ = false;
  FilterRecord filterRecord_;
  QString filterText_;
  QString filterColumn_;
  QVariant filterValue_;

  int disableCount_ = 0;
  bool pendingReset_ = false;
  std::vector<ITdbTableListener*> listeners_;
  int lockDepth_ = 0;
  bool inScroll_ = false;
};

// Keeps a table's data-aware views still for a stretch of work.
class TTdbControlsDisabled {
 public:
  explicit TTdbControlsDisabled(TTdbTable& table) : table_(table) { table_.DisableControls(); }
  ~TTdbControlsDisabled() { table_.EnableControls(); }
  TTdbControlsDisabled(const TTdbControlsDisabled&) = delete;
  TTdbControlsDisabled& operator=(const TTdbControlsDisabled&) = delete;

 private:
  TTdbTable& table_;
};
