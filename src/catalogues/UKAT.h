#pragma once
// The catalogue registry: what kind of catalogue a directory holds, the
// catalogue directories below the catalogue area, and the entries of the
// catalogue selection list with their SUPPLIER.INI.
#include <QString>
#include <QStringList>
#include <cstdint>

#include "OwningObjectList.h"
#include "SupplierIni.h"

class TUKATKatalogTypeHelper {
 public:
  // 3 for a missing directory; else by marker file (LAGER.DAT 4, SCATALOG.DAT 0,
  // CATALOG.DAT 1, ECATALOG.DAT 2), else the "Type" of SUPPLIER.INI, else 3.
  static std::uint8_t GetCatalogType(const QString& directory);
  // Writes kind and name into SUPPLIER.INI of an existing directory; false
  // when the directory is missing or the file could not be written.
  static bool WriteCatalogInfo(const QString& directory, const QString& description, std::uint8_t type);
};

// One entry of the catalogue selection list.
class TUKATKatalogAuswahlItem {
 public:
  TKatalogLieferant Lieferant;
  QString Katalog;       // the subdirectory name, or "LAGER"
  QString Beschreibung;  // "Description"
  std::uint8_t KatalogTyp = 3;
  TKatalogOnlineUpdate Online;

  void Reset();
  // Resets, takes key and kind, and reads SUPPLIER.INI of the directory when it exists.
  void ReadFromDirectory(const QString& katalog, const QString& directory, std::uint8_t type);
  // Writes every key back into SUPPLIER.INI of the directory, keeping keys
  // of others; false when the directory is missing or the write failed.
  bool WriteToDirectory(const QString& directory, QString* error = nullptr) const;
};

class TUKATKatalogAuswahlItemObjectList : public TOwningObjectList<TUKATKatalogAuswahlItem> {
 public:
  // The first entry with exactly this key, or -1.
  int IndexOfKatalog(const QString& katalog) const;
};
