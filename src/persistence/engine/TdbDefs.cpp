#include "TdbDefs.h"

#include <algorithm>

#include "TableEngineError.h"

bool IsKnownFieldKind(int code) {
  switch (code) {
    case 1: case 2: case 4: case 5: case 6: case 12: case 15: case 16: case 17: return true;
    default: return false;
  }
}

QString SqlTypeOf(TdbFieldKind kind) {
  switch (kind) {
    case TdbFieldKind::SmallInt: case TdbFieldKind::Integer: case TdbFieldKind::Boolean:
      return QStringLiteral("INTEGER");
    case TdbFieldKind::Float: case TdbFieldKind::DateTime:  // date-time as days since 1899-12-30
      return QStringLiteral("REAL");
    case TdbFieldKind::Blob: return QStringLiteral("BLOB");
    default: return QStringLiteral("TEXT");
  }
}

QStringList SplitFieldNames(const QString& fields) {
  QStringList names;
  for (const QString& part : fields.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString name = part.trimmed();
    if (!name.isEmpty()) names << name;
  }
  return names;
}

void TTdbFieldDefs::Add(const QString& name, TdbFieldKind kind, int size, bool required) {
  if (name.isEmpty() || IndexOf(name) >= 0)
    throw ETableEngineError(QStringLiteral("invalid or duplicate field name '%1'").arg(name), 1, 1);
  defs_.push_back({name, kind, size, required});
}

int TTdbFieldDefs::IndexOf(const QString& name) const {
  for (size_t i = 0; i < defs_.size(); ++i)
    if (defs_[i].Name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
  return -1;
}

void TTdbFieldDefs::MoveFieldDef(int from, int to) {
  if (from < 0 || to < 0 || from >= Count() || to >= Count())
    throw ETableEngineError(QStringLiteral("field definition index out of range"), 1, 1);
  TTdbFieldDef moved = defs_[size_t(from)];
  defs_.erase(defs_.begin() + from);
  defs_.insert(defs_.begin() + to, moved);
}

QStringList TTdbIndexDef::FieldList() const { return SplitFieldNames(Fields); }

void TTdbIndexDefs::Add(const QString& name, const QString& fields, int options) {
  if (SplitFieldNames(fields).isEmpty())
    throw ETableEngineError(QStringLiteral("index '%1' has no fields").arg(name), 1, 1);
  defs_.push_back({name, fields, options});
}

int TTdbIndexDefs::IndexOf(const QString& name) const {
  for (size_t i = 0; i < defs_.size(); ++i)
    if (defs_[i].Name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
  return -1;
}
