#include "DemoPriceGroups.h"

#include "KSPreisgruppe.h"
#include "PathUtils.h"
#include "PricingFiles.h"

namespace {
bool Fail(QString* error, const QString& text) {
  if (error) *error = text;
  return false;
}

struct DemoSettings {
  bool lagerAktiv;
  int lagerGruppe;
  bool katalogAktiv;
  int katalogGruppe;
  QList<QPair<QString, int>> kataloge;
};

bool WriteOne(const QString& folder, const QString& id, const DemoSettings& settings, QString* error) {
  TKSPreisgruppe pg;
  pg.LagerAktiv = settings.lagerAktiv;
  pg.LagerPreisgruppe = settings.lagerGruppe;
  pg.KatalogAktiv = settings.katalogAktiv;
  pg.KatalogPreisgruppe = settings.katalogGruppe;
  for (const auto& [name, group] : settings.kataloge) pg.Kataloge.Add(name, group);
  QString why;
  if (!pg.Save(id, folder, &why)) return Fail(error, QStringLiteral("cannot write price groups of %1: %2").arg(id, why));
  return true;
}
}  // namespace

// A DATANORM material catalogue of the heating and plumbing wholesaler, a
// supplier catalogue, and an ELDANORM catalogue of electrical goods.
QStringList DemoCatalogueNames() {
  return {QStringLiteral("DATANORM_SHK"), QStringLiteral("LIEFERANT_MEIER"), QStringLiteral("ELDANORM_ELEKTRO")};
}

bool MakeDemoCatalogueDirs(const QString& catalogueDir, QString* error) {
  for (const QString& name : DemoCatalogueNames()) {
    const QString dir = NormalizePath(catalogueDir, true) + name;
    if (!EnsureDirectory(dir)) return Fail(error, QStringLiteral("cannot create directory %1").arg(dir));
  }
  return true;
}

bool WriteDemoPriceGroups(const QString& addressDir, const QStringList& customers, QString* error) {
  const QString folder = NormalizePath(addressDir, true) + QStringLiteral("006");
  if (!EnsureDirectory(folder)) return Fail(error, QStringLiteral("cannot create directory %1").arg(folder));
  const QStringList catalogues = DemoCatalogueNames();
  if (!WriteOne(folder, QLatin1String(kDefaultAddressId), {true, 2, true, 3, {{catalogues[0], 4}}}, error))
    return false;
  // The customers differ: warehouse only, catalogues only, both with their own groups.
  const DemoSettings kinds[] = {
      {true, 1, false, 1, {}},
      {false, 1, true, 2, {{catalogues[1], 1}, {catalogues[2], 5}}},
      {true, 3, true, 4, {{catalogues[0], 5}}},
  };
  for (int i = 0; i < customers.size(); ++i)
    if (!WriteOne(folder, customers[i], kinds[i % std::size(kinds)], error)) return false;
  return true;
}
