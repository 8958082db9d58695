#include "KatalogDBClipBoardMergeObj.h"

#include "KatalogTypes.h"
#include "LagerServerObj.h"
#include "NumberText.h"
#include "TypeUnit.h"

namespace {
double VatRate(int code) {
  const TSystemEinstellungen* settings = SystemEinstellungen();
  return settings ? settings->GetMwSt(code) : 0;
}
}  // namespace

Currency RoundedCurrency(double amount) {
  const TSystemEinstellungen* settings = SystemEinstellungen();
  return CurrencyFromDouble(settings ? settings->RoundCurrency(amount) : RoundHalfAwayFromZero(amount, 2));
}

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

void TKatalogDBClipBoardMergeObj::AssignFromLagerServerObj(const TLagerServerObj& a) {
  Reset();
  ArtikelNr = a.LagerArtikelNr;
  EAN = a.EAN;
  Katalog = katalogtyp::LagerKey();
  KatalogTyp = katalogtyp::Lager;
  Beschreibung = a.Bezeichnung;
  MwSt = VatRate(a.MwStSatz);
  MwStSatz = a.MwStSatz;
  PreisBasis = a.EKPreis;
  EKPreis = a.EKPreis;
  VKZuschlag = a.VKZuschlag;
  PreisEinheit = a.Pe;
  VKPreis = a.Vkp;
  ME = a.ME;
  Arbeitszeit = a.Az;
  a.Images.CopyTo(Anbindungen);
}
