#include "DemoPriceGroups.h"

#include "KSPreisgruppe.h"
#include "DemoSupport.h"
#include "KatalogTypes.h"
#include "PathUtils.h"
#include "PricingFiles.h"
#include "TextFile.h"
#include "UKAT.h"

namespace {

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

namespace {
struct DemoCatalogueInfo {
  const char* name;
  std::uint8_t type;
  const char16_t* description;
  const char* subId;  // the supplier's sub-number, "" for a catalogue without supplier
  const char16_t* info;
};
// The three demo catalogues, then a directory whose files no program here reads.
const DemoCatalogueInfo kCatalogueInfos[] = {
    {"DATANORM_SHK", katalogtyp::Datanorm, u"SHK-Großhandel Heizung und Sanitär (DATANORM)", "01",
     u"Bestellungen werktags bis 14 Uhr, Lieferung am Folgetag"},
    {"LIEFERANT_MEIER", katalogtyp::Einfach, u"Meier Installationsbedarf", "02", u"Ansprechpartner: Herr Meier"},
    {"ELDANORM_ELEKTRO", katalogtyp::Eldanorm, u"Elektro-Großhandel (ELDANORM)", "", u""},
    {"ALTE_PREISLISTE", katalogtyp::Unbekannt, u"Alte Preisliste (nicht eingelesen)", "", u""},
};

bool WriteCatalogueInfo(const QString& dir, const DemoCatalogueInfo& info, const QString& supplierId,
                        QString* error) {
  TUKATKatalogAuswahlItem item;
  item.Katalog = QString::fromLatin1(info.name);
  item.KatalogTyp = info.type;
  item.Beschreibung = QString::fromUtf16(info.description);
  if (*info.subId && !supplierId.isEmpty()) {
    // Stored with the sub-number behind "_"; readers cut it off.
    item.Lieferant.Nr = supplierId + u'_' + QLatin1String(info.subId);
    item.Lieferant.SubNr = QLatin1String(info.subId);
    item.Lieferant.Info = QString::fromUtf16(info.info);
  }
  QString why;
  if (!item.WriteToDirectory(dir, &why))
    return Fail(error, QStringLiteral("cannot write %1: %2").arg(supplierini::PathIn(dir), why));
  return true;
}

bool WriteMarkerFile(const QString& dir, std::uint8_t type, QString* error) {
  const QString path = NormalizePath(dir, true) + katalogtyp::MarkerFile(type);
  if (!WriteFileAtomically(path, QByteArray())) return Fail(error, QStringLiteral("cannot write %1").arg(path));
  return true;
}
}  // namespace

bool MakeDemoCatalogueDirs(const QString& catalogueDir, QString* error, const QStringList& supplierIds) {
  const QString base = NormalizePath(catalogueDir, true);
  for (std::size_t i = 0; i < std::size(kCatalogueInfos); ++i) {
    const DemoCatalogueInfo& info = kCatalogueInfos[i];
    const QString dir = base + QLatin1String(info.name);
    if (!EnsureDirectory(dir)) return Fail(error, QStringLiteral("cannot create directory %1").arg(dir));
    const QString supplierId = supplierIds.isEmpty() ? QString() : supplierIds[qsizetype(i) % supplierIds.size()];
    if (!WriteCatalogueInfo(dir, info, supplierId, error)) return false;
  }
  // The ELDANORM catalogue has no database here: its marker file alone shows its kind.
  return WriteMarkerFile(base + QStringLiteral("ELDANORM_ELEKTRO"), katalogtyp::Eldanorm, error);
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
