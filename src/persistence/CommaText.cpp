#include "CommaText.h"

QStringList SplitCommaText(const QString& text) {
  QStringList items;
  QString item;
  bool quoted = false;
  bool any = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (quoted) {
      if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
        item += c;
        ++i;
      } else if (c == u'"') {
        quoted = false;
      } else {
        item += c;
      }
    } else if (c == u'"') {
      quoted = true;
      any = true;
    } else if (c == u',') {
      items.append(item.trimmed());
      item.clear();
      any = true;
    } else {
      item += c;
      any = true;
    }
  }
  if (any) items.append(item.trimmed());
  items.removeAll(QString());
  return items;
}

namespace {
bool NeedsQuotes(const QString& item) {
  return item.contains(u',') || item.contains(u'"') || item != item.trimmed();
}
}  // namespace

QString JoinCommaText(const QStringList& items) {
  QStringList written;
  written.reserve(items.size());
  for (const QString& item : items) {
    if (!NeedsQuotes(item)) {
      written.append(item);
      continue;
    }
    QString escaped = item;
    escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
    written.append(u'"' + escaped + u'"');
  }
  return written.join(u',');
}
