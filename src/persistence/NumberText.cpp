#include "NumberText.h"

#include <QLocale>
#include <cmath>
#include <charconv>
#include <string_view>
#include <system_error>

QChar DecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.isEmpty() ? QChar('.') : point.front();
}

namespace {
// The value rounded to 15 significant digits: the digits without trailing
// zeros and the decimal exponent of the first. Locale-free: the application
// object sets the C library's LC_NUMERIC from the environment.
struct SignificantDigits {
  QString digits;
  int exponent = 0;
  bool negative = false;
};

SignificantDigits FifteenDigitsOf(double value) {
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  const std::string_view text(buffer, size_t(written.ptr - buffer));  // "-d.ddddddddddddddde+XX"
  const size_t ePos = text.find('e');
  SignificantDigits result;
  result.negative = text.front() == '-';
  for (char c : text.substr(0, ePos))
    if (c >= '0' && c <= '9') result.digits += QLatin1Char(c);
  while (result.digits.size() > 1 && result.digits.endsWith(QLatin1Char('0'))) result.digits.chop(1);
  std::string_view exponent = text.substr(ePos + 1);
  if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), result.exponent);
  return result;
}
}  // namespace

QString FormatGeneralNumber(double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  if (value == 0) return QStringLiteral("0");
  const auto [digits, exponent, negative] = FifteenDigitsOf(value);
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
  const char* const end = ascii.constData() + ascii.size();
  double parsed = 0;
  const auto [stop, error] = std::from_chars(ascii.constData(), end, parsed);
  if (stop != end || error != std::errc() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

// A plain number in the locale's form: optional minus, digits with at most
// one decimal separator, optionally "E" with an optional minus and digits.
bool IsPlainNumber(const QString& text, QChar separator) {
  const auto isDigit = [&](qsizetype i) { return i < text.size() && text[i] >= u'0' && text[i] <= u'9'; };
  qsizetype i = text.startsWith(QLatin1Char('-')) ? 1 : 0;
  qsizetype digits = 0;
  bool separatorSeen = false;
  for (; i < text.size(); ++i) {
    if (isDigit(i)) {
      ++digits;
    } else if (text[i] == separator && !separatorSeen) {
      separatorSeen = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == u'E' || text[i] == u'e')) {
    ++i;
    if (i < text.size() && text[i] == u'-') ++i;
    if (!isDigit(i)) return false;
    while (isDigit(i)) ++i;
  }
  return i == text.size();
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

bool ReadNumberStrict(const QString& text, double& value) {
  const QString trimmed = text.trimmed();
  const QChar separator = DecimalSeparator();
  return IsPlainNumber(trimmed, separator) && ReadGeneralNumber(trimmed, separator, value);
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
