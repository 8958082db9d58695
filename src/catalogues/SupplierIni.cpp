#include "SupplierIni.h"

#include "MemIniFile.h"
#include "PathUtils.h"

namespace supplierini {

QString PathIn(const QString& directory) { return NormalizePath(directory, true) + FileName(); }

QString CutSupplierId(const QString& storedId) {
  const qsizetype cut = storedId.indexOf(QLatin1Char('_'));
  return cut < 0 ? storedId : storedId.left(cut);
}

}  // namespace supplierini

void TKatalogLieferant::Read(const TMemIniFile& ini) {
  const QString section = supplierini::SectionSupplier();
  Nr = supplierini::CutSupplierId(ini.ReadString(section, QStringLiteral("ID"), QString()));
  SubNr = ini.ReadString(section, QStringLiteral("SUBID"), QString());
  Info = ini.ReadString(section, QStringLiteral("INFO"), QString());
}

void TKatalogLieferant::Write(TMemIniFile& ini) const {
  const QString section = supplierini::SectionSupplier();
  ini.WriteString(section, QStringLiteral("ID"), Nr);
  ini.WriteString(section, QStringLiteral("SUBID"), SubNr);
  ini.WriteString(section, QStringLiteral("INFO"), Info);
}

namespace {
struct TextKey {
  const char* key;
  QString TKatalogOnlineUpdate::*field;
};
// The text keys in the order they are written.
const TextKey kOnlineTexts[] = {
    {"OnlineupdateSimpleURL", &TKatalogOnlineUpdate::SimpleURL},
    {"OnlineupdateSimpleLogin", &TKatalogOnlineUpdate::SimpleLogin},
    {"OnlineupdateSimplePassword", &TKatalogOnlineUpdate::SimplePassword},
    {"OnlineupdateDNURL", &TKatalogOnlineUpdate::DNURL},
    {"OnlineupdateDNParam1", &TKatalogOnlineUpdate::DNParam1},
    {"OnlineupdateDNParam2", &TKatalogOnlineUpdate::DNParam2},
    {"OnlineupdateDNParam3", &TKatalogOnlineUpdate::DNParam3},
    {"OnlineupdateDNParam1Txt", &TKatalogOnlineUpdate::DNParam1Txt},
    {"OnlineupdateDNParam2Txt", &TKatalogOnlineUpdate::DNParam2Txt},
    {"OnlineupdateDNParam3Txt", &TKatalogOnlineUpdate::DNParam3Txt},
    {"OnlineupdateDNFileAccesstype", &TKatalogOnlineUpdate::DNFileAccesstype},
    {"OnlineupdateDNhtAccessUsername", &TKatalogOnlineUpdate::DNhtAccessUsername},
    {"OnlineupdateDNhtAccessPassword", &TKatalogOnlineUpdate::DNhtAccessPassword},
};
const char* const kEnabled = "Enabled";
const char* const kSimpleLoginEnabled = "OnlineupdateSimpleLoginEnabled";
}  // namespace

void TKatalogOnlineUpdate::Read(const TMemIniFile& ini) {
  const QString section = supplierini::SectionOnline();
  Enabled = ini.ReadBool(section, QLatin1String(kEnabled), false);
  SimpleLoginEnabled = ini.ReadBool(section, QLatin1String(kSimpleLoginEnabled), false);
  for (const TextKey& t : kOnlineTexts) this->*t.field = ini.ReadString(section, QLatin1String(t.key), QString());
}

void TKatalogOnlineUpdate::Write(TMemIniFile& ini) const {
  const QString section = supplierini::SectionOnline();
  ini.WriteBool(section, QLatin1String(kEnabled), Enabled);
  ini.WriteBool(section, QLatin1String(kSimpleLoginEnabled), SimpleLoginEnabled);
  for (const TextKey& t : kOnlineTexts) ini.WriteString(section, QLatin1String(t.key), this->*t.field);
}
