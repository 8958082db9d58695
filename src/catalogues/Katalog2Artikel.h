#pragma once
// One article of a supplier catalogue: the columns of its SCATALOG row and
// the images its XMLDATA column carries as an "ukat2" document.
#include <QString>
#include <array>

#include "CmnCustomObjectLists.h"
#include "DBXMLCore.h"
#include "LagerServerObj.h"
#include "OwningObjectList.h"

class TSystemEinstellungen;

class TKatalog2Artikel : public TDBXMLCoreObject {
 public:
  TKatalog2Artikel();

  QString ID, EAN, Description, ME;
  bool MEKalkulationSpezial = false;
  QString MEKalkulation;
  double MEKalkulationUmrechFakt = 0;
  double MindBestMenge = 0;
  qint32 PreisEinheit = 1;  // at least 1
  double EK = 0;            // purchase price before the discount
  quint8 MwStSatz = 0;      // VAT kind
  double Rabatt = 0;        // percent
  QString Info;
  double Voraetig = 0;
  TLagerDateTime Created = 0, Changed = 0;
  QString CreatedBy, ChangedBy, RabattGruppe;
  double VKZuschlag = 0;          // sales factor on the net purchase price
  std::array<Currency, 5> VKPreis{};  // [0] derived from the purchase price, [1..4] stored
  double Gewicht = 0, Oberflaeche = 0, Abwicklung = 0, Volumen = 0, Umrechnungsfaktor = 0, Arbeitszeit = 0;
  Currency Lohn = 0;
  qint32 Verpackungsmenge = 1;  // at least 1
  double Bestellmenge = 0;
  QString LangText, KurzText, Warengruppe;
  TDoubleStringListObjectList Images;  // key, file
  QString Katalog;                     // set by the caller
  QString Zusatztext1, Zusatztext2;

  void Clear() override;

  // EK less the discount, rounded with the currency rounding.
  Currency NettoEK(const TSystemEinstellungen& settings) const;
  // Sets VKPreis[0]: the net purchase price times the sales factor, with VAT
  // added when the settings keep gross sales prices.
  void DeriveVKPreis1(const TSystemEinstellungen& settings);

 protected:
  void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override;
  void Characters(QStringView text) override;
  void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) override;
  void WriteXML(bool flag) override;

 private:
  TDoubleString* currentImage_ = nullptr;
};

// Net purchase price: ek less ek / 100 * rabatt, rounded.
Currency Katalog2NettoEK(double ek, double rabatt, const TSystemEinstellungen& settings);
// Sales price 1: net times factor, plus VAT at the kind's rate when asked, rounded.
Currency Katalog2VKPreis1(Currency nettoEK, double vkZuschlag, int mwstSatz, bool withVat,
                          const TSystemEinstellungen& settings);

// One row of a search result list.
struct TSearchtextResultKatalog2 {
  QString ID, Katalog, Description;
  Currency NettoEK = 0;
  std::array<Currency, 5> VKPreis{};
  QString ME;
};

class TSearchtextResultKatalog2ObjectList : public TOwningObjectList<TSearchtextResultKatalog2> {};
