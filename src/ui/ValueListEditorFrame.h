#pragma once
// The common part of the key/value editor frames: a grid over a typed list
// with add, delete and move buttons. The grid's model reads and writes the
// list itself; the frame never owns or copies it.
#include <QAbstractTableModel>
#include <QString>
#include <QWidget>
#include <functional>

class QTableView;
class QToolButton;
class QPushButton;

// The table model over one list; the concrete frames say how a cell reads
// and takes text.
class TValueListModel : public QAbstractTableModel {
 public:
  TValueListModel(int columns, QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Shows the list as it is now (count and values); open editors are dropped.
  void Refresh();
  void SetTitle(int column, const QString& title);
  void SetEditable(int column, bool on);
  // Read-only columns after the list's own (a comparison, say), one per title;
  // text gets the row and the extra column's number from 0.
  void SetExtraColumns(const QStringList& titles, std::function<QString(int row, int column)> text);
  // Background of a whole row; none: the grid's.
  std::function<QVariant(int row)> RowBackground;

  virtual bool HasList() const = 0;
  virtual int Count() const = 0;
  virtual QString CellText(int row, int column) const = 0;
  // Takes edited text into the list; false when it was refused.
  virtual bool TakeText(int row, int column, const QString& text) = 0;
  virtual void Exchange(int row, int other) = 0;
  virtual void Remove(int row) = 0;

  std::function<void()> OnChange;

 private:
  bool IsExtra(int column) const { return column >= titles_.size(); }

  QStringList titles_;
  QList<bool> editable_;
  QStringList extraTitles_;
  std::function<QString(int row, int column)> extraText_;
};

class TValueListEditorFrame : public QWidget {
 public:
  // Placed on the parent, filling it.
  TValueListEditorFrame(QWidget* parent, TValueListModel* model, QList<int> widths);

  // Titles and widths per column; the header is hidden when every title is
  // empty; a width of -1 keeps the column's width.
  void SetTitles(const QStringList& titles, const QList<int>& widths);
  void SetShowMoveButtons(bool on);
  // Enabled with the window colour, or disabled with the button-face colour.
  void SetEditable(bool on);
  // Takes the list's count and shows the focused row.
  void RowCountChanged();
  // A value still in an open cell editor is taken (closing the window, say).
  void PostPendingEdit();
  int SelectedRow() const;
  TValueListModel* Model() const { return model_; }

  void AddClick();
  void DeleteClick();
  void MoveUpClick() { MoveSelected(-1); }
  void MoveDownClick() { MoveSelected(+1); }

  std::function<void()> OnAdd;     // adds the entry instead of the built-in add
  std::function<void()> OnChange;  // after every change of the list

  QTableView* Grid = nullptr;
  QToolButton* AddButton = nullptr;
  QToolButton* DeleteButton = nullptr;
  QToolButton* UpButton = nullptr;
  QToolButton* DownButton = nullptr;
  QPushButton* SortButton = nullptr;  // "Sortieren": hidden, without function

 protected:
  void FocusRow(int row, int column);
  void Changed();
  // The built-in add; the number frame has none.
  virtual void AddEntry() {}
  // The typed callbacks of the concrete frames.
  virtual void RowSelected(int) {}
  virtual void RowDeleting(int) {}
  virtual void RowOpened(int) {}

 private:
  QWidget* BuildButtonRow();
  QToolButton* AddToolButton(QWidget* row, const char* name, int icon, const char* hint, void (TValueListEditorFrame::*click)());
  void CancelEdit();
  void MoveSelected(int step);

  TValueListModel* model_;
};

// A number typed into a cell: only a plain number in the locale's form (a
// whole one where asked); anything else is refused with the hint.
bool ReadTypedNumber(const QString& text, bool whole, double& value);
// Shown when an edited key is already in the list.
void RefuseDuplicateKey();
