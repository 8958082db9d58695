#include "SuiteTree.h"

#include <QDir>
#include <QFileInfo>

#include "DemoAddresses.h"
#include "DemoMaterialCatalogue.h"
#include "DemoPricing.h"
#include "DemoPriceGroups.h"
#include "DemoSearchtext.h"
#include "DemoSupplierCatalogue.h"
#include "DemoWarehouse.h"
#include "IniFilesSec.h"
#include "MemIniFile.h"
#include "PathUtils.h"
#include "TypeUnit.h"

namespace {
const QString kSystem = QStringLiteral("System");

bool Fail(QString* error, const QString& text) {
  if (error) *error = text;
  return false;
}

// Directory names of the areas below the client's data directory.
QString AreaFolder(TAreaDir area) {
  switch (area) {
    case TAreaDir::A1: return QStringLiteral("A1");
    case TAreaDir::Kleinrechnungen: return QStringLiteral("KLEINRECHNUNGEN");
    case TAreaDir::Leistungsdatei: return QStringLiteral("LEISTUNGEN");
    default: return AreaDirKey(area).toUpper();
  }
}

void WriteSystemSettings(TIniFileSecWriter& ini, const QString& client) {
  for (int i = 0; i < kAreaDirCount; ++i) {
    const QString key = AreaDirKey(static_cast<TAreaDir>(i));
    ini.WriteString(kSystem, key, AreaDirValue(client, key));
  }
  ini.WriteString(kSystem, QStringLiteral("Hauswaehrung"), QStringLiteral("EURO"));
  ini.WriteString(kSystem, QStringLiteral("HKurz"), QStringLiteral("EUR"));
  ini.WriteString(kSystem, QStringLiteral("Waehrung1"), QStringLiteral("EURO"));
  ini.WriteString(kSystem, QStringLiteral("W1Kurz"), QStringLiteral("EUR"));
  ini.WriteString(kSystem, QStringLiteral("Waehrung2"), QStringLiteral("Schweizer Franken"));
  ini.WriteString(kSystem, QStringLiteral("W2Kurz"), QStringLiteral("CHF"));
  ini.WriteFloat(kSystem, QStringLiteral("WaehrFaktor2In"), 0.94);
  ini.WriteFloat(kSystem, QStringLiteral("WaehrFaktor2Out"), 1.06);
  ini.WriteString(kSystem, QStringLiteral("StdSprache"), QStringLiteral("de_DE"));
  ini.WriteFloat(kSystem, QStringLiteral("MwStRed"), 7);
  ini.WriteFloat(kSystem, QStringLiteral("MwStNorm"), 19);
  ini.WriteFloat(kSystem, QStringLiteral("MwStErh"), 10.7);
  ini.WriteInteger(kSystem, QStringLiteral("MwStDefault"), 1);
  ini.WriteBool(kSystem, QStringLiteral("FullCurrency"), false);
  ini.WriteBool(kSystem, QStringLiteral("RoundCurrencyEnabled"), false);
  ini.WriteBool(kSystem, QStringLiteral("ArtikelVKPreisIsBrutto"), false);
}

void WriteUser(TIniFileSecWriter& ini, const SuiteUser& user) {
  const QString section = user.name.trimmed().toUpper();
  ini.WriteString(section, QStringLiteral("Passwort"), PasswordDigest(user.password));
  ini.WriteString(section, QStringLiteral("Vollname"), user.fullName.isEmpty() ? section : user.fullName);
  ini.WriteBool(section, QStringLiteral("ZutrittsSperre"), user.barred);
  // An empty protected value reads as the default anyway, so none is written.
  if (!user.barredClients.isEmpty()) ini.WriteString(section, QStringLiteral("Auswahl"), user.barredClients);
  if (!user.permissions.isEmpty()) ini.WriteString(section, QStringLiteral("Berechtigungen"), user.permissions);
}

bool MakeDirs(const QStringList& dirs, QString* error) {
  for (const QString& dir : dirs)
    if (!EnsureDirectory(dir)) return Fail(error, QStringLiteral("cannot create directory %1").arg(dir));
  return true;
}

// An existing file is kept as the site set it.
bool WriteDefaultApplicationIni(const QString& file) {
  if (QFileInfo::exists(file)) return true;
  TMemIniFile ini(file);
  ini.WriteString(QStringLiteral("Language"), QStringLiteral("Name"), QStringLiteral("de_DE"));
  return ini.UpdateFile();
}
}  // namespace

QString AreaDirValue(const QString& client, const QString& key) {
  for (int i = 0; i < kAreaDirCount; ++i) {
    const auto area = static_cast<TAreaDir>(i);
    if (AreaDirKey(area) == key) return QStringLiteral("[DATADIR]\\") + client.trimmed() + '\\' + AreaFolder(area);
  }
  return QString();
}

QString SysdataPath(const SuiteLayout& layout) {
  return JoinPath(layout.root, QStringLiteral("DATA/") + layout.client.trimmed() + QStringLiteral("/ETC/SYSDATA.INI"));
}

QString SysdatbPath(const QString& root) { return JoinPath(root, QStringLiteral("ETC/SYSDATB.INI")); }

QString UserDir(const QString& root, const QString& user) {
  return JoinPath(root, QStringLiteral("USR/") + user.trimmed().toUpper() + QLatin1Char('/'));
}

bool CreateSuiteTree(const SuiteLayout& layout, const QList<SuiteUser>& users, QString* error) {
  const QString client = layout.client.trimmed();
  if (layout.root.isEmpty() || client.isEmpty()) return Fail(error, QStringLiteral("root and client are required"));
  if (!IsSafePathComponent(client))
    return Fail(error, QStringLiteral("invalid client name: %1").arg(client));
  const QString root = NormalizePath(QDir(layout.root).absolutePath(), true);
  const QString dataClient = root + QStringLiteral("DATA/") + client + QLatin1Char('/');
  QStringList dirs = {root + QStringLiteral("BIN"), root + QStringLiteral("ETC"), root + QStringLiteral("TMP/LOG"),
                      dataClient + QStringLiteral("ETC"), root + QStringLiteral("USR/ALLUSERS"),
                      root + QStringLiteral("HLP"), root + QStringLiteral("RSC")};
  for (int i = 0; i < kAreaDirCount; ++i) dirs.append(dataClient + AreaFolder(static_cast<TAreaDir>(i)));
  dirs.append(dataClient + QStringLiteral("A1/ADRESSEN"));
  for (const SuiteUser& user : users) {
    const QString dir = UserDir(root, user.name);
    for (const char* sub : {"ETC", "TMP", "DOC", "MSG"}) dirs.append(dir + QLatin1String(sub));
    dirs.append(dir + QStringLiteral("ETC/") + client.toUpper());
  }
  if (!MakeDirs(dirs, error)) return false;

  TIniFileSecWriter sysdata(SysdataPath({root, client}));
  WriteSystemSettings(sysdata, client);
  if (!sysdata.UpdateFile()) return Fail(error, QStringLiteral("cannot write %1").arg(SysdataPath({root, client})));
  TIniFileSecWriter sysdatb(SysdatbPath(root));
  for (const SuiteUser& user : users) WriteUser(sysdatb, user);
  if (!sysdatb.UpdateFile()) return Fail(error, QStringLiteral("cannot write %1").arg(SysdatbPath(root)));
  const QString applicationIni = root + QStringLiteral("ETC/APPLICATION.INI");
  if (!WriteDefaultApplicationIni(applicationIni)) return Fail(error, QStringLiteral("cannot write %1").arg(applicationIni));
  return true;
}

QString DemoAddressDir(const QString& root) {
  return NormalizePath(QDir(root).absolutePath(), true) + QStringLiteral("DATA/DEMO/A1/ADRESSEN/");
}

namespace {

// The material catalogue and, with three fifths as many articles, the
// supplier catalogue, each with its word index.
bool FillDemoCatalogues(const QString& catalogueDir, int materialArticles, QString* error) {
  const QStringList names = DemoCatalogueNames();
  QList<QPair<QString, QString>> texts;
  const QString material = catalogueDir + u'/' + names[0];
  if (!FillDemoMaterialCatalogue(material, materialArticles, error, &texts) ||
      !WriteDemoSearchtext(material, texts, error))
    return false;
  texts.clear();
  const QString supplier = catalogueDir + u'/' + names[1];
  return FillDemoSupplierCatalogue(supplier, std::max(1, materialArticles * 3 / 5), error, &texts) &&
         WriteDemoSearchtext(supplier, texts, error);
}

}  // namespace

bool CreateDemoSuite(const QString& root, QString* error, int addressCount, int warehouseArticles,
                     int catalogueArticles) {
  SuiteUser admin;
  admin.name = QStringLiteral("ADMIN");
  admin.fullName = QStringLiteral("Administrator");
  SuiteUser guest;
  guest.name = QStringLiteral("GAST");
  guest.fullName = QStringLiteral("Gast");
  guest.barred = true;
  guest.permissions.clear();
  if (!CreateSuiteTree({root, QStringLiteral("DEMO")}, {admin, guest}, error)) return false;
  const QString addressDir = DemoAddressDir(root);
  if (!WriteDemoAddressConfig(addressDir, error) || !FillDemoAddresses(addressDir, addressCount, error)) return false;
  const QString warehouseDir = NormalizePath(root, true) + QStringLiteral("DATA/DEMO/") + AreaFolder(TAreaDir::Lager);
  // A few customers and the standard tables get discount lists; the others start without.
  QStringList customers = {QStringLiteral("__DEFAULT__")};
  for (int i = 0; i < std::min(addressCount, 5); ++i) customers.append(DemoAddressId(i));
  if (!WriteDemoWarehouseConfig(warehouseDir, error) || !FillDemoWarehouse(warehouseDir, warehouseArticles, error) ||
      !FillDemoDiscounts(addressDir, customers, error) ||
      !FillDemoQuantityDiscounts(addressDir, customers.mid(0, 4), error) ||
      !FillDemoArticlePrices(addressDir, customers.mid(0, 4), warehouseArticles, error))
    return false;
  // Price groups for a few customers (and the standard ones), and catalogue directories for their tree.
  const QString catalogueDir = NormalizePath(root, true) + QStringLiteral("DATA/DEMO/") + AreaFolder(TAreaDir::Kataloge);
  QStringList priceGroupCustomers;
  for (int i = 0; i < std::min(addressCount, 3); ++i) priceGroupCustomers.append(DemoAddressId(i));
  return MakeDemoCatalogueDirs(catalogueDir, error, DemoSupplierAddressIds(addressCount, 2)) &&
         FillDemoCatalogues(catalogueDir, catalogueArticles, error) &&
         WriteDemoSynonyms(NormalizePath(root, true) + QStringLiteral("ETC/") + searchtext::SynonymFile(), error) &&
         WriteDemoPriceGroups(addressDir, priceGroupCustomers, error);
}
