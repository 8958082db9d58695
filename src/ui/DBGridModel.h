#pragma once
// The data source of a data-aware grid: shows one table as rows and
// columns, reads rows only when they are shown (a page at a time, through a
// private read-only cursor, so the table's own cursor never moves for the
// display), writes every edit row by row through the table, and follows the
// table's change notifications without resetting the view where it can.
#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

#include "TdbTable.h"

struct TDBGridColumn {
  QString FieldName;
  QString Title;  // already translated
  bool ReadOnly = false;
  int DefaultWidth = 64;
  // Left: the text starts 1 px in; right: it ends 3 px before the right edge.
  Qt::Alignment Alignment = Qt::AlignLeft;
  // Cell text of a non-null value; empty: the value as text.
  std::function<QString(const QVariant&)> DisplayText{};
  // A column of no field: read-only text made from the row's values (one per
  // column, as the grid shows them; null for such columns). Its width is not kept.
  std::function<QString(const QVariantList&)> RowText{};
};

class TDBGridModel : public QAbstractTableModel, private ITdbTableListener {
  Q_OBJECT

 public:
  static constexpr int kPageRows = 64;
  static constexpr size_t kKeptPages = 16;

  explicit TDBGridModel(QObject* parent = nullptr);
  ~TDBGridModel() override;

  // Binds the table (not owned); nullptr unbinds. Unbind before the table is freed.
  void SetTable(TTdbTable* table);
  TTdbTable* Table() const { return table_; }
  void SetColumns(std::vector<TDBGridColumn> columns);
  const std::vector<TDBGridColumn>& Columns() const { return columns_; }
  // A disabled model (no list to show) lets nothing be edited.
  void SetEnabled(bool on) { enabled_ = on; }
  bool Enabled() const { return enabled_; }
  // Reads everything afresh; needed after the table was opened, which the
  // table does not announce.
  void Reload();

  // A cell's value as stored, unformatted; null for none.
  QVariant StoredValue(int row, int column) const { return CellValue(row, column); }
  // Row id of a row; 0 when there is none.
  qint64 RowIdAt(int row) const;
  // Row of the table's current row; -1 without one (or while it inserts).
  int CurrentTableRow() const;
  // Moves the table's cursor onto the row (posting a pending edit first).
  bool MoveTableTo(int row);

  // Gets a failed write first; true when it dealt with it (e.g. the list's
  // file was deleted elsewhere). Otherwise the error is shown in a message.
  std::function<bool(const std::exception&)> OnWriteError;
  void ReportWriteError(const std::exception& error);

  // Background of a whole row from its values (as for RowText); none: the grid's.
  std::function<QVariant(const QVariantList&)> RowBackground;

  // What the display cost so far: pages and rows read through the view cursor.
  qint64 PagesRead() const { return pagesRead_; }
  qint64 RowsRead() const { return rowsRead_; }

  // Whether typed text can go into the cell: a number column takes only a
  // plain number in the locale's form, or nothing.
  bool AcceptsText(const QModelIndex& index, const QString& text) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  struct Page {
    std::vector<qint64> rowIds;
    std::vector<QVariantList> values;  // per row, one value per grid column, as stored
  };

  // ITdbTableListener
  void TableReset() override;
  void RowChanged(qint64 rowId) override;
  void RowInserted(qint64 rowId) override;
  void RowDeleted(qint64 rowId) override;

  void ResetAll();
  void SyncViewCursor();
  void DropPages();
  int ReadCount() const;
  const Page* PageOf(int row) const;
  Page ReadPage(int page) const;
  QVariant CellValue(int row, int column) const;
  TdbFieldKind ColumnKind(int column) const;
  // The value the grid shows for a cell, as the table stores it.
  QVariant ShownValue(int row, int column) const;
  QVariantList RowValues(int row) const;
  // In an edit of the row: every shown column must still hold what was shown.
  void ExpectShownValues(int row);
  QString ValueText(const QVariant& value, int column) const;
  // 1-based place of a row in the table's order; 0 when it is not found.
  qint64 PositionOf(qint64 rowId) const;
  // Row of a row id as far as known without reading: cached pages, last move.
  int KnownRowOf(qint64 rowId) const;
  bool IsEditedRow(int row) const;
  bool ToStoredValue(const TTdbField& field, const QVariant& input, QVariant& stored) const;

  TTdbTable* table_ = nullptr;
  std::unique_ptr<TTdbTable> view_;  // private read-only cursor for the display
  std::vector<TDBGridColumn> columns_;
  std::vector<int> viewFields_;  // field index in the view cursor per column, -1 when absent
  bool enabled_ = true;
  int count_ = 0;
  mutable std::unordered_map<int, Page> pages_;
  mutable std::list<int> recent_;  // most recently used page first
  mutable qint64 pagesRead_ = 0;
  mutable qint64 rowsRead_ = 0;
  // Where the grid last put the table's cursor; forgotten on every change.
  qint64 movedRowId_ = 0;
  int movedRow_ = -1;
};
