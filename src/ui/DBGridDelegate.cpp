// Cell drawing and in-place editing of the data-aware grid.
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>

#include "DBGrid.h"
#include "NumberInput.h"

TDBGridCellLayout DBGridCellLayout(const QRect& cell, int textWidth, Qt::Alignment alignment) {
  // The right edge counted as the first pixel beyond the cell.
  const int right = cell.left() + cell.width();
  const int x = alignment & Qt::AlignRight ? right - 3 - textWidth : cell.left() + 1;
  return {QPoint(x, cell.top() + 1), cell.adjusted(1, 1, -2, -2)};
}

void TDBGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : option.state & QStyle::State_Active  ? QPalette::Active
                                                                            : QPalette::Inactive;
  painter->save();
  // Only a grid that marks rows is asked for a background: the others paint as they always did.
  const auto* model = qobject_cast<const TDBGridModel*>(index.model());
  const QVariant background = model && model->RowBackground ? index.data(Qt::BackgroundRole) : QVariant();
  const bool marked = !selected && background.typeId() == QMetaType::QColor && group != QPalette::Disabled;
  painter->fillRect(option.rect, marked ? QBrush(background.value<QColor>())
                                        : option.palette.brush(group, selected ? QPalette::Highlight : QPalette::Base));
  const QVariant value = index.data(Qt::DisplayRole);
  if (!value.isNull()) {
    const QString text = value.toString();
    const QFontMetrics metrics(option.font);
    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    const TDBGridCellLayout layout = DBGridCellLayout(option.rect, metrics.horizontalAdvance(text), alignment);
    painter->setClipRect(layout.Clip);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(layout.TextTopLeft + QPoint(0, metrics.ascent()), text);
  }
  painter->restore();
}

QWidget* TDBGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  auto* editor = new QLineEdit(parent);
  editor->setFrame(false);
  editedCell_ = index;
  return editor;
}

// Text a cell cannot take is refused with the hint; the clerk's text stays
// in the editor and the cell keeps its value.
bool TDBGridDelegate::Accepts(const QModelIndex& index, const QString& text) const {
  const auto* model = qobject_cast<const TDBGridModel*>(index.model());
  return !model || model->AcceptsText(index, text);
}

bool TDBGridDelegate::RefusesText(QWidget* editor, const QModelIndex& index, const QString& text) const {
  if (Accepts(index, text)) return false;
  const QPointer<QWidget> open(editor);
  refusing_ = true;
  RefuseNumberInput();
  refusing_ = false;
  if (open && open->isVisible()) open->setFocus();  // back to the text to mend it
  return true;
}

void TDBGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setText(index.data(Qt::EditRole).toString());
}

void TDBGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  auto* line = qobject_cast<QLineEdit*>(editor);
  if (line && !refusing_ && !RefusesText(nullptr, index, line->text())) model->setData(index, line->text(), Qt::EditRole);
}

void TDBGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                           const QModelIndex&) const {
  editor->setGeometry(option.rect);
}

// Enter in an editor: commit at once (not queued, as Qt would), then the grid's
// own Enter. Enter, Tab and a click elsewhere leave text the cell refuses in
// the open editor; switching to another window keeps it there without a word.
bool TDBGridDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(object);
  if (editor && event->type() == QEvent::FocusOut) {
    if (refusing_) return true;
    auto* line = qobject_cast<QLineEdit*>(editor);
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (line && !Accepts(editedCell_, line->text())) {
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        RefusesText(editor, editedCell_, line->text());
      return true;
    }
  }
  if (editor && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool leaves = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab;
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (leaves && line && RefusesText(editor, editedCell_, line->text())) return true;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      emit commitData(editor);
      emit closeEditor(editor, QAbstractItemDelegate::NoHint);
      if (OnEnter) OnEnter();
      return true;
    }
  }
  return QStyledItemDelegate::eventFilter(object, event);
}
