// The cursor's moves: keyed queries on the active index with a small read-ahead window.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>

#include "TdbConnection.h"
#include "TdbDatabase.h"
#include "TdbTable.h"

namespace {
// Rows read ahead per keyed query: enough for a visible grid page. While
// steps go on in one direction the read-ahead doubles, up to kMaxPage, so a
// walk over a whole table costs few queries.
constexpr int kPage = 64;
constexpr int kMaxPage = 2048;
}  // namespace

// ---- pages of fetched rows

// The rows of one fetch: numbers as they are, text and blobs as raw bytes in
// one arena. A walk that reads a few columns of many rows thus pays for the
// columns it reads, not for every column of every row.
struct TdbRowPage {
  struct Cell {
    int type = SQLITE_NULL;
    qint64 integer = 0;
    double real = 0;
    qsizetype offset = 0;
    qsizetype length = 0;
  };
  int columns = 0;
  std::vector<Cell> cells;
  QByteArray arena;

  const Cell& At(int row, int column) const { return cells[size_t(row) * size_t(columns) + size_t(column)]; }

  void AddCell(sqlite3_stmt* stmt, int index) {
    Cell cell;
    cell.type = sqlite3_column_type(stmt, index);
    switch (cell.type) {
      case SQLITE_INTEGER: cell.integer = sqlite3_column_int64(stmt, index); break;
      case SQLITE_FLOAT: cell.real = sqlite3_column_double(stmt, index); break;
      case SQLITE_TEXT: Append(cell, sqlite3_column_text16(stmt, index), sqlite3_column_bytes16(stmt, index)); break;
      case SQLITE_BLOB: Append(cell, sqlite3_column_blob(stmt, index), sqlite3_column_bytes(stmt, index)); break;
      default: break;
    }
    cells.push_back(cell);
  }

  void Append(Cell& cell, const void* data, int bytes) {
    cell.offset = arena.size();
    cell.length = bytes;
    if (bytes > 0) arena.append(static_cast<const char*>(data), bytes);
  }

  QVariant Value(int row, int column) const {
    const Cell& cell = At(row, column);
    switch (cell.type) {
      case SQLITE_INTEGER: return QVariant(cell.integer);
      case SQLITE_FLOAT: return QVariant(cell.real);
      case SQLITE_TEXT: {
        QString text(cell.length / 2, Qt::Uninitialized);
        if (cell.length > 0) std::memcpy(text.data(), arena.constData() + cell.offset, size_t(text.size()) * 2);
        return QVariant(text);
      }
      case SQLITE_BLOB: return QVariant(arena.mid(cell.offset, cell.length));
      default: return QVariant();
    }
  }
};

QVariant TTdbTable::Row::Value(int column) const {
  return page ? page->Value(index, column) : values.value(column);
}

bool TTdbTable::Row::IsNull(int column) const {
  return page ? page->At(index, column).type == SQLITE_NULL : values.value(column).isNull();
}

QVariantList TTdbTable::Row::Values(int columns) const {
  if (!page) return values;
  QVariantList all;
  all.reserve(columns);
  for (int i = 0; i < columns; ++i) all << page->Value(index, i);
  return all;
}

// ---- queries

QString TTdbTable::SelectSql(const QString& where, bool descending, const QString& tail, const QString& columns) const {
  return QStringLiteral("SELECT rowid, %1 FROM %2 %3 ORDER BY %4 %5")
      .arg(columns.isEmpty() ? columnList_ : columns, sqlName_, where, descending ? orderDesc_ : orderAsc_, tail);
}

QString TTdbTable::FilterWhere() const {
  if (!filtered_ || filterColumn_.isEmpty()) return QString();
  return QuoteIdentifier(filterColumn_) + QStringLiteral(" = ?");
}

QString TTdbTable::Where(const QString& condition) const {
  QStringList parts;
  if (!condition.isEmpty()) parts << QLatin1Char('(') + condition + QLatin1Char(')');
  if (const QString filter = FilterWhere(); !filter.isEmpty()) parts << filter;
  return parts.isEmpty() ? QString() : QStringLiteral("WHERE ") + parts.join(QStringLiteral(" AND "));
}

TTdbTable::KeyCondition TTdbTable::RowValueBeyond(const Row& row, bool after) const {
  QStringList names;
  KeyCondition result;
  for (int col : orderColumns_) {
    names << QuoteIdentifier(openDefs_[col].Name);
    result.binds << row.Value(col);
  }
  names << QStringLiteral("rowid");
  result.binds << row.rowId;
  result.sql = QStringLiteral("(%1) %2 (%3)")
                   .arg(names.join(u','), after ? QStringLiteral(">") : QStringLiteral("<"),
                        QStringList(names.size(), QStringLiteral("?")).join(u','));
  return result;
}

bool TTdbTable::KeyHasNull(const Row& row) const {
  return std::any_of(orderColumns_.begin(), orderColumns_.end(), [&](int col) { return row.IsNull(col); });
}

// Rows after (or before) the row in the active order. A row value lets SQLite
// seek in the index; NULL keys (which sort first) need the spelled-out form.
TTdbTable::KeyCondition TTdbTable::Beyond(const Row& row, bool after) const {
  if (after && !KeyHasNull(row)) return RowValueBeyond(row, true);
  KeyCondition result;
  result.sql = QStringLiteral("rowid ") + (after ? QStringLiteral(">") : QStringLiteral("<")) + QStringLiteral(" ?");
  result.binds = {row.rowId};
  for (int i = int(orderColumns_.size()) - 1; i >= 0; --i) {
    const QString k = QuoteIdentifier(openDefs_[orderColumns_[size_t(i)]].Name);
    const QVariant v = row.Value(orderColumns_[size_t(i)]);
    QVariantList binds;
    QString beyond, equal;
    if (v.isNull()) {
      beyond = after ? k + QStringLiteral(" IS NOT NULL") : QStringLiteral("0");
      equal = k + QStringLiteral(" IS NULL");
    } else {
      beyond = after ? k + QStringLiteral(" > ?") : QStringLiteral("(%1 < ? OR %1 IS NULL)").arg(k);
      equal = k + QStringLiteral(" = ?");
      binds << v << v;
    }
    result.sql = QStringLiteral("(%1 OR (%2 AND %3))").arg(beyond, equal, result.sql);
    result.binds = binds + result.binds;
  }
  return result;
}

// Forwards, a NULL in a later key column needs the spelled-out condition;
// bounding the first column (k1 >= v1) keeps it a seek in the index.
std::vector<TTdbTable::Row> TTdbTable::FetchAfter(const Row& row, int limit) {
  const KeyCondition after = Beyond(row, true);
  if (!KeyHasNull(row) || row.IsNull(orderColumns_[0])) return Fetch(after.sql, after.binds, false, limit);
  const QString bounded = QStringLiteral("%1 >= ? AND %2").arg(QuoteIdentifier(openDefs_[orderColumns_[0]].Name), after.sql);
  return Fetch(bounded, QVariantList{row.Value(orderColumns_[0])} + after.binds, false, limit);
}

// Backwards, the spelled-out condition alone would make SQLite scan from the
// end of the index. Bounding the first key column (k1 <= v1) gives it a range
// to seek in; rows with a NULL first key sort before all others and are
// added at the start when the page is not yet full.
std::vector<TTdbTable::Row> TTdbTable::FetchBefore(const Row& row, int limit) {
  const KeyCondition before = Beyond(row, false);
  if (orderColumns_.empty() || row.IsNull(orderColumns_[0]))
    return Fetch(before.sql, before.binds, true, limit);
  const TTdbFieldDef& first = openDefs_[orderColumns_[0]];
  const QString bounded = QStringLiteral("%1 <= ? AND %2").arg(QuoteIdentifier(first.Name), before.sql);
  std::vector<Row> rows = Fetch(bounded, QVariantList{row.Value(orderColumns_[0])} + before.binds, true, limit);
  if (first.Required || int(rows.size()) == limit) return rows;
  std::vector<Row> nulls = Fetch(QuoteIdentifier(first.Name) + QStringLiteral(" IS NULL"), {}, true, limit - int(rows.size()));
  nulls.insert(nulls.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  return nulls;
}

std::vector<TTdbTable::Row> TTdbTable::Fetch(const QString& condition, const QVariantList& binds, bool descending,
                                             int limit, qint64 offset) {
  TdbStatement q = Connection().Prepare(SelectSql(Where(condition), descending, QStringLiteral("LIMIT ? OFFSET ?")));
  q.BindAll(binds);
  int next = int(binds.size()) + 1;
  if (!FilterWhere().isEmpty()) q.Bind(next++, filterValue_);
  q.Bind(next++, limit);
  q.Bind(next, offset);
  std::vector<Row> rows;
  const int columns = int(fields_.size());
  auto page = std::make_shared<TdbRowPage>();
  page->columns = columns;
  page->cells.reserve(size_t(std::min(limit, 4096)) * size_t(columns));
  rows.reserve(size_t(std::min(limit, 4096)));
  while (q.Step()) {
    for (int i = 0; i < columns; ++i) page->AddCell(q.Handle(), i + 1);
    rows.push_back(Row{q.Int64(0), page, int(rows.size()), {}});
  }
  if (descending) std::reverse(rows.begin(), rows.end());
  return rows;
}

void TTdbTable::SetWindow(std::vector<Row> rows, size_t pos) {
  pageDirection_ = 0;
  window_ = std::move(rows);
  pos_ = window_.empty() ? 0 : std::min(pos, window_.size() - 1);
}

void TTdbTable::ClearWindow() {
  window_.clear();
  pos_ = 0;
  eof_ = bof_ = true;
}

bool TTdbTable::LoadRow(qint64 rowId) {
  std::vector<Row> rows = Fetch(QStringLiteral("rowid = ?"), {rowId}, false, 1);
  if (rows.empty()) return false;
  SetWindow(std::move(rows), 0);
  eof_ = bof_ = false;
  return true;
}

// ---- moving

bool TTdbTable::PassesFilter() const {
  return !filtered_ || !filterRecord_ || window_.empty() || filterRecord_(*this);
}

bool TTdbTable::StepRaw(bool forward) {
  if (window_.empty()) return false;
  if (forward && pos_ + 1 < window_.size()) return ++pos_, true;
  if (!forward && pos_ > 0) return --pos_, true;
  const int direction = forward ? 1 : -1;
  pageSize_ = direction == pageDirection_ ? std::min(pageSize_ * 2, kMaxPage) : kPage;
  pageDirection_ = direction;
  std::vector<Row> rows = forward ? FetchAfter(window_[pos_], pageSize_) : FetchBefore(window_[pos_], pageSize_);
  if (rows.empty()) return false;
  const size_t pos = forward ? 0 : rows.size() - 1;
  SetWindow(std::move(rows), pos);
  pageDirection_ = direction;  // a following step in this direction reads further ahead
  return true;
}

bool TTdbTable::SkipFiltered(bool forward) {
  while (!PassesFilter())
    if (!StepRaw(forward)) return false;
  return true;
}

bool TTdbTable::DoFirst() {
  SetWindow(Fetch(QString(), {}, false, kPage), 0);
  if (!SkipFiltered(true)) window_.clear();
  bof_ = true;
  eof_ = window_.empty();
  return !window_.empty();
}

bool TTdbTable::DoLast() {
  std::vector<Row> rows = Fetch(QString(), {}, true, kPage);
  const size_t last = rows.empty() ? 0 : rows.size() - 1;
  SetWindow(std::move(rows), last);
  if (!SkipFiltered(false)) window_.clear();
  eof_ = true;
  bof_ = window_.empty();
  return !window_.empty();
}

// At either end the cursor stays on the last row it had and raises Eof or Bof.
bool TTdbTable::DoStep(bool forward) {
  if (window_.empty()) return false;
  // Stepping inside the window, the common case, needs no copy of the row.
  if (!filtered_ && (forward ? pos_ + 1 < window_.size() : pos_ > 0)) {
    forward ? ++pos_ : --pos_;
    eof_ = bof_ = false;
    return true;
  }
  const Row current = window_[pos_];
  if (StepRaw(forward) && SkipFiltered(forward)) {
    eof_ = bof_ = false;
    return true;
  }
  SetWindow({current}, 0);
  (forward ? eof_ : bof_) = true;
  return false;
}

void TTdbTable::Scroll(const std::function<void()>& move) {
  RequireActive();
  if (state_ != TdbState::Browse) Post();
  if (BeforeScroll) BeforeScroll(*this);
  move();
  if (AfterScroll) AfterScroll(*this);
}

void TTdbTable::First() { Scroll([this] { DoFirst(); }); }
void TTdbTable::Last() { Scroll([this] { DoLast(); }); }
void TTdbTable::Next() { Scroll([this] { DoStep(true); }); }
void TTdbTable::Prior() { Scroll([this] { DoStep(false); }); }

void TTdbTable::MoveBy(int distance) {
  Scroll([this, distance] {
    for (int i = 0; i < std::abs(distance); ++i)
      if (!DoStep(distance > 0)) break;
  });
}

qint64 TTdbTable::RowId() const {
  return Active() && !window_.empty() ? window_[pos_].rowId : 0;
}

bool TTdbTable::GotoRowId(qint64 rowId) {
  bool found = false;
  Scroll([&] { found = LoadRow(rowId) && PassesFilter(); });
  return found;
}

qint64 TTdbTable::RecordCount() {
  RequireActive();
  if (filtered_ && filterRecord_) {
    const qint64 rowId = RowId();
    const bool eof = eof_, bof = bof_;
    qint64 count = 0;
    for (bool row = DoFirst(); row; row = DoStep(true)) ++count;
    if (rowId) LoadRow(rowId);
    eof_ = eof;
    bof_ = bof;
    return count;
  }
  TdbStatement q = Connection().Prepare(QStringLiteral("SELECT count(*) FROM %1 %2").arg(sqlName_, Where(QString())));
  if (!FilterWhere().isEmpty()) q.Bind(1, filterValue_);
  q.Step();
  return q.Int64(0);
}

qint64 TTdbTable::RecordNo() {
  if (RowId() == 0 || state_ == TdbState::Insert) return 0;
  if (filtered_ && filterRecord_) {
    const qint64 rowId = RowId();
    const bool eof = eof_, bof = bof_;
    qint64 no = 1;
    for (bool row = DoFirst(); row && RowId() != rowId; row = DoStep(true)) ++no;
    LoadRow(rowId);
    eof_ = eof;
    bof_ = bof;
    return no;
  }
  const KeyCondition before = Beyond(window_[pos_], false);
  TdbStatement q = Connection().Prepare(QStringLiteral("SELECT count(*) FROM %1 %2").arg(sqlName_, Where(before.sql)));
  q.BindAll(before.binds);
  if (!FilterWhere().isEmpty()) q.Bind(int(before.binds.size()) + 1, filterValue_);
  q.Step();
  return q.Int64(0) + 1;
}

void TTdbTable::SetRecordNo(qint64 recordNo) {
  Scroll([this, recordNo] {
    if (filtered_ && filterRecord_) {
      DoFirst();
      for (qint64 i = 1; i < recordNo && DoStep(true); ++i) {
      }
      return;
    }
    std::vector<Row> rows = Fetch(QString(), {}, false, kPage, std::max<qint64>(recordNo - 1, 0));
    if (rows.empty()) return void(DoLast());
    SetWindow(std::move(rows), 0);
    eof_ = false;
    bof_ = recordNo <= 1;
  });
}

// Positions on the first row in the active order that meets the condition and the filter.
bool TTdbTable::FirstMatching(const QString& condition, const QVariantList& binds) {
  std::vector<Row> rows = Fetch(condition, binds, false, kPage);
  while (!rows.empty()) {
    for (Row& row : rows) {
      SetWindow({row}, 0);
      if (PassesFilter()) {
        eof_ = bof_ = false;
        return true;
      }
    }
    const KeyCondition beyond = Beyond(rows.back(), true);
    rows = Fetch(QStringLiteral("(%1) AND %2").arg(condition, beyond.sql), binds + beyond.binds, false, kPage);
  }
  return false;
}

bool TTdbTable::Locate(const QString& fields, const QVariantList& values) {
  RequireActive();
  const QStringList names = SplitFieldNames(fields);
  if (names.isEmpty() || names.size() != values.size())
    Fail(QStringLiteral("Locate on %1: %2 fields, %3 values").arg(tableName_).arg(names.size()).arg(values.size()));
  QStringList parts;
  for (const QString& name : names) {
    if (openDefs_.IndexOf(name) < 0) Fail(QStringLiteral("field %1 not found in %2").arg(name, tableName_));
    const bool text = SqlTypeOf(openDefs_[openDefs_.IndexOf(name)].Kind) == u"TEXT";
    const bool foldCase = text && db_ && !db_->CaseSensitive();
    parts << QuoteIdentifier(name) + (foldCase ? QStringLiteral(" IS ? COLLATE NOCASE") : QStringLiteral(" IS ?"));
  }
  QVariantList binds;
  for (int i = 0; i < names.size(); ++i) binds << fields_[size_t(openDefs_.IndexOf(names[i]))]->StoredForm(values[i]);
  const qint64 before = RowId();
  bool found = false;
  Scroll([&] {
    found = FirstMatching(parts.join(QStringLiteral(" AND ")), binds);
    if (!found && !(before && LoadRow(before))) DoFirst();
  });
  return found;
}

bool TTdbTable::FindKey(const QVariantList& values) {
  RequireActive();
  if (values.isEmpty() || values.size() > int(orderColumns_.size()))
    Fail(QStringLiteral("FindKey on %1: the active index has %2 fields").arg(tableName_).arg(orderColumns_.size()));
  QStringList fields;
  for (int i = 0; i < values.size(); ++i) fields << openDefs_[orderColumns_[size_t(i)]].Name;
  return Locate(fields.join(u';'), values);
}

// First row whose key is at or after the values; the last row when none is.
void TTdbTable::FindNearest(const QVariantList& values) {
  RequireActive();
  if (values.isEmpty() || values.size() > int(orderColumns_.size()))
    Fail(QStringLiteral("FindNearest on %1: the active index has %2 fields").arg(tableName_).arg(orderColumns_.size()));
  // A NULL sorts before every value: the key up to it decides where to stand.
  QStringList names;
  QVariantList binds;
  for (int i = 0; i < values.size(); ++i) {
    const QVariant stored = fields_[size_t(orderColumns_[size_t(i)])]->StoredForm(values[i]);
    if (stored.isNull()) break;
    names << QuoteIdentifier(openDefs_[orderColumns_[size_t(i)]].Name);
    binds << stored;
  }
  const QString condition =
      names.isEmpty() ? QStringLiteral("1")
                      : QStringLiteral("(%1) >= (%2)").arg(names.join(u','), QStringList(names.size(), QStringLiteral("?")).join(u','));
  Scroll([&] {
    if (!FirstMatching(condition, binds)) DoLast();
  });
}

