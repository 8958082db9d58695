#include "AddressGridModel.h"

#include <QColor>
#include <QFont>
#include <algorithm>
#include <cmath>

#include "TdbTable.h"
#include "Translation.h"

namespace {
const QDate kDayZero(1899, 12, 30);
constexpr qint64 kMsPerDay = 86400000;

struct ColumnInfo {
  const char* caption;
  int width;
};
const ColumnInfo kColumns[kAddressGridColumns] = {
    {"Adress-Nr.", 131}, {"Beschreibung", 447}, {"Adressgruppe", 88}, {"Wiedervorlage", 99}};

const QColor kAlternateRow(0xF5, 0xF5, 0xF5);
const QColor kPastColour(Qt::red);
const QColor kTodayColour(0x00, 0x80, 0x00);
}  // namespace

TResubmissionCell ResubmissionCell(TDateTime wv, const QDate& today) {
  TResubmissionCell cell;
  if (wv == 0) return cell;
  const qint64 msecs = qRound64(wv * double(kMsPerDay));
  const qint64 day = msecs >= 0 ? msecs / kMsPerDay : (msecs - kMsPerDay + 1) / kMsPerDay;
  const QDate date = kDayZero.addDays(day);
  const int timeMs = int(msecs - day * kMsPerDay);
  cell.Text = date.toString(QStringLiteral("dd.MM.yyyy"));
  if (timeMs != 0)
    cell.Text += QLatin1Char(' ') + QTime::fromMSecsSinceStartOfDay(timeMs).toString(QStringLiteral("hh:mm"));
  cell.State = date < today    ? TResubmissionState::Past
               : date == today ? TResubmissionState::Today
                               : TResubmissionState::Future;
  return cell;
}

int AddressGridDefaultWidth(int column) { return kColumns[column].width; }

int TAddressRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kAddressGridColumns;
}

QVariant TAddressRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kAddressGridColumns)
    return QAbstractTableModel::headerData(section, orientation, role);
  return Tr(kColumns[section].caption);
}

QVariant TAddressRowsModel::Cell(const TAddressGridRow& row, int column) const {
  switch (column) {
    case 0: return row.ID;
    case 1: return row.DisplayText;
    case 2: return row.AddrGrp;
    default: return ResubmissionCell(row.WV, QDate::currentDate()).Text;
  }
}

// A selected row is drawn in the highlight text colour by the view, so the
// colours below only show outside the selection while the bold style stays.
QVariant TAddressRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return QVariant();
  if (role == Qt::BackgroundRole) return index.row() % 2 == 1 ? QVariant(kAlternateRow) : QVariant();
  const bool wvColumn = index.column() == kWvColumn;
  if (role == Qt::DisplayRole) return Cell(Row(index.row()), index.column());
  if (!wvColumn || (role != Qt::FontRole && role != Qt::ForegroundRole)) return QVariant();
  const TResubmissionState state = ResubmissionCell(Row(index.row()).WV, QDate::currentDate()).State;
  if (state != TResubmissionState::Past && state != TResubmissionState::Today) return QVariant();
  if (role == Qt::ForegroundRole) return state == TResubmissionState::Past ? kPastColour : kTodayColour;
  QFont bold;
  bold.setBold(true);
  return bold;
}

TAddressTableModel::TAddressTableModel(TTdbTable* table, QObject* parent)
    : TAddressRowsModel(parent), table_(table) {
  count_ = table_ && table_->Active() ? int(table_->RecordCount()) : 0;
}

int TAddressTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_; }

TAddressGridRow TAddressTableModel::Row(int row) const {
  if (row < 0 || row >= count_) return {};
  const std::vector<TAddressGridRow>& block = Block(row / kBlockRows);
  const size_t offset = size_t(row % kBlockRows);
  return offset < block.size() ? block[offset] : TAddressGridRow{};
}

const std::vector<TAddressGridRow>& TAddressTableModel::Block(int block) const {
  auto found = blocks_.find(block);
  if (found != blocks_.end()) {
    recent_.remove(block);
    recent_.push_front(block);
    return found->second;
  }
  if (recent_.size() >= kKeptBlocks) {
    blocks_.erase(recent_.back());
    recent_.pop_back();
  }
  recent_.push_front(block);
  return blocks_.emplace(block, ReadBlock(block)).first->second;
}

// One positioning by record number, then steps: the cheapest way through the engine.
std::vector<TAddressGridRow> TAddressTableModel::ReadBlock(int block) const {
  std::vector<TAddressGridRow> rows;
  const int first = block * kBlockRows;
  const int wanted = std::min(kBlockRows, count_ - first);
  if (!table_ || wanted <= 0) return rows;
  try {
    TTdbField& id = table_->FieldByName(QStringLiteral("ID"));
    TTdbField& text = table_->FieldByName(QStringLiteral("DISPLAYTXT"));
    TTdbField& group = table_->FieldByName(QStringLiteral("ADDRGRP"));
    // Older address tables have no resubmission columns: no date then.
    const TTdbField* wv = table_->FindField(QStringLiteral("WV"));
    table_->SetRecordNo(first + 1);
    for (int i = 0; i < wanted && !table_->Eof(); ++i, table_->Next())
      rows.push_back({first + i + 1, id.AsString(), text.AsString(), group.AsString(), wv ? wv->AsFloat() : 0.0});
  } catch (const std::exception&) {
    // A row that cannot be read stays blank; the grid must keep painting.
  }
  rowsRead_ += qint64(rows.size());
  return rows;
}

void TAddressTableModel::Reload() {
  const int count = table_ && table_->Active() ? int(table_->RecordCount()) : 0;
  blocks_.clear();
  recent_.clear();
  if (count == count_) {
    if (count_ > 0) emit dataChanged(index(0, 0), index(count_ - 1, kAddressGridColumns - 1));
    return;
  }
  beginResetModel();
  count_ = count;
  endResetModel();
}

void TAddressTableModel::Detach() {
  beginResetModel();
  table_ = nullptr;
  count_ = 0;
  blocks_.clear();
  recent_.clear();
  endResetModel();
}

TSearchResultModel::TSearchResultModel(const TDBAdressSearchResultObjectList& results, QObject* parent)
    : TAddressRowsModel(parent), results_(results) {}

int TSearchResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : results_.Count();
}

TAddressGridRow TSearchResultModel::Row(int row) const {
  if (row < 0 || row >= results_.Count()) return {};
  const TDBAdressSearchResult& r = *results_[row];
  return {r.RecNo, r.ID, r.DisplayText, r.AddrGrp, r.WV};
}
