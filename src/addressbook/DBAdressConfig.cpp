#include "DBAdressConfig.h"

#include "DBAdressCore.h"
#include "PathUtils.h"

namespace {
// The list elements in the order they are written.
struct ListElement {
  const char16_t* name;
  QStringList TAddressConfig::*list;
};
constexpr ListElement kLists[] = {
    {u"adresskz", &TAddressConfig::AdressKz},   {u"anschriftarten", &TAddressConfig::AnschriftArten},
    {u"adressgrp", &TAddressConfig::AdressGrp}, {u"nk", &TAddressConfig::Nk},
    {u"kontaktkz", &TAddressConfig::KontaktKz}, {u"speziellekontaktkz", &TAddressConfig::SpezielleKontaktKz},
};

QString ValLine(QStringView element, const QString& value) {
  return QStringLiteral("  <") + element.toString() + QStringLiteral(" val=\"") + XMLEscape(value) +
         QStringLiteral("\"/>");
}
}  // namespace

TAddressConfig::TAddressConfig() { Clear(); }

QString TAddressConfig::FileNameIn(const QString& addressDir) {
  return NormalizePath(addressDir, true) + QStringLiteral("CONFIG.XML");
}

void TAddressConfig::Clear() {
  Lkz.clear();
  SearchPlz = true;
  StdMwSt = 0;
  StdMahnTyp = 0;
  StdMailHeader.clear();
  for (const ListElement& e : kLists) (this->*e.list).clear();
}

QStringList* TAddressConfig::ListFor(const QString& element) {
  for (const ListElement& e : kLists)
    if (element == QStringView(e.name)) return &(this->*e.list);
  return nullptr;
}

void TAddressConfig::StartElement(const QString&, const QString&, const QString& qName, const SaxAttributes& a) {
  CurrentElement = qName;
  if (qName == u"lkz") {
    ReadTextAttr(a, "val", Lkz);
  } else if (qName == u"searchplz") {
    ReadBooleanAttr(a, "val", SearchPlz, true);
  } else if (qName == u"stdmwst") {
    ReadIntegerAttr(a, "val", StdMwSt, 0);
  } else if (qName == u"stdmahntyp") {
    ReadIntegerAttr(a, "val", StdMahnTyp, 0);
  } else if (qName == u"stdmailheader") {
    ReadTextAttr(a, "val", StdMailHeader);
  } else if (ListFor(qName)) {
    TextBuffer.Clear();
  }
  // "bankverbkz" of older files is accepted and ignored like any unknown element.
}

void TAddressConfig::Characters(QStringView text) {
  if (!CurrentElement.isEmpty() && ListFor(CurrentElement)) TextBuffer.WriteText(text);
}

void TAddressConfig::EndElement(const QString&, const QString&, const QString& qName) {
  if (QStringList* list = ListFor(qName)) *list = TCustomerAddress::SplitLines(BufferText());
  CurrentElement.clear();
}

void TAddressConfig::WriteXML(bool) {
  WriteLine(u"<adressconfig>");
  WriteLine(ValLine(u"lkz", Lkz));
  WriteLine(ValLine(u"searchplz", BooleanText(SearchPlz)));
  WriteLine(ValLine(u"stdmwst", QString::number(StdMwSt)));
  WriteLine(ValLine(u"stdmahntyp", QString::number(StdMahnTyp)));
  WriteLine(ValLine(u"stdmailheader", StdMailHeader));
  // XMLEscape writes each line break as &#13;&#10;, so a list stays on one line.
  for (const ListElement& e : kLists) {
    const QString name = QString::fromUtf16(e.name);
    WriteLine(QStringLiteral("  <") + name + QLatin1Char('>') + XMLEscape((this->*e.list).join(QStringLiteral("\r\n"))) +
              QStringLiteral("</") + name + QLatin1Char('>'));
  }
  WriteLine(u"</adressconfig>");
}
