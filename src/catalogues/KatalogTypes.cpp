#include "KatalogTypes.h"

#include "Translation.h"

namespace katalogtyp {

QString KindName(std::uint8_t type) {
  switch (type) {
    case Einfach: return Tr("Einfacher Katalog");
    case Datanorm: return Tr("DATANORM-Katalog");
    case Eldanorm: return Tr("ELDANORM-Katalog");
    case Lager: return Tr("Lager-Katalog");
    default: return {};
  }
}

QString MarkerFile(std::uint8_t type) {
  switch (type) {
    case Einfach: return QStringLiteral("SCATALOG.DAT");
    case Datanorm: return QStringLiteral("CATALOG.DAT");
    case Eldanorm: return QStringLiteral("ECATALOG.DAT");
    case Lager: return QStringLiteral("LAGER.DAT");
    default: return {};
  }
}

}  // namespace katalogtyp
