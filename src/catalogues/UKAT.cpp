#include "UKAT.h"

#include <QFileInfo>

#include "KatalogTypes.h"
#include "MemIniFile.h"
#include "PathUtils.h"

namespace {
const char* const kType = "Type";
const char* const kDescription = "Description";

bool DirectoryExists(const QString& directory) { return QFileInfo(directory).isDir(); }

// The kinds in the order their marker files decide.
constexpr std::uint8_t kMarkerOrder[] = {katalogtyp::Lager, katalogtyp::Einfach, katalogtyp::Datanorm,
                                         katalogtyp::Eldanorm};
}  // namespace

std::uint8_t TUKATKatalogTypeHelper::GetCatalogType(const QString& directory) {
  if (!DirectoryExists(directory)) return katalogtyp::Unbekannt;
  const QString dir = NormalizePath(directory, true);
  for (std::uint8_t type : kMarkerOrder)
    if (QFileInfo::exists(dir + katalogtyp::MarkerFile(type))) return type;
  const QString iniPath = supplierini::PathIn(dir);
  if (!QFileInfo::exists(iniPath)) return katalogtyp::Unbekannt;
  const int type = TMemIniFile(iniPath).ReadInteger(supplierini::SectionCatalog(), QLatin1String(kType),
                                                     katalogtyp::Unbekannt);
  // A value that is no byte names no kind.
  return type >= 0 && type <= 255 ? std::uint8_t(type) : katalogtyp::Unbekannt;
}

bool TUKATKatalogTypeHelper::WriteCatalogInfo(const QString& directory, const QString& description,
                                              std::uint8_t type) {
  if (!DirectoryExists(directory)) return false;
  TMemIniFile ini(supplierini::PathIn(directory));
  ini.WriteInteger(supplierini::SectionCatalog(), QLatin1String(kType), type);
  ini.WriteString(supplierini::SectionCatalog(), QLatin1String(kDescription), description);
  return ini.UpdateFile();
}

void TUKATKatalogAuswahlItem::Reset() { *this = TUKATKatalogAuswahlItem(); }

void TUKATKatalogAuswahlItem::ReadFromDirectory(const QString& katalog, const QString& directory,
                                                std::uint8_t type) {
  Reset();
  Katalog = katalog;
  KatalogTyp = type;
  const QString iniPath = supplierini::PathIn(directory);
  if (!QFileInfo::exists(iniPath)) return;
  const TMemIniFile ini(iniPath);
  Beschreibung = ini.ReadString(supplierini::SectionCatalog(), QLatin1String(kDescription), QString());
  Lieferant.Read(ini);
  Online.Read(ini);
}

bool TUKATKatalogAuswahlItem::WriteToDirectory(const QString& directory, QString* error) const {
  if (!DirectoryExists(directory)) {
    if (error) *error = directory;
    return false;
  }
  TMemIniFile ini(supplierini::PathIn(directory));
  ini.WriteInteger(supplierini::SectionCatalog(), QLatin1String(kType), KatalogTyp);
  ini.WriteString(supplierini::SectionCatalog(), QLatin1String(kDescription), Beschreibung);
  Lieferant.Write(ini);
  Online.Write(ini);
  return ini.UpdateFile(error);
}

int TUKATKatalogAuswahlItemObjectList::IndexOfKatalog(const QString& katalog) const {
  return FindIndex([&](const TUKATKatalogAuswahlItem& item) { return item.Katalog == katalog; });
}
