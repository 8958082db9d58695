#include "KatalogDBClipBoardMergeObj.h"

#include <algorithm>

#include "Katalog1Artikel.h"
#include "Katalog2Artikel.h"
#include "KatalogTypes.h"
#include "LagerServerObj.h"
#include "TypeUnit.h"

const TSystemEinstellungen& PriceSettings() {
  static const TSystemEinstellungen defaults;
  const TSystemEinstellungen* process = SystemEinstellungen();
  return process ? *process : defaults;
}

Currency RoundedCurrency(double amount) { return CurrencyFromDouble(PriceSettings().RoundCurrency(amount)); }

namespace {
double VatRate(int code) { return PriceSettings().GetMwSt(code); }
Currency Times(Currency amount, double factor) { return RoundedCurrency(CurrencyToDouble(amount) * factor); }
// Empty or blanks only; without the copy trimmed() would make.
bool IsBlank(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}
}  // namespace

TKatalogDBClipBoardMergeObj::TKatalogDBClipBoardMergeObj() { Reset(); }

void TKatalogDBClipBoardMergeObj::Reset() {
  ArtikelNr.clear(), EAN.clear(), Katalog.clear();
  KatalogTyp = katalogtyp::Unbekannt;
  Beschreibung.clear();
  Kurzzeilen.Clear();
  MwSt = 0, MwStSatz = 0, PreisBasis = 0, Rabatt = 0;
  Rabattgruppe.clear();
  EKPreis = 0, VKZuschlag = 1, PreisEinheit = 1;
  VKPreis.fill(0);
  MindestMenge = 1;
  ME.clear(), Kurztext.clear(), Langtext.clear();
  Arbeitszeit = 0;
  Anbindungen.Clear();
  Text1.clear(), Text2.clear();
}

void TKatalogDBClipBoardMergeObj::Start(const QString& artikelNr, const QString& ean, const QString& katalog,
                                        std::uint8_t katalogTyp, const QString& beschreibung, std::uint8_t mwStSatz) {
  Reset();
  ArtikelNr = artikelNr;
  EAN = ean;
  Katalog = katalog;
  KatalogTyp = katalogTyp;
  Beschreibung = beschreibung;
  MwSt = VatRate(mwStSatz);
  MwStSatz = mwStSatz;
}

void TKatalogDBClipBoardMergeObj::AssignFromLagerServerObj(const TLagerServerObj& a) {
  Start(a.LagerArtikelNr, a.EAN, katalogtyp::LagerKey(), katalogtyp::Lager, a.Bezeichnung, a.MwStSatz);
  PreisBasis = a.EKPreis;
  EKPreis = a.EKPreis;
  VKZuschlag = a.VKZuschlag;
  PreisEinheit = a.Pe;
  VKPreis = a.Vkp;
  ME = a.ME;
  Arbeitszeit = a.Az;
  a.Images.CopyTo(Anbindungen);
}

void TKatalogDBClipBoardMergeObj::SetTexts(const QString& kurztext, const QString& langtext) {
  Kurztext = IsBlank(kurztext) ? Beschreibung : kurztext;
  Langtext = IsBlank(langtext) ? Kurztext : langtext;
}

void TKatalogDBClipBoardMergeObj::ApplySpecialUnit(const QString& unit, double factor) {
  ME = unit;
  PreisBasis = Times(PreisBasis, factor);
  const double basis = CurrencyToDouble(PreisBasis);
  EKPreis = RoundedCurrency(basis - basis / 100.0 * Rabatt);
  VKPreis[0] = Times(EKPreis, VKZuschlag);
  for (std::size_t i = 1; i < VKPreis.size(); ++i) VKPreis[i] = Times(VKPreis[i], factor);
}

QString Katalog1Beschreibung(const TKatalog1Artikel& a) { return a.KURZZEILE1 + u' ' + a.KURZZEILE2; }

void TKatalogDBClipBoardMergeObj::AssignFromKatalog1Artikel(const TKatalog1Artikel& a) {
  Start(a.ID, a.EAN, a.Katalog, katalogtyp::Datanorm, Katalog1Beschreibung(a), a.MWSTMERKER);
  Kurzzeilen = {a.KURZZEILE1, a.KURZZEILE2};
  PreisBasis = a.PREISKZ == 1 ? a.LISTENPREIS : a.NETTO;
  Rabatt = a.RABATT;
  EKPreis = a.NETTO;
  PreisEinheit = a.PREISEINHEIT;
  const double netto = CurrencyToDouble(a.NETTO);
  VKPreis = {RoundedCurrency(netto + netto / 100.0 * a.Verkaufszuschlag), a.VKPREIS2, a.VKPREIS3, a.VKPREIS4,
             a.VKPREIS5};
  MindestMenge = 0;
  ME = a.ME;
  SetTexts(Beschreibung, a.Langtext);
  Arbeitszeit = a.ARBEITSZEIT;
  for (const TKatalog1AnbindObj& o : a.AnbindObjekte)
    Anbindungen.Add(o.Beschreibung.isEmpty() ? o.ID : o.ID + u' ' + o.Beschreibung,
                    o.Dateiname + u'.' + o.Erweiterung);
  Text1 = a.Zusatztext1, Text2 = a.Zusatztext2;
  if (a.MEKALKULATIONSPEZIAL) ApplySpecialUnit(a.MEKALKULATION, a.MEKALKULATIONUMRECHFAKT);
}

void TKatalogDBClipBoardMergeObj::AssignFromKatalog2Artikel(const TKatalog2Artikel& a) {
  Start(a.ID, a.EAN, a.Katalog, katalogtyp::Einfach, a.Description, a.MwStSatz);
  PreisBasis = CurrencyFromDouble(a.EK);
  Rabatt = a.Rabatt;
  Rabattgruppe = a.RabattGruppe;
  EKPreis = a.NettoEK(PriceSettings());
  VKZuschlag = a.VKZuschlag;
  PreisEinheit = a.PreisEinheit;
  VKPreis = a.VKPreis;
  MindestMenge = a.MindBestMenge;
  ME = a.ME;
  SetTexts(a.KurzText, a.LangText);
  a.Images.CopyTo(Anbindungen);
  Text1 = a.Zusatztext1, Text2 = a.Zusatztext2;
  if (a.MEKalkulationSpezial) ApplySpecialUnit(a.MEKalkulation, a.MEKalkulationUmrechFakt);
}
