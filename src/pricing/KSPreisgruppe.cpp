#include "KSPreisgruppe.h"

#include <QDir>
#include <QFileInfo>

#include "MemIniFile.h"
#include "PathUtils.h"
#include "PricingFiles.h"
#include "TextFile.h"

namespace {
const QString kLager = QStringLiteral("Lager");
const QString kKatalog = QStringLiteral("Katalog");
const QString kKataloge = QStringLiteral("Kataloge");
const QString kAktiv = QStringLiteral("Aktiv");
const QString kPreisgruppe = QStringLiteral("Preisgruppe");

bool Fail(QString* error, const QString& reason) {
  if (error) *error = reason;
  return false;
}

// Booleans are whole numbers in these files; anything but 0 is true.
bool ReadFlag(const TMemIniFile& ini, const QString& section, const QString& ident, bool defaultValue) {
  return ini.ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

// An existing file that cannot be read is a failure, not an empty file.
bool ReadExisting(const QString& file, TMemIniFile& ini, QString* error) {
  ini.Rename(file, true);
  return ini.LoadError().isEmpty() || Fail(error, ini.LoadError());
}
}  // namespace

QString TKSPreisgruppe::FileName(const QString& directory, const QString& addressId) {
  const QString id = addressId.trimmed();
  if (!IsUsableAddressId(id)) return QString();
  return NormalizePath(directory, true) + id + QStringLiteral(".PGRP");
}

void TKSPreisgruppe::Clear() {
  Aktiv = false;
  LagerAktiv = false;
  LagerPreisgruppe = 1;
  KatalogAktiv = false;
  KatalogPreisgruppe = 1;
  Kataloge.Clear();
  AdressID.clear();
}

bool TKSPreisgruppe::Load(const QString& addressId, const QString& directory, const QString& catalogueDir,
                          QString* error) {
  Clear();
  AdressID = addressId.trimmed();
  if (AdressID.isEmpty()) return true;
  QString file = FileName(directory, AdressID);
  if (file.isEmpty()) return Fail(error, QStringLiteral("unusable address identifier: %1").arg(AdressID));
  if (!QFileInfo::exists(file)) file = FileName(directory, QLatin1String(kDefaultAddressId));
  if (!QFileInfo::exists(file)) return true;
  TMemIniFile ini;
  if (!ReadExisting(file, ini, error)) return false;
  Aktiv = true;
  LagerAktiv = ReadFlag(ini, kLager, kAktiv, false);
  LagerPreisgruppe = ini.ReadInteger(kLager, kPreisgruppe, 1);
  KatalogAktiv = ReadFlag(ini, kKatalog, kAktiv, false);
  KatalogPreisgruppe = ini.ReadInteger(kKatalog, kPreisgruppe, 1);
  for (const QString& name : CatalogueDirectoryNames(catalogueDir)) {
    const qint32 group = ini.ReadInteger(kKataloge, name, 0);
    if (group > 0) Kataloge.Add(name, group);
  }
  return true;
}

bool TKSPreisgruppe::Save(const QString& addressId, const QString& directory, QString* error) {
  AdressID = addressId.trimmed();
  if (AdressID.isEmpty()) return Fail(error, QStringLiteral("no address identifier"));
  const QString file = FileName(directory, AdressID);
  if (file.isEmpty()) return Fail(error, QStringLiteral("unusable address identifier: %1").arg(AdressID));
  if (!QFileInfo(NormalizePath(directory, false)).isDir())
    return Fail(error, QStringLiteral("%1: no such directory").arg(NormalizePath(directory, false)));
  TMemIniFile ini;
  if (!ReadExisting(file, ini, error)) return false;
  ini.WriteBool(kLager, kAktiv, LagerAktiv);
  ini.WriteInteger(kLager, kPreisgruppe, LagerPreisgruppe);
  ini.WriteBool(kKatalog, kAktiv, KatalogAktiv);
  ini.WriteInteger(kKatalog, kPreisgruppe, KatalogPreisgruppe);
  ini.EraseSection(kKataloge);
  for (const TStringInteger& entry : Kataloge) ini.WriteInteger(kKataloge, entry.String, entry.Value);
  QString why;
  if (!ini.UpdateFile(&why)) return Fail(error, why);
  return true;
}

const TStringInteger* TKSPreisgruppe::FindKatalog(const QString& catalogueKey) const {
  for (const TStringInteger& entry : Kataloge)
    if (entry.String.compare(catalogueKey, Qt::CaseInsensitive) == 0) return &entry;
  return nullptr;
}

qint32 TKSPreisgruppe::KatalogEintrag(const QString& catalogueKey) const {
  const TStringInteger* entry = FindKatalog(catalogueKey);
  return entry ? entry->Value : 0;
}

qint32 TKSPreisgruppe::GetKatalogPreisgruppe(qint32 defaultGroup, const QString& catalogueKey,
                                             bool keepDefault) const {
  if (!Aktiv || !KatalogAktiv) return defaultGroup;
  if (const TStringInteger* entry = FindKatalog(catalogueKey)) return entry->Value;
  return keepDefault ? defaultGroup : KatalogPreisgruppe;
}
