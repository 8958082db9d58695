#include "PathUtils.h"

#include <QDir>
#include <QFileInfo>

QString NormalizePath(const QString& path, bool withTrailingSeparator) {
  QString result = path;
  result.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (result.size() > 1 && result.endsWith(QLatin1Char('/'))) result.chop(1);
  if (withTrailingSeparator && !result.endsWith(QLatin1Char('/'))) result += QLatin1Char('/');
  return result;
}

bool EnsureDirectory(const QString& path) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  if (info.isDir()) return true;
  if (info.exists()) return false;
  return QDir().mkpath(path);
}

QString ExpandDataDir(const QString& path, const QString& placeholder, const QString& replacement) {
  QString result = path;
  if (!placeholder.isEmpty() && result.startsWith(placeholder))
    result = NormalizePath(replacement, false) + result.mid(placeholder.size());
  return NormalizePath(result, false);
}

QString JoinPath(const QString& directory, const QString& relative) {
  return NormalizePath(directory, true) + relative;
}

bool IsSafePathComponent(const QString& name) {
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
  for (QChar c : name)
    if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
  return true;
}

QStringList CatalogueDirectoryNames(const QString& dir) {
  QStringList names;
  if (dir.isEmpty()) return names;
  const QDir area(dir);
  // By name, ignoring case, as the suite's Windows file systems return them;
  // unsorted would be an order of the file system's hashing here.
  for (const QString& name :
       area.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
    if (!name.startsWith(QLatin1Char('.'))) names.append(name);
  return names;
}
