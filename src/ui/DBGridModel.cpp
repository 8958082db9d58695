#include "DBGridModel.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>
#include <limits>

#include "Msgdlg.h"
#include "NumberText.h"
#include "TableEngineError.h"
#include "TdbDatabase.h"

namespace {
bool IsTextKind(TdbFieldKind kind) {
  return kind == TdbFieldKind::WideString || kind == TdbFieldKind::AnsiString || kind == TdbFieldKind::WideMemo;
}

bool IsWholeNumberKind(TdbFieldKind kind) {
  return kind == TdbFieldKind::SmallInt || kind == TdbFieldKind::Integer;
}

bool IsNumberKind(TdbFieldKind kind) { return kind == TdbFieldKind::Float || IsWholeNumberKind(kind); }

// What a clerk typed into a number cell, as the column stores it: only a plain
// number in the locale's form (a whole one for whole-number columns), never a guess.
bool ReadTypedNumber(TdbFieldKind kind, const QString& text, QVariant& stored) {
  double number = 0;
  if (!ReadNumberStrict(text, number)) return false;
  if (kind == TdbFieldKind::Float) {
    stored = number;
    return true;
  }
  constexpr double kExactWholeLimit = 9007199254740992.0;  // 2^53
  if (std::trunc(number) != number || std::fabs(number) > kExactWholeLimit) return false;
  stored = qint64(number);
  return true;
}

// A failing notification handler must not break the table operation that sent it.
template <class Work>
bool Guarded(Work&& work) {
  try {
    work();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
}  // namespace

TDBGridModel::TDBGridModel(QObject* parent) : QAbstractTableModel(parent) {}

TDBGridModel::~TDBGridModel() {
  if (table_) table_->RemoveListener(this);
}

void TDBGridModel::SetTable(TTdbTable* table) {
  if (table == table_) return;
  beginResetModel();
  if (table_) table_->RemoveListener(this);
  view_.reset();
  table_ = table;
  if (table_) table_->AddListener(this);
  DropPages();
  movedRowId_ = 0;
  Guarded([&] { SyncViewCursor(); });
  count_ = ReadCount();
  endResetModel();
}

void TDBGridModel::SetColumns(std::vector<TDBGridColumn> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  DropPages();
  Guarded([&] { SyncViewCursor(); });
  endResetModel();
}

void TDBGridModel::Reload() { ResetAll(); }

// ---- the view cursor and its pages

// The view cursor follows the table's database, order and filter expression.
void TDBGridModel::SyncViewCursor() {
  viewFields_.assign(columns_.size(), -1);
  if (!table_ || !table_->Active() || !table_->Database()) {
    if (view_) view_->Close();
    return;
  }
  if (!view_) view_ = std::make_unique<TTdbTable>();
  if (view_->Database() != table_->Database() || view_->TableName() != table_->TableName()) {
    view_->Close();
    view_->SetDatabase(table_->Database());
    view_->SetTableName(table_->TableName());
  }
  view_->SetReadOnly(true);
  if (view_->IndexName() != table_->IndexName()) view_->SetIndexName(table_->IndexName());
  if (view_->Filter() != table_->Filter()) view_->SetFilter(table_->Filter());
  if (view_->Filtered() != table_->Filtered()) view_->SetFiltered(table_->Filtered());
  view_->Open();
  for (size_t c = 0; c < columns_.size(); ++c)
    if (const TTdbField* field = view_->FindField(columns_[c].FieldName)) viewFields_[c] = field->Index();
}

void TDBGridModel::DropPages() {
  pages_.clear();
  recent_.clear();
}

int TDBGridModel::ReadCount() const {
  qint64 count = 0;
  if (table_ && table_->Active()) Guarded([&] { count = table_->RecordCount(); });
  return int(std::min<qint64>(count, std::numeric_limits<int>::max()));
}

TDBGridModel::Page TDBGridModel::ReadPage(int page) const {
  Page result;
  if (!view_ || !view_->Active()) return result;
  const int first = page * kPageRows;
  const int rows = std::min(kPageRows, count_ - first);
  view_->SetRecordNo(first + 1);
  for (int i = 0; i < rows && view_->RowId() != 0; ++i) {
    if (i > 0) {
      view_->Next();
      if (view_->Eof()) break;
    }
    result.rowIds.push_back(view_->RowId());
    QVariantList values;
    for (int field : viewFields_) {
      if (field < 0) {
        values << QVariant();
        continue;
      }
      values << view_->Fields(field).Value();
    }
    result.values.push_back(std::move(values));
  }
  ++pagesRead_;
  rowsRead_ += qint64(result.rowIds.size());
  return result;
}

const TDBGridModel::Page* TDBGridModel::PageOf(int row) const {
  if (row < 0 || row >= count_) return nullptr;
  const int page = row / kPageRows;
  auto it = pages_.find(page);
  if (it != pages_.end()) {
    recent_.remove(page);
    recent_.push_front(page);
    return &it->second;
  }
  Page read;
  if (!Guarded([&] { read = ReadPage(page); })) return nullptr;
  it = pages_.emplace(page, std::move(read)).first;
  recent_.push_front(page);
  while (recent_.size() > kKeptPages) {
    pages_.erase(recent_.back());
    recent_.pop_back();
  }
  return &it->second;
}

qint64 TDBGridModel::RowIdAt(int row) const {
  const Page* page = PageOf(row);
  const size_t at = size_t(row % kPageRows);
  return page && at < page->rowIds.size() ? page->rowIds[at] : 0;
}

// The table's own buffer while it edits the row: what the user typed shows.
bool TDBGridModel::IsEditedRow(int row) const {
  return table_ && table_->State() == TdbState::Edit && table_->RowId() != 0 && table_->RowId() == RowIdAt(row);
}

QVariant TDBGridModel::ShownValue(int row, int column) const {
  const Page* page = PageOf(row);
  const size_t at = size_t(row % kPageRows);
  return page && at < page->values.size() ? page->values[at].value(column) : QVariant();
}

QVariantList TDBGridModel::RowValues(int row) const {
  QVariantList values;
  for (int c = 0; c < columnCount(); ++c)
    values << (columns_[size_t(c)].RowText ? QVariant() : CellValue(row, c));
  return values;
}

QVariant TDBGridModel::CellValue(int row, int column) const {
  const TTdbField* field = nullptr;
  QVariant value;
  if (IsEditedRow(row)) {
    field = table_->FindField(columns_[size_t(column)].FieldName);
    if (field) value = field->Value();
  } else {
    const int viewField = viewFields_.empty() ? -1 : viewFields_[size_t(column)];
    if (viewField >= 0 && view_) field = &view_->Fields(viewField);
    value = ShownValue(row, column);
  }
  if (field && field->Kind() == TdbFieldKind::DateTime && !value.isNull()) return TTdbField::DateTimeOf(value);
  return value;
}

TdbFieldKind TDBGridModel::ColumnKind(int column) const {
  const int field = viewFields_.empty() ? -1 : viewFields_[size_t(column)];
  return field >= 0 && view_ ? view_->Fields(field).Kind() : TdbFieldKind::WideString;
}

QString TDBGridModel::ValueText(const QVariant& value, int column) const {
  const TdbFieldKind kind = ColumnKind(column);
  if (kind == TdbFieldKind::Float) return FormatGeneralNumber(value.toDouble());
  if (value.typeId() == QMetaType::QDateTime) return QLocale().toString(value.toDateTime(), QLocale::ShortFormat);
  return value.toString();
}

// ---- model interface

int TDBGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_; }

int TDBGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant TDBGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= count_ || index.column() >= columnCount()) return QVariant();
  const TDBGridColumn& column = columns_[size_t(index.column())];
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(column.Alignment | Qt::AlignVCenter);
  if (role == Qt::BackgroundRole) return RowBackground ? RowBackground(RowValues(index.row())) : QVariant();
  if (role != Qt::DisplayRole && role != Qt::EditRole) return QVariant();
  if (column.RowText) return column.RowText(RowValues(index.row()));
  const QVariant value = CellValue(index.row(), index.column());
  if (value.isNull()) return QVariant();
  if (role == Qt::DisplayRole && column.DisplayText) return column.DisplayText(value);
  return ValueText(value, index.column());
}

Qt::ItemFlags TDBGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const bool writable = enabled_ && table_ && table_->Active() && !table_->ReadOnly() &&
                        !(table_->Database() && table_->Database()->ReadOnly());
  const TDBGridColumn& column = columns_[size_t(index.column())];
  if (writable && !column.ReadOnly && !column.RowText) result |= Qt::ItemIsEditable;
  return result;
}

QVariant TDBGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
    return QVariant();
  return columns_[size_t(section)].Title;
}

// Input as the field stores it; false when a number does not read.
bool TDBGridModel::ToStoredValue(const TTdbField& field, const QVariant& input, QVariant& stored) const {
  const QString text = input.toString();
  if (IsTextKind(field.Kind())) {
    stored = text;
    return true;
  }
  if (text.trimmed().isEmpty()) {
    stored = QVariant();
    return true;
  }
  bool ok = true;
  if (IsNumberKind(field.Kind()))
    ok = ReadTypedNumber(field.Kind(), text, stored);
  else if (field.Kind() == TdbFieldKind::Boolean)
    stored = ReadBoolLenient(text, false, &ok);
  else
    stored = input;
  return ok;
}

bool TDBGridModel::AcceptsText(const QModelIndex& index, const QString& text) const {
  if (!index.isValid() || index.column() >= columnCount()) return true;
  const TdbFieldKind kind = ColumnKind(index.column());
  QVariant stored;
  return !IsNumberKind(kind) || text.trimmed().isEmpty() || ReadTypedNumber(kind, text, stored);
}

void TDBGridModel::ExpectShownValues(int row) {
  for (size_t c = 0; c < columns_.size(); ++c)
    if (const TTdbField* field = table_->FindField(columns_[c].FieldName))
      table_->ExpectUnchanged(field->Index(), ShownValue(row, int(c)));
}

// The edit is checked against what the user saw, not what the cursor reads
// now: a value another workstation wrote meanwhile is never overwritten unseen.
bool TDBGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  const qint64 rowId = RowIdAt(index.row());
  if (rowId == 0) return false;
  try {
    TTdbField& field = table_->FieldByName(columns_[size_t(index.column())].FieldName);
    QVariant stored;
    if (!ToStoredValue(field, value, stored)) return false;
    if (field.StoredForm(stored) == field.StoredForm(ShownValue(index.row(), index.column()))) return true;
    if ((table_->RowId() != rowId || table_->State() == TdbState::Insert) && !table_->GotoRowId(rowId))
      ThrowEngineError(TdbErrorCode::RowChanged, QStringLiteral("row %1 is gone").arg(rowId));
    table_->Edit();
    ExpectShownValues(index.row());
    field.SetValue(stored);
    table_->Post();
    return true;
  } catch (const std::exception& e) {
    Guarded([this] { table_->Cancel(); });
    // Show what the table holds now, e.g. another workstation's change that
    // made the post fail; the message tells why.
    Guarded([this] { table_->Refresh(); });
    ReportWriteError(e);
    return false;
  }
}

void TDBGridModel::ReportWriteError(const std::exception& error) {
  if (OnWriteError && OnWriteError(error)) return;
  MessageDlg(ReportException::Of(error).message, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
}

// ---- the table's cursor

int TDBGridModel::CurrentTableRow() const {
  if (!table_ || !table_->Active() || table_->RowId() == 0 || table_->State() == TdbState::Insert) return -1;
  qint64 recordNo = 0;
  Guarded([&] { recordNo = table_->RecordNo(); });
  return recordNo >= 1 && recordNo <= count_ ? int(recordNo - 1) : -1;
}

bool TDBGridModel::MoveTableTo(int row) {
  const qint64 rowId = RowIdAt(row);
  if (rowId == 0) return false;
  if (table_->RowId() != rowId && !table_->GotoRowId(rowId)) return false;
  movedRowId_ = rowId;
  movedRow_ = row;
  return true;
}

qint64 TDBGridModel::PositionOf(qint64 rowId) const {
  if (table_->RowId() == rowId && table_->State() == TdbState::Browse) return table_->RecordNo();
  if (view_ && view_->Active() && view_->GotoRowId(rowId)) return view_->RecordNo();
  return 0;
}

int TDBGridModel::KnownRowOf(qint64 rowId) const {
  for (const auto& [page, rows] : pages_)
    for (size_t i = 0; i < rows.rowIds.size(); ++i)
      if (rows.rowIds[i] == rowId) return page * kPageRows + int(i);
  return rowId == movedRowId_ ? movedRow_ : -1;
}

// ---- change notifications

void TDBGridModel::ResetAll() {
  beginResetModel();
  DropPages();
  movedRowId_ = 0;
  if (!Guarded([&] { SyncViewCursor(); }) && view_) Guarded([&] { view_->Close(); });
  count_ = ReadCount();
  endResetModel();
}

void TDBGridModel::TableReset() { ResetAll(); }

void TDBGridModel::RowChanged(qint64 rowId) {
  Q_UNUSED(rowId);  // a changed key may move the row: every shown row is repainted
  movedRowId_ = 0;
  if (ReadCount() != count_) return ResetAll();
  DropPages();
  if (count_ > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(count_ - 1, columnCount() - 1));
}

void TDBGridModel::RowInserted(qint64 rowId) {
  movedRowId_ = 0;
  qint64 position = 0;
  if (!Guarded([&] { position = PositionOf(rowId); })) return ResetAll();
  const int count = ReadCount();
  if (position < 1 || position > count_ + 1 || count != count_ + 1) return ResetAll();
  beginInsertRows(QModelIndex(), int(position - 1), int(position - 1));
  DropPages();
  count_ = count;
  endInsertRows();
}

void TDBGridModel::RowDeleted(qint64 rowId) {
  const int row = KnownRowOf(rowId);
  movedRowId_ = 0;
  const int count = ReadCount();
  if (row < 0 || row >= count_ || count != count_ - 1) return ResetAll();
  beginRemoveRows(QModelIndex(), row, row);
  DropPages();
  count_ = count;
  endRemoveRows();
}
