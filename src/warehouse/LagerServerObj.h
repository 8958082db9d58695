#pragma once
// One warehouse article: the columns of its LAGER row and the further data
// its XMLDATA column carries as a "lagerartikel" document.
#include <QStringList>
#include <array>

#include "CmnCustomObjectLists.h"
#include "DBXMLCore.h"
#include "OwningObjectList.h"

using TLagerDateTime = double;  // days since 30 December 1899, fraction = time of day

// The current date and time as a stored date-time value.
TLagerDateTime LagerNow();

class TLagerServerObj : public TDBXMLCoreObject {
 public:
  TLagerServerObj();

  // From the row.
  QString LagerArtikelNr, EAN, AlternativArtikelNr, Katalog, Bezeichnung;
  double BuchungsBestand = 0, SummeWareneingangMe = 0;
  QString Gruppe, Lagerort;
  bool Inventurartikel = false;
  double Anfangsbestand = 0, InventurErfassung = 0, Inventurdifferenz = 0;
  QString Rabattgruppen, ME;
  bool DEinstandsPreisbildung = false;
  Currency EKPreis = 0;
  double VKZuschlag = 0;
  quint8 MwStSatz = 0;
  bool SNPflicht = false;
  QString STKL;
  qint32 ViewColor = 0;
  bool IsNotBestandsArtikel = false;

  // From XMLDATA.
  TLagerDateTime Created = 0, Changed = 0;
  QString CreatedBy, ChangedBy;
  double Gew = 0, GewQm = 0, Obf = 0, Laenge = 0, Breite = 0, Dicke = 0, Dichte = 0, Vol = 0;
  Currency EkPkg = 0;
  double Uf = 1;  // conversion factor ...
  QString UfMe;   // ... and its unit
  qint32 Pe = 1;  // price unit, at least 1
  std::array<Currency, 5> Vkp{};
  QString Lt, Kt, Et;
  double Az = 0;  // working time
  Currency L = 0;  // wage
  bool Orab = false, Oprov = false, Eksp = false, Vksp = false, Ncek = false;
  QStringList MinDB;  // minimum-stock lines, one per period of the year
  QString Lsrnr;
  TDoubleStringListObjectList Images;   // key, image text
  TDoubleStringListObjectList KatRefs;  // catalogue key, reference
  QString ExtensionData;

  void Clear() override;

  // One minimum-stock line: the period from day/month to day/month, the
  // minimum stock and the order quantity.
  static QString MinBestandLine(int fromDay, int fromMonth, int toDay, int toMonth, double minimum, double order);

 protected:
  void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override;
  void Characters(QStringView text) override;
  void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) override;
  void WriteXML(bool flag) override;

 private:
  QString* TextFieldFor(const QString& element);
  void WriteTextLine(const QString& tag, const QString& text);  // only when the text is not empty
  void ReadAInfo(const SaxAttributes& attributes);
  void ReadPInfo(const SaxAttributes& attributes);
  void ReadMInfo(const SaxAttributes& attributes);
  TDoubleString* currentImage_ = nullptr;
};

class TLagerServerObjObjectList : public TOwningObjectList<TLagerServerObj> {};
