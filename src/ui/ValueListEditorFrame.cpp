#include "ValueListEditorFrame.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "Msgdlg.h"
#include "NumberInput.h"
#include "NumberText.h"
#include "Translation.h"

TValueListModel::TValueListModel(int columns, QObject* parent)
    : QAbstractTableModel(parent), titles_(columns), editable_(columns, true) {}

int TValueListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !HasList() ? 0 : Count();
}

int TValueListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(titles_.size() + extraTitles_.size());
}

// Hints show the whole text of a cell too narrow for it.
QVariant TValueListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::BackgroundRole) return RowBackground ? RowBackground(index.row()) : QVariant();
  if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) return {};
  if (IsExtra(index.column()))
    return extraText_ ? extraText_(index.row(), index.column() - int(titles_.size())) : QString();
  return CellText(index.row(), index.column());
  return {};
}

QVariant TValueListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
    return IsExtra(section) ? extraTitles_[section - titles_.size()] : titles_[section];
  return QAbstractTableModel::headerData(section, orientation, role);
}

bool TValueListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() || IsExtra(index.column()) ||
      !editable_[index.column()])
    return false;
  if (!TakeText(index.row(), index.column(), value.toString())) return false;
  emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
  if (OnChange) OnChange();
  return true;
}

Qt::ItemFlags TValueListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags result = QAbstractTableModel::flags(index);
  if (index.isValid() && !IsExtra(index.column()) && editable_[index.column()]) result |= Qt::ItemIsEditable;
  return result;
}

void TValueListModel::Refresh() {
  beginResetModel();
  endResetModel();
}

void TValueListModel::SetTitle(int column, const QString& title) {
  titles_[column] = title;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

void TValueListModel::SetEditable(int column, bool on) { editable_[column] = on; }

void TValueListModel::SetExtraColumns(const QStringList& titles, std::function<QString(int, int)> text) {
  beginResetModel();
  extraTitles_ = titles;
  extraText_ = std::move(text);
  endResetModel();
}

// ---- the frame

TValueListEditorFrame::TValueListEditorFrame(QWidget* parent, TValueListModel* model, QList<int> widths)
    : QWidget(parent), model_(model) {
  model_->setParent(this);
  model_->OnChange = [this] { Changed(); };
  setFont(parent->font());
  if (parent->layout()) parent->layout()->addWidget(this);
  else {
    auto* fill = new QVBoxLayout(parent);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(this);
  }
  Grid = new QTableView(this);
  Grid->setObjectName(QStringLiteral("Grid"));
  Grid->setModel(model_);
  Grid->setShowGrid(true);
  Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  Grid->setSelectionMode(QAbstractItemView::SingleSelection);
  Grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                        QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  Grid->verticalHeader()->hide();
  Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  Grid->horizontalHeader()->setSectionsMovable(true);
  Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  Grid->horizontalHeader()->setStretchLastSection(false);
  for (int column = 0; column < widths.size(); ++column) Grid->setColumnWidth(column, widths[column]);
  Grid->horizontalHeader()->hide();  // until a title is set
  connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) RowSelected(current.row());
          });
  connect(Grid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) RowOpened(index.row());
  });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Grid, 1);
  layout->addWidget(BuildButtonRow());
}

QToolButton* TValueListEditorFrame::AddToolButton(QWidget* row, const char* name, int icon, const char* hint,
                                                  void (TValueListEditorFrame::*click)()) {
  auto* button = new QToolButton(row);
  button->setObjectName(QLatin1String(name));
  button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)));
  button->setToolTip(Tr(hint));
  row->layout()->addWidget(button);
  connect(button, &QToolButton::clicked, this, click);
  return button;
}

QWidget* TValueListEditorFrame::BuildButtonRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 2, 0, 0);
  AddButton = AddToolButton(row, "AddButton", QStyle::SP_FileDialogNewFolder, "Hinzufuegen", &TValueListEditorFrame::AddClick);
  DeleteButton = AddToolButton(row, "DeleteButton", QStyle::SP_TrashIcon, "Loeschen", &TValueListEditorFrame::DeleteClick);
  UpButton = AddToolButton(row, "UpButton", QStyle::SP_ArrowUp, "Nach oben", &TValueListEditorFrame::MoveUpClick);
  DownButton = AddToolButton(row, "DownButton", QStyle::SP_ArrowDown, "Nach unten", &TValueListEditorFrame::MoveDownClick);
  SortButton = new QPushButton(Tr("Sortieren"), row);
  SortButton->setObjectName(QStringLiteral("SortButton"));
  SortButton->hide();
  layout->addWidget(SortButton);
  layout->addStretch();
  return row;
}

void TValueListEditorFrame::SetTitles(const QStringList& titles, const QList<int>& widths) {
  bool anyTitle = false;
  for (int column = 0; column < model_->columnCount() && column < titles.size(); ++column) {
    model_->SetTitle(column, titles[column]);
    anyTitle = anyTitle || !titles[column].isEmpty();
  }
  Grid->horizontalHeader()->setVisible(anyTitle);
  for (int column = 0; column < model_->columnCount() && column < widths.size(); ++column)
    if (widths[column] != -1) Grid->setColumnWidth(column, widths[column]);
}

void TValueListEditorFrame::SetShowMoveButtons(bool on) {
  UpButton->setVisible(on);
  DownButton->setVisible(on);
}

void TValueListEditorFrame::SetEditable(bool on) {
  setEnabled(on);
  QPalette colours = Grid->palette();
  const QPalette& app = QApplication::palette();
  colours.setColor(QPalette::Base, on ? app.color(QPalette::Base) : app.color(QPalette::Button));
  Grid->setPalette(colours);
}

void TValueListEditorFrame::RowCountChanged() {
  const int row = SelectedRow();
  model_->Refresh();
  if (row >= 0 && row < model_->rowCount()) FocusRow(row, Grid->currentIndex().column());
}

void TValueListEditorFrame::PostPendingEdit() {
  if (QWidget* editor = Grid->indexWidget(Grid->currentIndex())) {
    Grid->itemDelegate()->setModelData(editor, model_, Grid->currentIndex());
    CancelEdit();
  }
}

int TValueListEditorFrame::SelectedRow() const {
  const QModelIndex current = Grid->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void TValueListEditorFrame::FocusRow(int row, int column) {
  const QModelIndex index = model_->index(row, std::max(column, 0));
  Grid->setCurrentIndex(index);
  Grid->scrollTo(index);
  Grid->setFocus();
}

void TValueListEditorFrame::Changed() {
  if (OnChange) OnChange();
}

// An open editor is dropped, not taken: its row may be about to move or go.
void TValueListEditorFrame::CancelEdit() {
  const QModelIndex current = Grid->currentIndex();
  if (QWidget* editor = Grid->indexWidget(current)) {
    emit Grid->itemDelegate()->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
  }
}

void TValueListEditorFrame::AddClick() {
  if (!model_->HasList()) return;
  if (OnAdd) {
    OnAdd();
    return;
  }
  AddEntry();
}

void TValueListEditorFrame::DeleteClick() {
  if (!model_->HasList()) return;
  CancelEdit();
  const int row = SelectedRow();
  if (row < 0 || row >= model_->Count()) return;
  RowDeleting(row);
  model_->Remove(row);
  model_->Refresh();
  if (model_->Count() > 0) FocusRow(std::min(row, model_->Count() - 1), 0);
  Changed();
}

void TValueListEditorFrame::MoveSelected(int step) {
  if (!model_->HasList()) return;
  CancelEdit();
  const int row = SelectedRow();
  const int other = row + step;
  if (row < 0 || other < 0 || other >= model_->Count()) return;
  const int column = Grid->currentIndex().column();
  model_->Exchange(row, other);
  model_->Refresh();
  FocusRow(other, column);
  Changed();
}

bool ReadTypedNumber(const QString& text, bool whole, double& value) {
  double number = 0;
  if (!ReadNumberStrict(text, number) || (whole && std::trunc(number) != number)) {
    RefuseNumberInput();
    return false;
  }
  value = number;
  return true;
}

void RefuseDuplicateKey() {
  MessageDlg(Tr("Dieser Schluessel ist bereits in der Liste vorhanden."), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
}
