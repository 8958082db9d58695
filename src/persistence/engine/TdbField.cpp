#include "TdbTable.h"

#include "TableEngineError.h"

namespace {
const QDate kDayZero(1899, 12, 30);

double ToDays(const QDateTime& value) {
  return double(kDayZero.daysTo(value.date())) + value.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime FromDays(double days) {
  const qint64 msecs = qRound64(days * 86400000.0);
  const qint64 day = msecs >= 0 ? msecs / 86400000 : (msecs - 86399999) / 86400000;
  return QDateTime(kDayZero.addDays(day), QTime::fromMSecsSinceStartOfDay(int(msecs - day * 86400000)));
}

bool IsTextKind(TdbFieldKind kind) {
  return kind == TdbFieldKind::WideString || kind == TdbFieldKind::AnsiString || kind == TdbFieldKind::WideMemo;
}
}  // namespace

QVariant TTdbField::Value() const { return table_.CurrentValue(index_); }

// Values are kept in the form the column stores, so keys compare as in the file.
QVariant TTdbField::StoredForm(const QVariant& value) const {
  if (value.isNull()) return QVariant();
  switch (def_.Kind) {
    case TdbFieldKind::Float: return value.toDouble();
    case TdbFieldKind::DateTime:
      return value.typeId() == QMetaType::QDateTime ? ToDays(value.toDateTime()) : value.toDouble();
    case TdbFieldKind::SmallInt: case TdbFieldKind::Integer: case TdbFieldKind::Boolean:
      return value.toLongLong();
    case TdbFieldKind::Blob: return value.toByteArray();
    default: return value.toString();
  }
}

void TTdbField::SetValue(const QVariant& value) { table_.SetCurrentValue(index_, StoredForm(value)); }

QString TTdbField::AsString() const {
  const QVariant value = Value();
  if (value.isNull()) return QString();
  switch (def_.Kind) {
    case TdbFieldKind::Float: return QString::number(value.toDouble(), 'g', 15);
    case TdbFieldKind::Boolean: return AsBoolean() ? QStringLiteral("True") : QStringLiteral("False");
    case TdbFieldKind::DateTime: return AsDateTime().toString(Qt::ISODateWithMs);
    default: return value.toString();
  }
}

void TTdbField::SetAsString(const QString& text) {
  if (IsTextKind(def_.Kind)) return SetValue(text);
  if (text.trimmed().isEmpty()) return Clear();
  bool ok = true;
  switch (def_.Kind) {
    case TdbFieldKind::Float: SetValue(text.trimmed().toDouble(&ok)); break;
    case TdbFieldKind::Boolean: {
      const QString t = text.trimmed().toLower();
      ok = t == u"true" || t == u"false" || t == u"1" || t == u"0";
      SetAsBoolean(t == u"true" || t == u"1");
      break;
    }
    case TdbFieldKind::DateTime: {
      const QDateTime dt = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
      ok = dt.isValid();
      if (ok) SetAsDateTime(dt);
      break;
    }
    case TdbFieldKind::Blob: SetValue(text.toUtf8()); break;
    default: SetValue(text.trimmed().toLongLong(&ok));
  }
  if (!ok) throw ETableEngineError(QStringLiteral("'%1' is not a valid value for field %2").arg(text, def_.Name), 20, 20);
}

QDateTime TTdbField::DateTimeOf(const QVariant& stored) {
  return stored.isNull() ? QDateTime() : FromDays(stored.toDouble());
}

void TTdbField::SetAsDateTime(const QDateTime& value) {
  SetValue(value.isValid() ? QVariant(value) : QVariant());
}
