#include "KatalogViewModels.h"

#include "TdbTable.h"

// ---- layout

QStringList TKatalogViewLayout::ReadFields() const {
  QStringList fields;
  for (const TKatalogColumn& column : Columns)
    if (!fields.contains(column.Field)) fields << column.Field;
  for (const QString& field : HelperFields)
    if (!fields.contains(field)) fields << field;
  return fields;
}

QVariant TKatalogViewLayout::Cell(int column, const TKatalogRowValue& row) const {
  const TKatalogColumn& c = Columns[size_t(column)];
  if (c.Kind == TKatalogCellKind::Derived) return Deriver ? Deriver(row) : QVariant();
  return row(c.Field);
}

QVariant TKatalogViewLayout::Display(int column, const TKatalogRowValue& row) const {
  const QString text = KatalogCellText(Columns[size_t(column)].Kind, Cell(column, row));
  return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant TKatalogViewLayout::Alignment(int column) const {
  const Qt::Alignment horizontal = IsNumberCell(Columns[size_t(column)].Kind) ? Qt::AlignRight : Qt::AlignLeft;
  return QVariant::fromValue(horizontal | Qt::AlignVCenter);
}

QVariant TKatalogViewLayout::Header(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= int(Columns.size()))
    return QVariant();
  return Columns[size_t(section)].Title;
}

// ---- the table

TKatalogTableModel::TKatalogTableModel(const TKatalogViewLayout& layout, QObject* parent)
    : TDBGridModel(parent), layout_(layout) {
  std::vector<TDBGridColumn> columns;
  for (const TKatalogColumn& c : layout_.Columns) columns.push_back(TDBGridColumn{c.Field, c.Title, true, c.Width});
  for (const QString& field : layout_.HelperFields) columns.push_back(TDBGridColumn{field, QString(), true});
  for (int c = 0; c < int(columns.size()); ++c)
    if (!columnOf_.contains(columns[size_t(c)].FieldName)) columnOf_.insert(columns[size_t(c)].FieldName, c);
  SetColumns(std::move(columns));
}

QVariant TKatalogTableModel::Stored(int row, const QString& field) const {
  const int column = columnOf_.value(field, -1);
  return column < 0 ? QVariant() : StoredValue(row, column);
}

QVariant TKatalogTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= ShownColumns() || index.row() >= rowCount())
    return TDBGridModel::data(index, role);
  if (role == Qt::TextAlignmentRole) return layout_.Alignment(index.column());
  if (role != Qt::DisplayRole) return QVariant();
  return layout_.Display(index.column(), [&](const QString& field) { return Stored(index.row(), field); });
}

// ---- the hits

TKatalogHitModel::TKatalogHitModel(QStringList ids, const TTdbTable& table, const QString& idIndex,
                                   const TKatalogViewLayout& layout, QObject* parent)
    : QAbstractTableModel(parent), ids_(std::move(ids)), layout_(layout), fields_(layout.ReadFields()) {
  try {
    cursor_ = std::make_unique<TTdbTable>();
    cursor_->SetDatabase(table.Database());
    cursor_->SetTableName(table.TableName());
    cursor_->SetReadOnly(true);
    cursor_->SetIndexName(idIndex);
    cursor_->Open();
  } catch (const std::exception&) {
    cursor_.reset();  // the rows show their numbers only
  }
}

TKatalogHitModel::~TKatalogHitModel() = default;

int TKatalogHitModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(ids_.size()); }

int TKatalogHitModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(layout_.Columns.size());
}

QVariantList TKatalogHitModel::ReadRow(const QString& id) const {
  QVariantList values;
  if (!cursor_) return values;
  try {
    if (!cursor_->FindKey({id})) return values;
    for (const QString& field : fields_) {
      const TTdbField* f = cursor_->FindField(field);
      values << (f ? f->Value() : QVariant());
    }
  } catch (const std::exception&) {
    values.clear();
  }
  return values;
}

const QVariantList& TKatalogHitModel::Row(int row) const {
  auto it = rows_.constFind(row);
  if (it != rows_.constEnd()) return *it;
  if (rows_.size() >= kKeptRows) rows_.clear();
  ++rowsRead_;
  return *rows_.insert(row, ReadRow(ids_.at(row)));
}

QVariant TKatalogHitModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return QVariant();
  if (role == Qt::TextAlignmentRole) return layout_.Alignment(index.column());
  if (role != Qt::DisplayRole) return QVariant();
  const QVariantList& values = Row(index.row());
  // An article gone since the search still shows its number.
  if (values.isEmpty()) return index.column() == 0 ? QVariant(ids_.at(index.row())) : QVariant();
  return layout_.Display(index.column(), [&](const QString& field) { return values.value(fields_.indexOf(field)); });
}

QVariant TKatalogHitModel::headerData(int section, Qt::Orientation orientation, int role) const {
  return layout_.Header(section, orientation, role);
}
