#pragma once
// The two row sources of a catalogue view, both read only while shown: the
// article table in the order of its active index (a page at a time), and
// the hits of a word search (article numbers, each row read when shown).
#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <memory>

#include "DBGridModel.h"
#include "KatalogViewColumns.h"

class TTdbTable;

// Shared by both sources: the shown columns, the further fields a derived
// column needs, and how it is derived.
struct TKatalogViewLayout {
  TKatalogColumns Columns;
  QStringList HelperFields;
  TKatalogDeriver Deriver;

  QStringList ReadFields() const;  // the fields of the columns, then the helpers, each once
  QVariant Cell(int column, const TKatalogRowValue& row) const;  // stored or derived
  QVariant Display(int column, const TKatalogRowValue& row) const;
  QVariant Alignment(int column) const;
  QVariant Header(int section, Qt::Orientation orientation, int role) const;
};

class TKatalogTableModel : public TDBGridModel {
 public:
  TKatalogTableModel(const TKatalogViewLayout& layout, QObject* parent = nullptr);
  // The shown columns; the helper fields ride along as columns the view hides.
  int ShownColumns() const { return int(layout_.Columns.size()); }
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  QVariant Stored(int row, const QString& field) const;

  const TKatalogViewLayout& layout_;
  QHash<QString, int> columnOf_;
};

class TKatalogHitModel : public QAbstractTableModel {
 public:
  // Reads through a cursor of its own on the table's database, keyed by
  // idIndex; the table is not owned and must stay open meanwhile.
  TKatalogHitModel(QStringList ids, const TTdbTable& table, const QString& idIndex, const TKatalogViewLayout& layout,
                   QObject* parent = nullptr);
  ~TKatalogHitModel() override;

  const QString& ArtikelNr(int row) const { return ids_.at(row); }
  const QStringList& Ids() const { return ids_; }
  int RowsRead() const { return rowsRead_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  static constexpr int kKeptRows = 2048;
  // The stored values of the row's article (ReadFields order); empty when it is gone.
  const QVariantList& Row(int row) const;
  QVariantList ReadRow(const QString& id) const;

  QStringList ids_;
  const TKatalogViewLayout& layout_;
  QStringList fields_;
  std::unique_ptr<TTdbTable> cursor_;
  mutable QHash<int, QVariantList> rows_;
  mutable int rowsRead_ = 0;
};
