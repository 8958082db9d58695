#include "PricingFiles.h"

#include "PathUtils.h"

QString PricingFilePath(const QString& addressDir, const QString& folder, const QString& id,
                        const QString& extension) {
  if (!IsUsableAddressId(id)) return QString();
  return NormalizePath(addressDir, true) + folder + QLatin1Char('/') + id + extension;
}
