#pragma once
// The address book's settings, CONFIG.XML of the address directory: the
// defaults for new addresses and the lists the address frame offers.
#include <QString>
#include <QStringList>

#include "DBXMLCore.h"

class TAddressConfig : public TDBXMLCoreObject {
 public:
  TAddressConfig();

  QString Lkz;              // default country code
  bool SearchPlz = true;
  qint32 StdMwSt = 0;       // default VAT kind
  qint32 StdMahnTyp = 0;    // default dunning type
  QString StdMailHeader;
  QStringList AdressKz;            // address marks
  QStringList AnschriftArten;      // kinds of postal address
  QStringList AdressGrp;           // address groups
  QStringList Nk;
  QStringList KontaktKz;           // contact marks
  QStringList SpezielleKontaktKz;  // special contact marks

  void Clear() override;

  static QString FileNameIn(const QString& addressDir);  // addressDir + "CONFIG.XML"

 protected:
  void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override;
  void Characters(QStringView text) override;
  void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) override;
  void WriteXML(bool flag) override;

 private:
  QStringList* ListFor(const QString& element);
};
