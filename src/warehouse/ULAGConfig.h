#pragma once
// The warehouse module's settings (CONFIG.XML in the warehouse directory):
// the predefined discount groups above all, which the discount-group pages
// re-import. The file format is shared with the warehouse module, so every
// field is carried through even where the pricing editor does not use it.
#include <QStringList>

#include "CmnCustomObjectLists.h"
#include "DBXMLCore.h"

class TLagerConfig : public TDBXMLCoreObject {
 public:
  TLagerConfig();

  QStringList Artikelgruppen;
  QStringList Lagerorte;
  TDoubleStringListObjectList Rabattgruppen;  // First = key, Second = description
  QStringList Pnk;
  qint32 StdUebernahmePreis = 1;
  qint32 VkpEurKgToVkp = 1;
  bool StdMRabF = true;
  bool SpEAN = false;
  bool Vars = false;

  void Clear() override;
  // One line per predefined group: key, a blank, description.
  void FillRabattGruppen(QStringList& list) const;
  // The file of the warehouse directory of the system settings.
  static QString ConfigFileName();

 protected:
  void StartElement(const QString& namespaceURI, const QString& localName, const QString& qName,
                    const SaxAttributes& attributes) override;
  void Characters(QStringView text) override;
  void EndElement(const QString& namespaceURI, const QString& localName, const QString& qName) override;
  void WriteXML(bool flag) override;
  // The warehouse module writes the document nested with a prefix.
  void WriteXMLIndented(const QString& indent);

 private:
  QStringList* LineListFor(const QString& element);
  TDoubleString* currentGroup_ = nullptr;
};
