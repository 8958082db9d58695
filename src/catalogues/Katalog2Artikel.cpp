#include "Katalog2Artikel.h"

#include "TypeUnit.h"

namespace {
const QString kImg = QStringLiteral("img");
}  // namespace

TKatalog2Artikel::TKatalog2Artikel() { Clear(); }

void TKatalog2Artikel::Clear() {
  ID.clear(), EAN.clear(), Description.clear(), ME.clear();
  MEKalkulationSpezial = false;
  MEKalkulation.clear();
  MEKalkulationUmrechFakt = MindBestMenge = 0;
  PreisEinheit = 1;
  EK = 0;
  MwStSatz = 0;
  Rabatt = 0;
  Info.clear();
  Voraetig = 0;
  Created = Changed = 0;
  CreatedBy.clear(), ChangedBy.clear(), RabattGruppe.clear();
  VKZuschlag = 0;
  VKPreis.fill(0);
  Gewicht = Oberflaeche = Abwicklung = Volumen = Umrechnungsfaktor = Arbeitszeit = 0;
  Lohn = 0;
  Verpackungsmenge = 1;
  Bestellmenge = 0;
  LangText.clear(), KurzText.clear(), Warengruppe.clear();
  Images.Clear();
  currentImage_ = nullptr;
  Katalog.clear(), Zusatztext1.clear(), Zusatztext2.clear();
}

Currency Katalog2NettoEK(double ek, double rabatt, const TSystemEinstellungen& settings) {
  const double basis = CurrencyToDouble(CurrencyFromDouble(ek));
  return CurrencyFromDouble(settings.RoundCurrency(basis - basis / 100.0 * rabatt));
}

Currency Katalog2VKPreis1(Currency nettoEK, double vkZuschlag, int mwstSatz, bool withVat,
                          const TSystemEinstellungen& settings) {
  double price = CurrencyToDouble(nettoEK) * vkZuschlag;
  if (withVat) price += price / 100.0 * settings.GetMwSt(mwstSatz);
  return CurrencyFromDouble(settings.RoundCurrency(price));
}

Currency TKatalog2Artikel::NettoEK(const TSystemEinstellungen& settings) const {
  return Katalog2NettoEK(EK, Rabatt, settings);
}

void TKatalog2Artikel::DeriveVKPreis1(const TSystemEinstellungen& settings) {
  VKPreis[0] = Katalog2VKPreis1(NettoEK(settings), VKZuschlag, MwStSatz, settings.ArtikelVKPreisIsBrutto, settings);
}

void TKatalog2Artikel::StartElement(const QString&, const QString&, const QString& qName,
                                    const SaxAttributes& attributes) {
  CurrentElement = qName;
  if (qName != kImg) return;
  currentImage_ = Images.Add(QString(), QString());
  ReadTextAttr(attributes, "key", currentImage_->First);
}

void TKatalog2Artikel::Characters(QStringView text) {
  if (CurrentElement == kImg && currentImage_) currentImage_->Second += text;
}

void TKatalog2Artikel::EndElement(const QString&, const QString&, const QString& qName) {
  CurrentElement.clear();
  if (qName == kImg) currentImage_ = nullptr;
}

void TKatalog2Artikel::WriteXML(bool) {
  WriteLine(u"<ukat2>");
  if (!Images.IsEmpty()) {
    WriteLine(u"  <images>");
    for (const TDoubleString& image : Images)
      WriteLine(QStringLiteral("    <img key=\"") + XMLEscape(image.First) + QStringLiteral("\">") +
                XMLEscape(image.Second) + QStringLiteral("</img>"));
    WriteLine(u"  </images>");
  }
  WriteLine(u"</ukat2>");
}
