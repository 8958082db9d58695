#pragma once
// One article of a material catalogue: the columns of its CATALOG row, the
// long text, the sales surcharge and the attached objects found for it, and
// the further data its XMLDATA column carries as a "ukat1" document.
#include <QString>

#include "CurrencyValue.h"
#include "DBXMLCore.h"
#include "OwningObjectList.h"

using TKatalog1DateTime = double;  // days since 30 December 1899, fraction = time of day

class TKatalog1Dimensionslangtext {
 public:
  int Typ = 0;
  QString Text;
  QString EinfuegeText;  // the text to insert
};

class TKatalog1Staffelpreis {
 public:
  int Nr = 0;
  QString Text;
  QString ZusatzText;
  quint8 Za = 0;
  quint8 Pkz = 0;
  int Preiseinheit = 0;
  double Wert = 0;
  int Sam = 0;
  quint8 Bm = 0;
  int MengeVon = 0;
  int MengeBis = 0;
  TKatalog1DateTime GueltigVon = 0;
  TKatalog1DateTime GueltigBis = 0;
};

class TKatalog1Rohstoff {
 public:
  quint8 RohstoffTyp = 0;
  int Preiseinheit = 0;
  double Rbm2bpb = 0;
  double Rbm2fbpb = 0;
  double Rbm2g = 0;
  double Rbm2fg = 0;
};

class TKatalog1Sonderkosten {
 public:
  int Nr = 0;
  QString Bezeichnung;
  double Wert = 0;
  quint8 Typ = 0;
};

// One picture or file attached to articles (a CATALOGGS row).
class TKatalog1AnbindObj {
 public:
  QString ID;
  quint8 IDTYPE = 0;
  QString Dateiname;
  QString Erweiterung;
  QString Beschreibung;
};

class TKatalog1DimensionslangtextObjectList : public TOwningObjectList<TKatalog1Dimensionslangtext> {};
class TKatalog1StaffelpreisObjectList : public TOwningObjectList<TKatalog1Staffelpreis> {};
class TKatalog1RohstoffObjectList : public TOwningObjectList<TKatalog1Rohstoff> {};
class TKatalog1SonderkostenObjectList : public TOwningObjectList<TKatalog1Sonderkosten> {};
class TKatalog1AnbindObjObjectList : public TOwningObjectList<TKatalog1AnbindObj> {};

class TKatalog1Artikel : public TDBXMLCoreObject {
 public:
  TKatalog1Artikel();

  QString Katalog;  // the catalogue key; set by the caller, not stored
  QString Zusatztext1, Zusatztext2;  // handed on to the transfer record

  // The CATALOG columns.
  QString ID, KURZZEILE1, KURZZEILE2;
  quint8 TEXTKZ = 0;
  Currency LISTENPREIS = 0;
  double RABATT = 0;
  Currency NETTO = 0;
  quint8 PREISKZ = 0;  // 1: the list price is the price basis
  qint32 PREISEINHEIT = 1;  // at least 1
  Currency LASTNETTO = 0;
  TKatalog1DateTime LASTNETTOCHANGED = 0;
  Currency VKPREIS2 = 0, VKPREIS3 = 0, VKPREIS4 = 0, VKPREIS5 = 0;
  QString ME;
  bool MEKALKULATIONSPEZIAL = false;
  QString MEKALKULATION;
  double MEKALKULATIONUMRECHFAKT = 0;
  double OBERFLAECHE = 0, VOLUMEN = 0, ABWICKLUNG = 0, GEWICHT = 0;
  QString MATCHCODE, KATALOGSEITE, RABATTGR, HAUPTWARENGR, WARENGR, KOSTENART;
  double ARBEITSZEIT = 0;
  QString ALTERNATIVARTIKELNRERSTELLER, ALTERNATIVARTIKELNR, HERSTELLERNRERSTELLER, HERSTELLERNR, HERSTELLERTYPE,
      REFERENZNRERSTELLER, REFERENZNR, EAN;
  quint8 MWSTMERKER = 0;
  quint8 LAGERMERKER = 0;
  qint32 VERPACKUNGSMENGE = 1;  // at least 1
  QString LANGTEXTNR, ANBINDNR;

  // Looked up by the full read.
  QString Langtext;
  double Verkaufszuschlag = 0;  // sales surcharge in percent
  TKatalog1AnbindObjObjectList AnbindObjekte;

  // From XMLDATA.
  TKatalog1DimensionslangtextObjectList Dimensionslangtexte;
  TKatalog1StaffelpreisObjectList Staffelpreise;
  TKatalog1RohstoffObjectList Rohstoffe;
  TKatalog1SonderkostenObjectList Sonderkosten;

  void Clear() override;
  // Empties what the row does not carry in its columns: the XMLDATA lists,
  // the long text, the surcharge and the attached objects.
  void ClearDetails();
  // Whether XMLDATA has anything to hold.
  bool HasXMLData() const;

 protected:
  void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override;
  void Characters(QStringView text) override;
  void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) override;
  void WriteXML(bool flag) override;

 private:
  // A byte attribute, read as an integer (default 0) and cut to a byte.
  static void ReadByteAttr(const SaxAttributes& attributes, const char* name, quint8& field);
  void ReadStaffelpreis(const SaxAttributes& attributes);
  void ReadRohstoff(const SaxAttributes& attributes);
  void WriteGroups();
};
