#include "DBGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include "MemIniFile.h"
#include "Msgdlg.h"
#include "WindowSettings.h"

TDBGrid::TDBGrid(const QString& objectName, QWidget* parent)
    : QTableView(parent), model_(new TDBGridModel(this)), delegate_(new TDBGridDelegate(this)) {
  setObjectName(objectName);
  ConfigureView();
  setModel(model_);
  setItemDelegate(delegate_);
  delegate_->OnEnter = [this] { EnterPressed(); };
  ConnectModel();
  connect(qApp, &QApplication::focusChanged, this, &TDBGrid::OnFocusChanged);
}

// Fixed row height and no sizing to contents: a large table costs what its visible rows cost.
void TDBGrid::ConfigureView() {
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setWordWrap(false);
}

// While the model announces a change the table's cursor leads; afterwards the grid follows it.
void TDBGrid::ConnectModel() {
  const auto lead = [this] { following_ = true; };
  const auto follow = [this] { FollowTable(); };
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, lead);
  connect(model_, &QAbstractItemModel::rowsAboutToBeInserted, this, lead);
  connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, lead);
  connect(model_, &QAbstractItemModel::modelReset, this, follow);
  connect(model_, &QAbstractItemModel::rowsInserted, this, follow);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, follow);
  connect(model_, &QAbstractItemModel::dataChanged, this, follow);
}

void TDBGrid::Bind(TTdbTable* table) { model_->SetTable(table); }

void TDBGrid::SetColumns(std::vector<TDBGridColumn> columns) {
  model_->SetColumns(std::move(columns));
  for (int c = 0; c < model_->columnCount(); ++c) setColumnWidth(c, model_->Columns()[size_t(c)].DefaultWidth);
}

void TDBGrid::Reload() { model_->Reload(); }

void TDBGrid::SetGridActive(bool on) {
  setEnabled(on);
  model_->SetEnabled(on);
  QPalette colours = palette();
  const QPalette& app = QApplication::palette();
  colours.setColor(QPalette::Base, on ? app.color(QPalette::Base) : app.color(QPalette::Button));
  setPalette(colours);
}

// ---- column widths

QString TDBGrid::WidthKey(const QString& keyPrefix, int column) const {
  return (keyPrefix.isEmpty() ? objectName() : keyPrefix) + QString::number(column);
}

void TDBGrid::LoadColumnWidths(const TMemIniFile& ini, const QString& section, const QString& keyPrefix) {
  for (int c = 0; c < model_->columnCount(); ++c)
    if (!model_->Columns()[size_t(c)].RowText)
      setColumnWidth(c, ReadColumnWidth(ini, section, WidthKey(keyPrefix, c), model_->Columns()[size_t(c)].DefaultWidth));
}

void TDBGrid::SaveColumnWidths(TMemIniFile& ini, const QString& section, const QString& keyPrefix) const {
  for (int c = 0; c < model_->columnCount(); ++c)
    if (!model_->Columns()[size_t(c)].RowText) ini.WriteInteger(section, WidthKey(keyPrefix, c), columnWidth(c));
}

// ---- the table's cursor

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (following_ || !current.isValid()) return;
  try {
    model_->MoveTableTo(current.row());
  } catch (const std::exception& e) {
    model_->ReportWriteError(e);
  }
}

void TDBGrid::FollowTable() {
  following_ = false;
  const int row = model_->CurrentTableRow();
  if (row < 0 || row == currentIndex().row()) return;
  const int column = currentIndex().isValid() ? currentIndex().column() : 0;
  setCurrentIndex(model_->index(row, column));
}

void TDBGrid::PostIfEditing() {
  TTdbTable* table = model_->Table();
  if (!table || table->State() != TdbState::Edit) return;
  try {
    table->Post();
  } catch (const std::exception& e) {
    model_->ReportWriteError(e);
  }
}

void TDBGrid::PostPendingEdit() {
  if (state() == QAbstractItemView::EditingState) {
    if (QWidget* editor = indexWidget(currentIndex())) {
      commitData(editor);
      closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
  }
  PostIfEditing();
}

// ---- keys and focus

void TDBGrid::EnterPressed() {
  PostIfEditing();
  const QModelIndex current = currentIndex();
  if (current.isValid() && current.row() + 1 < model_->rowCount())
    setCurrentIndex(model_->index(current.row() + 1, current.column()));
}

// Tab walks the cells of a row; past the row's last cell (Shift+Tab: before
// its first) it goes on to the window's next control, so that the keyboard
// alone reaches the buttons below the grid.
bool TDBGrid::TabLeavesGrid(const QKeyEvent* event) const {
  if (state() == QAbstractItemView::EditingState || (event->modifiers() & ~Qt::ShiftModifier)) return false;
  const bool forward = event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
  const bool backward = event->key() == Qt::Key_Backtab || (event->key() == Qt::Key_Tab && !forward);
  if (!forward && !backward) return false;
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return true;
  int edge = forward ? model_->columnCount() - 1 : 0;
  const int step = forward ? -1 : 1;
  while (edge >= 0 && edge < model_->columnCount() && isColumnHidden(edge)) edge += step;
  return current.column() == edge;
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
  if (TabLeavesGrid(event)) {
    QAbstractScrollArea::focusNextPrevChild(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
    event->accept();
    return;
  }
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter || state() == QAbstractItemView::EditingState) return QTableView::keyPressEvent(event);
  EnterPressed();
  event->accept();
}

bool TDBGrid::Holds(const QWidget* widget) const { return widget && (widget == this || isAncestorOf(widget)); }

// Leaving the grid for another control of its window posts the row being
// edited; a row being inserted stays as it is.
void TDBGrid::OnFocusChanged(QWidget* old, QWidget* now) {
  if (Holds(old) && now && !Holds(now) && now->window() == window()) PostIfEditing();
}

// Tabbing into the grid shows the cell the keys will act on, even when the
// grid was scrolled away from it.
void TDBGrid::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  const bool byKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
  if (byKeyboard && currentIndex().isValid()) scrollTo(currentIndex());
}

