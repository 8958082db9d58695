#pragma once
// The two row sources of the warehouse list: the LAGER table in article-number
// order, read a page at a time while shown, and the rows of a search, each
// completed from its record when it is first shown.
#include <QAbstractTableModel>
#include <vector>

#include "DBGridModel.h"
#include "ULAGUnit1Core.h"

// The nine columns of the list, in this order.
enum TLagerColumn { lcNr, lcBezeichnung, lcGruppe, lcLagerort, lcBestand, lcEKPreis, lcZugang, lcAnfangsbestand,
                    lcInventurbestand, lcColumnCount };
QString LagerColumnTitle(int column);  // translated
int LagerColumnWidth(int column);       // pixels

// The table in article-number order; rows in the article's view colour.
class TLagerTableModel : public TDBGridModel {
 public:
  explicit TLagerTableModel(QObject* parent = nullptr);
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  // The view colour rides along as a column the view hides.
  static constexpr int kColorColumn = lcColumnCount;
};

class TLagerSearchModel : public QAbstractTableModel {
 public:
  // Neither the rows nor the database are owned.
  TLagerSearchModel(TDBLagerSearchResultObjectList& rows, IModLagerDBServerObj& database, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  TDBLagerSearchResult& Row(int row) const;
  // How many rows were read from the table to complete them.
  int RowsCompleted() const { return completed_; }

 private:
  TDBLagerSearchResult& Shown(int row) const;  // completed first

  TDBLagerSearchResultObjectList& rows_;
  IModLagerDBServerObj& database_;
  std::vector<int> order_;  // shown row -> list index
  mutable int completed_ = 0;
};
