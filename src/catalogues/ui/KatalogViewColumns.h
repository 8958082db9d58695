#pragma once
// The columns of a catalogue view and how their cells read: field, title,
// width and the kind of text a value gives.
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

enum class TKatalogCellKind {
  Text,
  Currency,  // a price, "%n"
  Factor,    // a sales factor, "%.4f"
  Derived,   // computed from the row by the view (a price)
};

struct TKatalogColumn {
  QString Field;  // the stored column; for a derived one the column it starts from
  QString Title;  // translated
  TKatalogCellKind Kind = TKatalogCellKind::Text;
  int Width = 80;
};

using TKatalogColumns = std::vector<TKatalogColumn>;

// A field of the shown row by name, as stored.
using TKatalogRowValue = std::function<QVariant(const QString& field)>;
// The value of a derived cell from the row's stored values.
using TKatalogDeriver = std::function<QVariant(const TKatalogRowValue& row)>;

// The cell text of a stored (or derived) value; empty for null.
QString KatalogCellText(TKatalogCellKind kind, const QVariant& value);
bool IsNumberCell(TKatalogCellKind kind);
