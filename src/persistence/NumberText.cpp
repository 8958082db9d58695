#include "NumberText.h"

#include <QLocale>
#include <cmath>
#include <charconv>
#include <memory>
#include <string_view>
#include <system_error>

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
// The ASCII form of a number, on the stack unless the text is long.
class AsciiBuffer {
 public:
  explicit AsciiBuffer(qsizetype capacity)
      : data_(capacity <= qsizetype(sizeof small_) ? small_ : (heap_ = std::make_unique<char[]>(size_t(capacity))).get()) {}
  void Append(char c) { data_[size_++] = c; }
  const char* Begin() const { return data_; }
  const char* End() const { return data_ + size_; }
  bool IsEmpty() const { return size_ == 0; }

 private:
  char small_[64];
  std::unique_ptr<char[]> heap_;
  char* data_;
  qsizetype size_ = 0;
};

char16_t Unit(QChar c) { return c.unicode(); }
char16_t Unit(char c) { return char16_t(static_cast<unsigned char>(c)); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
// QChar::isSpace below 128.
bool IsAsciiBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsAscii(QByteArrayView text) {
  for (char c : text)
    if (Unit(c) >= 0x80) return false;
  return true;
}

QByteArrayView TrimmedAscii(QByteArrayView text) {
  while (!text.isEmpty() && IsAsciiBlank(text.front())) text = text.sliced(1);
  while (!text.isEmpty() && IsAsciiBlank(text.back())) text.chop(1);
  return text;
}

// strict: the number exactly as FormatGeneralNumber writes it (optional
// minus, digits, optional separator and digits, optional E with optional
// minus). Otherwise every character but the digits, "-" and the separator
// is dropped first, and there is no exponent.
template <class Text>
bool ReadGeneralNumber(const Text& text, QChar separator, bool strict, double& value) {
  AsciiBuffer ascii(text.size());
  bool digit = false;
  for (const auto unit : text) {
    const char16_t c = Unit(unit);
    if (IsDigit(c)) {
      digit = true;
      ascii.Append(char(c));
    } else if (c == separator) {
      if (!strict && (c == u'E' || c == u'e')) return false;
      ascii.Append('.');
    } else if (c == u'-' || (strict && (c == u'E' || c == u'e'))) {
      ascii.Append(char(c));
    } else if (strict) {
      return false;
    }
  }
  if (!digit) return false;
  double parsed = 0;
  const auto [stop, error] = std::from_chars(ascii.Begin(), ascii.End(), parsed);
  if (stop != ascii.End() || error != std::errc() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

// A decimal of at most 15 digits without exponent, exactly: its digits and
// the power of ten are exact doubles, so the one division rounds just as
// from_chars does. False: leave it to from_chars.
bool ReadShortDecimal(const char* begin, const char* end, double& value) {
  static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const bool negative = begin != end && *begin == '-';
  quint64 mantissa = 0;
  int digits = 0, fraction = 0;
  bool point = false;
  for (const char* p = begin + (negative ? 1 : 0); p != end; ++p) {
    if (*p >= '0' && *p <= '9') {
      mantissa = mantissa * 10 + quint64(*p - '0');
      fraction += point ? 1 : 0;
      if (++digits > 15) return false;
    } else if (*p == '.' && !point && digits > 0) {
      point = true;
    } else {
      return false;
    }
  }
  if (digits == 0 || (point && fraction == 0)) return false;
  const double magnitude = double(mantissa) / kPowersOfTen[fraction];
  value = negative ? -magnitude : magnitude;
  return true;
}

// The common case in one pass: a short number exactly as the writer
// makes it, without blanks or foreign characters. False: read it the full
// way (which gives the same result for such a text).
bool ReadPlainNumber(QByteArrayView text, double& value) {
  char ascii[32];
  if (text.size() > qsizetype(sizeof ascii)) return false;
  const char16_t separator = DecimalSeparator().unicode();
  qsizetype n = 0;
  bool digit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
      ascii[n++] = c;
    } else if (Unit(c) == separator) {
      ascii[n++] = '.';
    } else if (c == '-' || c == 'E' || c == 'e') {
      ascii[n++] = c;
    } else {
      return false;
    }
  }
  if (ReadShortDecimal(ascii, ascii + n, value)) return true;
  double parsed = 0;
  const auto [stop, error] = std::from_chars(ascii, ascii + n, parsed);
  if (!digit || stop != ascii + n || error != std::errc() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

// The digits and minus signs of the text as one whole number.
template <class Int, class Text>
bool ReadWholeNumber(const Text& text, Int& value) {
  AsciiBuffer ascii(text.size());
  for (const auto unit : text) {
    const char16_t c = Unit(unit);
    if (IsDigit(c) || c == u'-') ascii.Append(char(c));
  }
  Int parsed = 0;
  const auto [stop, error] = std::from_chars(ascii.Begin(), ascii.End(), parsed);
  if (ascii.IsEmpty() || stop != ascii.End() || error != std::errc()) return false;
  value = parsed;
  return true;
}

template <class Text>
double ReadFloatTrimmed(const Text& trimmed, double defaultValue, bool* ok) {
  const QChar separator = DecimalSeparator();
  double value = 0;
  const bool converted =
      ReadGeneralNumber(trimmed, separator, true, value) || ReadGeneralNumber(trimmed, separator, false, value);
  if (ok) *ok = converted;
  return converted ? value : defaultValue;
}

template <class Int, class Text>
Int ReadWholeLenient(const Text& text, Int defaultValue, bool* ok) {
  Int value = 0;
  const bool converted = ReadWholeNumber(text, value);
  if (ok) *ok = converted;
  return converted ? value : defaultValue;
}

bool Is(const QString& text, QLatin1StringView word) { return text == word; }
bool Is(QByteArrayView text, QLatin1StringView word) { return QLatin1StringView(text.data(), text.size()) == word; }

// An upper-cased text, trimmed: TRUE, FALSE or a number.
template <class Text>
bool ReadBoolUpper(const Text& upper, const Text& trimmed, bool defaultValue, bool* ok) {
  bool result = defaultValue;
  bool converted = true;
  if (Is(upper, QLatin1StringView("TRUE"))) {
    result = true;
  } else if (Is(upper, QLatin1StringView("FALSE"))) {
    result = false;
  } else {
    double number = 0;
    converted = ReadGeneralNumber(trimmed, DecimalSeparator(), true, number);
    if (converted) result = number != 0;
  }
  if (ok) *ok = converted;
  return converted ? result : defaultValue;
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

// A load reads many numbers under one locale: a scope asks it once.
thread_local char16_t tScopedSeparator = 0;
}  // namespace

QChar DecimalSeparator() {
  if (tScopedSeparator != 0) return QChar(tScopedSeparator);
  const QString point = QLocale().decimalPoint();
  return point.isEmpty() ? QChar('.') : point.front();
}

DecimalSeparatorScope::DecimalSeparatorScope() : previous_(tScopedSeparator) {
  tScopedSeparator = 0;
  tScopedSeparator = DecimalSeparator().unicode();
}

DecimalSeparatorScope::~DecimalSeparatorScope() { tScopedSeparator = previous_; }

double ReadFloatLenient(const QString& text, double defaultValue, bool* ok) {
  return ReadFloatTrimmed(text.trimmed(), defaultValue, ok);
}

double ReadFloatLenientUtf8(QByteArrayView utf8, double defaultValue, bool* ok) {
  double value = 0;
  if (ReadPlainNumber(utf8, value)) {
    if (ok) *ok = true;
    return value;
  }
  if (!IsAscii(utf8)) return ReadFloatLenient(QString::fromUtf8(utf8), defaultValue, ok);
  return ReadFloatTrimmed(TrimmedAscii(utf8), defaultValue, ok);
}

bool ReadNumberStrict(const QString& text, double& value) {
  const QString trimmed = text.trimmed();
  const QChar separator = DecimalSeparator();
  return IsPlainNumber(trimmed, separator) && ReadGeneralNumber(trimmed, separator, true, value);
}

qint64 ReadInt64Lenient(const QString& text, qint64 defaultValue, bool* ok) {
  return ReadWholeLenient(text, defaultValue, ok);
}

int ReadIntLenient(const QString& text, int defaultValue, bool* ok) { return ReadWholeLenient(text, defaultValue, ok); }

int ReadIntLenientUtf8(QByteArrayView utf8, int defaultValue, bool* ok) {
  // Only ASCII digits and "-" count, whatever the other bytes are.
  return ReadWholeLenient(utf8, defaultValue, ok);
}

qint64 ReadInt64LenientUtf8(QByteArrayView utf8, qint64 defaultValue, bool* ok) {
  return ReadWholeLenient(utf8, defaultValue, ok);
}

bool ReadBoolLenient(const QString& text, bool defaultValue, bool* ok) {
  if (ok) *ok = false;
  if (text.isEmpty()) return defaultValue;
  const QString upper = text.toUpper();
  return ReadBoolUpper(upper, upper.trimmed(), defaultValue, ok);
}

bool ReadBoolLenientUtf8(QByteArrayView utf8, bool defaultValue, bool* ok) {
  if (!IsAscii(utf8)) return ReadBoolLenient(QString::fromUtf8(utf8), defaultValue, ok);
  if (ok) *ok = false;
  if (utf8.isEmpty()) return defaultValue;
  AsciiBuffer upper(utf8.size());
  for (char c : utf8) upper.Append(c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c);
  const QByteArrayView view(upper.Begin(), upper.End() - upper.Begin());
  return ReadBoolUpper(view, TrimmedAscii(view), defaultValue, ok);
}

double RoundHalfAwayFromZero(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  // The nudge keeps values such as 1.005 (stored as 1.00499999...) rounding up.
  const double scaled = value * scale;
  const double rounded = std::round(scaled + (scaled >= 0 ? 1e-9 : -1e-9));
  return rounded / scale;
}
