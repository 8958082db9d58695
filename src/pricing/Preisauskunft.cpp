#include "Preisauskunft.h"

#include <QFileInfo>
#include <functional>

#include "CmnCustomObjectLists.h"
#include "KSPRDatabase.h"
#include "KSPreisgruppe.h"
#include "KSRabDatabase.h"
#include "NumberText.h"
#include "PricingFiles.h"
#include "Translation.h"
#include "TypeUnit.h"
#include "WorkingTimeText.h"

namespace {
using Quelle = TKSPreisauskunftQuelle;

QString ProzentText(double value) { return FormatGeneralNumber(value) + QStringLiteral(" %"); }

// The house currency when the suite's settings are loaded; a bare number otherwise.
QString BetragText(Currency value) {
  if (const TSystemEinstellungen* system = SystemEinstellungen()) return system->FormatCurrencyText(value);
  return FormatGeneralNumber(CurrencyToDouble(value));
}

QString NichtLesbar() { return Tr("Datei nicht lesbar"); }

TKSPreisauskunftEintrag Eintrag(const QString& was, const QString& wert, std::optional<double> zahl, Quelle quelle,
                                const QString& datei) {
  return {was, wert, zahl, quelle, datei};
}

// The entry of a list of (from quantity, ...) steps that the quantity
// reaches: the greatest step at or below it; -1 when none does. The lists
// need not be sorted (an imported file keeps its order).
int ErreichteStufe(int count, const std::function<std::optional<double>(int)>& ab, double menge) {
  int best = -1;
  double bestAb = 0;
  for (int i = 0; i < count; ++i) {
    const std::optional<double> step = ab(i);
    if (!step || *step > menge) continue;
    if (best < 0 || *step > bestAb) {
      best = i;
      bestAb = *step;
    }
  }
  return best;
}

// Opens the table file for reading only and runs the look-up on it; false
// when the file cannot be opened or the look-up reported an error.
template <class Database>
bool ReadOnly(const QString& file, const std::function<void(Database&)>& lookUp) {
  bool failed = false;
  Database db([&failed](const std::exception*, const QString&) { failed = true; });
  try {
    db.OpenFile(file, false, true);
    lookUp(db);
  } catch (const std::exception&) {
    failed = true;
  }
  db.CloseDatabase();
  return !failed;
}
}  // namespace

bool TKSPreisauskunftArtikel::IstLager() const { return Katalog.compare(QStringLiteral("LAGER"), Qt::CaseInsensitive) == 0; }

QString QuelleText(TKSPreisauskunftQuelle quelle) {
  switch (quelle) {
    case Quelle::EigeneTabelle: return Tr("eigene Tabelle");
    case Quelle::Standardtabelle: return Tr("Standardtabelle");
    case Quelle::Artikeldaten: return Tr("Artikeldaten");
    case Quelle::KeineDatei: break;
  }
  return Tr("keine Datei");
}

QString TKSPreisauskunft::KeineAngabe() { return Tr("keine Angabe"); }

TKSPreisauskunft::TKSPreisauskunft(const QString& addressDir, const QString& catalogueDir)
    : addressDir_(addressDir), catalogueDir_(catalogueDir) {}

QString TKSPreisauskunft::Pfad(const QString& folder, const QString& id, const QString& extension) const {
  return PricingFilePath(addressDir_, folder, id, extension);
}

TKSPreisauskunft::TDateiWahl TKSPreisauskunft::WaehleDatei(const QString& addressId, const QString& folder,
                                                           const QString& extension) const {
  const QString standard = Pfad(folder, QLatin1String(kDefaultAddressId), extension);
  const bool standardMode = addressId == QLatin1String(kDefaultAddressId);
  const QString own = standardMode ? QString() : Pfad(folder, addressId, extension);
  if (!own.isEmpty() && QFileInfo(own).isFile()) return {own, Quelle::EigeneTabelle};
  if (QFileInfo(standard).isFile()) return {standard, Quelle::Standardtabelle};
  // Names the file that was looked for first.
  return {own.isEmpty() ? standard : own, Quelle::KeineDatei};
}

TKSPreisauskunftEintraege TKSPreisauskunft::Resolve(const QString& addressId, const TKSPreisauskunftArtikel& artikel,
                                                    double menge) const {
  TKSPreisauskunftEintraege out;
  DecimalSeparatorScope separator;
  Preisgruppe(addressId, artikel, out);
  Artikelpreis(addressId, artikel, menge, out);
  Rabattgruppe(addressId, artikel, out);
  Mengenrabatt(addressId, menge, out);
  return out;
}

void TKSPreisauskunft::Preisgruppe(const QString& addressId, const TKSPreisauskunftArtikel& artikel,
                                   TKSPreisauskunftEintraege& out) const {
  const TDateiWahl wahl = WaehleDatei(addressId, QStringLiteral("006"), QStringLiteral(".PGRP"));
  QString was = artikel.IstLager() ? Tr("Preisgruppe fuer Lagerartikel") : Tr("Preisgruppe fuer alle Kataloge");
  std::optional<qint32> gruppe;
  QString wert = KeineAngabe();
  if (wahl.Quelle != Quelle::KeineDatei) {
    TKSPreisgruppe settings;
    const QString id = wahl.Quelle == Quelle::EigeneTabelle ? addressId : QLatin1String(kDefaultAddressId);
    if (!settings.Load(id, NormalizePath(addressDir_, true) + QStringLiteral("006"), catalogueDir_)) {
      wert = NichtLesbar();
    } else if (artikel.IstLager()) {
      if (settings.LagerAktiv) gruppe = settings.LagerPreisgruppe;
    } else if (settings.KatalogAktiv) {
      const qint32 eigene = settings.KatalogEintrag(artikel.Katalog);
      if (eigene > 0) was = Tr("Preisgruppe des Katalogs %1").arg(artikel.Katalog);
      gruppe = eigene > 0 ? eigene : settings.KatalogPreisgruppe;
    }
  }
  if (gruppe) wert = QString::number(*gruppe);
  out << Eintrag(was, wert, gruppe ? std::optional<double>(*gruppe) : std::nullopt, wahl.Quelle, wahl.Datei);

  // The sales price the group selects, from the article's own data.
  if (gruppe && (*gruppe < 1 || *gruppe > 5)) {
    out << Eintrag(Tr("Verkaufspreis"), Tr("ungueltige Preisgruppe %1").arg(*gruppe), std::nullopt,
                   Quelle::Artikeldaten, QString());
  } else if (gruppe && artikel.ArtikeldatenBekannt) {
    const Currency preis = artikel.VKPreis[size_t(*gruppe - 1)];
    out << Eintrag(Tr("Verkaufspreis %1").arg(*gruppe), BetragText(preis), CurrencyToDouble(preis),
                   Quelle::Artikeldaten, QString());
  } else {
    out << Eintrag(Tr("Verkaufspreis"), KeineAngabe(), std::nullopt, Quelle::Artikeldaten, QString());
  }
}

void TKSPreisauskunft::Artikelpreis(const QString& addressId, const TKSPreisauskunftArtikel& artikel, double menge,
                                    TKSPreisauskunftEintraege& out) const {
  // Per article: the customer's own entry, else the standard one.
  const QString folder = QStringLiteral("003"), ext = QStringLiteral(".TDBD");
  QList<TDateiWahl> kandidaten;
  if (addressId != QLatin1String(kDefaultAddressId)) kandidaten << TDateiWahl{Pfad(folder, addressId, ext), Quelle::EigeneTabelle};
  kandidaten << TDateiWahl{Pfad(folder, QLatin1String(kDefaultAddressId), ext), Quelle::Standardtabelle};

  TKSPRDatabaseObj entry;
  TDateiWahl fund{kandidaten.first().Datei, Quelle::KeineDatei};
  bool gefunden = false;
  QString fehlt = KeineAngabe();
  for (const TDateiWahl& k : kandidaten) {
    if (k.Datei.isEmpty() || !QFileInfo(k.Datei).isFile()) continue;
    fund = k;
    const bool lesbar = ReadOnly<TKSPRDatabase>(k.Datei, [&](TKSPRDatabase& db) {
      gefunden = db.SeekArtikel(artikel.Katalog, artikel.ArtikelNr) && db.GetCurrentMengenstaffel(&entry);
    });
    if (!lesbar) {
      gefunden = false;
      fehlt = NichtLesbar();
    }
    if (gefunden || !lesbar) break;
  }
  const auto zeile = [&](const QString& was, const QString& wert, std::optional<double> zahl) {
    out << Eintrag(was, gefunden ? wert : fehlt, gefunden ? zahl : std::nullopt, fund.Quelle, fund.Datei);
  };
  zeile(Tr("Artikelpreis"), BetragText(entry.Preis), CurrencyToDouble(entry.Preis));
  zeile(Tr("Artikelrabatt"), ProzentText(entry.Rabatt), entry.Rabatt);
  zeile(Tr("Arbeitszeit"), WorkingTimeText(entry.Zeit), entry.Zeit);
  zeile(Tr("Lohn"), BetragText(entry.Lohn), CurrencyToDouble(entry.Lohn));

  Staffelstufe(entry.Mengenstaffel, menge, gefunden ? KeineAngabe() : fehlt, fund, out);
}

void TKSPreisauskunft::Staffelstufe(const TFloatFloatFloatObjectList& staffel, double menge, const QString& fehlt,
                                    const TDateiWahl& fund, TKSPreisauskunftEintraege& out) {
  const int stufe = ErreichteStufe(staffel.Count(), [&](int i) { return std::optional<double>(staffel[i]->First); }, menge);
  if (stufe < 0) {
    out << Eintrag(Tr("Mengenstaffel"), fehlt, std::nullopt, fund.Quelle, fund.Datei);
    return;
  }
  const TFloatFloatFloat& step = *staffel[stufe];
  const QString ab = FormatGeneralNumber(step.First);
  out << Eintrag(Tr("Mengenstaffel ab Menge %1: Rabatt").arg(ab), ProzentText(step.Second), step.Second, fund.Quelle,
                 fund.Datei);
  out << Eintrag(Tr("Mengenstaffel ab Menge %1: Preis").arg(ab), BetragText(CurrencyFromDouble(step.Third)), step.Third,
                 fund.Quelle, fund.Datei);
}

void TKSPreisauskunft::Rabattgruppe(const QString& addressId, const TKSPreisauskunftArtikel& artikel,
                                    TKSPreisauskunftEintraege& out) const {
  const QString gruppe = artikel.Rabattgruppe.trimmed();
  out << Eintrag(Tr("Rabattgruppe"), gruppe.isEmpty() ? KeineAngabe() : gruppe, std::nullopt, Quelle::Artikeldaten,
                 QString());
  const struct {
    const char* folder;
    QString was;
  } sets[] = {{"001", Tr("Rabatt fuer Angebote und Auftraege")}, {"004", Tr("Rabatt fuer Kommissionsauftraege")}};
  for (const auto& set : sets) {
    const TDateiWahl wahl = WaehleDatei(addressId, QLatin1String(set.folder), QStringLiteral(".TDBD"));
    std::optional<double> rabatt;
    bool lesbar = true;
    if (wahl.Quelle != Quelle::KeineDatei && !gruppe.isEmpty())
      lesbar = ReadOnly<TKSRabDatabase>(wahl.Datei, [&](TKSRabDatabase& db) {
        if (!db.RabattGrpExists(gruppe)) return;
        const TTdbField& field = db.Table->FieldByName(QStringLiteral("RABATT"));
        if (!field.IsNull()) rabatt = field.AsFloat();
      });
    const QString wert = !lesbar ? NichtLesbar() : rabatt ? ProzentText(*rabatt) : KeineAngabe();
    out << Eintrag(set.was, wert, lesbar ? rabatt : std::nullopt, wahl.Quelle, wahl.Datei);
  }
}

void TKSPreisauskunft::Mengenrabatt(const QString& addressId, double menge, TKSPreisauskunftEintraege& out) const {
  const TDateiWahl wahl = WaehleDatei(addressId, QStringLiteral("002"), QStringLiteral(".MR"));
  TDoubleStringListObjectList liste;
  if (wahl.Quelle != Quelle::KeineDatei && !liste.LoadFromFile(wahl.Datei)) {
    out << Eintrag(Tr("Mengenrabatt"), NichtLesbar(), std::nullopt, wahl.Quelle, wahl.Datei);
    return;
  }
  const auto ab = [&](int i) -> std::optional<double> {
    bool ok = false;
    const double value = ReadFloatLenient(liste[i]->First, 0, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
  };
  const int stufe = ErreichteStufe(liste.Count(), ab, menge);
  bool ok = false;
  const double rabatt = stufe < 0 ? 0 : ReadFloatLenient(liste[stufe]->Second, 0, &ok);
  if (!ok) {
    out << Eintrag(Tr("Mengenrabatt"), KeineAngabe(), std::nullopt, wahl.Quelle, wahl.Datei);
    return;
  }
  out << Eintrag(Tr("Mengenrabatt ab Menge %1").arg(FormatGeneralNumber(*ab(stufe))), ProzentText(rabatt), rabatt,
                 wahl.Quelle, wahl.Datei);
}
