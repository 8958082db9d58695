#include "KatalogDBPool.h"

#include <QFileInfo>

#include "Katalog1DB.h"
#include "Katalog2DB.h"
#include "KatalogTypes.h"
#include "MemIniFile.h"
#include "PathUtils.h"
#include "SuiteException.h"
#include "Translation.h"
#include "TypeUnit.h"
#include "UKAT.h"
#include "ULAGUnit1Core.h"

namespace {
bool IsLagerKey(const QString& katalog) { return katalog.compare(katalogtyp::LagerKey(), Qt::CaseInsensitive) == 0; }

std::uint8_t TypeFromIni(const TMemIniFile& ini) {
  const int type = ini.ReadInteger(supplierini::SectionCatalog(), QStringLiteral("Type"), katalogtyp::Einfach);
  const bool known = type == katalogtyp::Einfach || type == katalogtyp::Datanorm || type == katalogtyp::Eldanorm;
  return known ? std::uint8_t(type) : katalogtyp::Einfach;
}

QString AreaDir(TAreaDir area) {
  const TSystemEinstellungen* settings = SystemEinstellungen();
  return settings ? settings->AreaDir(area) : QString();
}

// The subdirectory the key names, in the letter case it has on disk; empty when there is none.
QString DirectoryNameIgnoringCase(const QString& parent, const QString& key) {
  if (QFileInfo(parent + key).isDir()) return key;
  for (const QString& name : CatalogueDirectoryNames(parent))
    if (name.compare(key, Qt::CaseInsensitive) == 0) return name;
  return {};
}

Exception UnknownKind() { return Exception(Tr("Unbekannter Katalogtyp: TKatalogDBPoolItem.GetDB")); }

template <class Database>
std::unique_ptr<TDatabaseWrapper> OpenDatabase(const QString& directory, const TDBLogCallback& onLog) {
  auto db = std::make_unique<Database>(onLog);
  db->Open(directory);
  return db;
}

// Opening makes the tables a directory lacks: a catalogue is only opened
// where its table is, never made in a directory of another kind or none.
template <class Database>
std::unique_ptr<TDatabaseWrapper> OpenCatalogue(const QString& directory, std::uint8_t type,
                                                const TDBLogCallback& onLog) {
  if (!QFileInfo::exists(directory + katalogtyp::MarkerFile(type))) throw UnknownKind();
  return OpenDatabase<Database>(directory, onLog);
}
}  // namespace

TKatalogDBPoolItem::TKatalogDBPoolItem(const QString& katalog, const QString& directory, TDBLogCallback onLog)
    : OnLog(std::move(onLog)), Katalog(katalog), Verzeichnis(NormalizePath(directory, true)) {
  if (IsLagerKey(katalog)) {
    KatalogTyp = katalogtyp::Lager;
    return;
  }
  const TMemIniFile ini(supplierini::PathIn(Verzeichnis));
  Lieferant.Read(ini);
  KatalogTyp = TypeFromIni(ini);
}

TKatalogDBPoolItem::~TKatalogDBPoolItem() {
  if (Database) Database->CloseDatabase();
}

std::unique_ptr<TDatabaseWrapper> TKatalogDBPoolItem::MakeDatabase() const {
  switch (KatalogTyp) {
    case katalogtyp::Einfach: return OpenCatalogue<TKatalog2DB>(Verzeichnis, KatalogTyp, OnLog);
    case katalogtyp::Datanorm: return OpenCatalogue<TKatalog1DB>(Verzeichnis, KatalogTyp, OnLog);
    case katalogtyp::Lager: return OpenDatabase<IModLagerDBServerObj>(Verzeichnis, OnLog);
    default:
      throw UnknownKind();
  }
}

TDatabaseWrapper* TKatalogDBPoolItem::GetDB() {
  if (!Database) Database = MakeDatabase();
  return Database.get();
}

TKatalogDBPool::TKatalogDBPool(TDBLogCallback onLog)
    : TKatalogDBPool(AreaDir(TAreaDir::Kataloge), AreaDir(TAreaDir::Lager), std::move(onLog)) {}

TKatalogDBPool::TKatalogDBPool(const QString& catalogueDir, const QString& warehouseDir, TDBLogCallback onLog)
    : KatalogDir(NormalizePath(catalogueDir, true)), LagerDir(NormalizePath(warehouseDir, true)),
      OnLog(std::move(onLog)) {
  Items.Add(std::make_unique<TKatalogDBPoolItem>(katalogtyp::LagerKey(), LagerDir, OnLog));
  for (const QString& name : CatalogueDirectoryNames(KatalogDir))
    // A directory named like the warehouse would only hide behind it.
    if (!IsLagerKey(name)) Items.Add(std::make_unique<TKatalogDBPoolItem>(name, KatalogDir + name, OnLog));
}

TKatalogDBPoolItem* TKatalogDBPool::FindItem(const QString& katalog) const {
  const int index = Items.FindIndex(
      [&](const TKatalogDBPoolItem& item) { return item.Katalog.compare(katalog, Qt::CaseInsensitive) == 0; });
  return index < 0 ? nullptr : const_cast<TKatalogDBPoolItem*>(Items[index]);
}

TKatalogDBPoolItem* TKatalogDBPool::AddItemIfDirectoryExists(const QString& katalog) {
  if (IsLagerKey(katalog)) {
    if (!QFileInfo(LagerDir).isDir()) return nullptr;
    return Items.Add(std::make_unique<TKatalogDBPoolItem>(katalogtyp::LagerKey(), LagerDir, OnLog));
  }
  // The key becomes a path component: one that leaves the catalogue area names no catalogue.
  if (!IsSafePathComponent(katalog) || katalog.startsWith(QLatin1Char('.'))) return nullptr;
  const QString name = DirectoryNameIgnoringCase(KatalogDir, katalog);
  if (name.isEmpty()) return nullptr;
  return Items.Add(std::make_unique<TKatalogDBPoolItem>(name, KatalogDir + name, OnLog));
}

TKatalogDBPoolItem* TKatalogDBPool::GetItemByName(const QString& katalog, bool openIfMissing) {
  const QString key = katalog.trimmed();
  if (key.isEmpty()) return nullptr;
  if (TKatalogDBPoolItem* item = FindItem(key)) return item;
  return openIfMissing ? AddItemIfDirectoryExists(key) : nullptr;
}

TDatabaseWrapper* TKatalogDBPool::GetDBByName(const QString& katalog, bool openIfMissing) {
  TKatalogDBPoolItem* item = GetItemByName(katalog, openIfMissing);
  return item ? item->GetDB() : nullptr;
}
