#include "LagerGridModels.h"

#include <QBrush>
#include <algorithm>

#include "NumberText.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
struct ColumnDef {
  const char* title;
  const char* field;  // in LAGER
  bool number;
  int width;
};

const ColumnDef kColumns[lcColumnCount] = {
    {"Lagerartikel-Nr.", "LagerArtikelNr", false, 120}, {"Bezeichnung", "Bezeichnung", false, 300},
    {"Gruppe", "Gruppe", false, 100},                   {"Lagerort", "Lagerort", false, 90},
    {"Bestand", "BuchungsBestand", true, 80},           {"EK-Preis", "EKPreis", true, 80},
    {"Zugang gesamt", "SummeWareneingangMe", true, 105}, {"Anfangsbestand", "Anfangsbestand", true, 110},
    {"Inventurbestand", "InventurErfassung", true, 110},
};

Qt::Alignment AlignmentOf(int column) { return kColumns[column].number ? Qt::AlignRight : Qt::AlignLeft; }

// Black, the default view colour, draws as the style's text colour.
QVariant ViewColorBrush(qint64 color) {
  if (color == 0) return QVariant();
  return QBrush(WindowsColorToQColor(quint32(color)));
}

// What a search row holds for a column; booked stock and counted quantity
// are not part of a search row.
QVariant SearchValue(const TDBLagerSearchResult& r, int column) {
  switch (column) {
    case lcNr: return r.LagerArtikelNr;
    case lcBezeichnung: return r.Bezeichnung;
    case lcGruppe: return r.Gruppe;
    case lcLagerort: return r.Lagerort;
    case lcEKPreis: return CurrencyToDouble(r.EKPreis);
    case lcZugang: return r.SummeWareneingangMe;
    case lcAnfangsbestand: return r.Anfangsbestand;
    default: return QVariant();
  }
}

// The search fills number, description and group; the rest needs the record.
bool NeedsCompleteRow(int column) { return column != lcNr && column != lcBezeichnung && column != lcGruppe; }

bool Before(const QVariant& a, const QVariant& b, int column) {
  if (kColumns[column].number) return a.toDouble() < b.toDouble();
  return a.toString().compare(b.toString(), Qt::CaseInsensitive) < 0;
}
}  // namespace

QString LagerColumnTitle(int column) { return Tr(kColumns[column].title); }

int LagerColumnWidth(int column) { return kColumns[column].width; }

// ---- table

TLagerTableModel::TLagerTableModel(QObject* parent) : TDBGridModel(parent) {
  std::vector<TDBGridColumn> columns;
  for (int c = 0; c < lcColumnCount; ++c) {
    TDBGridColumn column{QString::fromLatin1(kColumns[c].field), LagerColumnTitle(c), true};
    column.Alignment = AlignmentOf(c);
    columns.push_back(column);
  }
  columns.push_back(TDBGridColumn{QStringLiteral("VIEWCOLOR"), QString(), true});
  SetColumns(std::move(columns));
}

QVariant TLagerTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::ForegroundRole) return TDBGridModel::data(index, role);
  return ViewColorBrush(TDBGridModel::data(this->index(index.row(), kColorColumn), Qt::EditRole).toLongLong());
}

// ---- search rows

TLagerSearchModel::TLagerSearchModel(TDBLagerSearchResultObjectList& rows, IModLagerDBServerObj& database,
                                     QObject* parent)
    : QAbstractTableModel(parent), rows_(rows), database_(database) {
  order_.resize(size_t(rows_.Count()));
  for (int i = 0; i < rows_.Count(); ++i) order_[size_t(i)] = i;
}

int TLagerSearchModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(order_.size()); }

int TLagerSearchModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : lcColumnCount; }

TDBLagerSearchResult& TLagerSearchModel::Row(int row) const { return *rows_[order_.at(size_t(row))]; }

TDBLagerSearchResult& TLagerSearchModel::Shown(int row) const {
  TDBLagerSearchResult& r = Row(row);
  if (!r.Complete && database_.InitializeSearchResult(r)) ++completed_;
  return r;
}

QVariant TLagerSearchModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return QVariant();
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(index.column()) | Qt::AlignVCenter);
  if (role == Qt::ForegroundRole) return ViewColorBrush(Shown(index.row()).ViewColor);
  if (role != Qt::DisplayRole) return QVariant();
  const TDBLagerSearchResult& r = NeedsCompleteRow(index.column()) ? Shown(index.row()) : Row(index.row());
  const QVariant value = SearchValue(r, index.column());
  if (value.isNull() || !kColumns[index.column()].number) return value;
  return FormatGeneralNumber(value.toDouble());
}

QVariant TLagerSearchModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= lcColumnCount)
    return QVariant();
  return LagerColumnTitle(section);
}

// Sorting by a column the search did not fill reads every hit once.
void TLagerSearchModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= lcColumnCount) return;
  emit layoutAboutToBeChanged();
  if (NeedsCompleteRow(column))
    for (int row = 0; row < rowCount(); ++row) Shown(row);
  std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
    const QVariant va = SearchValue(*rows_[a], column), vb = SearchValue(*rows_[b], column);
    return order == Qt::AscendingOrder ? Before(va, vb, column) : Before(vb, va, column);
  });
  emit layoutChanged();
}
