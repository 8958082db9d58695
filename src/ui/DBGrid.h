#pragma once
// A data-aware grid bound to a table: draws its cells itself, edits in place
// row by row, keeps the table's cursor on the row the user sees, posts a
// pending edit when the user leaves the grid or presses Enter, and keeps its
// column widths in the window settings file.
#include <QRect>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include "DBGridModel.h"

class TMemIniFile;

// Where a cell's text goes: its first pixel and the clip rectangle.
struct TDBGridCellLayout {
  QPoint TextTopLeft;
  QRect Clip;
};
TDBGridCellLayout DBGridCellLayout(const QRect& cell, int textWidth, Qt::Alignment alignment);

// Cell drawing and the in-place line editors of the grid.
class TDBGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // Runs after Enter has committed and closed an editor.
  std::function<void()> OnEnter;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  bool Accepts(const QModelIndex& index, const QString& text) const;
  bool RefusesText(QWidget* editor, const QModelIndex& index, const QString& text) const;

  mutable QPersistentModelIndex editedCell_;  // the cell of the open editor
  // While the refusal is shown: the message takes the focus, and that focus
  // change must neither commit nor refuse the same text a second time.
  mutable bool refusing_ = false;
};

class TDBGrid : public QTableView {
  Q_OBJECT

 public:
  explicit TDBGrid(const QString& objectName, QWidget* parent = nullptr);

  TDBGridModel* Model() const { return model_; }
  // Binds the table (not owned); nullptr unbinds, as must happen before the table is freed.
  void Bind(TTdbTable* table);
  // Sets the columns and gives them their default widths.
  void SetColumns(std::vector<TDBGridColumn> columns);
  // Re-reads the table, e.g. after it was opened.
  void Reload();

  // Stores what is being typed into a cell and posts the row, as leaving the
  // grid does; for a window that closes while the grid still has the focus.
  void PostPendingEdit();

  // Enabled with the window colour, or disabled with the button-face colour.
  void SetGridActive(bool on);

  // Keys keyPrefix + column index (the grid's object name when empty).
  void LoadColumnWidths(const TMemIniFile& ini, const QString& section, const QString& keyPrefix = QString());
  void SaveColumnWidths(TMemIniFile& ini, const QString& section, const QString& keyPrefix = QString()) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  void ConfigureView();
  void ConnectModel();
  void OnFocusChanged(QWidget* old, QWidget* now);
  bool Holds(const QWidget* widget) const;
  void PostIfEditing();
  void EnterPressed();
  bool TabLeavesGrid(const QKeyEvent* event) const;
  void FollowTable();
  QString WidthKey(const QString& keyPrefix, int column) const;

  TDBGridModel* model_;
  TDBGridDelegate* delegate_;
  bool following_ = false;  // the model is announcing a change: the table leads
};
