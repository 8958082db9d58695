#include "Format.h"

#include <QLocale>

namespace {
QString FormatNumber(const QVariant& arg, QChar kind, int precision) {
  QLocale locale;
  const double value = arg.toDouble();
  if (kind == 'n') return locale.toString(value, 'f', precision < 0 ? 2 : precision);
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return locale.toString(value, 'f', precision < 0 ? 2 : precision);
}
}  // namespace

QString FormatText(const QString& format, const QVariantList& args) {
  QString out;
  out.reserve(format.size() + 32);
  int next = 0;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      out += c;
      continue;
    }
    qsizetype j = i + 1;
    if (format[j] == '%') {
      out += '%';
      i = j;
      continue;
    }
    int precision = -1;
    if (format[j] == '.') {
      precision = 0;
      ++j;
      while (j < format.size() && format[j].isDigit()) precision = precision * 10 + format[j++].digitValue();
    }
    if (j >= format.size()) {
      out += format.mid(i);
      break;
    }
    const QChar kind = format[j].toLower();
    const QVariant arg = next < args.size() ? args[next] : QVariant();
    switch (kind.unicode()) {
      case 's': out += arg.toString(); break;
      case 'd': out += QString::number(arg.toLongLong()); break;
      case 'u': out += QString::number(arg.toULongLong()); break;
      case 'f':
      case 'n': out += FormatNumber(arg, kind, precision); break;
      default:  // not a placeholder: keep it as written
        out += format.mid(i, j - i + 1);
        i = j;
        continue;
    }
    ++next;
    i = j;
  }
  return out;
}
