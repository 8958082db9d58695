#pragma once
// Numbers as the suite writes and reads them, with the process's default
// QLocale (its decimal separator).
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QtGlobal>

QChar DecimalSeparator();

// While one lives on a thread, DecimalSeparator() keeps the separator it
// found at the start instead of asking the locale again: a document of many
// numbers asks once.
class DecimalSeparatorScope {
 public:
  DecimalSeparatorScope();
  ~DecimalSeparatorScope();
  DecimalSeparatorScope(const DecimalSeparatorScope&) = delete;
  DecimalSeparatorScope& operator=(const DecimalSeparatorScope&) = delete;

 private:
  char16_t previous_;
};

// General number format: no thousands separator, up to 15 significant
// digits, no trailing zeros; exponent form "1E-6", "1,5E20" when the decimal
// exponent is below -5 or at least 15.
QString FormatGeneralNumber(double value);

// Lenient reading: blanks trimmed, then every character but the digits, "-"
// and (for fractional numbers) the decimal separator dropped before the
// conversion; the default when that fails. A text in the general number
// format itself (such as "1,5E20") is read as written first, so that every
// number the suite writes reads back to the same value.
double ReadFloatLenient(const QString& text, double defaultValue, bool* ok = nullptr);
// Strict reading of what a user typed: only a plain number in the locale's
// form (optional minus, digits, at most one decimal separator, the exponent
// form "1,5E-7"), blanks around it allowed. Nothing is guessed: on a German
// desktop "1.000" may mean a thousand, so it is refused like "7.5" or "12 %".
bool ReadNumberStrict(const QString& text, double& value);

int ReadIntLenient(const QString& text, int defaultValue, bool* ok = nullptr);
qint64 ReadInt64Lenient(const QString& text, qint64 defaultValue, bool* ok = nullptr);
// Empty text: the default; else TRUE/FALSE in any case, or a number (0 is false).
bool ReadBoolLenient(const QString& text, bool defaultValue, bool* ok = nullptr);

// The same lenient readers over UTF-8 text (as the XML parser hands it
// over), with the same results and without allocating for ASCII text.
double ReadFloatLenientUtf8(QByteArrayView utf8, double defaultValue, bool* ok = nullptr);
int ReadIntLenientUtf8(QByteArrayView utf8, int defaultValue, bool* ok = nullptr);
qint64 ReadInt64LenientUtf8(QByteArrayView utf8, qint64 defaultValue, bool* ok = nullptr);
bool ReadBoolLenientUtf8(QByteArrayView utf8, bool defaultValue, bool* ok = nullptr);

// Rounds half away from zero to the given number of decimals.
double RoundHalfAwayFromZero(double value, int decimals);
