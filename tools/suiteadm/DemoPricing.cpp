#include "DemoPricing.h"

#include <QDir>

#include "CmnCustomObjectLists.h"
#include "DemoSupport.h"
#include "KSRabDatabase.h"
#include "NumberText.h"
#include "PathUtils.h"
#include "ULAGConfig.h"

namespace {
struct DemoGroup {
  const char* key;
  const char* description;
};

// Groups as a plumbing and electrical trade firm keeps them.
const DemoGroup kGroups[] = {
    {"CU", "Kupferrohre und Fittings"},      {"ST", "Stahlrohre verzinkt"},
    {"PE", "PE-Rohre und Zubehoer"},         {"PP", "PP-Abflussrohre"},
    {"MS", "Messingarmaturen"},              {"KH", "Kugelhaehne"},
    {"PU", "Pumpen"},                        {"HK", "Heizkessel"},
    {"HKV", "Heizkoerperventile"},           {"HKP", "Heizkoerper Profil"},
    {"FB", "Fussbodenheizung"},              {"SO", "Solarthermie"},
    {"WP", "Waermepumpen"},                  {"SP", "Speicher"},
    {"SAN", "Sanitaerkeramik"},              {"ARM", "Armaturen Bad und Kueche"},
    {"DU", "Duschsysteme"},                  {"WC", "Vorwandinstallation"},
    {"DA", "Daemmstoffe"},                   {"BF", "Befestigungstechnik"},
    {"KA", "Kabel und Leitungen"},           {"SCH", "Schalter und Steckdosen"},
    {"VT", "Verteiler und Sicherungen"},     {"LE", "Leuchten"},
    {"WZ", "Werkzeug"},                      {"DI", "Dichtmittel"},
    {"LU", "Lueftung"},                      {"KL", "Klimageraete"},
    {"GA", "Gasgeraete"},                    {"RE", "Regelungstechnik & Fuehler"},
};


// A deterministic spread of discounts: some groups without any.
double DemoDiscount(int customer, int group) {
  const int step = (customer * 7 + group * 3) % 9;
  return step < 3 ? 0 : step * 2.5;
}

// Every error of the store counts: the store reports its own errors through
// the callback and goes on, so they are collected and end the fill.
bool FillOneTable(const QString& file, int customer, int firstGroups, QString* error) {
  QString logged;
  TKSRabDatabase db(KeepFirstError(logged));
  try {
    db.OpenFile(file, false);
    TDoubleStringListObjectList groups;
    for (int i = 0; i < firstGroups; ++i)
      groups.Add(QString::fromUtf8(kGroups[i].key), QString::fromUtf8(kGroups[i].description));
    db.UpdateRabattListe(groups);
    if (!logged.isEmpty()) return Fail(error, QStringLiteral("cannot fill %1: %2").arg(file, logged));
    db.Database->StartTransaction();
    int group = 0;
    for (db.Table->First(); !db.Table->Eof(); db.Table->Next(), ++group) {
      db.Table->Edit();
      db.Table->FieldByName(QStringLiteral("RABATT")).SetAsFloat(DemoDiscount(customer, group));
      db.Table->Post();
    }
    db.Database->Commit();
  } catch (const std::exception& e) {
    return Fail(error, QStringLiteral("cannot fill %1: %2").arg(file, QString::fromUtf8(e.what())));
  }
  db.Close();
  return true;
}
}  // namespace

QStringList DemoDiscountGroupKeys() {
  QStringList keys;
  for (const DemoGroup& group : kGroups) keys.append(QString::fromUtf8(group.key));
  return keys;
}

QStringList DemoArticleGroups() {
  return {QStringLiteral("Heizung"), QStringLiteral("Sanitaer"), QStringLiteral("Elektro"), QStringLiteral("Werkzeug")};
}

QStringList DemoStorageLocations() {
  return {QStringLiteral("Halle 1"), QStringLiteral("Halle 2"), QStringLiteral("Fahrzeug")};
}

bool WriteDemoWarehouseConfig(const QString& warehouseDir, QString* error) {
  if (!EnsureDirectory(warehouseDir)) return Fail(error, QStringLiteral("cannot create directory %1").arg(warehouseDir));
  TLagerConfig config;
  for (const DemoGroup& group : kGroups)
    config.Rabattgruppen.Add(QString::fromUtf8(group.key), QString::fromUtf8(group.description));
  config.Artikelgruppen = DemoArticleGroups();
  config.Lagerorte = DemoStorageLocations();
  const QString file = NormalizePath(warehouseDir, true) + QStringLiteral("CONFIG.XML");
  if (!config.SaveToFile(file)) return Fail(error, QStringLiteral("cannot write %1").arg(file));
  return true;
}

bool FillDemoDiscounts(const QString& addressDir, const QStringList& ids, QString* error) {
  const QString base = NormalizePath(addressDir, true);
  constexpr int kAll = int(std::size(kGroups));
  int customer = 0;
  for (const QString& id : ids) {
    for (const char* folder : {"001", "004"}) {
      const QString dir = base + QLatin1String(folder);
      if (!EnsureDirectory(dir)) return Fail(error, QStringLiteral("cannot create directory %1").arg(dir));
      // Some customers' lists lag behind the predefined groups, as real ones do.
      const int groups = customer % 3 == 2 ? kAll - 6 : kAll;
      if (!FillOneTable(dir + QLatin1Char('/') + id + QStringLiteral(".TDBD"), customer, groups, error)) return false;
    }
    ++customer;
  }
  return true;
}

// Steps from 10 pieces on, growing with the customer; one with a fractional
// quantity and discount, so both lists carry the decimal separator.
bool FillDemoQuantityDiscounts(const QString& addressDir, const QStringList& ids, QString* error) {
  const QString dir = NormalizePath(addressDir, true) + QStringLiteral("002");
  if (!EnsureDirectory(dir)) return Fail(error, QStringLiteral("cannot create directory %1").arg(dir));
  int customer = 0;
  for (const QString& id : ids) {
    TDoubleStringListObjectList steps;
    const int count = 2 + customer % 3;
    for (int step = 1; step <= count; ++step)
      steps.Add(FormatGeneralNumber(step * step * 10), FormatGeneralNumber(step * (2 + customer)));
    steps.Add(FormatGeneralNumber(1000.5), FormatGeneralNumber(12.5 + customer));
    const QString file = dir + QLatin1Char('/') + id + QStringLiteral(".MR");
    if (QString why; !steps.SaveToFile(file, &why)) return Fail(error, QStringLiteral("cannot write %1: %2").arg(file, why));
    ++customer;
  }
  return true;
}
