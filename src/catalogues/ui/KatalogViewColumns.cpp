#include "KatalogViewColumns.h"

#include "Format.h"

bool IsNumberCell(TKatalogCellKind kind) { return kind != TKatalogCellKind::Text; }

QString KatalogCellText(TKatalogCellKind kind, const QVariant& value) {
  if (value.isNull()) return QString();
  switch (kind) {
    case TKatalogCellKind::Text: return value.toString();
    case TKatalogCellKind::Factor: return FormatText(QStringLiteral("%.4f"), {value.toDouble()});
    case TKatalogCellKind::Currency:
    case TKatalogCellKind::Derived: return FormatText(QStringLiteral("%n"), {value.toDouble()});
  }
  return QString();
}
