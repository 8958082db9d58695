#pragma once
// The grids of the address frame: the whole address table, read row by row
// only when rows are shown, and the result lists of searches. Both show the
// same four columns with the same look.
#include <QAbstractTableModel>
#include <QDateTime>
#include <list>
#include <unordered_map>
#include <vector>

#include "DBAdress.h"

class TTdbTable;

// What a grid row shows (the node data of the main grid).
struct TAddressGridRow {
  qint32 RecNo = 0;
  QString ID, DisplayText, AddrGrp;
  TDateTime WV = 0;
};

// How a resubmission date is shown, relative to now.
enum class TResubmissionState { None, Future, Today, Past };
struct TResubmissionCell {
  QString Text;  // empty for 0, "dd.mm.yyyy", or "dd.mm.yyyy hh:mm" with a time part
  TResubmissionState State = TResubmissionState::None;
};
TResubmissionCell ResubmissionCell(TDateTime wv, const QDate& today);

// The four columns, their captions and initial widths.
constexpr int kAddressGridColumns = 4;
constexpr int kWvColumn = 3;
int AddressGridDefaultWidth(int column);

class TAddressRowsModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The row's data; rows outside the model give an empty row.
  virtual TAddressGridRow Row(int row) const = 0;

 private:
  QVariant Cell(const TAddressGridRow& row, int column) const;
};

// The address table as a virtual grid: the row count comes from the table,
// rows are read by record number in small blocks when first shown and only a
// few blocks are kept.
class TAddressTableModel : public TAddressRowsModel {
 public:
  explicit TAddressTableModel(TTdbTable* table, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  TAddressGridRow Row(int row) const override;

  // Re-reads the row count and forgets the rows read; keeps the selection
  // when the count did not change.
  void Reload();
  // The table goes away: the model becomes empty.
  void Detach();
  qint64 RowsRead() const { return rowsRead_; }

  static constexpr int kBlockRows = 64;
  static constexpr size_t kKeptBlocks = 8;

 private:
  const std::vector<TAddressGridRow>& Block(int block) const;
  std::vector<TAddressGridRow> ReadBlock(int block) const;

  TTdbTable* table_;
  int count_ = 0;
  mutable std::unordered_map<int, std::vector<TAddressGridRow>> blocks_;
  mutable std::list<int> recent_;  // most recently used block first
  mutable qint64 rowsRead_ = 0;
};

// A search result list; the list belongs to the frame.
class TSearchResultModel : public TAddressRowsModel {
 public:
  TSearchResultModel(const TDBAdressSearchResultObjectList& results, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  TAddressGridRow Row(int row) const override;

 private:
  const TDBAdressSearchResultObjectList& results_;
};
