#include "NumberText.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

QChar DecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.isEmpty() ? QChar('.') : point.front();
}

QString FormatGeneralNumber(double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  if (value == 0) return QStringLiteral("0");
  // 15 significant digits: d.dddddddddddddde±XX
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  QString scientific = QString::fromLatin1(buffer);
  const qsizetype ePos = scientific.indexOf(QLatin1Char('e'));
  const int exponent = scientific.mid(ePos + 1).toInt();
  QString mantissa = scientific.left(ePos);
  const bool negative = mantissa.startsWith(QLatin1Char('-'));
  if (negative) mantissa.remove(0, 1);
  QString digits = mantissa.remove(QLatin1Char('.'));
  while (digits.size() > 1 && digits.endsWith(QLatin1Char('0'))) digits.chop(1);
  const QChar separator = DecimalSeparator();
  QString out;
  if (exponent < -5 || exponent >= 15) {
    out = digits.left(1);
    if (digits.size() > 1) out += separator + digits.mid(1);
    out += QLatin1Char('E') + QString::number(exponent);
  } else if (exponent < 0) {
    out = QLatin1Char('0') + QString(separator) + QString(-exponent - 1, QLatin1Char('0')) + digits;
  } else if (digits.size() <= exponent + 1) {
    out = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
  } else {
    out = digits.left(exponent + 1) + separator + digits.mid(exponent + 1);
  }
  return negative ? QLatin1Char('-') + out : out;
}

namespace {
QString KeepOnly(const QString& text, QChar separator, bool withSeparator) {
  QString kept;
  kept.reserve(text.size());
  for (QChar c : text)
    if ((c >= u'0' && c <= u'9') || c == u'-' || (withSeparator && c == separator)) kept += c;
  return kept;
}

// The number exactly as FormatGeneralNumber writes it: optional minus,
// digits, optional separator and digits, optional E with optional minus.
bool ReadGeneralNumber(const QString& text, QChar separator, double& value) {
  QByteArray ascii;
  ascii.reserve(text.size());
  bool digit = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      digit = true;
      ascii += char(c.unicode());
    } else if (c == separator) {
      ascii += '.';
    } else if (c == u'-' || c == u'E' || c == u'e') {
      ascii += char(c.unicode());
    } else {
      return false;
    }
  }
  if (!digit) return false;
  char* end = nullptr;
  const double parsed = std::strtod(ascii.constData(), &end);
  if (end != ascii.constData() + ascii.size() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}
}  // namespace

double ReadFloatLenient(const QString& text, double defaultValue, bool* ok) {
  const QString trimmed = text.trimmed();
  const QChar separator = DecimalSeparator();
  double value = 0;
  bool converted = ReadGeneralNumber(trimmed, separator, value);
  if (!converted) {
    const QString kept = KeepOnly(trimmed, separator, true);
    converted = ReadGeneralNumber(kept, separator, value) && !kept.contains(QLatin1Char('E')) &&
                !kept.contains(QLatin1Char('e'));
  }
  if (ok) *ok = converted;
  return converted ? value : defaultValue;
}

qint64 ReadInt64Lenient(const QString& text, qint64 defaultValue, bool* ok) {
  const QString kept = KeepOnly(text.trimmed(), QChar(), false);
  bool converted = false;
  const qint64 value = kept.toLongLong(&converted);
  if (ok) *ok = converted;
  return converted ? value : defaultValue;
}

int ReadIntLenient(const QString& text, int defaultValue, bool* ok) {
  const QString kept = KeepOnly(text.trimmed(), QChar(), false);
  bool converted = false;
  const int value = kept.toInt(&converted);
  if (ok) *ok = converted;
  return converted ? value : defaultValue;
}

bool ReadBoolLenient(const QString& text, bool defaultValue, bool* ok) {
  if (ok) *ok = false;
  if (text.isEmpty()) return defaultValue;
  const QString upper = text.toUpper();
  bool result = defaultValue;
  bool converted = true;
  if (upper == QLatin1String("TRUE")) {
    result = true;
  } else if (upper == QLatin1String("FALSE")) {
    result = false;
  } else {
    double number = 0;
    converted = ReadGeneralNumber(upper.trimmed(), DecimalSeparator(), number);
    if (converted) result = number != 0;
  }
  if (ok) *ok = converted;
  return converted ? result : defaultValue;
}

double RoundHalfAwayFromZero(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  // The nudge keeps values such as 1.005 (stored as 1.00499999...) rounding up.
  const double scaled = value * scale;
  const double rounded = std::round(scaled + (scaled >= 0 ? 1e-9 : -1e-9));
  return rounded / scale;
}
