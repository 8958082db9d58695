#include "PricingFiles.h"

#include "PathUtils.h"

bool IsUsableAddressId(const QString& id) {
  if (id.isEmpty() || id == QLatin1String(".") || id == QLatin1String("..")) return false;
  for (QChar c : id)
    if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
  return true;
}

QString PricingFilePath(const QString& addressDir, const QString& folder, const QString& id,
                        const QString& extension) {
  if (!IsUsableAddressId(id)) return QString();
  return NormalizePath(addressDir, true) + folder + QLatin1Char('/') + id + extension;
}
