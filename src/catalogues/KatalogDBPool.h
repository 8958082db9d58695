#pragma once
// The catalogue pool: one entry per catalogue directory and the warehouse,
// each opening its database on first use and keeping it open for the life
// of the pool (the main window's).
#include <QString>
#include <cstdint>
#include <memory>

#include "OwningObjectList.h"
#include "SupplierIni.h"
#include "TDBCore.h"

class TKatalogDBPoolItem {
 public:
  // Key "LAGER" (any case) is the warehouse; any other directory takes its
  // supplier and its kind from SUPPLIER.INI ("Type" 0, 1 or 2; else 0).
  TKatalogDBPoolItem(const QString& katalog, const QString& directory, TDBLogCallback onLog);
  ~TKatalogDBPoolItem();
  TKatalogDBPoolItem(const TKatalogDBPoolItem&) = delete;
  TKatalogDBPoolItem& operator=(const TKatalogDBPoolItem&) = delete;

  // The open database, made and opened on the first call. Throws
  // "Unbekannter Katalogtyp: TKatalogDBPoolItem.GetDB" for a kind without a
  // database class, and for a catalogue kind whose table the directory does
  // not hold (opening would create an empty catalogue there); open errors
  // are passed on and the next call tries again.
  TDatabaseWrapper* GetDB();
  bool DatabaseOpened() const { return Database != nullptr; }

  std::unique_ptr<TDatabaseWrapper> Database;
  TDBLogCallback OnLog;
  QString Katalog;
  std::uint8_t KatalogTyp = 0;
  QString Verzeichnis;  // with trailing separator
  TKatalogLieferant Lieferant;

 private:
  std::unique_ptr<TDatabaseWrapper> MakeDatabase() const;
};

class TKatalogDBPoolItemObjectList : public TOwningObjectList<TKatalogDBPoolItem> {};

class TKatalogDBPool {
 public:
  // The catalogue and warehouse areas of the system settings.
  explicit TKatalogDBPool(TDBLogCallback onLog);
  TKatalogDBPool(const QString& catalogueDir, const QString& warehouseDir, TDBLogCallback onLog);

  // The database of the catalogue (key trimmed, case ignored); none for an
  // empty key or an unknown one. With openIfMissing a directory that
  // appeared since is taken in. Errors of GetDB are passed on.
  TDatabaseWrapper* GetDBByName(const QString& katalog, bool openIfMissing);
  // The same search and taking in, without opening the database.
  TKatalogDBPoolItem* GetItemByName(const QString& katalog, bool openIfMissing);

  QString KatalogDir;  // with trailing separator
  QString LagerDir;    // with trailing separator
  TDBLogCallback OnLog;
  TKatalogDBPoolItemObjectList Items;

 private:
  TKatalogDBPoolItem* FindItem(const QString& katalog) const;
  TKatalogDBPoolItem* AddItemIfDirectoryExists(const QString& katalog);
};
